// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the batch file reader and everything after it. The input
// is taken as the raw bytes of a batch file (and, separately, as one line for
// the line parser). Checked on every input: no crash or sanitizer report,
// every problem has a line context, text fields keep their sizes, and when the
// rows are valid the HTML result is one line whose table has exactly one row
// per input row (so no name can inject markup).
#include "batch/core/u_batchcore.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

zevra::TZevraModel& Model() {
    static zevra::TZevraModel model(ZEVRA_FUZZ_DATA_DIR);
    return model;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

std::size_t CountOf(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string_view::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// `validUtf8`: whether the decoded file text was valid UTF-8 (it always is:
// malformed bytes after a UTF-8 mark become U+FFFD).
void CheckTextSizes(const zevra::TMemTable& table, bool validUtf8) {
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        for (std::size_t f = 0; f < table.FieldCount(); ++f) {
            const zevra::TFieldDef& field = table.Fields()[f];
            if (field.Type != zevra::TFieldType::ftText) continue;
            const std::string_view text = table.TextView(row, f);
            Check(!validUtf8 || zevra::IsValidUtf8(text));
            Check(field.Size == 0 || zevra::Utf8Length(text) <= field.Size);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Made once: a batch holds only its tables, which every input refills.
    static zevra::TZevraBatch batch(Model());

    // One line straight into the parser.
    batch.InputData().Clear();
    try {
        batch.ParseInputLine(bytes);
    } catch (const zevra::EZevraError&) {
    }
    Check(batch.InputData().RowCount() <= 1);

    // The whole input as a file.
    const std::string decoded = zevra::DecodeFileText(bytes);
    const bool validUtf8 = zevra::IsValidUtf8(decoded);
    Check(validUtf8);
    std::size_t lines = 0;
    for (zevra::TLineCursor cursor(decoded); !cursor.AtEnd(); cursor.Next()) ++lines;
    try {
        batch.LoadInputBytes(bytes);
    } catch (const zevra::ECompositeException& problems) {
        Check(problems.Count() > 0);
        for (int i = 0; i < problems.Count(); ++i) Check(problems.Contexts(i).rfind("Řádek ", 0) == 0);
    }
    const zevra::TMemTable& input = batch.InputData();
    Check(input.RowCount() <= lines);
    CheckTextSizes(input, validUtf8);

    batch.ValidateInputRows();
    Check(batch.ErrorRowCount() + batch.WarningRowCount() <= static_cast<int>(input.RowCount()));
    if (!batch.InputValid() || input.RowCount() > 64) return 0;

    batch.RunModelOnRows();
    Check(batch.OutputData().RowCount() == input.RowCount());
    CheckTextSizes(batch.OutputData(), validUtf8);
    const std::string html = batch.HtmlOutputBytes();
    Check(html.find_first_of("\r\n") == std::string::npos);
    Check(CountOf(html, "<tr>") == input.RowCount() + 1);
    Check(CountOf(html, "<td>") == input.RowCount() * 13);
    Check(CountOf(html, "<table") == 1);
    return 0;
}
