// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_commands.h"
#include "cli_json.h"

#include "model/u_model.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"

#include <iostream>
#include <optional>

namespace zevra::cli {

namespace {

enum class TReportFormat { Markup, Text, Rtf, Json };

struct TEvaluateArgs {
    std::string InputFile;
    TReportFormat Format = TReportFormat::Markup;
    TSensitivitySettings Sensitivity;
};

TReportFormat ParseFormat(const std::string& name) {
    if (name == "markup") return TReportFormat::Markup;
    if (name == "text") return TReportFormat::Text;
    if (name == "rtf") return TReportFormat::Rtf;
    if (name == "json") return TReportFormat::Json;
    throw UsageError{"neznámý formát '" + name + "' (markup, text, rtf nebo json)"};
}

TEvaluateArgs ParseArgs(const std::vector<std::string>& args) {
    TEvaluateArgs parsed;
    std::optional<std::string> input;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--format") {
            if (i + 1 >= args.size()) throw UsageError{"--format vyžaduje markup, text, rtf nebo json"};
            parsed.Format = ParseFormat(args[++i]);
        } else if (a.rfind("--format=", 0) == 0) {
            parsed.Format = ParseFormat(a.substr(9));
        } else if (ParseSensitivityOption(args, i, parsed.Sensitivity)) {
        } else if (input || (a.size() > 1 && a[0] == '-')) {
            throw UsageError{"evaluate očekává jeden vstupní soubor a volbu --format"};
        } else {
            input = a;
        }
    }
    if (!input) throw UsageError{"evaluate očekává jeden vstupní soubor"};
    parsed.InputFile = *input;
    return parsed;
}

std::string RenderReport(const std::vector<std::string>& entries, TReportFormat format) {
    switch (format) {
        case TReportFormat::Text:
            return RenderPlainText(entries);
        case TReportFormat::Rtf:
            return RenderRtfDocument(entries);
        case TReportFormat::Markup:
        case TReportFormat::Json:
            break;
    }
    std::string text;
    for (const std::string& entry : entries) text += entry + '\n';
    return text;
}

}  // namespace

int RunEvaluate(const std::string& dataDir, const std::vector<std::string>& args) {
    const TEvaluateArgs parsed = ParseArgs(args);
    std::string report;
    try {
        TZevraModel model(dataDir);
        model.LoadInput(InputPath(parsed.InputFile));
        model.Evaluate();
        if (parsed.Format == TReportFormat::Json)
            report = EvaluationJson(model, AnalyseModelOutput(model, parsed.Sensitivity));
        else
            report = RenderReport(ComposeReportEntries(*model.Output()), parsed.Format);
    } catch (const std::exception& e) {
        std::cerr << TerminalText(e.what()) << '\n';
        return kExitFailure;
    }
    // RTF escapes everything itself and is a file format: its bytes pass. The
    // markup keeps its entries as they are, CR LF included; the plain text
    // has one line end on the terminal, LF.
    const std::string shown = parsed.Format == TReportFormat::Rtf      ? report
                              : parsed.Format == TReportFormat::Markup ? TerminalText(report, true)
                                                                       : TerminalText(report);
    return WriteStdout(shown) ? kExitOk : kExitFailure;
}

}  // namespace zevra::cli
