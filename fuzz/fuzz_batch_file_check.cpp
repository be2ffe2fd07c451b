// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_batch_file_check.h"

#include "fuzz_support.h"
#include "batch/core/u_exception_functions.h"

#include <bit>
#include <cstdint>
#include <string_view>

namespace zevra::fuzz {
namespace {

// The same cells, compared as stored (a number to the bit, a text without a
// copy), not through their display texts.
bool SameRow(const TMemTable& a, std::size_t rowA, const TMemTable& b, std::size_t rowB) {
    for (std::size_t f = 0; f < a.FieldCount(); ++f) {
        if (a.IsNull(rowA, f) != b.IsNull(rowB, f)) return false;
        switch (a.Fields()[f].Type) {
            case TFieldType::ftText:
                if (a.TextView(rowA, f) != b.TextView(rowB, f)) return false;
                break;
            case TFieldType::ftInteger:
                if (a.GetInt(rowA, f) != b.GetInt(rowB, f)) return false;
                break;
            case TFieldType::ftFloat:
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

void CheckLoadedAsLines(const TMemTable& loaded, const ECompositeException* problems, const TMemTable& alone,
                        const std::vector<TExpectedLine>& expected) {
    Check(alone.RowCount() == expected.size());
    std::vector<std::size_t> problemLines;
    std::vector<std::string> problemMessages;
    if (problems != nullptr) {
        Check(problems->Count() > 0);
        for (int i = 0; i < problems->Count(); ++i) {
            const std::size_t number = LineOfContext(problems->Contexts(i));
            Check(number > 0);
            Check(problemLines.empty() || number > problemLines.back());
            problemLines.push_back(number);
            problemMessages.emplace_back(problems->Exceptions(i) != nullptr ? problems->Exceptions(i)->what() : "");
        }
    }

    std::size_t row = 0, reportedSoFar = 0;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const TExpectedLine& e = expected[k];
        const bool reported = reportedSoFar < problemLines.size() && problemLines[reportedSoFar] == e.Number;
        if (e.Problem) {
            Check(reported);
            Check(problemMessages[reportedSoFar] == e.Message);
        }
        if (row < loaded.RowCount() && SameRow(loaded, row, alone, k)) {
            ++row;
        } else {
            Check(reported);  // a line without its row is reported
        }
        if (reported) ++reportedSoFar;
    }
    Check(row == loaded.RowCount());
    Check(reportedSoFar == problemLines.size());
}

}  // namespace zevra::fuzz
