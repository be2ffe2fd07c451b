// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The report on one evaluated municipality, as a list of entries in the tag
// markup of u_Tags.h: one entry per paragraph, CR LF inside an entry for a
// line break. The result page renders it; the RTF and plain-text writers turn
// it into files and text.
#pragma once

#include "model/u_indicators.h"
#include "model/u_outputdata.h"

#include <array>
#include <string>
#include <vector>

namespace zevra {

// The indicator labels of the report, in the fixed indicator order.
constexpr std::array<const char*, kIndicatorCount> kIndicatorLabels = {
    "Dojížďkový čas do krajského města",
    "Dojížďková vzdálenost od okresního města",
    "Dostupnost silnice 1. třídy",
    "Nadmořská výška",
    "Velikost katastru",
    "Podíl vyjíždějících na ek. akt. obyv.",
    "Podíl rolníku na podnikatelských subjektech",
};

std::vector<std::string> ComposeReportEntries(const TZevraOutputData& output);

}  // namespace zevra
