// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// How robust the band of "Obyvatelstvo" is to the weights, and why a sample
// municipality is as similar as it is. Both work on the deciles after the
// employer correction and on the weights in the fixed indicator order.
#pragma once

#include "model/u_indicators.h"

#include <array>
#include <cstdint>
#include <string>

namespace zevra {

// Each indicator's share of the similarity distance between two
// municipalities (SimilarityTerm / kSimilarityScale). The shares add up to
// the rank the similar-municipality list shows.
TWeights SimilarityContributions(const TDecils& own, const TDecils& theirs, const TWeights& weights);

struct TSensitivitySettings {
    int Draws = 10000;    // Monte Carlo draws
    double Spread = 0.25; // every weight is multiplied by a factor in [1 - Spread, 1 + Spread]
    std::uint64_t Seed = 0x5A45565241ull;  // fixed, so the same input always gives the same figures
};

// Limits of the settings; AnalyseSensitivity refuses anything outside.
constexpr int kMaxSensitivityDraws = 10000000;
constexpr double kMaxSensitivitySpread = 1.0;

// One indicator's weight at 50 % and at 150 % (all weights then rescaled to
// their original sum).
struct TOneAtATime {
    double ObyvatelstvoLow = 0;   // weight at 50 %
    double ObyvatelstvoHigh = 0;  // weight at 150 %
    int BandLow = 0;
    int BandHigh = 0;
    bool MovesBand = false;  // either change alone gives another band
};

struct TSensitivityResult {
    TSensitivitySettings Settings;
    double Obyvatelstvo = 0;  // with the weights as they are
    int Band = 0;
    std::array<int, kBandCount> BandCounts{};  // draws per band
    double Percentile5 = 0;
    double Percentile95 = 0;
    double Minimum = 0;
    double Maximum = 0;
    std::array<TOneAtATime, kIndicatorCount> OneAtATime{};

    double BandShare(int band) const;  // 0..1
    // Whole per cent of the draws in `band`, rounded down (100 only when all are).
    int BandPercent(int band) const;
};

// Monte Carlo and one-at-a-time analysis. Each draw multiplies every weight by
// an independent factor uniform in [1 - s, 1 + s] and rescales the weights to
// their original sum. The percentiles interpolate linearly between the sorted
// values. Throws EZevraError (Czech) for draws outside 1..kMaxSensitivityDraws
// or a spread outside 0..kMaxSensitivitySpread.
TSensitivityResult AnalyseSensitivity(const TDecils& decils, const TWeights& weights,
                                      const TSensitivitySettings& settings = {});

// One Czech sentence for a non-statistician, e.g. "Zařazení do pásma 400-700
// je stabilní: platí v 97 % variant vah."
std::string SensitivitySentence(const TSensitivityResult& result);

// The generator of the draws: std::mt19937_64 with our own mapping to [0, 1),
// so the figures do not depend on the standard library's distributions.
double UnitUniform(std::uint64_t bits);

}  // namespace zevra
