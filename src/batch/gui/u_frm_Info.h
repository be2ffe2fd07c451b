// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmInfo: a resizable text window with a heading above a read-only memo and
// an "Ok" button; the batch window shows the check results of one row in it.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zevra {

class TfrmInfo : public QDialog {
public:
    static constexpr int DesignWidth = 600;
    static constexpr int DesignHeight = 437;

    explicit TfrmInfo(QWidget* parent = nullptr);

    // Creates the window with the caller's caption, heading and text (CR LF
    // or LF separated lines), shows it modally and destroys it.
    static void ShowInfoText(const QString& caption, const QString& heading, const QString& text);

    // Fills the window as ShowInfoText does, without showing it.
    void SetContent(const QString& caption, const QString& heading, const QString& text);

    QLabel* lblLabel = nullptr;
    QPlainTextEdit* mmInfo = nullptr;
    QPushButton* btOk = nullptr;
};

// Shrinks a window that is larger than its screen's available area to fit
// it, and centres it there (the text window and the problem list).
void FitAndCentreOnScreen(QWidget& window);

}  // namespace zevra
