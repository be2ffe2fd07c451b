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
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd') &&
            next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace zevra
