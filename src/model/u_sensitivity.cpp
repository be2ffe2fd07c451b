// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_sensitivity.h"

#include "model/u_object.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace zevra {

namespace {

// Shares of the original band from which the verdict counts as stable, or as
// rather stable; below the second it is uncertain.
constexpr int kStablePercent = 90;
constexpr int kFairlyStablePercent = 66;

// The weights multiplied by the factors and rescaled to the original sum. When
// the scaled weights add up to nothing (all weights zero) they stay as given.
TWeights Rescaled(const TWeights& weights, const TWeights& factors, double originalSum) {
    TWeights scaled{};
    double sum = 0;
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        scaled[k] = weights[k] * factors[k];
        sum += scaled[k];
    }
    if (!(sum > 0)) return weights;
    const double ratio = originalSum / sum;
    for (double& w : scaled) w *= ratio;
    return scaled;
}

double Percentile(const std::vector<double>& sorted, double p) {
    const double position = p * static_cast<double>(sorted.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(position));
    const std::size_t upper = std::min(lower + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(lower);
    return sorted[lower] + (sorted[upper] - sorted[lower]) * fraction;
}

}  // namespace

TWeights SimilarityContributions(const TDecils& own, const TDecils& theirs, const TWeights& weights) {
    TWeights shares{};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        shares[k] = SimilarityTerm(own[k], theirs[k], weights[k]) / kSimilarityScale;
    }
    return shares;
}

double UnitUniform(std::uint64_t bits) {
    // The top 53 bits as a fraction: exactly representable, never 1.
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

double TSensitivityResult::BandShare(int band) const {
    if (Settings.Draws <= 0) return 0;
    return static_cast<double>(BandCounts[static_cast<std::size_t>(band)]) / Settings.Draws;
}

int TSensitivityResult::BandPercent(int band) const {
    if (Settings.Draws <= 0) return 0;
    return static_cast<int>(static_cast<std::int64_t>(BandCounts[static_cast<std::size_t>(band)]) * 100 /
                            Settings.Draws);
}

TSensitivityResult AnalyseSensitivity(const TDecils& decils, const TWeights& weights,
                                      const TSensitivitySettings& settings) {
    if (settings.Draws < 1 || settings.Draws > kMaxSensitivityDraws)
        throw EZevraError("Počet variant vah musí být celé číslo od 1 do " +
                          std::to_string(kMaxSensitivityDraws) + "!");
    if (!(settings.Spread >= 0 && settings.Spread <= kMaxSensitivitySpread))
        throw EZevraError("Rozptyl vah musí být číslo od 0 do 1!");

    TSensitivityResult result;
    result.Settings = settings;
    result.Obyvatelstvo = WeightedSum(decils, weights);
    result.Band = BandOf(result.Obyvatelstvo);
    double originalSum = 0;
    for (double w : weights) originalSum += w;

    std::mt19937_64 generator(settings.Seed);
    std::vector<double> values(static_cast<std::size_t>(settings.Draws));
    TWeights factors{};
    for (double& value : values) {
        for (double& f : factors) f = 1 - settings.Spread + 2 * settings.Spread * UnitUniform(generator());
        value = WeightedSum(decils, Rescaled(weights, factors, originalSum));
        ++result.BandCounts[static_cast<std::size_t>(BandOf(value))];
    }
    std::sort(values.begin(), values.end());
    result.Minimum = values.front();
    result.Maximum = values.back();
    result.Percentile5 = Percentile(values, 0.05);
    result.Percentile95 = Percentile(values, 0.95);

    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        TOneAtATime& oat = result.OneAtATime[k];
        TWeights single{};
        single.fill(1);
        single[k] = 0.5;
        oat.ObyvatelstvoLow = WeightedSum(decils, Rescaled(weights, single, originalSum));
        single[k] = 1.5;
        oat.ObyvatelstvoHigh = WeightedSum(decils, Rescaled(weights, single, originalSum));
        oat.BandLow = BandOf(oat.ObyvatelstvoLow);
        oat.BandHigh = BandOf(oat.ObyvatelstvoHigh);
        oat.MovesBand = oat.BandLow != result.Band || oat.BandHigh != result.Band;
    }
    return result;
}

std::string SensitivitySentence(const TSensitivityResult& result) {
    const int percent = result.BandPercent(result.Band);
    const std::string band = BandName(result.Band);
    // The band the other variants fall into most often.
    int other = -1;
    for (int b = 0; b < kBandCount; ++b)
        if (b != result.Band && (other < 0 || result.BandCounts[static_cast<std::size_t>(b)] >
                                                  result.BandCounts[static_cast<std::size_t>(other)]))
            other = b;
    const std::string otherText = std::string(", jinak vychází pásmo ") + BandName(other) + ".";
    if (percent >= kStablePercent)
        return "Zařazení do pásma " + band + " je stabilní: platí v " + std::to_string(percent) +
               " % variant vah.";
    if (percent >= kFairlyStablePercent)
        return "Zařazení do pásma " + band + " je poměrně stabilní: platí v " + std::to_string(percent) +
               " % variant vah" + otherText;
    return "Zařazení do pásma " + band + " je nejisté: platí jen v " + std::to_string(percent) +
           " % variant vah" + otherText;
}

}  // namespace zevra
