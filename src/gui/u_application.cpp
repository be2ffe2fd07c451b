#include "gui/u_application.h"

#include "model/u_format.h"
#include "gui/u_gui_functions.h"

#include <clocale>
#include <exception>

namespace zevra {

TZevraApplication::TZevraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("ZEVRAModel"));
}

bool TZevraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowApplicationError(ToQ(e.what()));
    }
    return false;
}

void InitNumberFormat() {
    std::setlocale(LC_ALL, "");
    UseLocaleThousandSeparator();
}

}  // namespace zevra
