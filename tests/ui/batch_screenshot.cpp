// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the batch window after loading the shipped example with warnings:
//   QT_QPA_PLATFORM=offscreen zevra_batch_screenshot <output folder>
// writes batch-window.png there.
#include "batch/gui/u_batch.h"
#include "model/u_model.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <cstdio>

using namespace zevra;

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zevra_batch_screenshot <output folder>\n");
        return 2;
    }
    InitNumberFormat();
    const QDir out(args.at(1));
    QDir().mkpath(out.path());

    test::TScriptedDialogsScope dialogs;
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TfrmBatchProcessing window(model);
    window.show();
    test::Control<QLineEdit>(&window, "edInputFile")->setText(test::ExampleFile(QStringLiteral("obce.csv")));
    test::Control<QPushButton>(&window, "btLoadInput")->click();
    test::Control<QLineEdit>(&window, "edInputFile")->setText(QStringLiteral("obce.csv"));  // short name in the picture
    test::Control<QTableView>(&window, "dbgInputData")->setCurrentIndex(test::Control<QTableView>(&window, "dbgInputData")->model()->index(1, 0));
    test::Control<QTableView>(&window, "dbgInputData")->setFocus();
    QApplication::processEvents();
    const QString file = out.filePath(QStringLiteral("batch-window.png"));
    const bool saved = !dialogs->Requests.size() && window.grab().save(file);
    std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(file));
    return saved ? 0 : 1;
}
