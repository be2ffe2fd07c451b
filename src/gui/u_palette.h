// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Background colours of widgets, shared by every window. A colour that
// carries a meaning (an error, a warning, a passed check) keeps its hue in
// every theme and brings the text colour that reads on it; decorative
// surfaces take the palette's own colours, so that a dark theme stays dark.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zevra {

// Colours with a meaning: the validation page, a field in error.
inline const QColor ColorErrorBackground{255, 224, 224};
inline const QColor ColorWarningBackground{255, 255, 224};
inline const QColor ColorOkBackground{224, 255, 224};

// Relative luminance of an sRGB colour (0 black .. 1 white).
inline double Luminance(const QColor& color) {
    const auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

// Contrast ratio of two colours, 1 (none) to 21 (black on white).
inline double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Black or white, whichever reads better on `background`.
inline QColor ContrastingText(const QColor& background) {
    return ContrastRatio(background, Qt::black) >= ContrastRatio(background, Qt::white) ? QColor(Qt::black)
                                                                                        : QColor(Qt::white);
}

// `color` for text or a caption on `background`, lightened or darkened until
// it reads there (contrast 4.5 at least): maroon stays maroon on a light
// window and becomes a light red on a dark one.
inline QColor ReadableOn(const QColor& color, const QColor& background) {
    QColor result = color;
    const bool lighten = Luminance(background) < 0.5;
    for (int step = 0; step < 20 && ContrastRatio(result, background) < 4.5; ++step) {
        QColor hsl = result.toHsl();
        const double lightness = hsl.lightnessF() + (lighten ? 0.05 : -0.05);
        hsl.setHslF(hsl.hslHueF() < 0 ? 0 : hsl.hslHueF(), hsl.hslSaturationF(), std::clamp(lightness, 0.0, 1.0));
        result = hsl.toRgb();
    }
    return result;
}

// A text field or memo in a colour with a meaning, with its readable text.
inline void SetMeaningColor(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, ContrastingText(background));
    }
    widget->setPalette(palette);
}

// A panel in a colour with a meaning (a hint, a note), with readable text on
// it and on its labels.
inline void FillMeaningBackground(QWidget* widget, const QColor& color) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::WindowText, ContrastingText(color));
    palette.setColor(QPalette::Text, ContrastingText(color));
    widget->setPalette(palette);
}

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
