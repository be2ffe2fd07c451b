// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard tests' common ground: a wizard over the demonstration data with
// scripted dialogs, and the steps most tests begin with.
#pragma once

#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_text.h"
#include "ui_test_support.h"
#include "wizard_controls.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"
#include "ui/u_main.h"
#include "ui/u_numedit.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <QTemporaryDir>

#include <memory>

namespace zevra::test {

inline void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The wizard of one test over the demonstration data, with scripted dialogs;
// the test classes call Start/End from their initTestCase/init/cleanup slots.
class TWizardFixture : public TWizardControls {
protected:
    using TType = TScriptedDialogs::TRequest::TType;
    using M = TfrmMain;

    std::unique_ptr<TTestDataDir> FData;
    std::unique_ptr<TScriptedDialogsScope> FDialogs;
    QTemporaryDir FOut;

    TScriptedDialogs& Dialogs() { return **FDialogs; }

    QList<int> VisibleTabs() const {
        QList<int> tabs;
        for (int i = 0; i < M::PageCount; ++i)
            if (w->IsTabVisible(static_cast<M::TPage>(i))) tabs << i;
        return tabs;
    }

    // Loads the shipped example through the load button.
    void LoadExample() {
        Dialogs().FileAnswers.push_back(ExampleFile(QStringLiteral("obec.txt")));
        btLoadInputData()->click();
    }

    void GoToPage(M::TPage page) {
        while (w->ActivePage() < page && btNext()->isEnabled()) btNext()->click();
        QCOMPARE(w->ActivePage(), static_cast<int>(page));
    }

    void EvaluateExample() {
        btNext()->click();
        LoadExample();
        GoToPage(M::tsOutput);
        QVERIFY(w->Model().Output());
    }

    void LeaveNameField(const QString& typed) {
        edNazevObce()->setText(typed);
        edKodObce()->setFocus(Qt::TabFocusReason);
    }

    void StartTestCase() {
        SetThousandSeparator(" ");
        FData = std::make_unique<TTestDataDir>();
    }

    void StartTest() {
        FDialogs = std::make_unique<TScriptedDialogsScope>();
        w = std::make_unique<TfrmMain>(FData->Path());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void EndTest() {
        w.reset();
        FDialogs.reset();
    }
};

}  // namespace zevra::test
