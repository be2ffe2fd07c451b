// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch_file target's check of what the loader gave against what the
// file's lines gave one at a time. It only reads what the loader wrote, so
// the fuzzing build compiles it without coverage (see CMakeLists.txt): its
// comparisons of cells and texts neither steer the search nor cost time at
// every input.
#pragma once

#include "batch/core/u_memtable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zevra {
class ECompositeException;
}

namespace zevra::fuzz {

// A data line of the file, and what it gave alone.
struct TExpectedLine {
    std::size_t Number = 0;  // from 1
    bool Problem = false;    // the line alone throws
    std::string Message;
};

// `loaded`: the rows of the whole file; `problems`: the line problems that
// loading it threw (null when none); `alone`: one row per line of `expected`, in order.
// Every expected line is, in order, one row (the same as its line alone) or
// one problem "Řádek N" naming it, or both when the line alone has a
// problem too (then with the same message); no problem names another line,
// and no row is left over.
void CheckLoadedAsLines(const TMemTable& loaded, const ECompositeException* problems, const TMemTable& alone,
                        const std::vector<TExpectedLine>& expected);

}  // namespace zevra::fuzz
