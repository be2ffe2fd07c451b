// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_batch_progress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

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

namespace {

// Thrown from the progress report of a cancelled write; not a
// std::exception, so that no writer takes it for an error of its own.
struct TWriteCancelled {};

// A wait this short shows nothing: a small table is written before the
// user could notice.
constexpr auto QuietWait = std::chrono::milliseconds(150);

}  // namespace

bool RunOffGuiThread(QWidget* owner, const QString& label, const std::function<void(const TBatchProgress&)>& work) {
    struct TShared {
        std::atomic<std::size_t> Done{0};
        std::atomic<std::size_t> Total{0};
        std::atomic<bool> Cancel{false};
    };
    auto shared = std::make_shared<TShared>();
    std::promise<void> finished;
    std::future<void> result = finished.get_future();
    std::thread worker([shared, &work, done = std::move(finished)]() mutable {
        try {
            work([shared](std::size_t rows, std::size_t total) {
                shared->Done = rows;
                shared->Total = total;
                if (shared->Cancel) throw TWriteCancelled{};
            });
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    if (result.wait_for(QuietWait) != std::future_status::ready) {
        const bool wasEnabled = owner && owner->isEnabled();
        if (owner) owner->setEnabled(false);
        QProgressDialog dialog(label, QStringLiteral("Zrušit"), 0, 0, owner);
        dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        dialog.setWindowTitle(QStringLiteral("Hromadné zpracování"));
        dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 2 + 160);
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        dialog.setMinimumDuration(0);
        // The cancel button, Esc and the title bar's close button all cancel.
        QObject::connect(&dialog, &QProgressDialog::canceled, [shared] { shared->Cancel = true; });
        QObject::connect(&dialog, &QDialog::rejected, [shared] { shared->Cancel = true; });
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (result.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                loop.quit();
                return;
            }
            // Until the writer reports, the bar only shows that it works.
            const std::size_t total = shared->Total;
            if (total > 0 && dialog.maximum() == 0) dialog.setRange(0, Steps);
            if (total > 0)
                dialog.setValue(static_cast<int>(static_cast<double>(shared->Done) * Steps / static_cast<double>(total)));
        });
        poll.start(UpdateInterval);
        dialog.show();
        loop.exec();
        poll.stop();
        dialog.hide();
        if (owner) owner->setEnabled(wasEnabled);
    }
    worker.join();
    try {
        result.get();
    } catch (const TWriteCancelled&) {
        return false;
    }
    return true;
}

}  // namespace zevra
