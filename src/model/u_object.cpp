// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_object.h"

#include <cinttypes>
#include <cstdio>

namespace zevra {

std::string TObjectEx::AsString() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%08" PRIXPTR, reinterpret_cast<std::uintptr_t>(this));
    return std::string(ClassName()) + "@" + buffer;
}

bool TFloat::IsEqual(const TObjectEx& other) const {
    const auto* f = dynamic_cast<const TFloat*>(&other);
    return f != nullptr && f->Value == Value;
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string PathMessage(std::string_view message, std::string_view path, std::string_view where) {
    std::string text;
    text.reserve(message.size() + path.size() + where.size() + 3);
    text.append(message).append("\r\n[").append(path).append(where).append("]");
    return text;
}

std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args) {
    // The text between the placeholders goes in whole, into a string of the
    // final size: messages are composed for every faulty line of a file.
    std::size_t size = format.size();
    for (const std::string_view arg : args) size += arg.size();
    std::string out;
    out.reserve(size);
    auto next = args.begin();
    std::size_t copied = 0;
    for (std::size_t i = format.find('%'); i != std::string_view::npos && next != args.end(); i = format.find('%', i + 1)) {
        if (i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
            out.append(format.substr(copied, i - copied)).append(*next++);
            copied = i + 2;
            ++i;
        }
    }
    out.append(format.substr(copied));
    return out;
}

}  // namespace zevra
