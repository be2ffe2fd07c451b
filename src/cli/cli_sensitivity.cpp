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

#include <iostream>
#include <optional>

namespace zevra::cli {

namespace {

// "--name VALUE" or "--name=VALUE" at args[i]; advances i past the value.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name) {
    const std::string& a = args[i];
    if (a == name) {
        if (i + 1 >= args.size()) throw UsageError{name + " vyžaduje hodnotu"};
        return args[++i];
    }
    if (a.rfind(name + "=", 0) == 0) return a.substr(name.size() + 1);
    return std::nullopt;
}

std::string Percent(double share) { return FormatFixed(share * 100, 1) + " %"; }

}  // namespace

bool ParseSensitivityOption(const std::vector<std::string>& args, std::size_t& i, TSensitivitySettings& settings) {
    if (const auto draws = OptionValue(args, i, "--draws")) {
        std::int32_t value = 0;
        if (!TryParseInteger(*draws, value) || value < 1 || value > kMaxSensitivityDraws)
            throw UsageError{"--draws vyžaduje celé číslo od 1 do " + FormatInt(kMaxSensitivityDraws)};
        settings.Draws = value;
        return true;
    }
    if (const auto spread = OptionValue(args, i, "--spread")) {
        double value = 0;
        if (!TryParseNumber(*spread, value) || !(value >= 0 && value <= kMaxSensitivitySpread))
            throw UsageError{"--spread vyžaduje číslo od 0 do 1 (například 0.25)"};
        settings.Spread = value;
        return true;
    }
    return false;
}

TSensitivityResult AnalyseModelOutput(const TZevraModel& model, const TSensitivitySettings& settings) {
    return AnalyseSensitivity(DecilsOf(model.Output()->Indicators), WeightsInOrder(model.Weights()), settings);
}

int RunSensitivity(const std::string& dataDir, const std::vector<std::string>& args) {
    TSensitivitySettings settings;
    std::optional<std::string> input;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (ParseSensitivityOption(args, i, settings)) continue;
        if (input || (args[i].size() > 1 && args[i][0] == '-'))
            throw UsageError{"sensitivity očekává jeden vstupní soubor a volby --draws a --spread"};
        input = args[i];
    }
    if (!input) throw UsageError{"sensitivity očekává jeden vstupní soubor"};

    std::string text;
    try {
        TZevraModel model(dataDir);
        model.LoadInput(InputPath(*input));
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
        std::cerr << TerminalText(e.what()) << '\n';
        return kExitFailure;
    }
    return WriteStdout(text) ? kExitOk : kExitFailure;
}

}  // namespace zevra::cli
