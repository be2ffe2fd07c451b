// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every page of the wizard, and the choice dialog, into PNG files:
//   QT_QPA_PLATFORM=offscreen zevra_screenshots <output folder> [--icon <png>]
// The wizard is filled with the shipped example "obec.txt" and walked to its
// report as a user would. Two more pictures: a laptop's 1366 x 768 screen
// with the wizard and the profile window opened over it
// (zevra-1366x768.png), and an input page in a dark theme (zevra-tmave.png).
#include "model/u_format.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "ui/u_frm_Profil.h"
#include "ui/u_frm_Vyber.h"
#include "gui/u_logo.h"
#include "gui/u_screen_fit.h"
#include "ui/u_main.h"

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextStream>

#include <cstdio>
#include <vector>

using namespace zevra;

namespace {

bool Save(QWidget& widget, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    const bool saved = widget.grab().save(dir.filePath(name));
    std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(dir.filePath(name)));
    return saved;
}

// The windows as they stand on their screen, drawn on a plain desktop.
bool SaveScreen(const std::vector<QWidget*>& windows, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    const QRect area = windows.front()->screen()->geometry();
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(QColor(70, 90, 110));
    QPainter painter(&image);
    for (QWidget* window : windows) painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    painter.end();
    const bool saved = image.save(dir.filePath(name));
    std::printf("%s %s\n", saved ? "written" : "FAILED", qPrintable(dir.filePath(name)));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    // A laptop's screen, 1366 x 768.
    const test::TScreenSize laptop(QSize(1366, 768));
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
    // The first input page filled with the example, as after loading it.
    const auto fillExample = [](TfrmMain& wizard) {
        test::Control<QPushButton>(&wizard, "btNext")->click();
        wizard.Model().LoadInput(test::ExampleFile(QStringLiteral("obec.txt")).toStdString());
        wizard.InputToControls();
    };
    TfrmMain window(data.Path());
    test::ShowInstalledDataDir(&window, QString::fromStdString(data.Path()));
    window.show();
    bool ok = Save(window, out, QStringLiteral("zevra-1-uvod.png"));
    fillExample(window);
    ok &= Save(window, out, QStringLiteral("zevra-2-vstupni-data-1.png"));
    for (const char* page : {"zevra-3-vstupni-data-2.png", "zevra-4-vstupni-data-3.png", "zevra-5-kontrola-vstupu.png",
                             "zevra-6-vysledek.png"}) {
        test::Control<QPushButton>(&window, "btNext")->click();
        ok &= Save(window, out, QString::fromLatin1(page));
    }

    // The laptop: the wizard centred, the profile window over it, both
    // inside the screen with every button in reach.
    FitToScreen(&window, window.size());
    {
        TfrmProfil profile(window.Model(), &window);
        profile.dbgPodobneObce->selectRow(0);
        profile.show();
        ok &= SaveScreen({&window, &profile}, out, QStringLiteral("zevra-1366x768.png"));
    }

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

    // A dark theme: the first input page with its note and its caption.
    QApplication::setPalette(test::DarkPalette());
    {
        TfrmMain dark(data.Path());
        dark.show();
        fillExample(dark);
        ok &= Save(dark, out, QStringLiteral("zevra-tmave.png"));
    }
    return ok ? 0 : 1;
}
