// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_batch.h"
#include "batch/core/u_batchjson.h"
#include "batch/core/u_batchmessages.h"

#include "batch/gui/u_batch_progress.h"
#include "batch/gui/u_memtable_model.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "gui/u_palette.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

#include <algorithm>

namespace zevra {

namespace {

std::string PathOf(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

QString FileDialogStart(const QLineEdit* edit) { return edit->text().trimmed(); }

TfrmBatchProcessing::TFileOpener& FileOpener() {
    static TfrmBatchProcessing::TFileOpener opener = [](const QString& fileName) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    };
    return opener;
}

}  // namespace

bool IsDataSetEmpty(const TMemTable* table) { return !table || table->VisibleCount() == 0; }

TfrmBatchProcessing::TfrmBatchProcessing(TZevraModel& model, QWidget* parent)
    : QDialog(parent), FBatch(model), FWizardInput(std::make_unique<TZevraInputData>(model.Input())),
      FWizardOutput(model.Output()) {
    FFormats.Register(HtmlOutputFormat());
    FFormats.Register(WorkbookOutputFormat());
    FFormats.Register(JsonOutputFormat());
    setObjectName(QStringLiteral("frmBatchProcessing"));
    setWindowTitle(QStringLiteral("Hromadné zpracování"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(SansFont(8));
    BuildFrame();
    // Maroon captions; the controls inside keep the normal text colour.
    for (QGroupBox* group : {gbInput, gbPreview, gbOutput}) SetGroupCaptionColor(group, ColorMaroon);
    ConnectHandlers();
    FormCreate();
}

TfrmBatchProcessing::~TfrmBatchProcessing() {
    // The grid must let go of the model before the model goes.
    if (dbgInputData) dbgInputData->setModel(nullptr);
    // The batch leaves its last row in the model; the wizard gets its own
    // input and result back. The result is evaluated again from that input,
    // which gives the same figures.
    TZevraModel& model = FBatch.Model();
    if (model.Input() == *FWizardInput && model.Output() == FWizardOutput) return;
    model.NewInput();
    model.Input() = *FWizardInput;
    if (FWizardOutput) {
        try {
            model.Evaluate();
        } catch (...) {
            model.NewInput();  // it was evaluated before; nothing better to give back
            model.Input() = *FWizardInput;
        }
    }
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
    FPreviewExpanded = false;
    SetOutputExpanded(false);
    pnPreview_C->hide();
    lblErrorCount->setText(QString());
    FitToScreen(0);
}

void TfrmBatchProcessing::FormActivate() {
    FitToScreen(height() - DesignedHeight());
    LayoutGroups();
}

void TfrmBatchProcessing::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmBatchProcessing::SetPreviewExpanded(bool expanded) {
    const int extra = height() - DesignedHeight();
    FPreviewExpanded = expanded;
    FitToScreen(extra);
    LayoutGroups();
}

void TfrmBatchProcessing::SetOutputExpanded(bool expanded) {
    const int extra = height() - DesignedHeight();
    FOutputExpanded = expanded;
    pnOutput_C->setVisible(expanded);
    FitToScreen(extra);
    LayoutGroups();
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
        FUnsaved = true;
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
    FUnsaved = true;
}

void TfrmBatchProcessing::RunModelOnRows() {
    WithGridDetached([&] {
        TDelayedProgress progress(this, QStringLiteral("Výpočet modelu..."));
        FBatch.RunModelOnRows(progress.Callback());
    });
}

void TfrmBatchProcessing::ShowErrorMessage(const QString& text) {
    Dialogs().ShowMessage(TMessageKind::Error, QStringLiteral("Chyba"), text, TMessagePlacement::OverWindow);
}

void TfrmBatchProcessing::btValidationDetailClick() {
    const std::size_t row = CurrentInputRow();
    if (row == TMemTable::npos) return;
    const TMemTable& table = FBatch.InputData();
    Dialogs().ShowInfoText(QStringLiteral("Detail kontroly dat"),
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
    const std::vector<TOutputFormat>& formats = FFormats.All();
    for (const TOutputFormat& format : formats)
        options.Filters.push_back({ToQ(format.FilterTitle), ToQ(format.FilterPatterns())});
    // The dialog opens on the format the field's name already has.
    const TOutputFormat* current = FormatOfName(edOutputFile->text().trimmed());
    const TOutputFormat& proposed = current ? *current : formats.front();
    options.SelectedFilter = static_cast<int>(&proposed - formats.data());
    options.InitialDir = StartFolder(TFileKind::BatchOutput);
    options.ProposedName = ProposedOutputName(proposed);
    int chosenFilter = options.SelectedFilter;
    options.ChosenFilter = &chosenFilter;
    const std::optional<QString> chosen = Dialogs().SaveFileName(options);
    if (!chosen) return;
    RememberFolder(TFileKind::BatchOutput, *chosen);
    const std::size_t filter = static_cast<std::size_t>(std::clamp(chosenFilter, 0, int(formats.size()) - 1));
    const std::optional<QString> name = AgreeOnFormat(*chosen, formats[filter]);
    if (!name) return;
    if (QFileInfo::exists(*name) && !AskYesNo(QStringLiteral("Soubor již existuje. Chcete jej přepsat?"))) return;
    edOutputFile->setText(*name);
}

void TfrmBatchProcessing::btSaveOutputClick() {
    if (!WriteHtmlOutput()) {
        Dialogs().ShowMessage(TMessageKind::Information, QStringLiteral("Upozornění"),
                              QStringLiteral("Ukládání bylo zrušeno, výsledky nebyly uloženy."));
        return;
    }
    FUnsaved = false;
    if (chbOpenOutput->isChecked()) OpenOutputFile();
}

void TfrmBatchProcessing::OpenOutputFile() {
    // The file that was written.
    const QString written = QFile::decodeName(QByteArray::fromStdString(FileNameOf(PathOf(edOutputFile->text()))));
    if (FileOpener() && !FileOpener()(written))
        Dialogs().ShowMessage(TMessageKind::Warning, QStringLiteral("Varování"),
                              ToQ(PathMessage("Výsledky byly uloženy, ale nepodařilo se je zobrazit: pro tento typ "
                                              "souboru není nastaven žádný program!",
                                              PathOf(written))));
}

bool TfrmBatchProcessing::HasUnsavedWork() const { return FUnsaved && State() != TState::Opened; }

bool TfrmBatchProcessing::ConfirmClose() {
    if (FSaving) return false;
    if (!HasUnsavedWork()) return true;
    return AskYesNo(State() == TState::Run
                        ? QStringLiteral("Vypočtené výsledky nebyly uloženy.\r\n"
                                         "Opravdu chcete hromadné zpracování ukončit?")
                        : QStringLiteral("Načtená data nebyla zpracována ani uložena.\r\n"
                                         "Opravdu chcete hromadné zpracování ukončit?"));
}

// Esc and the title bar's close button come here; "Ukončit" as well.
void TfrmBatchProcessing::reject() {
    if (ConfirmClose()) QDialog::reject();
}

void TfrmBatchProcessing::btCloseClick() {
    if (ConfirmClose()) QDialog::accept();
}

}  // namespace zevra
