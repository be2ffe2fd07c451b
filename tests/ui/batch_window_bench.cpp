// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how the batch window copes with a large file: load and check,
// switching the problems-only display, scrolling and painting the grid, and
// the run, for a generated file of 100,000 rows (every tenth with an error,
// every seventh with a warning), then the save of the results in each
// format, with how long the window went without handling events:
//   QT_QPA_PLATFORM=offscreen zevra_batch_window_bench [rows]
#include "batch/gui/u_batch.h"
#include "batch/gui/u_batch_progress.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

#include <cstdio>
#include <sys/resource.h>

using namespace zevra;

namespace {

QString Row(int i) {
    const int unemployed = i % 10 == 0 ? 300 : 17;  // more than the active: an error
    const int inhabitants = i % 7 == 0 ? 450 : 934;  // under 500: a warning
    return QStringLiteral("Obec %1;%2;Vysočina;%3;250;%4;120;472;966.29;28;7;2.2;153;12;88;Ano\r\n")
        .arg(i)
        .arg(500000 + i)
        .arg(inhabitants)
        .arg(unemployed);
}

// The peak resident memory since the last reset (Linux: VmHWM, reset by
// writing 5 to clear_refs).
void ResetPeakMemory() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// A memory figure of /proc/self/status ("VmHWM:", "VmRSS:") in MB.
double StatusMb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

double Ms(QElapsedTimer& clock) {
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    InitNumberFormat();
#if defined(__OPTIMIZE__)
    std::printf("build: optimised\n");
#else
    std::printf("\n*** WARNING: unoptimised build, these figures are meaningless; use a Release build ***\n\n");
#endif
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velky.csv"));
    {
        QString text;
        for (int i = 1; i <= rows; ++i) text += Row(i);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(QByteArray::fromStdString(Utf8ToCp1250(text.toStdString())));
    }

    test::TScriptedDialogsScope dialogs;
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TfrmBatchProcessing window(model);
    window.show();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();

    test::Control<QLineEdit>(&window, "edInputFile")->setText(path);
    test::Control<QPushButton>(&window, "btLoadInput")->click();
    QApplication::processEvents();
    std::printf("rows %d: load and check %.0f ms (%s)\n", rows, Ms(clock),
                qPrintable(test::Control<QLabel>(&window, "lblErrorCount")->text()));
    std::printf("problems only: %d rows in the grid\n", test::Control<QTableView>(&window, "dbgInputData")->model()->rowCount());

    test::Control<QCheckBox>(&window, "chbProblemsOnly")->click();
    QApplication::processEvents();
    std::printf("all rows shown (%d): %.1f ms\n", test::Control<QTableView>(&window, "dbgInputData")->model()->rowCount(), Ms(clock));
    test::Control<QCheckBox>(&window, "chbProblemsOnly")->click();
    QApplication::processEvents();
    std::printf("problems only again (%d): %.1f ms\n", test::Control<QTableView>(&window, "dbgInputData")->model()->rowCount(), Ms(clock));
    test::Control<QCheckBox>(&window, "chbProblemsOnly")->click();

    QScrollBar* bar = test::Control<QTableView>(&window, "dbgInputData")->verticalScrollBar();
    const int pages = 200;
    clock.restart();
    for (int p = 0; p < pages; ++p) {
        bar->setValue(bar->maximum() * p / pages);
        test::Control<QTableView>(&window, "dbgInputData")->viewport()->grab();
    }
    std::printf("scroll and paint one screen of the grid: %.2f ms per screen (%d screens)\n", Ms(clock) / pages,
                pages);

    // The run needs a file without errors: only the warnings stay.
    {
        QString text;
        for (int i = 1; i <= rows; ++i) text += Row(i * 10 + 1);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(QByteArray::fromStdString(Utf8ToCp1250(text.toStdString())));
    }
    clock.restart();
    test::Control<QPushButton>(&window, "btLoadInput")->click();
    const double load = Ms(clock);
    test::Control<QPushButton>(&window, "btRunModel")->click();
    std::printf("clean file: load and check %.0f ms, run %.0f ms, %zu output rows\n", load, Ms(clock),
                window.Batch().OutputData().RowCount());
    // Each format saved from the window: its wall time, the longest the
    // event loop went without a turn (the window's responsiveness), and the
    // peak resident memory during the save.
    QTimer ticker;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
    });
    for (const char* name : {"vysledky.html", "vysledky.xlsx", "vysledky.json"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        test::Control<QLineEdit>(&window, "edOutputFile")->setText(target);
        ResetPeakMemory();
        const double before = StatusMb("VmRSS:");
        longestGap = 0;
        ticker.start(10);
        sinceTick.start();
        clock.restart();
        test::Control<QPushButton>(&window, "btSaveOutput")->click();
        const double ms = Ms(clock);
        longestGap = std::max(longestGap, sinceTick.elapsed());
        ticker.stop();
        std::printf("save %s: %.0f ms, %lld bytes, events waited at most %lld ms, resident %.1f MB before, "
                    "peak %.1f MB\n",
                    name, ms, static_cast<long long>(QFile(target).size()), static_cast<long long>(longestGap),
                    before, StatusMb("VmHWM:"));
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return dialogs->Requests.empty() ? 0 : 1;
}
