// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// A large generated batch over the shipped reference data: the HTML written
// for it must stay byte for byte what the program wrote before the batch was
// made faster. The checksum below was taken from that earlier program; a
// change of the output (or of the generator here) shows as a new checksum.
#include "batch/core/u_batchcore.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zevra::test {
namespace {

std::string Decimal(int value, int decimals) {
    std::string digits = std::to_string(value);
    while (static_cast<int>(digits.size()) <= decimals) digits.insert(0, "0");
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    return digits;
}

// Rows across the whole range of every decile (so that long assessments with
// several partial texts occur), names with markup characters and names longer
// than their field, missing codes, and every spelling of the water column.
std::string GenerateFile(std::size_t rows, const std::vector<std::string>& regions) {
    TRandom random(977);
    const char* water[] = {"Ano", "ano", "ANO", "Ne", "", "Anoxx", "n"};
    std::string text = "# generated\r\n";
    for (std::size_t i = 0; i < rows; ++i) {
        const int obyvatele = random.Between(450, 3100);
        const int ea = obyvatele * random.Between(35, 55) / 100;
        const int nezamestnani = ea * random.Between(1, 25) / 100;
        const int vyjizdejici = (ea - nezamestnani) * random.Between(5, 95) / 100;
        const int podnikatele = random.Between(20, 500);
        std::string name = "Obec č. " + std::to_string(i + 1);
        switch (random.Between(0, 9)) {
            case 0: name += " & <Dolní> \"Ves\""; break;
            case 1: name += " Přední Lhota nad Vltavou a Labem"; break;
            default: break;
        }
        if (i % 1000 == 7) text += "\r\n#comment\r\n   \r\n";
        const std::vector<std::string> values = {
            name,
            random.Between(0, 19) == 0 ? std::string() : std::to_string(500000 + i),
            regions[static_cast<std::size_t>(random.Between(0, static_cast<int>(regions.size()) - 1))],
            std::to_string(obyvatele),
            std::to_string(ea),
            std::to_string(nezamestnani),
            std::to_string(vyjizdejici),
            std::to_string(random.Between(150, 1300)),
            Decimal(random.Between(10000, 999999), 2),
            std::to_string(random.Between(5, 180)),
            std::to_string(random.Between(1, 70)),
            Decimal(random.Between(0, 40000), 3),
            std::to_string(podnikatele),
            std::to_string(podnikatele * random.Between(0, 60) / 100),
            std::to_string(random.Between(0, 400)),
            water[random.Between(0, 6)],
        };
        for (std::size_t v = 0; v < values.size(); ++v) text += (v ? " ; " : "") + values[v];
        text += "\r\n";
    }
    return Utf8ToCp1250(text);
}

constexpr std::size_t kExpectedSize = 24974435;
constexpr std::uint64_t kExpectedHash = 7248331908954630068ULL;

std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

TEST(BatchLarge, OutputOfAGeneratedFileStaysTheSame) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    std::vector<std::string> regions;
    for (const auto& kraj : model.Kraje()) regions.push_back(kraj.Nazev);
    ASSERT_FALSE(regions.empty());

    batch.LoadInputBytes(GenerateFile(30000, regions));
    batch.ValidateInputRows();
    ASSERT_TRUE(batch.InputValid()) << batch.ErrorCountText();
    ASSERT_GT(batch.WarningRowCount(), 0);
    batch.RunModelOnRows();
    ASSERT_EQ(batch.OutputData().RowCount(), 30000u);

    const std::string html = batch.HtmlOutputBytes();
    TempDir dir;
    const std::string path = (dir.Path() / "out.html").string();
    batch.WriteHtmlOutput(path);
    EXPECT_EQ(ReadFileBytes(path), html);

    EXPECT_EQ(html.size(), kExpectedSize);
    EXPECT_EQ(Fnv1a(html), kExpectedHash);
}

}  // namespace
}  // namespace zevra::test
