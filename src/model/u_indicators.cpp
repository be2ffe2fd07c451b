// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_indicators.h"

#include <algorithm>

namespace zevra {

namespace {

constexpr const char* kBandNames[kBandCount] = {"0-400", "400-700", "700-1000"};
constexpr double kMiddleBandAbove = 400;
constexpr double kHighBandFrom = 700;

}  // namespace

int BandOf(double obyvatelstvo) {
    if (obyvatelstvo >= kHighBandFrom) return static_cast<int>(TBand::High);
    if (obyvatelstvo > kMiddleBandAbove) return static_cast<int>(TBand::Middle);
    return static_cast<int>(TBand::Low);
}

const char* BandName(int band) { return kBandNames[std::clamp(band, 0, kBandCount - 1)]; }

double WeightedSum(const TDecils& decils, const TWeights& weights) {
    double sum = 0;
    for (std::size_t k = 0; k < kIndicatorCount; ++k) sum += decils[k] * weights[k];
    return sum;
}

}  // namespace zevra
