// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_decile_chart.h"

#include "model/u_format.h"
#include "report/u_report.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace zevra {

namespace {

constexpr double kMargin = 8;
constexpr double kAxisHeight = 22;   // the decile numbers under the plot
constexpr double kLegendHeight = 20;
constexpr double kLabelShare = 0.42; // of the width, for the indicator names

QString WeightText(double weight) { return QStringLiteral("váha %1").arg(QString::fromStdString(FormatShortest(weight))); }

}  // namespace

// Colours chosen to stay apart also for the common colour-vision deficiencies.
const QColor TDecileChart::OwnColor{0, 90, 160};
const QColor TDecileChart::OtherColor{230, 140, 30};
const QColor TDecileChart::ZoneColor{255, 222, 222};

TDecileChart::TDecileChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chDecily"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Graf decilů"));
}

void TDecileChart::SetData(const TDecileChartData& data) {
    FData = data;
    // What the picture says, for a screen reader: the title, then each
    // indicator's decile (and the similar municipality's).
    QStringList lines{TitleText(QFontMetricsF(font()), 1e9).trimmed()};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        QString line = QStringLiteral("%1: decil %2").arg(QString::fromUtf8(kIndicatorLabels[k])).arg(FData.Decils[k]);
        if (FData.Other) line += QStringLiteral(", %1: decil %2").arg(FData.OtherName).arg((*FData.Other)[k]);
        lines << line;
    }
    setAccessibleDescription(lines.join(QStringLiteral("; ")));
    update();
}

QString TDecileChart::TitleText(const QFontMetricsF& metrics, double width) const {
    // The score and the band always show whole; a long name gives way.
    const QString result = QStringLiteral(" – Obyvatelstvo: %1, pásmo %2")
                               .arg(QString::fromStdString(FormatN(FData.Obyvatelstvo, 1)),
                                    QString::fromLatin1(BandName(BandOf(FData.Obyvatelstvo))));
    const double room = std::max(0.0, width - metrics.horizontalAdvance(result));
    return metrics.elidedText(FData.Obec, Qt::ElideRight, room) + result;
}

TDecileChart::TLayout TDecileChart::Layout(const QRectF& area) const {
    TLayout layout;
    const QFontMetricsF metrics(font());
    layout.TitleHeight = metrics.height() * 1.6 + kLegendHeight;
    const double left = area.left() + kMargin + area.width() * kLabelShare;
    const double top = area.top() + kMargin + layout.TitleHeight;
    const double right = area.right() - kMargin - metrics.horizontalAdvance(QStringLiteral("10")) / 2;
    const double bottom = area.bottom() - kMargin - kAxisHeight;
    layout.Plot = QRectF(QPointF(left, top), QPointF(right, std::max(top + 1, bottom)));
    layout.RowHeight = layout.Plot.height() / kIndicatorCount;
    return layout;
}

double TDecileChart::XOf(const TLayout& layout, double decil) const {
    return layout.Plot.left() + layout.Plot.width() * decil / 10;
}

TDecileChart::TBars TDecileChart::BarGeometry(const QRectF& area) const {
    const TLayout layout = Layout(area);
    TBars bars;
    const double gap = layout.RowHeight * 0.18;
    const double barHeight = FData.Other ? (layout.RowHeight - 2 * gap) / 2 : layout.RowHeight - 2 * gap;
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const double top = layout.Plot.top() + layout.RowHeight * static_cast<double>(k) + gap;
        const double ownDecil = std::clamp(FData.Decils[k], 0, 10);
        bars.Own[k] = QRectF(layout.Plot.left(), top, XOf(layout, ownDecil) - layout.Plot.left(), barHeight);
        if (FData.Other) {
            const double otherDecil = std::clamp((*FData.Other)[k], 0, 10);
            bars.Other[k] =
                QRectF(layout.Plot.left(), top + barHeight, XOf(layout, otherDecil) - layout.Plot.left(), barHeight);
        }
    }
    return bars;
}

void TDecileChart::Paint(QPainter& painter, const QRectF& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font());
    const TLayout layout = Layout(area);
    const QFontMetricsF metrics(font());
    const QColor text(Qt::black);

    // Title: the integrated indicator and its band.
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    const double titleWidth = area.width() - 2 * kMargin;
    painter.drawText(QRectF(area.left() + kMargin, area.top() + kMargin, titleWidth, metrics.height() * 1.4),
                     Qt::AlignLeft | Qt::AlignVCenter, TitleText(QFontMetricsF(bold), titleWidth));
    painter.setFont(font());

    // The legend: the shaded zone always, the two municipalities when a
    // similar one is drawn beside ours.
    std::vector<std::pair<QColor, QString>> legend;
    if (FData.Other) legend = {{OwnColor, FData.Obec}, {OtherColor, FData.OtherName}};
    legend.emplace_back(ZoneColor, QStringLiteral("decily 9 a 10: znevýhodnění"));
    const double y = area.top() + kMargin + metrics.height() * 1.5;
    double x = area.left() + kMargin;
    for (const auto& [color, name] : legend) {
        painter.fillRect(QRectF(x, y + 4, 12, 12), color);
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(QRectF(x, y + 4, 12, 12));
        painter.setPen(text);
        x += 16;
        const QString shown = metrics.elidedText(name, Qt::ElideRight, std::max(40.0, area.right() - kMargin - x));
        painter.drawText(QPointF(x, y + 4 + metrics.ascent() - 1), shown);
        x += metrics.horizontalAdvance(shown) + 20;
    }

    // The disadvantage zone: deciles 9 and 10, from 8 to 10 on the axis.
    painter.fillRect(QRectF(QPointF(XOf(layout, 8), layout.Plot.top()), QPointF(XOf(layout, 10), layout.Plot.bottom())),
                     ZoneColor);
    painter.setPen(QColor(200, 200, 200));
    for (int d = 1; d <= 10; ++d) painter.drawLine(QPointF(XOf(layout, d), layout.Plot.top()), QPointF(XOf(layout, d), layout.Plot.bottom()));
    painter.setPen(text);
    for (int d = 1; d <= 10; ++d)
        painter.drawText(QRectF(XOf(layout, d) - 15, layout.Plot.bottom() + 2, 30, kAxisHeight - 4), Qt::AlignCenter,
                         QString::number(d));
    painter.drawText(QRectF(area.left() + kMargin, layout.Plot.bottom() + 2, layout.Plot.left() - area.left() - 2 * kMargin,
                            kAxisHeight - 4),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("decil (1 nejlepší, 10 nejhorší)"));

    const TBars bars = BarGeometry(area);
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        painter.fillRect(bars.Own[k], OwnColor);
        if (FData.Other) painter.fillRect(bars.Other[k], OtherColor);
        const QRectF label(area.left() + kMargin, layout.Plot.top() + layout.RowHeight * static_cast<double>(k),
                           layout.Plot.left() - area.left() - 2 * kMargin, layout.RowHeight);
        const QString name = QString::fromUtf8(kIndicatorLabels[k]);
        const QString weight = WeightText(FData.Weights[k]);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(name, Qt::ElideRight, label.width() - metrics.horizontalAdvance(weight) - 12) +
                             QStringLiteral(" (") + weight + QStringLiteral(")"));
    }
    painter.setPen(text);
    painter.drawLine(layout.Plot.bottomLeft(), layout.Plot.bottomRight());
    painter.drawLine(layout.Plot.topLeft(), layout.Plot.bottomLeft());
    painter.restore();
}

QImage TDecileChart::Render(QSize size) const {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

void TDecileChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    Paint(painter, QRectF(rect()));
}

}  // namespace zevra
