// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The zip package a workbook is stored in, written front to back into a byte
// sink (a file being saved, or a string): nothing is seeked, so a part can be
// compressed in pieces on several threads and streamed as it comes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {

// A piece of a part, deflated on its own: raw deflate (no zlib header),
// ended by a sync flush so that pieces compressed separately join into one
// stream in their order; the last piece of a part ends the stream.
struct TDeflatedPiece {
    std::string Bytes;
    std::uint32_t Crc = 0;    // CRC-32 of the uncompressed bytes
    std::uint64_t Size = 0;   // uncompressed bytes
};

// `data` deflated at the fastest level; `last` ends the stream.
TDeflatedPiece DeflatePiece(std::string_view data, bool last);

// The part sizes and offsets of a package are kept to 32 bits (no zip64):
// a workbook checks up front that it stays well below that. Should a part
// still grow past it, the writer throws std::length_error instead of writing
// a package a reader would take wrongly.
inline constexpr std::uint64_t kZipMaxBytes = 0xFFFFFFFFu;

class TZipWriter {
public:
    using TSink = std::function<void(std::string_view)>;
    explicit TZipWriter(TSink sink);

    // A whole part, deflated in one piece (or deflated already, `last`).
    void Add(std::string_view name, std::string_view data);
    void Add(std::string_view name, const TDeflatedPiece& whole);
    // A part given in pieces: Begin, then Append for each piece in order
    // (the last one made with `last`), then End.
    void Begin(std::string_view name);
    void Append(const TDeflatedPiece& piece);
    void End();
    // The central directory; the package is then complete.
    void Finish();

private:
    struct TEntry {
        std::string Name;
        std::uint64_t Offset = 0, Packed = 0, Size = 0;
        std::uint32_t Crc = 0;
    };
    void Put(std::string_view bytes);

    TSink FSink;
    std::uint64_t FOffset = 0;
    std::vector<TEntry> FEntries;
    bool FOpen = false;
};

}  // namespace zevra
