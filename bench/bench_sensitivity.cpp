// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how long the sensitivity analysis of the band to the weights takes:
// 10,000 Monte Carlo draws plus the one-at-a-time variants, for the example
// municipality with the shipped weights. Target: well under 50 ms.
#include "model/u_model.h"
#include "model/u_sensitivity.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace {

#if defined(__OPTIMIZE__) && defined(NDEBUG)
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

}  // namespace

int main() {
    using Clock = std::chrono::steady_clock;
    std::cout << "build: " << (kOptimised ? "optimised (NDEBUG)" : "UNOPTIMISED OR WITH ASSERTIONS") << '\n';
    if (!kOptimised)
        std::cout << "WARNING: these figures mean nothing; build with -DCMAKE_BUILD_TYPE=Release\n";

    zevra::TZevraModel model(ZEVRA_DATA_SOURCE_DIR);
    model.LoadInput(std::string(ZEVRA_EXAMPLES_DIR) + "/znevyhodnena-obec.txt");
    model.Evaluate();
    const zevra::TDecils decils = zevra::DecilsOf(model.Output()->Indicators);
    const zevra::TWeights weights = zevra::WeightsInOrder(model.Weights());

    constexpr int kRuns = 50;
    std::vector<double> ms;
    zevra::TSensitivityResult result;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        result = zevra::AnalyseSensitivity(decils, weights);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::cout << "sensitivity, " << result.Settings.Draws << " draws + one-at-a-time, " << kRuns
              << " runs: median " << ms[ms.size() / 2] << " ms, worst " << ms.back() << " ms (target < 50 ms)\n";
    std::cout << zevra::SensitivitySentence(result) << '\n';
    return 0;
}
