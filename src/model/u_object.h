// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The base layer of the model: the record base class, the boxed number, the
// three-valued flag, the general error and two string helpers.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zevra {

// The general error of the system: an exception that carries a message text
// (UTF-8). Every failure of the core is one of these or derives from it.
class EZevraError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Common base of the model's records. Records are plain values: copying is
// their copy construction (CreateCopy) and copy assignment (Assign).
class TObjectEx {
public:
    virtual ~TObjectEx() = default;

    virtual const char* ClassName() const { return "TObjectEx"; }

    // The base answers whether `other` is this very object.
    virtual bool IsEqual(const TObjectEx& other) const { return this == &other; }

    // Diagnostic text: the class name, "@" and the object's address in
    // upper-case hexadecimal (at least eight digits).
    std::string AsString() const;

    bool operator==(const TObjectEx&) const = default;

protected:
    TObjectEx() = default;
    TObjectEx(const TObjectEx&) = default;
    TObjectEx& operator=(const TObjectEx&) = default;
};

class TFloat : public TObjectEx {
public:
    TFloat() = default;
    explicit TFloat(double value) : Value(value) {}
    const char* ClassName() const override { return "TFloat"; }
    bool IsEqual(const TObjectEx& other) const override;

    double Value = 0;
};

enum class TTriBool : unsigned char { tbTrue = 0, tbFalse = 1, tbUnknown = 2 };

// The characters that trimming removes: codes 0 to 32.
inline bool IsBlankChar(char c) { return static_cast<unsigned char>(c) <= 32; }

// True when `s` is empty after removing leading and trailing blank characters.
inline bool IsBlank(std::string_view s) {
    for (const char c : s) {
        if (!IsBlankChar(c)) return false;
    }
    return true;
}

// `s` without leading and trailing blank characters, without a copy (inline:
// every value of a batch file goes through it).
inline std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlankChar(s[b])) ++b;
    while (e > b && IsBlankChar(s[e - 1])) --e;
    return s.substr(b, e - b);
}
// The same as a string.
std::string Trim(std::string_view s);

// Exact, case-sensitive equality.
inline bool SameStr(std::string_view a, std::string_view b) { return a == b; }

// Replaces the "%s" and "%d" place holders of a message, in order, by the
// given texts (numbers are formatted by the caller).
std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args);

// A message about a file: the message (ending in "!"), then on a line of its
// own the path in brackets: "Soubor nelze zapsat!\r\n[path]". `where` may
// add to the path, e.g. ", řádek 7".
std::string PathMessage(std::string_view message, std::string_view path, std::string_view where = {});

}  // namespace zevra
