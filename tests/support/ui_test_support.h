// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the window tests: a reference data set with known lookup cases,
// the scripted dialogs installed for the life of a test object, the offscreen
// screen of a given size, the check that a window stays on it, a dark palette.
#pragma once

#include "scripted_dialogs.h"

#include <QPalette>
#include <QSize>
#include <QTemporaryDir>
#include <QWidget>

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

// Gives the offscreen platform one screen of `size` (at 96 dpi): made before
// the application object, kept while it lives. Another platform named in
// QT_QPA_PLATFORM is left as it is.
class TScreenSize {
public:
    explicit TScreenSize(QSize size);

private:
    QTemporaryDir FDir;
};

// Fails the running test unless `window`'s frame lies inside the available
// area of its screen; `what` names it in the message.
void VerifyOnScreen(const QWidget* window, const QString& what);

// A dark theme's colours, as a user's desktop may set them.
QPalette DarkPalette();

// For a picture of the documentation: the reference data folder that
// `window`'s label "lblDataDir" names shown as an installed package names it,
// not as the test's own folder `testDir`.
void ShowInstalledDataDir(QWidget* window, const QString& testDir);

// The example input files shipped with the program.
QString ExampleFile(const QString& name);

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

}  // namespace zevra::test
