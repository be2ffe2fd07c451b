// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TDecileChart: the deciles of a municipality as horizontal bars, in
// the fixed indicator order, decile 1 (best) to 10 (worst) along the axis,
// the disadvantage zone 9-10 shaded, each indicator's weight beside its name
// and "Obyvatelstvo" with its band above. With a similar municipality chosen
// its deciles are drawn beside ours, with a legend.
#pragma once

#include "model/u_sensitivity.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QFontMetricsF;
class QPainter;

namespace zevra {

struct TDecileChartData {
    QString Obec;
    TDecils Decils{};
    TWeights Weights{};
    double Obyvatelstvo = 0;
    std::optional<TDecils> Other;  // a similar municipality's deciles
    QString OtherName;
};

class TDecileChart : public QWidget {
    Q_OBJECT
public:
    explicit TDecileChart(QWidget* parent = nullptr);

    void SetData(const TDecileChartData& data);
    const TDecileChartData& Data() const { return FData; }

    // Draws the whole chart into `area` (the widget, an image, an SVG file).
    void Paint(QPainter& painter, const QRectF& area) const;
    // The chart as an image of the given size, on white.
    QImage Render(QSize size) const;
    // The title as drawn into `width`: the name, shortened when it must be,
    // then the score and the band, always whole.
    QString TitleText(const QFontMetricsF& metrics, double width) const;

    // Where the bars go in `area`: ours and, with another municipality, its.
    struct TBars {
        std::array<QRectF, kIndicatorCount> Own;
        std::array<QRectF, kIndicatorCount> Other;
    };
    TBars BarGeometry(const QRectF& area) const;

    static const QColor OwnColor;
    static const QColor OtherColor;
    static const QColor ZoneColor;

    QSize sizeHint() const override { return {640, 360}; }
    QSize minimumSizeHint() const override { return {360, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct TLayout {
        QRectF Plot;      // the axis area: decile 0 at the left edge, 10 at the right
        double RowHeight; // per indicator
        double TitleHeight;
    };
    TLayout Layout(const QRectF& area) const;
    double XOf(const TLayout& layout, double decil) const;

    TDecileChartData FData;
};

}  // namespace zevra
