// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra: the desktop wizard of the ZEVRA evaluation model.
#include "app/u_app_dialogs.h"
#include "batch/gui/u_batch.h"
#include "model/u_paths.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"
#include "gui/u_logo.h"
#include "gui/u_screen_fit.h"
#include "ui/u_main.h"

#include <QTimer>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    // --help and --version answer on the terminal and need no display, so
    // they are handled before the application (and its window system) starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("Použití: zevra [--help] [--version]\n"
                       "Průvodce hodnocením malé obce modelem ZEVRA (MOXAN).\n"
                       "Hromadné zpracování a práce z příkazové řádky: zevra-cli --help.\n", stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            // An incomplete user data folder is an error here too: the answer
            // must not name data the program would refuse to start with.
            std::string dataDir;
            try {
                dataDir = zevra::LocateDataDir();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "zevra: %s\n", e.what());
                return 2;
            }
            std::printf("zevra %s\nReferenční data: %s%s\n", ZEVRA_VERSION_TEXT, dataDir.c_str(),
                        zevra::IsDemonstrationData(dataDir) ? " (demonstrační data)" : "");
            return 0;
        }
    }
    if (!zevra::HasGraphicalSession()) {
        std::fputs("zevra: program potřebuje grafické prostředí (nenalezen displej X ani Wayland).\n", stderr);
        return 1;
    }
    zevra::TZevraApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.moxan.zevra"));  // Wayland app id: the dock finds the entry
    zevra::InstallCzechTranslation();
    zevra::SetDialogs(std::make_unique<zevra::TAppDialogs>());
    app.setWindowIcon(zevra::ZevraIcon());
    zevra::InitNumberFormat();
    std::unique_ptr<zevra::TfrmMain> window;
    try {
        window = std::make_unique<zevra::TfrmMain>(zevra::LocateDataDir());
    } catch (const std::exception& e) {
        // The wizard is of no use without its reference data.
        zevra::ShowApplicationError(zevra::ToQ(e.what()));
        return 1;
    }
    zevra::FitToScreen(window.get(), window->size());
    window->SetBatchProcessing([](QWidget&, zevra::TZevraModel& model) {
        zevra::TfrmBatchProcessing::ShowBatchProcessing(model);
    });
    window->show();
    // The window manager adds the frame only once the window is mapped:
    // fit and centre again when its size is known.
    QTimer::singleShot(0, window.get(), [w = window.get()] { zevra::FitToScreen(w, w->size()); });
    return app.exec();
}
