// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TScriptedDialogs: the test double of the windows' dialogs. It answers from
// queues and records every request; a request without a queued answer gets
// the cautious one (No, cancel, -1), so a test never blocks.
#pragma once

#include "gui/u_dialogs.h"

#include <deque>
#include <optional>
#include <vector>

namespace zevra {

class TScriptedDialogs : public IDialogs {
public:
    struct TRequest {
        enum class TType { YesNo, Message, OpenFile, SaveFile, Choice, InfoText, Composite };
        TType Type = TType::YesNo;
        TMessageKind Kind = TMessageKind::Question;
        QString Caption;
        QString Text;  // question, message or choice question
        bool DefaultNo = false;
        TFileDialogOptions File;
        QStringList Lines;  // choice lines; problem lines of a composite
        int InitialIndex = -1;
        QString Heading;  // heading of the text window
        TMessagePlacement Placement = TMessagePlacement::OverWindow;  // of a message
    };

    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<QString>> FileAnswers;
    // The filter a save dialog reports as chosen (options.ChosenFilter); the
    // one it opened with when none is queued.
    std::deque<int> FilterAnswers;
    std::deque<int> ChoiceAnswers;
    std::vector<TRequest> Requests;

    bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) override;
    void ShowMessage(TMessageKind kind, const QString& caption, const QString& text,
                     TMessagePlacement placement = TMessagePlacement::OverWindow) override;
    std::optional<QString> OpenFileName(const TFileDialogOptions& options) override;
    std::optional<QString> SaveFileName(const TFileDialogOptions& options) override;
    int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                   int initialIndex) override;
    void ShowInfoText(const QString& caption, const QString& heading, const QString& text) override;
    void ShowComposite(const ECompositeException& e, QWidget* owner) override;

    // The requests of one type, in order.
    std::vector<TRequest> RequestsOf(TRequest::TType type) const;
    void Clear() { Requests.clear(); }

private:
    // Records a file dialog and gives the next queued answer (cancel when none).
    std::optional<QString> AnswerFileDialog(TRequest::TType type, const TFileDialogOptions& options);
};


}  // namespace zevra
