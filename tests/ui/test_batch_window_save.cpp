// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's results and leaving it: the chosen filter and the typed
// name decide the format and the file together, the proposed name, a result
// that no program can show, the save off the GUI thread with its progress and
// cancel, and the question before unsaved work is left.
#include "batch_window_fixture.h"

#include "model/u_savefile.h"

#include <QApplication>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

using namespace zevra;
using namespace zevra::test;

namespace {

// The format of a written file by its first bytes.
QString FormatOfBytes(const QByteArray& bytes) {
    if (bytes.startsWith("<html>")) return QStringLiteral("html");
    if (bytes.startsWith("PK")) return QStringLiteral("xlsx");
    if (bytes.startsWith("{")) return QStringLiteral("json");
    return QStringLiteral("?");
}

enum TFilter { fHtml, fXlsx, fJson };

}  // namespace

class TestBatchWindowSave : public QObject, public test::TBatchWindowFixture {
    Q_OBJECT
private slots:
    void initTestCase() { StartTestCase(); }
    void cleanupTestCase() { EndTestCase(); }
    void init() { StartTest(); }
    void cleanup() { EndTest(); }

    void filterAndTypedNameAgree() {
        struct TCase {
            int Filter;
            const char* Typed;
            int Answer;  // to the question when the two disagree; -1: none asked
            const char* Written;
            const char* Format;
        };
        const TCase cases[] = {
            {fXlsx, "vysledky", -1, "vysledky.xlsx", "xlsx"},
            {fHtml, "vysledky", -1, "vysledky.html", "html"},
            {fXlsx, "vysledky.xlsx", -1, "vysledky.xlsx", "xlsx"},
            {fXlsx, "VYSLEDKY.XLSX", -1, "VYSLEDKY.XLSX", "xlsx"},
            {fHtml, "vysledky.txt", -1, "vysledky.txt.html", "html"},
            {fXlsx, "vysledky.html", 1, "vysledky.xlsx", "xlsx"},  // Yes: the filter
            {fXlsx, "vysledky.html", 0, "vysledky.html", "html"},  // No: the name
            {fHtml, "vysledky.xlsx", 1, "vysledky.html", "html"},
            {fJson, "vysledky", -1, "vysledky.json", "json"},
            {fXlsx, "vysledky.json", 0, "vysledky.json", "json"},
            {fJson, "vysledky.html", 1, "vysledky.json", "json"},
        };
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        btRunModel()->click();
        for (const TCase& c : cases) {
            Dialogs().Clear();
            edOutputFile()->clear();
            Dialogs().FileAnswers = {OutFile(QString::fromUtf8(c.Typed))};
            Dialogs().FilterAnswers = {c.Filter};
            if (c.Answer >= 0) Dialogs().YesNoAnswers = {c.Answer == 1};
            btChooseOutput()->click();
            const QString expected = OutFile(QString::fromUtf8(c.Written));
            QCOMPARE(edOutputFile()->text(), expected);
            QCOMPARE(Dialogs().RequestsOf(TType::YesNo).size(), size_t(c.Answer >= 0 ? 1 : 0));
            btSaveOutput()->click();
            QVERIFY2(Messages().isEmpty(), qPrintable(Messages().join(QLatin1Char('\n'))));
            QCOMPARE(FormatOfBytes(ReadAll(expected)), QString::fromUtf8(c.Format));
            QFile::remove(expected);
        }
    }

    void proposedNameAndSelectedFilter() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        btRunModel()->click();
        btChooseOutput()->click();  // cancelled
        edOutputFile()->setText(QStringLiteral("/tmp/x.XLSX"));
        btChooseOutput()->click();
        const auto saves = Dialogs().RequestsOf(TType::SaveFile);
        QCOMPARE(saves.size(), size_t(2));
        QCOMPARE(saves[0].File.ProposedName, QStringLiteral("obce.html"));  // the input's name
        QCOMPARE(saves[0].File.SelectedFilter, int(fHtml));
        QCOMPARE(saves[1].File.ProposedName, QStringLiteral("/tmp/x.XLSX"));
        QCOMPARE(saves[1].File.SelectedFilter, int(fXlsx));
        // The filters come from the registered formats, each once.
        QStringList patterns;
        for (const TFileFilter& filter : saves[0].File.Filters) patterns << filter.Patterns;
        QCOMPARE(patterns, (QStringList{QStringLiteral("*.html"), QStringLiteral("*.xlsx"), QStringLiteral("*.json")}));
        QCOMPARE(QSet<QString>(patterns.begin(), patterns.end()).size(), patterns.size());

        // A name typed into the field without a format's extension is saved
        // as the HTML table under that name with ".html", as the field shows.
        edOutputFile()->setText(OutFile(QStringLiteral("vysledky")));
        btSaveOutput()->click();
        QCOMPARE(edOutputFile()->text(), OutFile(QStringLiteral("vysledky.html")));
        QCOMPARE(FormatOfBytes(ReadAll(OutFile(QStringLiteral("vysledky.html")))), QStringLiteral("html"));
        QVERIFY(!QFile::exists(OutFile(QStringLiteral("vysledky"))));
    }

    void resultWithoutViewerIsReported() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        btRunModel()->click();
        edOutputFile()->setText(OutFile(QStringLiteral("vysledky.html")));
        chbOpenOutput()->setChecked(true);
        FOpenerWorks = false;
        btSaveOutput()->click();
        QCOMPARE(FOpened.size(), 1);
        const auto messages = Dialogs().RequestsOf(TType::Message);
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].Kind, TMessageKind::Warning);
        QVERIFY(messages[0].Text.startsWith(QStringLiteral("Výsledky byly uloženy, ale nepodařilo se je zobrazit")));
        QVERIFY(messages[0].Text.contains(OutFile(QStringLiteral("vysledky.html"))));
    }

    // Closing by Esc, the title bar or "Ukončit" asks while loaded or
    // computed rows are not saved; No keeps the window open.
    void closingAsksBeforeUnsavedWorkIsLost() {
        enum TStep { sNothing, sLoaded, sRun, sSaved };
        enum TWay { wEsc, wTitleBar, wButton };
        struct TCase {
            TStep Step;
            TWay Way;
            bool Answer;
            bool Asked;
            bool Closed;
        };
        const TCase cases[] = {
            {sNothing, wEsc, false, false, true},  {sLoaded, wEsc, false, true, false},
            {sRun, wEsc, false, true, false},      {sRun, wEsc, true, true, true},
            {sRun, wTitleBar, false, true, false}, {sRun, wButton, false, true, false},
            {sLoaded, wButton, true, true, true},  {sSaved, wEsc, false, false, true},
            {sSaved, wTitleBar, false, false, true},
        };
        for (const TCase& c : cases) {
            const QString label = QStringLiteral("step %1 way %2").arg(c.Step).arg(c.Way);
            w = std::make_unique<B>(*FModel);
            w->show();
            Dialogs().Clear();
            if (c.Step >= sLoaded) Load(test::ExampleFile(QStringLiteral("obce.csv")));
            if (c.Step >= sRun) btRunModel()->click();
            if (c.Step >= sSaved) {
                edOutputFile()->setText(OutFile(QStringLiteral("vysledky.html")));
                btSaveOutput()->click();
            }
            Dialogs().YesNoAnswers = {c.Answer};
            switch (c.Way) {
            case wEsc: QTest::keyClick(w.get(), Qt::Key_Escape); break;
            case wTitleBar: w->close(); break;
            case wButton: btClose()->click(); break;
            }
            QVERIFY2(Dialogs().RequestsOf(TType::YesNo).size() == size_t(c.Asked ? 1 : 0), qPrintable(label));
            QVERIFY2(w->isVisible() == !c.Closed, qPrintable(label));
        }
    }

    // The write runs beside the event loop: the window is disabled (a click
    // is dropped, not kept for later), a progress dialog shows, a cancel
    // stops the write and leaves no file, and an error comes back.
    void writeOffGuiThread() {
        const QString target = OutFile(QStringLiteral("velky.html"));
        std::atomic<bool> sawCancel = false;
        int ticks = 0;
        bool windowDisabled = false;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            ++ticks;
            windowDisabled = windowDisabled || !w->isEnabled();
            if (ticks >= 5)
                for (auto* progress : w->findChildren<QProgressDialog*>())
                    if (progress->isVisible()) QTest::keyClick(progress, Qt::Key_Escape);
        });
        ticker.start(20);
        const auto slowWrite = [&](const TBatchProgress& progress) {
            TSafeFileWriter writer(target.toStdString());
            for (std::size_t row = 0; row < 1000; ++row) {
                writer.Write("<tr></tr>");
                try {
                    progress(row, 1000);
                } catch (...) {
                    sawCancel = true;
                    throw;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            writer.Commit();
        };
        QVERIFY(!RunOffGuiThread(w.get(), QStringLiteral("Ukládání výsledků..."), slowWrite));
        ticker.stop();
        QVERIFY(ticks >= 5);  // the event loop ran during the write
        QVERIFY(windowDisabled && w->isEnabled());
        QVERIFY(sawCancel);
        QVERIFY(!QFile::exists(target));
        QVERIFY(QDir(FOut->path()).entryList(QDir::Files).isEmpty());  // no temporary file either

        QVERIFY(RunOffGuiThread(w.get(), QString(), [](const TBatchProgress&) {}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 RunOffGuiThread(w.get(), QString(), [](const TBatchProgress&) {
                                     std::this_thread::sleep_for(std::chrono::milliseconds(200));
                                     throw std::runtime_error("x");
                                 }));
        QVERIFY(w->isEnabled());
    }
};

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    InitNumberFormat();
    TestBatchWindowSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_window_save.moc"
