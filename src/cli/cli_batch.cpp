// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli batch INPUT.csv OUTPUT.html: loads a batch file, validates every
// row, evaluates them all and writes the HTML table. Every message goes to
// stderr; the output file is written only when everything succeeded.
#include "cli_commands.h"
#include "cli_json.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchmessages.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace zevra::cli {

namespace {

// Files shorter than this finish too quickly for a progress display.
constexpr std::size_t kProgressMinItems = 2000;

// A percentage on one terminal line of stderr, rewritten in place. It stays
// silent when stderr is not a terminal, so redirected output never sees it.
class TTerminalProgress {
public:
    explicit TTerminalProgress(const char* label) : FLabel(label), FEnabled(::isatty(STDERR_FILENO) != 0) {}
    ~TTerminalProgress() { Finish(); }
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

    TBatchProgress Callback() {
        if (!FEnabled) return {};
        return [this](std::size_t done, std::size_t total) { Show(done, total); };
    }

    void Finish() {
        if (!FShown) return;
        std::cerr << "\r\033[K" << std::flush;
        FShown = false;
    }

private:
    void Show(std::size_t done, std::size_t total) {
        if (total < kProgressMinItems) return;
        const int percent = static_cast<int>(done * 100 / total);
        if (percent == FLastPercent) return;
        FLastPercent = percent;
        std::cerr << '\r' << FLabel << ": " << percent << " %" << std::flush;
        FShown = true;
    }

    const char* FLabel;
    bool FEnabled;
    bool FShown = false;
    int FLastPercent = -1;
};

// Loads the file (or the bytes of a pipe on standard input); line problems
// are printed one per line. Returns the exit status, or -1 when the rows may
// go on to validation.
int LoadRows(TZevraBatch& batch, const std::string& fileName, const std::optional<std::string>& piped) {
    TTerminalProgress progress("Načítání");
    try {
        if (piped) batch.LoadInputBytes(*piped, progress.Callback());
        else batch.LoadInputFile(InputPath(fileName), progress.Callback());
    } catch (const ECompositeException& problems) {
        progress.Finish();
        std::string text;
        for (const std::string& line : FormatProblems(problems)) text.append(TerminalText(line)).append("\n");
        std::cerr << text << std::flush;
        return kExitDataErrors;
    }
    return -1;
}

std::string BlankEdgeMessage(const std::string& name) {
    return PathMessage("Název souboru nesmí začínat ani končit mezerou, tabulátorem ani jiným řídicím znakem!", name);
}

// Validates the rows and lists every marked row with its problem lines.
// Returns the exit status, or -1 when the batch may run.
int ValidateRows(TZevraBatch& batch) {
    {
        TTerminalProgress progress("Kontrola");
        batch.ValidateInputRows(progress.Callback());
    }
    // The listing goes out in one piece: stderr is unbuffered, and thousands
    // of warnings written piece by piece would cost more than the whole run.
    std::string text = batch.ErrorCountText() + '\n';
    const TMemTable& rows = batch.InputData();
    for (std::size_t row = 0; row < rows.RowCount(); ++row) {
        if (rows.GetInt(row, ifERROR) == 0) continue;
        text.append(TerminalText(rows.TextView(row, ifOBEC))).append(":\n");
        for (const std::string& line : batch.ProblemLines(row)) text.append("  ").append(TerminalText(line)).append("\n");
    }
    std::cerr << text << std::flush;
    if (!batch.InputValid()) {
        std::cerr << kInputHasErrorsMessage << '\n';
        return kExitDataErrors;
    }
    return -1;
}

// The formats of zevra-cli batch, chosen by the output name's extension
// (any letter case); a name without one of them gets the HTML table.
TOutputFormats BatchFormats() {
    TOutputFormats formats;
    formats.Register(HtmlOutputFormat());
    formats.Register(WorkbookOutputFormat());
    formats.Register(JsonOutputFormat());
    return formats;
}

// The extensions of the formats for a message: ".html, .xlsx nebo .json".
std::string ExtensionList(const TOutputFormats& formats) {
    std::vector<std::string> extensions;
    for (const TOutputFormat& format : formats.All())
        extensions.insert(extensions.end(), format.Extensions.begin(), format.Extensions.end());
    std::string list;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0) list += i + 1 == extensions.size() ? " nebo " : ", ";
        list += extensions[i];
    }
    return list;
}

}  // namespace

int RunBatch(const TCliOptions& options) {
    options.AcceptOnly({});
    const std::vector<std::string>& args = options.Files;
    const TOutputFormats formats = BatchFormats();
    if (args.size() != 2)
        throw UsageError{"batch očekává vstupní soubor a výstupní soubor (" + ExtensionList(formats) + ")"};
    // The shell hands over a name exactly as typed, and the loader and the
    // writers take a name without its blanks at either end (the window's
    // fields need that): "obce.csv " would be read or written as obce.csv.
    // Such a name is refused rather than silently changed.
    for (const std::string& name : args) {
        if (name != FileNameOf(name)) {
            std::cerr << TerminalText(BlankEdgeMessage(name)) << '\n';
            return kExitFailure;
        }
    }
    // Writing the table over its own input would destroy the data.
    const std::optional<std::string> piped = args[0] == "-" ? PipedStandardInput() : std::nullopt;
    if (args[1] != "-" && !piped && SameFile(InputPath(args[0]), args[1])) {
        std::cerr << TerminalText(SameAsInputMessage(args[1])) << '\n';
        return kExitFailure;
    }
    try {
        TZevraModel model(options.DataDir);
        TZevraBatch batch(model);
        if (const int status = LoadRows(batch, args[0], piped); status >= 0) return status;
        if (const int status = ValidateRows(batch); status >= 0) return status;
        {
            TTerminalProgress progress("Výpočet");
            batch.RunModelOnRows(progress.Callback());
        }
        if (args[1] == "-") {
            if (!WriteStdout(batch.HtmlOutputBytes())) return kExitFailure;
        } else {
            formats.ForFile(args[1]).Write(batch, args[1], {});
        }
        return kExitOk;
    } catch (const std::exception& e) {
        return ReportFailure(e);
    }
}

}  // namespace zevra::cli
