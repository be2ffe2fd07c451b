// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the windows: the three message boxes with their
// fixed captions, the application's error box, enabling controls with a
// matching background, the version text and string conversions.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace zevra {

inline QString ToQ(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline std::string FromQ(const QString& text) { return text.toUtf8().toStdString(); }

// CR LF (and a lone CR) in a message become the line break of a Qt text.
QString WithLineBreaks(const QString& text);

// The message with a full stop appended when the code of its last character
// is greater than that of ".".
QString WithFullStop(const QString& message);

// "Otázka", question icon, Yes and No; `defaultNo` preselects No (every
// caller of the wizard passes true). True exactly when Yes was chosen.
bool AskYesNo(const QString& text, bool defaultNo = true);
// "Upozornění" with the information icon.
void ShowInfo(const QString& text);
// "Varování" with the warning icon.
void ShowWarning(const QString& text);
// The application's error box: caption "ZEVRAModel", error icon, OK, the
// message with the full stop rule.
void ShowApplicationError(const QString& message);

// Runs an event handler's work; an exception that escapes it ends the work
// and is shown in the application's error box. What the work did before the
// exception keeps its effect.
void RunGuarded(const std::function<void()>& work);

// Enables or disables a control. Text fields, numeric fields, combo boxes,
// multi-line texts and list boxes also get a background: `color` when
// enabled, the palette's button colour when disabled. Other controls only
// change their enabled state.
void SetControlEnabled(QWidget* control, bool enabled, const QColor& color);
// The background of an enabled text field (the palette's base colour).
QColor WindowColor();
QColor ButtonFaceColor();

// The program's version, "%d.%d.%d.%d", compiled in from the build.
QString VersionText();

// The kinds of file whose dialogs each remember their folder.
enum class TFileKind { InputData, Report, BatchInput, BatchOutput, Count };
// Where a file dialog for `kind` starts: the folder of the file last chosen
// for it in this run, else the user's documents folder, else home (never
// the program's folder, which is not writable once installed).
QString StartFolder(TFileKind kind);
void RememberFolder(TFileKind kind, const QString& chosenFile);

// A name proposed for a file: `name` with every character that cannot stand
// in a file name on any desktop ("/", "\\", ":", "*", "?", quotes, "<", ">",
// "|", control characters) replaced by "-", so that "Lhota/Nová" proposes
// "Lhota-Nová" and not a folder.
QString FileNameOf(const QString& name);

// Gives every button (push, radio, check) and every label with a buddy field inside `scope`
// that has none yet an Alt+letter: the first letter of its text (a to z,
// either case) that is not in `used`, which collects the letters taken.
// Texts that already carry "&" keep theirs (and add it to `used`).
void AssignMnemonics(QWidget* scope, QString& used);

// The platform's default sans-serif font in the given size.
QFont SansFont(int pointSize);

}  // namespace zevra

namespace zevra {

// Colours of the window.
inline const QColor ColorMaroon{128, 0, 0};
inline const QColor ColorNavy{0, 0, 128};
inline const QColor ColorLightYellowPanel{255, 255, 176};

// Gives a group box's caption its own colour; the controls inside keep theirs.
// Controls inside the group, now or later, keep the normal text colour.
void SetGroupCaptionColor(QWidget* groupBox, const QColor& color);
void KeepNormalTextColor(QWidget* control);

}  // namespace zevra
