// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_batch_progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProgressDialog>

namespace zevra {

namespace {

constexpr int Steps = 1000;
constexpr qint64 UpdateInterval = 50;  // ms between two repaints of the bar

// The loops cannot be undone half-way, so the dialog offers no way out: Esc
// and the title bar's close button would only hide it while the loop goes
// on.
class TUncancellableProgress : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QProgressDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void reject() override {}
};

int& DelaySetting() {
    static int delay = 500;
    return delay;
}

}  // namespace

int TDelayedProgress::Delay() { return DelaySetting(); }

void TDelayedProgress::SetDelay(int milliseconds) { DelaySetting() = milliseconds < 0 ? 0 : milliseconds; }

TDelayedProgress::TDelayedProgress(QWidget* owner, QString label) : FOwner(owner), FLabel(std::move(label)) {
    FClock.start();
}

TDelayedProgress::~TDelayedProgress() = default;

TBatchProgress TDelayedProgress::Callback() {
    return [this](std::size_t done, std::size_t total) { Report(done, total); };
}

void TDelayedProgress::Report(std::size_t done, std::size_t total) {
    const qint64 now = FClock.elapsed();
    if (!FDialog) {
        if (now < Delay()) return;
        FDialog = std::make_unique<TUncancellableProgress>(FLabel, QString(), 0, Steps, FOwner);
        FDialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        FDialog->setWindowTitle(QStringLiteral("Hromadné zpracování"));
        // Wide enough for the whole title next to the window manager's buttons.
        FDialog->setMinimumWidth(FDialog->fontMetrics().horizontalAdvance(FDialog->windowTitle()) * 2 + 160);
        FDialog->setWindowModality(Qt::ApplicationModal);
        FDialog->setCancelButton(nullptr);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        FDialog->setMinimumDuration(0);
        FDialog->show();
        FShown = true;
    } else if (now - FLastUpdate < UpdateInterval && done < total) {
        return;
    }
    FLastUpdate = now;
    const int value = total == 0 ? Steps : static_cast<int>(static_cast<double>(done) * Steps / static_cast<double>(total));
    FDialog->setValue(value);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zevra
