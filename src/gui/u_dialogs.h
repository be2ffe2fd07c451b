// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Every modal question, message box and file dialog of the windows goes
// through IDialogs. The application installs its Qt implementation at start
// (app/u_app_dialogs.h); the window tests install scripted dialogs that answer
// from a queue, so that no test ever waits for a user.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace zevra {

class ECompositeException;

enum class TMessageKind { Question, Information, Warning, Error };

// Where a message box appears: centred on the active window (the toolkit's
// habit), or centred on the screen. CornerAtScreenCentre is the older name
// of the second: the box once stood with its corner at the screen's centre
// and is centred there now.
enum class TMessagePlacement { OverWindow, ScreenCentre, CornerAtScreenCentre = ScreenCentre };

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
    // When set, receives the index of the filter selected when the dialog
    // was accepted (a save whose format follows the filter).
    int* ChosenFilter = nullptr;
};

class IDialogs {
public:
    virtual ~IDialogs() = default;

    // A Yes/No question; true exactly when Yes was chosen (closing is No).
    virtual bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) = 0;
    // A message with an OK button.
    virtual void ShowMessage(TMessageKind kind, const QString& caption, const QString& text,
                             TMessagePlacement placement = TMessagePlacement::OverWindow) = 0;
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

// The dialogs every window uses; a program installs them before it opens a
// window (using them before is a programming error and throws).
IDialogs& Dialogs();
// Installs `dialogs` and returns the previous implementation.
std::unique_ptr<IDialogs> SetDialogs(std::unique_ptr<IDialogs> dialogs);

// Qt's standard modal boxes and file dialogs. The windows of the wizard and
// of the batch path (choice, text window, problem list) are added by the
// program that has both (app/u_app_dialogs.h).
class TQtDialogs : public IDialogs {
public:
    bool AskYesNo(const QString& caption, const QString& text, bool defaultNo) override;
    void ShowMessage(TMessageKind kind, const QString& caption, const QString& text,
                     TMessagePlacement placement = TMessagePlacement::OverWindow) override;
    std::optional<QString> OpenFileName(const TFileDialogOptions& options) override;
    std::optional<QString> SaveFileName(const TFileDialogOptions& options) override;
};

}  // namespace zevra
