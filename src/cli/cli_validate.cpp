// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_commands.h"

#include "model/u_model.h"

namespace zevra::cli {

int RunValidate(const TCliOptions& options) {
    options.AcceptOnly({});
    if (options.Files.size() != 1) throw UsageError{"validate očekává jeden vstupní soubor"};
    try {
        TZevraModel model(options.DataDir);
        LoadModelInput(model, options.Files[0]);
        std::vector<std::string> errors, warnings;
        model.Validate(&errors, &warnings);
        std::string text;
        for (const auto& line : errors) text += line + '\n';
        for (const auto& line : warnings) text += line + '\n';
        // A failed stdout is a failure, not data with errors.
        if (!WriteStdout(TerminalText(text))) return kExitFailure;
        return errors.empty() ? kExitOk : kExitDataErrors;
    } catch (const std::exception& e) {
        return ReportFailure(e);
    }
}

}  // namespace zevra::cli
