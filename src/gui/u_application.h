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

}  // namespace zevra
