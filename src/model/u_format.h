// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide number format and the number <-> text conversions.
// The decimal separator is always "."; the thousands separator is the
// locale's (or one set explicitly) and appears only where a format groups.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zevra {

// The thousands separator used by FormatN (UTF-8, may be empty).
const std::string& ThousandSeparator();
void SetThousandSeparator(std::string separator);

// Takes the thousands separator from the process locale (LC_NUMERIC as
// localeconv reports it, converted from the locale's character set); no
// separator where the locale defines none or uses ".".
// Call after setlocale(LC_ALL, "").
void UseLocaleThousandSeparator();

// "%d": a plain integer.
std::string FormatInt(long long value);

// "%.*n": `decimals` decimals, digits grouped in threes with the thousands
// separator. Rounds half away from zero on the value's shortest decimal form
// (at most 15 significant digits): 0.25 gives 0.3, 2.45 gives 2.5.
std::string FormatN(double value, int decimals);

// "%.*f": as FormatN, without grouping.
std::string FormatFixed(double value, int decimals);

// The shortest general form with at most 15 significant digits: no trailing
// zeros, no decimal point for a whole number, an exponent only for values of
// 10^15 and more or below 0.00001.
std::string FormatShortest(double value);

// The 23-character real form of the input data file: sign character (blank
// or "-"), one digit, ".", 14 digits, "E", exponent sign and 4 exponent digits.
std::string FormatReal23(double value);

// Integer: optional sign and decimal digits that fit in 32 bits; nothing else.
bool TryParseInteger(std::string_view text, std::int32_t& value);

// Number: optional sign, decimal digits with an optional "." and an optional
// exponent (".5", "5.", "1e3"); no grouping, no "nan"/"inf", no hexadecimal.
bool TryParseNumber(std::string_view text, double& value);

// As the Try... forms; throw EZevraError "'%s' is not a valid integer value"
// or "'%s' is not a valid floating point value".
std::int32_t StrToInt(std::string_view text);
double StrToFloat(std::string_view text);

// Whole metres of a distance in kilometres, computed on the decimal as
// written: the point moved three places, a fraction of a metre dropped
// (toward zero), saturated at the 32-bit limits. "1.005" gives 1005,
// "999.9999995" gives 999999. Nothing for text that is no number (the forms
// of TryParseNumber are accepted).
std::optional<std::int32_t> KmToMetres(std::string_view km);
// The same for a number field's value: its shortest decimal form (the
// decimal the user typed) is converted.
std::int32_t KmToMetres(double km);

// The locale's thousands separator bytes (LC_CTYPE's character set) as
// UTF-8; empty for "." (it would clash with the decimal point) and
// for bytes the locale cannot decode.
std::string LocaleSeparatorToUtf8(std::string_view bytes);

// A value for a conversion message: at most its first 40 characters, then
// "…"; a NUL shown as \x00 so it cannot cut the message short.
std::string EchoValue(std::string_view text);

// Integral part of a double, saturated at the 32-bit limits (NaN gives 0).
std::int32_t SaturateToInt32(double value);

}  // namespace zevra
