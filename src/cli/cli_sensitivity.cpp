// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli sensitivity INPUT.txt [--draws N] [--spread S]: how robust the
// band of one municipality is to the weights, as text. Also the settings
// parser that evaluate --format json shares.
#include "cli_commands.h"

#include "model/u_format.h"
#include "model/u_model.h"
#include "model/u_sensitivity.h"
#include "report/u_report.h"

namespace zevra::cli {

namespace {

std::string Percent(double share) { return FormatFixed(share * 100, 1) + " %"; }

}  // namespace

TSensitivitySettings SensitivitySettings(const TCliOptions& options) {
    TSensitivitySettings settings;
    if (options.Draws) {
        std::int32_t value = 0;
        if (!TryParseInteger(*options.Draws, value) || value < 1 || value > kMaxSensitivityDraws)
            throw UsageError{"--draws vyžaduje celé číslo od 1 do " + FormatInt(kMaxSensitivityDraws)};
        settings.Draws = value;
    }
    if (options.Spread) {
        double value = 0;
        if (!TryParseNumber(*options.Spread, value) || !(value >= 0 && value <= kMaxSensitivitySpread))
            throw UsageError{"--spread vyžaduje číslo od 0 do 1 (například 0.25)"};
        settings.Spread = value;
    }
    return settings;
}

TSensitivityResult AnalyseModelOutput(const TZevraModel& model, const TSensitivitySettings& settings) {
    return AnalyseSensitivity(DecilsOf(model.Output()->Indicators), WeightsInOrder(model.Weights()), settings);
}

int RunSensitivity(const TCliOptions& options) {
    options.AcceptOnly({"--draws", "--spread"});
    if (options.Files.empty()) throw UsageError{"sensitivity očekává jeden vstupní soubor"};
    if (options.Files.size() > 1)
        throw UsageError{"sensitivity očekává jeden vstupní soubor a volby --draws a --spread"};
    const TSensitivitySettings settings = SensitivitySettings(options);

    std::string text;
    try {
        TZevraModel model(options.DataDir);
        LoadModelInput(model, options.Files[0]);
        model.Evaluate();
        const TSensitivityResult r = AnalyseModelOutput(model, settings);
        text += "Obec: " + model.Output()->Obec + "\n";
        text += "Obyvatelstvo: " + FormatFixed(r.Obyvatelstvo, 1) + " (pásmo " + BandName(r.Band) + ")\n\n";
        text += "Náhodné varianty vah: " + FormatInt(settings.Draws) + ", každá váha vynásobena číslem od " +
                FormatFixed(1 - settings.Spread, 2) + " do " + FormatFixed(1 + settings.Spread, 2) +
                " a váhy přepočteny na původní součet\n";
        for (int b = 0; b < kBandCount; ++b)
            text += std::string("  pásmo ") + BandName(b) + ": " + Percent(r.BandShare(b)) + " variant\n";
        text += "  Obyvatelstvo: 5. percentil " + FormatFixed(r.Percentile5, 1) + ", 95. percentil " +
                FormatFixed(r.Percentile95, 1) + ", rozpětí " + FormatFixed(r.Minimum, 1) + " až " +
                FormatFixed(r.Maximum, 1) + "\n\n";
        text += "Váha jednoho indikátoru na 50 % a 150 % (ostatní přepočteny):\n";
        for (std::size_t k = 0; k < kIndicatorCount; ++k) {
            const TOneAtATime& o = r.OneAtATime[k];
            text += std::string("  ") + kIndicatorLabels[k] + ": " + FormatFixed(o.ObyvatelstvoLow, 1) + " / " +
                    FormatFixed(o.ObyvatelstvoHigh, 1) + (o.MovesBand ? "  - mění pásmo" : "") + "\n";
        }
        text += "\n" + SensitivitySentence(r) + "\n";
    } catch (const std::exception& e) {
        return ReportFailure(e);
    }
    // The name and every other text of the data reach the terminal escaped.
    return WriteStdout(TerminalText(text)) ? kExitOk : kExitFailure;
}

}  // namespace zevra::cli
