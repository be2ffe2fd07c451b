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

#include "fuzz_support.h"

#include <bit>
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

struct TExpectedLine {
    std::size_t Number = 0;  // from 1
    bool Problem = false;    // the line alone throws
    std::string Message;
};

// The same cells, compared as stored (a number to the bit, a text without a
// copy), not through their display texts.
bool SameRow(const zevra::TMemTable& a, std::size_t rowA, const zevra::TMemTable& b, std::size_t rowB) {
    for (std::size_t f = 0; f < a.FieldCount(); ++f) {
        if (a.IsNull(rowA, f) != b.IsNull(rowB, f)) return false;
        switch (a.Fields()[f].Type) {
            case zevra::TFieldType::ftText:
                if (a.TextView(rowA, f) != b.TextView(rowB, f)) return false;
                break;
            case zevra::TFieldType::ftInteger:
                if (a.GetInt(rowA, f) != b.GetInt(rowB, f)) return false;
                break;
            case zevra::TFieldType::ftFloat:
                if (std::bit_cast<std::uint64_t>(a.GetFloat(rowA, f)) != std::bit_cast<std::uint64_t>(b.GetFloat(rowB, f)))
                    return false;
                break;
        }
    }
    return true;
}

// The N of "Řádek N", or 0.
std::size_t LineOfContext(const std::string& context) {
    constexpr std::string_view kPrefix = "Řádek ";
    if (!context.starts_with(kPrefix) || context.size() == kPrefix.size()) return 0;
    std::size_t n = 0;
    for (std::size_t i = kPrefix.size(); i < context.size(); ++i) {
        const char c = context[i];
        if (c < '0' || c > '9' || n > 100000000) return 0;
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = zevra::fuzz::Bytes(data, size);

    // Each data line alone, into rows of the same fields.
    zevra::TZevraBatch& alone = LineByLine();
    alone.InputData().Clear();
    std::vector<TExpectedLine> expected;
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
        TExpectedLine e;
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
    std::vector<std::size_t> problemLines;
    std::vector<std::string> problemMessages;
    try {
        batch.LoadInputBytes(bytes);
    } catch (const zevra::ECompositeException& problems) {
        Check(problems.Count() > 0);
        for (int i = 0; i < problems.Count(); ++i) {
            const std::size_t number = LineOfContext(problems.Contexts(i));
            Check(number > 0);
            Check(problemLines.empty() || number > problemLines.back());
            problemLines.push_back(number);
            problemMessages.emplace_back(problems.Exceptions(i) != nullptr ? problems.Exceptions(i)->what() : "");
        }
    }

    const zevra::TMemTable& rows = batch.InputData();
    const zevra::TMemTable& rowsAlone = alone.InputData();
    std::size_t row = 0, problem = 0;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const TExpectedLine& e = expected[k];
        const bool reported = problem < problemLines.size() && problemLines[problem] == e.Number;
        if (e.Problem) {
            Check(reported);
            Check(problemMessages[problem] == e.Message);
        }
        if (row < rows.RowCount() && SameRow(rows, row, rowsAlone, k)) {
            ++row;
        } else {
            Check(reported);  // a line without its row is reported
        }
        if (reported) ++problem;
    }
    Check(row == rows.RowCount());
    Check(problem == problemLines.size());
    return 0;
}
