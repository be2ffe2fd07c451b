// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Reaching a window's controls by their object names, as a user finds them
// by their labels: the tests need no access to the window's members.
#pragma once

#include <QTest>
#include <QWidget>

namespace zevra::test {

// The child of `window` named `name`; fails the running test (and returns
// null) when there is none of that type.
template <typename T>
T* Control(const QObject* window, const char* name) {
    T* control = window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    if (!control)
        QTest::qFail(qPrintable(QStringLiteral("no control %1 of the wanted type").arg(QString::fromLatin1(name))),
                     __FILE__, __LINE__);
    return control;
}

}  // namespace zevra::test
