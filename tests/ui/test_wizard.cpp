// The wizard window driven by its controls, with scripted dialogs: start,
// navigation and buttons, the validation page, the result state, reset and
// restart, a failing evaluation and the batch button.
#include "wizard_fixture.h"

using namespace zevra;
using namespace zevra::test;

class TestWizard : public QObject, public test::TWizardFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

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
