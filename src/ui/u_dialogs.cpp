#include "u_dialogs.h"

#include "u_frm_Vyber.h"
#include "batch/u_frm_CompositeException.h"
#include "batch/u_frm_Info.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace zevra {

namespace {

std::unique_ptr<IDialogs>& CurrentDialogs() {
    static std::unique_ptr<IDialogs> current = std::make_unique<TQtDialogs>();
    return current;
}

QMessageBox::Icon IconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Question: return QMessageBox::Question;
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString NameFilters(const std::vector<TFileFilter>& filters) {
    QStringList list;
    for (const TFileFilter& f : filters) {
        const bool showsPattern = f.Description.contains(QLatin1Char('('));
        list << (showsPattern ? f.Description : f.Description + QStringLiteral(" (") + f.Patterns + QLatin1Char(')'));
    }
    return list.join(QStringLiteral(";;"));
}

std::optional<QString> RunFileDialog(const TFileDialogOptions& options, bool save) {
    for (;;) {
        QFileDialog dialog(QApplication::activeWindow(), options.Title, options.InitialDir, NameFilters(options.Filters));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(options.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The callers ask the overwrite question themselves.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        dialog.setDefaultSuffix(options.DefaultSuffix);
        if (!options.ProposedName.isEmpty()) dialog.selectFile(options.ProposedName);
        if (options.SelectedFilter > 0 && options.SelectedFilter < static_cast<int>(options.Filters.size()))
            dialog.selectNameFilter(dialog.nameFilters().value(options.SelectedFilter));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        if (options.RefuseReadOnly && info.exists() && !info.isWritable()) {
            QMessageBox::warning(dialog.parentWidget(), options.Title,
                                 QStringLiteral("Soubor je určen pouze pro čtení:\n") + path);
            continue;
        }
        return path;
    }
}

}  // namespace

IDialogs& Dialogs() { return *CurrentDialogs(); }

std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs) {
    std::unique_ptr<IDialogs> previous = std::move(CurrentDialogs());
    CurrentDialogs() = std::move(dialogs);
    if (!CurrentDialogs()) CurrentDialogs() = std::make_unique<TQtDialogs>();
    return previous;
}

bool TQtDialogs::AskYesNo(const QString& caption, const QString& text, bool defaultNo) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TQtDialogs::ShowMessage(TMessageKind kind, const QString& caption, const QString& text) {
    QMessageBox box(IconOf(kind), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::optional<QString> TQtDialogs::OpenFileName(const TFileDialogOptions& options) { return RunFileDialog(options, false); }

std::optional<QString> TQtDialogs::SaveFileName(const TFileDialogOptions& options) { return RunFileDialog(options, true); }

int TQtDialogs::ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                           int initialIndex) {
    return TfrmVyber::ShowChoice(caption, question, lines, initialIndex);
}

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

void TScriptedDialogs::ShowMessage(TMessageKind kind, const QString& caption, const QString& text) {
    TRequest r;
    r.Type = TRequest::TType::Message;
    r.Kind = kind;
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

void TQtDialogs::ShowInfoText(const QString& caption, const QString& heading, const QString& text) {
    TfrmInfo::ShowInfoText(caption, heading, text);
}

void TQtDialogs::ShowComposite(const ECompositeException& e, QWidget* owner) {
    TfrmCompositeException::ShowComposite(&e, owner);
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
    r.Lines = CompositeLines(e);
    Requests.push_back(r);
}

std::vector<TScriptedDialogs::TRequest> TScriptedDialogs::RequestsOf(TRequest::TType type) const {
    std::vector<TRequest> result;
    for (const TRequest& r : Requests)
        if (r.Type == type) result.push_back(r);
    return result;
}

}  // namespace zevra
