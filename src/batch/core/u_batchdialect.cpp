// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_batchdialect.h"

#include "batch/core/u_batchcore.h"

#include "model/u_object.h"
#include "model/u_text.h"

#include <algorithm>

namespace zevra {

namespace {

// The Czech letter without its accent, upper case; other characters as they
// are (ASCII upper-cased).
std::string FoldName(std::string_view s) {
    static constexpr struct {
        char32_t From;
        char To;
    } kFold[] = {
        {U'á', 'A'}, {U'Á', 'A'}, {U'č', 'C'}, {U'Č', 'C'}, {U'ď', 'D'}, {U'Ď', 'D'}, {U'é', 'E'},
        {U'É', 'E'}, {U'ě', 'E'}, {U'Ě', 'E'}, {U'í', 'I'}, {U'Í', 'I'}, {U'ň', 'N'}, {U'Ň', 'N'},
        {U'ó', 'O'}, {U'Ó', 'O'}, {U'ř', 'R'}, {U'Ř', 'R'}, {U'š', 'S'}, {U'Š', 'S'}, {U'ť', 'T'},
        {U'Ť', 'T'}, {U'ú', 'U'}, {U'Ú', 'U'}, {U'ů', 'U'}, {U'Ů', 'U'}, {U'ý', 'Y'}, {U'Ý', 'Y'},
        {U'ž', 'Z'}, {U'Ž', 'Z'},
    };
    s = TrimView(s);
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(s, i, cp);
        if (len <= 1) {
            const char c = s[i];
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            i += 1;
            continue;
        }
        const auto* hit = std::find_if(std::begin(kFold), std::end(kFold), [cp](const auto& f) { return f.From == cp; });
        if (hit != std::end(kFold)) out += hit->To;
        else out.append(s.substr(i, len));
        i += len;
    }
    return out;
}

}  // namespace

std::vector<std::string> SplitBatchRecord(std::string_view record, bool* open) {
    std::vector<std::string> values;
    if (open != nullptr) *open = false;
    std::size_t start = 0;
    while (start < record.size()) {
        std::size_t first = start;
        while (first < record.size() && IsBlankChar(record[first]) && record[first] != ';') ++first;
        if (first < record.size() && record[first] == '"') {
            std::string value;
            std::size_t i = first + 1;
            bool closed = false;
            while (i < record.size()) {
                if (record[i] == '"') {
                    if (i + 1 < record.size() && record[i + 1] == '"') {
                        value += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += record[i++];
            }
            if (!closed) {
                if (open != nullptr) *open = true;
                break;
            }
            const std::size_t separator = record.find(';', i);
            const std::size_t end = separator == std::string_view::npos ? record.size() : separator;
            value.append(record.substr(i, end - i));
            values.push_back(std::move(value));
            if (separator == std::string_view::npos) break;
            start = separator + 1;
            continue;
        }
        const std::size_t separator = record.find(';', start);
        const std::size_t end = separator == std::string_view::npos ? record.size() : separator;
        values.emplace_back(record.substr(start, end - start));
        if (separator == std::string_view::npos) break;
        start = separator + 1;
    }
    return values;
}

bool IsBatchHeaderRecord(const std::vector<std::string>& values) {
    if (values.size() != kBatchColumnCount) return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (FoldName(values[i]) != kInputColumns[kFileColumnFields[i]].Name) return false;
    }
    return true;
}

std::string SpreadsheetNumber(std::string_view value, bool decimalComma) {
    // The separator that starts at `at`: its length in bytes, or 0.
    const auto separatorAt = [value](std::size_t at) -> std::size_t {
        for (const std::string_view separator : {" ", "\xC2\xA0", "\xE2\x80\xAF"}) {
            if (value.substr(at).starts_with(separator)) return separator.size();
        }
        return 0;
    };
    std::string out;
    out.reserve(value.size());
    std::size_t i = 0;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) out += value[i++];
    std::size_t group = 0;  // digits of the group being read
    bool grouped = false;   // a separator was passed
    for (; i < value.size(); ++i) {
        if (value[i] >= '0' && value[i] <= '9') {
            out += value[i];
            ++group;
            continue;
        }
        const std::size_t separator = separatorAt(i);
        if (separator == 0) break;
        if (group == 0 || group > 3 || (grouped && group != 3)) return std::string(value);
        grouped = true;
        group = 0;
        i += separator - 1;
    }
    if (grouped && group != 3) return std::string(value);
    const std::string_view rest = value.substr(i);
    if (decimalComma && std::count(rest.begin(), rest.end(), ',') == 1 && rest.find('.') == std::string_view::npos) {
        std::string point(rest);
        std::replace(point.begin(), point.end(), ',', '.');
        return out + point;
    }
    return out.append(rest);
}

}  // namespace zevra
