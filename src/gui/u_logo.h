// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the program, drawn in code: the maker's logo for the top
// band of the wizard and the application icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zevra {

// The MOXAN logo, `width` x `height` device-independent pixels, transparent
// background, drawn for the given device pixel ratio.
QPixmap MoxanLogo(int width, int height, qreal devicePixelRatio);

// The application icon: "ZEVRA" over "MOXAN" on a maroon tile.
QPixmap ZevraIconPixmap(int size);
QIcon ZevraIcon();

}  // namespace zevra
