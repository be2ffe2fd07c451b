// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace zevra {

QRect AvailableArea(const QWidget* window, const QWidget* over) {
    const QScreen* screen = over ? over->screen() : window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize FrameExtra(const QWidget* window) {
    const QSize known = window->frameGeometry().size() - window->geometry().size();
    if (window->isVisible() && (known.width() > 0 || known.height() > 0)) return known;
    // Before the window manager has framed it: a title bar and thin borders.
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QSize(8, std::max(title, 24) + 8);
}

void FitToScreen(QWidget* window, const QSize& defaultSize, const QWidget* over) {
    const QRect area = AvailableArea(window, over);
    const QSize frame = FrameExtra(window);
    const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
    if (minimum.width() > room.width() || minimum.height() > room.height())
        window->setMinimumSize(minimum.boundedTo(room));
    const QSize size = defaultSize.boundedTo(room).expandedTo(window->minimumSize());
    window->resize(size);
    QRect placed(QPoint(0, 0), size + frame);
    placed.moveCenter(over ? over->frameGeometry().center() : area.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() + 1 - placed.width())));
    placed.moveTop(std::clamp(placed.top(), area.top(), std::max(area.top(), area.bottom() + 1 - placed.height())));
    window->move(placed.topLeft());
}

}  // namespace zevra
