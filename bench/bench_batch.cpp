// Batch throughput: generates batch files of 25,000, 50,000 and 100,000
// valid municipalities (code page 1250, CR LF) over the shipped reference
// data and runs `zevra-cli batch` on each as a child process. Prints the wall
// time, the child's peak resident memory and the rows per second; the time
// and memory per row should stay flat as the files grow.
//
// Usage: bench_batch [path/to/zevra-cli] [rows ...]
#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_text.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// A small deterministic generator, so every run measures the same files.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}
    int Between(int low, int high) {
        FState = FState * 6364136223846793005ULL + 1442695040888963407ULL;
        return low + static_cast<int>((FState >> 33) % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t FState;
};

std::string Decimal(int value, int decimals) {
    std::string digits = std::to_string(value);
    while (static_cast<int>(digits.size()) <= decimals) digits.insert(0, "0");
    digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    return digits;
}

std::string GenerateBatchFile(std::size_t rows, const std::vector<std::string>& regions) {
    TRandom random(20240607);
    std::string text = "# generated batch file\r\n";
    for (std::size_t i = 0; i < rows; ++i) {
        const int obyvatele = random.Between(500, 3000);
        const int ea = obyvatele * random.Between(40, 50) / 100;
        const int nezamestnani = ea * random.Between(2, 12) / 100;
        const int vyjizdejici = (ea - nezamestnani) * random.Between(20, 80) / 100;
        const int podnikatele = random.Between(50, 400);
        const std::vector<std::string> values = {
            "Obec č. " + std::to_string(i + 1),
            std::to_string(500000 + i),
            regions[i % regions.size()],
            std::to_string(obyvatele),
            std::to_string(ea),
            std::to_string(nezamestnani),
            std::to_string(vyjizdejici),
            std::to_string(random.Between(180, 900)),
            Decimal(random.Between(10000, 300000), 2),
            std::to_string(random.Between(10, 90)),
            std::to_string(random.Between(2, 40)),
            Decimal(random.Between(1, 1500), 2),
            std::to_string(podnikatele),
            std::to_string(podnikatele * random.Between(0, 20) / 100),
            std::to_string(random.Between(0, 300)),
            random.Between(0, 3) == 0 ? "Ne" : "Ano",
        };
        for (std::size_t v = 0; v < values.size(); ++v) text += (v ? ";" : "") + values[v];
        text += "\r\n";
    }
    return zevra::Utf8ToCp1250(text);
}

struct TRunFigures {
    int Status = -1;
    double Seconds = 0;
    long PeakKb = 0;
};

// Runs the CLI as a child with stdout and stderr discarded (so it shows no
// progress) and reads its peak memory from wait4.
TRunFigures RunCli(const std::string& cli, const std::string& dataDir, const std::string& input,
                   const std::string& output) {
    TRunFigures figures;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::execl(cli.c_str(), cli.c_str(), "--data", dataDir.c_str(), "batch", input.c_str(), output.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    figures.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    figures.PeakKb = usage.ru_maxrss;
    return figures;
}

// Numbers go through the program's own formatter: "." whatever the locale.
std::string Fixed(double value, int decimals) { return zevra::FormatFixed(value, decimals); }

std::string DefaultCliPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("zevra-cli") : (self.parent_path() / "zevra-cli").string();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string cli = argc > 1 ? argv[1] : DefaultCliPath();
    std::vector<std::size_t> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(std::stoul(argv[i]));
    if (sizes.empty()) sizes = {25000, 50000, 100000};

    const std::string dataDir = ZEVRA_DATA_SOURCE_DIR;
    std::vector<std::string> regions;
    const zevra::TZevraModel model(dataDir);
    for (const auto& kraj : model.Kraje()) regions.push_back(kraj.Nazev);
    if (regions.empty()) {
        std::cerr << "no regions in " << dataDir << "\n";
        return 1;
    }

    const auto dir = std::filesystem::temp_directory_path() / ("zevra-bench-batch-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::printf("zevra-cli batch (%s)\n", cli.c_str());
    std::printf("%10s %10s %10s %12s %12s %14s %12s\n", "rows", "input MB", "time s", "rows/s", "us/row",
                "peak RSS MB", "output MB");
    int failures = 0;
    for (const std::size_t rows : sizes) {
        const std::string input = (dir / ("batch-" + std::to_string(rows) + ".csv")).string();
        const std::string output = (dir / ("batch-" + std::to_string(rows) + ".html")).string();
        const std::string bytes = GenerateBatchFile(rows, regions);
        {
            std::FILE* f = std::fopen(input.c_str(), "wb");
            if (f == nullptr) return 1;
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        const TRunFigures figures = RunCli(cli, dataDir, input, output);
        if (figures.Status != 0) {
            std::printf("%10zu  zevra-cli failed with status %d on %s (kept)\n", rows, figures.Status, input.c_str());
            ++failures;
            continue;
        }
        const double perRow = figures.Seconds * 1e6 / static_cast<double>(rows);
        std::printf("%10zu %10s %10s %12s %12s %14s %12s\n", rows, Fixed(bytes.size() / 1048576.0, 1).c_str(),
                    Fixed(figures.Seconds, 3).c_str(), Fixed(static_cast<double>(rows) / figures.Seconds, 0).c_str(),
                    Fixed(perRow, 2).c_str(), Fixed(figures.PeakKb / 1024.0, 1).c_str(),
                    Fixed(std::filesystem::file_size(output) / 1048576.0, 1).c_str());
    }
    if (failures == 0) std::filesystem::remove_all(dir);
    return failures == 0 ? 0 : 1;
}
