// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's results sheet laid out to be read and printed: every row at
// least as tall as its wrapped texts take in their columns (else they print
// over the next row), none taller than a sheet allows; a table longer than a
// sheet refused with a Czech message before anything is written; a sheet
// made in pieces joined whole; and the
// golden cases of tests/data/batch-xlsx: input.csv loaded, validated, run
// and written, its workbook's parts (cells, formulas, page setup, styles) in
// expected.xml, also when the locale has a decimal comma.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_pieces.h"
#include "batch/workbook/u_workbook.h"
#include "batch_fixture.h"
#include "model/u_model.h"
#include "test_support.h"
#include "test_workbook_xml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace zevra {
namespace {

TEST(WorkbookLayout, RowsAreAsTallAsTheirWrappedTexts) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    test::RunBatchFile(batch, std::string(ZEVRA_EXAMPLES_DIR) + "/obce.csv");
    const test::TempDir dir;
    const std::string file = dir.File("vysledek.xlsx");
    WriteWorkbookOutput(batch, file);

    const test::TSheetLayout layout = test::ReadSheetLayout(file);
    const auto& columns = OutputColumns();
    ASSERT_EQ(layout.ColumnWidths.size(), columns.size());
    ASSERT_EQ(layout.RowHeights.size(), batch.OutputData().RowCount() + 1);
    int tallRows = 0;
    for (std::size_t row = 0; row < layout.RowHeights.size(); ++row) {
        EXPECT_LE(layout.RowHeights[row], 409) << row;
        tallRows += layout.RowHeights[row] > 15;
        for (const auto& [column, text] : layout.Texts[row]) {
            // The header wraps in every column, the model's texts in theirs.
            const TOutputKind kind = columns[column].Kind;
            if (row > 0 && kind != TOutputKind::okAssessment && kind != TOutputKind::okWater) continue;
            EXPECT_GE(layout.RowHeights[row], 15 * test::FewestLines(text, layout.ColumnWidths[column]))
                << "row " << row + 1 << ", column " << column + 1 << ": " << text;
        }
    }
    EXPECT_GT(tallRows, 1) << "the assessments wrap";
}

TEST(WorkbookLayout, ATableLongerThanASheetIsRefusedBeforeAnything) {
    const struct {
        std::size_t Rows;
        const char* Error;
    } kCases[] = {
        {0, "(no error)"},
        {kWorkbookMaxRows, "(no error)"},
        {kWorkbookMaxRows + 1,
         "Výsledek má 1 048 576 obcí, list sešitu jich pojme nejvýše 1 048 575 (uložte jej jako HTML nebo JSON)!\r\n"
         "[/tmp/v.xlsx]"},
        {12345678,
         "Výsledek má 12 345 678 obcí, list sešitu jich pojme nejvýše 1 048 575 (uložte jej jako HTML nebo JSON)!\r\n"
         "[/tmp/v.xlsx]"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(test::ErrorOf([&] { CheckWorkbookRows(c.Rows, " /tmp/v.xlsx "); }), c.Error) << c.Rows;
}

// A table of several pieces (each made and compressed on its own, joined
// in order) unpacks whole, its checksum right, every row in its place; the
// bytes are the same however many threads make the pieces.
TEST(WorkbookLayout, PiecesJoinIntoOneWholeSheet) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    TMemTable& t = batch.OutputData();
    constexpr std::size_t kRows = 2500;
    for (std::size_t i = 0; i < kRows; ++i) {
        const std::size_t row = t.AppendRow();
        t.SetText(row, ofOBEC, "Obec " + std::to_string(i));
        t.SetInt(row, ofKODOBCE, static_cast<int>(500000 + i));
        t.SetText(row, ofKRAJ, i % 3 ? "Vysočina" : "Kraj_x0041_");
        t.SetFloat(row, ofOBYVATELSTVO, 400.5 + static_cast<double>(i % 500));
        for (std::size_t f = ofDCK; f < ofVODOVOD; ++f) t.SetInt(row, f, static_cast<int>(1 + (i + f) % 10));
    }
    const std::string zip = WorkbookBytes(batch);
    const std::string sheet = test::ZipPartOf(zip, "xl/worksheets/sheet1.xml");
    ASSERT_TRUE(sheet.ends_with("</worksheet>"));
    std::size_t rows = 0;
    for (std::size_t at = sheet.find("<row "); at != std::string::npos; at = sheet.find("<row ", at + 1)) ++rows;
    EXPECT_EQ(rows, kRows + 1);
    const std::size_t last = sheet.find("<row r=\"2501\"");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(sheet.substr(sheet.find("<t>", last), 16), "<t>Obec 2499</t>");
    EXPECT_NE(test::ZipPartOf(zip, "xl/sharedStrings.xml").find("<t>Kraj_x005F_x0041_</t>"), std::string::npos);

    const unsigned limit = PieceThreadLimit().exchange(1);
    const std::string oneThread = WorkbookBytes(batch);
    PieceThreadLimit() = limit;
    EXPECT_TRUE(oneThread == zip);
}

// The parts of the workbook that say what a reader sees, one after the
// other, an element a line; the reference data folder, which differs from machine to machine,
// as "[data]". (The document properties hold the time of writing.)
std::string WorkbookParts(const std::string& input) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    test::RunBatchFile(batch, input);
    const test::TempDir dir;
    const std::string file = dir.File("vysledek.xlsx");
    WriteWorkbookOutput(batch, file);
    const std::string folder = std::filesystem::absolute(ZEVRA_TEST_DATA_DIR).lexically_normal().string();
    std::string parts;
    for (const char* name : {"xl/workbook.xml", "xl/styles.xml", "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml",
                             "xl/worksheets/sheet2.xml"}) {
        std::string part = test::ZipPart(file, name);
        for (std::size_t at = part.find(folder); at != std::string::npos; at = part.find(folder, at))
            part.replace(at, folder.size(), "[data]");
        // An element a line, so that a change shows as the lines it changes
        // (a text's own "<" and ">" are escaped).
        for (std::size_t at = part.find("><"); at != std::string::npos; at = part.find("><", at + 2)) part.insert(at + 1, "\n");
        parts += std::string("=== ") + name + " ===\n" + part + "\n";
    }
    return parts;
}

TEST(WorkbookLayout, GoldenCasesGiveTheExpectedParts) {
    namespace fs = std::filesystem;
    const char* update = std::getenv("ZEVRA_UPDATE_GOLDEN");
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(ZEVRA_GOLDEN_DIR) / "batch-xlsx")) {
        ++cases;
        const std::string actual = WorkbookParts((entry.path() / "input.csv").string());
        const std::string expected = (entry.path() / "expected.xml").string();
        if (update != nullptr && std::string(update) == "1") test::WriteBytes(expected, actual);
        ASSERT_TRUE(fs::exists(expected)) << "run with ZEVRA_UPDATE_GOLDEN=1 to write " << expected;
        EXPECT_EQ(actual, test::ReadBytes(expected)) << entry.path() << "; run with ZEVRA_UPDATE_GOLDEN=1 to accept";
    }
    EXPECT_GT(cases, 0);
}

// The user's locale (a Czech or German one, as the programs set it from the
// environment) does not put its decimal comma into the workbook's numbers,
// widths and heights: the parts are the golden ones.
TEST(WorkbookLayout, LocaleSeparatorStaysOutOfTheWorkbook) {
    locale_t comma = nullptr;
    for (const char* name : {"", "cs_CZ.UTF-8", "de_DE.UTF-8"}) {
        comma = newlocale(LC_ALL_MASK, name, nullptr);
        if (comma != nullptr && std::string(nl_langinfo_l(RADIXCHAR, comma)) == ",") break;
        if (comma != nullptr) freelocale(comma);
        comma = nullptr;
    }
    if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma";
    const locale_t previous = uselocale(comma);
    const std::string parts = WorkbookParts(std::string(ZEVRA_GOLDEN_DIR) + "/batch-xlsx/obce/input.csv");
    uselocale(previous);
    freelocale(comma);
    EXPECT_EQ(parts, test::ReadBytes(std::string(ZEVRA_GOLDEN_DIR) + "/batch-xlsx/obce/expected.xml"));
}

}  // namespace
}  // namespace zevra
