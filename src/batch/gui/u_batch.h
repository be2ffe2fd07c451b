// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmBatchProcessing: the modal batch window. It leads through three steps,
// each in its own group: choose, load and check an input file (the rows with
// problems are listed in a grid), run the model over all rows, and save the
// results as an HTML table. The model is borrowed from the main window; the
// two tables belong to the window's batch.
#pragma once

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zevra {

class TMemTableModel;
class TZevraModel;

class TfrmBatchProcessing : public QDialog {
public:
    static constexpr int ClientWidth = 692;
    static constexpr int CollapsedHeight = 16;
    static constexpr int InputHeight = 79;
    static constexpr int PreviewHeight = 278;
    static constexpr int OutputHeight = 94;
    static constexpr int ButtonsHeight = 35;

    enum class TState { Opened, Loaded, Run };

    // The model is borrowed and must outlive the window.
    explicit TfrmBatchProcessing(TZevraModel& model, QWidget* parent = nullptr);
    ~TfrmBatchProcessing() override;

    // Creates the window without owner, shows it modally and destroys it.
    static void ShowBatchProcessing(TZevraModel& model);

    // How a saved result is shown: by default the desktop's viewer for the
    // file. Returns the previous opener (tests install one that records).
    using TFileOpener = std::function<void(const QString& fileName)>;
    static TFileOpener SetFileOpener(TFileOpener opener);

    bool InputValid() const { return FBatch.InputValid(); }
    TState State() const;
    bool PreviewExpanded() const { return FPreviewExpanded; }
    bool OutputExpanded() const { return FOutputExpanded; }
    TZevraBatch& Batch() { return FBatch; }
    TMemTableModel& InputModel() { return *FInputModel; }
    // The input row the grid's cursor is on; npos when no row is visible.
    std::size_t CurrentInputRow() const;

protected:
    void showEvent(QShowEvent* event) override;

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
    void WriteHtmlOutput();
    void OpenOutputFile();

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


    void BuildInputGroup();
    void BuildPreviewGroup();
    void BuildOutputGroup();
    void BuildButtonBand();
    void ConnectHandlers();
    void SetPreviewExpanded(bool expanded);
    void SetOutputExpanded(bool expanded);
    void LayoutGroups();
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
    // The formats the save offers: the HTML table and the workbook.
    TOutputFormats FFormats;
    // The file the rows in the table came from: the input field may name
    // another file by the time the results are saved.
    std::string FLoadedFile;
    std::unique_ptr<TMemTableModel> FInputModel;
    int FPreviewDesignHeight = PreviewHeight;
    int FOutputDesignHeight = OutputHeight;
    bool FPreviewExpanded = true;
    bool FOutputExpanded = true;
};

// True when the table is absent or no row passes its display filter.
bool IsDataSetEmpty(const TMemTable* table);

}  // namespace zevra
