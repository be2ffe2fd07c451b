// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: titled "ZEVRAModel"; an exception that escapes an
// event handler is shown in the application's error box and the application
// goes on.
#pragma once

#include <QApplication>

namespace zevra {

class TZevraApplication : public QApplication {
    Q_OBJECT
public:
    TZevraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Sets the number format of the process: the locale's thousands separator
// (the decimal separator of every conversion is always ".").
void InitNumberFormat();

// Installs Qt's own Czech texts (the "Ano"/"Ne" of the question boxes, the
// file dialogs, the fields' context menus) whatever the user's locale: the
// whole interface is Czech. False when the translation is not installed;
// the program then goes on with Qt's English texts.
bool InstallCzechTranslation();

// True when a graphical session can be reached (an X or Wayland display, or
// a platform chosen explicitly); checked before the application object is
// made, as Qt aborts without one.
bool HasGraphicalSession();

}  // namespace zevra
