// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_main.h"
#include "ui/u_frm_Profil.h"

#include "model/u_inputfields.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "report/u_Tags.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"
#include "gui/u_dialogs.h"
#include "gui/u_gui_functions.h"
#include "gui/u_logo.h"
#include "gui/u_tab_access.h"
#include "ui/u_numedit.h"
#include "ui/u_report_view.h"
#include "gui/u_palette.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zevra {

namespace {

constexpr int TopBandHeight = 41;
constexpr int BottomBandHeight = 34;

const char* const PageCaptions[TfrmMain::PageCount] = {"Úvod", "Vstupní data 1", "Vstupní data 2",
                                                       "Vstupní data 3", "Kontrola vstupu", "Výsledek"};

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TfrmMain::TfrmMain(const std::string& dataDir, QWidget* parent)
    : QWidget(parent), FModel(std::make_unique<TZevraModel>(dataDir)) {
    setObjectName(QStringLiteral("frmMain"));
    // An ordinary resizable window: the design size is its default, and a
    // smaller screen may shrink it (the field pages scroll then).
    setWindowFlags(Qt::Window);
    resize(ClientWidth, ClientHeight);
    setFont(SansFont(8));
    setWindowIcon(ZevraIcon());
    BuildFrame();
    InitControls();
    setWindowTitle(windowTitle() + QStringLiteral("- verze: ") + VersionText());
    ClearInputs();
    UnlockInputs();
    UpdateButtons();
    ConnectHandlers();
    // Alt+letter for every button and field: the bottom band's letters are
    // fixed and free on every page; a page's own do not clash among
    // themselves (pages are never shown together).
    QString bandLetters;
    AssignMnemonics(btFinish->parentWidget(), bandLetters);
    for (int page = 0; page < PageCount; ++page) {
        QString letters = bandLetters;
        AssignMnemonics(pcPages->widget(page), letters);
    }
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    // Enter on an input page goes on, as "Další >>" does; on a focused
    // button it presses that button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const int active = ActivePage();
    if (enter && active >= tsInputData1 && active <= tsInputData3) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else if (btNext->isEnabled())
            btNext->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildFrame() {
    auto* topBand = new QWidget(this);
    topBand->setObjectName(QStringLiteral("pnTop"));
    topBand->setFixedHeight(TopBandHeight);
    FillMeaningBackground(topBand, ColorMaroon);
    lblPageTitle = new QLabel(topBand);
    lblPageTitle->setObjectName(QStringLiteral("lblPageTitle"));
    lblPageTitle->setFont(SansFont(12));
    lblPageTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    imgMOXAN = new QLabel(topBand);
    imgMOXAN->setObjectName(QStringLiteral("imgMOXAN"));
    imgMOXAN->setFixedSize(93, 31);
    imgMOXAN->setAccessibleName(QStringLiteral("MOXAN"));
    const qreal ratio = screen() ? screen()->devicePixelRatio() : qApp->devicePixelRatio();
    imgMOXAN->setPixmap(MoxanLogo(93, 31, ratio));
    auto* topLayout = new QHBoxLayout(topBand);
    topLayout->setContentsMargins(10, 0, 6, 0);
    topLayout->addWidget(lblPageTitle, 1);
    topLayout->addWidget(imgMOXAN, 0, Qt::AlignVCenter);

    pcPages = new QTabWidget(this);
    pcPages->setObjectName(QStringLiteral("pcPages"));
    pcPages->setFont(SansFont(10));
    // A page not reached yet has no tab, for a screen reader neither.
    ExposeVisibleTabsOnly(pcPages->tabBar());
    const std::pair<TPage, QWidget*> pages[] = {
        {tsWelcome, BuildWelcomePage()},         {tsInputData1, BuildInputPage1()},
        {tsInputData2, BuildInputPage2()},       {tsInputData3, BuildInputPage3()},
        {tsInputValidation, BuildValidationPage()}, {tsOutput, BuildOutputPage()}};
    const char* const pageNames[PageCount] = {"tsWelcome",     "tsInputData1",      "tsInputData2",
                                              "tsInputData3", "tsInputValidation", "tsOutput"};
    for (const auto& [page, widget] : pages) {
        widget->setObjectName(QString::fromLatin1(pageNames[page]));
        // The pages of fields scroll when the window is smaller than they
        // are (a low screen, scaling 2); the validation and result pages
        // scroll their own text.
        QWidget* shown = widget;
        if (page != tsInputValidation && page != tsOutput) {
            auto* scroll = new QScrollArea;
            scroll->setObjectName(QString::fromLatin1(pageNames[page]) + QStringLiteral("Posuv"));
            scroll->setFrameShape(QFrame::NoFrame);
            scroll->setWidgetResizable(true);
            scroll->setWidget(widget);
            shown = scroll;
        }
        const bool inputPage = page >= tsInputData1 && page <= tsInputData3;
        pcPages->addTab(shown, QString::fromUtf8(inputPage ? FormPageTitle(page - tsInputData1 + 1) : PageCaptions[page]));
    }

    auto* bottomBand = new QWidget(this);
    bottomBand->setObjectName(QStringLiteral("pnBottom"));
    bottomBand->setFixedHeight(BottomBandHeight);
    bottomBand->setBackgroundRole(QPalette::Button);
    bottomBand->setAutoFillBackground(true);
    bottomBand->setFont(SansFont(10));
    btStartAgain = MakeButton(QStringLiteral("Začít z&novu"), "btStartAgain", bottomBand);
    btChangeInput = MakeButton(QStringLiteral("&Upravit vstupy"), "btChangeInput", bottomBand);
    btBack = MakeButton(QStringLiteral("<< &Zpět"), "btBack", bottomBand);
    btNext = MakeButton(QStringLiteral("&Další >>"), "btNext", bottomBand);
    btFinish = MakeButton(QStringLiteral("&Konec"), "btFinish", bottomBand);
    auto* bandLayout = new QHBoxLayout(bottomBand);
    bandLayout->setContentsMargins(6, 4, 6, 4);
    bandLayout->setSpacing(6);
    for (QPushButton* button : {btStartAgain, btChangeInput, btBack, btNext, btFinish}) {
        button->setFixedHeight(BottomBandHeight - 8);
        button->setMinimumWidth(100);
    }
    bandLayout->addWidget(btStartAgain);
    bandLayout->addWidget(btChangeInput);
    bandLayout->addStretch();
    bandLayout->addWidget(btBack);
    bandLayout->addWidget(btNext);
    bandLayout->addSpacing(12);
    bandLayout->addWidget(btFinish);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBand);
    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(6, 7, 6, 7);
    middle->addWidget(pcPages);
    layout->addLayout(middle, 1);
    layout->addWidget(bottomBand);
}

QWidget* TfrmMain::BuildWelcomePage() {
    auto* page = new QWidget;
    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("pnWelcome"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FillMeaningBackground(panel, ColorLightYellowPanel);
    auto* welcome = new QLabel(QStringLiteral("Vítejte v hodnotícím modelu ZEVRA."), panel);
    welcome->setObjectName(QStringLiteral("lblWelcome"));
    QFont welcomeFont = SansFont(14);
    welcomeFont.setBold(true);
    welcome->setFont(welcomeFont);
    auto* credit = new QLabel(panel);
    credit->setObjectName(QStringLiteral("lblCredit"));
    credit->setWordWrap(true);
    credit->setText(QStringLiteral(
        "Hodnotící model ZEVRA posuzuje malou obec (je určen pro obce od 500 do 3000 obyvatel) podle údajů "
        "o jejím obyvatelstvu, poloze a hospodářství. Ze zadaných údajů vypočte sedm dílčích indikátorů, "
        "zařadí je do decilů, sestaví z nich integrovaný indikátor Obyvatelstvo, slovně jej zhodnotí "
        "a vyhledá obce s podobnými vlastnostmi.\n\n"
        "Model ZEVRA vytvořila společnost MOXAN."));
    auto* authors = new QLabel(QStringLiteral("Autoři: MOXAN"), panel);
    authors->setObjectName(QStringLiteral("lblAuthors"));
    auto* hint = new QLabel(QStringLiteral("Zadávání údajů o obci zahájíte tlačítkem „Další >>“."), panel);
    hint->setObjectName(QStringLiteral("lblHint"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(18, 16, 18, 16);
    panelLayout->setSpacing(14);
    panelLayout->addWidget(welcome);
    panelLayout->addWidget(credit);
    panelLayout->addWidget(authors);
    panelLayout->addStretch();
    panelLayout->addWidget(hint);
    // Which reference data the results come from, so that demonstration data
    // are never taken for an office's own.
    const QString dataText = ToQ(DataFolderText(FModel->Data().DataDir()));
    auto* dataDir = new QLabel(dataText, panel);
    dataDir->setObjectName(QStringLiteral("lblDataDir"));
    dataDir->setFont(SansFont(7));
    dataDir->setWordWrap(true);
    dataDir->setTextInteractionFlags(Qt::TextSelectableByMouse);
    panelLayout->addWidget(dataDir);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(panel);
    return page;
}

QWidget* TfrmMain::BuildOutputPage() {
    auto* page = new QWidget;
    auto* group = new QGroupBox(QStringLiteral("Obyvatelstvo"), page);
    group->setObjectName(QStringLiteral("gbObyvatelstvo"));
    redObyvatelstvoResult = new QTextEdit(group);
    redObyvatelstvoResult->setObjectName(QStringLiteral("redObyvatelstvoResult"));
    redObyvatelstvoResult->setReadOnly(true);
    redObyvatelstvoResult->setAcceptRichText(true);
    redObyvatelstvoResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont reportFont(QStringLiteral("Times New Roman"), 12);
    reportFont.setStyleHint(QFont::Serif);
    redObyvatelstvoResult->setFont(reportFont);
    redObyvatelstvoResult->setAccessibleName(QStringLiteral("Obyvatelstvo"));
    redObyvatelstvoResult->document()->setDefaultFont(reportFont);
    QPalette reportPalette = redObyvatelstvoResult->palette();
    reportPalette.setColor(QPalette::Base, Qt::white);
    reportPalette.setColor(QPalette::Text, Qt::black);
    redObyvatelstvoResult->setPalette(reportPalette);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setContentsMargins(6, 4, 6, 6);
    groupLayout->addWidget(redObyvatelstvoResult);
    SetGroupCaptionColor(group, ColorMaroon);

    btCopyOutputToClipboard = MakeButton(QStringLiteral("Zkopírovat výstup do schránky"), "btCopyOutputToClipboard", page);
    btSaveOutput = MakeButton(QStringLiteral("Uložit výstup do souboru"), "btSaveOutput", page);
    auto* buttons = new QHBoxLayout;
    // The profile window is an addition beside the report's own buttons.
    btProfil = MakeButton(QStringLiteral("Profil obce..."), "btProfil", page);
    buttons->addWidget(btProfil);
    buttons->addStretch();
    buttons->addWidget(btCopyOutputToClipboard);
    buttons->addWidget(btSaveOutput);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
    return page;
}

void TfrmMain::InitControls() {
    setWindowTitle(QStringLiteral("ZEVRA Model"));
    lblPageTitle->setText(QStringLiteral("Hodnotící model ZEVRA"));
    HideResultTabs();
    SetupInputPage1();
    SetupInputPage2();
    SetupInputPage3();
}

void TfrmMain::ConnectHandlers() {
    const auto guarded = [this](void (TfrmMain::*handler)()) {
        return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(btNext, &QPushButton::clicked, this, guarded(&TfrmMain::btNextClick));
    connect(btBack, &QPushButton::clicked, this, guarded(&TfrmMain::btBackClick));
    connect(btFinish, &QPushButton::clicked, this, guarded(&TfrmMain::btFinishClick));
    connect(btStartAgain, &QPushButton::clicked, this, guarded(&TfrmMain::btStartAgainClick));
    connect(btChangeInput, &QPushButton::clicked, this, guarded(&TfrmMain::btChangeInputClick));
    connect(btBatchProcessing, &QPushButton::clicked, this, guarded(&TfrmMain::btBatchProcessingClick));
    connect(btSaveOutput, &QPushButton::clicked, this, guarded(&TfrmMain::btSaveOutputClick));
    connect(btCopyOutputToClipboard, &QPushButton::clicked, this, guarded(&TfrmMain::btCopyOutputToClipboardClick));
    connect(btProfil, &QPushButton::clicked, this, [this] { RunGuarded([this] { TfrmProfil::ShowProfile(*FModel, this); }); });
    connect(btKodLookup, &QPushButton::clicked, this, guarded(&TfrmMain::btKodLookupClick));
    connect(btLoadInputData, &QPushButton::clicked, this, guarded(&TfrmMain::btLoadInputDataClick));
    connect(btSaveInputData, &QPushButton::clicked, this, guarded(&TfrmMain::btSaveInputDataClick));
    connect(pcPages, &QTabWidget::currentChanged, this, guarded(&TfrmMain::pcPagesChange));
    edNazevObce->installEventFilter(this);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edNazevObce && event->type() == QEvent::FocusIn && !FInNazevObce) {
        FInNazevObce = true;
        RunGuarded([this] { edNazevObceEnter(); });
    } else if (watched == edNazevObce && event->type() == QEvent::FocusOut && FInNazevObce) {
        // Switching to another window or opening a context menu does not
        // leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            FInNazevObce = false;
            RunGuarded([this] { edNazevObceExit(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

int TfrmMain::ActivePage() const { return pcPages->currentIndex(); }

bool TfrmMain::IsTabVisible(TPage page) const { return pcPages->isTabVisible(page); }

void TfrmMain::SetActivePage(TPage page) {
    FChangingPage = true;
    pcPages->setCurrentIndex(page);
    FChangingPage = false;
    FShownPage = page;
}

void TfrmMain::SetTabVisible(TPage page, bool visible) {
    FChangingPage = true;
    pcPages->setTabVisible(page, visible);
    // The tab bar's wheel, Ctrl+Tab and arrow keys step over disabled tabs
    // only; a hidden tab must not be reachable by any of them.
    pcPages->tabBar()->setTabEnabled(page, visible);
    FChangingPage = false;
    FShownPage = pcPages->currentIndex();
}

void TfrmMain::HideResultTabs() {
    for (TPage page : {tsInputData1, tsInputData2, tsInputData3, tsInputValidation, tsOutput})
        SetTabVisible(page, false);
    SetActivePage(tsWelcome);
}

void TfrmMain::pcPagesChange() {
    if (FChangingPage) return;
    // Whatever way the user got there, a hidden page is not shown.
    if (!IsTabVisible(static_cast<TPage>(ActivePage()))) {
        SetActivePage(static_cast<TPage>(FShownPage));
        return;
    }
    FShownPage = ActivePage();
    PageEntry();
}

void TfrmMain::btNextClick() {
    const int active = ActivePage();
    const auto next = static_cast<TPage>((active + 1) % PageCount);
    if (!IsTabVisible(next)) {
        if (next == tsInputData1) {
            for (TPage page : {tsInputData1, tsInputData2, tsInputData3}) SetTabVisible(page, true);
        } else if (next == tsInputValidation || next == tsOutput) {
            SetTabVisible(next, true);
        }
    }
    if (next > active) {
        SetActivePage(next);
        PageEntry();
    }
}

void TfrmMain::btBackClick() {
    const int active = ActivePage();
    for (int step = 1; step < PageCount; ++step) {
        const auto previous = static_cast<TPage>((active - step + PageCount) % PageCount);
        if (!IsTabVisible(previous)) continue;
        if (previous < active) {
            SetActivePage(previous);
            PageEntry();
        }
        return;
    }
}

void TfrmMain::PageEntry() {
    const int active = ActivePage();
    if (active == tsInputValidation && !FModel->Output()) ShowValidation();
    if (active == tsOutput && !FModel->Output()) {
        FModel->Evaluate();
        LockInputs();
        ComposeReport();
    }
    // Entering an input page puts the user in its first field.
    QWidget* firstField = active == tsInputData1   ? static_cast<QWidget*>(edNazevObce)
                          : active == tsInputData2 ? static_cast<QWidget*>(edNadmorskaVyska)
                          : active == tsInputData3 ? static_cast<QWidget*>(edPodnikateleCelkem)
                                                   : nullptr;
    if (firstField && firstField->isEnabled()) firstField->setFocus(Qt::TabFocusReason);
    UpdateButtons();
}

void TfrmMain::UpdateButtons() {
    const int active = ActivePage();
    bool visibleBefore = false;
    bool visibleAfter = false;
    for (int page = 0; page < PageCount; ++page) {
        if (!IsTabVisible(static_cast<TPage>(page))) continue;
        if (page < active) visibleBefore = true;
        if (page > active) visibleAfter = true;
    }
    btBack->setEnabled(visibleBefore);
    btNext->setEnabled(visibleAfter || active == tsWelcome || active == tsInputData3 ||
                       (active == tsInputValidation && FErrors.empty()));
    btStartAgain->setEnabled(IsTabVisible(tsInputData1));
    btChangeInput->setEnabled(IsTabVisible(tsOutput));
}

// "Konec" and the title bar's close button end the program the same way,
// after the same question (closeEvent asks it).
void TfrmMain::btFinishClick() { close(); }

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool quit = false;
    RunGuarded([&quit] { quit = AskYesNo(QStringLiteral("Opravdu si přejete ukončit aplikaci?")); });
    if (quit)
        event->accept();
    else
        event->ignore();
}

void TfrmMain::btStartAgainClick() {
    if (AskYesNo(QStringLiteral("Novým zahájením dojde k vynulování všech zadaných i vypočtených dat.\r\n"
                                "Opravdu chcete začít znovu?")))
        ResetWizard();
}

void TfrmMain::btChangeInputClick() {
    if (AskYesNo(QStringLiteral("Povolením úprav vstupů dojde k vynulování vypočtených dat.\r\n"
                                "Opravdu chcete vstup upravit?")))
        ReopenInput();
}

void TfrmMain::btBatchProcessingClick() {
    // The batch window gives the model back with the wizard's own input and
    // result, so the wizard goes on where it was.
    if (FBatchProcessing) FBatchProcessing(*this, *FModel);
}

void TfrmMain::ResetWizard() {
    ClearInputs();
    UnlockInputs();
    ClearReport();
    FModel->NewInput();
    HideResultTabs();
    UpdateButtons();
}

void TfrmMain::ReopenInput() {
    UnlockInputs();
    ClearReport();
    FModel->NewInput();
    SetTabVisible(tsInputValidation, false);
    SetTabVisible(tsOutput, false);
    SetActivePage(tsInputData1);
    PageEntry();
    UpdateButtons();
}





}  // namespace zevra
