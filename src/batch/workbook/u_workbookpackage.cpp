// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/workbook/u_workbookpackage.h"

#include "batch/core/u_batchmessages.h"
#include "model/u_object.h"
#include "model/u_savefile.h"

#include <zlib.h>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

namespace zevra {

namespace {

// The package file, read at given offsets.
class TReader {
public:
    explicit TReader(const std::string& path) : FFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~TReader() {
        if (FFd >= 0) ::close(FFd);
    }
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    bool Open() const { return FFd >= 0; }
    std::uint64_t Size() const {
        const off_t end = ::lseek(FFd, 0, SEEK_END);
        return end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
    // Exactly `length` bytes from `at`, or false.
    bool Read(std::uint64_t at, std::size_t length, std::string& out) const {
        out.resize(length);
        std::size_t done = 0;
        while (done < length) {
            const ssize_t got = ::pread(FFd, out.data() + done, length - done, static_cast<off_t>(at + done));
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

private:
    int FFd;
};

std::uint64_t LittleEndian(std::string_view bytes, std::size_t at, int length) {
    std::uint64_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Whether an XML part ends with the end tag of its root element; `head` is
// its start and `tail` its last bytes.
bool XmlPartComplete(std::string_view head, std::string_view tail) {
    std::size_t start = head.find('<');
    while (start != std::string_view::npos && head.substr(start, 2) == "<?") {
        const std::size_t declarationEnd = head.find("?>", start);
        if (declarationEnd == std::string_view::npos) return false;
        start = head.find('<', declarationEnd);
    }
    if (start == std::string_view::npos) return false;
    const std::size_t nameEnd = head.find_first_of(" \t\r\n/>", start + 1);
    if (nameEnd == std::string_view::npos) return false;
    const std::string endTag = "</" + std::string(head.substr(start + 1, nameEnd - start - 1)) + ">";
    const std::size_t last = tail.find_last_not_of(" \t\r\n");
    return last != std::string_view::npos && tail.substr(0, last + 1).ends_with(endTag);
}

constexpr std::size_t kBlock = 64 << 10;
// Enough of a part's start for its root element, and of its end for the end tag.
constexpr std::size_t kHeadKept = 4096;
constexpr std::size_t kTailKept = 256;

// One part: its data unpacked block by block, its size and checksum compared
// with the directory's, and an XML part's end tag looked for.
bool PartComplete(const TReader& file, std::uint64_t data, std::uint64_t packed, std::uint64_t size,
                  std::uint32_t crc, int method, bool xml) {
    if (size == 0) return false;
    std::string head, tail, in, out(kBlock, '\0');
    std::uint32_t checksum = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
    std::uint64_t produced = 0;
    const auto take = [&](const char* bytes, std::size_t length) {
        checksum = static_cast<std::uint32_t>(crc32(checksum, reinterpret_cast<const Bytef*>(bytes), static_cast<uInt>(length)));
        produced += length;
        if (!xml) return;
        if (head.size() < kHeadKept) head.append(bytes, std::min(length, kHeadKept - head.size()));
        tail.append(bytes, length);
        if (tail.size() > kTailKept) tail.erase(0, tail.size() - kTailKept);
    };
    if (method == 0) {
        if (packed != size) return false;
        for (std::uint64_t at = 0; at < packed; at += kBlock) {
            const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, packed - at));
            if (!file.Read(data + at, length, in)) return false;
            take(in.data(), length);
        }
    } else if (method == Z_DEFLATED) {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
        int result = Z_OK;
        for (std::uint64_t at = 0; result == Z_OK;) {
            if (stream.avail_in == 0 && at < packed) {
                const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, packed - at));
                if (!file.Read(data + at, length, in)) break;
                at += length;
                stream.next_in = reinterpret_cast<Bytef*>(in.data());
                stream.avail_in = static_cast<uInt>(length);
            }
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            result = inflate(&stream, Z_NO_FLUSH);
            take(out.data(), out.size() - stream.avail_out);
            if (result == Z_BUF_ERROR && stream.avail_in == 0 && at >= packed) break;
            if (result == Z_BUF_ERROR) result = Z_OK;  // no progress this round: more input comes
        }
        inflateEnd(&stream);
        if (result != Z_STREAM_END) return false;
    } else {
        return false;
    }
    return produced == size && checksum == crc && (!xml || XmlPartComplete(head, tail));
}

}  // namespace

bool WorkbookPackageComplete(const std::string& path) {
    const TReader file(path);
    if (!file.Open()) return false;
    const std::uint64_t fileSize = file.Size();
    // The end record closes the file; a comment of up to 64 KiB may follow it.
    std::string tailBytes;
    const std::uint64_t tailStart = fileSize > (kBlock + 22) ? fileSize - (kBlock + 22) : 0;
    if (fileSize < 22 || !file.Read(tailStart, static_cast<std::size_t>(fileSize - tailStart), tailBytes)) return false;
    const std::size_t end = tailBytes.rfind(std::string_view("PK\x05\x06", 4));
    if (end == std::string::npos || end + 22 > tailBytes.size()) return false;
    const std::uint64_t parts = LittleEndian(tailBytes, end + 10, 2);
    const std::uint64_t directorySize = LittleEndian(tailBytes, end + 12, 4);
    const std::uint64_t directoryStart = LittleEndian(tailBytes, end + 16, 4);
    std::string directory, local;
    if (directoryStart + directorySize > fileSize || !file.Read(directoryStart, static_cast<std::size_t>(directorySize), directory))
        return false;
    std::size_t entry = 0;
    for (std::uint64_t i = 0; i < parts; ++i) {
        if (entry + 46 > directory.size() || directory.compare(entry, 4, "PK\x01\x02") != 0) return false;
        const int method = static_cast<int>(LittleEndian(directory, entry + 10, 2));
        const auto crc = static_cast<std::uint32_t>(LittleEndian(directory, entry + 16, 4));
        const std::uint64_t packed = LittleEndian(directory, entry + 20, 4);
        const std::uint64_t size = LittleEndian(directory, entry + 24, 4);
        const std::size_t nameLength = static_cast<std::size_t>(LittleEndian(directory, entry + 28, 2));
        const std::uint64_t localStart = LittleEndian(directory, entry + 42, 4);
        if (entry + 46 + nameLength > directory.size()) return false;
        const std::string_view name = std::string_view(directory).substr(entry + 46, nameLength);
        const bool xml = name.ends_with(".xml") || name.ends_with(".rels");
        entry += 46 + nameLength + LittleEndian(directory, entry + 30, 2) + LittleEndian(directory, entry + 32, 2);
        if (!file.Read(localStart, 30, local) || local.compare(0, 4, "PK\x03\x04") != 0) return false;
        const std::uint64_t data = localStart + 30 + LittleEndian(local, 26, 2) + LittleEndian(local, 28, 2);
        if (data + packed > fileSize || !PartComplete(file, data, packed, size, crc, method, xml)) return false;
    }
    return parts > 0;
}

void SaveWorkbookFile(const std::string& path, const std::string& target) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EZevraError(PathMessage(kCannotWriteMessage, target));
    TSafeFileWriter writer(target);
    std::string block(1 << 20, '\0');
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        if (in.gcount() > 0) writer.Write(std::string_view(block.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) throw EZevraError(PathMessage(kCannotWriteMessage, target));
    writer.Commit();
}

namespace {
std::mutex quietMutex;
}

TDeferredSignals::TDeferredSignals() {
    sigset_t ending;
    sigfillset(&ending);
    // A fault of the process itself, or a write past the file size limit,
    // is never held back.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT, SIGXFSZ}) sigdelset(&ending, fault);
    pthread_sigmask(SIG_BLOCK, &ending, &FPrevious);
}

TDeferredSignals::~TDeferredSignals() { pthread_sigmask(SIG_SETMASK, &FPrevious, nullptr); }

TCNumbers::TCNumbers() : FC(newlocale(LC_ALL_MASK, "C", nullptr)) {
    if (FC != nullptr) FPrevious = uselocale(FC);
}

TCNumbers::~TCNumbers() {
    if (FC == nullptr) return;
    uselocale(FPrevious);
    freelocale(FC);
}

TQuietStandardError::TQuietStandardError() : FLock(quietMutex) {
    std::fflush(stderr);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) return;
    FSaved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (FSaved >= 0) ::dup2(nowhere, STDERR_FILENO);
    ::close(nowhere);
}

TQuietStandardError::~TQuietStandardError() {
    if (FSaved < 0) return;
    std::fflush(stderr);
    ::dup2(FSaved, STDERR_FILENO);
    ::close(FSaved);
}

}  // namespace zevra
