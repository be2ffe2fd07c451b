// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_decimal.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <utility>

namespace zevra {
namespace {

// The C locale as an object, so that reading never depends on the process
// locale (a Czech one would expect a decimal comma) and never changes it.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a whole text of the forms [-]digits[.digits][e[+-]digits] in the C
// locale; false for anything else.
bool ReadC(const std::string& text, double& value) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissa = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa;
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponent = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    if (i != text.size()) return false;
    char* end = nullptr;
    value = strtod_l(text.c_str(), &end, CLocale());
    return end == text.c_str() + text.size();
}

std::string ScientificText(const TDecimalDigits& d) {
    return d.Digits.substr(0, 1) + "." + d.Digits.substr(1) + "e" + std::to_string(d.Exponent);
}

// The digits one unit in the last place up (+1) or down (-1).
TDecimalDigits StepLastDigit(TDecimalDigits d, int step) {
    std::size_t i = d.Digits.size();
    while (i > 0) {
        --i;
        char& c = d.Digits[i];
        if (step > 0 && c == '9') {
            c = '0';
        } else if (step < 0 && c == '0') {
            c = '9';
        } else {
            c = static_cast<char>(c + step);
            break;
        }
        if (i == 0 && step > 0) {  // 99.9 + 0.1 = 100.0: one more integer digit
            d.Digits.insert(0, "1");
            d.Digits.pop_back();
            ++d.Exponent;
        }
    }
    if (d.Digits.size() > 1 && d.Digits.front() == '0') {  // 100 - 1 = 099: one digit fewer
        d.Digits.erase(0, 1);
        --d.Exponent;
    }
    return d;
}

}  // namespace

TDecimalDigits RoundedDecimal(double value, int significant) {
    // printf rounds exactly; its decimal point is the locale's (of any
    // length), so only the digits and the exponent are taken from its text.
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%+.*e", significant - 1, value);
    TDecimalDigits d;
    d.Negative = buffer[0] == '-';
    int i = 1;
    for (; i < length && buffer[i] != 'e'; ++i) {
        if (IsDigit(buffer[i])) d.Digits += buffer[i];
    }
    d.Exponent = i + 1 < length ? std::atoi(buffer + i + 1) : 0;
    return d;
}

std::string ShortestDecimal(double value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    if (std::isnan(value)) return "nan";  // to_chars would write "-nan" for a negative one
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
#else
    return PortableShortestDecimal(value);
#endif
}

std::string PortableShortestDecimal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (value == 0) return std::signbit(value) ? "-0" : "0";
    // The first precision with digits that read back as the value; 17 digits
    // always do. At that precision the correctly rounded digits are the
    // closest; when they miss, the neighbour on the value's other side may
    // still read back (the value's rounding interval is not centred on the
    // rounded digits) and is then the shortest form.
    const double magnitude = std::fabs(value);
    TDecimalDigits d;
    int binaryExponent = 0;
    if (std::frexp(magnitude, &binaryExponent) != 0.5) {
        // Not a power of two: the doubles on both sides are equally far, so
        // a neighbour never reads back where the closer rounded digits do
        // not, and digits that read back at one precision do at every higher
        // one (the rounded digits only come closer). Most numbers written
        // have one or two digits, the others mostly fifteen or more: one and
        // two are tried first, then the first precision is found by halving
        // (six conversions at most, not up to seventeen pairs).
        const auto readsBack = [magnitude](int significant, TDecimalDigits& digits) {
            digits = RoundedDecimal(magnitude, significant);
            double back = 0;
            return ReadC(ScientificText(digits), back) && back == magnitude;
        };
        if (!readsBack(1, d) && !readsBack(2, d)) {
            int low = 3, high = 17;
            TDecimalDigits candidate;
            bool found = false;
            while (low < high) {
                const int middle = (low + high) / 2;
                if (readsBack(middle, candidate)) {
                    high = middle;
                    d = std::move(candidate);
                    found = true;
                } else {
                    low = middle + 1;
                }
            }
            if (!found) d = RoundedDecimal(magnitude, 17);
        }
    } else {
        for (int significant = 1; significant <= 17; ++significant) {
            d = RoundedDecimal(magnitude, significant);
            double back = 0;
            if (!ReadC(ScientificText(d), back)) continue;
            if (back == magnitude) break;
            TDecimalDigits other = StepLastDigit(d, back < magnitude ? 1 : -1);
            if (ReadC(ScientificText(other), back) && back == magnitude) {
                d = other;
                break;
            }
        }
    }
    d.Negative = value < 0;
    while (d.Digits.size() > 1 && d.Digits.back() == '0') d.Digits.pop_back();

    const int n = static_cast<int>(d.Digits.size());
    const int e = d.Exponent;
    std::string scientific = d.Digits.substr(0, 1);
    if (n > 1) scientific += "." + d.Digits.substr(1);
    std::string exponent = std::to_string(std::abs(e));
    if (exponent.size() < 2) exponent.insert(0, "0");
    scientific += (e < 0 ? "e-" : "e+") + exponent;
    std::string fixed;
    if (e >= n - 1) {
        // A whole number is written with its exact digits, not the shortest
        // ones padded with zeros (same length: 1152921504606846976, not
        // 1152921504606847000).
        char exact[400];
        std::snprintf(exact, sizeof exact, "%.0f", magnitude);
        fixed = exact;
    } else if (e >= 0) {
        fixed = d.Digits.substr(0, static_cast<std::size_t>(e + 1)) + "." + d.Digits.substr(static_cast<std::size_t>(e + 1));
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + d.Digits;
    }
    // The fixed form wins a tie, as it does for std::to_chars.
    return (d.Negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

bool ParseDecimal(std::string_view text, double& value) {
    double parsed = 0;
    if (text.starts_with('+') || !ReadC(std::string(text), parsed) || std::isinf(parsed)) return false;
    if (parsed == 0) {
        // Zero only from zero digits: a tiny value that underflowed is out of range.
        for (const char c : text) {
            if (c == 'e' || c == 'E') break;
            if (c >= '1' && c <= '9') return false;
        }
    }
    value = parsed;
    return true;
}

}  // namespace zevra
