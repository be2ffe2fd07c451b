// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard's lookup, name rules, fields and input files, and the result
// page's report actions (RTF file, clipboard), with scripted dialogs.
#include "wizard_fixture.h"

using namespace zevra;
using namespace zevra::test;

class TestWizardIo : public QObject, public test::TWizardFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

    void lookupOutcomes() {
        btNext()->click();
        edNazevObce()->setText(QStringLiteral("  jEDINOV "));
        btKodLookup()->click();
        QCOMPARE(edKodObce()->Value(), 999001.0);
        QVERIFY(Dialogs().Requests.empty());

        // A name found nowhere or too often: a warning, and the code stays.
        const std::pair<const char*, const char*> refused[] = {
            {"Neexistujici", "Obec s tímto názvem nebyla nalezena v seznamu obcí ČR"},
            {"Mnohov", "Tomuto názvu vyhovuje přliš mnoho obcí, prosím upřesněte"}};
        for (const auto& [name, warning] : refused) {
            edNazevObce()->setText(QString::fromUtf8(name));
            btKodLookup()->click();
            QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("Varování"));
            QCOMPARE(Dialogs().Requests.back().Text, QString::fromUtf8(warning));
            QCOMPARE(edKodObce()->Value(), 999001.0);
        }

        edNazevObce()->setText(QStringLiteral("Dvojnice"));
        Dialogs().ChoiceAnswers = {3, -1};
        btKodLookup()->click();
        const auto choice = Dialogs().RequestsOf(TType::Choice);
        QCOMPARE(choice.size(), std::size_t(1));
        QCOMPARE(choice[0].Caption, QStringLiteral("Výběr obce"));
        QCOMPARE(choice[0].Text,
                 QStringLiteral("Podle názvu připadá do úvahy více možností. Vyberte prosím, o kterou obec se jedná"));
        QCOMPARE(choice[0].Lines.size(), 14);
        QCOMPARE(choice[0].Lines[0], QStringLiteral("Dvojnice (okr. Okres 1)"));
        QCOMPARE(choice[0].InitialIndex, 0);
        QCOMPARE(edKodObce()->Value(), 999104.0);
        btKodLookup()->click();  // cancelled: the code stays
        QCOMPARE(edKodObce()->Value(), 999104.0);
        QCOMPARE(edNazevObce()->text(), QStringLiteral("Dvojnice"));
    }

    void nameFieldForgetsCodeWhenChanged() {
        btNext()->click();
        edNazevObce()->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("Jedinov"));
        edKodObce()->SetValue(999001);
        edNazevObce()->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("  Jedinov "));  // same trimmed name: the code stays
        QCOMPARE(edKodObce()->Value(), 999001.0);
        edNazevObce()->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("JEDINOV"));  // letter case counts
        QCOMPARE(edKodObce()->Value(), 0.0);
        QVERIFY(btKodLookup()->isEnabled());
        edNazevObce()->setFocus(Qt::TabFocusReason);
        LeaveNameField(QStringLiteral("   "));
        QVERIFY(!btKodLookup()->isEnabled());
        Dialogs().YesNoAnswers = {true};
        btStartAgain()->click();
        QVERIFY(btKodLookup()->isEnabled());
    }

    void fieldsMoveIntoInput() {
        btNext()->click();
        edSilnice1TridyKm()->SetValue(1.5);
        edObyvateleCelkem()->SetValue(12345678);
        rbVodovodNe()->setChecked(true);
        w->ControlsToInput();
        QCOMPARE(w->Model().Input().Silnice1TrM, 1500);
        QCOMPARE(w->Model().Input().ObyvateleCelkem, 12345678);  // not made the bound: validation names it
        QCOMPARE(w->Model().Input().Kraj, -1);
        QVERIFY(w->Model().Input().Vodovod == TTriBool::tbFalse);

        w->Model().Input().Silnice1TrM = 2345;
        w->Model().Input().Kraj = 13;
        w->Model().Input().Vodovod = TTriBool::tbUnknown;
        w->InputToControls();
        QCOMPARE(edSilnice1TridyKm()->EditText(), QStringLiteral("2.345"));
        QCOMPARE(edSilnice1TridyKm()->text(), QStringLiteral("2.345"));  // every metre shows
        QVERIFY(!rbVodovodAno()->isChecked() && !rbVodovodNe()->isChecked());
        QCOMPARE(cbKraj()->currentData().toInt(), 13);
        w->SelectKraj(-1);  // no match: "--- vyberte ---", not the stale region
        QCOMPARE(cbKraj()->currentIndex(), 0);
        GoToPage(M::tsInputValidation);
        QCOMPARE(w->Model().Input().Silnice1TrM, 2345);
    }

    // An input file loaded and saved again, no field touched, is written
    // with the same values, also where a field shows fewer decimals.
    void loadAndSaveKeepsEveryValue() {
        const QByteArray example = ReadAll(test::ExampleFile(QStringLiteral("obec.txt")));
        const struct {
            const char* Line;
            const char* Changed;
        } cases[] = {
            {"Silnice1TrM=4700", "Silnice1TrM=2345"},
            {"Silnice1TrM=4700", "Silnice1TrM=1"},
            {"NadmVyska= 4.12000000000000E+0002", "NadmVyska= 4.12345000000000E+0002"},
            {"KatastrCelkem= 4.44650000000000E+0002", "KatastrCelkem= 4.44654321000000E+0002"},
        };
        btNext()->click();
        for (const auto& c : cases) {
            QByteArray input = example;
            input.replace(c.Line, c.Changed);
            QVERIFY(input != example);
            const QString loaded = FOut.filePath(QStringLiteral("nactena.txt"));
            const QString saved = FOut.filePath(QStringLiteral("ulozena.txt"));
            WriteAll(loaded, input);
            QFile::remove(saved);
            Dialogs().FileAnswers = {loaded};
            pcPages()->setCurrentIndex(M::tsInputData1);
            btLoadInputData()->click();
            pcPages()->setCurrentIndex(M::tsInputValidation);
            Dialogs().FileAnswers = {saved};
            btSaveInputData()->click();
            QCOMPARE(ReadAll(saved), input);
        }
    }

    // A decimal in a whole-number field stops the evaluation and the save
    // with the field's own error; nothing of it reaches the input.
    void decimalInWholeNumberFieldIsAnError() {
        EvaluateExample();
        Dialogs().YesNoAnswers = {true};
        btChangeInput()->click();
        pcPages()->setCurrentIndex(M::tsInputData2);
        edOkresniMestoKm()->setFocus(Qt::TabFocusReason);
        edOkresniMestoKm()->selectAll();
        QTest::keyClicks(edOkresniMestoKm(), QStringLiteral("12,5"));
        const auto* shown = Control<QLabel>(w.get(), "edOkresniMestoKmChyba");
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(shown->text(), QStringLiteral("Zadejte celé číslo, bez desetinné čárky."));
        edKrajskeMestoMin()->setFocus(Qt::TabFocusReason);
        QCOMPARE(edOkresniMestoKm()->text(), QStringLiteral("12,5"));
        btNext()->click();
        btNext()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(M::tsInputValidation));
        QCOMPARE(mmInputValidation()->toPlainText().split(QLatin1Char('\n')).value(1),
                 QStringLiteral("CHYBA: Dojížďková vzdálenost od okresního města [km] - Zadejte celé číslo, bez "
                                "desetinné čárky."));
        QVERIFY(!btNext()->isEnabled());
        Dialogs().Clear();
        btSaveInputData()->click();
        QVERIFY(Dialogs().RequestsOf(TType::SaveFile).empty());
        QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("Varování"));
    }

    void inputFiles() {
        btNext()->click();
        Dialogs().FileAnswers.push_back(std::nullopt);
        btLoadInputData()->click();  // cancelled: nothing changes
        QVERIFY(edNazevObce()->text().isEmpty());
        const auto open = Dialogs().RequestsOf(TType::OpenFile);
        QCOMPARE(open.size(), std::size_t(1));
        QCOMPARE(open[0].File.Title, QStringLiteral("Vyberte soubor se vstupními daty"));
        QCOMPARE(open[0].File.Filters.size(), std::size_t(2));
        QCOMPARE(open[0].File.Filters[0].Description, QStringLiteral("Textové soubory (*.txt)"));
        QCOMPARE(open[0].File.Filters[1].Description, QStringLiteral("Všechny soubory (*)"));
        QCOMPARE(open[0].File.Filters[1].Patterns, QStringLiteral("*"));  // names without a dot too
        QCOMPARE(open[0].File.DefaultSuffix, QStringLiteral("txt"));
        QVERIFY(open[0].File.MustExist);

        const QString broken = FOut.filePath(QStringLiteral("broken.txt"));
        WriteAll(broken, "# Vstupni data modelu ZEVRA\r\nInputData=Chybna\r\nNadmVyska=412,5\r\n");
        Dialogs().FileAnswers.push_back(broken);
        edNazevObce()->setText(QStringLiteral("Zachovat"));
        btLoadInputData()->click();
        QCOMPARE(Dialogs().Requests.back().Caption, QStringLiteral("ZEVRAModel"));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("'412,5' is not a valid floating point value."));
        QCOMPARE(edNazevObce()->text(), QStringLiteral("Zachovat"));  // the controls keep their values

        LoadExample();
        QCOMPARE(edNazevObce()->text(), QStringLiteral("Hněvkovice u Opavy"));
        QCOMPARE(edKodObce()->Value(), 596835.0);
        QVERIFY(rbVodovodAno()->isChecked());
        GoToPage(M::tsInputValidation);

        const QString saved = FOut.filePath(QStringLiteral("ulozena.txt"));
        QFile::remove(saved);
        Dialogs().Clear();
        Dialogs().FileAnswers.push_back(saved);
        btSaveInputData()->click();
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
        btSaveInputData()->click();
        QCOMPARE(Dialogs().Requests.size(), std::size_t(2));
        QCOMPARE(Dialogs().Requests.back().Text, QStringLiteral("Soubor již existuje. Chcete jej přepsat?"));
        QCOMPARE(ReadAll(saved), QByteArray("puvodni"));
    }

    void saveReportAsRtf() {
        EvaluateExample();
        const QString path = FOut.filePath(QStringLiteral("zprava.rtf"));
        QFile::remove(path);
        Dialogs().FileAnswers.push_back(path);
        btSaveOutput()->click();
        const auto save = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(save.size(), std::size_t(1));
        QCOMPARE(save[0].File.ProposedName, QStringLiteral("Hněvkovice u Opavy.rtf"));
        QCOMPARE(save[0].File.Filters[0].Description, QStringLiteral("Dokumenty RTF (*.rtf)"));
        QCOMPARE(save[0].File.DefaultSuffix, QStringLiteral("rtf"));
        const QByteArray rtf = ReadAll(path);
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("\\b"));
        QVERIFY(Dialogs().RequestsOf(TType::Message).empty());  // no message after saving
        QVERIFY(Dialogs().RequestsOf(TType::YesNo).empty());

        WriteAll(path, "puvodni");
        Dialogs().FileAnswers = {path, path};
        Dialogs().YesNoAnswers = {false, true};
        btSaveOutput()->click();
        QCOMPARE(ReadAll(path), QByteArray("puvodni"));
        btSaveOutput()->click();
        QCOMPARE(ReadAll(path), rtf);
        QCOMPARE(QDir(FOut.path()).entryList({QStringLiteral("zprava*")}, QDir::Files).size(), 1);

        // An empty name field proposes ".rtf".
        Dialogs().YesNoAnswers = {true};
        btChangeInput()->click();
        edNazevObce()->clear();
        btSaveInputData()->setFocus();
        for (int step = 0; step < 3; ++step) btNext()->click();  // to the validation page
        QCOMPARE(w->ActivePage(), int(M::tsInputValidation));
        w->Model().Input().Obec = "Beze jména";  // the report still needs a name to evaluate
        w->Model().Evaluate();
        w->ComposeReport();
        Dialogs().FileAnswers.push_back(std::nullopt);
        btSaveOutput()->click();
        QCOMPARE(Dialogs().RequestsOf(TType::SaveFile).back().File.ProposedName, QStringLiteral(".rtf"));
        // A name that is no file name proposes one that is.
        edNazevObce()->setText(QStringLiteral("Lhota/Nová"));
        Dialogs().FileAnswers.push_back(std::nullopt);
        btSaveOutput()->click();
        QCOMPARE(Dialogs().RequestsOf(TType::SaveFile).back().File.ProposedName, QStringLiteral("Lhota-Nová.rtf"));
    }

    void copyReportToClipboard() {
        EvaluateExample();
        btCopyOutputToClipboard()->click();
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
        QVERIFY(!redObyvatelstvoResult()->toPlainText().contains(QChar::Nbsp));
        QVERIFY(mime->text().contains(QStringLiteral("Obec: Hněvkovice u Opavy")));
        QVERIFY(!mime->text().contains(QStringLiteral("[b]")));
        // The plain text ends every line with CR LF, as the clipboard expects.
        QVERIFY(mime->text().contains(QStringLiteral("\r\n")));
        QCOMPARE(mime->text().count(QLatin1Char('\n')), mime->text().count(QStringLiteral("\r\n")));
    }

};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    TestWizardIo test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wizard_io.moc"
