// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON target's checks of the documents it made. They only read what the
// writer wrote, so the fuzzing build compiles them without coverage (see
// CMakeLists.txt): the parser's own branches neither steer the search nor
// cost time at every input.
//
// Only the texts of an input change its documents; every other value is the
// same from input to input. So a document is written once with marker texts
// in their place and checked whole with the parser (a shape); the document
// of an input must then be that one to the byte, but for the values the
// markers held, each of which must parse alone and give the input's text
// back. This proves what parsing the whole document would (a string or an
// object put in the place of another keeps the document sound) and more,
// at a fraction of the parser's time.
#pragma once

#include "batch/core/u_memtable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zevra::fuzz {

struct TJsonShape {
    struct THole {
        std::size_t Row = 0;  // of the batch table; 0 in the evaluation document
        bool Region = false;  // the "kraj" object of the row, else a name string
    };
    std::vector<std::string> Pieces;  // the fixed text, one piece more than holes
    std::vector<THole> Holes;
};

// The batch document of `table` parses and has "obce", one object per row,
// whose "obec", "kraj"."nazev" and "kod" are the row's as stored; the
// table's names and regions are plain markers, each used once. The shape
// has a hole for each marker: the name's string, the region's object.
TJsonShape BatchJsonShape(const std::string& text, const TMemTable& table);

// The batch document of `table` is `shape` with, in each hole, a value that
// parses alone and carries the row's name (a string) or region ("nazev" of
// an object) as every output carries them (ReadBackText).
void CheckBatchJson(const std::string& text, const TMemTable& table, const TJsonShape& shape);

// The evaluation document parses, and its "obec" and "vstup"."Obec" are
// `marker` (plain), whose every value is then a hole.
TJsonShape EvaluationJsonShape(const std::string& text, const std::string& marker);

// The evaluation document is `shape` with, in each hole, a string that is
// `name`, exactly or as the batch outputs carry it.
void CheckEvaluationJson(const std::string& text, const std::string& name, const TJsonShape& shape);

}  // namespace zevra::fuzz
