// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: the check that stops the search with a
// reproducer, and the input bytes taken apart into texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace zevra::fuzz {

// A broken property: libFuzzer keeps the input as a reproducer.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input as texts separated by `separator` (a byte no text needs), at
// most `most` of them; the last takes the rest.
inline std::vector<std::string_view> SplitInput(std::string_view bytes, char separator, std::size_t most) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < most) {
        const std::size_t at = bytes.find(separator);
        if (at == std::string_view::npos) break;
        parts.push_back(bytes.substr(0, at));
        bytes.remove_prefix(at + 1);
    }
    parts.push_back(bytes);
    return parts;
}

}  // namespace zevra::fuzz
