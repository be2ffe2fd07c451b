// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TNumberEdit: a numeric entry field over QLineEdit. It holds one number:
// empty for 0, shown plainly with at most Decimals decimals while it has the
// focus, and in its display format (",0", ",0.000" or "0", grouped with the
// process's thousands separator) while it has not. Typing accepts only what
// can form a number; "." and "," are both taken as the decimal point; Esc
// restores the value the field had. A value outside the range [MinValue,
// MaxValue] (no range when both are equal) is an input error, never
// replaced by the nearest bound.
// A number with more decimals than the field keeps (a decimal in a
// whole-number field) is never cut or joined into another number: the text
// stays as typed and InputError says why it is not a value of the field,
// until the user corrects it. A value set by the program is kept exactly
// while its text is not edited, so a loaded figure is saved as it came.
#pragma once

#include <QLineEdit>
#include <QPalette>
#include <QString>

namespace zevra {

struct TFormField;

class TNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    // ",0", ",0.000" or "0": grouping when it starts with ",", and as many
    // decimals as there are zeros after the ".".
    void SetDisplayFormat(const QString& format);
    const QString& DisplayFormat() const { return FDisplayFormat; }
    void SetDecimals(int decimals);
    int Decimals() const { return FDecimals; }
    void SetRange(double minValue, double maxValue);
    double MinValue() const { return FMinValue; }
    double MaxValue() const { return FMaxValue; }
    bool HasRange() const { return FMaxValue != FMinValue; }

    // Takes format, decimals, range and the rule of what the field can keep
    // from a row of the input form's table (model/u_inputfields.h).
    void SetFormField(const TFormField* formField);
    const TFormField* FormField() const { return FFormField; }

    // The value the edit text says; text that does not read as a number
    // gives the minimum.
    double Value() const;
    void SetValue(double value);

    // The plain edit text (what the field shows while it has the focus).
    QString EditText() const;
    // The text the field shows without the focus.
    QString DisplayText() const;

    // Why the edit text is not a value of this field, in Czech; empty when
    // it is one.
    QString InputError() const;
    bool HasInputError() const { return !InputError().isEmpty(); }

signals:
    void InputErrorChanged(const QString& error);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double ParseEditText(const QString& text) const;
    QString PlainText(double value) const;
    bool AcceptsText(const QString& text) const;
    void ShowValue();
    void TypeText(const QString& typed);
    void UpdateInputError();

    QString FDisplayFormat = QStringLiteral(",0");
    int FDecimals = 0;
    double FMinValue = 0;
    double FMaxValue = 0;
    QString FEditText;      // plain text of the value while not editing
    QString FTextOnEnter;   // what Esc restores
    bool FEditing = false;
    QString FSetText;       // the plain text of the value the program set last
    double FSetValue = 0;   // that value, exactly
    const TFormField* FFormField = nullptr;
    QString FShownError;    // the error the field shows
    QPalette FNormalPalette;  // the field's colours without an error
};

}  // namespace zevra
