// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Background colours of widgets, shared by every window.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace zevra {

// Fills a panel or band with a colour of its own.
inline void FillBackground(QWidget* widget, const QColor& color) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

// The background of a text field or memo, in every state of the window.
inline void SetBaseColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, color);
    widget->setPalette(palette);
}

}  // namespace zevra
