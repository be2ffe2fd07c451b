// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The profile window: the chart rendered offscreen has one bar per indicator
// whose length follows its decile, a second series for a selected similar
// municipality, the distance shares add up to its "podobnost", and the
// picture can be exported.
#include "model/u_model.h"
#include "ui/u_decile_chart.h"
#include "ui/u_frm_Profil.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <vector>

using namespace zevra;

namespace {

struct TBar {
    int Top = 0;
    int Length = 0;
};

// The bars of one colour: runs of rows whose pixel just right of the axis
// has that colour, each measured along its middle row.
std::vector<TBar> BarsOf(const QImage& image, int axisX, const QColor& color) {
    std::vector<TBar> bars;
    bool inside = false;
    int top = 0;
    for (int y = 0; y <= image.height(); ++y) {
        const bool hit = y < image.height() && image.pixelColor(axisX + 2, y) == color;
        if (hit && !inside) top = y;
        if (!hit && inside) {
            const int middle = (top + y - 1) / 2;
            int x = axisX + 2;
            while (x < image.width() && image.pixelColor(x, middle) == color) ++x;
            bars.push_back({top, x - axisX});
        }
        inside = hit;
    }
    return bars;
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Model = std::make_unique<TZevraModel>(ZEVRA_TEST_DATA_DIR);
        Model->LoadInput(test::ExampleFile(QStringLiteral("znevyhodnena-obec.txt")).toStdString());
        Model->Evaluate();
        Window = std::make_unique<TfrmProfil>(*Model);
    }

    void cleanup() {
        Window.reset();
        Model.reset();
    }

    void barsFollowTheDeciles() {
        const QImage image = Window->chDecily->Render(QSize(800, 420));
        const auto geometry = Window->chDecily->BarGeometry(QRectF(0, 0, 800, 420));
        const int axisX = static_cast<int>(geometry.Own[0].left());
        const TDecils decils = DecilsOf(Model->Output()->Indicators);

        const auto own = BarsOf(image, axisX, TDecileChart::OwnColor);
        QCOMPARE(own.size(), kIndicatorCount);
        QVERIFY(BarsOf(image, axisX, TDecileChart::OtherColor).empty());
        // One tenth of the axis per decile, within rounding.
        const double unit = static_cast<double>(own[0].Length) / decils[0];
        for (std::size_t k = 0; k < kIndicatorCount; ++k) {
            QVERIFY2(std::abs(own[k].Length - unit * decils[k]) <= 2, qPrintable(QString::number(k)));
            if (k > 0) QVERIFY(own[k].Top > own[k - 1].Top);  // in the fixed order, top to bottom
        }
        // The full axis is ten deciles; the disadvantage zone lies on its last fifth.
        QCOMPARE(image.pixelColor(axisX + static_cast<int>(unit * 8.5), own[0].Top - 2), TDecileChart::ZoneColor);
        QVERIFY(image.pixelColor(axisX + static_cast<int>(unit * 7.5), own[0].Top - 2) != TDecileChart::ZoneColor);
    }

    void selectingASimilarMunicipalityDrawsItsDecilesAndShares() {
        const TZevraSampleMunicipalities& similar = Model->Output()->SimilarMunicipalities;
        QVERIFY(similar.Count() > 0);
        QCOMPARE(Window->dbgPodobneObce->rowCount(), similar.Count());
        QCOMPARE(Window->dbgPodily->rowCount(), 0);
        const int pick = similar.Count() - 1;
        Window->dbgPodobneObce->selectRow(pick);

        const QImage image = Window->chDecily->Render(QSize(800, 420));
        const auto geometry = Window->chDecily->BarGeometry(QRectF(0, 0, 800, 420));
        const int axisX = static_cast<int>(geometry.Own[0].left());
        const auto own = BarsOf(image, axisX, TDecileChart::OwnColor);
        const auto other = BarsOf(image, axisX, TDecileChart::OtherColor);
        // The legend's own square sits left of the axis, so only bars are counted.
        QCOMPARE(own.size(), kIndicatorCount);
        QCOMPARE(other.size(), kIndicatorCount);
        const TDecils theirs = DecilsOf(*similar.Items(pick));
        const double unit = (geometry.Own[0].width()) / DecilsOf(Model->Output()->Indicators)[0];
        for (std::size_t k = 0; k < kIndicatorCount; ++k) {
            QVERIFY(std::abs(other[k].Length - unit * theirs[k]) <= 2);
            QVERIFY(other[k].Top > own[k].Top);  // beside ours, below it
        }

        QCOMPARE(Window->dbgPodily->rowCount(), static_cast<int>(kIndicatorCount) + 1);
        double sum = 0;
        for (int r = 0; r < static_cast<int>(kIndicatorCount); ++r) sum += Window->dbgPodily->item(r, 3)->text().toDouble();
        QVERIFY(std::abs(sum - similar.Ranks(pick)) < 0.05);
        const double total = Window->dbgPodily->item(static_cast<int>(kIndicatorCount), 3)->text().toDouble();
        QVERIFY(std::abs(total - Window->dbgPodobneObce->item(pick, 4)->text().toDouble()) <= 0.05);

        Window->SelectSimilar(-1);
        QCOMPARE(Window->dbgPodily->rowCount(), 0);
        QVERIFY(BarsOf(Window->chDecily->Render(QSize(800, 420)), axisX, TDecileChart::OtherColor).empty());
    }

    void pictureExports() {
        QImage png;
        QVERIFY(png.loadFromData(Window->ChartPng(), "PNG"));
        QCOMPARE(png.size(), QSize(900, 480));
        const QByteArray svg = Window->ChartSvg();
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("Lázně nad Metují"));
        QVERIFY(Window->lblCitlivost->text().startsWith(QStringLiteral("Zařazení do pásma 700-1000 je")));
        Window->btCopyImage->click();
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(900, 480));
    }

    // A long name gives way in the title; the score and the band stay whole,
    // on screen and in the saved picture (both draw through TitleText).
    void longNameKeepsScoreAndBand() {
        TDecileChartData data = Window->chDecily->Data();
        data.Obec = QString(120, QLatin1Char('M'));
        Window->chDecily->SetData(data);
        const QFontMetricsF metrics(Window->chDecily->font());
        for (const double width : {300.0, 884.0}) {
            const QString title = Window->chDecily->TitleText(metrics, width);
            QVERIFY2(title.endsWith(QStringLiteral(", pásmo 700-1000")), qPrintable(title));
            QVERIFY(title.contains(QStringLiteral(" – Obyvatelstvo: ")));
            QVERIFY(metrics.horizontalAdvance(title) <= width + 1);
        }
    }

    // However narrow the window, the similarity column shows whole, and the
    // similarity reads alike in the list and in the shares' total.
    void similarityAlwaysShown() {
        Window->show();
        Window->resize(500, Window->height());
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
        QTableWidget* list = Window->dbgPodobneObce;
        QHeaderView* header = list->horizontalHeader();
        QCOMPARE(header->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Podobnost"));
        QVERIFY(!header->isSectionHidden(4));
        QVERIFY(header->sectionViewportPosition(4) + header->sectionSize(4) <= list->viewport()->width());
        QVERIFY(header->sectionSize(4) >= header->sectionSizeHint(4));
        const int pick = 0;
        list->selectRow(pick);
        QCOMPARE(Window->dbgPodily->item(static_cast<int>(kIndicatorCount), 3)->text(), list->item(pick, 4)->text());
        QVERIFY(!Window->dbgPodobneObce->accessibleName().isEmpty() && !Window->dbgPodily->accessibleName().isEmpty());
        QVERIFY(Window->chDecily->accessibleDescription().contains(QStringLiteral("pásmo")));
    }

private:
    std::unique_ptr<TZevraModel> Model;
    std::unique_ptr<TfrmProfil> Window;
};

QTEST_MAIN(ProfileTest)
#include "test_profile.moc"
