// zevra: the desktop wizard of the ZEVRA evaluation model.
#include "app/u_app_dialogs.h"
#include "batch/gui/u_batch.h"
#include "model/u_paths.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"
#include "gui/u_logo.h"
#include "ui/u_main.h"

#include <QScreen>

#include <exception>
#include <memory>

int main(int argc, char** argv) {
    zevra::TZevraApplication app(argc, argv);
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
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->SetBatchProcessing([](QWidget&, zevra::TZevraModel& model) {
        zevra::TfrmBatchProcessing::ShowBatchProcessing(model);
    });
    window->show();
    return app.exec();
}
