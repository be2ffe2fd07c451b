// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Batch throughput of `zevra-cli batch`, run as a child process on generated
// batch files of valid municipalities (code page 1250, CR LF), over the
// shipped reference data (its small sample) and over the full-size data set of
// gen_data.py --full (a sample of about 6,000 municipalities). For each file
// it prints the wall and CPU time of the child, rows per second, the child's
// peak resident memory, and the I/O floor: the time to read the input file and
// to write a file of the output's size in the same folder, both as a new file
// and replacing an old one (a new file synced and renamed over it, as the
// program's save does). Dropping the replaced file costs the file system a
// good part of the time of writing it, so the program is timed both ways
// too: replacing its own earlier output, and writing after that output was
// deleted. The ratio wall / floor, like with like, says how close the batch
// comes to the speed of the disk. Each run is repeated and the best and worst
// shown; before each measurement the disk is given time to write what earlier
// ones left (sync), so that one does not slow the next.
//
// Usage: bench_batch [--force] [--cli path/to/zevra-cli] [--repeat N] [rows ...]
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
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using zevra::bench::RunCli;
using zevra::bench::TRunFigures;
using zevra::bench::WriteBatchFile;

// zevra-cli batch of one file with the data folder.
TRunFigures RunCli(const std::string& cli, const std::string& dataDir, const std::string& input,
                   const std::string& output) {
    return RunCli(cli, {"--data", dataDir, "batch", input, output});
}

// Reading the input, and replacing a file of the output's size beside it by
// as many new bytes (written in 64 KiB pieces to a new file, synced and
// renamed over the old one): what any batch that replaces its earlier output
// has to do at the least, as the program does on every repeated run.
struct TFloor {
    double NewFile = 0;  // the output written as a new file
    double Replace = 0;  // written over an earlier one
};

TFloor IoFloor(const std::string& input, const fs::path& dir, std::uintmax_t outputSize) {
    std::vector<char> buffer(1 << 16);
    const auto readInput = [&] {
        const int in = ::open(input.c_str(), O_RDONLY);
        for (ssize_t n; in >= 0 && (n = ::read(in, buffer.data(), buffer.size())) > 0;) {
        }
        if (in >= 0) ::close(in);
    };
    const std::string oldPath = (dir / "floor.old").string();
    const std::string newPath = (dir / "floor.new").string();
    TFloor floor;

    ::sync();
    auto start = Clock::now();
    readInput();
    zevra::bench::WriteSizedFile(newPath, outputSize, true);
    floor.NewFile = std::chrono::duration<double>(Clock::now() - start).count();
    fs::rename(newPath, oldPath);

    ::sync();
    start = Clock::now();
    readInput();
    zevra::bench::WriteSizedFile(newPath, outputSize, true);
    ::rename(newPath.c_str(), oldPath.c_str());
    floor.Replace = std::chrono::duration<double>(Clock::now() - start).count();
    fs::remove(oldPath);
    return floor;
}

std::string Fixed(double value, int decimals) { return zevra::FormatFixed(value, decimals); }

// The full-size data set of the data generator (about 6,000 sample
// municipalities); empty when the generator cannot run.
std::string FullDataSet(const fs::path& dir) {
    const fs::path out = dir / "full-data";
    fs::create_directories(out);
    const std::string command = "python3 '" + (fs::path(ZEVRA_DATA_SOURCE_DIR) / "gen_data.py").string() +
                                "' --full '" + out.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !fs::exists(out / "SampMuni.txt")) return {};
    return out.string();
}

}  // namespace

int main(int argc, char** argv) {
    if (!zevra::bench::CheckBuild(argc, argv)) return 2;
    const zevra::bench::TChildArgs args = zevra::bench::ParseChildArgs(argc, argv, {10000, 100000, 1000000});

    try {
        const fs::path dir = fs::temp_directory_path() / ("zevra-bench-batch-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::vector<std::pair<std::string, std::string>> dataSets = {{"shipped", ZEVRA_DATA_SOURCE_DIR}};
        if (const std::string full = FullDataSet(dir); !full.empty())
            dataSets.emplace_back("full", full);
        else
            std::printf("full-size data set: gen_data.py --full failed, measuring the shipped data only\n");

        std::printf("zevra-cli batch (%s), best of %d runs after one unmeasured (worst in brackets);\n"
                    "each round runs it twice: replacing the output of the run before, and writing it\n"
                    "anew (the old one deleted first, untimed). The floor and the ratio compare like\n"
                    "with like: replacing a file, and (in brackets) writing a new one\n",
                    args.Cli.c_str(), args.Repeat);
        std::printf("%-8s %7s %9s %16s %13s %16s %10s %16s %15s %11s\n", "sample", "rows", "input MB", "wall s",
                    "wall new s", "cpu s", "rows/s", "peak RSS MB", "floor s (new)", "ratio (new)");
        int failures = 0;
        for (const auto& [label, dataDir] : dataSets) {
            const zevra::TZevraModel model(dataDir);
            std::vector<std::string> regions;
            for (const auto& kraj : model.Kraje()) regions.push_back(zevra::Utf8ToCp1250(kraj.Nazev));
            const std::string sampleLabel = std::to_string(model.SampleMunicipalities().Count());
            for (const std::size_t rows : args.Sizes) {
                const std::string input = (dir / ("batch-" + std::to_string(rows) + ".csv")).string();
                const std::string output = (dir / ("batch-" + std::to_string(rows) + ".html")).string();
                if (!fs::exists(input) && !WriteBatchFile(input, rows, regions)) {
                    std::printf("cannot write %s\n", input.c_str());
                    return 1;
                }
                TRunFigures best, worst;
                double bestNewWall = 1e9;
                TFloor bestFloor{1e9, 1e9};
                bool failed = false;
                // A run that fails is reported and ends the measuring.
                const auto succeeded = [&](const TRunFigures& f) {
                    if (f.Status == 0) return true;
                    std::printf("%-8s %7zu  zevra-cli failed with status %d on %s (kept)\n", sampleLabel.c_str(),
                                rows, f.Status, input.c_str());
                    failed = true;
                    return false;
                };
                // An unmeasured first run leaves an output for every measured
                // one to replace.
                RunCli(args.Cli, dataDir, input, output);
                for (int r = 0; r < args.Repeat && !failed; ++r) {
                    const TRunFigures f = RunCli(args.Cli, dataDir, input, output);
                    if (!succeeded(f)) break;
                    if (r == 0 || f.Wall < best.Wall) best.Wall = f.Wall;
                    if (r == 0 || f.Cpu < best.Cpu) best.Cpu = f.Cpu;
                    if (r == 0 || f.PeakKb < best.PeakKb) best.PeakKb = f.PeakKb;
                    worst.Wall = std::max(worst.Wall, f.Wall);
                    worst.Cpu = std::max(worst.Cpu, f.Cpu);
                    worst.PeakKb = std::max(worst.PeakKb, f.PeakKb);
                    const std::uintmax_t outputSize = fs::file_size(output);
                    fs::remove(output);
                    const TRunFigures anew = RunCli(args.Cli, dataDir, input, output);
                    if (!succeeded(anew)) break;
                    bestNewWall = std::min(bestNewWall, anew.Wall);
                    const TFloor floor = IoFloor(input, dir, outputSize);
                    bestFloor.NewFile = std::min(bestFloor.NewFile, floor.NewFile);
                    bestFloor.Replace = std::min(bestFloor.Replace, floor.Replace);
                }
                if (failed) {
                    ++failures;
                    continue;
                }
                const auto range = [](double b, double w, int d) { return Fixed(b, d) + " (" + Fixed(w, d) + ")"; };
                std::printf("%-8s %7zu %9s %16s %13s %16s %10s %16s %15s %11s\n", sampleLabel.c_str(), rows,
                            Fixed(static_cast<double>(fs::file_size(input)) / 1048576.0, 1).c_str(),
                            range(best.Wall, worst.Wall, 3).c_str(), Fixed(bestNewWall, 3).c_str(),
                            range(best.Cpu, worst.Cpu, 3).c_str(),
                            Fixed(static_cast<double>(rows) / best.Wall, 0).c_str(),
                            range(best.PeakKb / 1024.0, worst.PeakKb / 1024.0, 1).c_str(),
                            (Fixed(bestFloor.Replace, 3) + " (" + Fixed(bestFloor.NewFile, 3) + ")").c_str(),
                            (Fixed(best.Wall / bestFloor.Replace, 1) + " (" + Fixed(bestNewWall / bestFloor.NewFile, 1) +
                             ")").c_str());
                std::fflush(stdout);
            }
            (void)label;
        }
        if (failures == 0) fs::remove_all(dir);
        return failures == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
