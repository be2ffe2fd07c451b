// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// JSON text for the two documents of the batch core (the batch table and
// one evaluated municipality): strings, numbers and a small writer of
// indented documents. One set of rules for both, so that a text or a
// number reads back the same from either.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zevra {

// Appends UTF-8 text as a JSON string. What no output can carry (a control
// character other than tab, LF and CR, U+007F to U+009F, U+FFFE, U+FFFF, a
// byte that starts no valid sequence) becomes U+FFFD, so that the JSON gives
// back the texts as the HTML table and the workbook do.
void AppendJsonString(std::string& out, std::string_view text);
void AppendJsonInt(std::string& out, std::int64_t value);
// A double as JSON: the shortest form that reads back the same, always with
// a decimal point or an exponent (530.0), so that a reader sees the same
// type in every document; null for what JSON cannot hold.
void AppendJsonNumber(std::string& out, double value);

// Writes one document with two blanks of indent per level:
//   TJsonWriter w; w.BeginObject().Key("obec").Value("Lhota").EndObject();
//   w.Text() == "{\n  \"obec\": \"Lhota\"\n}\n"
class TJsonWriter {
public:
    TJsonWriter& BeginObject() { return Open('{'); }
    TJsonWriter& EndObject() { return Close('}'); }
    TJsonWriter& BeginArray() { return Open('['); }
    TJsonWriter& EndArray() { return Close(']'); }
    // The key of the next value, inside an object.
    TJsonWriter& Key(std::string_view key);

    TJsonWriter& Null();
    TJsonWriter& Value(bool value);
    TJsonWriter& Value(std::string_view text);
    TJsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
    TJsonWriter& Value(const std::string& text) { return Value(std::string_view(text)); }
    template <typename T>
        requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
    TJsonWriter& Value(T number) {
        NextValue();
        if constexpr (std::is_integral_v<T>)
            AppendJsonInt(FText, static_cast<std::int64_t>(number));
        else
            AppendJsonNumber(FText, static_cast<double>(number));
        return *this;
    }
    // A string, or null for an empty one.
    TJsonWriter& TextOrNull(std::string_view text) { return text.empty() ? Null() : Value(text); }

    // The document, ending with a line feed.
    std::string Text() const { return FText + "\n"; }

private:
    TJsonWriter& Open(char bracket);
    TJsonWriter& Close(char bracket);
    void NextValue();
    void NewLine();

    std::string FText;
    std::vector<bool> FEmpty;  // per open object or array: nothing in it yet
    bool FAfterKey = false;
};

}  // namespace zevra
