// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli batch INPUT.csv OUTPUT [--format html|xlsx|json]: loads a batch
// file, validates every row, evaluates them all and writes the results in the
// format named, else in the one the output's extension chooses. Every message
// goes to stderr; the output file is written only when everything succeeded.
#include "cli_commands.h"

#include "batch/core/u_batchcore.h"
#include "batch/core/u_batchformats.h"
#include "batch/core/u_batchjson.h"
#include "batch/core/u_batchmessages.h"
#include "batch/workbook/u_workbook.h"
#include "model/u_model.h"
#include "model/u_object.h"
#include "model/u_savefile.h"

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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

// The formats of zevra-cli batch: --format names one; else the output name's
// extension chooses (any letter case), and a name without one of them, or
// standard output, gets the HTML table.
TOutputFormats BatchFormats() {
    TOutputFormats formats;
    formats.Register(HtmlOutputFormat());
    formats.Register(WorkbookOutputFormat());
    formats.Register(JsonOutputFormat());
    return formats;
}

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

// The names of the formats for a message: "html, xlsx nebo json".
std::string NameList(const TOutputFormats& formats) {
    std::string list;
    for (std::size_t i = 0; i < formats.All().size(); ++i) {
        if (i > 0) list += i + 1 == formats.All().size() ? " nebo " : ", ";
        list += formats.All()[i].Name;
    }
    return list;
}

// The format of --format, else the one the output's extension chooses.
const TOutputFormat& ChosenFormat(const TOutputFormats& formats, const TCliOptions& options, const std::string& output) {
    if (!options.Format) return formats.ForFile(output == "-" ? std::string() : output);
    for (const TOutputFormat& format : formats.All())
        if (format.Name == *options.Format) return format;
    throw UsageError{"neznámý formát '" + *options.Format + "' (" + NameList(formats) + ")"};
}

// Writes the output to standard output as it is made; a zip package (the
// workbook) never to a terminal, which its bytes would drive.
int WriteToStdout(const TZevraBatch& batch, const TOutputFormat& format) {
    if (format.Name == "html") return WriteStdout(batch.HtmlOutputBytes()) ? kExitOk : kExitFailure;
    const bool workbook = format.Name == WorkbookOutputFormat().Name;
    if (workbook && ::isatty(STDOUT_FILENO) != 0) {
        std::cerr << "Formát " << format.Name
                  << " nelze vypsat na terminál: přesměrujte standardní výstup do souboru nebo roury!\n";
        return kExitFailure;
    }
    if (!workbook && format.Name != "json") {
        std::cerr << "Formát " << format.Name << " nelze vypsat na standardní výstup!\n";
        return kExitFailure;
    }
    try {
        if (workbook)
            WriteWorkbook(batch, std::cout);
        else
            WriteBatchJson(batch, std::cout);
    } catch (const EZevraError&) {
        if (std::cout) throw;
        std::cerr << "Chyba při zápisu na standardní výstup!\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

std::string BatchFormatNames() {
    const TOutputFormats formats = BatchFormats();
    std::string names;
    for (const TOutputFormat& format : formats.All()) names += (names.empty() ? "" : "|") + format.Name;
    return names;
}

int RunBatch(const TCliOptions& options) {
    options.AcceptOnly({"--format"});
    const std::vector<std::string>& args = options.Files;
    const TOutputFormats formats = BatchFormats();
    if (args.size() != 2)
        throw UsageError{"batch očekává vstupní soubor a výstupní soubor (" + ExtensionList(formats) +
                         ", nebo --format " + BatchFormatNames() + ")"};
    const TOutputFormat& format = ChosenFormat(formats, options, args[1]);
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
        // A table longer than a sheet is refused before it is validated and run.
        if (format.Name == WorkbookOutputFormat().Name) CheckWorkbookRows(batch.InputData().RowCount(), args[1]);
        if (const int status = ValidateRows(batch); status >= 0) return status;
        {
            TTerminalProgress progress("Výpočet");
            batch.RunModelOnRows(progress.Callback());
        }
        if (args[1] == "-") return WriteToStdout(batch, format);
        format.Write(batch, args[1], {});
        return kExitOk;
    } catch (const std::exception& e) {
        return ReportFailure(e);
    }
}

}  // namespace zevra::cli
