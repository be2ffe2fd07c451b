// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_dialogs.h"

#include "batch/core/u_exception_functions.h"

namespace zevra {

bool TScriptedDialogs::AskYesNo(const QString& caption, const QString& text, bool defaultNo) {
    TRequest r;
    r.Type = TRequest::TType::YesNo;
    r.Caption = caption;
    r.Text = text;
    r.DefaultNo = defaultNo;
    Requests.push_back(r);
    if (YesNoAnswers.empty()) return false;
    const bool answer = YesNoAnswers.front();
    YesNoAnswers.pop_front();
    return answer;
}

void TScriptedDialogs::ShowMessage(TMessageKind kind, const QString& caption, const QString& text,
                                   TMessagePlacement placement) {
    TRequest r;
    r.Type = TRequest::TType::Message;
    r.Kind = kind;
    r.Placement = placement;
    r.Caption = caption;
    r.Text = text;
    Requests.push_back(r);
}

std::optional<QString> TScriptedDialogs::AnswerFileDialog(TRequest::TType type, const TFileDialogOptions& options) {
    TRequest r;
    r.Type = type;
    r.File = options;
    r.Caption = options.Title;
    Requests.push_back(r);
    if (FileAnswers.empty()) return std::nullopt;
    if (options.ChosenFilter) {
        *options.ChosenFilter = FilterAnswers.empty() ? options.SelectedFilter : FilterAnswers.front();
        if (!FilterAnswers.empty()) FilterAnswers.pop_front();
    }
    const bool chosen = FileAnswers.front().has_value();
    const QString answer = FileAnswers.front().value_or(QString());
    FileAnswers.pop_front();
    if (!chosen) return std::nullopt;
    return answer;
}

std::optional<QString> TScriptedDialogs::OpenFileName(const TFileDialogOptions& options) {
    return AnswerFileDialog(TRequest::TType::OpenFile, options);
}

std::optional<QString> TScriptedDialogs::SaveFileName(const TFileDialogOptions& options) {
    return AnswerFileDialog(TRequest::TType::SaveFile, options);
}

int TScriptedDialogs::ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                                 int initialIndex) {
    TRequest r;
    r.Type = TRequest::TType::Choice;
    r.Caption = caption;
    r.Text = question;
    r.Lines = lines;
    r.InitialIndex = initialIndex;
    Requests.push_back(r);
    if (ChoiceAnswers.empty()) return -1;
    const int answer = ChoiceAnswers.front();
    ChoiceAnswers.pop_front();
    return answer;
}

void TScriptedDialogs::ShowInfoText(const QString& caption, const QString& heading, const QString& text) {
    TRequest r;
    r.Type = TRequest::TType::InfoText;
    r.Caption = caption;
    r.Heading = heading;
    r.Text = text;
    Requests.push_back(r);
}

void TScriptedDialogs::ShowComposite(const ECompositeException& e, QWidget*) {
    TRequest r;
    r.Type = TRequest::TType::Composite;
    r.Caption = QStringLiteral("Výsledek operace");
    for (const std::string& line : FormatProblems(e)) r.Lines << QString::fromStdString(line);
    Requests.push_back(r);
}

std::vector<TScriptedDialogs::TRequest> TScriptedDialogs::RequestsOf(TRequest::TType type) const {
    std::vector<TRequest> result;
    for (const TRequest& r : Requests)
        if (r.Type == type) result.push_back(r);
    return result;
}

}  // namespace zevra
