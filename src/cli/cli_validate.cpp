// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_commands.h"

#include "model/u_model.h"

#include <iostream>

namespace zevra::cli {

int RunValidate(const std::string& dataDir, const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError{"validate očekává jeden vstupní soubor"};
    try {
        TZevraModel model(dataDir);
        model.LoadInput(InputPath(args[0]));
        std::vector<std::string> errors, warnings;
        model.Validate(&errors, &warnings);
        std::string text;
        for (const auto& line : errors) text += line + '\n';
        for (const auto& line : warnings) text += line + '\n';
        // A failed stdout is a failure, not data with errors.
        if (!WriteStdout(TerminalText(text))) return kExitFailure;
        return errors.empty() ? kExitOk : kExitDataErrors;
    } catch (const std::exception& e) {
        std::cerr << TerminalText(e.what()) << '\n';
        return kExitFailure;
    }
}

}  // namespace zevra::cli
