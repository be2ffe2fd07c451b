// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbookxml.h"

#include "model/u_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zevra::xlsx {

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

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

namespace {
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
}  // namespace

std::string CellText(std::string_view text) {
    std::string writable = WritableText(text);
    // Most texts hold no "_": they are stored as they are.
    std::string stored;
    std::size_t plain = 0;
    for (std::size_t i = writable.find('_'); i != std::string::npos; i = writable.find('_', i + 1)) {
        if (i + 5 < writable.size() && (writable[i + 1] == 'x' || writable[i + 1] == 'X') && IsHexDigit(writable[i + 2]) &&
            IsHexDigit(writable[i + 3]) && IsHexDigit(writable[i + 4]) && IsHexDigit(writable[i + 5])) {
            stored.append(writable, plain, i - plain);
            stored += "_x005F";
            plain = i;
        }
    }
    if (plain == 0 && stored.empty()) return writable;
    stored.append(writable, plain);
    return stored;
}

void AppendText(std::string& out, std::string_view text) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity;
        switch (text[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '\r': entity = "_x000D_"; break;
            default: continue;
        }
        out.append(text.data() + plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out.append(text.data() + plain, text.size() - plain);
}

void AppendT(std::string& out, std::string_view text) {
    const bool keepBlanks = !text.empty() && (IsBlankByte(text.front()) || IsBlankByte(text.back()));
    out += keepBlanks ? "<t xml:space=\"preserve\">" : "<t>";
    AppendText(out, text);
    out += "</t>";
}

void AppendColumnName(std::string& out, std::size_t column) {
    char letters[4];
    int count = 0;
    for (std::size_t n = column + 1; n > 0 && count < 4; n = (n - 1) / 26) letters[count++] = static_cast<char>('A' + (n - 1) % 26);
    while (count > 0) out += letters[--count];
}

void AppendInt(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendCellRef(std::string& out, std::size_t column, std::size_t row1) {
    AppendColumnName(out, column);
    AppendInt(out, static_cast<std::int64_t>(row1));
}

void AppendNumber(std::string& out, double value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendCellStart(std::string& out, std::size_t column, std::size_t row1, int style) {
    if (row1 == 0) {
        out += "<c";
    } else {
        out += "<c r=\"";
        AppendCellRef(out, column, row1);
        out += '"';
    }
    if (style != sDefault) {
        out += " s=\"";
        AppendInt(out, style);
        out += '"';
    }
}

void AppendInlineString(std::string& out, std::size_t column, std::size_t row1, int style, std::string_view text) {
    AppendCellStart(out, column, row1, style);
    out += " t=\"inlineStr\"><is>";
    AppendT(out, text);
    out += "</is></c>";
}

double StoredColumnWidth(double width) {
    constexpr double kDigit = 7, kPadding = 5;
    const double pixels = width < 1 ? std::floor(width * (kDigit + kPadding) + 0.5) : std::floor(width * kDigit + 0.5) + kPadding;
    return std::floor(pixels / kDigit * 256) / 256;
}

std::string WorksheetStart() {
    return std::string(kDeclaration) + "<worksheet xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelationships + "\">";
}

std::string SheetTail(bool landscape) {
    return std::string("<printOptions gridLines=\"1\"/>"
                       "<pageMargins left=\"0.4\" right=\"0.4\" top=\"0.6\" bottom=\"0.6\" header=\"0.3\" footer=\"0.3\"/>"
                       "<pageSetup paperSize=\"9\" fitToHeight=\"0\" orientation=\"") +
           (landscape ? "landscape" : "portrait") +
           "\"/><headerFooter><oddFooter>&amp;CStrana &amp;P z &amp;N</oddFooter></headerFooter></worksheet>";
}

std::string ContentTypesXml() {
    constexpr const char* kSheet = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    std::string xml = std::string(kDeclaration) +
                      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    const std::pair<const char*, const char*> overrides[] = {{"/xl/workbook.xml", "sheet.main+xml"},
                                                             {"/xl/worksheets/sheet1.xml", "worksheet+xml"},
                                                             {"/xl/worksheets/sheet2.xml", "worksheet+xml"},
                                                             {"/xl/styles.xml", "styles+xml"},
                                                             {"/xl/sharedStrings.xml", "sharedStrings+xml"}};
    for (const auto& [part, type] : overrides)
        xml += std::string("<Override PartName=\"") + part + "\" ContentType=\"" + kSheet + type + "\"/>";
    return xml + "</Types>";
}

std::string RootRelsXml() {
    return std::string(kDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" + kRelationships + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
           "</Relationships>";
}

std::string WorkbookRelsXml() {
    std::string xml = std::string(kDeclaration) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const std::pair<const char*, const char*> targets[] = {
        {"worksheet", "worksheets/sheet1.xml"}, {"worksheet", "worksheets/sheet2.xml"},
        {"styles", "styles.xml"}, {"sharedStrings", "sharedStrings.xml"}};
    int id = 0;
    for (const auto& [type, target] : targets)
        xml += "<Relationship Id=\"rId" + std::to_string(++id) + "\" Type=\"" + kRelationships + "/" + type +
               "\" Target=\"" + target + "\"/>";
    return xml + "</Relationships>";
}

std::string StylesXml() {
    constexpr const char* kFont = "<sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>";
    constexpr const char* kXf = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
    return std::string(kDeclaration) + "<styleSheet xmlns=\"" + kMain + "\">" +
           "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0\"/></numFmts>"
           "<fonts count=\"2\"><font>" + kFont + "</font><font><b/>" + kFont + "</font></fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
           "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
           "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
           "<cellXfs count=\"6\">" + kXf + "/>"
           "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\">"
           "<alignment vertical=\"top\" wrapText=\"1\"/></xf>" +
           kXf + " applyAlignment=\"1\"><alignment vertical=\"top\"/></xf>"
           "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" applyAlignment=\"1\">"
           "<alignment vertical=\"top\"/></xf>" +
           kXf + " applyAlignment=\"1\"><alignment vertical=\"top\" wrapText=\"1\"/></xf>"
           "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/></cellXfs>"
           "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           // The disadvantaged deciles: dark red on light red.
           "<dxfs count=\"1\"><dxf><font><color rgb=\"FF9C0006\"/></font>"
           "<fill><patternFill><bgColor rgb=\"FFF4CCCC\"/></patternFill></fill></dxf></dxfs>"
           "<tableStyles count=\"0\"/></styleSheet>";
}

std::string WorkbookXml(const std::string& filterRange) {
    std::string xml = std::string(kDeclaration) + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelationships + "\">" +
                      "<workbookPr/><bookViews><workbookView/></bookViews><sheets>"
                      "<sheet name=\"Obce\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Souhrn\" sheetId=\"2\" r:id=\"rId2\"/>"
                      "</sheets><definedNames>"
                      "<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" hidden=\"1\">";
    AppendText(xml, filterRange);
    return xml +
           "</definedName><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Obce!$1:$1</definedName>"
           "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"1\">Souhrn!$1:$1</definedName></definedNames>"
           // Formulas are calculated as the workbook opens: the summary
           // follows the data also where a reader keeps no results.
           "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/></workbook>";
}

std::string SharedStringsXml(const std::vector<std::string>& cellTexts, std::size_t references) {
    std::string xml = std::string(kDeclaration) + "<sst xmlns=\"" + kMain + "\" count=\"" + std::to_string(references) +
                      "\" uniqueCount=\"" + std::to_string(cellTexts.size()) + "\">";
    for (const std::string& text : cellTexts) {
        xml += "<si>";
        AppendT(xml, text);
        xml += "</si>";
    }
    return xml + "</sst>";
}

}  // namespace zevra::xlsx
