// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_logo.h"

#include "gui/u_gui_functions.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace zevra {

namespace {

// The largest bold sans-serif font, in pixels, whose `text` fits into `box`.
QFont FittingFont(const QString& text, const QRectF& box) {
    QFont font = SansFont(10);
    font.setBold(true);
    int pixels = static_cast<int>(box.height());
    for (; pixels > 4; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height() + 2) break;
    }
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

QPixmap MoxanLogo(int width, int height, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(width, height) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(1.5, 1.5, width - 3.0, height - 3.0);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame, 4, 4);
    // A small mark on the left: three rising bars.
    const qreal barWidth = height / 8.0;
    for (int i = 0; i < 3; ++i) {
        const qreal barHeight = height * (0.25 + 0.15 * i);
        painter.fillRect(QRectF(6 + i * (barWidth + 2), height - 6 - barHeight, barWidth, barHeight), Qt::white);
    }
    const qreal textLeft = 6 + 3 * (barWidth + 2) + 3;
    const QRectF textBox(textLeft, 3, width - textLeft - 5, height - 6);
    const QString text = QStringLiteral("MOXAN");
    painter.setFont(FittingFont(text, textBox));
    painter.setPen(Qt::white);
    painter.drawText(textBox, Qt::AlignCenter, text);
    return pixmap;
}

QPixmap ZevraIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColorMaroon);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    painter.setBrush(ColorLightYellowPanel);
    painter.drawRect(QRectF(size * 0.12, size * 0.62, size * 0.76, size * 0.03 + 1));
    painter.setPen(Qt::white);
    const QRectF top(size * 0.06, size * 0.12, size * 0.88, size * 0.46);
    painter.setFont(FittingFont(QStringLiteral("ZEVRA"), top));
    painter.drawText(top, Qt::AlignCenter, QStringLiteral("ZEVRA"));
    const QRectF bottom(size * 0.16, size * 0.68, size * 0.68, size * 0.22);
    painter.setPen(ColorLightYellowPanel);
    painter.setFont(FittingFont(QStringLiteral("MOXAN"), bottom));
    painter.drawText(bottom, Qt::AlignCenter, QStringLiteral("MOXAN"));
    return pixmap;
}

QIcon ZevraIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ZevraIconPixmap(size));
    return icon;
}

}  // namespace zevra
