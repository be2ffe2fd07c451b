// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the core tests: temporary folders and a small reference
// data set written on the fly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zevra {
class TZevraInputData;
class TZevraSampleMunicipalities;
}

namespace zevra::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

// The message of the EZevraError the action throws, "(no error)" if none.
std::string ErrorOf(const std::function<void()>& action);

// Writes bytes exactly as given.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// How often `part` stands in `text`, not overlapping.
std::size_t Occurrences(const std::string& text, const std::string& part);
// How many entries a folder holds (a save leaves no temporary file behind).
std::size_t EntryCount(const std::filesystem::path& dir);

// An indicator's test distribution: boundaries 10, 20, ... 90, ascending.
std::string Distribution(const std::string& code);

// A minimal, valid reference data set: the five files, in code page 1250
// with CR LF. Regions 1 "Středočeský" (altitude 300) and 2 "Jihočeský" (500);
// every distribution ascending with boundaries 10, 20, ... 90; weights
// 10 10 10 20 10 20 20; a short municipality list; a sample of three.
// `replace` maps a file base name ("Regions") to the UTF-8 text that replaces
// its content (written in code page 1250 with CR LF).
void WriteDataSet(const std::filesystem::path& dir, const std::map<std::string, std::string>& replace = {});

// An input "Velká Ves" for the data set of WriteDataSet whose seven
// indicators all fall in decile 5: region 2 "Jihočeský", no code, 1000
// inhabitants, a water main. Tests change what they are about.
void SetMiddleInput(TZevraInputData& in);

// The municipalities' names, in the list's order.
std::vector<std::string> Names(const TZevraSampleMunicipalities& list);

// zevra-cli run through the shell with `args` (quoted as the shell needs
// them), LC_ALL=C and no standard input: its exit status and what it wrote.
// With `piped`, standard input is a pipe that carries those bytes; `env`
// ("NAME='value' ...") goes before the command.
struct TCliRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};
TCliRun RunCli(const std::string& args, const std::optional<std::string>& piped = std::nullopt,
               const std::string& env = "");

// The cells of every row of the body of a batch HTML table.
std::vector<std::vector<std::string>> HtmlRows(const std::string& html);

// A small deterministic generator, so that a generated test input is the
// same in every run.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}
    // Below `range`.
    std::uint64_t Below(std::uint64_t range) {
        FState = FState * 6364136223846793005ULL + 1442695040888963407ULL;
        return (FState >> 33) % range;
    }
    int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<std::uint64_t>(high - low + 1))); }

private:
    std::uint64_t FState;
};

// The same text in code page 1250 with every LF turned into CR LF.
std::string ToCp1250Crlf(const std::string& utf8);

}  // namespace zevra::test
