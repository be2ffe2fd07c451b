// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of zevra-cli. Each takes the reference data folder and the
// arguments after the command name, prints to stdout/stderr and returns the
// exit status: 0 success, 1 the data hold errors, 2 something failed.
#pragma once

#include "model/u_sensitivity.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zevra {
class TZevraModel;
}

namespace zevra::cli {

constexpr int kExitOk = 0;
constexpr int kExitDataErrors = 1;
constexpr int kExitFailure = 2;

// Thrown for a wrong command line; main prints the usage and exits 2.
struct UsageError {
    std::string message;
};

// An input file name as given: "-" reads standard input.
inline std::string InputPath(const std::string& name) { return name == "-" ? std::string("/dev/stdin") : name; }

// Text for the terminal: CR LF (the line end of the program's messages)
// becomes LF, and every other control character of the input (ESC, BEL,
// NUL, a lone CR ...) is shown escaped as \x1B, so data cannot drive the
// terminal.
// With `keepCrLf` a CR LF passes unchanged (the markup entries carry it).
std::string TerminalText(std::string_view text, bool keepCrLf = false);

// Writes to stdout and flushes; on failure (full disk, closed pipe) says so
// on stderr and returns false.
bool WriteStdout(std::string_view text);

int RunValidate(const std::string& dataDir, const std::vector<std::string>& args);
int RunEvaluate(const std::string& dataDir, const std::vector<std::string>& args);
int RunBatch(const std::string& dataDir, const std::vector<std::string>& args);
int RunSensitivity(const std::string& dataDir, const std::vector<std::string>& args);

// Reads "--draws N" or "--spread S" at args[i] into `settings` (advancing i
// past a separate value); false when args[i] is neither.
bool ParseSensitivityOption(const std::vector<std::string>& args, std::size_t& i, TSensitivitySettings& settings);
// The sensitivity figures of the model's current Output.
TSensitivityResult AnalyseModelOutput(const TZevraModel& model, const TSensitivitySettings& settings);

}  // namespace zevra::cli
