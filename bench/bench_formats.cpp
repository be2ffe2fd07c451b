// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch output formats side by side: `zevra-cli batch --format F` on the
// same generated batch file (valid municipalities, shipped reference data)
// for each format, as a child process, its wall time and peak resident
// memory, and their ratios to the HTML table's in the same run. The formats
// take turns within each round, so that a slower moment of the machine
// falls on all of them alike; the median of the rounds is shown.
//
// Beside each format: its disk floor, the time to write a new file of its
// output's size in 64 KiB pieces and sync it, as the program's save does at
// the least (the formats write different amounts: JSON carries every text
// as plain text and as HTML, in UTF-8).
//
// Targets: each format within 2x the HTML's wall time, and at most 64 MB
// peak memory at 100,000 rows. A missed target is marked and makes the exit
// status 1.
//
// Usage: bench_formats [--force] [--cli path/to/zevra-cli] [--repeat N] [rows ...]
//        (rows: 100000 and 1000000 unless given)
#include "bench_batchfile.h"
#include "bench_build.h"
#include "bench_child.h"

#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zevra::bench::TRunFigures;

// The formats of zevra-cli batch, the HTML table first: the others are
// compared with it.
struct TFormat {
    const char* Name;
    const char* Extension;
};
constexpr TFormat kFormats[] = {{"html", ".html"}, {"xlsx", ".xlsx"}, {"json", ".json"}};

constexpr double kWallRatioTarget = 2.0;
constexpr double kPeakTargetMb = 64.0;
constexpr std::size_t kPeakTargetRows = 100000;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Writes `bytes` bytes to a new file in `dir`, syncs it and removes it;
// returns the seconds that took.
double DiskFloor(const fs::path& dir, std::uintmax_t bytes) {
    const std::string path = (dir / "floor.tmp").string();
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    zevra::bench::WriteSizedFile(path, bytes, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::remove(path);
    return seconds;
}

std::string Fixed(double value, int decimals) { return zevra::FormatFixed(value, decimals); }

}  // namespace

int main(int argc, char** argv) {
    if (!zevra::bench::CheckBuild(argc, argv)) return 2;
    const zevra::bench::TChildArgs args = zevra::bench::ParseChildArgs(argc, argv, {100000, 1000000});

    try {
        const fs::path dir = fs::temp_directory_path() / ("zevra-bench-formats-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const std::string dataDir = ZEVRA_DATA_SOURCE_DIR;
        const zevra::TZevraModel model(dataDir);
        std::vector<std::string> regions;
        for (const auto& kraj : model.Kraje()) regions.push_back(zevra::Utf8ToCp1250(kraj.Nazev));

        std::printf("zevra-cli batch --format F (%s), median of %d rounds, the formats in turn\n"
                    "targets: wall <= %.0fx the HTML's; peak <= %.0f MB at %zu rows\n",
                    args.Cli.c_str(), args.Repeat, kWallRatioTarget, kPeakTargetMb, kPeakTargetRows);
        std::printf("%9s %-6s %9s %9s %12s %10s %13s %11s %s\n", "rows", "format", "wall s", "cpu s", "peak RSS MB",
                    "output MB", "disk floor s", "wall/html", "peak/html");
        bool missed = false;
        bool failed = false;
        for (const std::size_t rows : args.Sizes) {
            const std::string input = (dir / ("batch-" + std::to_string(rows) + ".csv")).string();
            if (!zevra::bench::WriteBatchFile(input, rows, regions)) {
                std::printf("cannot write %s\n", input.c_str());
                return 1;
            }
            constexpr std::size_t kCount = std::size(kFormats);
            std::vector<double> wall[kCount], cpu[kCount], peak[kCount];
            std::uintmax_t size[kCount] = {};
            for (int round = 0; round < args.Repeat && !failed; ++round) {
                for (std::size_t f = 0; f < kCount && !failed; ++f) {
                    const std::string output = (dir / (std::string("out") + kFormats[f].Extension)).string();
                    const TRunFigures run = zevra::bench::RunCli(
                        args.Cli, {"--data", dataDir, "batch", input, output, "--format", kFormats[f].Name});
                    if (run.Status != 0) {
                        std::printf("%9zu %-6s zevra-cli failed with status %d (files kept in %s)\n", rows,
                                    kFormats[f].Name, run.Status, dir.c_str());
                        failed = true;
                        break;
                    }
                    wall[f].push_back(run.Wall);
                    cpu[f].push_back(run.Cpu);
                    peak[f].push_back(static_cast<double>(run.PeakKb) / 1024.0);
                    size[f] = fs::file_size(output);
                    fs::remove(output);
                }
            }
            if (failed) break;
            const double htmlWall = Median(wall[0]);
            const double htmlPeak = Median(peak[0]);
            for (std::size_t f = 0; f < kCount; ++f) {
                const double w = Median(wall[f]);
                const double p = Median(peak[f]);
                const bool slow = f > 0 && w > kWallRatioTarget * htmlWall;
                const bool big = rows <= kPeakTargetRows && p > kPeakTargetMb;
                missed = missed || slow || big;
                std::printf("%9zu %-6s %9s %9s %12s %10s %13s %11s %s%s\n", rows, kFormats[f].Name,
                            Fixed(w, 3).c_str(), Fixed(Median(cpu[f]), 3).c_str(), Fixed(p, 1).c_str(),
                            Fixed(static_cast<double>(size[f]) / 1048576.0, 1).c_str(),
                            Fixed(DiskFloor(dir, size[f]), 3).c_str(),
                            (Fixed(w / htmlWall, 2) + (slow ? " SLOW" : "")).c_str(), Fixed(p / htmlPeak, 2).c_str(),
                            big ? " OVER 64 MB" : "");
            }
            std::fflush(stdout);
            fs::remove(input);
        }
        if (!failed) fs::remove_all(dir);
        if (failed) return 1;
        std::printf("%s\n", missed ? "targets MISSED" : "targets met");
        return missed ? 1 : 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
