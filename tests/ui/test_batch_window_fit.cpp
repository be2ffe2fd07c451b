// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window on a small screen: a 1366 x 768 screen of the offscreen
// platform, once as it is and once at scaling 2 (QT_SCALE_FACTOR, set by the
// test command). The window never reaches past the available area, also
// after a run, can be resized, and its grid takes the height it gains.
#include "batch_window_fixture.h"

#include <QDir>
#include <QScreen>
#include <QScrollArea>

using namespace zevra;
using namespace zevra::test;

class TestBatchWindowFit : public QObject, public test::TBatchWindowFixture {
    Q_OBJECT

    QRect Available() const { return w->screen()->availableGeometry(); }

private slots:
    void initTestCase() { StartTestCase(); }
    void cleanupTestCase() { EndTestCase(); }
    void init() {
        StartTest();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() { EndTest(); }

    void screenIsTheSmallOne() {
        QCOMPARE(w->screen()->geometry().size() * w->screen()->devicePixelRatio(), QSize(1366, 768));
    }

    void staysOnScreenThroughRun() {
        VerifyOnScreen(w.get(), QStringLiteral("opened"));
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        VerifyOnScreen(w.get(), QStringLiteral("loaded"));
        btRunModel()->click();
        QCOMPARE(w->State(), B::TState::Run);
        VerifyOnScreen(w.get(), QStringLiteral("run"));
        // Every group and the close button are within reach.
        QVERIFY(btClose()->isVisible());
        QVERIFY(w->rect().contains(QRect(btClose()->mapTo(w.get(), QPoint(0, 0)), btClose()->size())));
        auto* scroll = Control<QScrollArea>(w.get(), "sbContent");
        QVERIFY(scroll);
        scroll->ensureWidgetVisible(btSaveOutput());
        QVERIFY(scroll->viewport()->rect().intersects(
            QRect(btSaveOutput()->mapTo(scroll->viewport(), QPoint(0, 0)), btSaveOutput()->size())));
    }

    void resizableAndGridGrows() {
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        btRunModel()->click();
        QVERIFY(w->minimumHeight() < w->maximumHeight());
        w->resize(w->minimumSize());
        QApplication::processEvents();
        const int smallGrid = dbgInputData()->height();
        const QSize larger(qMin(Available().width() - 20, 900), Available().height() - 40);
        w->resize(larger);
        QApplication::processEvents();
        QCOMPARE(w->size(), larger);
        QVERIFY(dbgInputData()->height() > smallGrid || larger.height() <= w->minimumHeight());
        QVERIFY(dbgInputData()->width() >= larger.width() - 8);
        // The grid fills the group: the output group starts right below it.
        QVERIFY(gbOutput()->y() >= gbPreview()->y() + gbPreview()->height());
        QVERIFY(gbOutput()->y() + gbOutput()->height() <= w->height());
    }

    // The text window and the problem list open within the screen too.
    void smallWindowsFit() {
        TfrmInfo info;
        TfrmCompositeException problems;
        for (QWidget* window : {static_cast<QWidget*>(&info), static_cast<QWidget*>(&problems)}) {
            FitAndCentreOnScreen(*window);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            VerifyOnScreen(window, window->objectName());
            if (QTest::currentTestFailed()) return;
            window->hide();
        }
    }
};

int main(int argc, char** argv) {
    // A 1366 x 768 screen for the offscreen platform, unless the test
    // command names another platform.
    const TScreenSize small(QSize(1366, 768));
    TZevraApplication app(argc, argv);
    InitNumberFormat();
    TestBatchWindowFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_window_fit.moc"
