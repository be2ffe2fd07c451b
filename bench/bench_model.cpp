// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long the model takes to construct (reading the five reference
// files) with the shipped data and with a generated full-size data set.
#include "bench_build.h"

#include "model/u_model.h"
#include "model/u_text.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

void WriteCp1250(const std::filesystem::path& path, const std::string& utf8) {
    std::ofstream(path, std::ios::binary) << zevra::Utf8ToCp1250(utf8);
}

// A data set of full size: 6,300 municipalities in the list, 6,000 in the sample.
std::filesystem::path GenerateFullDataSet(const std::filesystem::path& from) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "zevra-bench-full-data";
    fs::create_directories(dir);
    for (const char* name : {"DecilDists.txt", "Regions.txt", "OWeights.txt"}) {
        fs::copy_file(from / name, dir / name, fs::copy_options::overwrite_existing);
    }
    std::string list = "# generated for the benchmark\r\n", sample = list;
    for (int i = 0; i < 6300; ++i) {
        list += "Obec = Obec č. " + std::to_string(i) + "\r\nKod = " + std::to_string(500000 + i) +
                "\r\nOkres = Okres " + std::to_string(i % 77) + "\r\n";
    }
    for (int i = 0; i < 6000; ++i) {
        sample += "Obec = Obec č. " + std::to_string(i) + "\r\nOkres = Okres " + std::to_string(i % 77) +
                  "\r\nKraj = Jihočeský\r\nKod = " + std::to_string(500000 + i) +
                  "\r\nObyvateleCelkem = " + std::to_string(350 + (i * 37) % 3550);
        for (const char* code : {"dck", "dvo", "vs1", "nvr", "vkt", "vea", "rps"}) {
            sample += "\r\n" + std::string(code) + " = " + std::to_string(1 + (i * 7 + code[1]) % 10);
        }
        sample += "\r\nObyvatelstvo = 550\r\n";
    }
    WriteCp1250(dir / "MuniInfo.txt", list);
    WriteCp1250(dir / "SampMuni.txt", sample);
    return dir;
}

void Measure(const char* label, const std::string& dataDir, int repeats) {
    const auto start = Clock::now();
    std::size_t sampleSize = 0, listSize = 0;
    for (int i = 0; i < repeats; ++i) {
        zevra::TZevraModel model(dataDir);
        sampleSize = static_cast<std::size_t>(model.SampleMunicipalities().Count());
        listSize = model.MunicipalityInfos().size();
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repeats;
    std::printf("%-26s list %5zu, sample %5zu: %8.2f ms per construction (%d runs)\n", label, listSize, sampleSize,
                ms, repeats);
}

}  // namespace

int main(int argc, char** argv) {
    if (!zevra::bench::CheckBuild(argc, argv)) return 2;
    const std::string shipped = argc > 1 && std::string(argv[1]) != "--force" ? argv[1] : ZEVRA_DATA_SOURCE_DIR;
    Measure("shipped data", shipped, 50);
    const auto full = GenerateFullDataSet(shipped);
    Measure("full-size generated data", full.string(), 20);
    std::filesystem::remove_all(full);
    return 0;
}
