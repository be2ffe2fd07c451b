// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The XML of a workbook's parts, appended to strings: cells, texts, numbers
// (always in the C form, whatever the process locale), and the small fixed
// parts of the package. Used by the workbook writer only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zevra::xlsx {

// Long texts wrap inside a column of this width instead of widening it.
inline constexpr double kMaxColumnWidth = 60;

// The cell formats of styles.xml, by index.
enum TStyle : int {
    sDefault = 0,
    sHeader = 1,   // bold, wrapped, top
    sTop = 2,      // top
    sInteger = 3,  // number format "0", top
    sWrap = 4,     // wrapped, top
    sBold = 5,     // bold
};

// Characters of a UTF-8 text.
std::size_t Characters(std::string_view utf8);
// Characters of the longest word (between blanks and line ends).
std::size_t LongestWord(std::string_view text);

// The lines a text takes in a column `width` characters wide, wrapped at
// spaces as a spreadsheet wraps it. Each character counts as wide as a digit,
// the unit of a column width; most letters are narrower, so a row errs on the
// tall side and no text is hidden or printed over the next row.
int WrappedLines(std::string_view text, double width);

// A text as the workbook stores it, so that a reader gets the text back. A
// reader takes "_xHHHH_" for the character of code HHHH, so the "_" that
// starts "_xHHHH" in the text itself is stored as "_x005F_". The closing "_"
// need not be in the text: the run for a line end right after ("_x0041" and
// CR gives "_x0041_x000D_", AppendText) would supply it. A character no
// output can carry is U+FFFD, as in the HTML table and the JSON.
std::string CellText(std::string_view text);

// A text as XML element content: "&", "<" and ">" as entities, a CR as the
// format's "_x000D_" (XML would read a raw CR as a line feed). `text` is
// already a cell text (CellText).
void AppendText(std::string& out, std::string_view text);
// The <t> element of a text, keeping its leading and trailing blanks.
void AppendT(std::string& out, std::string_view text);
// "A".."XFD" for columns 0, 1, ...
void AppendColumnName(std::string& out, std::size_t column);
void AppendCellRef(std::string& out, std::size_t column, std::size_t row1);
void AppendInt(std::string& out, std::int64_t value);
// The shortest form that reads back as the same double.
void AppendNumber(std::string& out, double value);

// A cell's start: <c r=".." s=".."; the caller closes the tag. With `row1`
// 0 the reference is left out: the cell is the one after the previous cell
// of its row (the first of a row: column A), as readers take it.
void AppendCellStart(std::string& out, std::size_t column, std::size_t row1, int style);
void AppendInlineString(std::string& out, std::size_t column, std::size_t row1, int style, std::string_view text);

// A column width as a spreadsheet stores it: rounded to whole pixels of the
// default font (a digit 7 pixels wide, 5 pixels of padding) and to 1/256.
double StoredColumnWidth(double width);

// The XML declaration and the worksheet's start tag.
std::string WorksheetStart();

// The page setup, footer and print options shared by both sheets, from
// <printOptions> to the end of the worksheet.
std::string SheetTail(bool landscape);

// Fixed parts.
std::string ContentTypesXml();
std::string RootRelsXml();
std::string WorkbookRelsXml();
std::string StylesXml();
// `filterRange` like "Obce!$A$1:$N$31".
std::string WorkbookXml(const std::string& filterRange);
std::string SharedStringsXml(const std::vector<std::string>& cellTexts, std::size_t references);

}  // namespace zevra::xlsx
