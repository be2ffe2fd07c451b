// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the profile window for the shipped example "znevyhodnena-obec.txt",
// with its first similar municipality selected, into a PNG file:
//   QT_QPA_PLATFORM=offscreen zevra_profile_screenshot <output folder>
#include "gui/u_application.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "ui/u_frm_Profil.h"
#include "ui_test_support.h"

#include <QDir>
#include <QTableWidget>

#include <cstdio>

using namespace zevra;

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: zevra_profile_screenshot <output folder>\n");
        return 2;
    }
    InitNumberFormat();
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    model.LoadInput(test::ExampleFile(QStringLiteral("znevyhodnena-obec.txt")).toStdString());
    model.Evaluate();
    TfrmProfil window(model);
    window.dbgPodobneObce->selectRow(0);
    window.show();
    QApplication::processEvents();
    const QString path = QDir(app.arguments()[1]).filePath(QStringLiteral("zevra-7-profil-obce.png"));
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(path));
    return saved ? 0 : 1;
}
