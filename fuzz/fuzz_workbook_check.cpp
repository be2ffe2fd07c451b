// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_workbook_check.h"

#include "fuzz_support.h"
#include "model/u_text.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>

namespace zevra::fuzz {
namespace {

std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
    Check(at + static_cast<std::size_t>(bytes) <= b.size());
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

// One entry of a zip as its central directory gives it.
struct TEntry {
    std::string Name;
    std::string_view Packed;
    std::uint32_t Method = 0, Crc = 0, Size = 0;
};

// The entries of a zip, through its central directory; each local header
// matches and its data lie inside the package.
std::vector<TEntry> Entries(std::string_view zip) {
    Check(zip.size() >= 22);
    const std::size_t end = zip.rfind("PK\x05\x06");
    Check(end != std::string_view::npos);
    const std::uint32_t count = Le(zip, end + 10, 2);
    std::size_t at = Le(zip, end + 16, 4);
    std::vector<TEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        Check(Le(zip, at, 4) == 0x02014b50);
        TEntry entry;
        entry.Method = Le(zip, at + 10, 2);
        entry.Crc = Le(zip, at + 16, 4);
        const std::uint32_t packed = Le(zip, at + 20, 4);
        entry.Size = Le(zip, at + 24, 4);
        const std::uint32_t nameLength = Le(zip, at + 28, 2), extra = Le(zip, at + 30, 2), comment = Le(zip, at + 32, 2);
        const std::size_t local = Le(zip, at + 42, 4);
        Check(at + 46 + nameLength <= zip.size());
        entry.Name = std::string(zip.substr(at + 46, nameLength));
        at += 46 + nameLength + extra + comment;

        Check(Le(zip, local, 4) == 0x04034b50);
        const std::size_t start = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
        Check(start + packed <= zip.size());
        entry.Packed = zip.substr(start, packed);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// An entry's content, unpacked into `content` (reused from entry to entry)
// and its checksum checked against the directory's.
void Unpack(const TEntry& entry, std::string& content) {
    if (entry.Method == 0) {
        Check(entry.Packed.size() == entry.Size);
        content.assign(entry.Packed);
    } else {
        Check(entry.Method == 8);
        // One inflate state for the whole run, reset for each entry.
        // (zlib keeps the stream's address: it is set up in place.)
        static z_stream z{};
        static const bool ready = inflateInit2(&z, -MAX_WBITS) == Z_OK;
        Check(ready && inflateReset(&z) == Z_OK);
        content.resize(entry.Size);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entry.Packed.data()));
        z.avail_in = static_cast<uInt>(entry.Packed.size());
        z.next_out = reinterpret_cast<Bytef*>(content.data());
        z.avail_out = entry.Size;
        const int status = inflate(&z, Z_FINISH);
        Check(status == Z_STREAM_END && z.total_out == entry.Size);
    }
    Check(crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())) == entry.Crc);
}

// The tags of an XML part nest and close; the text between them holds no
// "<" and only the five entities and character references. The text of every
// element named `element` is collected, decoded.
std::vector<std::string> CheckXml(std::string_view xml, std::string_view element) {
    std::vector<std::string> texts;
    Check(xml.starts_with("<?xml"));
    std::vector<std::string_view> open;
    std::string text;
    bool inElement = false;
    std::size_t pos = xml.find("?>");
    Check(pos != std::string_view::npos);
    pos += 2;
    while (pos < xml.size()) {
        if (xml[pos] == '<') {
            const std::size_t close = xml.find('>', pos);
            Check(close != std::string_view::npos);
            std::string_view tag = xml.substr(pos + 1, close - pos - 1);
            pos = close + 1;
            const bool closing = tag.starts_with('/');
            const bool empty = tag.ends_with('/');
            if (closing) tag.remove_prefix(1);
            if (empty) tag.remove_suffix(1);
            const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n"));
            Check(!name.empty() && name.find_first_of("<&\"'") == std::string_view::npos);
            if (closing) {
                Check(!open.empty() && open.back() == name);
                open.pop_back();
                if (name == element) {
                    texts.push_back(text);
                    inElement = false;
                }
            } else if (!empty) {
                open.push_back(name);
                if (name == element) {
                    text.clear();
                    inElement = true;
                }
            }
            continue;
        }
        if (xml[pos] == '&') {
            const std::size_t semi = xml.find(';', pos);
            Check(semi != std::string_view::npos);
            const std::string_view entity = xml.substr(pos + 1, semi - pos - 1);
            pos = semi + 1;
            static const std::map<std::string_view, char> kEntities = {
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            const auto known = kEntities.find(entity);
            if (known != kEntities.end()) {
                if (inElement) text += known->second;
            } else {
                Check(entity.starts_with('#'));
                const bool hex = entity.starts_with("#x");
                const unsigned long cp = std::strtoul(std::string(entity.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
                Check(cp > 0 && cp <= 0x10FFFF);
                if (inElement) AppendUtf8(text, static_cast<char32_t>(cp));
            }
            continue;
        }
        // XML may not carry these.
        const auto byte = static_cast<unsigned char>(xml[pos]);
        Check(byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r');
        // A reader takes a line end written as itself (CR LF, a lone CR) as
        // one LF.
        if (xml[pos] == '\r') {
            if (inElement) text += '\n';
            pos += pos + 1 < xml.size() && xml[pos + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (inElement) text += xml[pos];
        ++pos;
    }
    Check(open.empty());
    return texts;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A spreadsheet's reading of a string: "_xHHHH_" is the character HHHH.
std::string DecodeEscapes(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
            int cp = 0;
            bool hex = true;
            for (std::size_t k = 2; k < 6; ++k) {
                const int d = HexValue(s[i + k]);
                hex = hex && d >= 0;
                cp = cp * 16 + (d < 0 ? 0 : d);
            }
            if (hex) {
                AppendUtf8(out, static_cast<char32_t>(cp));
                i += 7;
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

}  // namespace

void CheckWorkbook(std::string_view zip, const std::vector<std::string>& texts) {
    // An entry is checked once for the same name, method, checksum, size and
    // packed bytes: inflating and scanning them again would give the same
    // result. The parts that do not depend on the table are met at every
    // input; the texts collected from a part are kept with it.
    struct TChecked {
        std::string Packed;
        std::uint32_t Method = 0, Crc = 0, Size = 0;
        std::vector<std::string> Strings;
        bool Done = false;
    };
    static std::map<std::string, TChecked> checked;
    static std::string content;
    std::set<std::string> names, strings;
    bool sheet = false;
    for (const TEntry& entry : Entries(zip)) {
        Check(names.insert(entry.Name).second);
        sheet = sheet || entry.Name == "xl/worksheets/sheet1.xml";
        TChecked& known = checked[entry.Name];
        if (!known.Done || known.Packed != entry.Packed || known.Method != entry.Method || known.Crc != entry.Crc || known.Size != entry.Size) {
            known = TChecked{};
            Unpack(entry, content);
            if (entry.Name.ends_with(".xml") || entry.Name.ends_with(".rels")) {
                // The rows are written as they come, each text in its cell; a
                // shared string table may hold them too.
                if (entry.Name == "xl/sharedStrings.xml" || entry.Name.starts_with("xl/worksheets/")) {
                    for (const std::string& s : CheckXml(content, "t")) known.Strings.push_back(DecodeEscapes(s));
                } else {
                    CheckXml(content, "");
                }
            }
            known.Packed.assign(entry.Packed);
            known.Method = entry.Method;
            known.Crc = entry.Crc;
            known.Size = entry.Size;
            known.Done = true;
        }
        strings.insert(known.Strings.begin(), known.Strings.end());
    }
    Check(sheet);
    for (const std::string& text : texts) Check(strings.contains(text));
}

}  // namespace zevra::fuzz
