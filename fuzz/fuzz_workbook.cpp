// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the workbook writer. The input gives the names and
// regions of a batch output table (see fuzz_output_rows.h); the workbook is
// written and read back from its zip: every part is a complete entry, the
// XML parts are well formed as far as their tags go, and the texts of the
// sheets, decoded as a spreadsheet decodes them (XML entities, then "_xHHHH_"), hold
// every name and region as stored, but with U+FFFD for what no output can
// carry (as the HTML table and the JSON give them).
//
// The workbook is written to memory (WorkbookBytes): no file is made. The
// checks are in fuzz_workbook_check.cpp, compiled without coverage.
#include "batch/core/u_batchcore.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include "fuzz_output_rows.h"
#include "fuzz_support.h"
#include "fuzz_workbook_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zevra::TZevraBatch& batch = zevra::fuzz::Batch();
    zevra::fuzz::FillOutputRows(batch, zevra::fuzz::Bytes(data, size), 8);
    const zevra::TMemTable& table = batch.OutputData();
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        for (const std::size_t field : {zevra::ofOBEC, zevra::ofKRAJ}) {
            const std::string stored = table.GetText(row, field);
            if (!stored.empty()) texts.push_back(zevra::fuzz::ReadBackText(stored));
        }
    }
    zevra::fuzz::CheckWorkbook(zevra::WorkbookBytes(batch), texts);
    return 0;
}
