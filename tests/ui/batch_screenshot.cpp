// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the batch window after loading and running the shipped example
// with warnings:
//   QT_QPA_PLATFORM=offscreen zevra_batch_screenshot <output folder>
// writes batch-window.png there, and batch-window-dark.png in a dark palette.
#include "batch/gui/u_batch.h"
#include "model/u_model.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyleFactory>
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
    // The window after the example's run, with all rows listed: once in the
    // platform's light colours and once in a dark palette.
    const auto picture = [&](const QString& name) {
        TfrmBatchProcessing window(model);
        window.show();
        test::Control<QLineEdit>(&window, "edInputFile")->setText(test::ExampleFile(QStringLiteral("obce.csv")));
        test::Control<QPushButton>(&window, "btLoadInput")->click();
        test::Control<QPushButton>(&window, "btRunModel")->click();
        test::Control<QCheckBox>(&window, "chbProblemsOnly")->setChecked(false);
        // Short names in the picture.
        test::Control<QLineEdit>(&window, "edInputFile")->setText(QStringLiteral("obce.csv"));
        test::Control<QLineEdit>(&window, "edOutputFile")->setText(QStringLiteral("obce.xlsx"));
        auto* grid = test::Control<QTableView>(&window, "dbgInputData");
        grid->setCurrentIndex(grid->model()->index(0, 0));
        grid->setFocus();
        QApplication::processEvents();
        test::ShowInstalledDataDir(&window, QStringLiteral(ZEVRA_TEST_DATA_DIR));
        const QString file = out.filePath(name);
        const bool saved = dialogs->Requests.empty() && window.grab().save(file);
        std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(file));
        return saved;
    };
    bool saved = picture(QStringLiteral("batch-window.png"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The grid's alternate rows in the window's own grey.
    QPalette dark = test::DarkPalette();
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    QApplication::setPalette(dark);
    saved = picture(QStringLiteral("batch-window-dark.png")) && saved;
    return saved ? 0 : 1;
}
