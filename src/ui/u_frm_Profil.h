// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmProfil: the profile of the evaluated municipality, opened from the
// result page: the decile chart, how robust the band is to the weights, the
// similar municipalities and, for the one selected, its deciles beside ours
// and each indicator's share of the similarity distance. The chart can be
// saved as PNG or SVG and copied as an image.
#pragma once

#include "model/u_sensitivity.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zevra {

class TDecileChart;
class TZevraModel;

class TfrmProfil : public QDialog {
    Q_OBJECT
public:
    // The model must have a current Output; it is only read.
    explicit TfrmProfil(const TZevraModel& model, QWidget* parent = nullptr);

    // The size it opens in when the screen has room for it.
    static constexpr QSize DefaultSize{1040, 780};

    // Creates the window, shows it modally and destroys it.
    static void ShowProfile(const TZevraModel& model, QWidget* parent);

    // The similar municipality whose deciles are drawn beside ours (-1: none).
    void SelectSimilar(int index);

    // The chart's picture as saved and copied.
    QImage ChartImage() const;
    QByteArray ChartPng() const;
    QByteArray ChartSvg() const;

    TDecileChart* chDecily = nullptr;
    QLabel* lblCitlivost = nullptr;
    QTableWidget* dbgPodobneObce = nullptr;
    QTableWidget* dbgPodily = nullptr;
    QPushButton* btSavePng = nullptr;
    QPushButton* btSaveSvg = nullptr;
    QPushButton* btCopyImage = nullptr;
    QPushButton* btClose = nullptr;

private:
    void btSavePngClick();
    void btSaveSvgClick();
    void btCopyImageClick();
    void SaveChart(const QString& description, const QString& pattern, const QString& suffix, const QByteArray& bytes);

    const TZevraModel& FModel;
    TSensitivityResult FSensitivity;
};

}  // namespace zevra
