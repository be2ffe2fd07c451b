// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard of a window test and its controls, found by their object names
// as a user finds them by their labels.
#pragma once

#include "ui_controls.h"
#include "ui/u_main.h"
#include "ui/u_numedit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

#include <memory>

namespace zevra::test {

class TWizardControls {
protected:
    std::unique_ptr<TfrmMain> w;

    QLabel* lblPageTitle() const { return Control<QLabel>(w.get(), "lblPageTitle"); }
    QLabel* imgMOXAN() const { return Control<QLabel>(w.get(), "imgMOXAN"); }
    QTabWidget* pcPages() const { return Control<QTabWidget>(w.get(), "pcPages"); }
    QPushButton* btStartAgain() const { return Control<QPushButton>(w.get(), "btStartAgain"); }
    QPushButton* btChangeInput() const { return Control<QPushButton>(w.get(), "btChangeInput"); }
    QPushButton* btBack() const { return Control<QPushButton>(w.get(), "btBack"); }
    QPushButton* btNext() const { return Control<QPushButton>(w.get(), "btNext"); }
    QPushButton* btFinish() const { return Control<QPushButton>(w.get(), "btFinish"); }
    QPushButton* btKodLookup() const { return Control<QPushButton>(w.get(), "btKodLookup"); }
    QPushButton* btLoadInputData() const { return Control<QPushButton>(w.get(), "btLoadInputData"); }
    QPushButton* btBatchProcessing() const { return Control<QPushButton>(w.get(), "btBatchProcessing"); }
    QPushButton* btSaveInputData() const { return Control<QPushButton>(w.get(), "btSaveInputData"); }
    QPushButton* btCopyOutputToClipboard() const { return Control<QPushButton>(w.get(), "btCopyOutputToClipboard"); }
    QPushButton* btSaveOutput() const { return Control<QPushButton>(w.get(), "btSaveOutput"); }
    QLineEdit* edNazevObce() const { return Control<QLineEdit>(w.get(), "edNazevObce"); }
    QComboBox* cbKraj() const { return Control<QComboBox>(w.get(), "cbKraj"); }
    TNumberEdit* edKodObce() const { return Control<TNumberEdit>(w.get(), "edKodObce"); }
    TNumberEdit* edObyvateleCelkem() const { return Control<TNumberEdit>(w.get(), "edObyvateleCelkem"); }
    TNumberEdit* edObyvateleEA() const { return Control<TNumberEdit>(w.get(), "edObyvateleEA"); }
    TNumberEdit* edObyvateleNezamestnani() const { return Control<TNumberEdit>(w.get(), "edObyvateleNezamestnani"); }
    TNumberEdit* edObyvateleVyjizdejici() const { return Control<TNumberEdit>(w.get(), "edObyvateleVyjizdejici"); }
    TNumberEdit* edNadmorskaVyska() const { return Control<TNumberEdit>(w.get(), "edNadmorskaVyska"); }
    TNumberEdit* edKatastrCelkem() const { return Control<TNumberEdit>(w.get(), "edKatastrCelkem"); }
    TNumberEdit* edKrajskeMestoMin() const { return Control<TNumberEdit>(w.get(), "edKrajskeMestoMin"); }
    TNumberEdit* edOkresniMestoKm() const { return Control<TNumberEdit>(w.get(), "edOkresniMestoKm"); }
    TNumberEdit* edSilnice1TridyKm() const { return Control<TNumberEdit>(w.get(), "edSilnice1TridyKm"); }
    TNumberEdit* edPodnikateleCelkem() const { return Control<TNumberEdit>(w.get(), "edPodnikateleCelkem"); }
    TNumberEdit* edPodnikateleRolnici() const { return Control<TNumberEdit>(w.get(), "edPodnikateleRolnici"); }
    TNumberEdit* edDominantniZamestnavatel() const { return Control<TNumberEdit>(w.get(), "edDominantniZamestnavatel"); }
    QRadioButton* rbVodovodAno() const { return Control<QRadioButton>(w.get(), "rbVodovodAno"); }
    QRadioButton* rbVodovodNe() const { return Control<QRadioButton>(w.get(), "rbVodovodNe"); }
    QPlainTextEdit* mmInputValidation() const { return Control<QPlainTextEdit>(w.get(), "mmInputValidation"); }
    QTextEdit* redObyvatelstvoResult() const { return Control<QTextEdit>(w.get(), "redObyvatelstvoResult"); }
};

}  // namespace zevra::test
