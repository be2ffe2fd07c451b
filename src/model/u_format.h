// The process-wide number format and the number <-> text conversions.
// The decimal separator is always "."; the thousands separator is the
// locale's (or one set explicitly) and appears only where a format groups.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zevra {

// The thousands separator used by FormatN (UTF-8, may be empty).
const std::string& ThousandSeparator();
void SetThousandSeparator(std::string separator);

// Takes the thousands separator from the process locale (LC_NUMERIC as
// localeconv reports it); no separator where the locale defines none.
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

// Whole metres of a distance in kilometres: times 1000, a fraction of a metre
// dropped (toward zero), saturated at the 32-bit limits. A product that lies
// within rounding noise of a whole number counts as that number, so 4.35 km
// gives 4350 m although 4.35 has no exact binary form.
std::int32_t KmToMetres(double km);

// Integral part of a double, saturated at the 32-bit limits (NaN gives 0).
std::int32_t SaturateToInt32(double value);

}  // namespace zevra
