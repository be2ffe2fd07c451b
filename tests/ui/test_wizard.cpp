// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard window driven by its controls, with scripted dialogs: start,
// navigation and buttons, the validation page, the result state, reset and
// restart, a failing evaluation and the batch button.
#include "wizard_fixture.h"

#include <QDir>

#include <functional>

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
        QCOMPARE(lblPageTitle()->text(), QStringLiteral("Hodnotící model ZEVRA"));
        QCOMPARE(w->size(), QSize(642, 442));  // the default size; it may be resized
        QCOMPARE(VisibleTabs(), QList<int>{M::tsWelcome});
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        QVERIFY(!btBack()->isEnabled() && !btStartAgain()->isEnabled() && !btChangeInput()->isEnabled());
        QVERIFY(btNext()->isEnabled() && btFinish()->isEnabled());
        QCOMPARE(cbKraj()->currentText(), QStringLiteral("--- vyberte ---"));
        QCOMPARE(cbKraj()->count(), static_cast<int>(w->Model().Kraje().size()) + 1);
        QCOMPARE(cbKraj()->itemText(1), ToQ(w->Model().Kraje().front().Nazev));
        QVERIFY(edObyvateleCelkem()->text().isEmpty() && edKatastrCelkem()->text().isEmpty());
        QVERIFY(!rbVodovodAno()->isChecked() && !rbVodovodNe()->isChecked());
        QVERIFY(w->findChild<QLineEdit*>(QStringLiteral("edNazevObce")));
        QVERIFY(w->findChild<TNumberEdit*>(QStringLiteral("edSilnice1TridyKm")));
    }

    // The welcome page names the data folder and says when its data are the
    // shipped demonstration data; an office's own data get no such notice.
    void welcomePageNamesTheDataFolder() {
        const auto* label = Control<QLabel>(pcPages()->widget(M::tsWelcome), "lblDataDir");
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Referenční data: %1 (demonstrační data, nejde o oficiální údaje)")
                                    .arg(QString::fromStdString(FData->Path())));
        TTestDataDir own;
        for (const QString& name : QDir(ToQ(own.Path())).entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QByteArray bytes = ReadAll(own.File(name));
            WriteAll(own.File(name), "# Referencni data uradu" + bytes.mid(bytes.indexOf('\r')));
        }
        TfrmMain office(own.Path());
        QCOMPARE(Control<QLabel>(&office, "lblDataDir")->text(), QStringLiteral("Referenční data: ") + ToQ(own.Path()));
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
        btNext()->click();
        QCOMPARE(VisibleTabs(), (QList<int>{M::tsWelcome, M::tsInputData1, M::tsInputData2, M::tsInputData3}));
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QVERIFY(btBack()->isEnabled() && btNext()->isEnabled() && btStartAgain()->isEnabled());
        QVERIFY(!btChangeInput()->isEnabled());
        btNext()->click();
        btNext()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData3));
        QVERIFY(btNext()->isEnabled());  // page 3 always leads on
        {
            const auto* note = Control<QLabel>(w.get(), "lblPodnikateleNote");
            QVERIFY(note);
            QVERIFY(!note->wordWrap());  // one line: the page has room for it
            // ... and neither it nor a field label is clipped.
            for (const QLabel* label : pcPages()->widget(M::tsInputData3)->findChildren<QLabel*>())
                if (!label->wordWrap())
                    QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(QString(label->text()).remove(QLatin1Char('&'))),
                             qPrintable(label->text()));
        }
        btNext()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputValidation));
        QVERIFY(w->IsTabVisible(M::tsInputValidation) && !w->IsTabVisible(M::tsOutput));
        QVERIFY(!btNext()->isEnabled());  // the empty input has errors
        btBack()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData3));
        QVERIFY(btNext()->isEnabled());
        // A tab click enters the page as well.
        pcPages()->setCurrentIndex(M::tsWelcome);
        QVERIFY(!btBack()->isEnabled());
        QVERIFY(btNext()->isEnabled());
        btBack()->click();  // nothing before the welcome page
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        btNext()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QVERIFY(Dialogs().Requests.empty());
    }

    void validationPageColoursAndLines() {
        btNext()->click();
        GoToPage(M::tsInputValidation);
        const QStringList lines = mmInputValidation()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Ve vstupních datech bylo nalezeno 6 chyb! Model nelze vyhodnotit."));
        QCOMPARE(lines.value(1), QStringLiteral("CHYBA: Název obce - Hodnota musí být vyplněna"));
        QCOMPARE(lines.size(), 1 + 6 + 1);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(mmInputValidation()->palette().color(QPalette::Base), QColor(255, 224, 224));

        // Back, fix the input, return by the tab: validated again.
        pcPages()->setCurrentIndex(M::tsInputData1);
        LoadExample();
        pcPages()->setCurrentIndex(M::tsInputValidation);
        QCOMPARE(mmInputValidation()->toPlainText(), QStringLiteral("Vstupní data prošla kontrolou bez chyb nebo varování."));
        QCOMPARE(mmInputValidation()->palette().color(QPalette::Base), QColor(224, 255, 224));
        QVERIFY(btNext()->isEnabled());

        // Region 1 and a population out of the model's range: two warnings, no error.
        w->SelectKraj(1);
        edObyvateleCelkem()->SetValue(3001);
        btBack()->click();
        btNext()->click();
        const QStringList warned = mmInputValidation()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(warned.value(0), QStringLiteral("Ve vstupních datech bylo nalezeno 2 upozornění. Model lze vyhodnotit, "
                                                 "ale výsledky mohou být zkreslené."));
        QVERIFY(warned.value(1).startsWith(QStringLiteral("POZOR: Kraj - ")));
        QCOMPARE(mmInputValidation()->palette().color(QPalette::Base), QColor(255, 255, 224));
        QVERIFY(btNext()->isEnabled());  // warnings do not block

        // Errors and warnings together: errors first, each block ended by an empty line.
        edObyvateleEA()->SetValue(5000);
        btBack()->click();
        btNext()->click();
        const QStringList both = mmInputValidation()->toPlainText().split(QLatin1Char('\n'));
        QVERIFY(both.value(0).startsWith(QStringLiteral("Ve vstupních datech bylo nalezeno ")));
        QVERIFY(both.contains(QStringLiteral("Ve vstupních datech bylo nalezeno 2 upozornění. Model lze vyhodnotit, ale "
                                             "výsledky mohou být zkreslené.")));
        QVERIFY(!btNext()->isEnabled());
    }

    void resultStateLocksInputs() {
        EvaluateExample();
        QCOMPARE(VisibleTabs().size(), static_cast<int>(M::PageCount));
        QVERIFY(!btNext()->isEnabled());
        QVERIFY(btBack()->isEnabled() && btChangeInput()->isEnabled() && btStartAgain()->isEnabled());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 edNazevObce(), edKodObce(), btKodLookup(), edObyvateleCelkem(), cbKraj(), edSilnice1TridyKm(),
                 rbVodovodAno(), rbVodovodNe(), edDominantniZamestnavatel(), btLoadInputData()})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QCOMPARE(edNazevObce()->palette().color(QPalette::Base), ButtonFaceColor());
        QVERIFY(btBatchProcessing()->isEnabled() && btSaveInputData()->isEnabled());
        QVERIFY(redObyvatelstvoResult()->toPlainText().contains(QStringLiteral("Obec: Hněvkovice u Opavy")));
        QVERIFY(redObyvatelstvoResult()->isReadOnly());
        // Every line wraps at the view's width, the similar municipalities' too.
        for (QTextBlock b = redObyvatelstvoResult()->document()->begin(); b.isValid(); b = b.next())
            QVERIFY2(!b.blockFormat().nonBreakableLines(), qPrintable(b.text()));

        // With a result the validation page keeps its text and is not validated again.
        edObyvateleCelkem()->SetValue(0);
        pcPages()->setCurrentIndex(M::tsInputValidation);
        QVERIFY(mmInputValidation()->toPlainText().startsWith(QStringLiteral("Vstupní data prošla")));
        QVERIFY(btNext()->isEnabled());  // the result tab is visible
        QVERIFY(Dialogs().RequestsOf(TType::Message).empty());
    }

    void changeInputAndStartAgain() {
        EvaluateExample();
        btChangeInput()->click();  // answered No
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        QVERIFY(w->Model().Output());
        const auto asked = Dialogs().RequestsOf(TType::YesNo);
        QCOMPARE(asked.size(), std::size_t(1));
        QCOMPARE(asked[0].Caption, QStringLiteral("Otázka"));
        QCOMPARE(asked[0].Text, QStringLiteral("Povolením úprav vstupů dojde k vynulování vypočtených dat.\n"
                                               "Opravdu chcete vstup upravit?"));
        QVERIFY(asked[0].DefaultNo);

        Dialogs().YesNoAnswers = {true};
        btChangeInput()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QCOMPARE(VisibleTabs(), (QList<int>{M::tsWelcome, M::tsInputData1, M::tsInputData2, M::tsInputData3}));
        QVERIFY(!w->Model().Output());
        QCOMPARE(edNazevObce()->text(), QStringLiteral("Hněvkovice u Opavy"));  // values kept
        QCOMPARE(edObyvateleCelkem()->Value(), 1593.0);
        QVERIFY(edNazevObce()->isEnabled() && btKodLookup()->isEnabled() && btLoadInputData()->isEnabled());
        QVERIFY(redObyvatelstvoResult()->toPlainText().isEmpty());
        QVERIFY(!btChangeInput()->isEnabled());

        GoToPage(M::tsOutput);  // evaluates again from the kept values
        QVERIFY(w->Model().Output());
        Dialogs().YesNoAnswers = {false, true};
        btStartAgain()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        btStartAgain()->click();
        QCOMPARE(Dialogs().RequestsOf(TType::YesNo).back().Text,
                 QStringLiteral("Novým zahájením dojde k vynulování všech zadaných i vypočtených dat.\n"
                                "Opravdu chcete začít znovu?"));
        QCOMPARE(VisibleTabs(), QList<int>{M::tsWelcome});
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsWelcome));
        QVERIFY(!w->Model().Output());
        QVERIFY(edNazevObce()->text().isEmpty() && edKodObce()->text().isEmpty());
        QCOMPARE(cbKraj()->currentIndex(), 0);
        QVERIFY(!rbVodovodAno()->isChecked() && !rbVodovodNe()->isChecked());
        QVERIFY(btKodLookup()->isEnabled() && edNazevObce()->isEnabled());
        QVERIFY(!btStartAgain()->isEnabled() && !btBack()->isEnabled());
    }

    // "Konec" and the title bar's close button ask the same question.
    void finishAsksFirst() {
        const std::function<void()> ways[] = {[this] { btFinish()->click(); }, [this] { w->close(); }};
        for (const auto& close : ways) {
            w->show();
            Dialogs().Clear();
            close();
            QVERIFY(w->isVisible());
            QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Opravdu si přejete ukončit aplikaci?"));
            Dialogs().YesNoAnswers = {true};
            close();
            QVERIFY(!w->isVisible());
        }
    }

    void failingEvaluationLeavesResultEmpty() {
        btNext()->click();
        LoadExample();
        GoToPage(M::tsInputValidation);
        w->Model().Input().ObyvateleCelkem = 0;  // the evaluation validates again and refuses this
        btNext()->click();
        const auto errors = Dialogs().RequestsOf(TType::Message);
        QCOMPARE(errors.size(), std::size_t(1));
        QCOMPARE(errors[0].Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(errors[0].Text, QStringLiteral("CHYBA: Počet obyvatel - Zadaná hodnota musí být vetší rovna 1!"));
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsOutput));
        QVERIFY(w->IsTabVisible(M::tsOutput));
        QVERIFY(!w->Model().Output());
        QVERIFY(edNazevObce()->isEnabled());
        QVERIFY(redObyvatelstvoResult()->toPlainText().isEmpty());
        QVERIFY(btNext()->isEnabled());  // buttons not updated

        btBack()->click();  // validates the controls again
        btNext()->click();
        QVERIFY(w->Model().Output());
        QVERIFY(!edNazevObce()->isEnabled());
    }

    void batchButtonKeepsWizard() {
        EvaluateExample();
        const QString name = edNazevObce()->text();
        TZevraModel* lent = nullptr;
        w->SetBatchProcessing([&](QWidget&, TZevraModel& model) { lent = &model; });
        pcPages()->setCurrentIndex(M::tsInputData1);
        QVERIFY(btBatchProcessing()->isEnabled());
        btBatchProcessing()->click();
        QCOMPARE(lent, &w->Model());
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputData1));
        QVERIFY(edNazevObce()->text() == name && w->Model().Output());
        QVERIFY(Dialogs().RequestsOf(TType::YesNo).empty());  // no question
    }
};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    TestWizard test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard.moc"
