// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Text at the file boundaries: code page 1250 <-> UTF-8, line splitting and
// whole-file reading and writing. Inside the program every string is UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

// Decodes the UTF-8 sequence at `pos`: its length, with the code point in
// `cp`; 0 when the bytes there form no valid sequence (overlong forms,
// surrogates and values beyond U+10FFFF are not valid). The one UTF-8
// decoder of the program.
std::size_t DecodeUtf8At(std::string_view s, std::size_t pos, char32_t& cp);

// The code page 1250 byte of a code point, or -1 when the code page lacks it.
int Cp1250ByteOf(char32_t cp);

// Every byte of code page 1250 to UTF-8. The five bytes the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to U+0081 ... U+0098.
std::string Cp1250ToUtf8(std::string_view bytes);

// UTF-8 to code page 1250; U+202F (narrow no-break space) becomes 0xA0, the
// no-break space; any other character the code page lacks (or a malformed
// UTF-8 sequence) becomes "?".
std::string Utf8ToCp1250(std::string_view text);

// True when the bytes form valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Valid UTF-8 of the bytes: every byte that starts no valid sequence becomes
// U+FFFD, so text inside the program is always well formed.
std::string SanitizeUtf8(std::string_view bytes);

// Decodes the raw content of a text file; everything from the first Ctrl-Z
// (code 26) on is dropped.
// - A UTF-8 mark: UTF-8 (mark dropped, malformed bytes become U+FFFD).
// - A UTF-16 mark (FF FE or FE FF): UTF-16 of that byte order.
// - Otherwise UTF-8 when its well-formed multi-byte sequences that encode a
//   character of code page 1250 outnumber the evidence against (bytes that
//   are no valid UTF-8, sequences of characters the code page lacks); a stray
//   byte is then read as its code page 1250 character. Anything else is code
//   page 1250, so a file the program saved is never misread.
std::string DecodeFileText(std::string_view bytes);

// DecodeFileText in steps, for a large file handled a run of lines at a
// time: MarkedFileBody finds the part of the bytes that holds the text and,
// when a mark decides it, the encoding (a UTF-16 file is decoded whole into
// `decoded`, which the body then views); else `encoding` is left empty and the
// body is UTF-8 or code page 1250 by the TUtf8Evidence of all its bytes, which
// adds up over any split of the body at line ends. DecodeFileBody decodes the
// body, or any run of its whole lines (line ends are the same bytes in every
// encoding but UTF-16), to what DecodeFileText gives for them.
enum class TFileEncoding { Cp1250, Utf8, Utf8Marked, Decoded };
std::string_view MarkedFileBody(std::string_view bytes, std::optional<TFileEncoding>& encoding, std::string& decoded);
struct TUtf8Evidence {
    std::size_t For = 0;      // valid sequences of characters code page 1250 has
    std::size_t Against = 0;  // bytes that are no valid UTF-8, other sequences
    void Add(std::string_view bytes);
    void Add(const TUtf8Evidence& other) {
        For += other.For;
        Against += other.Against;
    }
    TFileEncoding Encoding() const { return For > 0 && For > Against ? TFileEncoding::Utf8 : TFileEncoding::Cp1250; }
};
std::string DecodeFileBody(std::string_view body, TFileEncoding encoding);

// The line without a UTF-8 byte order mark at its start. Two files joined
// keep the second one's mark at the start of a line, where it is as little
// part of the text as at the start of the file.
std::string_view WithoutUtf8Mark(std::string_view line);

// Splits text into lines; CR LF, a lone CR and a lone LF each end a line.
// The last line needs no line end; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The lines of a text one at a time, split as SplitLines splits them, viewed
// in place instead of copied into a list.
class TLineCursor {
public:
    explicit TLineCursor(std::string_view text) : FText(text), FNextCr(Find('\r', 0)), FNextLf(Find('\n', 0)) {}
    bool AtEnd() const { return FPos >= FText.size(); }
    std::string_view Next() {
        const std::size_t start = FPos;
        // The next CR and the next LF are each searched for only once they
        // are passed, so that a text with only one kind of line end is not
        // searched to its end for the other kind at every line.
        if (FNextCr < start) FNextCr = Find('\r', start);
        if (FNextLf < start) FNextLf = Find('\n', start);
        std::size_t i = FNextCr < FNextLf ? FNextCr : FNextLf;
        const std::string_view line = FText.substr(start, i - start);
        if (i < FText.size()) {
            if (FText[i] == '\r' && i + 1 < FText.size() && FText[i + 1] == '\n') ++i;
            ++i;
        }
        FPos = i;
        return line;
    }

private:
    std::size_t Find(char c, std::size_t from) const {
        const std::size_t at = FText.find(c, from);
        return at == std::string_view::npos ? FText.size() : at;
    }

    std::string_view FText;
    std::size_t FPos = 0;
    std::size_t FNextCr;
    std::size_t FNextLf;
};

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view text);

// The first `count` characters of a UTF-8 text.
std::string Utf8Left(std::string_view text, std::size_t count);

// Folds the ASCII letters a-z to upper case; every other byte stays.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
void LowerAsciiInPlace(std::string& text);
// Equality folding only the ASCII letters a-z, as AsciiUpper does, without
// building the upper-cased copies.
bool SameAsciiCaseless(std::string_view a, std::string_view b);

// Reads a whole file as raw bytes; throws EZevraError with a Czech message
// when the file cannot be opened or read, or is not a regular file.
std::string ReadFileBytes(const std::string& path);

// Reads a text file and decodes it with DecodeFileText.
std::string ReadTextFile(const std::string& path);

// True for an existing regular file (links followed).
bool FileExists(const std::string& path);
// True when anything exists under the path (links followed).
bool PathExists(const std::string& path);

// "Zadaná cesta není soubor, ale adresář!\r\n[path]" and the like for the
// other kinds of `mode` (a struct stat st_mode): FIFO, device, socket.
std::string NotAFileMessage(const std::string& path, unsigned mode);

// Whether a character reaches every output file of the program (the HTML
// table, the workbook, the JSON) and reads back from each as it was. Not so
// the control characters other than tab, LF and CR (U+0000-U+001F, U+007F-
// U+009F), which XML cannot hold or HTML reads as other characters, nor
// U+FFFE and U+FFFF, which XML cannot hold. Each output writes U+FFFD instead,
// so that the three files of one batch agree.
inline bool IsWritableChar(char32_t cp) {
    if (cp < 0x20) return cp == '\t' || cp == '\n' || cp == '\r';
    return !(cp >= 0x7F && cp <= 0x9F) && cp != 0xFFFE && cp != 0xFFFF;
}

// The text as the output files carry it: every character that is not
// writable, and every byte that starts no valid UTF-8 sequence, becomes
// U+FFFD.
std::string WritableText(std::string_view utf8);

// One character of UTF-8 text as an output file takes it: its code point,
// the bytes it spans and whether it is writable. A byte that starts no valid
// UTF-8 sequence is a character of one byte that is not writable (its Char
// is U+FFFD). An output writes U+FFFD in place of every character that is
// not writable. Inline, with IsWritableChar: every character a writer
// escapes, in every name of a large batch, comes through here.
struct TOutputChar {
    char32_t Char = 0;
    unsigned char Length = 1;  // 1 to 4; the whole fits in a register
    bool Writable = false;
};
inline TOutputChar NextOutputChar(std::string_view utf8, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) return {lead, 1, IsWritableChar(lead)};
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8At(utf8, pos, cp);
    if (length == 0) return {0xFFFD, 1, false};
    return {cp, static_cast<unsigned char>(length), IsWritableChar(cp)};
}

// Appends UTF-8 text to an output file's `out` in one scan: each run of
// bytes that `plain` lets through as they stand, most of a name, at once;
// `replacement` (the output's form of U+FFFD) for each character that is not
// writable and each byte that starts no valid sequence; every other
// character through `special(cp, bytes)`. `plain` may let through only ASCII
// bytes, each a character of its own. The one scan of the writers that
// escape text: WritableText, the HTML table, the JSON.
template <typename Plain, typename Special>
void AppendOutputText(std::string& out, std::string_view utf8, Plain plain, std::string_view replacement,
                      Special special) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        std::size_t run = pos;
        while (run < utf8.size() && plain(static_cast<unsigned char>(utf8[run]))) ++run;
        out.append(utf8, pos, run - pos);
        if (run == utf8.size()) break;
        const TOutputChar c = NextOutputChar(utf8, run);
        if (c.Writable)
            special(c.Char, utf8.substr(run, c.Length));
        else
            out += replacement;
        pos = run + c.Length;
    }
}

}  // namespace zevra
