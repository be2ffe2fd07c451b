// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmCompositeException: the modal dialog that lists every problem of an
// ECompositeException, one line each ("Řádek 3: message").
#pragma once

#include <QColor>
#include <QDialog>
#include <QStringList>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zevra {

class ECompositeException;

class TfrmCompositeException : public QDialog {
public:
    static constexpr int DesignWidth = 492;
    static constexpr int DesignHeight = 273;

    explicit TfrmCompositeException(QWidget* owner = nullptr);

    // Creates the dialog owned by `owner`, fills it from `e` (none gives an
    // empty list), shows it modally, destroys it and returns the modal result.
    static int ShowComposite(const ECompositeException* e, QWidget* owner);

    // Replaces the list by one line per entry of `e`, in entry order.
    void FillProblems(const ECompositeException* e);
    QStringList ProblemLines() const;

    QGroupBox* gbProblemy = nullptr;
    QPlainTextEdit* mmErrors = nullptr;
    QWidget* pnB = nullptr;
    QPushButton* btOk = nullptr;
};

// The problem lines of a composite ("context: message"), in entry order.
QStringList CompositeLines(const ECompositeException& e);

// The grey of the batch windows' button bands; a little lighter than the
// window in a dark theme, so that the band's text stays readable.
QColor ButtonBandColor(const QWidget* window);

}  // namespace zevra
