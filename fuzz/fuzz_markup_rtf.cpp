// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the report's markup renderer and the RTF writer. The
// input is the report's entries, separated by byte 0x1E. Checked on every
// input: the document is the writer's header, balanced groups and the closing
// brace; it is pure ASCII; it has one paragraph per entry; and its text, read
// back character by character with each character's bold and italic, is the
// text of the renderer's runs and, but for the brackets named at
// OnlyPlainBrackets, the markup's text: the entries with the four tags [b],
// [/b], [i], [/i] taken out (the style they set kept across entries), a line
// end as a line break, a tab as a tab, other control characters left out,
// and a byte that is no valid UTF-8 as U+FFFD.
#include "model/u_text.h"
#include "report/u_Tags.h"
#include "report/u_rtf.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zevra::fuzz::Check;

// One character of the text with its style; a line break inside an entry is
// kLineBreak, the end of an entry kParagraph.
constexpr char32_t kLineBreak = 0x110000;
constexpr char32_t kParagraph = 0x110001;
struct TStyledChar {
    char32_t Char;
    bool Bold;
    bool Italic;
    bool operator==(const TStyledChar&) const = default;
};

// A run's text as the RTF must carry it, character by character.
void AppendRunText(std::string_view text, bool bold, bool italic, std::vector<TStyledChar>& out) {
    for (std::size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        if (c == '\r' || c == '\n') {
            out.push_back({kLineBreak, bold, italic});
            pos += c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            if (c == '\t' || (byte >= 0x20 && byte != 0x7F)) out.push_back({static_cast<char32_t>(byte), bold, italic});
            ++pos;
            continue;
        }
        char32_t cp = U'\uFFFD';
        const std::size_t length = zevra::DecodeUtf8At(text, pos, cp);
        out.push_back({length == 0 ? U'\uFFFD' : cp, bold, italic});
        pos += length == 0 ? 1 : length;
    }
}

// The markup's text, as a reader of the markup expects it: the four tags
// taken out, everything else as written.
std::vector<TStyledChar> MarkupText(const std::vector<std::string>& entries) {
    std::vector<TStyledChar> out;
    bool bold = false, italic = false;
    for (const std::string& entry : entries) {
        std::size_t start = 0;
        for (std::size_t pos = 0; pos < entry.size(); ++pos) {
            const std::string_view rest = std::string_view(entry).substr(pos);
            std::size_t tag = 0;
            if (rest.starts_with("[b]") || rest.starts_with("[i]")) tag = 3;
            if (rest.starts_with("[/b]") || rest.starts_with("[/i]")) tag = 4;
            if (tag == 0) continue;
            AppendRunText(std::string_view(entry).substr(start, pos - start), bold, italic, out);
            (rest[tag - 2] == 'b' ? bold : italic) = tag == 3;
            pos += tag - 1;
            start = pos + 1;
        }
        AppendRunText(std::string_view(entry).substr(start), bold, italic, out);
        out.push_back({kParagraph, bold, italic});
    }
    return out;
}

// Whether every "[" that starts none of the four tags is an ordinary
// character to the renderer too. It is not when another "[" or a "/" follows
// before the next "]": the renderer then drops that "[" ("[[b]" gives
// "[b]") or moves the "/" ("[x/b]" gives "[/xb]", "[b/]" ends bold). Those
// inputs are checked against the renderer's own runs only.
bool OnlyPlainBrackets(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        for (std::size_t pos = entry.find('['); pos != std::string::npos; pos = entry.find('[', pos + 1)) {
            const std::string_view rest = std::string_view(entry).substr(pos);
            if (rest.starts_with("[b]") || rest.starts_with("[i]") || rest.starts_with("[/b]") ||
                rest.starts_with("[/i]"))
                continue;
            const std::string_view inside = rest.substr(1, rest.find(']') == std::string_view::npos ? rest.npos : rest.find(']') - 1);
            if (inside.find_first_of("[/") != std::string_view::npos) return false;
        }
    }
    return true;
}

// The renderer's runs, as characters.
class TRunSink : public zevra::IMarkupSink {
public:
    void InsertText(std::string_view text, zevra::TMarkupStyle style) override {
        AppendRunText(text, style.Bold, style.Italic, FOut);
    }
    void EndEntry(zevra::TMarkupStyle style) override { FOut.push_back({kParagraph, style.Bold, style.Italic}); }
    const std::vector<TStyledChar>& Chars() const { return FOut; }

private:
    std::vector<TStyledChar> FOut;
};

// Reads the RTF body (after the header): runs "{" [\b][\i] [" "] text "}",
// each entry ending in "\par" CR LF. Any other form fails the check.
class TRtfReader {
public:
    explicit TRtfReader(std::string_view body) : FBody(body) {}

    std::vector<TStyledChar> Read() {
        while (FPos < FBody.size()) {
            if (Take("\\par\r\n")) {
                FOut.push_back({kParagraph, FBold, FItalic});
            } else {
                Check(Take("{"));
                ReadRun();
            }
        }
        return FOut;
    }

private:
    bool Take(std::string_view what) {
        if (FBody.substr(FPos).starts_with(what)) {
            FPos += what.size();
            return true;
        }
        return false;
    }

    char Next() {
        Check(FPos < FBody.size());
        return FBody[FPos++];
    }

    // "\uN" and its one fallback character ("?", a character or "\'hh").
    char32_t UnicodeUnit() {
        bool negative = Take("-");
        long n = 0;
        std::size_t digits = 0;
        while (FPos < FBody.size() && FBody[FPos] >= '0' && FBody[FPos] <= '9' && digits < 6) {
            n = n * 10 + (FBody[FPos++] - '0');
            ++digits;
        }
        Check(digits > 0);
        if (negative) n = -n;
        Check(n >= -32768 && n <= 32767);
        if (Take("\\'")) {
            Next();
            Next();
        } else {
            const char fallback = Next();
            Check(fallback != '\\' && fallback != '{' && fallback != '}');
        }
        return static_cast<char32_t>(static_cast<std::uint16_t>(n));
    }

    void ReadRun() {
        bool bold = false, italic = false;
        if (Take("\\b")) bold = true;
        if (Take("\\i")) italic = true;
        if (bold || italic) Check(Take(" "));
        // The style is carried, so a paragraph end takes the last run's.
        FBold = bold;
        FItalic = italic;
        char32_t high = 0;  // the first half of a surrogate pair
        for (;;) {
            const char c = Next();
            char32_t cp;
            if (c == '}') {
                Check(high == 0);
                return;
            }
            Check(c != '{' && c != '\r' && c != '\n');
            if (c != '\\') {
                cp = static_cast<unsigned char>(c);
            } else if (Take("line ")) {
                cp = kLineBreak;
            } else if (Take("tab ")) {
                cp = '\t';
            } else if (Take("u")) {
                const char32_t unit = UnicodeUnit();
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    Check(high == 0);
                    high = unit;
                    continue;
                }
                if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    Check(high != 0);
                    cp = 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00);
                    high = 0;
                } else {
                    cp = unit;
                }
            } else {
                const char escaped = Next();
                Check(escaped == '\\' || escaped == '{' || escaped == '}');
                cp = static_cast<unsigned char>(escaped);
            }
            Check(high == 0);
            // ASCII is written as itself, everything else as "\u".
            Check(cp >= 0x80 || c != '\\' || cp == '\\' || cp == '{' || cp == '}' || cp == '\t' || cp == kLineBreak);
            FOut.push_back({cp, bold, italic});
        }
    }

    std::string_view FBody;
    std::size_t FPos = 0;
    bool FBold = false, FItalic = false;
    std::vector<TStyledChar> FOut;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> entries;
    for (std::string_view part : zevra::fuzz::SplitInput(zevra::fuzz::Bytes(data, size), '\x1E', 64))
        entries.emplace_back(part);

    static const std::string empty = zevra::RenderRtfDocument({});
    static const std::string_view header = std::string_view(empty).substr(0, empty.size() - 3);
    Check(std::string_view(empty).ends_with("}\r\n"));

    const std::string document = zevra::RenderRtfDocument(entries);
    for (const char c : document) Check(static_cast<unsigned char>(c) < 0x80);
    Check(document.starts_with(header) && document.ends_with("}\r\n"));

    // Groups balance over the whole document (escaped braces aside).
    int depth = 0;
    for (std::size_t i = 0; i < document.size(); ++i) {
        if (document[i] == '\\') {
            ++i;
        } else if (document[i] == '{') {
            ++depth;
        } else if (document[i] == '}') {
            Check(--depth >= 0);
            Check(depth > 0 || i + 3 == document.size());
        }
    }
    Check(depth == 0);

    const std::string_view body =
        std::string_view(document).substr(header.size(), document.size() - header.size() - 3);
    const std::vector<TStyledChar> read = TRtfReader(body).Read();
    TRunSink runs;
    zevra::RenderMarkup(runs, entries);
    // Paragraph ends carry no style of their own in the RTF: compare them
    // only as ends.
    const auto same = [](const std::vector<TStyledChar>& a, const std::vector<TStyledChar>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i].Char != b[i].Char) return false;
            if (a[i].Char != kParagraph && !(a[i] == b[i])) return false;
        }
        return true;
    };
    Check(same(read, runs.Chars()));
    if (OnlyPlainBrackets(entries)) Check(same(read, MarkupText(entries)));
    return 0;
}
