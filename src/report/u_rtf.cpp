#include "report/u_rtf.h"

#include "model/u_text.h"

#include <cstdint>

namespace zevra {

namespace {

constexpr const char* kDocumentHeader =
    "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset238 Times New Roman;}}\r\n"
    "\\viewkind4\\pard\\plain\\f0\\fs24\r\n";
constexpr const char* kDocumentEnd = "}\r\n";

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
    out += "\\'";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// Decodes one UTF-8 sequence at `pos` (advancing it); a malformed byte gives
// U+FFFD and is skipped alone.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || pos + static_cast<std::size_t>(length) > text.size()) {
        ++pos;
        return U'\uFFFD';
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    pos += static_cast<std::size_t>(length);
    return cp;
}

// "\uN" takes a signed 16-bit number.
void AppendUnicodeUnit(std::string& out, std::uint16_t unit) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(unit));
}

// The code page 1250 byte of one character, or "?" when the code page lacks it.
void AppendFallback(std::string& out, std::string_view utf8Char) {
    const std::string cp1250 = Utf8ToCp1250(utf8Char);
    const unsigned char byte =
        cp1250.size() == 1 ? static_cast<unsigned char>(cp1250[0]) : static_cast<unsigned char>('?');
    if (byte < 0x80)
        out += static_cast<char>(byte);
    else
        AppendHexByte(out, byte);
}

void AppendNonAscii(std::string& out, char32_t cp, std::string_view utf8Char) {
    if (cp <= 0xFFFF) {
        AppendUnicodeUnit(out, static_cast<std::uint16_t>(cp));
        AppendFallback(out, utf8Char);
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
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(text, pos);
        AppendNonAscii(out, cp, text.substr(start, pos - start));
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
