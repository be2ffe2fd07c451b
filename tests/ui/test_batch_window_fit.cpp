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
    void VerifyOnScreen(const char* when) {
        QVERIFY2(Available().contains(w->frameGeometry()),
                 qPrintable(QStringLiteral("%1: window %2,%3 %4x%5, screen %6x%7")
                                .arg(QString::fromLatin1(when))
                                .arg(w->frameGeometry().x())
                                .arg(w->frameGeometry().y())
                                .arg(w->frameGeometry().width())
                                .arg(w->frameGeometry().height())
                                .arg(Available().width())
                                .arg(Available().height())));
    }

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
        VerifyOnScreen("opened");
        Load(test::ExampleFile(QStringLiteral("obce.csv")));
        VerifyOnScreen("loaded");
        btRunModel()->click();
        QCOMPARE(w->State(), B::TState::Run);
        VerifyOnScreen("run");
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
            QVERIFY2(Available().contains(window->frameGeometry()), qPrintable(window->objectName()));
            window->hide();
        }
    }
};

int main(int argc, char** argv) {
    // A 1366 x 768 screen for the offscreen platform, unless the test
    // command names another platform.
    QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("screen.json"));
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly)) return 2;
    json.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768,
                   "logicalDpi": 96, "logicalBaseDpi": 96}]})");
    json.close();
    if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) == QStringLiteral("offscreen"))
        qputenv("QT_QPA_PLATFORM", QStringLiteral("offscreen:configfile=%1").arg(file).toLocal8Bit());
    TZevraApplication app(argc, argv);
    InitNumberFormat();
    TestBatchWindowFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch_window_fit.moc"
