// The wizard window driven by its controls, with scripted dialogs: navigation
// and buttons, validation page, lookup, name rules, input files, reset and
// reopen, the result page and its report actions.
#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_text.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"
#include "ui/u_main.h"
#include "ui/u_numedit.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

using namespace zevra;
using test::ReadAll;
using TType = TScriptedDialogs::TRequest::TType;
using M = TfrmMain;

namespace {

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestWizard : public QObject {
    Q_OBJECT
    std::unique_ptr<test::TTestDataDir> FData;
    std::unique_ptr<test::TScriptedDialogsScope> FDialogs;
    std::unique_ptr<TfrmMain> w;
    QTemporaryDir FOut;

    TScriptedDialogs& Dialogs() { return **FDialogs; }

    QList<int> VisibleTabs() const {
        QList<int> tabs;
        for (int i = 0; i < M::PageCount; ++i)
            if (w->IsTabVisible(static_cast<M::TPage>(i))) tabs << i;
        return tabs;
    }

    // Loads the shipped example through the load button.
    void LoadExample() {
        Dialogs().FileAnswers.push_back(test::ExampleFile(QStringLiteral("obec.txt")));
        w->btLoadInputData->click();
    }

    void GoToPage(M::TPage page) {
        while (w->ActivePage() < page && w->btNext->isEnabled()) w->btNext->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(page));
    }

    void EvaluateExample() {
        w->btNext->click();
        LoadExample();
        GoToPage(M::tsOutput);
        QVERIFY(w->Model().Output());
    }

    void LeaveNameField(const QString& typed) {
        w->edNazevObce->setText(typed);
        w->edKodObce->setFocus(Qt::TabFocusReason);
    }

private slots:
    void initTestCase() {
        SetThousandSeparator(" ");
        FData = std::make_unique<test::TTestDataDir>();
    }

    void init() {
        FDialogs = std::make_unique<test::TScriptedDialogsScope>();
        w = std::make_unique<TfrmMain>(FData->Path());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void cleanup() {
        w.reset();
        FDialogs.reset();
    }

    void startState() {
        QCOMPARE(w->windowTitle(), QStringLiteral("ZEVRA Model- verze: 1.0.0.0"));
        QCOMPARE(w->lblPageTitle->text(), QStringLiteral("Hodnotící model ZEVRA"));
        QCOMPARE(w->size(), QSize(642, 442));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(VisibleTabs(), QList<int>{M::tsWelcome});
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        QVERIFY(!w->btBack->isEnabled() && !w->btStartAgain->isEnabled() && !w->btChangeInput->isEnabled());
        QVERIFY(w->btNext->isEnabled() && w->btFinish->isEnabled());
        QCOMPARE(w->cbKraj->currentText(), QStringLiteral("--- vyberte ---"));
        QCOMPARE(w->cbKraj->count(), static_cast<int>(w->Model().Kraje().size()) + 1);
        QCOMPARE(w->cbKraj->itemText(1), ToQ(w->Model().Kraje().front().Nazev));
        QVERIFY(w->edObyvateleCelkem->text().isEmpty() && w->edKatastrCelkem->text().isEmpty());
        QVERIFY(!w->rbVodovodAno->isChecked() && !w->rbVodovodNe->isChecked());
        QVERIFY(w->findChild<QLineEdit*>(QStringLiteral("edNazevObce")));
        QVERIFY(w->findChild<TNumberEdit*>(QStringLiteral("edSilnice1TridyKm")));
    }

    void missingDataFileStopsStartUp() {
        QTemporaryDir empty;
        try {
            TfrmMain broken(empty.path().toStdString());
            QFAIL("the window must not exist without its data");
        } catch (const EZevraError& e) {
            const QString message = ToQ(e.what());
            QVERIFY(message.startsWith(QStringLiteral("Soubor potřebý pro běh programu nebyl nalezen!")));
            QVERIFY(WithFullStop(message).endsWith(QStringLiteral("DecilDists.txt].")));
        }
    }

    void navigationAndButtons() {
        w->btNext->click();
        QCOMPARE(VisibleTabs(), (QList<int>{M::tsWelcome, M::tsInputData1, M::tsInputData2, M::tsInputData3}));
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QVERIFY(w->btBack->isEnabled() && w->btNext->isEnabled() && w->btStartAgain->isEnabled());
        QVERIFY(!w->btChangeInput->isEnabled());
        w->btNext->click();
        w->btNext->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData3));
        QVERIFY(w->btNext->isEnabled());  // page 3 always leads on
        {
            const auto* note = w->findChild<QLabel*>(QStringLiteral("lblPodnikateleNote"));
            QVERIFY(note);
            QVERIFY(!note->wordWrap());  // one line: the page has room for it
        }
        w->btNext->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputValidation));
        QVERIFY(w->IsTabVisible(M::tsInputValidation) && !w->IsTabVisible(M::tsOutput));
        QVERIFY(!w->btNext->isEnabled());  // the empty input has errors
        w->btBack->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData3));
        QVERIFY(w->btNext->isEnabled());
        // A tab click enters the page as well.
        w->pcPages->setCurrentIndex(M::tsWelcome);
        QVERIFY(!w->btBack->isEnabled());
        QVERIFY(w->btNext->isEnabled());
        w->btBack->click();  // nothing before the welcome page
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        w->btNext->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QVERIFY(Dialogs().Requests.empty());
    }

    void validationPageColoursAndLines() {
        w->btNext->click();
        GoToPage(M::tsInputValidation);
        const QStringList lines = w->mmInputValidation->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Ve vstupních datech bylo nalezeno 6 chyb! Model nelze vyhodnotit."));
        QCOMPARE(lines.value(1), QStringLiteral("CHYBA: Název obce - Hodnota musí být vyplněna"));
        QCOMPARE(lines.size(), 1 + 6 + 1);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(w->mmInputValidation->palette().color(QPalette::Base), QColor(255, 224, 224));

        // Back, fix the input, return by the tab: validated again.
        w->pcPages->setCurrentIndex(M::tsInputData1);
        LoadExample();
        w->pcPages->setCurrentIndex(M::tsInputValidation);
        QCOMPARE(w->mmInputValidation->toPlainText(), QStringLiteral("Vstupní data prošla kontrolou bez chyb nebo varování."));
        QCOMPARE(w->mmInputValidation->palette().color(QPalette::Base), QColor(224, 255, 224));
        QVERIFY(w->btNext->isEnabled());

        // Region 1 and a population out of the model's range: two warnings, no error.
        w->SelectKraj(1);
        w->edObyvateleCelkem->SetValue(3001);
        w->btBack->click();
        w->btNext->click();
        const QStringList warned = w->mmInputValidation->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(warned.value(0), QStringLiteral("Ve vstupních datech bylo nalezeno 2 upozornění. Model lze vyhodnotit, "
                                                 "ale výsledky mohou být zkreslené."));
        QVERIFY(warned.value(1).startsWith(QStringLiteral("POZOR: Kraj - ")));
        QCOMPARE(w->mmInputValidation->palette().color(QPalette::Base), QColor(255, 255, 224));
        QVERIFY(w->btNext->isEnabled());  // warnings do not block

        // Errors and warnings together: errors first, each block ended by an empty line.
        w->edObyvateleEA->SetValue(5000);
        w->btBack->click();
        w->btNext->click();
        const QStringList both = w->mmInputValidation->toPlainText().split(QLatin1Char('\n'));
        QVERIFY(both.value(0).startsWith(QStringLiteral("Ve vstupních datech bylo nalezeno ")));
        QVERIFY(both.contains(QStringLiteral("Ve vstupních datech bylo nalezeno 2 upozornění. Model lze vyhodnotit, ale "
                                             "výsledky mohou být zkreslené.")));
        QVERIFY(!w->btNext->isEnabled());
    }

    void resultStateLocksInputs() {
        EvaluateExample();
        QCOMPARE(VisibleTabs().size(), static_cast<int>(M::PageCount));
        QVERIFY(!w->btNext->isEnabled());
        QVERIFY(w->btBack->isEnabled() && w->btChangeInput->isEnabled() && w->btStartAgain->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 w->edNazevObce, w->edKodObce, w->btKodLookup, w->edObyvateleCelkem, w->cbKraj, w->edSilnice1TridyKm,
                 w->rbVodovodAno, w->rbVodovodNe, w->edDominantniZamestnavatel, w->btLoadInputData})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QCOMPARE(w->edNazevObce->palette().color(QPalette::Base), ButtonFaceColor());
        QVERIFY(w->btBatchProcessing->isEnabled() && w->btSaveInputData->isEnabled());
        QVERIFY(w->redObyvatelstvoResult->toPlainText().contains(QStringLiteral("Obec: Hněvkovice u Opavy")));
        QVERIFY(w->redObyvatelstvoResult->isReadOnly());
        // A similar municipality's line keeps its similarity beside its label.
        int similarLines = 0;
        for (QTextBlock b = w->redObyvatelstvoResult->document()->begin(); b.isValid(); b = b.next()) {
            const bool similar = b.text().contains(QStringLiteral(", podobnost: "));
            QCOMPARE(b.blockFormat().nonBreakableLines(), similar);
            similarLines += similar ? 1 : 0;
        }
        QVERIFY(similarLines > 0);

        // With a result the validation page keeps its text and is not validated again.
        w->edObyvateleCelkem->SetValue(0);
        w->pcPages->setCurrentIndex(M::tsInputValidation);
        QVERIFY(w->mmInputValidation->toPlainText().startsWith(QStringLiteral("Vstupní data prošla")));
        QVERIFY(w->btNext->isEnabled());  // the result tab is visible
        QVERIFY(Dialogs().RequestsOf(TType::Message).empty());
    }

    void changeInputAndStartAgain() {
        EvaluateExample();
        w->btChangeInput->click();  // answered No
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        QVERIFY(w->Model().Output());
        const auto asked = Dialogs().RequestsOf(TType::YesNo);
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].Caption, QStringLiteral("Otázka"));
        QCOMPARE(asked[0].Text, QStringLiteral("Povolením úprav vstupů dojde k vynulování vypočtených dat.\n"
                                               "Opravdu chcete vstup upravit?"));
        QVERIFY(asked[0].DefaultNo);

        Dialogs().YesNoAnswers = {true};
        w->btChangeInput->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QCOMPARE(VisibleTabs(), (QList<int>{M::tsWelcome, M::tsInputData1, M::tsInputData2, M::tsInputData3}));
        QVERIFY(!w->Model().Output());
        QCOMPARE(w->edNazevObce->text(), QStringLiteral("Hněvkovice u Opavy"));  // values kept
        QCOMPARE(w->edObyvateleCelkem->Value(), 1593.0);
        QVERIFY(w->edNazevObce->isEnabled() && w->btKodLookup->isEnabled() && w->btLoadInputData->isEnabled());
        QVERIFY(w->redObyvatelstvoResult->toPlainText().isEmpty());
        QVERIFY(!w->btChangeInput->isEnabled());

        GoToPage(M::tsOutput);  // evaluates again from the kept values
        QVERIFY(w->Model().Output());
        Dialogs().YesNoAnswers = {false, true};
        w->btStartAgain->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        w->btStartAgain->click();
        QCOMPARE(Dialogs().RequestsOf(TType::YesNo).back().Text,
                 QStringLiteral("Novým zahájením dojde k vynulování všech zadaných i vypočtených dat.\n"
                                "Opravdu chcete začít znovu?"));
        QCOMPARE(VisibleTabs(), QList<int>{M::tsWelcome});
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        QVERIFY(!w->Model().Output());
        QVERIFY(w->edNazevObce->text().isEmpty() && w->edKodObce->text().isEmpty());
        QCOMPARE(w->cbKraj->currentIndex(), 0);
        QVERIFY(!w->rbVodovodAno->isChecked() && !w->rbVodovodNe->isChecked());
        QVERIFY(w->btKodLookup->isEnabled() && w->edNazevObce->isEnabled());
        QVERIFY(!w->btStartAgain->isEnabled() && !w->btBack->isEnabled());
    }

    void finishAsksFirst() {
        w->btFinish->click();
        QVERIFY(w->isVisible());
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Opravdu si přejete ukončit aplikaci?"));
        Dialogs().YesNoAnswers = {true};
        w->btFinish->click();
        QVERIFY(!w->isVisible());
    }

    void failingEvaluationLeavesResultEmpty() {
        w->btNext->click();
        LoadExample();
        GoToPage(M::tsInputValidation);
        w->Model().Input().ObyvateleCelkem = 0;  // the evaluation validates again and refuses this
        w->btNext->click();
        const auto errors = Dialogs().RequestsOf(TType::Message);
        QCOMPARE(errors.size(), std::size_t(1));
        QCOMPARE(errors[0].Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(errors[0].Text, QStringLiteral("CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!"));
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        QVERIFY(w->IsTabVisible(M::tsOutput));
        QVERIFY(!w->Model().Output());
        QVERIFY(w->edNazevObce->isEnabled());
        QVERIFY(w->redObyvatelstvoResult->toPlainText().isEmpty());
        QVERIFY(w->btNext->isEnabled());  // buttons not updated

        w->btBack->click();  // validates the controls again
        w->btNext->click();
        QVERIFY(w->Model().Output());
        QVERIFY(!w->edNazevObce->isEnabled());
    }

    void lookupOutcomes() {
        w->btNext->click();
        w->edNazevObce->setText(QStringLiteral("  jEDINOV "));
        w->btKodLookup->click();
        QCOMPARE(w->edKodObce->Value(), 999001.0);
        QVERIFY(Dialogs().Requests.empty());

        w->edNazevObce->setText(QStringLiteral("Neexistujici"));
        w->btKodLookup->click();
        QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("Varování"));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Obec s tímto názvem nebyla nalezena v seznamu obcí ČR"));
        QCOMPARE(w->edKodObce->Value(), 999001.0);  // unchanged

        w->edNazevObce->setText(QStringLiteral("Mnohov"));
        w->btKodLookup->click();
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Tomuto názvu vyhovuje přliš mnoho obcí, prosím upřesněte"));
        QCOMPARE(w->edKodObce->Value(), 999001.0);

        w->edNazevObce->setText(QStringLiteral("Dvojnice"));
        Dialogs().ChoiceAnswers = {3, -1};
        w->btKodLookup->click();
        const auto choice = Dialogs().RequestsOf(TType::Choice);
        QCOMPARE(choice.size(), std::size_t(1));
        QCOMPARE(choice[0].Caption, QStringLiteral("Výběr obce"));
        QCOMPARE(choice[0].Text,
                 QStringLiteral("Podle názvu připadá do úvahy více možností. Vyberte prosím, o kterou obec se jedná"));
        QCOMPARE(choice[0].Lines.size(), 14);
        QCOMPARE(choice[0].Lines[0], QStringLiteral("Dvojnice (okr. Okres 1)"));
        QCOMPARE(choice[0].InitialIndex, 0);
        QCOMPARE(w->edKodObce->Value(), 999104.0);
        w->btKodLookup->click();  // cancelled: the code stays
        QCOMPARE(w->edKodObce->Value(), 999104.0);
        QCOMPARE(w->edNazevObce->text(), QStringLiteral("Dvojnice"));
    }

    void nameFieldForgetsCodeWhenChanged() {
        w->btNext->click();
        w->edNazevObce->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("Jedinov"));
        w->edKodObce->SetValue(999001);
        w->edNazevObce->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("  Jedinov "));  // same trimmed name: the code stays
        QCOMPARE(w->edKodObce->Value(), 999001.0);
        w->edNazevObce->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("JEDINOV"));  // letter case counts
        QCOMPARE(w->edKodObce->Value(), 0.0);
        QVERIFY(w->btKodLookup->isEnabled());
        w->edNazevObce->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("   "));
        QVERIFY(!w->btKodLookup->isEnabled());
        Dialogs().YesNoAnswers = {true};
        w->btStartAgain->click();
        QVERIFY(w->btKodLookup->isEnabled());
    }

    void fieldsMoveIntoInput() {
        w->btNext->click();
        w->edSilnice1TridyKm->SetValue(1.5);
        w->edObyvateleCelkem->SetValue(12345678);
        w->rbVodovodNe->setChecked(true);
        w->ControlsToInput();
        QCOMPARE(w->Model().Input().Silnice1TrM, 1500);
        QCOMPARE(w->Model().Input().ObyvateleCelkem, 9999999);
        QCOMPARE(w->Model().Input().Kraj, -1);
        QVERIFY(w->Model().Input().Vodovod == TTriBool::tbFalse);

        w->Model().Input().Silnice1TrM = 2345;
        w->Model().Input().Kraj = 13;
        w->Model().Input().Vodovod = TTriBool::tbUnknown;
        w->InputToControls();
        QCOMPARE(w->edSilnice1TridyKm->EditText(), QStringLiteral("2.3"));
        QCOMPARE(w->edSilnice1TridyKm->text(), QStringLiteral("2.3"));  // its one decimal shows
        QVERIFY(!w->rbVodovodAno->isChecked() && !w->rbVodovodNe->isChecked());
        QCOMPARE(w->cbKraj->currentData().toInt(), 13);
        w->SelectKraj(-1);  // no match: "--- vyberte ---", not the stale region
        QCOMPARE(w->cbKraj->currentIndex(), 0);
        GoToPage(M::tsInputValidation);
        QCOMPARE(w->Model().Input().Silnice1TrM, 2300);
    }

    void inputFiles() {
        w->btNext->click();
        Dialogs().FileAnswers.push_back(std::nullopt);
        w->btLoadInputData->click();  // cancelled: nothing changes
        QVERIFY(w->edNazevObce->text().isEmpty());
        const auto open = Dialogs().RequestsOf(TType::OpenFile);
        QCOMPARE(open.size(), std::size_t(1));
        QCOMPARE(open[0].File.Title, QStringLiteral("Vyberte soubor se vstupními daty"));
        QCOMPARE(open[0].File.Filters.size(), std::size_t(2));
        QCOMPARE(open[0].File.Filters[0].Description, QStringLiteral("Textové soubory (*.txt)"));
        QCOMPARE(open[0].File.Filters[1].Patterns, QStringLiteral("*.*"));
        QCOMPARE(open[0].File.DefaultSuffix, QStringLiteral("txt"));
        QVERIFY(open[0].File.MustExist);

        const QString broken = FOut.filePath(QStringLiteral("broken.txt"));
        WriteAll(broken, "# Vstupni data modelu ZEVRA\r\nInputData=Chybna\r\nNadmVyska=412,5\r\n");
        Dialogs().FileAnswers.push_back(broken);
        w->edNazevObce->setText(QStringLiteral("Zachovat"));
        w->btLoadInputData->click();
        QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("'412,5' is not a valid floating point value."));
        QCOMPARE(w->edNazevObce->text(), QStringLiteral("Zachovat"));  // the controls keep their values

        LoadExample();
        QCOMPARE(w->edNazevObce->text(), QStringLiteral("Hněvkovice u Opavy"));
        QCOMPARE(w->edKodObce->Value(), 596835.0);
        QVERIFY(w->rbVodovodAno->isChecked());
        GoToPage(M::tsInputValidation);

        const QString saved = FOut.filePath(QStringLiteral("ulozena.txt"));
        QFile::remove(saved);
        Dialogs().Clear();
        Dialogs().FileAnswers.push_back(saved);
        w->btSaveInputData->click();
        const auto save = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(save.size(), std::size_t(1));
        QCOMPARE(save[0].File.ProposedName, QStringLiteral("Hněvkovice u Opavy.txt"));
        QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("Upozornění"));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Vstupní data byla uložena."));
        const QByteArray written = ReadAll(saved);
        QVERIFY(written.startsWith("# Vstupni data modelu ZEVRA"));
        QCOMPARE(written, ReadAll(test::ExampleFile(QStringLiteral("obec.txt"))));

        // An existing file answered No: nothing written, nothing shown.
        WriteAll(saved, "puvodni");
        Dialogs().Clear();
        Dialogs().FileAnswers.push_back(saved);
        w->btSaveInputData->click();
        QCOMPARE(Dialogs().Requests.size(), std::size_t(2));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Soubor již existuje. Chcete jej přepsat?"));
        QCOMPARE(ReadAll(saved), QByteArray("puvodni"));
    }

    void saveReportAsRtf() {
        EvaluateExample();
        const QString path = FOut.filePath(QStringLiteral("zprava.rtf"));
        QFile::remove(path);
        Dialogs().FileAnswers.push_back(path);
        w->btSaveOutput->click();
        const auto save = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(save.size(), std::size_t(1));
        QCOMPARE(save[0].File.ProposedName, QStringLiteral("Hněvkovice u Opavy.rtf"));
        QCOMPARE(save[0].File.Filters[0].Description, QStringLiteral("Rich Text files (*.rtf)"));
        QCOMPARE(save[0].File.DefaultSuffix, QStringLiteral("rtf"));
        const QByteArray rtf = ReadAll(path);
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\b"));
        QVERIFY(Dialogs().RequestsOf(TType::Message).empty());  // no message after saving
        QVERIFY(Dialogs().RequestsOf(TType::YesNo).empty());

        WriteAll(path, "puvodni");
        Dialogs().FileAnswers = {path, path};
        Dialogs().YesNoAnswers = {false, true};
        w->btSaveOutput->click();
        QCOMPARE(ReadAll(path), QByteArray("puvodni"));
        w->btSaveOutput->click();
        QCOMPARE(ReadAll(path), rtf);
        QCOMPARE(QDir(FOut.path()).entryList({QStringLiteral("zprava*")}, QDir::Files).size(), 1);

        // An empty name field proposes ".rtf".
        Dialogs().YesNoAnswers = {true};
        w->btChangeInput->click();
        w->edNazevObce->clear();
        w->btSaveInputData->setFocus();
        for (int step = 0; step < 3; ++step) w->btNext->click();  // to the validation page
        QCOMPARE(w->ActivePage(), int(M::tsInputValidation));
        w->Model().Input().Obec = "Beze jména";  // the report still needs a name to evaluate
        w->Model().Evaluate();
        w->ComposeReport();
        Dialogs().FileAnswers.push_back(std::nullopt);
        w->btSaveOutput->click();
        QCOMPARE(Dialogs().RequestsOf(TType::SaveFile).back().File.ProposedName, QStringLiteral(".rtf"));
    }

    void copyReportToClipboard() {
        EvaluateExample();
        w->btCopyOutputToClipboard->click();
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QVERIFY(mime->data(QStringLiteral("text/rtf")).startsWith("{\\rtf1"));
        QCOMPARE(mime->data(QStringLiteral("application/rtf")), mime->data(QStringLiteral("text/rtf")));
        QVERIFY(mime->hasHtml());
        QVERIFY(mime->html().contains(QStringLiteral("Hněvkovice u Opavy")));
        // The decile lines under a similar municipality keep their indent
        // where leading spaces would be dropped.
        QVERIFY(mime->html().contains(QStringLiteral(">&nbsp;&nbsp;")));
        QVERIFY(!mime->html().contains(QStringLiteral(">  ")));
        QVERIFY(!mime->html().contains(QStringLiteral("<pre")));  // no typewriter lines
        // The view itself still holds plain spaces.
        QVERIFY(!w->redObyvatelstvoResult->toPlainText().contains(QChar::Nbsp));
        QVERIFY(mime->text().contains(QStringLiteral("Obec: Hněvkovice u Opavy")));
        QVERIFY(!mime->text().contains(QStringLiteral("[b]")));
    }

    void batchButtonRestartsWizard() {
        EvaluateExample();
        TZevraModel* lent = nullptr;
        w->SetBatchProcessing([&](QWidget&, TZevraModel& model) { lent = &model; });
        w->pcPages->setCurrentIndex(M::tsInputData1);
        QVERIFY(w->btBatchProcessing->isEnabled());
        w->btBatchProcessing->click();
        QCOMPARE(lent, &w->Model());
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        QCOMPARE(VisibleTabs(), QList<int>{M::tsWelcome});
        QVERIFY(w->edNazevObce->text().isEmpty() && !w->Model().Output());
        QVERIFY(Dialogs().RequestsOf(TType::YesNo).empty());  // no question
    }
};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    TestWizard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard.moc"
