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

// The value that would stand at the given index if the values were sorted.
// Only a few order statistics are needed, so the values are partitioned rather
// than sorted (linear instead of n log n; the same numbers). Indices must be
// asked for in ascending order: each call partitions only what lies above the
// previous one.
class TOrderStatistics {
public:
    explicit TOrderStatistics(std::vector<double>& values) : Values(values) {}

    double At(std::size_t index) {
        const auto first = Values.begin() + static_cast<std::ptrdiff_t>(Done);
        const auto nth = Values.begin() + static_cast<std::ptrdiff_t>(index);
        if (index >= Done) {
            std::nth_element(first, nth, Values.end());
            Done = index + 1;
        }
        return *nth;
    }

private:
    std::vector<double>& Values;
    std::size_t Done = 0;
};

// The p-th quantile with linear interpolation between the neighbouring
// sorted values.
double Percentile(TOrderStatistics& order, std::size_t count, double p) {
    const double position = p * static_cast<double>(count - 1);
    const auto lower = static_cast<std::size_t>(std::floor(position));
    const std::size_t upper = std::min(lower + 1, count - 1);
    const double fraction = position - static_cast<double>(lower);
    const double low = order.At(lower);
    const double high = order.At(upper);
    return low + (high - low) * fraction;
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
    const std::size_t count = values.size();
    TOrderStatistics order(values);
    result.Minimum = order.At(0);
    result.Percentile5 = Percentile(order, count, 0.05);
    result.Percentile95 = Percentile(order, count, 0.95);
    result.Maximum = order.At(count - 1);

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
