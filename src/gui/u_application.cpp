// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_application.h"

#include "model/u_format.h"
#include "gui/u_gui_functions.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>
#include <cstdlib>
#include <exception>
#include <memory>

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

bool InstallCzechTranslation() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    translator = loaded.release();
    QCoreApplication::installTranslator(translator);
    return true;
}

bool HasGraphicalSession() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace zevra
