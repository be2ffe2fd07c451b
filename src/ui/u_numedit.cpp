// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_numedit.h"

#include "model/u_format.h"
#include "gui/u_gui_functions.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <functional>

#include <algorithm>

namespace zevra {

namespace {

// The number of decimals a display format shows: the zeros after its ".".
int FormatDecimals(const QString& format) {
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : static_cast<int>(format.size() - point - 1);
}

// Figures copied from statistics pages come grouped ("1 593", with a plain,
// no-break or narrow no-break space): while the user edits, the spaces go
// and the digits stay. The grouped display text is left alone.
class TGroupedNumberValidator : public QRegularExpressionValidator {
public:
    TGroupedNumberValidator(QObject* parent, std::function<bool()> editing)
        : QRegularExpressionValidator(parent), FEditing(std::move(editing)) {}
    State validate(QString& input, int& pos) const override {
        if (!FEditing()) return QRegularExpressionValidator::validate(input, pos);
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            const char16_t c = input.at(i).unicode();
            if (c == u' ' || c == u'\u00A0' || c == u'\u202F') {
                input.remove(i, 1);
                if (i < pos) --pos;
            }
        }
        return QRegularExpressionValidator::validate(input, pos);
    }

private:
    std::function<bool()> FEditing;
};

}  // namespace

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new TGroupedNumberValidator(this, [this] { return FEditing; }));
    SetDecimals(0);
}

void TNumberEdit::SetDisplayFormat(const QString& format) {
    FDisplayFormat = format;
    ShowValue();
}

void TNumberEdit::SetDecimals(int decimals) {
    FDecimals = std::max(0, decimals);
    // Pasted text must pass the same rule as typed text.
    const QString sign = (!HasRange() || FMinValue < 0) ? QStringLiteral("-?") : QString();
    const QString fraction = FDecimals > 0 ? QStringLiteral("(\\.\\d{0,%1})?").arg(FDecimals) : QString();
    static_cast<QRegularExpressionValidator*>(const_cast<QValidator*>(validator()))
        ->setRegularExpression(QRegularExpression(sign + QStringLiteral("\\d*") + fraction));
    SetValue(Value());
}

void TNumberEdit::SetRange(double minValue, double maxValue) {
    FMinValue = minValue;
    FMaxValue = maxValue;
    SetDecimals(FDecimals);
}

double TNumberEdit::Clamp(double value) const {
    if (!HasRange()) return value;
    return std::clamp(value, FMinValue, FMaxValue);
}

double TNumberEdit::ParseEditText(const QString& text) const {
    QString plain = text;
    if (!ThousandSeparator().empty()) plain.remove(ToQ(ThousandSeparator()));
    plain.remove(QLatin1Char(' '));
    plain.remove(QChar(0x00A0));
    plain.remove(QChar(0x202F));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    if (plain.isEmpty()) return Clamp(0);
    double value = 0;
    if (!TryParseNumber(FromQ(plain), value)) return HasRange() ? FMinValue : 0;
    return Clamp(value);
}

QString TNumberEdit::PlainText(double value) const {
    if (value == 0) return QString();
    QString text = ToQ(FormatFixed(value, FDecimals));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QLatin1String("0") || text == QLatin1String("-0")) return QString();
    return text;
}

QString TNumberEdit::EditText() const { return FEditing ? text() : FEditText; }

double TNumberEdit::Value() const { return ParseEditText(EditText()); }

void TNumberEdit::SetValue(double value) {
    FEditText = PlainText(Clamp(value));
    ShowValue();
}

QString TNumberEdit::DisplayText() const {
    const double value = Value();
    if (value == 0) return QString();
    const int decimals = FormatDecimals(FDisplayFormat);
    return ToQ(FDisplayFormat.startsWith(QLatin1Char(',')) ? FormatN(value, decimals) : FormatFixed(value, decimals));
}

void TNumberEdit::ShowValue() { setText(FEditing ? FEditText : DisplayText()); }

void TNumberEdit::focusInEvent(QFocusEvent* event) {
    if (!FEditing) {
        FEditing = true;
        FTextOnEnter = FEditText;
        setText(FEditText);
    }
    QLineEdit::focusInEvent(event);
}

void TNumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu or another application taking the focus does not end
    // the editing.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
    if (!FEditing) return;
    FEditText = PlainText(ParseEditText(text()));
    FEditing = false;
    ShowValue();
}

bool TNumberEdit::AcceptsText(const QString& text) const {
    QString copy = text;
    int position = 0;
    return validator()->validate(copy, position) == QValidator::Acceptable;
}

void TNumberEdit::TypeText(const QString& typed) {
    QString input = typed;
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    QString result = text();
    if (hasSelectedText())
        result.replace(selectionStart(), selectedText().size(), input);
    else
        result.insert(cursorPosition(), input);
    if (isReadOnly() || !AcceptsText(result)) {
        QApplication::beep();
        return;
    }
    insert(input);
}

void TNumberEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (FEditing) {
            setText(FTextOnEnter);
            selectAll();
        }
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool isCommand = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const bool printable =
        !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (printable && !isCommand) {
        TypeText(typed);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace zevra
