// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the wizard window. It owns the model for the life of the process
// and leads the user from the welcome page through three input pages and the
// validation page to the report on the result page.
#pragma once

#include "model/u_model.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

namespace zevra {

class TNumberEdit;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // Page indices of pcPages, in page order.
    enum TPage { tsWelcome = 0, tsInputData1, tsInputData2, tsInputData3, tsInputValidation, tsOutput, PageCount };

    static constexpr int ClientWidth = 642;
    static constexpr int ClientHeight = 442;

    // Creates the model from the reference data in `dataDir`; throws the
    // model's EZevraError when a data file is missing or broken.
    explicit TfrmMain(const std::string& dataDir, QWidget* parent = nullptr);
    ~TfrmMain() override;

    TZevraModel& Model() { return *FModel; }
    const std::vector<std::string>& Errors() const { return FErrors; }
    const std::vector<std::string>& Warnings() const { return FWarnings; }
    // The entries of the report shown on the result page.
    const std::vector<std::string>& ReportEntries() const { return FReportEntries; }

    // What "Hromadné zpracování..." opens (modally) before the wizard starts
    // again; nothing but the restart until it is set.
    using TBatchProcessing = std::function<void(QWidget& owner, TZevraModel& model)>;
    void SetBatchProcessing(TBatchProcessing batchProcessing) { FBatchProcessing = std::move(batchProcessing); }

    int ActivePage() const;
    bool IsTabVisible(TPage page) const;

    // The form's data moved between the fields and the model's input, the
    // region selected by its number, and the report composed from the
    // model's output: the steps the wizard runs itself, open for the window
    // tests and the screenshots.
    void ControlsToInput();
    void InputToControls();
    void SelectKraj(int region);
    void ComposeReport();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Navigation and the actions of the buttons.
    void btNextClick();
    void btBackClick();
    void btFinishClick();
    void btStartAgainClick();
    void btChangeInputClick();
    void btBatchProcessingClick();
    void btSaveOutputClick();
    void btCopyOutputToClipboardClick();
    void btKodLookupClick();
    void btLoadInputDataClick();
    void btSaveInputDataClick();
    void edNazevObceEnter();
    void edNazevObceExit();

    void PageEntry();
    void UpdateButtons();
    void ResetWizard();
    void ReopenInput();

    void ClearInputs();
    void LockInputs();
    void UnlockInputs();
    void ShowValidation();
    void ClearReport();

    // Controls; tests reach them by their object names.
    // Frame.
    QLabel* lblPageTitle = nullptr;
    QLabel* imgMOXAN = nullptr;
    QTabWidget* pcPages = nullptr;
    QPushButton* btStartAgain = nullptr;
    QPushButton* btChangeInput = nullptr;
    QPushButton* btBack = nullptr;
    QPushButton* btNext = nullptr;
    QPushButton* btFinish = nullptr;
    // Input page 1.
    QLineEdit* edNazevObce = nullptr;
    QComboBox* cbKraj = nullptr;
    TNumberEdit* edKodObce = nullptr;
    QPushButton* btKodLookup = nullptr;
    TNumberEdit* edObyvateleCelkem = nullptr;
    TNumberEdit* edObyvateleEA = nullptr;
    TNumberEdit* edObyvateleNezamestnani = nullptr;
    TNumberEdit* edObyvateleVyjizdejici = nullptr;
    QPushButton* btLoadInputData = nullptr;
    QPushButton* btBatchProcessing = nullptr;
    // Input page 2.
    TNumberEdit* edNadmorskaVyska = nullptr;
    TNumberEdit* edKatastrCelkem = nullptr;
    TNumberEdit* edKrajskeMestoMin = nullptr;
    TNumberEdit* edOkresniMestoKm = nullptr;
    TNumberEdit* edSilnice1TridyKm = nullptr;
    QRadioButton* rbVodovodAno = nullptr;
    QRadioButton* rbVodovodNe = nullptr;
    // Input page 3.
    TNumberEdit* edPodnikateleCelkem = nullptr;
    TNumberEdit* edPodnikateleRolnici = nullptr;
    TNumberEdit* edDominantniZamestnavatel = nullptr;
    // Validation and result pages.
    QPlainTextEdit* mmInputValidation = nullptr;
    QPushButton* btSaveInputData = nullptr;
    QTextEdit* redObyvatelstvoResult = nullptr;
    QPushButton* btCopyOutputToClipboard = nullptr;
    QPushButton* btSaveOutput = nullptr;
    QPushButton* btProfil = nullptr;  // opens the profile window (u_frm_Profil)


    void InitControls();
    void BuildFrame();
    QWidget* BuildWelcomePage();
    QWidget* BuildInputPage1();
    QWidget* BuildInputPage2();
    QWidget* BuildInputPage3();
    QWidget* BuildValidationPage();
    QWidget* BuildOutputPage();
    void SetupInputPage1();
    void SetupInputPage2();
    void SetupInputPage3();
    void ConnectHandlers();

    void pcPagesChange();
    void SetActivePage(TPage page);
    void SetTabVisible(TPage page, bool visible);
    void HideResultTabs();
    std::vector<QWidget*> LockableControls() const;
    std::vector<TNumberEdit*> NumberFields() const;
    void SetValidationColor(const QColor& color);
    // "CHYBA: " lines of the number fields whose text is not their value.
    std::vector<std::string> FieldErrors() const;

    std::unique_ptr<TZevraModel> FModel;
    std::vector<std::string> FErrors;
    std::vector<std::string> FWarnings;
    std::string FNazevObceOnEnter;
    std::vector<std::string> FReportEntries;
    TBatchProcessing FBatchProcessing;
    bool FChangingPage = false;  // set while the wizard itself switches pages
    int FShownPage = tsWelcome;  // the page shown last, to go back to
    bool FInNazevObce = false;   // the name field was entered and not yet left
};

}  // namespace zevra
