// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs of the program: Qt's standard boxes and file dialogs, the
// wizard's choice dialog and the batch path's text window and problem list.
#pragma once

#include "gui/u_dialogs.h"

namespace zevra {

class TAppDialogs final : public TQtDialogs {
public:
    int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                   int initialIndex) override;
    void ShowInfoText(const QString& caption, const QString& heading, const QString& text) override;
    void ShowComposite(const ECompositeException& e, QWidget* owner) override;
};

}  // namespace zevra
