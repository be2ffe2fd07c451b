// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_batch.h"
#include "batch/core/u_batchmessages.h"

#include "batch/gui/u_batch_progress.h"
#include "batch/gui/u_memtable_model.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "gui/u_palette.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableView>
#include <QUrl>

#include <algorithm>

namespace zevra {

namespace {

const QColor BandColor(200, 200, 200);
constexpr int GridRowHeight = 18;
constexpr int IndicatorWidth = 12;

// The columns of dbgInputData: the input columns that have a grid title.
std::vector<TGridColumn> InputGridColumns() {
    std::vector<TGridColumn> columns;
    for (const TInputColumn& column : kInputColumns) {
        if (column.GridTitle != nullptr)
            columns.push_back({column.Field, QString::fromUtf8(column.GridTitle), column.GridWidth});
    }
    return columns;
}

TfrmBatchProcessing::TFileOpener& FileOpener() {
    static TfrmBatchProcessing::TFileOpener opener = [](const QString& fileName) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    };
    return opener;
}

std::string PathOf(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent, const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

// The file labels of the input and output groups share one width, the
// wider of their texts (at least the designed 88 px), so that neither is
// clipped whatever the font; the fields start after them and keep their
// right edge.
constexpr int FileLabelLeft = 10;
constexpr int FileFieldRight = 545;

int FileLabelWidth(const QWidget* window) {
    const QFontMetrics metrics(window->font());
    int width = 88;
    for (const QString& text : {QStringLiteral("Vstupní soubor:"), QStringLiteral("Výstupní soubor:")})
        width = std::max(width, metrics.horizontalAdvance(text) + 2);
    return width;
}

QLabel* MakeFileLabel(const QString& text, const char* name, QWidget* parent, int width) {
    QLabel* label = MakeLabel(text, parent, {FileLabelLeft, 24, width, 16});
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QRect FileFieldGeometry(int labelWidth) {
    const int left = std::max(100, FileLabelLeft + labelWidth + 2);
    return {left, 21, FileFieldRight - left, 21};
}

QGroupBox* MakeGroup(const QString& title, const char* name, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    return group;
}

QFrame* MakeLegendSquare(const char* name, const QColor& color, QWidget* parent, const QRect& geometry) {
    auto* square = new QFrame(parent);
    square->setObjectName(QString::fromLatin1(name));
    square->setGeometry(geometry);
    square->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid black; }").arg(color.name()));
    return square;
}

QString FileDialogStart(const QLineEdit* edit) { return edit->text().trimmed(); }

}  // namespace

bool IsDataSetEmpty(const TMemTable* table) { return !table || table->VisibleCount() == 0; }

TfrmBatchProcessing::TfrmBatchProcessing(TZevraModel& model, QWidget* parent)
    : QDialog(parent), FBatch(model),
      FInputModel(std::make_unique<TMemTableModel>(FBatch.InputData(), InputGridColumns(), ifERROR)) {
    FFormats.Register(HtmlOutputFormat());
    FFormats.Register(WorkbookOutputFormat());
    setObjectName(QStringLiteral("frmBatchProcessing"));
    setWindowTitle(QStringLiteral("Hromadné zpracování"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(SansFont(8));
    BuildInputGroup();
    BuildPreviewGroup();
    BuildOutputGroup();
    BuildButtonBand();
    // Maroon captions; the controls inside keep the normal text colour.
    for (QGroupBox* group : {gbInput, gbPreview, gbOutput}) SetGroupCaptionColor(group, ColorMaroon);
    ConnectHandlers();
    FormCreate();
}

TfrmBatchProcessing::~TfrmBatchProcessing() {
    // The grid must let go of the model before the model goes.
    if (dbgInputData) dbgInputData->setModel(nullptr);
}

void TfrmBatchProcessing::ShowBatchProcessing(TZevraModel& model) {
    TfrmBatchProcessing window(model);
    window.exec();
}

TfrmBatchProcessing::TFileOpener TfrmBatchProcessing::SetFileOpener(TFileOpener opener) {
    TFileOpener previous = std::move(FileOpener());
    FileOpener() = std::move(opener);
    return previous;
}

// --- construction ------------------------------------------------------------

void TfrmBatchProcessing::BuildInputGroup() {
    gbInput = MakeGroup(QStringLiteral("Vstupní soubor"), "gbInput", this);
    const int labelWidth = FileLabelWidth(this);
    MakeFileLabel(QStringLiteral("Vstupní soubor:"), "lblInputFile", gbInput, labelWidth);
    edInputFile = new QLineEdit(gbInput);
    edInputFile->setObjectName(QStringLiteral("edInputFile"));
    edInputFile->setGeometry(FileFieldGeometry(labelWidth));
    btChooseInput = MakeButton(QStringLiteral("Vybrat soubor..."), "btChooseInput", gbInput, {554, 19, 126, 25});
    btLoadInput = MakeButton(QStringLiteral("Načíst data"), "btLoadInput", gbInput,
                             {(ClientWidth - 120) / 2, 48, 120, 25});
}

void TfrmBatchProcessing::BuildPreviewGroup() {
    gbPreview = MakeGroup(QStringLiteral("Kontrola vstupu"), "gbPreview", this);
    lblErrorCount = new QLabel(gbPreview);
    lblErrorCount->setObjectName(QStringLiteral("lblErrorCount"));
    lblErrorCount->setAutoFillBackground(true);

    pnPreview_C = new QWidget(gbPreview);
    pnPreview_C->setObjectName(QStringLiteral("pnPreview_C"));
    const int panelHeight = PreviewHeight - CollapsedHeight - 2;
    pnPreview_C->setGeometry(2, CollapsedHeight, ClientWidth - 4, panelHeight);
    constexpr int StatusHeight = 33;
    const int panelWidth = ClientWidth - 4;

    dbgInputData = new QTableView(pnPreview_C);
    dbgInputData->setObjectName(QStringLiteral("dbgInputData"));
    dbgInputData->setGeometry(0, 0, panelWidth, panelHeight - StatusHeight);
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
    for (int c = 0; c < static_cast<int>(FInputModel->Columns().size()); ++c) {
        const int width = FInputModel->Columns()[static_cast<std::size_t>(c)].Width;
        columns->resizeSection(c, width > 0 ? width : TMemTableModel::DefaultColumnWidth);
    }
    QHeaderView* indicator = dbgInputData->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(GridRowHeight);
    indicator->setMinimumSectionSize(GridRowHeight);
    indicator->setFixedWidth(IndicatorWidth);
    indicator->setHighlightSections(false);

    pnPreviewStatus = new QWidget(pnPreview_C);
    pnPreviewStatus->setObjectName(QStringLiteral("pnPreviewStatus"));
    pnPreviewStatus->setGeometry(0, panelHeight - StatusHeight, panelWidth, StatusHeight);
    QFont small = font();
    small.setPointSize(7);
    shpWarning = MakeLegendSquare("shpWarning", TMemTableModel::WarningColor, pnPreviewStatus, {6, 3, 13, 13});
    QLabel* warningLabel = MakeLabel(QStringLiteral("varování"), pnPreviewStatus, {23, 2, 60, 14});
    warningLabel->setFont(small);
    shpError = MakeLegendSquare("shpError", TMemTableModel::ErrorColor, pnPreviewStatus, {6, 18, 13, 13});
    QLabel* errorLabel = MakeLabel(QStringLiteral("chyba"), pnPreviewStatus, {23, 17, 60, 14});
    errorLabel->setFont(small);
    btValidationDetail =
        MakeButton(QStringLiteral("Detail kontroly dat"), "btValidationDetail", pnPreviewStatus, {88, 4, 130, 25});
    btRunModel = MakeButton(QStringLiteral("Spustit model"), "btRunModel", pnPreviewStatus, {226, 4, 130, 25});
    chbProblemsOnly = new QCheckBox(QStringLiteral("Zobrazit jen problémy"), pnPreviewStatus);
    chbProblemsOnly->setObjectName(QStringLiteral("chbProblemsOnly"));
    chbProblemsOnly->setGeometry(panelWidth - 160, 8, 156, 17);
    chbProblemsOnly->setChecked(true);
}

void TfrmBatchProcessing::BuildOutputGroup() {
    gbOutput = MakeGroup(QStringLiteral("Uložení výsledku"), "gbOutput", this);
    pnOutput_C = new QWidget(gbOutput);
    pnOutput_C->setObjectName(QStringLiteral("pnOutput_C"));
    pnOutput_C->setGeometry(0, 0, ClientWidth, OutputHeight);
    const int labelWidth = FileLabelWidth(this);
    MakeFileLabel(QStringLiteral("Výstupní soubor:"), "lblOutputFile", pnOutput_C, labelWidth);
    edOutputFile = new QLineEdit(pnOutput_C);
    edOutputFile->setObjectName(QStringLiteral("edOutputFile"));
    edOutputFile->setGeometry(FileFieldGeometry(labelWidth));
    btChooseOutput = MakeButton(QStringLiteral("Vybrat soubor..."), "btChooseOutput", pnOutput_C, {554, 19, 126, 25});
    chbOpenOutput = new QCheckBox(QStringLiteral("Po uložení zobrazit výsledky"), pnOutput_C);
    chbOpenOutput->setObjectName(QStringLiteral("chbOpenOutput"));
    chbOpenOutput->setGeometry(100, 45, 250, 17);
    chbOpenOutput->setChecked(false);
    btSaveOutput = MakeButton(QStringLiteral("Uložit výsledek"), "btSaveOutput", pnOutput_C,
                              {(ClientWidth - 120) / 2, 65, 120, 25});
}

void TfrmBatchProcessing::BuildButtonBand() {
    pnButtons = new QWidget(this);
    pnButtons->setObjectName(QStringLiteral("pnButtons"));
    FillBackground(pnButtons, BandColor);
    btClose = MakeButton(QStringLiteral("Ukončit"), "btClose", pnButtons, {ClientWidth - 8 - 100, 5, 100, 25});
    // Which reference data the results come from, so that demonstration data
    // are never taken for an office's own; a long folder is cut in the middle.
    const QString dataText = ToQ(DataFolderText(FBatch.Model().Data().DataDir()));
    QLabel* dataDir = MakeLabel(QString(), pnButtons, {8, 5, ClientWidth - 8 - 100 - 16, 25});
    dataDir->setObjectName(QStringLiteral("lblDataDir"));
    dataDir->setToolTip(dataText);
    dataDir->setText(dataDir->fontMetrics().elidedText(dataText, Qt::ElideMiddle, dataDir->width()));
}

void TfrmBatchProcessing::ConnectHandlers() {
    const auto guarded = [this](void (TfrmBatchProcessing::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(btChooseInput, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btChooseInputClick));
    connect(btLoadInput, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btLoadInputClick));
    connect(btRunModel, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btRunModelClick));
    connect(btValidationDetail, &QPushButton::clicked, this,
            guarded(&TfrmBatchProcessing::btValidationDetailClick));
    connect(chbProblemsOnly, &QCheckBox::toggled, this, guarded(&TfrmBatchProcessing::chbProblemsOnlyClick));
    connect(btChooseOutput, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btChooseOutputClick));
    connect(btSaveOutput, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btSaveOutputClick));
    connect(btClose, &QPushButton::clicked, this, guarded(&TfrmBatchProcessing::btCloseClick));
    connect(dbgInputData, &QTableView::doubleClicked, this, guarded(&TfrmBatchProcessing::dbgInputDataDblClick));
    connect(dbgInputData->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { dbgInputDataCurrentChanged(); });
}

// --- layout ------------------------------------------------------------------

void TfrmBatchProcessing::FormCreate() {
    FPreviewDesignHeight = PreviewHeight;
    FOutputDesignHeight = OutputHeight;
    SetPreviewExpanded(false);
    SetOutputExpanded(false);
    pnPreview_C->hide();
    lblErrorCount->setText(QString());
    PlaceErrorCount();
}

void TfrmBatchProcessing::FormActivate() {
    PlaceErrorCount();
    LayoutGroups();
}

void TfrmBatchProcessing::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmBatchProcessing::SetPreviewExpanded(bool expanded) {
    FPreviewExpanded = expanded;
    LayoutGroups();
}

void TfrmBatchProcessing::SetOutputExpanded(bool expanded) {
    FOutputExpanded = expanded;
    pnOutput_C->setVisible(expanded);
    LayoutGroups();
}

void TfrmBatchProcessing::LayoutGroups() {
    int top = 0;
    const auto place = [&top](QWidget* part, int height) {
        part->setGeometry(0, top, ClientWidth, height);
        top += height;
    };
    place(gbInput, InputHeight);
    place(gbPreview, FPreviewExpanded ? FPreviewDesignHeight : CollapsedHeight);
    place(gbOutput, FOutputExpanded ? FOutputDesignHeight : CollapsedHeight);
    place(pnButtons, ButtonsHeight);
    setFixedSize(ClientWidth, top);
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

TfrmBatchProcessing::TState TfrmBatchProcessing::State() const {
    if (FOutputExpanded) return TState::Run;
    if (FPreviewExpanded) return TState::Loaded;
    return TState::Opened;
}

// --- grid --------------------------------------------------------------------

bool TfrmBatchProcessing::IsDataSetEmpty() const { return zevra::IsDataSetEmpty(&FBatch.InputData()); }

std::size_t TfrmBatchProcessing::CurrentInputRow() const {
    if (IsDataSetEmpty()) return TMemTable::npos;
    const QModelIndex current = dbgInputData->currentIndex();
    const std::size_t row = FInputModel->TableRow(current.isValid() ? current.row() : 0);
    return row != TMemTable::npos ? row : FInputModel->TableRow(0);
}

void TfrmBatchProcessing::WithGridDetached(const std::function<void()>& change) {
    // While detached the grid would paint blank under the progress dialog:
    // it keeps its last picture until it follows the table again.
    QWidget* viewport = dbgInputData->viewport();
    viewport->setUpdatesEnabled(false);
    FInputModel->BeginUpdate();
    try {
        change();
    } catch (...) {
        FInputModel->EndUpdate();
        viewport->setUpdatesEnabled(true);
        SyncCurrentRow();
        throw;
    }
    FInputModel->EndUpdate();
    viewport->setUpdatesEnabled(true);
    SyncCurrentRow();
}

// After the grid was reset, its cursor goes back to the table's current row,
// or to the first visible row when that one is hidden.
void TfrmBatchProcessing::SyncCurrentRow() {
    if (!FInputModel->Following()) return;
    int viewRow = FInputModel->ViewRow(FBatch.InputData().CurrentRow());
    if (viewRow < 0 && FInputModel->rowCount() > 0) viewRow = 0;
    if (viewRow < 0) {
        FInputModel->SetIndicatorRow(-1);
        return;
    }
    dbgInputData->setCurrentIndex(FInputModel->index(viewRow, 0));
    FInputModel->SetIndicatorRow(viewRow);
}

void TfrmBatchProcessing::dbgInputDataCurrentChanged() {
    const QModelIndex current = dbgInputData->currentIndex();
    if (!current.isValid()) return;
    const std::size_t row = FInputModel->TableRow(current.row());
    if (row == TMemTable::npos) return;
    FBatch.InputData().SetCurrentRow(row);
    FInputModel->SetIndicatorRow(current.row());
}

// --- handlers ----------------------------------------------------------------

void TfrmBatchProcessing::btChooseInputClick() {
    TFileDialogOptions options;
    options.Title = QStringLiteral("Vyberte soubor, který chcete zpracovat");
    options.Filters = {{QStringLiteral("Textové soubory"), QStringLiteral("*.txt")},
                    {QStringLiteral("CSV soubory"), QStringLiteral("*.csv")}};
    options.SelectedFilter = 1;
    options.InitialDir = StartFolder(TFileKind::BatchInput);
    options.ProposedName = FileDialogStart(edInputFile);
    options.MustExist = true;
    if (const std::optional<QString> chosen = Dialogs().OpenFileName(options)) {
        RememberFolder(TFileKind::BatchInput, *chosen);
        edInputFile->setText(*chosen);
    }
}

void TfrmBatchProcessing::btLoadInputClick() {
    try {
        LoadInputFile();
        ValidateInputRows();
        SetPreviewExpanded(true);
        pnPreview_C->show();
        SetOutputExpanded(false);
    } catch (const ECompositeException& e) {
        Dialogs().ShowComposite(e, this);
    }
}

void TfrmBatchProcessing::LoadInputFile() {
    const std::string fileName = PathOf(edInputFile->text());
    // The counts belong to the rows checked before; the new rows are not
    // checked yet (and stay unchecked when the load reports problems).
    lblErrorCount->clear();
    PlaceErrorCount();
    WithGridDetached([&] {
        TDelayedProgress progress(this, QStringLiteral("Načítání vstupního souboru..."));
        try {
            FBatch.LoadInputFile(fileName, progress.Callback());
        } catch (const ECompositeException&) {
            FLoadedFile = fileName;  // its rows are in the table all the same
            throw;
        }
        FLoadedFile = fileName;
    });
}

void TfrmBatchProcessing::ValidateInputRows() {
    WithGridDetached([&] {
        TDelayedProgress progress(this, QStringLiteral("Kontrola vstupních dat..."));
        FBatch.ValidateInputRows(progress.Callback());
    });
    lblErrorCount->setText(ToQ(FBatch.ErrorCountText()));
    PlaceErrorCount();
}

void TfrmBatchProcessing::btRunModelClick() {
    if (!InputValid()) {
        ShowErrorMessage(QString::fromUtf8(kInputHasErrorsMessage));
        return;
    }
    RunModelOnRows();
    SetOutputExpanded(true);
}

void TfrmBatchProcessing::RunModelOnRows() {
    WithGridDetached([&] {
        TDelayedProgress progress(this, QStringLiteral("Výpočet modelu..."));
        FBatch.RunModelOnRows(progress.Callback());
    });
}

void TfrmBatchProcessing::ShowErrorMessage(const QString& text) {
    Dialogs().ShowMessage(TMessageKind::Error, QStringLiteral("Error"), text, TMessagePlacement::CornerAtScreenCentre);
}

void TfrmBatchProcessing::btValidationDetailClick() {
    const std::size_t row = CurrentInputRow();
    if (row == TMemTable::npos) return;
    const TMemTable& table = FBatch.InputData();
    Dialogs().ShowInfoText(QString(),
                           QStringLiteral("Výsledek kontroly dat pro obec %1:").arg(ToQ(table.GetText(row, ifOBEC))),
                           ToQ(table.GetText(row, ifERROR_TEXT)));
}

void TfrmBatchProcessing::dbgInputDataDblClick() {
    if (btValidationDetail->isEnabled()) btValidationDetailClick();
}

void TfrmBatchProcessing::chbProblemsOnlyClick() {
    WithGridDetached([&] { FBatch.SetProblemsOnly(chbProblemsOnly->isChecked()); });
}

void TfrmBatchProcessing::btChooseOutputClick() {
    TFileDialogOptions options;
    options.Title = QStringLiteral("Vyberte umístění pro výstupní soubor");
    for (const TOutputFormat& format : FFormats.All())
        options.Filters.push_back({ToQ(format.FilterTitle), ToQ(format.FilterPatterns())});
    options.InitialDir = StartFolder(TFileKind::BatchOutput);
    options.ProposedName = FileDialogStart(edOutputFile);
    const std::optional<QString> chosen = Dialogs().SaveFileName(options);
    if (!chosen) return;
    RememberFolder(TFileKind::BatchOutput, *chosen);
    if (QFileInfo::exists(*chosen) && !AskYesNo(QStringLiteral("Soubor již existuje. Chcete jej přepsat?"))) return;
    edOutputFile->setText(*chosen);
}

void TfrmBatchProcessing::btSaveOutputClick() {
    WriteHtmlOutput();
    if (chbOpenOutput->isChecked()) OpenOutputFile();
}

// The format follows the name's extension (the HTML table when none fits).
void TfrmBatchProcessing::WriteHtmlOutput() {
    // Writing the results over the file they came from would destroy it. The
    // check takes both names as the loader and the writers do (FileNameOf),
    // so that it compares the very files that are read and written.
    // The file the rows came from counts as well as the one the field names.
    const std::string input = PathOf(edInputFile->text());
    const std::string output = PathOf(edOutputFile->text());
    for (const std::string& source : {input, FLoadedFile}) {
        if (!IsBlank(source) && !IsBlank(output) && SameFile(source, output))
            throw EZevraError(SameAsInputMessage(FileNameOf(output)));
    }
    FFormats.ForFile(FileNameOf(output)).Write(FBatch, output, {});
}

void TfrmBatchProcessing::OpenOutputFile() {
    // The file that was written.
    const std::string written = FileNameOf(PathOf(edOutputFile->text()));
    if (FileOpener()) FileOpener()(QFile::decodeName(QByteArray::fromStdString(written)));
}

void TfrmBatchProcessing::btCloseClick() { accept(); }

}  // namespace zevra
