// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbook.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchmessages.h"
#include "batch/workbook/u_workbookpackage.h"
#include "model/u_assessment.h"
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_indicators.h"
#include "model/u_object.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace zevra {

static_assert(kWorkbookMaxRows == LXW_ROW_MAX - 1, "one row of a sheet is the header");
static_assert(kAssessmentKeyCount <= 0x10000, "a row's assessment key is kept in 16 bits");

namespace {

// Long texts wrap inside a column of this width instead of widening it; a
// column of numbers is at most this wide, its header wraps.
constexpr double kMaxColumnWidth = 60;
constexpr double kNumberColumnWidth = 10;
// One line of the default font (Calibri 11) in points, and the tallest row
// a sheet may have.
constexpr double kLineHeight = 15;
constexpr double kMaxRowHeight = 409;
// Rows between two calls of the progress callback.
constexpr std::size_t kProgressRows = 1024;

std::size_t Characters(std::string_view utf8) {
    std::size_t count = 0;
    for (const unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

std::size_t LongestWord(std::string_view text) {
    std::size_t longest = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of(" \n", start);
        if (end == std::string_view::npos) end = text.size();
        longest = std::max(longest, Characters(text.substr(start, end - start)));
        start = end + 1;
    }
    return longest;
}

// The lines a text takes in a column `width` characters wide, wrapped at
// spaces as a spreadsheet wraps it. Each character counts as wide as a digit,
// the unit of a column width; most letters are narrower, so a row errs on the
// tall side and no text is hidden or printed over the next row.
int WrappedLines(std::string_view text, double width) {
    const std::size_t perLine = std::max<std::size_t>(1, static_cast<std::size_t>(width) - 1);
    int lines = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++lines;
        std::size_t used = 0;
        for (std::size_t word = start; word < end;) {
            std::size_t wordEnd = text.find(' ', word);
            if (wordEnd == std::string_view::npos || wordEnd > end) wordEnd = end;
            std::size_t length = Characters(text.substr(word, wordEnd - word));
            if (used > 0 && used + 1 + length > perLine) {
                ++lines;
                used = 0;
            }
            used += (used > 0 ? 1 : 0) + length;
            while (used > perLine) {  // a word longer than a line is broken
                ++lines;
                used -= perLine;
            }
            word = wordEnd + 1;
        }
        start = end + 1;
    }
    return std::max(lines, 1);
}

std::string WriteError(const std::string& fileName) { return PathMessage(kCannotWriteMessage, fileName); }

// The library's failure as the user reads it, in Czech; the library's own
// English text goes nowhere (TQuietStandardError).
std::string ErrorMessage(lxw_error error, const std::string& fileName, const std::string& tempDir) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return PathMessage("Pro sešit není dost paměti!", fileName);
        case LXW_ERROR_CREATING_XLSX_FILE: return PathMessage(kCannotCreateMessage, fileName);
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return PathMessage("Dočasný soubor sešitu nelze vytvořit ani přečíst!", tempDir);
        default: return WriteError(fileName);
    }
}

class TBook {
public:
    TBook(const std::string& path, const std::string& tempDir, const std::string& target)
        : FTempDir(tempDir), FTarget(target) {
        lxw_workbook_options options{};
        // Rows go to the sheet's temporary file as they are written: the
        // memory used does not grow with the table. The library's temporary
        // files go to $TMPDIR (else /tmp), as every save's.
        options.constant_memory = LXW_TRUE;
        const TDeferredSignals deferred;
        const TQuietStandardError quiet;
        FBook = workbook_new_opt(path.c_str(), &options);
    }
    ~TBook() {
        if (!FBook) return;
        const TDeferredSignals deferred;
        const TQuietStandardError quiet;
        workbook_close(FBook);
    }
    TBook(const TBook&) = delete;
    TBook& operator=(const TBook&) = delete;

    lxw_workbook* Get() const { return FBook; }
    void Check(lxw_error error) const {
        if (error != LXW_NO_ERROR) throw EZevraError(ErrorMessage(error, FTarget, FTempDir));
    }
    lxw_worksheet* AddSheet(const char* name) {
        const TDeferredSignals deferred;
        const TQuietStandardError quiet;
        lxw_worksheet* sheet = workbook_add_worksheet(FBook, name);
        if (!sheet) throw EZevraError(ErrorMessage(LXW_ERROR_CREATING_TMPFILE, FTarget, FTempDir));
        return sheet;
    }
    lxw_format* Format() { return workbook_add_format(FBook); }
    void Close() {
        lxw_error error;
        {
            const TDeferredSignals deferred;
            const TQuietStandardError quiet;
            error = workbook_close(FBook);
        }
        FBook = nullptr;
        Check(error);
    }
    // A sheet set up to print on A4 across, one page wide, the header row on
    // every page and the page number below.
    void PageSetup(lxw_worksheet* sheet, bool landscape) const {
        if (landscape) worksheet_set_landscape(sheet);
        worksheet_set_paper(sheet, 9);  // A4
        worksheet_fit_to_pages(sheet, 1, 0);
        worksheet_set_margins(sheet, 0.4, 0.4, 0.6, 0.6);
        worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
        Check(worksheet_repeat_rows(sheet, 0, 0));
        Check(worksheet_set_footer(sheet, "&CStrana &P z &N"));
    }

private:
    std::string FTempDir, FTarget;
    lxw_workbook* FBook = nullptr;
};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A text as the workbook stores it, so that a reader gets the text back. A
// reader takes "_xHHHH_" for the character of code HHHH, so the "_" that
// starts "_xHHHH" in the text itself is stored as "_x005F_" (the library
// writes its own runs for control characters, not this one). The closing "_"
// need not be in the text: the library's run for a line end right after
// ("_x0041" and CR gives "_x0041_x000D_") would supply it. A character no
// output can carry is U+FFFD, as in the HTML table and the JSON.
std::string CellText(std::string_view text) {
    const std::string writable = WritableText(text);
    std::string stored;
    stored.reserve(writable.size());
    for (std::size_t i = 0; i < writable.size(); ++i) {
        if (writable[i] == '_' && i + 5 < writable.size() && (writable[i + 1] == 'x' || writable[i + 1] == 'X') &&
            IsHexDigit(writable[i + 2]) && IsHexDigit(writable[i + 3]) && IsHexDigit(writable[i + 4]) &&
            IsHexDigit(writable[i + 5]))
            stored += "_x005F";
        stored += writable[i];
    }
    return stored;
}

// A header of the outputs on one line; the column wraps it.
std::string OneLine(std::string header) {
    std::replace(header.begin(), header.end(), '\n', ' ');
    return header;
}

bool IsNumeric(TOutputKind kind) {
    return kind == TOutputKind::okInteger || kind == TOutputKind::okNumber || kind == TOutputKind::okDecil;
}

// A wrapped text of the model, composed once per assessment (or warning).
struct TModelText {
    std::string Plain, Cell;
    std::size_t Longest = 0;  // characters of its longest line
    int Lines = 1;            // in its column
};

TModelText ModelText(std::string plain) {
    TModelText text{plain, CellText(plain), 0, 1};
    for (std::size_t start = 0; start <= plain.size();) {
        std::size_t end = plain.find('\n', start);
        if (end == std::string::npos) end = plain.size();
        text.Longest = std::max(text.Longest, Characters(std::string_view(plain).substr(start, end - start)));
        start = end + 1;
    }
    return text;
}

// Sheet "Obce": the output table, one row per municipality in table order.
void WriteRows(TBook& book, const TMemTable& table, const TBatchProgress& progress) {
    lxw_worksheet* sheet = book.AddSheet("Obce");
    lxw_format* header = book.Format();
    format_set_bold(header);
    format_set_text_wrap(header);
    format_set_align(header, LXW_ALIGN_VERTICAL_TOP);
    lxw_format* integer = book.Format();
    format_set_num_format(integer, "0");
    format_set_align(integer, LXW_ALIGN_VERTICAL_TOP);
    lxw_format* top = book.Format();
    format_set_align(top, LXW_ALIGN_VERTICAL_TOP);
    lxw_format* wrap = book.Format();
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);

    const std::vector<TOutputColumn>& columns = OutputColumns();
    const auto columnCount = static_cast<lxw_col_t>(columns.size());
    const std::size_t rows = table.RowCount();

    // The assessment and warning of every row, composed once per key; the
    // widths of the columns, from the longest text each holds.
    std::vector<TModelText> assessments(kAssessmentKeyCount);
    TModelText water[2] = {ModelText(WaterWarningPlainText(false)), ModelText(WaterWarningPlainText(true))};
    std::vector<std::uint16_t> keys(rows);
    std::vector<std::uint8_t> warnings(rows);
    std::vector<double> widths(columns.size());
    for (lxw_col_t col = 0; col < columnCount; ++col) {
        widths[col] = std::min(kMaxColumnWidth, static_cast<double>(Characters(OneLine(columns[col].Header))) + 2);
        // Over numbers the header wraps, between words.
        if (IsNumeric(columns[col].Kind))
            widths[col] = std::min(widths[col], std::max(kNumberColumnWidth, static_cast<double>(LongestWord(columns[col].Header)) + 2));
    }
    const auto widen = [&](lxw_col_t col, std::size_t characters) {
        widths[col] = std::min(kMaxColumnWidth, std::max(widths[col], static_cast<double>(characters) + 2));
    };
    for (std::size_t r = 0; r < rows; ++r) {
        const TAssessment assessment = RowAssessment(table, r);
        keys[r] = static_cast<std::uint16_t>(assessment.Key());
        warnings[r] = assessment.WaterWarning ? 1 : 0;
        if (assessments[keys[r]].Cell.empty()) assessments[keys[r]] = ModelText(AssessmentPlainText(assessment));
    }
    for (lxw_col_t col = 0; col < columnCount; ++col) {
        const TOutputColumn& column = columns[col];
        if (column.Kind == TOutputKind::okName) {
            if (table.Fields()[column.Field].Shared) {
                for (const std::string& text : table.SharedTexts(column.Field)) widen(col, Characters(text));
            } else {
                for (std::size_t r = 0; r < rows; ++r) widen(col, Characters(table.TextView(r, column.Field)));
            }
        } else if (column.Kind == TOutputKind::okBand) {
            for (int b = 0; b < kBandCount; ++b) widen(col, Characters(BandName(b)));
        } else if (column.Kind == TOutputKind::okAssessment) {
            for (const TModelText& text : assessments) widen(col, text.Longest);
        } else if (column.Kind == TOutputKind::okWater) {
            widen(col, water[rows > 0 ? 1 : 0].Longest);
        }
    }
    // Rows as tall as their longest wrapped text.
    for (lxw_col_t col = 0; col < columnCount; ++col) {
        if (columns[col].Kind == TOutputKind::okWater)
            for (TModelText& text : water) text.Lines = WrappedLines(text.Plain, widths[col]);
        if (columns[col].Kind == TOutputKind::okAssessment)
            for (TModelText& text : assessments)
                if (!text.Cell.empty()) text.Lines = WrappedLines(text.Plain, widths[col]);
    }

    int headerLines = 1;
    for (lxw_col_t col = 0; col < columnCount; ++col)
        headerLines = std::max(headerLines, WrappedLines(OneLine(columns[col].Header), widths[col]));
    book.Check(worksheet_set_row(sheet, 0, std::min(kMaxRowHeight, kLineHeight * headerLines), nullptr));
    for (lxw_col_t col = 0; col < columnCount; ++col)
        book.Check(worksheet_write_string(sheet, 0, col, OneLine(columns[col].Header).c_str(), header));

    for (std::size_t r = 0; r < rows; ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        const int lines = std::max(assessments[keys[r]].Lines, water[warnings[r]].Lines);
        // In constant-memory mode a row's height is set before its cells.
        if (lines > 1) book.Check(worksheet_set_row(sheet, row, std::min(kMaxRowHeight, kLineHeight * lines), nullptr));
        for (lxw_col_t col = 0; col < columnCount; ++col) {
            const std::size_t field = columns[col].Field;
            switch (columns[col].Kind) {
                case TOutputKind::okName: {
                    const std::string_view name = table.TextView(r, field);
                    if (!name.empty()) book.Check(worksheet_write_string(sheet, row, col, CellText(name).c_str(), top));
                    break;
                }
                case TOutputKind::okInteger:
                case TOutputKind::okDecil:
                    if (!table.IsNull(r, field))
                        book.Check(worksheet_write_number(sheet, row, col, table.GetInt(r, field), integer));
                    break;
                case TOutputKind::okNumber:
                    if (!table.IsNull(r, field))
                        book.Check(worksheet_write_number(sheet, row, col, table.GetFloat(r, field), top));
                    break;
                case TOutputKind::okBand:
                    if (!table.IsNull(r, field))
                        book.Check(worksheet_write_string(sheet, row, col, BandName(BandOf(table.GetFloat(r, field))), top));
                    break;
                // The texts composed from the row's assessment, not read back
                // from the HTML.
                case TOutputKind::okAssessment:
                    if (!table.IsNull(r, ofOBYVATELSTVO))
                        book.Check(worksheet_write_string(sheet, row, col, assessments[keys[r]].Cell.c_str(), wrap));
                    break;
                case TOutputKind::okWater:
                    if (warnings[r]) book.Check(worksheet_write_string(sheet, row, col, water[1].Cell.c_str(), wrap));
                    break;
            }
        }
        if ((r + 1) % kProgressRows == 0) ReportProgress(progress, r + 1, rows);
    }

    for (lxw_col_t col = 0; col < columnCount; ++col) {
        const TOutputKind kind = columns[col].Kind;
        const bool wraps = kind == TOutputKind::okAssessment || kind == TOutputKind::okWater;
        book.Check(worksheet_set_column(sheet, col, col, widths[col], wraps ? wrap : nullptr));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    book.Check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(rows), columnCount - 1));
    // The disadvantaged deciles stand out, also after the user edits them.
    lxw_format* disadvantaged = book.Format();
    format_set_bg_color(disadvantaged, 0xF4CCCC);
    format_set_font_color(disadvantaged, 0x9C0006);
    for (lxw_col_t col = 0; col < columnCount && rows > 0; ++col) {
        if (columns[col].Kind != TOutputKind::okDecil) continue;
        lxw_conditional_format zone{};
        zone.type = LXW_CONDITIONAL_TYPE_CELL;
        zone.criteria = LXW_CONDITIONAL_CRITERIA_GREATER_THAN_OR_EQUAL_TO;
        zone.value = kDisadvantagedDecil;
        zone.format = disadvantaged;
        book.Check(worksheet_conditional_format_range(sheet, 1, col, static_cast<lxw_row_t>(rows), col, &zone));
    }
    book.PageSetup(sheet, true);
}

// A criterion of COUNTIF that matches exactly this text, as a string of a
// formula: "=" first (a text that looks like a comparison stays a text), the
// wildcards * ? ~ escaped with "~", quotes doubled.
std::string ExactCriterion(std::string_view text) {
    std::string criterion = "\"=";
    for (const char c : text) {
        if (c == '*' || c == '?' || c == '~') criterion += '~';
        if (c == '"') criterion += '"';
        criterion += c;
    }
    return criterion + '"';
}

// The cells of a column of sheet "Obce" below its header, to the last row a
// sheet has, so that a formula also counts rows the user adds.
std::string DataRange(TOutputKind kind, std::size_t field) {
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const auto column = std::find_if(columns.begin(), columns.end(),
                                     [&](const TOutputColumn& c) { return c.Kind == kind && c.Field == field; });
    char name[LXW_MAX_COL_NAME_LENGTH];
    lxw_col_to_name(name, static_cast<lxw_col_t>(column - columns.begin()), LXW_FALSE);
    return std::string("Obce!$") + name + "$2:$" + name + "$" + std::to_string(LXW_ROW_MAX);
}

// Sheet "Souhrn": the number of municipalities per band and per region as
// formulas over sheet "Obce" (their results written too, for readers that do
// not calculate), then the reference data the results come from.
void WriteSummary(TBook& book, const TZevraBatch& batch) {
    const TMemTable& table = batch.OutputData();
    lxw_worksheet* sheet = book.AddSheet("Souhrn");
    lxw_format* header = book.Format();
    format_set_bold(header);
    lxw_format* wrap = book.Format();
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);

    int bands[kBandCount] = {};
    std::vector<std::size_t> regionCounts(table.SharedTexts(ofKRAJ).size());
    std::vector<std::size_t> regionOrder;  // in order of first appearance
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (!table.IsNull(r, ofOBYVATELSTVO)) ++bands[BandOf(table.GetFloat(r, ofOBYVATELSTVO))];
        const std::size_t ref = table.SharedRefOf(r, ofKRAJ);
        if (ref == TMemTable::npos) continue;
        if (regionCounts[ref]++ == 0) regionOrder.push_back(ref);
    }

    const std::string bandRange = DataRange(TOutputKind::okBand, ofOBYVATELSTVO);
    const std::string regionRange = DataRange(TOutputKind::okName, ofKRAJ);
    book.Check(worksheet_write_string(sheet, 0, 0, "Pásmo", header));
    book.Check(worksheet_write_string(sheet, 0, 1, "Počet obcí", header));
    lxw_row_t row = 1;
    for (int b = 0; b < kBandCount; ++b, ++row) {
        book.Check(worksheet_write_string(sheet, row, 0, BandName(b), nullptr));
        const std::string formula = "=COUNTIF(" + bandRange + "," + ExactCriterion(BandName(b)) + ")";
        book.Check(worksheet_write_formula_num(sheet, row, 1, formula.c_str(), nullptr, bands[b]));
    }
    ++row;
    book.Check(worksheet_write_string(sheet, row, 0, "Kraj", header));
    book.Check(worksheet_write_string(sheet, row, 1, "Počet obcí", header));
    double width = 18;
    for (const std::size_t ref : regionOrder) {
        ++row;
        const std::string& region = table.SharedTexts(ofKRAJ)[ref];
        book.Check(worksheet_write_string(sheet, row, 0, CellText(region).c_str(), nullptr));
        const std::string formula = "=COUNTIF(" + regionRange + "," + ExactCriterion(WritableText(region)) + ")";
        book.Check(worksheet_write_formula_num(sheet, row, 1, formula.c_str(), nullptr,
                                               static_cast<double>(regionCounts[ref])));
        width = std::max(width, static_cast<double>(Characters(region)) + 2);
    }

    // Where the figures come from: the folder as an absolute path, and
    // whether its data are the shipped demonstration data.
    const std::string& dir = batch.Model().Data().DataDir();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
    const std::string folder = ec ? dir : absolute.lexically_normal().string();
    row += 2;
    book.Check(worksheet_write_string(sheet, row, 0, "Referenční data", header));
    book.Check(worksheet_write_string(sheet, row, 1, CellText(folder).c_str(), wrap));
    ++row;
    book.Check(worksheet_write_string(sheet, row, 0, "Demonstrační data", header));
    book.Check(worksheet_write_string(
        sheet, row, 1, batch.Model().DemonstrationData() ? "ano (nejde o oficiální údaje)" : "ne", nullptr));

    book.Check(worksheet_set_column(sheet, 0, 0, width, nullptr));
    book.Check(worksheet_set_column(sheet, 1, 1, kMaxColumnWidth, nullptr));
    book.PageSetup(sheet, false);
}

std::string Grouped(std::size_t number) {
    std::string digits = std::to_string(number), grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

TOutputFormat WorkbookOutputFormat() {
    return {"xlsx", {".xlsx"}, "Sešit Excel",
            [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
                WriteWorkbookOutput(batch, fileName, progress);
            }};
}

void CheckWorkbookRows(std::size_t rows, const std::string& fileName) {
    if (rows <= kWorkbookMaxRows) return;
    throw EZevraError(PathMessage("Výsledek má " + Grouped(rows) + " obcí, list sešitu jich pojme nejvýše " +
                                      Grouped(kWorkbookMaxRows) + " (uložte jej jako HTML nebo JSON)!",
                                  FileNameOf(fileName)));
}

void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName, const TBatchProgress& progress) {
    if (IsBlank(fileName)) throw EZevraError(kNoOutputFileMessage);
    const std::string target = FileNameOf(fileName);
    // Before anything is written: a table that a sheet cannot hold.
    CheckWorkbookRows(batch.OutputData().RowCount(), target);
    // The workbook library writes a file of its own, here a private temporary
    // file that goes with the process like every save's.
    const TTempFile temp(".xlsx");
    const TCNumbers numbers;
    const char* tmp = std::getenv("TMPDIR");
    const std::string tempDir = tmp != nullptr && *tmp != '\0' ? tmp : P_tmpdir;
    {
        TBook book(temp.Path(), tempDir, target);
        if (!book.Get()) throw EZevraError(ErrorMessage(LXW_ERROR_MEMORY_MALLOC_FAILED, target, tempDir));
        WriteRows(book, batch.OutputData(), progress);
        WriteSummary(book, batch);
        book.Close();
    }
    if (!WorkbookPackageComplete(temp.Path())) throw EZevraError(WriteError(target));
    SaveWorkbookFile(temp.Path(), target);
    ReportProgress(progress, batch.OutputData().RowCount(), batch.OutputData().RowCount());
}

}  // namespace zevra
