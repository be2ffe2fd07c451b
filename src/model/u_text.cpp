// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_text.h"

#include "model/u_object.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zevra {
namespace {

// Unicode code points of the bytes 0x80 to 0xFF of code page 1250.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// The length of the run of ASCII bytes at the start of `bytes`, found eight
// bytes at a time: large files are mostly ASCII.
std::size_t AsciiRun(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) break;
    }
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    return i;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t DecodeUtf8At(std::string_view s, std::size_t pos, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

int Cp1250ByteOf(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    // The upper half by code point, built once from the code page (0: none;
    // every character of the upper half lies below U+2200). Each character
    // of every name written goes through here.
    constexpr char32_t kEnd = 0x2200;
    static const std::array<unsigned char, kEnd> byteOf = [] {
        std::array<unsigned char, kEnd> t{};
        for (std::size_t i = 0; i < kHighHalf.size(); ++i) t[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
        return t;
    }();
    const int byte = cp < kEnd ? byteOf[cp] : 0;
    return byte != 0 ? byte : -1;
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    // The UTF-8 form of each byte of the upper half, built once; a text is
    // measured first, so that a large file is converted into a string of
    // exactly its size, and its ASCII bytes are copied as they stand.
    struct TUtf8Of {
        std::array<std::array<char, 3>, 128> Bytes{};
        std::array<unsigned char, 128> Length{};
    };
    static const TUtf8Of high = [] {
        TUtf8Of t;
        for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
            std::string utf8;
            AppendUtf8(utf8, kHighHalf[i]);
            std::memcpy(t.Bytes[i].data(), utf8.data(), utf8.size());
            t.Length[i] = static_cast<unsigned char>(utf8.size());
        }
        return t;
    }();
    std::size_t size = bytes.size();
    for (std::size_t pos = AsciiRun(bytes); pos < bytes.size(); pos += 1 + AsciiRun(bytes.substr(pos + 1)))
        size += high.Length[static_cast<unsigned char>(bytes[pos]) - 0x80u] - 1u;
    std::string out(size, '\0');
    char* to = out.data();
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t run = AsciiRun(bytes.substr(pos));
        std::memcpy(to, bytes.data() + pos, run);
        to += run;
        pos += run;
        if (pos == bytes.size()) break;
        const std::size_t i = static_cast<unsigned char>(bytes[pos++]) - 0x80u;
        std::memcpy(to, high.Bytes[i].data(), high.Length[i]);
        to += high.Length[i];
    }
    return out;
}

std::string Utf8ToCp1250(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(text, pos, cp);
        if (len == 0) {
            out += '?';
            ++pos;
            continue;
        }
        // The narrow no-break space (the digit group separator of the Czech
        // locale) has no byte of its own; the no-break space stands in.
        const int b = cp == 0x202F ? 0xA0 : Cp1250ByteOf(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
        pos += len;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(bytes, pos, cp);
        if (len == 0) return false;
        pos += len;
    }
    return true;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(bytes, pos, cp);
        if (len == 0) {
            AppendUtf8(out, 0xFFFD);
            ++pos;
        } else {
            out.append(bytes.substr(pos, len));
            pos += len;
        }
    }
    return out;
}

namespace {

// UTF-16 of the given byte order to UTF-8; an unpaired surrogate or a lone
// last byte becomes U+FFFD. The text ends at the first U+001A.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char32_t((a << 8) | b) : char32_t((b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp == 0x1A) return out;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
        AppendUtf8(out, cp);
    }
    if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
    return out;
}

// UTF-8 whose stray bytes (those that start no valid sequence) are read as
// the code page 1250 characters of those bytes, so one pasted code page 1250
// name does not garble a UTF-8 file.
std::string Utf8WithCp1250Strays(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t run = AsciiRun(bytes.substr(pos));
        out.append(bytes.substr(pos, run));
        pos += run;
        if (pos == bytes.size()) break;
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(bytes, pos, cp);
        if (len == 0) {
            AppendUtf8(out, kHighHalf[static_cast<unsigned char>(bytes[pos]) - 0x80u]);
            ++pos;
        } else {
            out.append(bytes.substr(pos, len));
            pos += len;
        }
    }
    return out;
}

}  // namespace

void TUtf8Evidence::Add(std::string_view bytes) {
    // A code page 1250 text can form valid UTF-8 by chance ("Chrášťany"
    // holds E1 9A 9D, a valid sequence for an Ogham letter), but such chance
    // sequences almost never encode a character that code page 1250 itself
    // has; real UTF-8 of Czech text always does.
    for (std::size_t pos = AsciiRun(bytes); pos < bytes.size(); pos += AsciiRun(bytes.substr(pos))) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8At(bytes, pos, cp);
        if (len == 0) {
            ++Against;
            ++pos;
            continue;
        }
        if (Cp1250ByteOf(cp) >= 0) ++For;
        else ++Against;
        pos += len;
    }
}

std::string_view MarkedFileBody(std::string_view bytes, std::optional<TFileEncoding>& encoding, std::string& decoded) {
    // Spreadsheets save "Unicode text" as UTF-16 with a mark; its code units
    // may hold the byte 26, so the end-of-file character is looked for after
    // decoding.
    const auto marked = [&](unsigned char first, unsigned char second) {
        return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == first &&
               static_cast<unsigned char>(bytes[1]) == second;
    };
    if (marked(0xFF, 0xFE) || marked(0xFE, 0xFF)) {
        decoded = Utf16ToUtf8(bytes.substr(2), marked(0xFE, 0xFF));
        encoding = TFileEncoding::Decoded;
        return decoded;
    }
    const auto eof = bytes.find('\x1A');
    if (eof != std::string_view::npos) bytes = bytes.substr(0, eof);
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) {
        encoding = TFileEncoding::Utf8Marked;
        return bytes.substr(kBom.size());
    }
    encoding.reset();
    return bytes;
}

std::string DecodeFileBody(std::string_view body, TFileEncoding encoding) {
    switch (encoding) {
        case TFileEncoding::Cp1250: return Cp1250ToUtf8(body);
        case TFileEncoding::Utf8: return Utf8WithCp1250Strays(body);
        case TFileEncoding::Utf8Marked: return SanitizeUtf8(body);
        case TFileEncoding::Decoded: break;
    }
    return std::string(body);
}

std::string DecodeFileText(std::string_view bytes) {
    std::optional<TFileEncoding> marked;
    std::string decoded;
    const std::string_view body = MarkedFileBody(bytes, marked, decoded);
    if (marked == TFileEncoding::Decoded) return decoded;
    TUtf8Evidence evidence;
    if (!marked) evidence.Add(body);
    return DecodeFileBody(body, marked.value_or(evidence.Encoding()));
}

std::string_view WithoutUtf8Mark(std::string_view line) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (line.starts_with(kMark)) line.remove_prefix(kMark.size());
    return line;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    for (TLineCursor cursor(text); !cursor.AtEnd();) lines.emplace_back(cursor.Next());
    return lines;
}

std::size_t Utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return n;
}

std::string Utf8Left(std::string_view text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (chars == count) return std::string(text.substr(0, i));
            ++chars;
        }
    }
    return std::string(text);
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool SameAsciiCaseless(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

void LowerAsciiInPlace(std::string& text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    LowerAsciiInPlace(out);
    return out;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string NotAFileMessage(const std::string& path, unsigned mode) {
    const char* what = S_ISDIR(mode)                      ? "adresář"
                       : S_ISFIFO(mode)                   ? "roura (FIFO)"
                       : S_ISCHR(mode) || S_ISBLK(mode)   ? "zařízení"
                       : S_ISSOCK(mode)                   ? "socket"
                                                          : "zvláštní soubor";
    return PathMessage(std::string("Zadaná cesta není soubor, ale ") + what + "!", path);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string ReadFileBytes(const std::string& path) {
    // Only a regular file is read: a FIFO without a writer would hang the
    // program and /dev/zero would fill the memory. The check is made on the
    // opened file (non-blocking, so a FIFO does not wait for its writer).
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw EZevraError(NotAFileMessage(path, st.st_mode));
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw EZevraError(PathMessage("Soubor nelze otevřít pro čtení!", path));
    std::string bytes;
    try {
        if (::fstat(fd, &st) != 0) throw EZevraError(PathMessage("Chyba při čtení souboru!", path));
        if (!S_ISREG(st.st_mode)) throw EZevraError(NotAFileMessage(path, st.st_mode));
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // Read straight into the string, at the size the file has now; one
        // that grows meanwhile is read on to its end.
        std::size_t size = 0;
        bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
        for (;;) {
            if (size == bytes.size()) bytes.resize(bytes.size() + (1 << 16));
            const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw EZevraError(PathMessage("Chyba při čtení souboru!", path));
            if (n == 0) break;
            size += static_cast<std::size_t>(n);
        }
        bytes.resize(size);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return bytes;
}

std::string ReadTextFile(const std::string& path) { return DecodeFileText(ReadFileBytes(path)); }

std::string WritableText(std::string_view utf8) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
    std::string out;
    out.reserve(utf8.size());
    AppendOutputText(
        out, utf8, [](unsigned char c) { return c >= 0x20 && c < 0x7F; }, kReplacement,
        [&out](char32_t, std::string_view bytes) { out += bytes; });
    return out;
}

}  // namespace zevra
