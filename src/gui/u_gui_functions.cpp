// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/u_gui_functions.h"

#include "gui/u_dialogs.h"
#include "gui/u_palette.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QChildEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextEdit>

#include <exception>

#ifndef ZEVRA_VERSION_TEXT
#error "ZEVRA_VERSION_TEXT comes from the build (zevra_core)"
#endif

namespace zevra {

QString WithLineBreaks(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + QLatin1Char('.');
    return message;
}

bool AskYesNo(const QString& text, bool defaultNo) {
    return Dialogs().AskYesNo(QStringLiteral("Otázka"), WithLineBreaks(text), defaultNo);
}

void ShowInfo(const QString& text) {
    Dialogs().ShowMessage(TMessageKind::Information, QStringLiteral("Upozornění"), WithLineBreaks(text));
}

void ShowWarning(const QString& text) {
    Dialogs().ShowMessage(TMessageKind::Warning, QStringLiteral("Varování"), WithLineBreaks(text));
}

void ShowApplicationError(const QString& message) {
    Dialogs().ShowMessage(TMessageKind::Error, QStringLiteral("ZEVRAModel"), WithLineBreaks(WithFullStop(message)));
}

void RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowApplicationError(ToQ(e.what()));
    }
}

namespace {

bool TakesBackground(const QWidget* control) {
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractSpinBox*>(control) ||
           qobject_cast<const QComboBox*>(control) || qobject_cast<const QPlainTextEdit*>(control) ||
           qobject_cast<const QTextEdit*>(control) || qobject_cast<const QListWidget*>(control) ||
           qobject_cast<const QSplitter*>(control);
}

}  // namespace

void SetControlEnabled(QWidget* control, bool enabled, const QColor& color) {
    if (!control) return;
    control->setEnabled(enabled);
    if (!TakesBackground(control)) return;
    QPalette palette = control->palette();
    const QColor background = enabled ? color : ButtonFaceColor();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        if (qobject_cast<const QComboBox*>(control)) palette.setColor(group, QPalette::Button, background);
    }
    control->setPalette(palette);
}

QColor WindowColor() { return QApplication::palette().color(QPalette::Active, QPalette::Base); }

QColor ButtonFaceColor() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }

QString VersionText() { return QStringLiteral(ZEVRA_VERSION_TEXT); }

namespace {

QString& LastFolder(TFileKind kind) {
    static QString folders[static_cast<int>(TFileKind::Count)];
    return folders[static_cast<int>(kind)];
}

}  // namespace

QString StartFolder(TFileKind kind) {
    const QString& last = LastFolder(kind);
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

void RememberFolder(TFileKind kind, const QString& chosenFile) {
    if (!chosenFile.isEmpty()) LastFolder(kind) = QFileInfo(chosenFile).absolutePath();
}

namespace {

// The letter after "&" in a text, or a null character.
QChar MnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&')) continue;
        if (text.at(i + 1) != QLatin1Char('&')) return text.at(i + 1).toLower();
        ++i;
    }
    return QChar();
}

// `text` with "&" before its first letter not yet used, taking it.
QString WithMnemonic(const QString& text, QString& used) {
    const QChar given = MnemonicOf(text);
    if (!given.isNull()) {
        used += given;
        return text;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar letter = text.at(i).toLower();
        if (letter < QLatin1Char('a') || letter > QLatin1Char('z') || used.contains(letter)) continue;
        used += letter;
        return text.left(i) + QLatin1Char('&') + text.mid(i);
    }
    return text;
}

}  // namespace

void AssignMnemonics(QWidget* scope, QString& used) {
    // Fixed ones first, so that an automatic one never takes their letter.
    for (QAbstractButton* button : scope->findChildren<QAbstractButton*>())
        if (!MnemonicOf(button->text()).isNull()) used += MnemonicOf(button->text());
    for (QLabel* label : scope->findChildren<QLabel*>())
        if (label->buddy() && !MnemonicOf(label->text()).isNull()) used += MnemonicOf(label->text());
    for (QWidget* child : scope->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(child); button && !button->text().isEmpty()) {
            button->setText(WithMnemonic(button->text(), used));
        } else if (auto* label = qobject_cast<QLabel*>(child); label && label->buddy()) {
            label->setText(WithMnemonic(label->text(), used));
        }
    }
}

QString FileNameOf(const QString& name) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString result = name;
    for (QChar& c : result)
        if (c.unicode() < 32 || c.unicode() == 127 || forbidden.contains(c)) c = QLatin1Char('-');
    return result;
}

QFont SansFont(int pointSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace zevra

namespace zevra {

namespace {

// Gives every control put into the group the normal text colour, so that only
// the group's own caption shows the group's colour.
class TNormalTextColorKeeper : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->isWidgetType()) KeepNormalTextColor(static_cast<QWidget*>(child));
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void SetGroupCaptionColor(QWidget* groupBox, const QColor& color) {
    QPalette palette = groupBox->palette();
    // The caption keeps its hue, in a lightness that reads on the theme's
    // window colour.
    palette.setColor(QPalette::WindowText, ReadableOn(color, palette.color(QPalette::Window)));
    groupBox->setPalette(palette);
    for (QObject* child : groupBox->children())
        if (child->isWidgetType()) KeepNormalTextColor(static_cast<QWidget*>(child));
    groupBox->installEventFilter(new TNormalTextColorKeeper(groupBox));
}

void KeepNormalTextColor(QWidget* control) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    control->setPalette(palette);
}

}  // namespace zevra
