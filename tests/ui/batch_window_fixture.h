// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window tests' common ground: a window over the demonstration
// data with scripted dialogs, batch files written for a test, and a watch on
// the progress dialogs.
#pragma once

#include "batch/gui/u_batch.h"
#include "batch/gui/u_batch_progress.h"
#include "batch/core/u_exception_functions.h"
#include "batch/gui/u_frm_CompositeException.h"
#include "batch/gui/u_frm_Info.h"
#include "batch/gui/u_memtable_model.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "ui_controls.h"
#include "ui_test_support.h"
#include "gui/u_application.h"
#include "gui/u_gui_functions.h"

#include <QCheckBox>
#include <QFrame>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>


#include <memory>

namespace zevra::test {

// Writes UTF-8 text as a batch file (code page 1250, CR LF).
inline void WriteBatchFile(const QString& path, const QString& utf8Lines) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QString text = utf8Lines;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    file.write(QByteArray::fromStdString(Utf8ToCp1250(text.toStdString())));
}

inline const QString CleanRow = QStringLiteral("Věžnice u Třebíče;566594;Vysočina;934;455;17;280;472;966.29;28;7;2.2;153;12;88;Ano\n");
// More unemployed than economically active: an input error.
inline const QString ErrorRow = QStringLiteral("Chybov;566595;Vysočina;934;455;500;280;472;966.29;28;7;2.2;153;12;88;Ano\n");

// Counts progress dialogs that were shown.
class TProgressWatch : public QObject {
public:
    int Shown = 0;
    int Dismissed = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog) return false;
        ++Shown;
        // The loop goes on whatever the user does: Esc and the close button
        // must not hide the dialog as if the work had stopped.
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &esc);
        QCloseEvent close;
        QCoreApplication::sendEvent(dialog, &close);
        if (dialog->wasCanceled() || dialog->isHidden()) ++Dismissed;
        return false;
    }
};

// The batch window of one test, its dialogs, output folder and the files it
// opened, over the demonstration reference data; the test classes call
// Start/End from their initTestCase/init/cleanup slots.
class TBatchWindowFixture {
protected:
    using TType = TScriptedDialogs::TRequest::TType;
    using B = TfrmBatchProcessing;

    std::unique_ptr<TTestDataDir> FData;
    std::unique_ptr<TZevraModel> FModel;
    std::unique_ptr<TScriptedDialogsScope> FDialogs;
    std::unique_ptr<B> w;
    std::unique_ptr<QTemporaryDir> FOut;
    QStringList FOpened;
    bool FOpenerWorks = true;  // false: as if no program could show the file
    B::TFileOpener FPreviousOpener;

    TScriptedDialogs& Dialogs() { return **FDialogs; }

    // The window's controls, found by their object names.
    QGroupBox* gbInput() const { return Control<QGroupBox>(w.get(), "gbInput"); }
    QGroupBox* gbPreview() const { return Control<QGroupBox>(w.get(), "gbPreview"); }
    QGroupBox* gbOutput() const { return Control<QGroupBox>(w.get(), "gbOutput"); }
    QLineEdit* edInputFile() const { return Control<QLineEdit>(w.get(), "edInputFile"); }
    QLineEdit* edOutputFile() const { return Control<QLineEdit>(w.get(), "edOutputFile"); }
    QPushButton* btChooseInput() const { return Control<QPushButton>(w.get(), "btChooseInput"); }
    QPushButton* btLoadInput() const { return Control<QPushButton>(w.get(), "btLoadInput"); }
    QPushButton* btValidationDetail() const { return Control<QPushButton>(w.get(), "btValidationDetail"); }
    QPushButton* btRunModel() const { return Control<QPushButton>(w.get(), "btRunModel"); }
    QPushButton* btChooseOutput() const { return Control<QPushButton>(w.get(), "btChooseOutput"); }
    QPushButton* btSaveOutput() const { return Control<QPushButton>(w.get(), "btSaveOutput"); }
    QPushButton* btClose() const { return Control<QPushButton>(w.get(), "btClose"); }
    QLabel* lblErrorCount() const { return Control<QLabel>(w.get(), "lblErrorCount"); }
    QWidget* pnPreview_C() const { return Control<QWidget>(w.get(), "pnPreview_C"); }
    QWidget* pnPreviewStatus() const { return Control<QWidget>(w.get(), "pnPreviewStatus"); }
    QWidget* pnOutput_C() const { return Control<QWidget>(w.get(), "pnOutput_C"); }
    QWidget* pnButtons() const { return Control<QWidget>(w.get(), "pnButtons"); }
    QTableView* dbgInputData() const { return Control<QTableView>(w.get(), "dbgInputData"); }
    QFrame* shpWarning() const { return Control<QFrame>(w.get(), "shpWarning"); }
    QFrame* shpError() const { return Control<QFrame>(w.get(), "shpError"); }
    QCheckBox* chbProblemsOnly() const { return Control<QCheckBox>(w.get(), "chbProblemsOnly"); }
    QCheckBox* chbOpenOutput() const { return Control<QCheckBox>(w.get(), "chbOpenOutput"); }

    QString OutFile(const QString& name) const { return FOut->filePath(name); }

    void Load(const QString& path) {
        edInputFile()->setText(path);
        btLoadInput()->click();
    }

    void SetProblemsOnly(bool on) {
        if (chbProblemsOnly()->isChecked() != on) chbProblemsOnly()->click();
        QCOMPARE(chbProblemsOnly()->isChecked(), on);
    }

    // The messages shown so far as "caption|text".
    QStringList Messages() const {
        QStringList result;
        for (const auto& r : (**FDialogs).RequestsOf(TType::Message)) result << r.Caption + QLatin1Char('|') + r.Text;
        return result;
    }

    int GridRows() const { return dbgInputData()->model()->rowCount(); }
    QVariant Background(int viewRow) const {
        return dbgInputData()->model()->index(viewRow, 0).data(Qt::BackgroundRole);
    }
    int ViewRowOf(const QString& obec) const {
        const auto* model = dbgInputData()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == obec) return r;
        return -1;
    }
    void SelectRow(int viewRow) {
        QVERIFY(viewRow >= 0);
        dbgInputData()->setCurrentIndex(dbgInputData()->model()->index(viewRow, 1));
    }

    void StartTestCase() {
        FData = std::make_unique<TTestDataDir>();
        FModel = std::make_unique<TZevraModel>(FData->Path());
        FPreviousOpener = B::SetFileOpener([this](const QString& name) {
            FOpened << name;
            return FOpenerWorks;
        });
    }
    void EndTestCase() { B::SetFileOpener(std::move(FPreviousOpener)); }

    void StartTest() {
        FDialogs = std::make_unique<TScriptedDialogsScope>();
        FOut = std::make_unique<QTemporaryDir>();
        FOpened.clear();
        FOpenerWorks = true;
        w = std::make_unique<B>(*FModel);
        w->show();
    }
    void EndTest() {
        w.reset();
        FDialogs.reset();
        TDelayedProgress::SetDelay(500);
    }
};

}  // namespace zevra::test
