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
#include <utility>

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

namespace {

// Qt's own words that its Czech catalogue lacks: the type column of the
// file dialog ("Folder"). Asked before the catalogue; anything else falls
// through to it.
class TMissingCzechWords : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileIconProvider") != 0)
            return QString();
        static const std::pair<const char*, const char*> words[] = {
            {"Folder", "Složka"}, {"File Folder", "Složka"}, {"Drive", "Jednotka"},
            {"Shortcut", "Zástupce"}, {"Alias", "Zástupce"},   {"Unknown", "Neznámý"}};
        for (const auto& [english, czech] : words)
            if (qstrcmp(sourceText, english) == 0) return QString::fromUtf8(czech);
        return QString();
    }
};

}  // namespace

bool InstallCzechTranslation() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    translator = loaded.release();
    QCoreApplication::installTranslator(translator);
    // Installed last, asked first.
    QCoreApplication::installTranslator(new TMissingCzechWords);
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
