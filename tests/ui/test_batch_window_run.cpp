// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's run and save: the run refused by errors, a clean file
// run and saved with and without showing the result, faulty loads, the
// progress feedback, and the shipped examples from load to saved HTML.
#include "batch_window_fixture.h"

using namespace zevra;
using namespace zevra::test;

class TestBatchWindowRun : public QObject, public test::TBatchWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void cleanupTestCase() { EndTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

    void errorsBlockTheRun() {
        const QString path = OutFile(QStringLiteral("chyba.csv"));
        WriteBatchFile(path, CleanRow + ErrorRow + CleanRow);
        Load(path);
        QCOMPARE(w->State(), B::TState::Loaded);
        QVERIFY(!w->InputValid());
        QCOMPARE(lblErrorCount()->text(), QStringLiteral("(zjištěno 1 chyb a 0 varování)"));
        QCOMPARE(GridRows(), 1);
        QCOMPARE(Background(0).value<QColor>(), QColor(255, 153, 153));
        QCOMPARE(dbgInputData()->model()->index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("chyba"));
        btRunModel()->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Chyba|Vstupní data obsahují chyby!")});
        QCOMPARE(w->State(), B::TState::Loaded);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(0));

        // Unchecking lists all rows: the error row red, the others plain.
        SetProblemsOnly(false);
        QCOMPARE(GridRows(), 3);
        QVERIFY(!Background(0).isValid());
        QCOMPARE(Background(1).value<QColor>(), QColor(255, 153, 153));
        QVERIFY(!Background(2).isValid());
    }

    void cleanFileRunsAndSaves() {
        const QString path = OutFile(QStringLiteral("ciste.csv"));
        WriteBatchFile(path, CleanRow + CleanRow);
        Load(path);
        QCOMPARE(lblErrorCount()->text(), QStringLiteral("(bez chyb a varování)"));
        QCOMPARE(GridRows(), 0);
        btRunModel()->click();
        QVERIFY(Dialogs().Requests.empty());
        QCOMPARE(w->State(), B::TState::Run);
        QCOMPARE(w->height(), 79 + 278 + 94 + 35);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(2));

        // Saving without a name, to a folder that does not exist, then for
        // real: only the written file is shown.
        chbOpenOutput()->setChecked(true);
        btSaveOutput()->click();
        edOutputFile()->setText(OutFile(QStringLiteral("chybi/vysledek.html")));
        btSaveOutput()->click();
        const QStringList messages = Messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0], QStringLiteral("ZEVRAModel|Nebyl vybrán cílový soubor!"));
        QVERIFY(messages[1].startsWith(QStringLiteral("ZEVRAModel|")));
        QVERIFY(FOpened.isEmpty());
        QVERIFY(!QFile::exists(OutFile(QStringLiteral("chybi/vysledek.html"))));

        const QString target = OutFile(QStringLiteral("vysledek.html"));
        edOutputFile()->setText(QStringLiteral("  ") + target + QStringLiteral(" "));
        btSaveOutput()->click();
        QCOMPARE(FOpened, QStringList{target});
        QCOMPARE(ReadAll(target).toStdString(), w->Batch().HtmlOutputBytes());

        // Unchecked: saved, not shown. A new load from Run goes back to Loaded.
        chbOpenOutput()->setChecked(false);
        btSaveOutput()->click();
        QCOMPARE(FOpened.size(), 1);
        Load(path);
        QCOMPARE(w->State(), B::TState::Loaded);
        QCOMPARE(w->Batch().OutputData().RowCount(), std::size_t(2));  // until the next run

        // The results never overwrite the file they came from.
        const QByteArray input = ReadAll(path);
        // Nor under a name that the writer reads otherwise (a control
        // character at its end, which it drops with the blanks), nor after
        // the input field was changed without a new load.
        const std::pair<QString, QString> names[] = {{path, path},
                                                     {path, path + QChar(0x1F)},
                                                     {OutFile(QStringLiteral("jiny.csv")), path}};
        for (const auto& [inputName, outputName] : names) {
            edInputFile()->setText(inputName);
            edOutputFile()->setText(outputName);
            btSaveOutput()->click();
            QVERIFY2(Messages().last().contains(QStringLiteral("totožný se vstupním souborem")),
                     qPrintable(outputName));
            QCOMPARE(ReadAll(path), input);
        }
    }

    void faultyFirstLoad() {
        Load(test::ExampleFile(QStringLiteral("obce-chybne.csv")));
        const auto composites = Dialogs().RequestsOf(TType::Composite);
        QCOMPARE(composites.size(), size_t(1));
        QCOMPARE(Dialogs().Requests.size(), size_t(1));
        const QStringList& lines = composites[0].Lines;
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Řádek 10: Chybný počet údajů na řádku (15 místo 16)!"));
        QVERIFY(lines[1].startsWith(QStringLiteral("Řádek 12: ")));
        QVERIFY(lines[2].startsWith(QStringLiteral("Řádek 13: ")));
        QVERIFY(lines[3].startsWith(QStringLiteral("Řádek 14: ")));
        QCOMPARE(lines[4], QStringLiteral("Řádek 15: Chybný počet údajů na řádku (17 místo 16)!"));
        // Nothing else changed: no validation, no layout change; the rows stay.
        QCOMPARE(w->State(), B::TState::Opened);
        QCOMPARE(w->height(), 146);
        QVERIFY(!pnPreview_C()->isVisible());
        QVERIFY(lblErrorCount()->text().isEmpty());
        QVERIFY(!w->InputValid());
        QCOMPARE(w->Batch().InputData().RowCount(), std::size_t(9));
        btRunModel()->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Chyba|Vstupní data obsahují chyby!")});
    }

    void faultyLoadAfterGoodOne() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        btRunModel()->click();
        QCOMPARE(w->State(), B::TState::Run);
        const std::size_t earlierResults = w->Batch().OutputData().RowCount();
        Load(test::ExampleFile(QStringLiteral("obce-chybne.csv")));
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).size(), size_t(1));
        QCOMPARE(w->State(), B::TState::Run);
        QCOMPARE(w->Batch().InputData().RowCount(), std::size_t(9));
        QCOMPARE(GridRows(), 0);  // the new rows carry no marks yet
        QVERIFY(lblErrorCount()->text().isEmpty());  // the earlier file's counts went with its rows

        // The earlier file's verdict does not carry over to rows that were
        // never checked: the run refuses and the earlier results stay.
        QVERIFY(!w->InputValid());
        btRunModel()->click();
        QCOMPARE(Messages(), QStringList{QStringLiteral("Chyba|Vstupní data obsahují chyby!")});
        QCOMPARE(w->Batch().OutputData().RowCount(), earlierResults);
    }

    void progressDialogGivesSameResults() {
        QString text;
        for (int i = 0; i < 400; ++i) text += i % 7 == 0 ? ErrorRow : CleanRow;
        text += QStringLiteral("x;1\n");  // one faulty line
        const QString path = OutFile(QStringLiteral("velky.csv"));
        WriteBatchFile(path, text);
        QString good;
        for (int i = 0; i < 400; ++i) good += CleanRow;
        const QString goodPath = OutFile(QStringLiteral("velky-dobry.csv"));
        WriteBatchFile(goodPath, good);

        const auto runAll = [&] {
            Load(path);
            Load(goodPath);
            btRunModel()->click();
            return w->Batch().HtmlOutputBytes() + lblErrorCount()->text().toStdString();
        };
        const std::string quiet = runAll();
        const QStringList quietLines = Dialogs().RequestsOf(TType::Composite).at(0).Lines;

        TProgressWatch watch;
        qApp->installEventFilter(&watch);
        TDelayedProgress::SetDelay(0);
        Dialogs().Clear();
        const std::string shown = runAll();
        qApp->removeEventFilter(&watch);
        QVERIFY(watch.Shown >= 4);  // two loads, their validation, the run
        QCOMPARE(watch.Dismissed, 0);
        QCOMPARE(shown, quiet);
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).at(0).Lines, quietLines);
        QCOMPARE(w->State(), B::TState::Run);
    }

    void shippedExamplesFromLoadToHtml() {
        // obce.csv: chosen, loaded, run, target chosen, saved and shown.
        Dialogs().FileAnswers = {test::ExampleFile(QStringLiteral("obce.csv")), OutFile(QStringLiteral("obce.html"))};
        btChooseInput()->click();
        btLoadInput()->click();
        btRunModel()->click();
        btChooseOutput()->click();
        chbOpenOutput()->click();
        btSaveOutput()->click();
        QVERIFY(Messages().isEmpty());
        QCOMPARE(FOpened, QStringList{OutFile(QStringLiteral("obce.html"))});
        const QByteArray html = ReadAll(OutFile(QStringLiteral("obce.html")));
        QVERIFY(html.startsWith("<html>") && html.endsWith("</html>"));
        QCOMPARE(html.count("<tr>"), 31);  // header and 30 municipalities
        QVERIFY(!html.contains('\n') && !html.contains('\r'));
        QVERIFY(html.contains(QByteArray::fromStdString(Utf8ToCp1250("<td>Věžnice u Třebíče</td>"))));

        // obce-chybne.csv: the problem list instead of results; its rows were
        // never checked, so the run is refused.
        Dialogs().FileAnswers = {test::ExampleFile(QStringLiteral("obce-chybne.csv"))};
        btChooseInput()->click();
        btLoadInput()->click();
        QCOMPARE(Dialogs().RequestsOf(TType::Composite).size(), size_t(1));
        QCOMPARE(Dialogs().RequestsOf(TType::Composite)[0].Lines.size(), 5);
        btRunModel()->click();
        QCOMPARE(Messages().at(0), QStringLiteral("Chyba|Vstupní data obsahují chyby!"));

        // Its faulty lines repaired, the same rows run through to the HTML.
        QString repaired = QString::fromStdString(Cp1250ToUtf8(
            ReadAll(test::ExampleFile(QStringLiteral("obce-chybne.csv"))).toStdString()));
        QStringList lines = repaired.split(QStringLiteral("\r\n"));
        lines[9] += QStringLiteral(";Ano");
        lines[11].replace(QStringLiteral("599.95 ha"), QStringLiteral("599.95"));
        lines[12].replace(QStringLiteral("24O0"), QStringLiteral("2400"));
        lines[13].replace(QStringLiteral("283.5"), QStringLiteral("283"));
        lines[14].replace(QStringLiteral(";navíc"), QString());
        lines[15].replace(QStringLiteral("587;309;321"), QStringLiteral("587;309;21"));
        const QString fixedPath = OutFile(QStringLiteral("obce-opravene.csv"));
        WriteBatchFile(fixedPath, lines.join(QLatin1Char('\n')));
        Dialogs().Clear();
        FOpened.clear();
        Dialogs().FileAnswers = {fixedPath, OutFile(QStringLiteral("opravene.html"))};
        btChooseInput()->click();
        btLoadInput()->click();
        QVERIFY(w->InputValid());
        btRunModel()->click();
        btChooseOutput()->click();
        btSaveOutput()->click();
        QVERIFY(Messages().isEmpty());
        QCOMPARE(ReadAll(OutFile(QStringLiteral("opravene.html"))).count("<tr>"), 10);
        QCOMPARE(FOpened.size(), 1);
    }

};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    InitNumberFormat();
    TestBatchWindowRun test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_window_run.moc"
