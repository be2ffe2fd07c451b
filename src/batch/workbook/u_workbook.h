// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch result as an Excel workbook (.xlsx) for spreadsheet users: sheet
// "Obce" with the output table (numbers as numbers, deciles as integers, the
// band as its text, frozen header, autofilter) and sheet "Souhrn" with the
// number of municipalities per band and per region.
#pragma once

#include "batch/core/u_batchformats.h"

#include <string>

namespace zevra {

class TZevraBatch;

// The workbook as an output format, "xlsx" (".xlsx", "Sešit Excel").
TOutputFormat WorkbookOutputFormat();

// Writes the workbook of the batch's output table. The file appears only when
// complete (written beside it under a temporary name, then renamed); a blank
// name throws "Nebyl vybrán cílový soubor!", a failure EZevraError naming the
// file, and an existing file then stays as it was.
void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName);

}  // namespace zevra
