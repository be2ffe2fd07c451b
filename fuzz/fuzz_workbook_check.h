// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook target's checks of the package it made. They only read what
// the writer wrote, so the fuzzing build compiles them without coverage (see
// CMakeLists.txt): the unzipping and the XML scan neither steer the search
// nor cost time at every input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zevra::fuzz {

// `zip` is a sound package: every part a complete entry whose checksum is
// the directory's, the XML parts well formed as far as their tags go; and
// the texts of the sheets and the shared strings, decoded as a spreadsheet
// decodes them (XML entities, then "_xHHHH_"), hold each of `texts`.
void CheckWorkbook(std::string_view zip, const std::vector<std::string>& texts);

}  // namespace zevra::fuzz
