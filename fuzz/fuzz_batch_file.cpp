// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the batch loader on whole files (several lines, quotes,
// byte order marks, CR/LF mixes, code page 1250 and UTF-8). The property: the
// file loads as its lines one at a time would. Every line that is neither
// blank, a comment nor the header is, in file order, one row (the row its
// line gives alone) or one problem "Řádek N" naming it, or both when the
// line alone has a problem too (then with the same message); no problem
// names another line, and no row is left over. So no line can swallow
// another, vanish or move.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchdialect.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include "fuzz_batch_file_check.h"
#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zevra::fuzz::Check;

zevra::TZevraModel& Model() {
    static zevra::TZevraModel model(ZEVRA_FUZZ_DATA_DIR);
    return model;
}

// Made once: a batch holds only its tables, which every input refills.
zevra::TZevraBatch& Loaded() {
    static zevra::TZevraBatch batch(Model());
    return batch;
}
zevra::TZevraBatch& LineByLine() {
    static zevra::TZevraBatch batch(Model());
    return batch;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A line as the loader reads it: a byte order mark in the middle of a file
// (two files joined) is the start of its line, as at the start of the file.
std::string_view LineBody(std::string_view line) {
    if (line.starts_with(kUtf8Mark)) line.remove_prefix(kUtf8Mark.size());
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = zevra::fuzz::Bytes(data, size);

    // Each data line alone, into rows of the same fields.
    zevra::TZevraBatch& alone = LineByLine();
    alone.InputData().Clear();
    // Kept from input to input: their buffers are reused.
    static std::vector<zevra::fuzz::TExpectedLine> expected;
    expected.clear();
    const std::string text = zevra::DecodeFileText(bytes);
    zevra::TLineCursor lines(text);
    bool beforeFirstRecord = true;
    for (std::size_t i = 0; !lines.AtEnd(); ++i) {
        const std::string_view line = LineBody(lines.Next());
        if (zevra::IsBlank(line) || line.front() == '#') continue;
        if (beforeFirstRecord) {
            // Only the first record may be the column names a spreadsheet writes.
            beforeFirstRecord = false;
            bool open = false;
            const std::vector<std::string> values = zevra::SplitBatchRecord(line, &open);
            if (!open && zevra::IsBatchHeaderRecord(values)) continue;
        }
        zevra::fuzz::TExpectedLine e;
        e.Number = i + 1;
        try {
            alone.ParseInputLine(line);
        } catch (const std::exception& problem) {
            e.Problem = true;
            e.Message = problem.what();
        }
        Check(alone.InputData().RowCount() == expected.size() + 1);
        expected.push_back(std::move(e));
    }

    // The whole file.
    zevra::TZevraBatch& batch = Loaded();
    try {
        batch.LoadInputBytes(bytes);
    } catch (const zevra::ECompositeException& problems) {
        zevra::fuzz::CheckLoadedAsLines(batch.InputData(), &problems, alone.InputData(), expected);
        return 0;
    }
    zevra::fuzz::CheckLoadedAsLines(batch.InputData(), nullptr, alone.InputData(), expected);
    return 0;
}
