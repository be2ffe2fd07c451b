// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the window tests: a reference data set with known lookup cases
// and the scripted dialogs installed for the life of a test object.
#pragma once

#include "scripted_dialogs.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace zevra::test {

// The shipped reference data copied into a temporary folder, with extra
// municipalities appended to the list: "Jedinov" once (code 999001),
// "Dvojnice" 14 times (codes 999101 ... 999114, districts "Okres 1" ...),
// "Mnohov" 15 times.
class TTestDataDir {
public:
    TTestDataDir();
    std::string Path() const { return FDir.path().toStdString(); }
    QString File(const QString& name) const { return FDir.filePath(name); }

private:
    QTemporaryDir FDir;
};

// Installs TScriptedDialogs as the process's dialogs; the previous ones come
// back when the object goes.
class TScriptedDialogsScope {
public:
    TScriptedDialogsScope();
    ~TScriptedDialogsScope();
    TScriptedDialogs& operator*() { return *FDialogs; }
    TScriptedDialogs* operator->() { return FDialogs; }

private:
    TScriptedDialogs* FDialogs = nullptr;
    std::unique_ptr<IDialogs> FPrevious;
};

// The example input files shipped with the program.
QString ExampleFile(const QString& name);

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

}  // namespace zevra::test
