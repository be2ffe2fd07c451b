// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks that run zevra-cli share: their arguments, the program
// run as a child process with its wall time, CPU time and peak resident
// memory, and a file of a given size written as a disk floor to compare with.
#pragma once

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zevra::bench {

// [--force] [--cli path/to/zevra-cli] [--repeat N] [rows ...]; zevra-cli
// beside the benchmark unless given, `defaultSizes` when no rows are given.
// --help prints the usage and ends the program; an argument it cannot read
// ends it with the usage and status 2.
struct TChildArgs {
    std::string Cli;
    int Repeat = 3;
    std::vector<std::size_t> Sizes;
};

inline TChildArgs ParseChildArgs(int argc, char** argv, std::vector<std::size_t> defaultSizes) {
    const auto usage = [&](std::FILE* to, int status) {
        std::fprintf(to, "Usage: %s [--force] [--cli path/to/zevra-cli] [--repeat N] [rows ...]\n  rows:",
                     std::filesystem::path(argv[0]).filename().c_str());
        for (std::size_t i = 0; i < defaultSizes.size(); ++i)
            std::fprintf(to, "%s %zu", i == 0 ? "" : (i + 1 == defaultSizes.size() ? " and" : ","), defaultSizes[i]);
        std::fprintf(to, " unless given\n");
        std::exit(status);
    };
    const auto count = [&](const char* text) {
        std::size_t value = 0;
        const char* end = text + std::strlen(text);
        const auto [ptr, ec] = std::from_chars(text, end, value);
        if (ec != std::errc() || ptr != end) usage(stderr, 2);
        return value;
    };
    TChildArgs args;
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    args.Cli = ec ? std::string("zevra-cli") : (self.parent_path() / "zevra-cli").string();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--force") == 0) continue;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) usage(stdout, 0);
        if (std::strcmp(argv[i], "--cli") == 0 && i + 1 < argc)
            args.Cli = argv[++i];
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            args.Repeat = static_cast<int>(std::clamp<std::size_t>(count(argv[++i]), 1, 1000));
        else
            args.Sizes.push_back(count(argv[i]));
    }
    if (args.Sizes.empty()) args.Sizes = std::move(defaultSizes);
    return args;
}

struct TRunFigures {
    int Status = -1;
    double Wall = 0;
    double Cpu = 0;
    long PeakKb = 0;
};

// Runs `cli` with `args` as a child with stdout and stderr discarded (so it
// shows no progress) and reads its CPU time and peak memory from wait4. Each
// measurement starts with nothing left for the disk to write (sync).
inline TRunFigures RunCli(const std::string& cli, const std::vector<std::string>& args) {
    TRunFigures figures;
    ::sync();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(cli.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::execv(cli.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    figures.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.Cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    figures.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    figures.PeakKb = usage.ru_maxrss;
    return figures;
}

// Writes a new file of `bytes` bytes in 64 KiB pieces, as the program's save
// does at the least, and syncs it when asked.
inline void WriteSizedFile(const std::string& path, std::uintmax_t bytes, bool sync) {
    static const std::vector<char> buffer(1 << 16, 'x');
    const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::uintmax_t left = bytes; out >= 0 && left > 0;) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uintmax_t>(left, buffer.size()));
        if (::write(out, buffer.data(), piece) <= 0) break;
        left -= piece;
    }
    if (out >= 0) {
        if (sync) ::fsync(out);
        ::close(out);
    }
}

}  // namespace zevra::bench
