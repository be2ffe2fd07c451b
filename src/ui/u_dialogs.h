// Every modal question, message box and file dialog of the windows goes
// through IDialogs. The application installs the Qt implementation; tests
// install TScriptedDialogs, which answers from a queue and records what was
// asked, so that no test ever waits for a user.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace zevra {

class ECompositeException;

enum class TMessageKind { Question, Information, Warning, Error };

// One file filter: its description as shown (with the pattern in brackets,
// "Textové soubory (*.txt)") and the patterns it selects ("*.txt").
struct TFileFilter {
    QString Description;
    QString Patterns;
};

struct TFileDialogOptions {
    QString Title;
    std::vector<TFileFilter> Filters;
    QString DefaultSuffix;   // appended when the typed name has none ("txt")
    QString InitialDir;
    QString ProposedName;    // file name offered in the name field
    bool MustExist = false;  // open: only an existing file may be chosen
    bool RefuseReadOnly = false;  // an existing read-only file is not accepted
    int SelectedFilter = 0;       // index of the filter selected when the dialog opens
};

class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A Yes/No question; true exactly when Yes was chosen (closing is No).
    virtual bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) = 0;
    // A message with an OK button.
    virtual void ShowMessage(TMessageKind kind, const QString& caption, const QString& text) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> OpenFileName(const TFileDialogOptions& options) = 0;
    virtual std::optional<QString> SaveFileName(const TFileDialogOptions& options) = 0;
    // The index of the chosen line, or -1 when cancelled.
    virtual int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                           int initialIndex) = 0;
    // The batch path's text window: caption, heading and a text of lines.
    virtual void ShowInfoText(const QString& caption, const QString& heading, const QString& text) = 0;
    // Every problem of a composite exception in one list, owned by `owner`.
    virtual void ShowComposite(const ECompositeException& e, QWidget* owner) = 0;
};

// The dialogs every window uses. Until something else is installed these
// are the Qt dialogs.
IDialogs& Dialogs();
// Installs `dialogs` and returns the previous implementation.
std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs);

// Qt's standard modal boxes and file dialogs, and TfrmVyber for choices.
class TQtDialogs : public IDialogs {
public:
    bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) override;
    void ShowMessage(TMessageKind kind, const QString& caption, const QString& text) override;
    std::optional<QString> OpenFileName(const TFileDialogOptions& options) override;
    std::optional<QString> SaveFileName(const TFileDialogOptions& options) override;
    int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                   int initialIndex) override;
    void ShowInfoText(const QString& caption, const QString& heading, const QString& text) override;
    void ShowComposite(const ECompositeException& e, QWidget* owner) override;
};

// For tests: answers from queues, records every request. A request without a
// queued answer gets the cautious one (No, cancel, -1), so a test never blocks.
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
    };

    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<QString>> FileAnswers;
    std::deque<int> ChoiceAnswers;
    std::vector<TRequest> Requests;

    bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) override;
    void ShowMessage(TMessageKind kind, const QString& caption, const QString& text) override;
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
