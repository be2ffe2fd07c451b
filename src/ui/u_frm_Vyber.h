// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmVyber: a small modal dialog that lets the user pick one line of a short
// list, optionally under a question.
#pragma once

#include <QDialog>
#include <QStringList>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zevra {

class TVUNORadioGroup;

class TfrmVyber : public QDialog {
    Q_OBJECT
public:
    // The client width of the dialog as designed; it never gets narrower.
    static constexpr int DesignClientWidth = 289;

    explicit TfrmVyber(QWidget* parent = nullptr);

    // Shows the dialog modally; the index of the chosen line, or -1 when the
    // dialog was cancelled or closed.
    static int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                          int initialIndex);

    // Fills the dialog as ShowChoice does before it is shown.
    void Prepare(const QString& caption, const QString& question, const QStringList& lines, int initialIndex);
    // ItemIndex of the list after the dialog closed with "&Vyber", else -1.
    int Choice() const;

    TVUNORadioGroup* rgVyber = nullptr;
    QGroupBox* gbOtazka = nullptr;
    QPlainTextEdit* mmOtazka = nullptr;
    QWidget* pn_B = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateOkButton();
    void FitToContent();
    int FClientWidth = DesignClientWidth;
};

}  // namespace zevra
