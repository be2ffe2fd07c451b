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

std::vector<std::string> ComposeReportEntries(const TZevraOutputData& output);

}  // namespace zevra
