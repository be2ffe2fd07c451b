// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_xlsxpackage.h"

#include <zlib.h>

#include <new>
#include <stdexcept>

namespace zevra {

namespace {

// `bytes` bytes of `value`, the lowest first; past its eight bytes, zeros
// (several empty fields written at once).
void PutLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(i < 8 ? (value >> (8 * i)) & 0xFF : 0);
}

// Version needed to extract (2.0: deflate), flags (bit 3: sizes and CRC in
// the data descriptor after the data; bit 11: names in UTF-8), method 8,
// and a fixed time stamp (1980-01-01): the package's bytes depend only on
// its content.
constexpr std::uint16_t kVersion = 20;
constexpr std::uint16_t kFlags = (1u << 3) | (1u << 11);
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;

void CheckFits(std::uint64_t value) {
    if (value > kZipMaxBytes) throw std::length_error("zip part too large");
}

}  // namespace

namespace {

// A deflate stream per thread, set up once and reset for each piece: setting
// one up costs more than compressing a small part. A small part gets a
// stream with a smaller window and hash table, which a reset clears faster.
constexpr std::size_t kSmallPiece = 16 << 10;
struct TDeflater {
    z_stream Stream{};
    bool Ready = false;
    TDeflater(int windowBits, int memLevel) {
        Ready = deflateInit2(&Stream, Z_BEST_SPEED, Z_DEFLATED, -windowBits, memLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~TDeflater() {
        if (Ready) deflateEnd(&Stream);
    }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;
};

}  // namespace

TDeflatedPiece DeflatePiece(std::string_view data, bool last) {
    // One call of deflate takes at most 4 GiB; a part is kept far below.
    CheckFits(data.size());
    TDeflatedPiece piece;
    piece.Size = data.size();
    piece.Crc = static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), data.size()));
    thread_local TDeflater small(14, 4), large(MAX_WBITS, 8);
    TDeflater& deflater = data.size() <= kSmallPiece ? small : large;
    z_stream& stream = deflater.Stream;
    if (!deflater.Ready || deflateReset(&stream) != Z_OK) throw std::bad_alloc();
    piece.Bytes.resize(deflateBound(&stream, static_cast<uLong>(data.size())) + 16);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(piece.Bytes.data());
    stream.avail_out = static_cast<uInt>(piece.Bytes.size());
    const int result = deflate(&stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    const std::size_t produced = piece.Bytes.size() - stream.avail_out;
    const bool complete = last ? result == Z_STREAM_END : result == Z_OK && stream.avail_in == 0 && stream.avail_out > 0;
    // deflateBound leaves room for every flush of one call: anything else is
    // a fault of zlib or of memory.
    if (!complete) throw std::bad_alloc();
    piece.Bytes.resize(produced);
    return piece;
}

TZipWriter::TZipWriter(TSink sink) : FSink(std::move(sink)) {}

void TZipWriter::Put(std::string_view bytes) {
    FSink(bytes);
    FOffset += bytes.size();
}

void TZipWriter::Add(std::string_view name, std::string_view data) { Add(name, DeflatePiece(data, true)); }

void TZipWriter::Add(std::string_view name, const TDeflatedPiece& whole) {
    Begin(name);
    Append(whole);
    End();
}

void TZipWriter::Begin(std::string_view name) {
    CheckFits(FOffset);
    FEntries.push_back({std::string(name), FOffset, 0, 0, 0});
    FOpen = true;
    std::string header;
    PutLe(header, 0x04034b50, 4);
    PutLe(header, kVersion, 2);
    PutLe(header, kFlags, 2);
    PutLe(header, kDeflated, 2);
    PutLe(header, 0, 2);         // time
    PutLe(header, kDosDate, 2);  // date
    PutLe(header, 0, 12);        // CRC and sizes follow the data
    PutLe(header, name.size(), 2);
    PutLe(header, 0, 2);  // no extra field
    header += name;
    Put(header);
}

void TZipWriter::Append(const TDeflatedPiece& piece) {
    TEntry& entry = FEntries.back();
    entry.Crc = entry.Size == 0 ? piece.Crc
                                : static_cast<std::uint32_t>(crc32_combine(entry.Crc, piece.Crc, static_cast<z_off_t>(piece.Size)));
    entry.Size += piece.Size;
    entry.Packed += piece.Bytes.size();
    CheckFits(entry.Size);
    CheckFits(entry.Packed);
    Put(piece.Bytes);
}

void TZipWriter::End() {
    const TEntry& entry = FEntries.back();
    std::string descriptor;
    PutLe(descriptor, 0x08074b50, 4);
    PutLe(descriptor, entry.Crc, 4);
    PutLe(descriptor, entry.Packed, 4);
    PutLe(descriptor, entry.Size, 4);
    Put(descriptor);
    FOpen = false;
}

void TZipWriter::Finish() {
    if (FOpen) End();
    const std::uint64_t start = FOffset;
    CheckFits(start);
    std::string directory;
    for (const TEntry& entry : FEntries) {
        PutLe(directory, 0x02014b50, 4);
        PutLe(directory, (3 << 8) | kVersion, 2);  // made by: Unix
        PutLe(directory, kVersion, 2);
        PutLe(directory, kFlags, 2);
        PutLe(directory, kDeflated, 2);
        PutLe(directory, 0, 2);
        PutLe(directory, kDosDate, 2);
        PutLe(directory, entry.Crc, 4);
        PutLe(directory, entry.Packed, 4);
        PutLe(directory, entry.Size, 4);
        PutLe(directory, entry.Name.size(), 2);
        PutLe(directory, 0, 6);  // extra field, comment, disk number
        PutLe(directory, 0, 2);  // internal attributes
        PutLe(directory, 0100644u << 16, 4);  // external: a regular file, rw-r--r--
        PutLe(directory, entry.Offset, 4);
        directory += entry.Name;
    }
    const std::uint64_t size = directory.size();
    CheckFits(start + size);
    PutLe(directory, 0x06054b50, 4);
    PutLe(directory, 0, 4);  // disk numbers
    PutLe(directory, FEntries.size(), 2);
    PutLe(directory, FEntries.size(), 2);
    PutLe(directory, size, 4);
    PutLe(directory, start, 4);
    PutLe(directory, 0, 2);  // no comment
    Put(directory);
}

}  // namespace zevra
