// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a file the user chose: the input data file, the RTF report, the
// batch output. Every save of the program goes through TSafeFileWriter, so
// that a save either completes or leaves what it replaces as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zevra {

// Writes one file piece by piece (the batch output is written as it is
// produced). Nothing replaces the target before Commit; a writer destroyed
// without Commit leaves no trace of itself (also when the process is ended
// by a signal: SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1 and the other
// signals that end a process unless it handles them). A file size limit
// (ulimit -f) is a write error, not the end of the process. Every failure
// throws EZevraError with a Czech message naming the file.
// - A symbolic link is followed; a dangling link's target is created.
// - A regular file is replaced atomically keeping its permission bits and,
//   where the process may, its owner and group; a file with several hard
//   links, or in a folder the process cannot write, is overwritten in place.
// - A device or FIFO is written in place as the bytes come (/dev/stdout
//   streams); a write that fails (/dev/full) is an error.
// - A directory or socket is refused with a Czech message.
class TSafeFileWriter {
public:
    explicit TSafeFileWriter(const std::string& path);
    ~TSafeFileWriter();
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

    void Write(std::string_view bytes);
    // Writes what is buffered, makes it durable and puts it in place.
    void Commit();

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// The whole content at once.
void SaveFile(const std::string& path, std::string_view bytes);

// The path that a file name typed by the user stands for: the name without
// the blank characters (codes 0 to 32) at either end, which a name copied
// into a field often carries. The batch input is read, and every batch output
// written, under this path; SameFile compares by it.
std::string FileNameOf(std::string_view typed);

// True when the two typed names, each taken by FileNameOf, name the same
// file: the same device and inode, or, where one does not exist yet, the same
// path after resolving links.
bool SameFile(const std::string& a, const std::string& b);

// The refusal of an output that would overwrite its own input.
std::string SameAsInputMessage(const std::string& path);

}  // namespace zevra
