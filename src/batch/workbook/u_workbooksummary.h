// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's sheet "Souhrn": the municipalities counted per band and per
// region by formulas over sheet "Obce" (their results written too, for
// readers that do not calculate), then the reference data the results come
// from.
#pragma once

#include <string>

namespace zevra {
class TZevraBatch;
}

namespace zevra::xlsx {

// The sheet's XML part.
std::string SummaryXml(const TZevraBatch& batch);

}  // namespace zevra::xlsx
