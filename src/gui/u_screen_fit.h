// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Window sizes on the screen a window opens on. A window's own size is its
// default only: it never opens larger than the screen's available area
// (a laptop's 1366 x 768, a panel, scaling 2), it stays resizable, and it
// opens centred over its owner or the screen, inside that area.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace zevra {

// The area a top-level window (its frame included) may take on the screen
// of `window`, or of `over` when given.
QRect AvailableArea(const QWidget* window, const QWidget* over = nullptr);

// The window manager's frame around `window`: known once it is shown,
// estimated before.
QSize FrameExtra(const QWidget* window);

// Gives `window` `defaultSize` (its client area), bounded by the available
// area of its screen less the frame, and centres it over `over` (the
// screen when none), kept inside the area. A minimum size larger than the
// area is lowered to it, so that the window can be shrunk to fit.
void FitToScreen(QWidget* window, const QSize& defaultSize, const QWidget* over = nullptr);

}  // namespace zevra
