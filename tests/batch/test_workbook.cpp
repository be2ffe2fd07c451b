// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch workbook read back by LibreOffice Calc (headless, converted to
// CSV) has the values of the HTML table: numbers as numbers, the band beside
// the integrated indicator, and the summary sheet's formulas, recalculated,
// give the counts; printed (converted to PDF) it fills A4 pages across, one
// page wide, its rows as tall as their texts. Awkward names read back alike
// from the workbook, the HTML table and the JSON.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/workbook/u_workbook.h"
#include "batch/core/u_batchjson.h"
#include "batch_fixture.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_paths.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"
#include "test_support.h"
#include "test_workbook_xml.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zevra {
namespace {

struct TCell {
    std::string Text;
    bool Quoted = false;  // Calc quotes text cells, never numbers
};
using TCsv = std::vector<std::vector<TCell>>;

TCsv ParseCsv(const std::string& text) {
    TCsv rows(1);
    rows.back().emplace_back();
    bool inQuotes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        TCell& cell = rows.back().back();
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell.Text += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                cell.Text += c;
            }
        } else if (c == '"') {
            inQuotes = cell.Quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else if (c != '\r') {
            cell.Text += c;
        }
    }
    while (!rows.empty() && rows.back().size() == 1 && rows.back()[0].Text.empty()) rows.pop_back();
    return rows;
}

class WorkbookTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice (soffice) chybí";
        test::RunBatchFile(Batch, std::string(ZEVRA_EXAMPLES_DIR) + "/obce.csv");
        // Calc recalculates every formula on loading, so that the summary's
        // counts come from its formulas, not from the results stored beside them.
        std::filesystem::create_directories(Dir.File("profile/user"));
        test::WriteBytes(Dir.File("profile/user/registrymodifications.xcu"),
                         R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" )"
                         R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse">)"
                         R"(<value>0</value></prop></item>
</oor:items>
)");
    }

    // The workbook converted by Calc to `filter`; the file written.
    std::string Convert(const std::string& workbook, const std::string& filter, const std::string& outDir) {
        const std::string command = "soffice -env:UserInstallation=file://" + Dir.File("profile") +
                                    " --headless --convert-to '" + filter + "' --outdir '" + outDir + "' '" +
                                    workbook + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        for (const auto& entry : std::filesystem::directory_iterator(outDir)) return entry.path().string();
        ADD_FAILURE() << "nothing written: " << filter;
        return {};
    }

    // Sheet `sheet` (1-based) of the workbook as Calc reads it.
    TCsv SheetAsCsv(const std::string& workbook, int sheet) {
        const std::string file =
            Convert(workbook, "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false," + std::to_string(sheet),
                    Dir.File("csv" + std::to_string(sheet)));
        return file.empty() ? TCsv{} : ParseCsv(test::ReadBytes(file));
    }

    test::TempDir Dir;
    TZevraModel Model{ZEVRA_TEST_DATA_DIR};
    TZevraBatch Batch{Model};
};

// The model's HTML of a cell as a reader sees it: a line break a line feed,
// "&nbsp;" nothing, other tags gone.
std::string HtmlAsText(const std::string& html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html.compare(i, 4, "<br/") == 0 || html.compare(i, 4, "<br ") == 0) text += '\n';
        if (html[i] == '<') i = html.find('>', i) + 1;
        else if (html.compare(i, 6, "&nbsp;") == 0) i += 6;
        else text += html[i++];
    }
    return text;
}

TEST_F(WorkbookTest, CalcReadsTheValuesOfTheHtmlTable) {
    const std::string file = Dir.File("vysledek.xlsx");
    WriteWorkbookOutput(Batch, file);
    const auto html = test::HtmlRows(Cp1250ToUtf8(Batch.HtmlOutputBytes()));
    const TCsv sheet = SheetAsCsv(file, 1);
    ASSERT_EQ(sheet.size(), html.size() + 1);
    EXPECT_EQ(sheet[0][0].Text, "Obec");
    EXPECT_EQ(sheet[0][4].Text, "Pásmo");

    std::map<std::string, int> bands;
    for (std::size_t r = 0; r < html.size(); ++r) {
        const auto& cells = sheet[r + 1];
        const auto& h = html[r];
        ASSERT_EQ(cells.size(), OutputColumns().size()) << r;
        EXPECT_EQ(cells[0].Text, h[0]);
        EXPECT_EQ(cells[1].Text, h[1]);
        EXPECT_FALSE(cells[1].Quoted) << "code stored as text";
        EXPECT_EQ(cells[2].Text, h[2]);
        EXPECT_DOUBLE_EQ(StrToFloat(cells[3].Text), StrToFloat(h[3]));
        EXPECT_FALSE(cells[3].Quoted);
        const std::string band = BandName(BandOf(StrToFloat(h[3])));
        EXPECT_EQ(cells[4].Text, band);
        ++bands[band];
        EXPECT_EQ(cells[5].Text, HtmlAsText(h[4]));
        EXPECT_EQ(cells[5].Text.rfind(band + ": ", 0), 0u);
        for (std::size_t k = 0; k < kIndicatorCount; ++k) {
            EXPECT_EQ(cells[6 + k].Text, h[5 + k]) << r << " " << k;
            EXPECT_FALSE(cells[6 + k].Quoted);
        }
        EXPECT_EQ(cells[6 + kIndicatorCount].Text, HtmlAsText(h[5 + kIndicatorCount]));
    }

    // The counts by band and by region, recalculated from the formulas.
    const TCsv summary = SheetAsCsv(file, 2);
    ASSERT_GE(summary.size(), 9u);
    EXPECT_EQ(summary[0][0].Text, "Pásmo");
    for (int b = 0; b < kBandCount; ++b) {
        EXPECT_EQ(summary[1 + static_cast<std::size_t>(b)][0].Text, BandName(b));
        EXPECT_EQ(summary[1 + static_cast<std::size_t>(b)][1].Text, std::to_string(bands[BandName(b)]));
        EXPECT_FALSE(summary[1 + static_cast<std::size_t>(b)][1].Quoted);
    }
    EXPECT_EQ(summary[5][0].Text, "Kraj");
    std::map<std::string, int> regions;
    for (const auto& h : html) ++regions[h[2]];
    std::size_t r = 6;
    for (; r < summary.size() && !summary[r][0].Text.empty(); ++r)
        EXPECT_EQ(summary[r][1].Text, std::to_string(regions[summary[r][0].Text])) << summary[r][0].Text;
    EXPECT_EQ(r - 6, regions.size());
    // Where the figures come from.
    ASSERT_EQ(summary.size(), r + 3);
    EXPECT_EQ(summary[r + 1][0].Text, "Referenční data");
    EXPECT_EQ(summary[r + 1][1].Text,
              std::filesystem::absolute(ZEVRA_TEST_DATA_DIR).lexically_normal().string());
    EXPECT_EQ(summary[r + 2][0].Text, "Demonstrační data");
    EXPECT_EQ(summary[r + 2][1].Text, IsDemonstrationData(ZEVRA_TEST_DATA_DIR) ? "ano (nejde o oficiální údaje)" : "ne");
}

// Printed, the results fill A4 pages across, one page wide, as many as their
// wrapped texts need at that scale: rows not as tall as their texts would
// take fewer pages, columns not fitted to the width more. The summary prints
// upright.
TEST_F(WorkbookTest, CalcReadsItAsA4PagesOnePageWide) {
    const std::string file = Dir.File("vysledek.xlsx");
    WriteWorkbookOutput(Batch, file);
    const std::string pdf = test::ReadBytes(Convert(file, "pdf", Dir.File("pdf")));
    int across = 0, upright = 0;
    for (std::size_t at = pdf.find("/Type/Page"); at != std::string::npos; at = pdf.find("/Type/Page", at + 1)) {
        if (pdf.compare(at, 11, "/Type/Pages") == 0) continue;
        const std::size_t objectStart = pdf.rfind(" obj", at), box = pdf.find("/MediaBox[", objectStart);
        ASSERT_NE(box, std::string::npos);
        double x0, y0, width, height;
        ASSERT_EQ(std::sscanf(pdf.c_str() + box + 10, "%lf %lf %lf %lf", &x0, &y0, &width, &height), 4);
        const auto isA4 = [](double a, double b) { return std::abs(a - 841.89) < 1 && std::abs(b - 595.3) < 1; };
        if (isA4(width, height)) ++across;
        else if (isA4(height, width)) ++upright;
        else ADD_FAILURE() << "not A4: " << width << " x " << height;
    }
    EXPECT_EQ(upright, 1);
    const test::TSheetLayout layout = test::ReadSheetLayout(file);
    // A column of width w is 7w + 5 pixels of 0.75 point; margins 0.4 and 0.6 in.
    // The height the texts need at the least (a row without its height
    // prints over the next), and the height the rows have.
    double width = 0, needed = 0, declared = 0;
    for (const double w : layout.ColumnWidths) width += (7 * w + 5) * 0.75;
    for (std::size_t row = 0; row < layout.RowHeights.size(); ++row) {
        int lines = 1;
        for (const auto& [column, text] : layout.Texts[row])
            lines = std::max(lines, test::FewestLines(text, layout.ColumnWidths[column]));
        needed += 15 * lines;
        declared += layout.RowHeights[row];
    }
    const double scale = std::min(1.0, (841.89 - 0.8 * 72) / width) / (595.3 - 1.2 * 72);
    EXPECT_GE(across, std::lround(needed * scale)) << needed * scale;
    EXPECT_LE(across, static_cast<int>(declared * scale) + 2) << declared * scale;
}

TEST_F(WorkbookTest, FailedSaveLeavesNoFileAndKeepsTheOldOne) {
    EXPECT_THROW(WriteWorkbookOutput(Batch, "  "), EZevraError);
    const std::string missingDir = Dir.File("chybi/vysledek.xlsx");
    EXPECT_THROW(WriteWorkbookOutput(Batch, missingDir), EZevraError);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("chybi")));

    const std::string existing = Dir.File("stary.xlsx");
    test::WriteBytes(existing, "old");
    WriteWorkbookOutput(Batch, existing);
    EXPECT_NE(test::ReadBytes(existing), "old");
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(Dir.Path())) files += e.path().filename() != "profile";
    EXPECT_EQ(files, 1u) << "a temporary file was left behind";
}

TEST_F(WorkbookTest, SavedAsEveryOutputIsThroughALinkAndWithThePermissions) {
    const std::string real = Dir.File("skutecny.xlsx");
    const std::string link = Dir.File("odkaz.xlsx");
    test::WriteBytes(real, "old");
    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    std::filesystem::create_symlink(real, link);
    WriteWorkbookOutput(Batch, link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(real).substr(0, 2), "PK");  // a zip archive
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

// A cell of the HTML table as a browser reads it: entities and character
// references decoded.
std::string HtmlCellText(const std::string& cell) {
    std::string text;
    for (std::size_t i = 0; i < cell.size();) {
        const std::size_t end = cell.find(';', i);
        if (cell[i] != '&' || end == std::string::npos) {
            text += cell[i++];
            continue;
        }
        const std::string entity = cell.substr(i + 1, end - i - 1);
        if (entity == "amp") text += '&';
        else if (entity == "lt") text += '<';
        else if (entity == "gt") text += '>';
        else if (entity == "quot") text += '"';
        else if (entity.rfind("#x", 0) == 0) AppendUtf8(text, static_cast<char32_t>(std::stoul(entity.substr(2), nullptr, 16)));
        else if (entity.rfind("#", 0) == 0) AppendUtf8(text, static_cast<char32_t>(std::stoul(entity.substr(1))));
        else text += "&" + entity + ";";
        i = end + 1;
    }
    return text;
}

// Names the workbook once altered (a reader takes "_xHHHH_" for a character)
// or cut (at a NUL): each output gives back the same text, with U+FFFD for a
// character no output can carry.
TEST_F(WorkbookTest, AwkwardNamesReadBackAlikeFromTheWorkbookTheHtmlAndTheJson) {
    const struct {
        std::string Name, ReadBack;
    } cases[] = {
        {"_x0041_", "_x0041_"},
        {"A_x000D_B", "A_x000D_B"},
        {"_x005F_x0041_", "_x005F_x0041_"},
        {"_X004a_", "_X004a_"},
        {"_x0041\rB", "_x0041\rB"},
        {std::string("Nul\0x", 5), "Nul\uFFFDx"},
        {"A\x01" "B", "A\uFFFDB"},
        {"A\x7F" "B", "A\uFFFDB"},
        {"A\tB", "A\tB"},
        {"A\u0085B", "A\uFFFDB"},
        {"A\uFFFEB", "A\uFFFDB"},
        {"Žďár nad Sázavou", "Žďár nad Sázavou"},
    };
    TMemTable& table = Batch.OutputData();
    ASSERT_GE(table.RowCount(), std::size(cases));
    for (std::size_t r = 0; r < std::size(cases); ++r) table.SetText(r, ofOBEC, cases[r].Name);

    const std::string file = Dir.File("vysledek.xlsx");
    WriteWorkbookOutput(Batch, file);
    const TCsv sheet = SheetAsCsv(file, 1);
    const auto html = test::HtmlRows(Cp1250ToUtf8(Batch.HtmlOutputBytes()));
    const auto json = nlohmann::json::parse(BatchJsonText(Batch));
    for (std::size_t r = 0; r < std::size(cases); ++r) {
        ASSERT_GT(sheet.size(), r + 1);
        EXPECT_EQ(sheet[r + 1][0].Text, cases[r].ReadBack) << r;
        EXPECT_EQ(HtmlCellText(html[r][0]), cases[r].ReadBack) << r;
        EXPECT_EQ(json["obce"][r]["obec"].get<std::string>(), cases[r].ReadBack) << r;
    }
}

// Each format the command line offers writes its file, and its extension
// chooses it in any letter case; any other name gets the HTML table.
TEST(OutputFormatsTest, TheExtensionChoosesAFormatThatWrites) {
    TOutputFormats formats;
    for (TOutputFormat format : {HtmlOutputFormat(), WorkbookOutputFormat(), JsonOutputFormat()})
        formats.Register(std::move(format));
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    test::RunBatchFile(batch, std::string(ZEVRA_EXAMPLES_DIR) + "/obce.csv");
    const test::TempDir dir;
    const struct {
        const char* File;
        const char* Format;
        const char* Start;
    } kCases[] = {{"v.html", "html", "<html>"}, {"V.XLSX", "xlsx", "PK"}, {"v.Json", "json", "{"}, {"v.csv", "html", "<html>"}};
    for (const auto& c : kCases) {
        const TOutputFormat& format = formats.ForFile(c.File);
        EXPECT_EQ(format.Name, c.Format) << c.File;
        format.Write(batch, dir.File(c.File), {});
        EXPECT_TRUE(test::ReadBytes(dir.File(c.File)).starts_with(c.Start)) << c.File;
    }
}

}  // namespace
}  // namespace zevra
