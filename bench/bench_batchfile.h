// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch benchmarks' input: a generated batch file of valid
// municipalities (code page 1250, CR LF, the same rows on every run).
#pragma once

#include "test_support.h"

#include "model/u_text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zevra::bench {

inline void AppendDecimal(std::string& out, int value, int decimals) {
    std::string digits = std::to_string(value);
    while (static_cast<int>(digits.size()) <= decimals) digits.insert(0, "0");
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    out += digits;
}

// The file is written in pieces so that a million rows need no large string.
// The tests' deterministic generator makes every run measure the same file.
inline bool WriteBatchFile(const std::string& path, std::size_t rows, const std::vector<std::string>& regionsCp1250) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    test::TRandom random(20240607);
    const std::string obec = Utf8ToCp1250("Obec č. ");
    std::string text = "# generated batch file\r\n";
    const auto field = [&text](const std::string& value) {
        text += value;
        text += ';';
    };
    for (std::size_t i = 0; i < rows; ++i) {
        const int obyvatele = random.Between(500, 3000);
        const int ea = obyvatele * random.Between(40, 50) / 100;
        const int nezamestnani = ea * random.Between(2, 12) / 100;
        const int vyjizdejici = (ea - nezamestnani) * random.Between(20, 80) / 100;
        const int podnikatele = random.Between(50, 400);
        field(obec + std::to_string(i + 1));
        field(std::to_string(500000 + i));
        field(regionsCp1250[i % regionsCp1250.size()]);
        field(std::to_string(obyvatele));
        field(std::to_string(ea));
        field(std::to_string(nezamestnani));
        field(std::to_string(vyjizdejici));
        field(std::to_string(random.Between(180, 900)));
        AppendDecimal(text, random.Between(10000, 300000), 2);
        text += ';';
        field(std::to_string(random.Between(10, 90)));
        field(std::to_string(random.Between(2, 40)));
        AppendDecimal(text, random.Between(1, 1500), 2);
        text += ';';
        field(std::to_string(podnikatele));
        field(std::to_string(podnikatele * random.Between(0, 20) / 100));
        field(std::to_string(random.Between(0, 300)));
        text += random.Between(0, 3) == 0 ? "Ne" : "Ano";
        text += "\r\n";
        if (text.size() > (1u << 20)) {
            std::fwrite(text.data(), 1, text.size(), f);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), f);
    return std::fclose(f) == 0;
}

}  // namespace zevra::bench
