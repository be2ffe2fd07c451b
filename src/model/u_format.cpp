// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_format.h"

#include "model/u_decimal.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cwchar>
#include <limits>

namespace zevra {
namespace {

std::string& SeparatorStorage() {
    static std::string separator;
    return separator;
}

// The value rounded to 15 significant digits: the digits and the decimal
// exponent of the first one (value = d.ddd... x 10^exponent).
struct Decimal {
    bool negative = false;
    std::string digits;  // 15 digits
    int exponent = 0;
};

Decimal ToDecimal(double value) {
    const TDecimalDigits rounded = RoundedDecimal(value, 15);
    return Decimal{rounded.Negative, rounded.Digits, rounded.Exponent};
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string Group(const std::string& integerDigits) {
    const std::string& sep = ThousandSeparator();
    if (sep.empty()) return integerDigits;
    std::string out;
    const std::size_t n = integerDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += sep;
        out += integerDigits[i];
    }
    return out;
}

// Rounds half away from zero to `decimals` decimals; returns the sign and the
// integer and fraction digits.
std::string FormatRounded(double value, int decimals, bool grouped) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (decimals < 0) decimals = 0;
    const Decimal d = ToDecimal(value);
    // All digits of the result, the units digit at index `point - 1`.
    std::string digits;
    int point;  // number of integer digits in `digits`
    if (d.digits.find_first_not_of('0') == std::string::npos) {
        digits = "0";
        point = 1;
    } else {
        point = d.exponent + 1;
        digits = d.digits;
        if (point <= 0) {
            digits.insert(0, static_cast<std::size_t>(-point + 1), '0');
            point = 1;
        }
    }
    const std::size_t keep = static_cast<std::size_t>(point + decimals);
    if (digits.size() > keep) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            std::size_t i = keep;
            while (i > 0) {
                --i;
                if (digits[i] == '9') {
                    digits[i] = '0';
                } else {
                    ++digits[i];
                    break;
                }
                if (i == 0) {
                    digits.insert(0, "1");
                    ++point;
                }
            }
        }
    }
    digits.resize(static_cast<std::size_t>(point + decimals), '0');
    std::string integer = digits.substr(0, static_cast<std::size_t>(point));
    const auto firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? "0" : integer.substr(firstNonZero);
    const std::string fraction = digits.substr(static_cast<std::size_t>(point));
    const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !zero) ? "-" : "";
    out += grouped ? Group(integer) : integer;
    if (decimals > 0) out += "." + fraction;
    return out;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

const std::string& ThousandSeparator() { return SeparatorStorage(); }

void SetThousandSeparator(std::string separator) { SeparatorStorage() = std::move(separator); }

std::string LocaleSeparatorToUtf8(std::string_view bytes) {
    // The locale's separator is in the locale's own character set (0xA0 in
    // cs_CZ.ISO-8859-2); mbrtowc knows it, and glibc's wide characters are
    // Unicode code points.
    std::string out;
    std::mbstate_t state{};
    for (std::size_t pos = 0; pos < bytes.size();) {
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, bytes.data() + pos, bytes.size() - pos, &state);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0) return std::string();
        AppendUtf8(out, static_cast<char32_t>(wc));
        pos += n;
    }
    // Numbers are written and read with "." as the decimal point, so a "."
    // grouping digits (de_DE, hr_HR ...) would make 444.65 read as 44465;
    // such a locale groups with nothing, as C does.
    if (out == ".") return std::string();
    return out;
}

void UseLocaleThousandSeparator() {
    const std::lconv* conv = std::localeconv();
    const std::string sep = conv != nullptr && conv->thousands_sep != nullptr ? conv->thousands_sep : "";
    SetThousandSeparator(LocaleSeparatorToUtf8(sep));
}

std::string FormatInt(long long value) { return std::to_string(value); }

std::string FormatN(double value, int decimals) { return FormatRounded(value, decimals, true); }

std::string FormatFixed(double value, int decimals) { return FormatRounded(value, decimals, false); }

std::string FormatShortest(double value) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    // A whole number below 10^15 is written with its digits alone, as the
    // general form below would write it.
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) return std::to_string(static_cast<long long>(value));
    Decimal d = ToDecimal(value);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent >= 15 || d.exponent < -5) {
        out += d.digits.substr(0, 1);
        if (n > 1) out += "." + d.digits.substr(1);
        out += "E" + std::to_string(d.exponent);
    } else if (d.exponent < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    } else if (n <= d.exponent + 1) {
        out += d.digits + std::string(static_cast<std::size_t>(d.exponent + 1 - n), '0');
    } else {
        out += d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1)) + "." +
               d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
    }
    return out;
}

std::string FormatReal23(double value) {
    if (!std::isfinite(value)) {
        const std::string text = NonFinite(value);
        return std::string(23 - text.size(), ' ') + text;
    }
    Decimal d = ToDecimal(value);
    if (value == 0) d = Decimal{false, std::string(15, '0'), 0};
    std::string exponent = std::to_string(std::abs(d.exponent));
    exponent.insert(0, 4 - std::min<std::size_t>(4, exponent.size()), '0');
    return std::string(d.negative ? "-" : " ") + d.digits.substr(0, 1) + "." + d.digits.substr(1) + "E" +
           (d.exponent < 0 ? "-" : "+") + exponent;
}

bool TryParseInteger(std::string_view text, std::int32_t& value) {
    std::string_view body = text;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (!AllDigits(body)) return false;
    long long magnitude = 0;
    for (char c : body) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const long long result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

bool TryParseNumber(std::string_view text, double& value) {
    std::string_view body = text;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    // Check the shape first: digits, an optional point, digits, an optional exponent.
    std::size_t i = 0, mantissaDigits = 0;
    while (i < body.size() && body[i] >= '0' && body[i] <= '9') ++i, ++mantissaDigits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && body[i] >= '0' && body[i] <= '9') ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    const bool exponent = i < body.size() && (body[i] == 'e' || body[i] == 'E');
    if (exponent) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
        if (!AllDigits(body.substr(i))) return false;
        i = body.size();
    }
    if (i != body.size()) return false;
    // Up to 15 digits and no exponent: the digits as a whole number, divided
    // once by a power of ten. Both are exact doubles, so the one rounding of
    // the division gives the nearest double, as reading every digit does.
    if (mantissaDigits <= 15 && !exponent) {
        static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::int64_t digits = 0;
        int decimals = 0;
        bool afterPoint = false;
        for (const char c : body) {
            if (c == '.') {
                afterPoint = true;
                continue;
            }
            digits = digits * 10 + (c - '0');
            if (afterPoint) ++decimals;
        }
        const double parsed = static_cast<double>(digits) / kPowersOfTen[decimals];
        value = negative ? -parsed : parsed;
        return true;
    }
    double parsed = 0;
    if (!ParseDecimal(body, parsed)) return false;
    value = negative ? -parsed : parsed;
    return true;
}

std::string EchoValue(std::string_view text) {
    constexpr std::size_t kMaxEcho = 40;
    const std::string valid = SanitizeUtf8(text);
    std::string echo = Utf8Left(valid, kMaxEcho);
    const bool cut = echo.size() < valid.size();
    // A NUL would end the message wherever it is shown as a C string.
    std::string out;
    out.reserve(echo.size() + 8);
    for (char c : echo) {
        if (c == '\0') out += "\\x00";
        else out += c;
    }
    if (cut) out += "…";
    return out;
}

std::int32_t StrToInt(std::string_view text) {
    std::int32_t value = 0;
    if (!TryParseInteger(text, value)) {
        throw EZevraError("'" + EchoValue(text) + "' is not a valid integer value");
    }
    return value;
}

double StrToFloat(std::string_view text) {
    double value = 0;
    if (!TryParseNumber(text, value)) {
        throw EZevraError("'" + EchoValue(text) + "' is not a valid floating point value");
    }
    return value;
}

std::optional<std::int32_t> KmToMetres(std::string_view km) {
    // Works on the decimal digits themselves: moving the point three places
    // and dropping the rest is exact, where km * 1000 in binary is not (1.005
    // would give 1004).
    std::string_view body = km;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    std::string digits;  // mantissa digits without the point
    long long pointAt = 0;  // digits before the point
    std::size_t i = 0;
    bool any = false;
    for (; i < body.size() && body[i] >= '0' && body[i] <= '9'; ++i) digits += body[i], ++pointAt, any = true;
    if (i < body.size() && body[i] == '.') {
        for (++i; i < body.size() && body[i] >= '0' && body[i] <= '9'; ++i) digits += body[i], any = true;
    }
    if (!any) return std::nullopt;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) expNegative = body[i++] == '-';
        if (i >= body.size()) return std::nullopt;
        long long exponent = 0;
        for (; i < body.size(); ++i) {
            if (body[i] < '0' || body[i] > '9') return std::nullopt;
            exponent = std::min<long long>(exponent * 10 + (body[i] - '0'), 100000);
        }
        pointAt += expNegative ? -exponent : exponent;
    }
    if (i != body.size()) return std::nullopt;
    pointAt += 3;  // kilometres to metres
    long long metres = 0;
    bool overflow = false;
    for (long long k = 0; k < pointAt; ++k) {
        const int digit = k < static_cast<long long>(digits.size()) ? digits[static_cast<std::size_t>(k)] - '0' : 0;
        metres = metres * 10 + digit;
        if (metres > 2147483648LL) {
            overflow = true;
            break;
        }
    }
    if (overflow) return negative ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
    if (negative) metres = -metres;
    return static_cast<std::int32_t>(std::clamp<long long>(metres, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int32_t KmToMetres(double km) {
    if (!std::isfinite(km)) return SaturateToInt32(km * 1000.0);
    // Below a million km two shortcuts give the same metres as the decimal
    // digits, without writing them: the double is so close to its shortest
    // decimal D that (1) when some whole number of metres r reads back as
    // `km`, D is r / 1000 itself, and (2) when km * 1000 is farther than a
    // millionth from every whole number, no whole number lies between it and
    // D * 1000, so both truncate alike. Only what is left (a decimal of more
    // than three places just below or above a whole metre) needs the digits.
    if (std::fabs(km) < 1e6) {
        const double m = km * 1000.0;
        const double r = std::round(m);
        if (r / 1000.0 == km) return static_cast<std::int32_t>(r);
        if (std::fabs(m - r) > 1e-6) return static_cast<std::int32_t>(std::trunc(m));
    }
    // The shortest text that reads back as `km` is the decimal the user
    // typed (for any decimal of up to 15 significant digits).
    return KmToMetres(ShortestDecimal(km)).value_or(0);
}

std::int32_t SaturateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace zevra
