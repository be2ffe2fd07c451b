// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// How a batch line splits into its values, including the forms a Czech
// spreadsheet (Excel, LibreOffice Calc) saves: quoted text, a header row of
// the column names, the decimal comma and digits grouped in threes. Every file in the original form
// (plain values between ";") reads exactly as before.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

// The values of one line, untrimmed. Values lie between ";" characters; a
// ";" at the very end opens no further value. A value whose first non-blank
// character is a double quote is a quoted value (RFC 4180): ";" inside it is
// text, "" stands for one quote, and whatever follows the closing quote up to
// the next ";" is kept as it stands. A quote anywhere else is an ordinary
// character. No name holds a line end, so a quoted value closes on its own
// line: one that does not is no value, and the values stop before it with
// `open` (when given) set; the line is then faulty.
std::vector<std::string> SplitBatchRecord(std::string_view record, bool* open = nullptr);

// True when the values are the batch file's column names in their order
// (OBEC;KODOBCE;...;VODOVOD), case, accents and surrounding blanks ignored:
// the header row a spreadsheet writes above the data.
bool IsBatchHeaderRecord(const std::vector<std::string>& values);

// A number as a Czech spreadsheet writes it, in the program's form. The
// digits before the decimal separator may be grouped in threes by a space, a
// no-break space (U+00A0) or a narrow no-break space (U+202F): "1 278" gives
// "1278", when every separator stands between groups of exactly three digits
// (the first group one to three). In a decimal column (`decimalComma`) a
// value with exactly one comma and no point has a decimal comma: "12 345,5"
// gives "12345.5". Any other value ("12 5", "1 2345", "1,5" in a whole-number
// column) comes back as it is, for the number conversion to refuse.
std::string SpreadsheetNumber(std::string_view value, bool decimalComma);

}  // namespace zevra
