// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_savefile.h"

#include "model/u_object.h"
#include "model/u_text.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zevra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// A large file's pages are handed to the disk in pieces of this size while
// the rest is still produced, so that the sync at the end waits only for the
// last piece.
constexpr off_t kWritebackPiece = off_t{8} << 20;
constexpr int kMaxLinks = 40;

std::string WriteError(const std::string& path) { return PathMessage("Soubor nelze zapsat!", path); }
std::string CreateError(const std::string& path) { return PathMessage("Soubor nelze vytvořit!", path); }

bool WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a path finally names: symbolic links followed one by one (a link
// relative to its own folder), so that a save replaces the file a link points
// to and keeps the link. A dangling link gives the path it points to.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) return current;
        target.resize(static_cast<std::size_t>(n));
        if (target.empty() || target.front() != '/') target = FolderOf(current) + "/" + target;
        current = target;
    }
    return current;
}

// The temporary files of saves in progress, removed when the process is
// ended by a signal whose default action ends it. A signal the program
// handles or ignores itself is left alone. Plain storage, as the handler may
// only use async-signal-safe calls.
constexpr int kMaxPending = 8;
char gPending[kMaxPending][PATH_MAX + 1];
volatile std::sig_atomic_t gPendingUsed[kMaxPending];
constexpr int kCleanupSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGUSR1,   SIGUSR2,
                                   SIGPIPE, SIGALRM, SIGXCPU, SIGVTALRM, SIGPROF};
constexpr int kCleanupSignalCount = sizeof(kCleanupSignals) / sizeof(kCleanupSignals[0]);
struct sigaction gPrevious[kCleanupSignalCount];
int gInstalled = 0;

void RemovePendingAndReraise(int sig) {
    for (int i = 0; i < kMaxPending; ++i) {
        if (gPendingUsed[i]) ::unlink(gPending[i]);
    }
    for (int k = 0; k < kCleanupSignalCount; ++k) {
        if (kCleanupSignals[k] == sig) ::sigaction(sig, &gPrevious[k], nullptr);
    }
    ::raise(sig);
}

class TSignalBlock {
public:
    TSignalBlock() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : kCleanupSignals) sigaddset(&set, sig);
        ::sigprocmask(SIG_BLOCK, &set, &FOld);
    }
    ~TSignalBlock() { ::sigprocmask(SIG_SETMASK, &FOld, nullptr); }
    TSignalBlock(const TSignalBlock&) = delete;
    TSignalBlock& operator=(const TSignalBlock&) = delete;

private:
    sigset_t FOld;
};

// Called with the cleanup signals blocked, right after the file is created,
// so that no signal finds it unregistered.
int RegisterPending(const std::string& path) {
    if (path.size() > PATH_MAX) return -1;
    TSignalBlock block;
    for (int i = 0; i < kMaxPending; ++i) {
        if (gPendingUsed[i]) continue;
        std::memcpy(gPending[i], path.c_str(), path.size() + 1);
        gPendingUsed[i] = 1;
        if (gInstalled++ == 0) {
            for (int k = 0; k < kCleanupSignalCount; ++k) {
                struct sigaction action {};
                action.sa_handler = RemovePendingAndReraise;
                sigemptyset(&action.sa_mask);
                ::sigaction(kCleanupSignals[k], &action, &gPrevious[k]);
                // A signal the process ignores (nohup) or handles stays so.
                if (gPrevious[k].sa_handler != SIG_DFL || (gPrevious[k].sa_flags & SA_SIGINFO) != 0)
                    ::sigaction(kCleanupSignals[k], &gPrevious[k], nullptr);
            }
        }
        return i;
    }
    return -1;
}

void UnregisterPending(int slot) {
    if (slot < 0) return;
    TSignalBlock block;
    gPendingUsed[slot] = 0;
    if (--gInstalled == 0) {
        for (int k = 0; k < kCleanupSignalCount; ++k) ::sigaction(kCleanupSignals[k], &gPrevious[k], nullptr);
    }
}

// The temporary name of a file in its folder: "." + name + ".XXXXXX" for
// mkstemp. Where that would exceed the longest name the folder allows, the
// name is shortened (at a character boundary) so that every name that fits
// gets a temporary name; the random part keeps it unique.
std::string TempTemplate(const std::string& folder, const std::string& name) {
    constexpr std::string_view kSuffix = ".XXXXXX";
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t maxName = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    std::string stem = name;
    if (1 + stem.size() + kSuffix.size() > maxName) {
        stem.resize(maxName > 1 + kSuffix.size() ? maxName - 1 - kSuffix.size() : 0);
        while (!stem.empty() && (static_cast<unsigned char>(name[stem.size()]) & 0xC0) == 0x80) stem.pop_back();
    }
    return folder + "/." + stem + std::string(kSuffix);
}

// A file size limit (ulimit -f) must be an ordinary write error (EFBIG), not
// the end of the process with the target half written. Looked at on every
// save, as the process may have set the signal back meanwhile; a handler of
// the program's own stays.
void IgnoreFileSizeSignal() {
    struct sigaction old {};
    if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL && (old.sa_flags & SA_SIGINFO) == 0)
        std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

// Two ways of writing:
// - atomic: a temporary file in the target's folder, renamed over the target
//   when complete, with the target's permission bits and (where allowed) its
//   owner and group;
// - in place: the target itself is written. For devices and FIFOs (streamed
//   as produced), and for a regular file that cannot be replaced by a rename
//   (several hard links, a folder that is not writable); such a file is written only at Commit, from memory, so
//   an abandoned save leaves it untouched.
struct TSafeFileWriter::TState {
    std::string Path;      // as given, for messages
    std::string Target;    // links resolved
    std::string TempPath;  // empty when writing in place
    int Fd = -1;
    int PendingSlot = -1;
    bool Stream = false;   // device or FIFO: written as it comes
    bool InPlaceFile = false;
    bool HasOld = false;
    struct stat Old {};
    std::string Buffer;
    bool Committed = false;
    off_t Written = 0;    // bytes written to the temporary file
    off_t HandedOn = 0;   // of them, given to the disk to write back

    // Writes the bytes and, for a temporary file, starts the write-back of
    // each full piece. Starting it is only a hint; the sync at the commit
    // reports any error.
    bool WriteOut(std::string_view bytes) {
        if (!WriteAll(Fd, bytes)) return false;
        Written += static_cast<off_t>(bytes.size());
        if (!TempPath.empty() && Written - HandedOn >= kWritebackPiece) {
#ifndef __EMSCRIPTEN__  // the browser's files live in memory: nothing to write back
            ::sync_file_range(Fd, HandedOn, Written - HandedOn, SYNC_FILE_RANGE_WRITE);
#endif
            HandedOn = Written;
        }
        return true;
    }
};

TSafeFileWriter::TSafeFileWriter(const std::string& path) : FState(std::make_unique<TState>()) {
    IgnoreFileSizeSignal();
    TState& s = *FState;
    s.Path = path;
    s.Target = ResolveLinks(path);
    s.HasOld = ::stat(s.Target.c_str(), &s.Old) == 0;
    if (s.HasOld && !S_ISREG(s.Old.st_mode)) {
        if (S_ISCHR(s.Old.st_mode) || S_ISBLK(s.Old.st_mode) || S_ISFIFO(s.Old.st_mode)) {
            s.Fd = ::open(s.Target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            if (s.Fd < 0) throw EZevraError(WriteError(path));
            s.Stream = true;
            return;
        }
        throw EZevraError(NotAFileMessage(path, s.Old.st_mode));
    }
    s.Buffer.reserve(kBufferSize);
    if (!s.HasOld || s.Old.st_nlink <= 1) {
        const std::string folder = FolderOf(s.Target);
        const auto slash = s.Target.rfind('/');
        const std::string name = slash == std::string::npos ? s.Target : s.Target.substr(slash + 1);
        std::string tmpl = TempTemplate(folder, name);
        {
            TSignalBlock block;
            s.Fd = ::mkstemp(tmpl.data());
            if (s.Fd >= 0) {
                s.TempPath = tmpl;
                s.PendingSlot = RegisterPending(tmpl);
            }
        }
        if (s.Fd >= 0) return;
        if (!s.HasOld) throw EZevraError(CreateError(path));
    }
    // In place: check now that the file can be written, so the user hears
    // of it before the work is done.
    if (::access(s.Target.c_str(), W_OK) != 0) throw EZevraError(WriteError(path));
    s.InPlaceFile = true;
}

TSafeFileWriter::~TSafeFileWriter() {
    if (FState->Fd >= 0) ::close(FState->Fd);
    if (!FState->TempPath.empty() && !FState->Committed) ::unlink(FState->TempPath.c_str());
    UnregisterPending(FState->PendingSlot);
}

void TSafeFileWriter::Write(std::string_view bytes) {
    TState& s = *FState;
    if (s.InPlaceFile) {
        s.Buffer.append(bytes);
        return;
    }
    if (s.Buffer.size() + bytes.size() > kBufferSize) {
        if (!s.WriteOut(s.Buffer) || !s.WriteOut(bytes)) throw EZevraError(WriteError(s.Path));
        s.Buffer.clear();
        return;
    }
    s.Buffer.append(bytes);
}

void TSafeFileWriter::Commit() {
    TState& s = *FState;
    if (s.InPlaceFile) {
        s.Fd = ::open(s.Target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (s.Fd < 0) throw EZevraError(WriteError(s.Path));
    }
    bool ok = WriteAll(s.Fd, s.Buffer);
    s.Buffer.clear();
    s.Buffer.shrink_to_fit();
    if (ok && s.InPlaceFile) {
        const off_t end = ::lseek(s.Fd, 0, SEEK_CUR);
        ok = end >= 0 && ::ftruncate(s.Fd, end) == 0;
    }
    if (ok && !s.TempPath.empty()) {
        if (s.HasOld) {
            // Keep who may read the file: its permission bits, and its owner
            // and group as far as the process may set them.
            if (::fchown(s.Fd, s.Old.st_uid, s.Old.st_gid) != 0) {
                [[maybe_unused]] const int ignored = ::fchown(s.Fd, static_cast<uid_t>(-1), s.Old.st_gid);
            }
            ::fchmod(s.Fd, s.Old.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(s.Fd, 0666 & ~mask);
        }
    }
    // A pipe or a terminal cannot be synced; for them only the writes count.
    if (ok && ::fsync(s.Fd) != 0 && !(s.Stream && (errno == EINVAL || errno == EROFS || errno == ENOTSUP))) ok = false;
    if (::close(s.Fd) != 0 && !s.Stream) ok = false;
    s.Fd = -1;
    if (ok && !s.TempPath.empty()) ok = ::rename(s.TempPath.c_str(), s.Target.c_str()) == 0;
    if (!ok) throw EZevraError(WriteError(s.Path));
    s.Committed = true;
}

void SaveFile(const std::string& path, std::string_view bytes) {
    TSafeFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

std::string FileNameOf(std::string_view typed) { return Trim(typed); }

bool SameFile(const std::string& a, const std::string& b) {
    const std::string pathA = FileNameOf(a), pathB = FileNameOf(b);
    struct stat sa {}, sb {};
    if (::stat(pathA.c_str(), &sa) == 0 && ::stat(pathB.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return ResolveLinks(pathA) == ResolveLinks(pathB);
}

std::string SameAsInputMessage(const std::string& path) {
    return PathMessage("Výstupní soubor je totožný se vstupním souborem, vstupní data by byla přepsána!", path);
}

}  // namespace zevra
