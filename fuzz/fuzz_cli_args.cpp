// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: zevra-cli's command line. The input is the arguments
// after the program name, separated by NUL bytes (an argument cannot hold
// one). Checked on every input: the parser either refuses the line with a
// message or reads it; reading it again gives the same; the command and the
// file names are arguments as given (after "--" one that begins with "-"
// gets "./" in front), in their order; the option values are the texts
// given; and the options written out again in one plain form ("--data=X",
// "--", the command and the files) read back to the same options.
#include "cli_commands.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zevra::cli::TCliOptions;
using zevra::fuzz::Check;

// Parses `args` (without the program name); nullopt when refused.
std::optional<TCliOptions> Parse(const std::vector<std::string>& args) {
    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    static char program[] = "zevra-cli";
    argv.push_back(program);
    for (std::string& a : copies) argv.push_back(a.data());
    const std::vector<char*> before = argv;
    argv.push_back(nullptr);
    std::optional<TCliOptions> options;
    try {
        options = zevra::cli::ParseCommandLine(static_cast<int>(before.size()), argv.data());
    } catch (const zevra::cli::UsageError& e) {
        Check(!e.message.empty());
    }
    // The arguments are read in place: neither reordered nor changed.
    for (std::size_t i = 0; i < before.size(); ++i) Check(argv[i] == before[i]);
    for (std::size_t i = 0; i < args.size(); ++i) Check(copies[i] == args[i]);
    return options;
}

bool Same(const TCliOptions& a, const TCliOptions& b) {
    return a.DataDir == b.DataDir && a.Help == b.Help && a.Version == b.Version && a.Command == b.Command &&
           a.Files == b.Files && a.Format == b.Format && a.Draws == b.Draws && a.Spread == b.Spread;
}

// Whether `text` occurs in `arg` as its end (an option's value after "=" or
// a whole argument).
bool ValueOf(const std::string& arg, const std::string& text) { return std::string_view(arg).ends_with(text); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // At most 64 arguments: the last part would hold NULs.
    constexpr std::size_t kMostArguments = 64;
    std::vector<std::string> args;
    if (size > 0) {
        for (std::string_view a : zevra::fuzz::SplitInput(zevra::fuzz::Bytes(data, size), '\0', kMostArguments + 1))
            args.emplace_back(a);
    }
    if (args.size() > kMostArguments) return 0;
    const std::optional<TCliOptions> options = Parse(args);
    const std::optional<TCliOptions> again = Parse(args);
    Check(options.has_value() == again.has_value());
    if (!options) return 0;
    Check(Same(*options, *again));

    // The command and the files: arguments as given, in order.
    std::vector<std::string> names;
    if (!options->Command.empty()) names.push_back(options->Command);
    else Check(options->Files.empty());
    names.insert(names.end(), options->Files.begin(), options->Files.end());
    std::size_t next = 0;
    for (const std::string& name : names) {
        bool found = false;
        for (; next < args.size() && !found; ++next)
            found = args[next] == name || (name.starts_with("./-") && args[next] == name.substr(2));
        Check(found);
    }
    // Every option value was given.
    for (const std::optional<std::string>& value : {options->Format, options->Draws, options->Spread,
                                                     std::optional<std::string>(options->DataDir)}) {
        if (!value || value->empty()) continue;
        bool given = false;
        for (const std::string& a : args) given = given || ValueOf(a, *value);
        Check(given);
    }
    // Every option a command may refuse is named.
    Check(options->CommandOptions.size() >= static_cast<std::size_t>(options->Format.has_value()) +
                                                 options->Draws.has_value() + options->Spread.has_value());

    // Written out again in one plain form, the line reads back the same.
    std::vector<std::string> plain;
    if (!options->DataDir.empty()) plain.push_back("--data=" + options->DataDir);
    if (options->Help) plain.emplace_back("--help");
    if (options->Version) plain.emplace_back("--version");
    if (options->Format) plain.push_back("--format=" + *options->Format);
    if (options->Draws) plain.push_back("--draws=" + *options->Draws);
    if (options->Spread) plain.push_back("--spread=" + *options->Spread);
    plain.emplace_back("--");
    plain.insert(plain.end(), names.begin(), names.end());
    const std::optional<TCliOptions> reread = Parse(plain);
    Check(reread.has_value() && Same(*options, *reread));
    return 0;
}
