// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_commands.h"

#include "batch/core/u_evaluationjson.h"
#include "model/u_model.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"

namespace zevra::cli {

namespace {

enum class TReportFormat { Markup, Text, Rtf, Json };

TReportFormat ParseFormat(const std::string& name) {
    if (name == "markup") return TReportFormat::Markup;
    if (name == "text") return TReportFormat::Text;
    if (name == "rtf") return TReportFormat::Rtf;
    if (name == "json") return TReportFormat::Json;
    throw UsageError{"neznámý formát '" + name + "' (markup, text, rtf nebo json)"};
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

int RunEvaluate(const TCliOptions& options) {
    // --draws and --spread shape the sensitivity figures of the JSON.
    options.AcceptOnly({"--format", "--draws", "--spread"});
    if (options.Files.empty()) throw UsageError{"evaluate očekává jeden vstupní soubor"};
    if (options.Files.size() > 1) throw UsageError{"evaluate očekává jeden vstupní soubor a volbu --format"};
    const TReportFormat format = options.Format ? ParseFormat(*options.Format) : TReportFormat::Markup;
    const TSensitivitySettings settings = SensitivitySettings(options);
    std::string report;
    try {
        TZevraModel model(options.DataDir);
        LoadModelInput(model, options.Files[0]);
        model.Evaluate();
        if (format == TReportFormat::Json)
            report = EvaluationJson(model, AnalyseModelOutput(model, settings));
        else
            report = RenderReport(ComposeReportEntries(*model.Output()), format);
    } catch (const std::exception& e) {
        return ReportFailure(e);
    }
    // RTF escapes everything itself and is a file format: its bytes pass. The
    // markup keeps its entries as they are, CR LF included; the plain text
    // has one line end on the terminal, LF. JSON has escaped every C0
    // control itself; a C1 control is shown as \u0090, which JSON reads as
    // the same character.
    const std::string shown = format == TReportFormat::Rtf      ? report
                              : format == TReportFormat::Markup ? TerminalText(report, true)
                                                                : TerminalText(report);
    return WriteStdout(shown) ? kExitOk : kExitFailure;
}

}  // namespace zevra::cli
