// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_frm_Profil.h"

#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "gui/u_screen_fit.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_savefile.h"
#include "report/u_report.h"
#include "ui/u_decile_chart.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zevra {

namespace {

// The size of the saved and copied picture, whatever the window's size.
constexpr QSize kPictureSize{900, 480};

QString Fixed(double value, int decimals) { return QString::fromStdString(FormatFixed(value, decimals)); }

QTableWidgetItem* Cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// The similarity as the report and the list show it.
QString SimilarityText(double value) { return Fixed(value, 1); }

// The text columns before `firstFigure` share what the window leaves (and
// shorten their texts when it is narrow); the figures from `firstFigure` on
// are always whole.
void FitColumns(QTableWidget* table, int firstFigure) {
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int column = 0; column < firstFigure; ++column) header->setSectionResizeMode(column, QHeaderView::Stretch);
    header->setMinimumSectionSize(24);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QTableWidget* MakeTable(const QStringList& headers, const char* name, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}

}  // namespace

TfrmProfil::TfrmProfil(const TZevraModel& model, QWidget* parent) : QDialog(parent), FModel(model) {
    setObjectName(QStringLiteral("frmProfil"));
    setWindowTitle(QStringLiteral("Profil obce"));
    setSizeGripEnabled(true);
    const TZevraOutputData& out = *model.Output();
    const TDecils decils = DecilsOf(out.Indicators);
    const TWeights weights = WeightsInOrder(model.Weights());
    FSensitivity = AnalyseSensitivity(decils, weights);

    chDecily = new TDecileChart(this);
    TDecileChartData data;
    data.Obec = ToQ(out.Obec);
    data.Decils = decils;
    data.Weights = weights;
    data.Obyvatelstvo = out.Obyvatelstvo;
    chDecily->SetData(data);

    QString moving;
    for (std::size_t k = 0; k < kIndicatorCount; ++k)
        if (FSensitivity.OneAtATime[k].MovesBand)
            moving += (moving.isEmpty() ? QString() : QStringLiteral(", ")) + QString::fromUtf8(kIndicatorLabels[k]);
    const int spread = static_cast<int>(FSensitivity.Settings.Spread * 100 + 0.5);
    QString robustness = ToQ(SensitivitySentence(FSensitivity)) +
                         QStringLiteral("\nV %1 náhodných variantách vah (každá váha ±%2 %) leží Obyvatelstvo mezi %3 "
                                        "a %4 (5. a 95. percentil).")
                             .arg(FSensitivity.Settings.Draws)
                             .arg(spread)
                             .arg(Fixed(FSensitivity.Percentile5, 1), Fixed(FSensitivity.Percentile95, 1));
    // The share of variants speaks of small changes of all weights at once;
    // a large change of a single weight is another question, and is named
    // as such, so that the two lines do not seem to contradict each other.
    robustness += moving.isEmpty()
                      ? QStringLiteral("\nPásmo nezmění ani velká změna jediné váhy (na 50 % nebo 150 %).")
                      : QStringLiteral("\nTo platí pro změny vah do ±%1 %; velká změna jediné váhy (na 50 % nebo 150 %) "
                                       "pásmo změní: ")
                                .arg(spread) +
                            moving + QLatin1Char('.');
    lblCitlivost = new QLabel(robustness, this);
    lblCitlivost->setObjectName(QStringLiteral("lblCitlivost"));
    lblCitlivost->setWordWrap(true);

    dbgPodobneObce = MakeTable({QStringLiteral("Obec"), QStringLiteral("Okres"), QStringLiteral("Kraj"),
                                QStringLiteral("Obyvatel"), QStringLiteral("Podobnost")},
                               "dbgPodobneObce", this);
    const TZevraSampleMunicipalities& similar = out.SimilarMunicipalities;
    dbgPodobneObce->setRowCount(similar.Count());
    for (int i = 0; i < similar.Count(); ++i) {
        const TZevraSampleMunicipality& m = *similar.Items(i);
        dbgPodobneObce->setItem(i, 0, Cell(ToQ(m.Obec)));
        dbgPodobneObce->setItem(i, 1, Cell(ToQ(m.Okres)));
        dbgPodobneObce->setItem(i, 2, Cell(ToQ(m.KrajNazev)));
        dbgPodobneObce->setItem(i, 3, Cell(QString::number(m.ObyvateleCelkem), true));
        dbgPodobneObce->setItem(i, 4, Cell(SimilarityText(similar.Ranks(i)), true));
    }
    FitColumns(dbgPodobneObce, 3);

    dbgPodily = MakeTable({QStringLiteral("Indikátor"), QStringLiteral("Obec"), QStringLiteral("Podobná"),
                           QStringLiteral("Podíl")},
                          "dbgPodily", this);
    dbgPodily->setSelectionMode(QAbstractItemView::NoSelection);
    FitColumns(dbgPodily, 1);

    btSavePng = new QPushButton(QStringLiteral("Uložit obrázek P&NG..."), this);
    btSavePng->setObjectName(QStringLiteral("btSavePng"));
    btSaveSvg = new QPushButton(QStringLiteral("Uložit obrázek S&VG..."), this);
    btSaveSvg->setObjectName(QStringLiteral("btSaveSvg"));
    btCopyImage = new QPushButton(QStringLiteral("Zkopírovat &graf do schránky"), this);
    btCopyImage->setObjectName(QStringLiteral("btCopyImage"));
    btClose = new QPushButton(QStringLiteral("&Zavřít"), this);
    btClose->setObjectName(QStringLiteral("btClose"));

    auto* lower = new QHBoxLayout;
    auto* listColumn = new QVBoxLayout;
    auto* listLabel = new QLabel(QStringLiteral("&Podobné obce (nižší podobnost = podobnější); vyberte obec pro srovnání:"), this);
    listLabel->setWordWrap(true);
    listLabel->setBuddy(dbgPodobneObce);
    dbgPodobneObce->setAccessibleName(QStringLiteral("Podobné obce"));
    listColumn->addWidget(listLabel);
    listColumn->addWidget(dbgPodobneObce);
    auto* sharesColumn = new QVBoxLayout;
    auto* sharesLabel = new QLabel(QStringLiteral("&Co obce odlišuje (váha × rozdíl decilů² / 100):"), this);
    sharesLabel->setWordWrap(true);
    sharesLabel->setBuddy(dbgPodily);
    dbgPodily->setAccessibleName(QStringLiteral("Co obce odlišuje"));
    sharesColumn->addWidget(sharesLabel);
    sharesColumn->addWidget(dbgPodily);
    lower->addLayout(listColumn, 1);
    lower->addLayout(sharesColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btSavePng);
    buttons->addWidget(btSaveSvg);
    buttons->addWidget(btCopyImage);
    buttons->addStretch();
    buttons->addWidget(btClose);

    // The chart, the text and the tables grow with the window; on a small
    // screen they scroll, and the buttons stay in sight below them.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("pnProfil"));
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(chDecily, 3);
    contentLayout->addWidget(lblCitlivost);
    contentLayout->addLayout(lower, 2);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("sbProfil"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    FitToScreen(this, DefaultSize, parent);

    connect(dbgPodobneObce, &QTableWidget::itemSelectionChanged, this, [this] {
        const auto rows = dbgPodobneObce->selectionModel()->selectedRows();
        SelectSimilar(rows.isEmpty() ? -1 : rows.first().row());
    });
    connect(btSavePng, &QPushButton::clicked, this, [this] { RunGuarded([this] { btSavePngClick(); }); });
    connect(btSaveSvg, &QPushButton::clicked, this, [this] { RunGuarded([this] { btSaveSvgClick(); }); });
    connect(btCopyImage, &QPushButton::clicked, this, [this] { RunGuarded([this] { btCopyImageClick(); }); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    SelectSimilar(-1);
}

void TfrmProfil::ShowProfile(const TZevraModel& model, QWidget* parent) {
    if (!model.Output()) return;
    TfrmProfil window(model, parent);
    window.exec();
}

void TfrmProfil::SelectSimilar(int index) {
    const TZevraOutputData& out = *FModel.Output();
    TDecileChartData data = chDecily->Data();
    const TZevraSampleMunicipality* other = out.SimilarMunicipalities.Items(index < 0 ? out.SimilarMunicipalities.Count() : index);
    dbgPodily->setRowCount(other ? static_cast<int>(kIndicatorCount) + 1 : 0);
    if (!other) {
        data.Other.reset();
        data.OtherName.clear();
        chDecily->SetData(data);
        return;
    }
    data.Other = DecilsOf(*other);
    data.OtherName = ToQ(other->Obec);
    chDecily->SetData(data);
    const TWeights shares = SimilarityContributions(data.Decils, *data.Other, data.Weights);
    double total = 0;
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const int row = static_cast<int>(k);
        dbgPodily->setItem(row, 0, Cell(QString::fromUtf8(kIndicatorLabels[k])));
        dbgPodily->setItem(row, 1, Cell(QString::number(data.Decils[k]), true));
        dbgPodily->setItem(row, 2, Cell(QString::number((*data.Other)[k]), true));
        dbgPodily->setItem(row, 3, Cell(Fixed(shares[k], 2), true));
        total += shares[k];
    }
    const int last = static_cast<int>(kIndicatorCount);
    dbgPodily->setItem(last, 0, Cell(QStringLiteral("Celkem (podobnost)")));
    dbgPodily->setItem(last, 1, Cell(QString()));
    dbgPodily->setItem(last, 2, Cell(QString()));
    dbgPodily->setItem(last, 3, Cell(SimilarityText(total), true));
}

QImage TfrmProfil::ChartImage() const { return chDecily->Render(kPictureSize); }

QByteArray TfrmProfil::ChartPng() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ChartImage().save(&buffer, "PNG")) throw EZevraError("Obrázek grafu se nepodařilo vytvořit!");
    return bytes;
}

QByteArray TfrmProfil::ChartSvg() const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(kPictureSize);
    generator.setViewBox(QRect(QPoint(0, 0), kPictureSize));
    generator.setTitle(QStringLiteral("Profil obce ") + chDecily->Data().Obec);
    generator.setDescription(QStringLiteral("ZEVRA Model - MOXAN"));
    {
        QPainter painter(&generator);
        painter.fillRect(QRect(QPoint(0, 0), kPictureSize), Qt::white);
        chDecily->Paint(painter, QRectF(QPointF(0, 0), QSizeF(kPictureSize)));
    }
    return bytes;
}

void TfrmProfil::SaveChart(const QString& description, const QString& pattern, const QString& suffix,
                           const QByteArray& bytes) {
    TFileDialogOptions options;
    options.Title = QStringLiteral("Uložit graf");
    options.Filters = {{description, pattern}, {QStringLiteral("Všechny soubory (*)"), QStringLiteral("*")}};
    options.DefaultSuffix = suffix;
    options.ProposedName = FileNameOf(chDecily->Data().Obec) + QLatin1Char('.') + suffix;
    const std::optional<QString> chosen = Dialogs().SaveFileName(options);
    if (!chosen) return;
    if (QFileInfo::exists(*chosen) && !AskYesNo(QStringLiteral("Soubor již existuje. Chcete jej přepsat?"))) return;
    SaveFile(FromQ(*chosen), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void TfrmProfil::btSavePngClick() { SaveChart(QStringLiteral("Obrázky PNG"), QStringLiteral("*.png"), QStringLiteral("png"), ChartPng()); }

void TfrmProfil::btSaveSvgClick() { SaveChart(QStringLiteral("Obrázky SVG"), QStringLiteral("*.svg"), QStringLiteral("svg"), ChartSvg()); }

void TfrmProfil::btCopyImageClick() { QGuiApplication::clipboard()->setImage(ChartImage()); }

}  // namespace zevra
