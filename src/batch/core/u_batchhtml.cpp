// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML table of a batch run: one line of HTML in code page 1250, written
// to the safe writer piece by piece as it is produced.
#include "batch/core/u_batchcore.h"

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

// Whether an ASCII byte is written as it stands: not one of & < > " and no
// control character.
bool IsPlainHtmlByte(unsigned char c) {
    return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"';
}

// Appends UTF-8 text in code page 1250 as HTML character data: & < > " become
// entities and a character the code page lacks becomes a numeric reference,
// so nothing of the name is lost. Tab, LF and CR are references too (the
// document stays one line); a character no output can carry is U+FFFD, as
// in the workbook and the JSON.
void AppendEscapedCp1250(std::string& out, std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        // Runs of plain ASCII, most of a name, go in at once.
        std::size_t run = pos;
        while (run < text.size() && IsPlainHtmlByte(static_cast<unsigned char>(text[run]))) ++run;
        out.append(text, pos, run - pos);
        pos = run;
        if (pos == text.size()) break;
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            switch (lead) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                case '"': out += "&quot;"; break;
                // A control character of the input is shown, not passed on.
                default:
                    out += IsWritableChar(lead) ? "&#" + FormatInt(lead) + ";" : std::string("&#xFFFD;");
            }
            ++pos;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(text, pos, cp);
        if (length == 0 || !IsWritableChar(cp)) {
            out += "&#xFFFD;";
            pos += length == 0 ? 1 : length;
            continue;
        }
        const int byte = Cp1250ByteOf(cp);
        if (byte >= 0)
            out += static_cast<char>(byte);
        else
            out += "&#" + FormatInt(static_cast<long long>(cp)) + ";";
        pos += length;
    }
}

void AppendCp1250(std::string& out, std::string_view text) { out += Utf8ToCp1250(text); }

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
    "<tr>"
    "<th>Obec</th>"
    "<th>Kód obce</th>"
    "<th>Kraj</th>"
    "<th>Int. indik.<br />Obyvatelstvo</th>"
    "<th>Komentář int. indikátoru Obyvatelstvo</th>"
    "<th>Doj.čas<br />kraj.m.</th>"
    "<th>Doj.vzd.<br />okr.m.</th>"
    "<th>Silnice<br />1.tř</th>"
    "<th>Nadm.<br />výška</th>"
    "<th>Velikost<br />katastru</th>"
    "<th>Podíl<br />vyjížď.</th>"
    "<th>Podíl<br />rolníků</th>"
    "<th>Vodovod</th>"
    "</tr>"
    "</thead>"
    "<tbody>";

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

void TZevraBatch::WriteHtml(const std::function<void(std::string_view)>& sink) const {
    const TMemTable& t = FOutputData;
    const std::size_t fields = t.FieldCount();
    // The texts of the shared columns repeat from row to row: each distinct
    // one is converted once. The region is a name and is escaped; the
    // assessment and the water-supply warning are the model's own HTML and
    // are written as they are.
    std::vector<std::vector<std::string>> converted(fields);
    for (std::size_t field = 0; field < fields; ++field) {
        if (!t.Fields()[field].Shared) continue;
        for (const std::string& text : t.SharedTexts(field)) {
            std::string& cp1250 = converted[field].emplace_back();
            if (field == ofKRAJ)
                AppendEscapedCp1250(cp1250, text);
            else
                AppendCp1250(cp1250, text);
        }
    }
    // How each column is written, decided once.
    enum class TCell { Name, Shared, Integer, Number };
    std::vector<TCell> cells;
    for (std::size_t field = 0; field < fields; ++field) {
        const TFieldDef& def = t.Fields()[field];
        cells.push_back(field == ofOBEC                          ? TCell::Name
                        : def.Shared                             ? TCell::Shared
                        : def.Type == TFieldType::ftInteger      ? TCell::Integer
                                                                 : TCell::Number);
    }
    const auto appendRow = [&](std::string& out, std::size_t row) {
        out += "<tr><td>";
        for (std::size_t field = 0; field < fields; ++field) {
            if (field > 0) out += "</td><td>";
            switch (cells[field]) {
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
    AppendCp1250(head, kHtmlHead);
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
        [&](std::size_t, std::string& out) { sink(out); });
    sink(kHtmlTail);
}

std::string TZevraBatch::HtmlOutputBytes() const {
    std::string document;
    WriteHtml([&document](std::string_view piece) { document += piece; });
    return document;
}

void TZevraBatch::WriteHtmlOutput(const std::string& fileName) const {
    if (IsBlank(fileName)) throw EZevraError("Nebyl vybrán cílový soubor!");
    TSafeFileWriter writer(FileNameOf(fileName));
    WriteHtml([&writer](std::string_view piece) { writer.Write(piece); });
    writer.Commit();
}

}  // namespace zevra
