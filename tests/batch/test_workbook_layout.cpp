// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's results sheet laid out to be read and printed: every row at
// least as tall as its wrapped texts take in their columns (else they print
// over the next row), none taller than a sheet allows; and a table longer
// than a sheet refused with a Czech message before anything is written.
#include "batch/core/u_batchcore.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "test_support.h"
#include "test_workbook_xml.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zevra {
namespace {

TEST(WorkbookLayout, RowsAreAsTallAsTheirWrappedTexts) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    batch.LoadInputFile(std::string(ZEVRA_EXAMPLES_DIR) + "/obce.csv");
    batch.ValidateInputRows();
    batch.RunModelOnRows();
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

}  // namespace
}  // namespace zevra
