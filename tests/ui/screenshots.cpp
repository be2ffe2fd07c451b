// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every page of the wizard, and the choice dialog, into PNG files:
//   QT_QPA_PLATFORM=offscreen zevra_screenshots <output folder> [--icon <png>]
// The wizard is filled with the shipped example "obec.txt" and walked to its
// report as a user would.
#include "model/u_format.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "ui/u_frm_Vyber.h"
#include "gui/u_logo.h"
#include "ui/u_main.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

using namespace zevra;

namespace {

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    const bool saved = widget.grab().save(dir.filePath(name));
    std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(dir.filePath(name)));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    TZevraApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zevra_screenshots <output folder> [--icon <png>]\n");
        return 2;
    }
    InitNumberFormat();
    if (!InstallCzechTranslation()) std::fprintf(stderr, "warning: Qt's Czech translation is not installed\n");
    // The pictures show the Czech grouping (a non-breaking space).
    SetThousandSeparator("\xC2\xA0");
    const QDir out(args.at(1));
    QDir().mkpath(out.path());
    if (const qsizetype icon = args.indexOf(QStringLiteral("--icon")); icon > 0 && icon + 1 < args.size())
        ZevraIconPixmap(48).save(args.at(icon + 1));

    test::TScriptedDialogsScope dialogs;
    test::TTestDataDir data;
    TfrmMain window(data.Path());
    window.show();
    bool ok = Save(window, out, QStringLiteral("zevra-1-uvod.png"));
    test::Control<QPushButton>(&window, "btNext")->click();
    window.Model().LoadInput(test::ExampleFile(QStringLiteral("obec.txt")).toStdString());
    window.InputToControls();
    ok &= Save(window, out, QStringLiteral("zevra-2-vstupni-data-1.png"));
    test::Control<QPushButton>(&window, "btNext")->click();
    ok &= Save(window, out, QStringLiteral("zevra-3-vstupni-data-2.png"));
    test::Control<QPushButton>(&window, "btNext")->click();
    ok &= Save(window, out, QStringLiteral("zevra-4-vstupni-data-3.png"));
    test::Control<QPushButton>(&window, "btNext")->click();
    ok &= Save(window, out, QStringLiteral("zevra-5-kontrola-vstupu.png"));
    test::Control<QPushButton>(&window, "btNext")->click();
    ok &= Save(window, out, QStringLiteral("zevra-6-vysledek.png"));

    TfrmVyber choice;
    choice.Prepare(QStringLiteral("Výběr obce"),
                   QStringLiteral("Podle názvu připadá do úvahy více možností. Vyberte prosím, o kterou obec se jedná"),
                   {QStringLiteral("Lhota (okr. Kladno)"), QStringLiteral("Lhota (okr. Plzeň-jih)"),
                    QStringLiteral("Lhota (okr. Zlín)")},
                   0);
    choice.show();
    ok &= Save(choice, out, QStringLiteral("zevra-vyber-obce.png"));

    // A question as the program asks it, with Qt's buttons in Czech.
    QMessageBox question(QMessageBox::Question, QStringLiteral("Otázka"),
                         QStringLiteral("Opravdu si přejete ukončit aplikaci?"), QMessageBox::Yes | QMessageBox::No);
    question.setDefaultButton(QMessageBox::No);
    question.show();
    ok &= Save(question, out, QStringLiteral("zevra-otazka.png"));
    return ok ? 0 : 1;
}
