// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmBatchProcessing: the modal batch window. It leads through three steps,
// each in its own group: choose, load and check an input file (the rows with
// problems are listed in a grid), run the model over all rows, and save the
// results in one of the registered formats (HTML table, workbook, JSON). The
// model is borrowed from the main window and given back as it was found
// (its input and result), so the wizard keeps its own; the two tables belong
// to the window's batch. The window fits the screen it opens on and can be
// resized; the grid takes the height it gains.
#pragma once

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTableView;

namespace zevra {

class TMemTableModel;
class TZevraModel;
class TZevraInputData;

class TfrmBatchProcessing : public QDialog {
public:
    static constexpr int ClientWidth = 692;
    static constexpr int CollapsedHeight = 16;
    static constexpr int InputHeight = 79;
    static constexpr int PreviewHeight = 278;
    static constexpr int OutputHeight = 94;
    static constexpr int ButtonsHeight = 35;
    // The least the content takes before it scrolls: the grid keeps a few
    // rows, the rows of buttons keep their buttons side by side.
    static constexpr int MinContentWidth = 540;
    static constexpr int MinPreviewHeight = 120;

    enum class TState { Opened, Loaded, Run };

    // The model is borrowed and must outlive the window.
    explicit TfrmBatchProcessing(TZevraModel& model, QWidget* parent = nullptr);
    ~TfrmBatchProcessing() override;

    // Creates the window without owner, shows it modally and destroys it.
    static void ShowBatchProcessing(TZevraModel& model);

    // How a saved result is shown: by default the desktop's viewer for the
    // file; false when no program could open it. Returns the previous opener
    // (tests install one that records).
    using TFileOpener = std::function<bool(const QString& fileName)>;
    static TFileOpener SetFileOpener(TFileOpener opener);

    bool InputValid() const { return FBatch.InputValid(); }
    TState State() const;
    bool PreviewExpanded() const { return FPreviewExpanded; }
    bool OutputExpanded() const { return FOutputExpanded; }
    TZevraBatch& Batch() { return FBatch; }
    TMemTableModel& InputModel() { return *FInputModel; }
    // The input row the grid's cursor is on; npos when no row is visible.
    std::size_t CurrentInputRow() const;

    // Whether closing now asks first: rows were loaded or results computed
    // and not saved since.
    bool HasUnsavedWork() const;

    // Closing by Esc, the title bar or "Ukončit" asks first while there is
    // unsaved work (and not at all while a save is running).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Event handlers (the buttons run them guarded: an exception other than
    // the load's problem list goes to the application's error box).
    void FormCreate();
    void FormActivate();
    void btChooseInputClick();
    void btLoadInputClick();
    void btRunModelClick();
    void btValidationDetailClick();
    void chbProblemsOnlyClick();
    void btChooseOutputClick();
    void btSaveOutputClick();
    void btCloseClick();
    void dbgInputDataDblClick();

    void LoadInputFile();
    void ValidateInputRows();
    void RunModelOnRows();
    // Saves the results; false when the user cancelled the save.
    bool WriteHtmlOutput();
    void OpenOutputFile();
    bool ConfirmClose();
    // The format a name's extension chooses; nullptr when none does.
    const TOutputFormat* FormatOfName(const QString& name) const;
    // The name a save dialog proposes: the field's, else the loaded file's
    // name with the extension of `format`.
    QString ProposedOutputName(const TOutputFormat& format) const;
    // The name the chosen filter and the typed name agree on (the filter's
    // extension added when the name has none); nothing when the user keeps
    // neither.
    std::optional<QString> AgreeOnFormat(const QString& chosen, const TOutputFormat& filter);

    // Controls; tests reach them by their object names.
    QGroupBox* gbInput = nullptr;
    QLineEdit* edInputFile = nullptr;
    QPushButton* btChooseInput = nullptr;
    QPushButton* btLoadInput = nullptr;
    QGroupBox* gbPreview = nullptr;
    QLabel* lblErrorCount = nullptr;
    QWidget* pnPreview_C = nullptr;
    QTableView* dbgInputData = nullptr;
    QWidget* pnPreviewStatus = nullptr;
    QFrame* shpWarning = nullptr;
    QFrame* shpError = nullptr;
    QPushButton* btValidationDetail = nullptr;
    QPushButton* btRunModel = nullptr;
    QCheckBox* chbProblemsOnly = nullptr;
    QGroupBox* gbOutput = nullptr;
    QWidget* pnOutput_C = nullptr;
    QLineEdit* edOutputFile = nullptr;
    QPushButton* btChooseOutput = nullptr;
    QCheckBox* chbOpenOutput = nullptr;
    QPushButton* btSaveOutput = nullptr;
    QWidget* pnButtons = nullptr;
    QPushButton* btClose = nullptr;
    QLabel* lblDataDir = nullptr;
    QScrollArea* sbContent = nullptr;
    QWidget* pnContent = nullptr;


    void BuildFrame();
    void BuildInputGroup();
    void BuildPreviewGroup();
    void BuildOutputGroup();
    void BuildButtonBand();
    void ConnectHandlers();
    void SetPreviewExpanded(bool expanded);
    void SetOutputExpanded(bool expanded);
    void LayoutGroups();
    // Places the controls of each group for the content's width.
    void PlaceControls(int width);
    // The window's height for its state: the designed one plus what the
    // user added, never past the screen's available area.
    void FitToScreen(int extraHeight);
    int DesignedHeight() const;
    void PlaceErrorCount();
    void ShowErrorMessage(const QString& text);
    bool IsDataSetEmpty() const;
    // Runs a change of the input table with the grid detached from it; the
    // grid follows again (keeping the current row where it can) whatever
    // happens.
    void WithGridDetached(const std::function<void()>& change);
    void SyncCurrentRow();
    void dbgInputDataCurrentChanged();

    TZevraBatch FBatch;
    // The formats the save offers: the HTML table, the workbook and JSON.
    TOutputFormats FFormats;
    // The file the rows in the table came from: the input field may name
    // another file by the time the results are saved.
    std::string FLoadedFile;
    std::unique_ptr<TMemTableModel> FInputModel;
    // The model's own input and whether it had a result when the window
    // opened: the batch leaves its last row in the model.
    std::unique_ptr<TZevraInputData> FWizardInput;
    const void* FWizardOutput = nullptr;
    bool FUnsaved = false;
    bool FSaving = false;
    int FPreviewDesignHeight = PreviewHeight;
    int FOutputDesignHeight = OutputHeight;
    bool FPreviewExpanded = true;
    bool FOutputExpanded = true;
};

// True when the table is absent or no row passes its display filter.
bool IsDataSetEmpty(const TMemTable* table);

}  // namespace zevra
