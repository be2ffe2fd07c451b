// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON target's checks of the documents it made. They only read what the
// writer wrote, so the fuzzing build compiles them without coverage (see
// CMakeLists.txt): the parser's own branches neither steer the search nor
// cost time at every input.
#pragma once

#include "batch/core/u_memtable.h"

#include <string>

namespace zevra::fuzz {

// The batch document parses and has "obce", one object per row of `table`,
// whose "obec", "kraj"."nazev" and "kod" are the row's as every output
// carries them (ReadBackText).
void CheckBatchJson(const std::string& text, const TMemTable& table);

// The evaluation document parses, and its "obec" and "vstup"."Obec" are
// `name`, exactly or as the batch outputs carry it.
void CheckEvaluationJson(const std::string& text, const std::string& name);

}  // namespace zevra::fuzz
