// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's controls and their places. The three groups stand in a
// scroll area above the button band: the window opens at its designed size
// where the screen has room for it and never larger than the screen's
// available area; the grid takes whatever height the window has beyond the
// other groups, and the content scrolls only when the window is smaller than
// its least size.
#include "batch/gui/u_batch.h"

#include "batch/gui/u_frm_CompositeException.h"
#include "batch/gui/u_memtable_model.h"
#include "model/u_model.h"
#include "model/u_paths.h"
#include "gui/u_gui_functions.h"
#include "gui/u_palette.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zevra {

namespace {

constexpr int GridRowHeight = 18;
constexpr int IndicatorWidth = 12;
constexpr int StatusHeight = 33;
constexpr int ChooseWidth = 126;
// The choose buttons end 12 px before the right edge; the file fields end
// 9 px before the buttons.
constexpr int ChooseRightGap = 12;
constexpr int FieldButtonGap = 9;
constexpr int FileLabelLeft = 10;

// The columns of dbgInputData: the input columns that have a grid title.
std::vector<TGridColumn> InputGridColumns() {
    std::vector<TGridColumn> columns;
    for (const TInputColumn& column : kInputColumns) {
        if (column.GridTitle != nullptr)
            columns.push_back({column.Field, QString::fromUtf8(column.GridTitle), column.GridWidth});
    }
    return columns;
}

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent, const QSize& size) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->resize(size);
    return button;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

// The file labels of the input and output groups share one width, the
// wider of their texts (at least the designed 88 px), so that neither is
// clipped whatever the font; the fields start after them.
int FileLabelWidth(const QWidget* window) {
    const QFontMetrics metrics(window->font());
    int width = 88;
    for (const QString& text : {QStringLiteral("Vstupní soubor:"), QStringLiteral("Výstupní soubor:")})
        width = std::max(width, metrics.horizontalAdvance(text) + 2);
    return width;
}

// A file label with its mnemonic, which moves the focus to its field.
QLabel* MakeFileLabel(const QString& text, const char* name, QWidget* parent, QWidget* field) {
    QLabel* label = MakeLabel(text, parent, {FileLabelLeft, 24, FileLabelWidth(parent->window()), 16});
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(field);
    return label;
}

// A file field and its choose button, for a group `width` wide.
void PlaceFileRow(QLineEdit* field, QPushButton* choose, int width) {
    const int buttonLeft = width - ChooseRightGap - ChooseWidth;
    const int left = std::max(100, FileLabelLeft + FileLabelWidth(field->window()) + 2);
    field->setGeometry(left, 21, std::max(60, buttonLeft - FieldButtonGap - left), 21);
    choose->setGeometry(buttonLeft, 19, ChooseWidth, 25);
}

QGroupBox* MakeGroup(const QString& title, const char* name, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

QFrame* MakeLegendSquare(const char* name, const QColor& color, const QString& meaning, QWidget* parent,
                         const QRect& geometry) {
    auto* square = new QFrame(parent);
    square->setObjectName(QString::fromLatin1(name));
    square->setGeometry(geometry);
    square->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid black; }").arg(color.name()));
    square->setAccessibleName(QStringLiteral("Barva řádků: %1").arg(meaning));
    return square;
}

}  // namespace

void TfrmBatchProcessing::BuildInputGroup() {
    gbInput = MakeGroup(QStringLiteral("Vstupní soubor"), "gbInput", pnContent);
    edInputFile = new QLineEdit(gbInput);
    edInputFile->setObjectName(QStringLiteral("edInputFile"));
    edInputFile->setAccessibleName(QStringLiteral("Vstupní soubor"));
    MakeFileLabel(QStringLiteral("Vstupní &soubor:"), "lblInputFile", gbInput, edInputFile);
    btChooseInput = MakeButton(QStringLiteral("&Vybrat soubor..."), "btChooseInput", gbInput, {ChooseWidth, 25});
    btLoadInput = MakeButton(QStringLiteral("&Načíst data"), "btLoadInput", gbInput, {120, 25});
}

void TfrmBatchProcessing::BuildPreviewGroup() {
    gbPreview = MakeGroup(QStringLiteral("Kontrola vstupu"), "gbPreview", pnContent);
    lblErrorCount = new QLabel(gbPreview);
    lblErrorCount->setObjectName(QStringLiteral("lblErrorCount"));
    lblErrorCount->setAutoFillBackground(true);

    pnPreview_C = new QWidget(gbPreview);
    pnPreview_C->setObjectName(QStringLiteral("pnPreview_C"));

    FInputModel = std::make_unique<TMemTableModel>(FBatch.InputData(), InputGridColumns(), ifERROR);
    dbgInputData = new QTableView(pnPreview_C);
    dbgInputData->setObjectName(QStringLiteral("dbgInputData"));
    dbgInputData->setAccessibleName(QStringLiteral("Řádky vstupního souboru"));
    dbgInputData->setModel(FInputModel.get());
    dbgInputData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgInputData->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgInputData->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgInputData->setShowGrid(true);
    dbgInputData->setWordWrap(false);
    dbgInputData->setTabKeyNavigation(false);
    QHeaderView* columns = dbgInputData->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultSectionSize(TMemTableModel::DefaultColumnWidth);
    columns->setDefaultAlignment(Qt::AlignCenter);
    columns->setHighlightSections(false);
    // A column is as wide as designed, or as its title where the font needs
    // more, so that no title is cut.
    const QFontMetrics headerMetrics(columns->font());
    const int headerMargin = 2 * columns->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, columns) + 4;
    for (int c = 0; c < static_cast<int>(FInputModel->Columns().size()); ++c) {
        const TGridColumn& column = FInputModel->Columns()[static_cast<std::size_t>(c)];
        const int designed = column.Width > 0 ? column.Width : TMemTableModel::DefaultColumnWidth;
        columns->resizeSection(c, std::max(designed, headerMetrics.horizontalAdvance(column.Title) + headerMargin));
    }
    QHeaderView* indicator = dbgInputData->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(GridRowHeight);
    indicator->setMinimumSectionSize(GridRowHeight);
    indicator->setFixedWidth(IndicatorWidth);
    indicator->setHighlightSections(false);

    pnPreviewStatus = new QWidget(pnPreview_C);
    pnPreviewStatus->setObjectName(QStringLiteral("pnPreviewStatus"));
    QFont small = font();
    small.setPointSize(7);
    shpWarning = MakeLegendSquare("shpWarning", TMemTableModel::WarningColor, QStringLiteral("varování"),
                                  pnPreviewStatus, {6, 3, 13, 13});
    QLabel* warningLabel = MakeLabel(QStringLiteral("varování"), pnPreviewStatus, {23, 2, 60, 14});
    warningLabel->setFont(small);
    shpError = MakeLegendSquare("shpError", TMemTableModel::ErrorColor, QStringLiteral("chyba"), pnPreviewStatus,
                                {6, 18, 13, 13});
    QLabel* errorLabel = MakeLabel(QStringLiteral("chyba"), pnPreviewStatus, {23, 17, 60, 14});
    errorLabel->setFont(small);
    btValidationDetail = MakeButton(QStringLiteral("&Detail kontroly dat"), "btValidationDetail", pnPreviewStatus,
                                    {130, 25});
    btValidationDetail->move(88, 4);
    btRunModel = MakeButton(QStringLiteral("Spustit &model"), "btRunModel", pnPreviewStatus, {130, 25});
    btRunModel->move(226, 4);
    chbProblemsOnly = new QCheckBox(QStringLiteral("Zobrazit &jen problémy"), pnPreviewStatus);
    chbProblemsOnly->setObjectName(QStringLiteral("chbProblemsOnly"));
    chbProblemsOnly->setChecked(true);
}

void TfrmBatchProcessing::BuildOutputGroup() {
    gbOutput = MakeGroup(QStringLiteral("Uložení výsledku"), "gbOutput", pnContent);
    pnOutput_C = new QWidget(gbOutput);
    pnOutput_C->setObjectName(QStringLiteral("pnOutput_C"));
    edOutputFile = new QLineEdit(pnOutput_C);
    edOutputFile->setObjectName(QStringLiteral("edOutputFile"));
    edOutputFile->setAccessibleName(QStringLiteral("Výstupní soubor"));
    MakeFileLabel(QStringLiteral("Výs&tupní soubor:"), "lblOutputFile", pnOutput_C, edOutputFile);
    btChooseOutput = MakeButton(QStringLiteral("Vy&brat soubor..."), "btChooseOutput", pnOutput_C, {ChooseWidth, 25});
    chbOpenOutput = new QCheckBox(QStringLiteral("Po uložení &zobrazit výsledky"), pnOutput_C);
    chbOpenOutput->setObjectName(QStringLiteral("chbOpenOutput"));
    chbOpenOutput->setGeometry(100, 45, 250, 17);
    chbOpenOutput->setChecked(false);
    btSaveOutput = MakeButton(QStringLiteral("&Uložit výsledek"), "btSaveOutput", pnOutput_C, {120, 25});
}

void TfrmBatchProcessing::BuildButtonBand() {
    pnButtons = new QWidget(this);
    pnButtons->setObjectName(QStringLiteral("pnButtons"));
    pnButtons->setFixedHeight(ButtonsHeight);
    FillBackground(pnButtons, ButtonBandColor(this));
    btClose = MakeButton(QStringLiteral("U&končit"), "btClose", pnButtons, {100, 25});
    // Which reference data the results come from, so that demonstration data
    // are never taken for an office's own; a long folder is cut in the middle.
    lblDataDir = MakeLabel(QString(), pnButtons, {8, 5, 100, 25});
    lblDataDir->setObjectName(QStringLiteral("lblDataDir"));
    lblDataDir->setToolTip(ToQ(DataFolderText(FBatch.Model().Data().DataDir())));
}

void TfrmBatchProcessing::BuildFrame() {
    sbContent = new QScrollArea(this);
    sbContent->setObjectName(QStringLiteral("sbContent"));
    sbContent->setFrameShape(QFrame::NoFrame);
    sbContent->setWidgetResizable(true);
    pnContent = new QWidget;
    pnContent->setObjectName(QStringLiteral("pnContent"));
    sbContent->setWidget(pnContent);
    pnContent->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sbContent, 1);
    BuildInputGroup();
    BuildPreviewGroup();
    BuildOutputGroup();
    BuildButtonBand();
    layout->addWidget(pnButtons);
    pnButtons->installEventFilter(this);
}

bool TfrmBatchProcessing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && (watched == pnContent || watched == pnButtons)) LayoutGroups();
    return QDialog::eventFilter(watched, event);
}

// --- layout ------------------------------------------------------------------

int TfrmBatchProcessing::DesignedHeight() const {
    return InputHeight + (FPreviewExpanded ? FPreviewDesignHeight : CollapsedHeight) +
           (FOutputExpanded ? FOutputDesignHeight : CollapsedHeight) + ButtonsHeight;
}

void TfrmBatchProcessing::LayoutGroups() {
    const int outputHeight = FOutputExpanded ? FOutputDesignHeight : CollapsedHeight;
    const int leastPreview = FPreviewExpanded ? MinPreviewHeight : CollapsedHeight;
    pnContent->setMinimumSize(MinContentWidth, InputHeight + leastPreview + outputHeight);
    const int width = std::max(MinContentWidth, pnContent->width());
    // The preview takes the height the others leave; collapsed, the space
    // below the groups stays empty.
    const int previewHeight =
        FPreviewExpanded ? std::max(leastPreview, pnContent->height() - InputHeight - outputHeight) : CollapsedHeight;
    int top = 0;
    const auto place = [&top, width](QWidget* part, int height) {
        part->setGeometry(0, top, width, height);
        top += height;
    };
    place(gbInput, InputHeight);
    place(gbPreview, previewHeight);
    place(gbOutput, outputHeight);
    PlaceControls(width);
}

void TfrmBatchProcessing::PlaceControls(int width) {
    PlaceFileRow(edInputFile, btChooseInput, width);
    btLoadInput->move((width - btLoadInput->width()) / 2, 48);

    const int panelWidth = width - 4;
    const int panelHeight = std::max(StatusHeight, gbPreview->height() - CollapsedHeight - 2);
    pnPreview_C->setGeometry(2, CollapsedHeight, panelWidth, panelHeight);
    dbgInputData->setGeometry(0, 0, panelWidth, panelHeight - StatusHeight);
    pnPreviewStatus->setGeometry(0, panelHeight - StatusHeight, panelWidth, StatusHeight);
    chbProblemsOnly->setGeometry(panelWidth - 160, 8, 156, 17);

    pnOutput_C->setGeometry(0, 0, width, OutputHeight);
    PlaceFileRow(edOutputFile, btChooseOutput, width);
    btSaveOutput->move((width - btSaveOutput->width()) / 2, 65);

    const int bandWidth = pnButtons->width();
    btClose->move(bandWidth - 8 - btClose->width(), 5);
    lblDataDir->setGeometry(8, 5, std::max(0, bandWidth - 8 - btClose->width() - 16), 25);
    lblDataDir->setText(lblDataDir->fontMetrics().elidedText(lblDataDir->toolTip(), Qt::ElideMiddle,
                                                            lblDataDir->width()));
    PlaceErrorCount();
}

void TfrmBatchProcessing::FitToScreen(int extraHeight) {
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, ClientWidth, DesignedHeight());
    // The frame is known once the window is shown; before, leave room for a
    // usual title bar.
    const bool framed = isVisible() && frameGeometry().height() > height();
    const QSize frame = framed ? frameGeometry().size() - size() : QSize(8, 40);
    const int maxWidth = std::max(1, available.width() - frame.width());
    const int maxHeight = std::max(1, available.height() - frame.height());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(std::min(320, maxWidth), std::min(ButtonsHeight + InputHeight + 2 * CollapsedHeight, maxHeight));
    const int width = std::min(isVisible() ? std::max(this->width(), ClientWidth) : ClientWidth, maxWidth);
    resize(std::min(width, maxWidth), std::min(DesignedHeight() + std::max(0, extraHeight), maxHeight));
    if (!isVisible()) return;
    // A window that grew past the bottom or right edge moves back in.
    QRect placed = frameGeometry();
    if (placed.bottom() > available.bottom()) placed.moveBottom(available.bottom());
    if (placed.right() > available.right()) placed.moveRight(available.right());
    placed.moveTop(std::max(placed.top(), available.top()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    if (placed.topLeft() != frameGeometry().topLeft()) move(placed.topLeft());
}

// lblErrorCount stands on the group's frame line right after its caption.
void TfrmBatchProcessing::PlaceErrorCount() {
    QStyleOptionGroupBox option;
    option.initFrom(gbPreview);
    option.text = gbPreview->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = gbPreview->alignment();
    const QRect caption = gbPreview->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, gbPreview);
    const int height = qMax(caption.height(), fontMetrics().height());
    const int width = fontMetrics().horizontalAdvance(lblErrorCount->text()) + 6;
    lblErrorCount->setGeometry(caption.right() + 2, caption.top(), width, height);
    lblErrorCount->raise();
}

}  // namespace zevra
