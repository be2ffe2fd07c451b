// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Exact conversions between a double and its decimal digits, independent of
// the process locale, built on the C library alone. They stand in for the
// floating-point std::to_chars / std::from_chars, which not every standard
// library offers (LLVM 14's libc++, used for the WebAssembly build, has
// neither); every build gives the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace zevra {

// The value rounded (correctly, ties to even on the exact binary value) to
// `significant` digits (1 to 17): the digits, and the decimal exponent of the
// first one (value = d.ddd... x 10^exponent). Zero gives all zeros and
// exponent 0. Only for finite values.
struct TDecimalDigits {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};
TDecimalDigits RoundedDecimal(double value, int significant);

// The shortest decimal that reads back as exactly `value`, written as
// std::to_chars(value) writes it: the fixed form, or the scientific one
// ("1.5e+20", "5e-07") when that is shorter; "inf", "-inf", "nan". Where the
// standard library has the floating-point std::to_chars it writes the
// digits (ten times faster: every number of the JSON outputs comes here),
// elsewhere PortableShortestDecimal; the bytes are the same.
std::string ShortestDecimal(double value);
// The same text from the C library's conversions alone (the WebAssembly
// build's way, and the tests' reference for it).
std::string PortableShortestDecimal(double value);

// Reads a decimal written in the C locale ("-12.5", ".5", "1e3"; the whole
// text; no "+", "inf" or "nan"), as std::from_chars(..., chars_format::general)
// does: the nearest
// double; false for text it does not take, and for a value out of the range of
// a double (one that would be infinite, or zero though its digits are not).
bool ParseDecimal(std::string_view text, double& value);

}  // namespace zevra
