// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbook.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchmessages.h"
#include "model/u_indicators.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

namespace zevra {

namespace {

// A header of the outputs on one line.
std::string OneLine(std::string header) {
    for (char& c : header)
        if (c == '\n') c = ' ';
    return header;
}

// Long texts wrap inside a column of this width instead of widening it.
constexpr double kMaxColumnWidth = 60;

std::size_t Characters(const std::string& utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

std::string WriteError(const std::string& fileName) { return PathMessage(kCannotWriteMessage, fileName); }

// Every libxlsxwriter call reports through its result; the first failure ends the save.
void Check(lxw_error error, const std::string& fileName) {
    if (error != LXW_NO_ERROR) throw EZevraError(WriteError(fileName));
}

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

// The workbook library does not notice when a write to its own temporary
// files fails (a full disk, a file size limit): a part of the package is then
// cut short and the workbook would be saved damaged. Each part is read back
// from the package, and each XML part must end with the end tag of its root.
std::size_t LittleEndian(std::string_view bytes, std::size_t at, int length) {
    std::size_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool XmlPartComplete(std::string_view name, std::string_view part) {
    if (!name.ends_with(".xml") && !name.ends_with(".rels")) return true;
    std::size_t start = part.find('<');
    while (start != std::string_view::npos && part.substr(start, 2) == "<?")
        start = part.find('<', part.find("?>", start));
    if (start == std::string_view::npos) return false;
    const std::size_t nameEnd = part.find_first_of(" \t\r\n/>", start + 1);
    if (nameEnd == std::string_view::npos) return false;
    const std::string endTag = "</" + std::string(part.substr(start + 1, nameEnd - start - 1)) + ">";
    const std::size_t last = part.find_last_not_of(" \t\r\n");
    return part.substr(0, last + 1).ends_with(endTag);
}

bool PackageComplete(std::string_view zip) {
    // The central directory lists every part; the end record closes the file.
    const std::size_t end = zip.rfind("PK\x05\x06");
    if (end == std::string_view::npos || end + 22 > zip.size()) return false;
    const std::size_t parts = LittleEndian(zip, end + 10, 2);
    std::size_t entry = LittleEndian(zip, end + 16, 4);
    for (std::size_t i = 0; i < parts; ++i) {
        if (entry + 46 > zip.size() || zip.substr(entry, 4) != "PK\x01\x02") return false;
        const std::size_t method = LittleEndian(zip, entry + 10, 2);
        const std::size_t packed = LittleEndian(zip, entry + 20, 4);
        const std::size_t size = LittleEndian(zip, entry + 24, 4);
        const std::size_t nameLength = LittleEndian(zip, entry + 28, 2);
        const std::size_t local = LittleEndian(zip, entry + 42, 4);
        if (entry + 46 + nameLength > zip.size()) return false;
        const std::string_view name = zip.substr(entry + 46, nameLength);
        entry += 46 + nameLength + LittleEndian(zip, entry + 30, 2) + LittleEndian(zip, entry + 32, 2);
        if (local + 30 > zip.size() || zip.substr(local, 4) != "PK\x03\x04") return false;
        const std::size_t data = local + 30 + LittleEndian(zip, local + 26, 2) + LittleEndian(zip, local + 28, 2);
        if (data + packed > zip.size() || size == 0) return false;
        std::string part(size, '\0');
        if (method == 0) {
            if (packed != size) return false;
            part = zip.substr(data, packed);
        } else if (method == Z_DEFLATED) {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            stream.avail_in = static_cast<uInt>(packed);
            stream.next_out = reinterpret_cast<Bytef*>(part.data());
            stream.avail_out = static_cast<uInt>(size);
            const bool whole = inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.total_out == size;
            inflateEnd(&stream);
            if (!whole) return false;
        } else {
            return false;
        }
        if (!XmlPartComplete(name, part)) return false;
    }
    return parts > 0;
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

    // The columns of sheet "Obce": those of the HTML table, with the band
    // beside the integrated indicator.
    const std::vector<TOutputColumn>& columns = OutputColumns();
    const auto columnCount = static_cast<lxw_col_t>(columns.size());
    std::vector<double> widths(columns.size());
    const auto fit = [&widths](lxw_col_t col, const std::string& text) {
        std::size_t longest = 0, start = 0;
        for (std::size_t end; start <= text.size(); start = end + 1) {
            end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            longest = std::max(longest, Characters(text.substr(start, end - start)));
        }
        widths[col] = std::min(kMaxColumnWidth, std::max(widths[col], static_cast<double>(longest) + 2));
    };
    const auto wraps = [](const TOutputColumn& column) {
        return column.Kind == TOutputKind::okAssessment || column.Kind == TOutputKind::okWater;
    };
    for (lxw_col_t col = 0; col < columnCount; ++col) {
        const std::string title = OneLine(columns[col].Header);
        Check(worksheet_write_string(sheet, 0, col, title.c_str(), header), fileName);
        fit(col, title);
        // A long header over short numbers wraps.
        if (columns[col].Kind == TOutputKind::okNumber) widths[col] = std::min(widths[col], 14.0);
    }

    const auto text = [&](lxw_row_t row, lxw_col_t col, const std::string& value, lxw_format* format) {
        if (!value.empty()) Check(worksheet_write_string(sheet, row, col, CellText(value).c_str(), format), fileName);
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
        for (lxw_col_t col = 0; col < columnCount; ++col) {
            const std::size_t field = columns[col].Field;
            switch (columns[col].Kind) {
                case TOutputKind::okName: text(row, col, table.GetText(r, field), nullptr); break;
                case TOutputKind::okInteger:
                case TOutputKind::okDecil: number(row, col, r, field, integer); break;
                case TOutputKind::okNumber: number(row, col, r, field, nullptr); break;
                case TOutputKind::okBand:
                    if (!table.IsNull(r, field)) text(row, col, BandName(BandOf(table.GetFloat(r, field))), nullptr);
                    break;
                // The texts composed from the row's assessment, not read back
                // from the HTML.
                case TOutputKind::okAssessment:
                    if (!table.IsNull(r, ofOBYVATELSTVO))
                        text(row, col, AssessmentPlainText(RowAssessment(table, r)), wrap);
                    break;
                case TOutputKind::okWater:
                    text(row, col, WaterWarningPlainText(RowAssessment(table, r).WaterWarning), wrap);
                    break;
            }
        }
    }
    for (lxw_col_t col = 0; col < columnCount; ++col)
        Check(worksheet_set_column(sheet, col, col, widths[col], wraps(columns[col]) ? wrap : nullptr), fileName);
    worksheet_freeze_panes(sheet, 1, 0);
    Check(worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(table.RowCount()), columnCount - 1), fileName);
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
        Check(worksheet_write_string(sheet, row, 0, CellText(region).c_str(), nullptr), fileName);
        Check(worksheet_write_number(sheet, row, 1, count, nullptr), fileName);
        width = std::max(width, static_cast<double>(Characters(region)) + 2);
    }
    Check(worksheet_set_column(sheet, 0, 0, width, nullptr), fileName);
    Check(worksheet_set_column(sheet, 1, 1, 12, nullptr), fileName);
}

}  // namespace

TOutputFormat WorkbookOutputFormat() {
    return {"xlsx", {".xlsx"}, "Sešit Excel",
            [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress&) {
                WriteWorkbookOutput(batch, fileName);
            }};
}

void WriteWorkbookOutput(const TZevraBatch& batch, const std::string& fileName) {
    if (IsBlank(fileName)) throw EZevraError(kNoOutputFileMessage);
    const std::string target = FileNameOf(fileName);
    // The workbook library writes a file of its own. It writes a private
    // temporary file, which goes with the process like every save's, and the
    // bytes are then saved as every other output is (a link followed, the old
    // file's permissions kept, a device written in place, the file synced
    // before it replaces the old one).
    std::string bytes;
    {
        const TTempFile temp(".xlsx");
        TWorkbook book(temp.Path());
        if (!book.Get()) throw EZevraError(PathMessage(kCannotCreateMessage, target));
        WriteRows(book.Get(), batch.OutputData(), target);
        WriteSummary(book.Get(), batch.OutputData(), target);
        Check(book.Close(), target);
        bytes = ReadFileBytes(temp.Path());
    }
    if (!PackageComplete(bytes)) throw EZevraError(WriteError(target));
    SaveFile(target, bytes);
}

}  // namespace zevra
