#include "model/u_savefile.h"

#include "model/u_object.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace zevra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string WriteError(const std::string& path) { return "Soubor nelze zapsat!\r\n[" + path + "]"; }

bool WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

// A temporary file in the target's folder, renamed over the target when
// complete.
struct TSafeFileWriter::TState {
    std::string Path;
    std::string TempPath;
    int Fd = -1;
    std::string Buffer;
    bool Committed = false;
};

TSafeFileWriter::TSafeFileWriter(const std::string& path) : FState(std::make_unique<TState>()) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw EZevraError("Soubor nelze vytvořit!\r\n[" + path + "]");
    FState->Path = path;
    FState->TempPath = tmpl;
    FState->Fd = fd;
    FState->Buffer.reserve(kBufferSize);
}

TSafeFileWriter::~TSafeFileWriter() {
    if (FState->Fd >= 0) ::close(FState->Fd);
    if (!FState->Committed) std::remove(FState->TempPath.c_str());
}

void TSafeFileWriter::Write(std::string_view bytes) {
    if (FState->Buffer.size() + bytes.size() > kBufferSize) {
        if (!WriteAll(FState->Fd, FState->Buffer) || !WriteAll(FState->Fd, bytes))
            throw EZevraError(WriteError(FState->Path));
        FState->Buffer.clear();
        return;
    }
    FState->Buffer.append(bytes);
}

void TSafeFileWriter::Commit() {
    bool ok = WriteAll(FState->Fd, FState->Buffer);
    FState->Buffer.clear();
    if (ok) {
        // Keep the usual permissions of a newly created file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(FState->Fd, 0666 & ~mask);
        ok = ::fsync(FState->Fd) == 0;
    }
    if (::close(FState->Fd) != 0) ok = false;
    FState->Fd = -1;
    if (ok) ok = std::rename(FState->TempPath.c_str(), FState->Path.c_str()) == 0;
    if (!ok) throw EZevraError(WriteError(FState->Path));
    FState->Committed = true;
}

void SaveFile(const std::string& path, std::string_view bytes) {
    TSafeFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

}  // namespace zevra
