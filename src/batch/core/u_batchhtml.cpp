// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML table of a batch run: one line of HTML in code page 1250, written
// to the safe writer piece by piece as it is produced.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchmessages.h"

#include "batch/core/u_pieces.h"

#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_savefile.h"
#include "model/u_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace zevra {

namespace {

// Appends UTF-8 text in code page 1250 as HTML character data: & < > " become
// entities and a character the code page lacks becomes a numeric reference,
// so nothing of the name is lost. Tab, LF and CR are references too (the
// document stays one line); a character no output can carry is U+FFFD, as
// in the workbook and the JSON.
void AppendEscapedCp1250(std::string& out, std::string_view text) {
    AppendOutputText(
        out, text, [](unsigned char c) { return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"'; },
        "&#xFFFD;", [&out](char32_t cp, std::string_view) {
            switch (cp) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                case '"': out += "&quot;"; break;
                default: {
                    // A control character of the input is shown, not passed on.
                    const int byte = cp < 0x20 ? -1 : Cp1250ByteOf(cp);
                    if (byte >= 0)
                        out += static_cast<char>(byte);
                    else
                        out += "&#" + FormatInt(static_cast<long long>(cp)) + ";";
                }
            }
        });
}

void AppendCp1250(std::string& out, std::string_view text) { out += Utf8ToCp1250(text); }

// The document up to the first header cell.
constexpr const char* kHtmlHead =
    "<html>"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\" />"
    "<meta http-equiv=\"Generator\" content=\"ZEVRA Model - MOXAN\" />"
    "</head>"
    "<body>"
    "<p><strong>Výsledky modelu hodnocení disparit malých obcí ZEVRA Model</strong>.<br />"
    "Model ZEVRA vytvořila společnost MOXAN v rámci výzkumného projektu o disparitách malých obcí, "
    "řešeného ve výzkumném programu regionálního rozvoje.</p>"
    "<table border=\"1\" summary=\"Výsledek modelu ZEVRA\">"
    "<thead>"
    "<tr>";

// The stored columns of the outputs: the HTML table shows no band.
bool InHtmlTable(const TOutputColumn& column) { return column.Kind != TOutputKind::okBand; }

// The head of the document up to the body of the table, in UTF-8.
std::string HtmlHead() {
    std::string head = kHtmlHead;
    for (const TOutputColumn& column : OutputColumns()) {
        if (!InHtmlTable(column)) continue;
        head += "<th>";
        for (const char c : column.Header) {
            if (c == '\n')
                head += "<br />";
            else
                head += c;
        }
        head += "</th>";
    }
    return head + "</tr></thead><tbody>";
}

constexpr const char* kHtmlTail = "</tbody></table></body></html>";

}  // namespace

namespace {

// Rows per piece of the document; the pieces are written on every core.
constexpr std::size_t kHtmlRowsPerPiece = 1024;

void AppendInt(std::string& out, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

}  // namespace

void TZevraBatch::WriteHtml(const std::function<void(std::string_view)>& sink, const TBatchProgress& progress) const {
    const TMemTable& t = FOutputData;
    // The texts of the shared columns repeat from row to row: each distinct
    // one is converted once. A name (the region) is escaped; the assessment
    // and the water-supply warning are the model's own HTML and are written
    // as they are.
    std::vector<std::vector<std::string>> converted(t.FieldCount());
    for (const TOutputColumn& column : OutputColumns()) {
        if (!InHtmlTable(column) || !t.Fields()[column.Field].Shared) continue;
        for (const std::string& text : t.SharedTexts(column.Field)) {
            std::string& cp1250 = converted[column.Field].emplace_back();
            if (column.Kind == TOutputKind::okName)
                AppendEscapedCp1250(cp1250, text);
            else
                AppendCp1250(cp1250, text);
        }
    }
    // How each column is written, decided once.
    enum class TCell { Name, Shared, Integer, Number };
    struct TWritten {
        std::size_t Field;
        TCell Cell;
    };
    std::vector<TWritten> cells;
    for (const TOutputColumn& column : OutputColumns()) {
        if (!InHtmlTable(column)) continue;
        const TFieldDef& def = t.Fields()[column.Field];
        cells.push_back({column.Field, def.Shared                             ? TCell::Shared
                                       : column.Kind == TOutputKind::okName  ? TCell::Name
                                       : def.Type == TFieldType::ftInteger   ? TCell::Integer
                                                                             : TCell::Number});
    }
    const auto appendRow = [&](std::string& out, std::size_t row) {
        out += "<tr><td>";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) out += "</td><td>";
            const std::size_t field = cells[i].Field;
            switch (cells[i].Cell) {
                case TCell::Name: AppendEscapedCp1250(out, t.TextView(row, field)); break;
                case TCell::Shared:
                    if (const std::size_t ref = t.SharedRefOf(row, field); ref != TMemTable::npos)
                        out += converted[field][ref];
                    break;
                case TCell::Integer:
                    if (!t.IsNull(row, field)) AppendInt(out, t.GetInt(row, field));
                    break;
                // Numbers: plain decimal, the shortest form, no grouping.
                case TCell::Number: out += t.AsText(row, field); break;
            }
        }
        out += "</td></tr>";
    };

    std::string head;
    AppendCp1250(head, HtmlHead());
    sink(head);
    const std::size_t rows = t.RowCount();
    ForEachPieceInOrder<std::string>(
        (rows + kHtmlRowsPerPiece - 1) / kHtmlRowsPerPiece,
        [&](std::size_t piece, std::string& out) {
            const std::size_t end = std::min(rows, (piece + 1) * kHtmlRowsPerPiece);
            // Room for rows of a usual length, so that the piece seldom grows.
            out.reserve((end - piece * kHtmlRowsPerPiece) * 768);
            for (std::size_t row = piece * kHtmlRowsPerPiece; row < end; ++row) appendRow(out, row);
        },
        [&](std::size_t piece, std::string& out) {
            sink(out);
            ReportProgress(progress, std::min(rows, (piece + 1) * kHtmlRowsPerPiece), rows);
        });
    sink(kHtmlTail);
}

std::string TZevraBatch::HtmlOutputBytes() const {
    std::string document;
    WriteHtml([&document](std::string_view piece) { document += piece; });
    return document;
}

void TZevraBatch::WriteHtmlOutput(const std::string& fileName, const TBatchProgress& progress) const {
    if (IsBlank(fileName)) throw EZevraError(kNoOutputFileMessage);
    TSafeFileWriter writer(FileNameOf(fileName));
    WriteHtml([&writer](std::string_view piece) { writer.Write(piece); }, progress);
    writer.Commit();
}

}  // namespace zevra
