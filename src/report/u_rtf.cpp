// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/u_rtf.h"

#include "model/u_text.h"

#include <cstdint>

namespace zevra {

namespace {

constexpr const char* kDocumentHeader =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029\\uc1"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset238 Times New Roman;}}\r\n"
    // A4 with 2.5 cm margins, in Czech: a word processor otherwise opens it
    // as US Letter.
    "\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1417\r\n"
    "\\viewkind4\\pard\\plain\\lang1029\\f0\\fs24\r\n";
constexpr const char* kDocumentEnd = "}\r\n";

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
    out += "\\'";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// "\uN" takes a signed 16-bit number.
void AppendUnicodeUnit(std::string& out, std::uint16_t unit) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(unit));
}

// The code page 1250 byte of one character, or "?" when the code page lacks it.
void AppendFallback(std::string& out, char32_t cp) {
    const int cp1250 = Cp1250ByteOf(cp);
    const unsigned char byte = static_cast<unsigned char>(cp1250 < 0 ? '?' : cp1250);
    if (byte < 0x80)
        out += static_cast<char>(byte);
    else
        AppendHexByte(out, byte);
}

void AppendNonAscii(std::string& out, char32_t cp) {
    if (cp <= 0xFFFF) {
        AppendUnicodeUnit(out, static_cast<std::uint16_t>(cp));
        AppendFallback(out, cp);
        return;
    }
    // Outside the basic plane: a surrogate pair, each half with "?".
    const char32_t v = cp - 0x10000;
    AppendUnicodeUnit(out, static_cast<std::uint16_t>(0xD800 + (v >> 10)));
    out += '?';
    AppendUnicodeUnit(out, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
    out += '?';
}

// Text of one run: RTF specials escaped, a line end (CR LF, or a lone CR or
// LF) as a line break, other control characters dropped.
std::string EscapeText(std::string_view text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\r' || c == '\n') {
            out += "\\line ";
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            ++pos;
            if (c == '\\' || c == '{' || c == '}') {
                out += '\\';
                out += c;
            } else if (c == '\t') {
                out += "\\tab ";
            } else if (byte >= 0x20 && byte != 0x7F) {
                out += c;
            }
            continue;
        }
        // A malformed byte (the program's text never holds one) is skipped
        // alone as U+FFFD.
        char32_t cp = U'\uFFFD';
        const std::size_t length = DecodeUtf8At(text, pos, cp);
        if (length == 0) cp = U'\uFFFD';
        pos += length == 0 ? 1 : length;
        AppendNonAscii(out, cp);
    }
    return out;
}

}  // namespace

void TRtfSink::InsertText(std::string_view text, TMarkupStyle style) {
    FBody += '{';
    if (style.Bold) FBody += "\\b";
    if (style.Italic) FBody += "\\i";
    if (style.Bold || style.Italic) FBody += ' ';
    FBody += EscapeText(text);
    FBody += '}';
}

void TRtfSink::EndEntry(TMarkupStyle) { FBody += "\\par\r\n"; }

std::string TRtfSink::Document() const { return kDocumentHeader + FBody + kDocumentEnd; }

std::string RenderRtfDocument(const std::vector<std::string>& entries) {
    TRtfSink sink;
    RenderMarkup(sink, entries);
    return sink.Document();
}

}  // namespace zevra
