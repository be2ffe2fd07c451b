// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The workbook's results sheet as its XML says it is laid out: read from the
// zip package with zlib, for the tests of the workbook.
#pragma once

#include "test_support.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace zevra::test {

inline std::uint32_t ZipNumber(const std::string& bytes, std::size_t at, int length) {
    std::uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// One part of a zip package (its bytes), unpacked and its checksum checked
// against the directory's; empty when it is not there.
inline std::string ZipPartOf(const std::string& zip, const std::string& name) {
    const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) return {};
    std::size_t entry = ZipNumber(zip, end + 16, 4);
    for (std::uint32_t i = 0, parts = ZipNumber(zip, end + 10, 2); i < parts; ++i) {
        const std::uint32_t method = ZipNumber(zip, entry + 10, 2), crc = ZipNumber(zip, entry + 16, 4),
                            packed = ZipNumber(zip, entry + 20, 4), size = ZipNumber(zip, entry + 24, 4),
                            nameLength = ZipNumber(zip, entry + 28, 2), local = ZipNumber(zip, entry + 42, 4);
        const std::string entryName = zip.substr(entry + 46, nameLength);
        entry += 46 + nameLength + ZipNumber(zip, entry + 30, 2) + ZipNumber(zip, entry + 32, 2);
        if (entryName != name) continue;
        const std::size_t data = local + 30 + ZipNumber(zip, local + 26, 2) + ZipNumber(zip, local + 28, 2);
        std::string part(size, '\0');
        if (method == 0) {
            part = zip.substr(data, packed);
        } else {
            z_stream stream{};
            inflateInit2(&stream, -MAX_WBITS);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + data));
            stream.avail_in = packed;
            stream.next_out = reinterpret_cast<Bytef*>(part.data());
            stream.avail_out = size;
            EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END) << name;
            EXPECT_EQ(stream.total_in, packed) << name;
            inflateEnd(&stream);
        }
        EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(part.data()), static_cast<uInt>(part.size())), crc) << name;
        return part;
    }
    return {};
}

inline std::string ZipPart(const std::string& file, const std::string& name) { return ZipPartOf(ReadBytes(file), name); }

// Sheet "Obce": each column's width (characters), each row's height
// (points; 15 where the row sets none) and the texts of its cells by column,
// shared strings resolved.
struct TSheetLayout {
    std::vector<double> ColumnWidths;
    std::vector<double> RowHeights;
    std::vector<std::map<std::size_t, std::string>> Texts;
};

inline std::string XmlText(const std::string& xml) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};
    std::string text;
    for (std::size_t i = 0; i < xml.size();) {
        bool replaced = false;
        for (const auto& [entity, character] : kEntities) {
            if (xml.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
                text += character;
                i += std::char_traits<char>::length(entity);
                replaced = true;
                break;
            }
        }
        if (!replaced) text += xml[i++];
    }
    return text;
}

// The texts of the shared string table, by index.
inline std::vector<std::string> SharedStrings(const std::string& workbook) {
    const std::string xml = ZipPart(workbook, "xl/sharedStrings.xml");
    std::vector<std::string> texts;
    for (std::size_t at = xml.find("<si>"); at != std::string::npos; at = xml.find("<si>", at + 1)) {
        const std::size_t start = xml.find('>', xml.find("<t", at)) + 1;
        texts.push_back(XmlText(xml.substr(start, xml.find("</t>", start) - start)));
    }
    return texts;
}

inline TSheetLayout ReadSheetLayout(const std::string& workbook) {
    const std::string xml = ZipPart(workbook, "xl/worksheets/sheet1.xml");
    const std::vector<std::string> shared = SharedStrings(workbook);
    TSheetLayout layout;
    for (std::size_t at = xml.find("<col "); at != std::string::npos; at = xml.find("<col ", at + 1))
        layout.ColumnWidths.push_back(std::atof(xml.c_str() + xml.find("width=\"", at) + 7));
    for (std::size_t at = xml.find("<row "); at != std::string::npos; at = xml.find("<row ", at + 1)) {
        const std::size_t tagEnd = xml.find('>', at), height = xml.find(" ht=\"", at);
        layout.RowHeights.push_back(height < tagEnd ? std::atof(xml.c_str() + height + 5) : 15.0);
        auto& texts = layout.Texts.emplace_back();
        const std::size_t rowEnd = xml.find("</row>", at);
        // A cell without its reference follows the previous one.
        std::size_t column = 0;
        for (std::size_t cell = xml.find("<c", at); cell < rowEnd; cell = xml.find("<c", cell + 1)) {
            if (xml[cell + 2] != ' ' && xml[cell + 2] != '>') continue;
            const std::size_t cellTag = xml.find('>', cell);
            ++column;
            if (xml.compare(cell, 6, "<c r=\"") == 0) {
                column = 0;
                for (std::size_t i = cell + 6; xml[i] >= 'A' && xml[i] <= 'Z'; ++i) column = column * 26 + static_cast<std::size_t>(xml[i] - 'A' + 1);
            }
            const std::size_t cellEnd = std::min(xml.find("</c>", cell), rowEnd);
            if (xml.compare(cellTag - 5, 5, "t=\"s\"") == 0) {
                const std::size_t value = xml.find("<v>", cell) + 3;
                texts[column - 1] = shared.at(std::stoul(xml.substr(value, xml.find("</v>", value) - value)));
                continue;
            }
            const std::size_t text = xml.find("<t", cell);
            if (text == std::string::npos || text > cellEnd) continue;
            const std::size_t start = xml.find('>', text) + 1;
            texts[column - 1] = XmlText(xml.substr(start, xml.find("</t>", start) - start));
        }
    }
    return layout;
}

inline std::size_t Characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The fewest lines a text wraps to in a column `width` digits wide: each
// paragraph on its own lines, its letters at least 0.85 of a digit wide on
// average (Calibri, Czech text).
inline int FewestLines(const std::string& text, double width) {
    int lines = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines += std::max(1, static_cast<int>(std::ceil(0.85 * static_cast<double>(Characters(text.substr(start, end - start))) / width)));
        start = end + 1;
    }
    return lines;
}

}  // namespace zevra::test
