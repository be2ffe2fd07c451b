// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/u_numedit.h"

#include "model/u_format.h"
#include "model/u_inputfields.h"
#include "gui/u_gui_functions.h"
#include "gui/u_palette.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QToolTip>

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

// The digits after the decimal point of a plain number text, -1 without one.
int FractionDigits(const QString& text) {
    const qsizetype point = std::max(text.indexOf(QLatin1Char('.')), text.indexOf(QLatin1Char(',')));
    if (point < 0) return -1;
    int digits = 0;
    for (qsizetype i = point + 1; i < text.size(); ++i)
        if (text.at(i).isDigit()) ++digits;
    return digits;
}

QString DecimalsText(int decimals) {
    if (decimals == 1) return QStringLiteral("1 desetinné místo");
    if (decimals >= 2 && decimals <= 4) return QStringLiteral("%1 desetinná místa").arg(decimals);
    return QStringLiteral("%1 desetinných míst").arg(decimals);
}

}  // namespace

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new TGroupedNumberValidator(this, [this] { return FEditing; }));
    SetDecimals(0);
    connect(this, &QLineEdit::textChanged, this, [this] { UpdateInputError(); });
}

void TNumberEdit::SetDisplayFormat(const QString& format) {
    FDisplayFormat = format;
    ShowValue();
}

void TNumberEdit::SetDecimals(int decimals) {
    FDecimals = std::max(0, decimals);
    // Pasted text must pass the same rule as typed text.
    const QString sign = (!HasRange() || FMinValue < 0) ? QStringLiteral("-?") : QString();
    // Any number of decimals passes, so that nothing typed is dropped or
    // joined; InputError tells a number the field cannot keep.
    const QString fraction = QStringLiteral("([.,]\\d*)?");
    static_cast<QRegularExpressionValidator*>(const_cast<QValidator*>(validator()))
        ->setRegularExpression(QRegularExpression(sign + QStringLiteral("\\d*") + fraction));
    SetValue(Value());
}

void TNumberEdit::SetRange(double minValue, double maxValue) {
    FMinValue = minValue;
    FMaxValue = maxValue;
    SetDecimals(FDecimals);
}

double TNumberEdit::ParseEditText(const QString& text) const {
    QString plain = text;
    // A locale that groups with "," or "." must not turn a decimal into
    // digits: the edit text is never grouped, only pasted figures are, and
    // those with spaces.
    const QString separator = ToQ(ThousandSeparator());
    if (!separator.isEmpty() && separator != QLatin1String(",") && separator != QLatin1String("."))
        plain.remove(separator);
    plain.remove(QLatin1Char(' '));
    plain.remove(QChar(0x00A0));
    plain.remove(QChar(0x202F));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    if (plain.isEmpty()) return 0;
    double value = 0;
    if (!TryParseNumber(FromQ(plain), value)) return HasRange() ? FMinValue : 0;
    return value;
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

double TNumberEdit::Value() const {
    const QString text = EditText();
    // Untouched, the value is the one set, not its rounded text.
    if (text == FSetText) return FSetValue;
    return ParseEditText(text);
}

void TNumberEdit::SetValue(double value) {
    FSetValue = value;
    FSetText = PlainText(FSetValue);
    FEditText = FSetText;
    ShowValue();
}

QString TNumberEdit::DisplayText() const {
    if (HasInputError()) return EditText();
    const double value = Value();
    if (value == 0) return QString();
    // The format's decimals, or more when the value has them: a field never
    // shows a figure other than the one it holds.
    const int decimals = std::max(FormatDecimals(FDisplayFormat), FractionDigits(PlainText(value)));
    return ToQ(FDisplayFormat.startsWith(QLatin1Char(',')) ? FormatN(value, decimals) : FormatFixed(value, decimals));
}

void TNumberEdit::SetFormField(const TFormField* formField) {
    FFormField = formField;
    if (!formField) return;
    SetDisplayFormat(QString::fromLatin1(formField->DisplayFormat));
    SetDecimals(formField->Decimals);
    SetRange(formField->Min, formField->Max);
}

QString TNumberEdit::InputError() const {
    const QString text = EditText();
    // A field of the form says what the browser page says of the same text.
    if (FFormField) {
        const QString error = ToQ(FormFieldError(*FFormField, FromQ(text)));
        if (!error.isEmpty()) return error;
    } else if (const int digits = FractionDigits(text); digits >= 0) {
        if (FDecimals == 0) return QStringLiteral("Zadejte celé číslo, bez desetinné čárky.");
        if (digits > FDecimals) return QStringLiteral("Zadejte nejvýše %1.").arg(DecimalsText(FDecimals));
    }
    // A number beyond the range is not made the nearest one: the user sees
    // what was typed (or loaded) and the range.
    const double value = Value();
    if (HasRange() && (value < FMinValue || value > FMaxValue)) {
        const auto shown = [this](double bound) {
            return ToQ(FormatN(bound, std::max(0, FractionDigits(PlainText(bound)))));
        };
        return QStringLiteral("Zadejte hodnotu od %1 do %2.").arg(shown(FMinValue), shown(FMaxValue));
    }
    return QString();
}

void TNumberEdit::UpdateInputError() {
    const QString error = InputError();
    if (error == FShownError) return;
    const bool wasError = !FShownError.isEmpty();
    FShownError = error;
    if (!error.isEmpty() && !wasError) {
        FNormalPalette = palette();
        QPalette shown = palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            shown.setColor(group, QPalette::Base, ColorErrorBackground);
            shown.setColor(group, QPalette::Text, ContrastingText(ColorErrorBackground));
        }
        setPalette(shown);
    } else if (error.isEmpty()) {
        setPalette(FNormalPalette);
    }
    setToolTip(error);
    setAccessibleDescription(error);
    if (!error.isEmpty() && hasFocus() && isVisible())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), error, this);
    emit InputErrorChanged(error);
}

void TNumberEdit::ShowValue() {
    setText(FEditing ? FEditText : DisplayText());
    UpdateInputError();
}

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
    // A number the field cannot keep stays as typed; an unchanged text
    // keeps the exact value behind it.
    if (text() == FSetText || HasInputError())
        FEditText = text();
    else
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
    // "," stays as typed: it reads as the decimal point, and a number the
    // field cannot keep is shown back exactly as the user wrote it.
    const QString& input = typed;
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
