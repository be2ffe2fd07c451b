// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The command line read once, with getopt_long, and standard input as a pipe.
#include "cli_commands.h"

#include "model/u_DAO.h"
#include "model/u_model.h"
#include "model/u_object.h"

#include <algorithm>
#include <cerrno>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zevra::cli {

namespace {

enum TOptionCode : int { kData = 256, kVersion, kFormat, kDraws, kSpread };

const option kLongOptions[] = {
    {"data", required_argument, nullptr, kData},     {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},     {"format", required_argument, nullptr, kFormat},
    {"draws", required_argument, nullptr, kDraws},   {"spread", required_argument, nullptr, kSpread},
    {nullptr, 0, nullptr, 0}};

std::string MissingValueMessage(int code) {
    switch (code) {
        case kData:
            return "--data vyžaduje adresář";
        case kFormat:
            return "--format vyžaduje název formátu";
        case kDraws:
            return "--draws vyžaduje hodnotu";
        default:
            return "--spread vyžaduje hodnotu";
    }
}

// Standard input longer than this is refused rather than filling the memory
// (`yes | zevra-cli evaluate -`); a real batch file is a small part of it.
constexpr std::size_t kMaxPipedInput = std::size_t{1} << 30;

}  // namespace

void TCliOptions::AcceptOnly(std::initializer_list<std::string_view> accepted) const {
    for (const std::string& given : CommandOptions) {
        if (std::find(accepted.begin(), accepted.end(), given) == accepted.end())
            throw UsageError{Command + " nepřijímá volbu " + given};
    }
}

TCliOptions ParseCommandLine(int argc, char** argv) {
    TCliOptions options;
    const auto commandOption = [&options](const char* name, std::optional<std::string>& value) {
        value = optarg;
        options.CommandOptions.emplace_back(name);
    };
    const auto argument = [&options](const std::string& a) {
        if (options.Command.empty()) options.Command = a;
        else options.Files.push_back(a);
    };
    // "-" first: the arguments that are not options come back one by one in
    // their order (code 1), whatever POSIXLY_CORRECT says; ":" next: a
    // missing value is told apart from an unknown option. getopt prints
    // nothing itself; the messages are the program's own, in Czech.
    opterr = 0;
    optind = 0;  // a full new start (glibc)
    for (;;) {
        const int code = ::getopt_long(argc, argv, "-:h", kLongOptions, nullptr);
        if (code == -1) break;
        switch (code) {
            case 1:  // not an option; a lone "-" is one too (standard input or output)
                argument(optarg);
                break;
            case 'h':
                options.Help = true;
                break;
            case kVersion:
                options.Version = true;
                break;
            case kData:
                options.DataDir = optarg;
                if (options.DataDir.empty()) throw UsageError{MissingValueMessage(kData)};
                break;
            case kFormat:
                commandOption("--format", options.Format);
                break;
            case kDraws:
                commandOption("--draws", options.Draws);
                break;
            case kSpread:
                commandOption("--spread", options.Spread);
                break;
            case ':':
                throw UsageError{MissingValueMessage(optopt)};
            default: {
                // An unknown option, a value given to one that takes none, or
                // an abbreviation that fits several. A letter may stand in a
                // group ("-hx"): then only the letter is named.
                std::string given = argv[optind - 1];
                if (!given.starts_with("--") && optopt > 0 && optopt < 128)
                    given = std::string("-") + static_cast<char>(optopt);
                throw UsageError{"neznámá volba '" + given + "'"};
            }
        }
    }
    // After "--" every argument is a file name: one that begins with "-"
    // (other than "-" itself, standard input/output) gets "./" in front, the
    // same file, so that nothing later takes it for an option.
    for (int i = optind; i < argc; ++i) {
        const std::string a = argv[i];
        if (options.Command.empty()) argument(a);
        else argument(a.size() > 1 && a[0] == '-' ? "./" + a : a);
    }
    return options;
}

std::optional<std::string> PipedStandardInput() {
    struct stat st {};
    if (::fstat(STDIN_FILENO, &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EZevraError("Chyba při čtení standardního vstupu!");
        if (n == 0) break;
        if (bytes.size() + static_cast<std::size_t>(n) > kMaxPipedInput)
            throw EZevraError("Standardní vstup je příliš dlouhý (nejvýše 1 GiB)!");
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void LoadModelInput(TZevraModel& model, const std::string& name) {
    if (name == "-") {
        if (const std::optional<std::string> piped = PipedStandardInput()) {
            model.Input() = TZevraData::ParseInputData(*piped);
            return;
        }
    }
    model.LoadInput(InputPath(name));
}

}  // namespace zevra::cli
