// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of zevra-cli. The command line is read once into TCliOptions;
// each command checks which of the options it takes, prints to stdout/stderr
// and returns the exit status: 0 success, 1 the data hold errors, 2 something
// failed.
#pragma once

#include "model/u_sensitivity.h"

#include <exception>
#include <initializer_list>
#include <optional>
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

// The whole command line. The program's own options and the options of the
// commands may stand anywhere, before the command or after it; "--" ends
// them.
struct TCliOptions {
    std::string DataDir;  // --data; empty: the folder is looked for
    bool Help = false;
    bool Version = false;
    std::string Command;             // the first argument that is not an option
    std::vector<std::string> Files;  // the arguments after it, in order
    // The options of the commands, as given (the last one counts).
    std::optional<std::string> Format;  // --format
    std::optional<std::string> Draws;   // --draws
    std::optional<std::string> Spread;  // --spread
    // Their names ("--draws"), in the order given, for the refusal of an
    // option that the command does not take.
    std::vector<std::string> CommandOptions;

    // Throws UsageError naming the first command option given that is not in
    // `accepted`.
    void AcceptOnly(std::initializer_list<std::string_view> accepted) const;
};

// Reads argv; an unknown option or a missing value throws UsageError.
TCliOptions ParseCommandLine(int argc, char** argv);

// An input file name as given: "-" reads standard input.
inline std::string InputPath(const std::string& name) { return name == "-" ? std::string("/dev/stdin") : name; }

// The bytes of standard input when it is a pipe (or a socket), read to its
// end; nothing when it is something else, which is then read by its name
// /dev/stdin like any file (a file given with "<" keeps the same-file check,
// a terminal or device is refused by the reader).
std::optional<std::string> PipedStandardInput();

// Reads the input data file named on the command line into the model's
// Input; "-" reads standard input.
void LoadModelInput(TZevraModel& model, const std::string& name);

// Text for the terminal: CR LF (the line end of the program's messages)
// becomes LF, and every other control character, C0 (ESC, BEL, NUL, a lone
// CR ...), DEL and C1 (U+0080 to U+009F, which code page 1250's unused bytes
// decode to), is shown escaped, so data cannot drive the terminal: a byte as
// \x1B, a C1 character as \u0090 (which JSON reads as the same character). A
// byte that is not part of valid UTF-8 is shown as \xNN too.
// With `keepCrLf` a CR LF passes unchanged (the markup entries carry it).
std::string TerminalText(std::string_view text, bool keepCrLf = false);

// Writes to stdout and flushes; on failure (full disk, closed pipe) says so
// on stderr and returns false.
bool WriteStdout(std::string_view text);

// Prints an exception's message on stderr, escaped, and returns kExitFailure.
int ReportFailure(const std::exception& e);

int RunValidate(const TCliOptions& options);
int RunEvaluate(const TCliOptions& options);
int RunBatch(const TCliOptions& options);
// The names of the batch output formats for the usage text: "html|xlsx|json".
std::string BatchFormatNames();
int RunSensitivity(const TCliOptions& options);

// The sensitivity settings of --draws and --spread (defaults for those not
// given); a value out of range throws UsageError.
TSensitivitySettings SensitivitySettings(const TCliOptions& options);
// The sensitivity figures of the model's current Output.
TSensitivityResult AnalyseModelOutput(const TZevraModel& model, const TSensitivitySettings& settings);

}  // namespace zevra::cli
