// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/u_app_dialogs.h"

#include "batch/gui/u_frm_CompositeException.h"
#include "batch/gui/u_frm_Info.h"
#include "ui/u_frm_Vyber.h"

namespace zevra {

int TAppDialogs::ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                            int initialIndex) {
    return TfrmVyber::ShowChoice(caption, question, lines, initialIndex);
}

void TAppDialogs::ShowInfoText(const QString& caption, const QString& heading, const QString& text) {
    TfrmInfo::ShowInfoText(caption, heading, text);
}

void TAppDialogs::ShowComposite(const ECompositeException& e, QWidget* owner) {
    TfrmCompositeException::ShowComposite(&e, owner);
}

}  // namespace zevra
