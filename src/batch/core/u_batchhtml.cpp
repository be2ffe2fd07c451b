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

// Cp1250ByteOf by a direct table instead of its search of the code page, for
// the characters of every name written. The table is built from the code page
// itself, so both give the same byte (or none) for every character.
int Cp1250ByteOfFast(char32_t cp) {
    static const std::vector<std::int16_t> table = [] {
        std::vector<std::int16_t> t(0x10000, -1);
        for (int b = 0; b < 0x100; ++b) {
            const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
            char32_t c = 0;
            if (DecodeUtf8At(utf8, 0, c) == 0 || c >= 0x10000) continue;
            t[c] = static_cast<std::int16_t>(Cp1250ByteOf(c));
        }
        return t;
    }();
    return cp < 0x10000 ? table[cp] : Cp1250ByteOf(cp);
}

// Appends UTF-8 text in code page 1250 as HTML character data: & < > " become
// entities and a character the code page lacks becomes a numeric reference,
// so nothing of the name is lost.
void AppendEscapedCp1250(std::string& out, std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            switch (lead) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                case '"': out += "&quot;"; break;
                // A control character of the input is shown, not passed on.
                default:
                    if (lead < 0x20 || lead == 0x7F)
                        out += "&#xFFFD;";
                    else
                        out += static_cast<char>(lead);
            }
            ++pos;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeUtf8At(text, pos, cp);
        if (length == 0) {
            out += '?';
            ++pos;
            continue;
        }
        const int byte = Cp1250ByteOfFast(cp);
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
    const auto appendRow = [&](std::string& out, std::size_t row) {
        out += "<tr>";
        for (std::size_t field = 0; field < fields; ++field) {
            out += "<td>";
            if (field == ofOBEC) {
                AppendEscapedCp1250(out, t.TextView(row, field));
            } else if (t.Fields()[field].Shared) {
                const std::size_t ref = t.SharedRefOf(row, field);
                if (ref != TMemTable::npos) out += converted[field][ref];
            } else if (t.Fields()[field].Type == TFieldType::ftInteger) {
                if (!t.IsNull(row, field)) AppendInt(out, t.GetInt(row, field));
            } else {
                // Numbers: plain decimal, the shortest form, no grouping.
                out += t.AsText(row, field);
            }
            out += "</td>";
        }
        out += "</tr>";
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
    TSafeFileWriter writer(Trim(fileName));
    WriteHtml([&writer](std::string_view piece) { writer.Write(piece); });
    writer.Commit();
}

}  // namespace zevra
