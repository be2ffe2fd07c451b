// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch result as an Excel workbook (.xlsx) for spreadsheet users, ready
// to use and to print as it opens: sheet "Obce" with the output table
// (numbers as numbers, deciles as integers with the disadvantaged ones
// coloured, the band as its text, rows as tall as their wrapped texts, frozen
// header, autofilter, A4 landscape one page wide with the header on every
// page) and sheet "Souhrn" with formulas counting the municipalities per band
// and per region over sheet "Obce", and the reference data used.
#pragma once

#include "batch/core/u_batchformats.h"

#include <cstddef>
#include <iosfwd>
#include <string>

namespace zevra {

class TZevraBatch;

// The workbook as an output format, "xlsx" (".xlsx", "Sešit Excel").
TOutputFormat WorkbookOutputFormat();

// A sheet holds 1,048,576 rows: the header row and this many municipalities.
inline constexpr std::size_t kWorkbookMaxRows = 1048575;

// Throws EZevraError (a Czech message naming the file, the count and the
// formats that hold any number of rows) when a table of `rows` rows does not
// fit one sheet. The writer checks first, before it writes anything; a caller
// may check as soon as it knows the number of rows.
void CheckWorkbookRows(std::size_t rows, const std::string& fileName);

// Writes the workbook of the batch's output table, its rows made and
// compressed in pieces on every core and streamed to the file. The file is
// saved as every output is (it appears only when complete; a blank name
// throws "Nebyl vybrán cílový soubor!", a failure EZevraError with a Czech
// message naming the file, and an existing file then stays as it was).
// `progress` hears the rows written.
void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress = {});

// The same workbook streamed into `out` as it is made (standard output):
// nothing is written when the table is refused, and a write error throws
// EZevraError (kCannotWriteMessage) with `out` left failed.
void WriteWorkbook(const TZevraBatch& batch, std::ostream& out, const TBatchProgress& progress = {});

// The bytes of the same workbook, in memory (for tests and checks).
std::string WorkbookBytes(const TZevraBatch& batch);

}  // namespace zevra
