// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbook.h"

#include "batch/core/u_batchcore.h"
#include "model/u_indicators.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace zevra {

namespace {

// The columns of sheet "Obce": those of the HTML table, with the band beside
// the integrated indicator.
constexpr const char* kHeaders[] = {"Obec",         "Kód obce",        "Kraj",           "Int. indik. Obyvatelstvo",
                                    "Pásmo",        "Komentář int. indikátoru Obyvatelstvo",
                                    "Doj.čas kraj.m.", "Doj.vzd. okr.m.", "Silnice 1.tř", "Nadm. výška",
                                    "Velikost katastru", "Podíl vyjížď.", "Podíl rolníků", "Vodovod"};
constexpr lxw_col_t kColumnCount = sizeof(kHeaders) / sizeof(kHeaders[0]);
// Long texts wrap inside a column of this width instead of widening it.
constexpr double kMaxColumnWidth = 60;

std::size_t Characters(const std::string& utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

// Every libxlsxwriter call reports through its result; the first failure ends the save.
void Check(lxw_error error, const std::string& fileName) {
    if (error != LXW_NO_ERROR)
        throw EZevraError("Soubor " + fileName + " se nepodařilo zapsat! (" + lxw_strerror(error) + ")");
}

class TWorkbook {
public:
    explicit TWorkbook(const std::string& path) : FBook(workbook_new(path.c_str())) {}
    ~TWorkbook() {
        if (FBook) workbook_close(FBook);
    }
    TWorkbook(const TWorkbook&) = delete;
    TWorkbook& operator=(const TWorkbook&) = delete;
    lxw_workbook* Get() const { return FBook; }
    lxw_error Close() {
        const lxw_error error = workbook_close(FBook);
        FBook = nullptr;
        return error;
    }

private:
    lxw_workbook* FBook;
};

void WriteRows(lxw_workbook* book, const TMemTable& table, const std::string& fileName) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Obce");
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_text_wrap(header);
    lxw_format* integer = workbook_add_format(book);
    format_set_num_format(integer, "0");
    lxw_format* wrap = workbook_add_format(book);
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);

    std::vector<double> widths(kColumnCount);
    const auto fit = [&widths](lxw_col_t col, const std::string& text) {
        std::size_t longest = 0, start = 0;
        for (std::size_t end; start <= text.size(); start = end + 1) {
            end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            longest = std::max(longest, Characters(text.substr(start, end - start)));
        }
        widths[col] = std::min(kMaxColumnWidth, std::max(widths[col], static_cast<double>(longest) + 2));
    };
    for (lxw_col_t col = 0; col < kColumnCount; ++col) {
        Check(worksheet_write_string(sheet, 0, col, kHeaders[col], header), fileName);
        fit(col, kHeaders[col]);
    }
    widths[3] = std::min(widths[3], 14.0);  // a long header over short numbers wraps

    const auto text = [&](lxw_row_t row, lxw_col_t col, const std::string& value, lxw_format* format) {
        if (!value.empty()) Check(worksheet_write_string(sheet, row, col, value.c_str(), format), fileName);
        fit(col, value);
    };
    const auto number = [&](lxw_row_t row, lxw_col_t col, std::size_t row0, std::size_t field, lxw_format* format) {
        if (table.IsNull(row0, field)) return;
        Check(worksheet_write_number(sheet, row, col, format ? table.GetInt(row0, field) : table.GetFloat(row0, field),
                                     format),
              fileName);
        fit(col, table.AsText(row0, field));
    };
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        const auto row = static_cast<lxw_row_t>(r + 1);
        text(row, 0, table.GetText(r, ofOBEC), nullptr);
        number(row, 1, r, ofKODOBCE, integer);
        text(row, 2, table.GetText(r, ofKRAJ), nullptr);
        number(row, 3, r, ofOBYVATELSTVO, nullptr);
        if (!table.IsNull(r, ofOBYVATELSTVO)) text(row, 4, BandName(BandOf(table.GetFloat(r, ofOBYVATELSTVO))), nullptr);
        text(row, 5, HtmlToPlainText(table.GetText(r, ofOBYVATELSTVO_TEXT)), wrap);
        for (std::size_t k = 0; k < kIndicatorCount; ++k)
            number(row, static_cast<lxw_col_t>(6 + k), r, ofDCK + k, integer);
        text(row, 13, HtmlToPlainText(table.GetText(r, ofVODOVOD)), wrap);
    }
    for (lxw_col_t col = 0; col < kColumnCount; ++col)
        Check(worksheet_set_column(sheet, col, col, widths[col], col == 5 || col == 13 ? wrap : nullptr), fileName);
    worksheet_freeze_panes(sheet, 1, 0);
    Check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(table.RowCount()), kColumnCount - 1), fileName);
}

void WriteSummary(lxw_workbook* book, const TMemTable& table, const std::string& fileName) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Souhrn");
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    int bands[kBandCount] = {};
    std::vector<std::pair<std::string, int>> regions;  // in order of first appearance
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (!table.IsNull(r, ofOBYVATELSTVO)) ++bands[BandOf(table.GetFloat(r, ofOBYVATELSTVO))];
        const std::string region = table.GetText(r, ofKRAJ);
        auto it = std::find_if(regions.begin(), regions.end(), [&](const auto& p) { return p.first == region; });
        if (it == regions.end())
            regions.emplace_back(region, 1);
        else
            ++it->second;
    }
    Check(worksheet_write_string(sheet, 0, 0, "Pásmo", header), fileName);
    Check(worksheet_write_string(sheet, 0, 1, "Počet obcí", header), fileName);
    lxw_row_t row = 1;
    for (int b = 0; b < kBandCount; ++b, ++row) {
        Check(worksheet_write_string(sheet, row, 0, BandName(b), nullptr), fileName);
        Check(worksheet_write_number(sheet, row, 1, bands[b], nullptr), fileName);
    }
    ++row;
    Check(worksheet_write_string(sheet, row, 0, "Kraj", header), fileName);
    Check(worksheet_write_string(sheet, row, 1, "Počet obcí", header), fileName);
    double width = 12;
    for (const auto& [region, count] : regions) {
        ++row;
        Check(worksheet_write_string(sheet, row, 0, region.c_str(), nullptr), fileName);
        Check(worksheet_write_number(sheet, row, 1, count, nullptr), fileName);
        width = std::max(width, static_cast<double>(Characters(region)) + 2);
    }
    Check(worksheet_set_column(sheet, 0, 0, width, nullptr), fileName);
    Check(worksheet_set_column(sheet, 1, 1, 12, nullptr), fileName);
}

}  // namespace

std::string HtmlToPlainText(const std::string& html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html.compare(i, 5, "<br/>") == 0 || html.compare(i, 6, "<br />") == 0) {
            text += '\n';
            i = html.find('>', i) + 1;
        } else if (html[i] == '<' && html.find('>', i) != std::string::npos) {
            i = html.find('>', i) + 1;
        } else if (html.compare(i, 6, "&nbsp;") == 0) {
            i += 6;
        } else {
            text += html[i++];
        }
    }
    return text;
}

void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName) {
    if (IsBlank(fileName)) throw EZevraError("Nebyl vybrán cílový soubor!");
    const std::string target = FileNameOf(fileName);
    // The workbook library writes a file of its own. It writes it into a
    // private folder, and the bytes are then saved as every other output is
    // (a link followed, the old file's permissions kept, a device written in
    // place, the file synced before it replaces the old one).
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zevra-xlsx-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) throw EZevraError("Soubor " + target + " se nepodařilo vytvořit!");
    const auto removeFolder = [&folder] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    };
    try {
        const std::string path = folder + "/vysledek.xlsx";
        std::string bytes;
        {
            TWorkbook book(path);
            if (!book.Get()) throw EZevraError("Soubor " + target + " se nepodařilo vytvořit!");
            WriteRows(book.Get(), batch.OutputData(), target);
            WriteSummary(book.Get(), batch.OutputData(), target);
            Check(book.Close(), target);
            bytes = ReadFileBytes(path);
        }
        removeFolder();
        SaveFile(target, bytes);
    } catch (...) {
        removeFolder();
        throw;
    }
}

}  // namespace zevra
