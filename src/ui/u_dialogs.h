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

enum class TMessageKind { Question, Information, Warning, Error };

// One file filter: its description as shown (with the pattern in brackets,
// "Textové soubory (*.txt)") and the patterns it selects ("*.txt").
struct TFileFilter {
    QString Description;
    QString Patterns;
};

struct TFileDialogSpec {
    QString Title;
    std::vector<TFileFilter> Filters;
    QString DefaultSuffix;   // appended when the typed name has none ("txt")
    QString InitialDir;
    QString ProposedName;    // file name offered in the name field
    bool MustExist = false;  // open: only an existing file may be chosen
    bool RefuseReadOnly = false;  // an existing read-only file is not accepted
};

class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A Yes/No question; true exactly when Yes was chosen (closing is No).
    virtual bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) = 0;
    // A message with an OK button.
    virtual void ShowMessage(TMessageKind kind, const QString& caption, const QString& text) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> OpenFileName(const TFileDialogSpec& spec) = 0;
    virtual std::optional<QString> SaveFileName(const TFileDialogSpec& spec) = 0;
    // The index of the chosen line, or -1 when cancelled.
    virtual int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                           int initialIndex) = 0;
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
    std::optional<QString> OpenFileName(const TFileDialogSpec& spec) override;
    std::optional<QString> SaveFileName(const TFileDialogSpec& spec) override;
    int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                   int initialIndex) override;
};

// For tests: answers from queues, records every request. A request without a
// queued answer gets the cautious one (No, cancel, -1), so a test never blocks.
class TScriptedDialogs : public IDialogs {
public:
    struct TRequest {
        enum class TType { YesNo, Message, OpenFile, SaveFile, Choice };
        TType Type = TType::YesNo;
        TMessageKind Kind = TMessageKind::Question;
        QString Caption;
        QString Text;  // question, message or choice question
        bool DefaultNo = false;
        TFileDialogSpec File;
        QStringList Lines;
        int InitialIndex = -1;
    };

    std::deque<bool> YesNoAnswers;
    std::deque<std::optional<QString>> FileAnswers;
    std::deque<int> ChoiceAnswers;
    std::vector<TRequest> Requests;

    bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) override;
    void ShowMessage(TMessageKind kind, const QString& caption, const QString& text) override;
    std::optional<QString> OpenFileName(const TFileDialogSpec& spec) override;
    std::optional<QString> SaveFileName(const TFileDialogSpec& spec) override;
    int ShowChoice(const QString& caption, const QString& question, const QStringList& lines,
                   int initialIndex) override;

    // The requests of one type, in order.
    std::vector<TRequest> RequestsOf(TRequest::TType type) const;
    void Clear() { Requests.clear(); }

private:
    std::optional<QString> NextFileAnswer();
};

}  // namespace zevra
