// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TDelayedProgress: feedback for the long loops of the batch window. It
// takes the batch core's progress reports and shows a modal progress dialog
// only once an operation has lasted longer than the delay (half a second by
// default); quick operations show nothing. It never changes what the loop
// does.
#pragma once

#include "batch/core/u_batchcore.h"

#include <QElapsedTimer>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace zevra {

class TDelayedProgress {
public:
    TDelayedProgress(QWidget* owner, QString label);
    ~TDelayedProgress();
    TDelayedProgress(const TDelayedProgress&) = delete;
    TDelayedProgress& operator=(const TDelayedProgress&) = delete;

    // The callback to hand to the core; valid while this object lives.
    TBatchProgress Callback();
    bool WasShown() const { return FShown; }

    // Milliseconds before the dialog appears (for tests; 0 shows it at the
    // first report).
    static int Delay();
    static void SetDelay(int milliseconds);

private:
    void Report(std::size_t done, std::size_t total);

    QWidget* FOwner;
    QString FLabel;
    QElapsedTimer FClock;
    qint64 FLastUpdate = 0;
    bool FShown = false;
    std::unique_ptr<QProgressDialog> FDialog;
};

// Runs `work` on a thread of its own, so that the window stays responsive
// while a long write goes on: after a short wait the owner is disabled (no
// click reaches it, none is kept for later) and a modal dialog shows the
// progress `work` reports and offers to cancel. A cancel stops `work` at its
// next progress report by an exception that it passes on; the writers then
// leave no file behind. Returns false when cancelled so; rethrows any other
// exception of `work`. `work` must not touch a window.
bool RunOffGuiThread(QWidget* owner, const QString& label, const std::function<void(const TBatchProgress&)>& work);

}  // namespace zevra
