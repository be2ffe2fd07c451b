// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_jsontext.h"

#include "model/u_decimal.h"
#include "model/u_text.h"

#include <charconv>
#include <cmath>

namespace zevra {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    AppendOutputText(
        out, text, [](unsigned char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; }, kReplacement,
        [&out](char32_t cp, std::string_view bytes) {
            switch (cp) {
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                case '\t': out += "\\t"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                default: out += bytes;
            }
        });
    out += '"';
}

void AppendJsonInt(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    const std::string written = ShortestDecimal(value);
    out += written;
    if (written.find_first_of(".e") == std::string::npos) out += ".0";
}

TJsonWriter& TJsonWriter::Key(std::string_view key) {
    NewLine();
    AppendJsonString(FText, key);
    FText += ": ";
    FAfterKey = true;
    return *this;
}

TJsonWriter& TJsonWriter::Null() {
    NextValue();
    FText += "null";
    return *this;
}

TJsonWriter& TJsonWriter::Value(bool value) {
    NextValue();
    FText += value ? "true" : "false";
    return *this;
}

TJsonWriter& TJsonWriter::Value(std::string_view text) {
    NextValue();
    AppendJsonString(FText, text);
    return *this;
}

TJsonWriter& TJsonWriter::Open(char bracket) {
    NextValue();
    FText += bracket;
    FEmpty.push_back(true);
    return *this;
}

TJsonWriter& TJsonWriter::Close(char bracket) {
    const bool empty = FEmpty.back();
    FEmpty.pop_back();
    if (!empty) {
        FText += '\n';
        FText.append(2 * FEmpty.size(), ' ');
    }
    FText += bracket;
    return *this;
}

// A value after its key stays on the key's line; any other value inside an
// object or array starts a line of its own.
void TJsonWriter::NextValue() {
    if (FAfterKey)
        FAfterKey = false;
    else if (!FEmpty.empty())
        NewLine();
}

void TJsonWriter::NewLine() {
    FText += FEmpty.back() ? "\n" : ",\n";
    FEmpty.back() = false;
    FText.append(2 * FEmpty.size(), ' ');
}

}  // namespace zevra
