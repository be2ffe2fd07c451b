// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The seven partial indicators in their fixed order dck, dvo, vs1, nvr, vkt,
// vea, rps, used everywhere: deciles, weighted sum, texts, similarity and
// report. Also the texts shared by the model's assessment and the report.
#pragma once

#include "model/u_ObyvatelstvoWeights.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zevra {

constexpr std::size_t kIndicatorCount = 7;

// The codes: keys of the data files and, upper-cased, batch output columns.
constexpr std::array<const char*, kIndicatorCount> kIndicatorCodes = {"dck", "dvo", "vs1", "nvr",
                                                                      "vkt", "vea", "rps"};

// A decile of 9 or 10 marks a disadvantage.
constexpr int kDisadvantagedDecil = 9;

constexpr const char* kCrLf = "\r\n";
// The separator line of the report and of the partial assessment.
constexpr const char* kSeparatorLine = "---------------------------------------------------------";

// The seven deciles of a record (indicators or sample municipality).
template <typename TRecord>
std::array<std::int32_t, kIndicatorCount> DecilsOf(const TRecord& r) {
    return {r.DecilDck, r.DecilDvo, r.DecilVs1, r.DecilNvr, r.DecilVkt, r.DecilVea, r.DecilRps};
}

inline std::array<double, kIndicatorCount> WeightsInOrder(const TZevraObyvatelstvoWeights& w) {
    return {w.Dck, w.Dvo, w.Vs1, w.Nvr, w.Vkt, w.Vea, w.Rps};
}

}  // namespace zevra
