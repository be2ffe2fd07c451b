// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of the current input: the partial indicators, their
// deciles, the integrated indicator "Obyvatelstvo" with its verbal texts, and
// the most similar municipalities of the reference sample.
#include "model/u_model.h"

#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zevra {

namespace {

// The employer correction: a significant employer of the municipality's own
// lowers a disadvantaged commuting decile by four.
constexpr int kSignificantEmployer = 100;
constexpr int kEmployerCorrection = 4;
// Sample municipalities may differ in size by at most this share.
constexpr double kSizeTolerance = 0.3;
// Similar municipalities after the first one are kept only up to this rank.
constexpr double kMaxSimilarRank = 8;
// The most similar municipalities an output can list.
constexpr std::size_t kMaxSimilar = 10;

// Whether the sample municipality is the evaluated one itself: the same
// non-zero code, or, when either code is missing, the same name in the same
// region (or a region that cannot be found).
bool IsSelf(const TZevraInputData& input, const TZevraKraj* inputKraj, const TZevraSampleMunicipality& m) {
    if (input.Kod != 0 && m.Kod != 0) return input.Kod == m.Kod;
    if (!SameStr(input.Obec, m.Obec)) return false;
    return inputKraj == nullptr || SameStr(inputKraj->Nazev, m.KrajNazev);
}

}  // namespace

void TZevraModel::Evaluate(bool findSimilar) {
    const TZevraVerdict verdict = Judge(FInput);
    auto output = std::make_unique<TZevraOutputData>();
    output->Obec = FInput.Obec;
    output->Kraj = FInput.Kraj;
    output->Kod = FInput.Kod;
    output->KrajNazev = verdict.Kraj->Nazev;
    output->VodovodText = WaterWarningMarkup(verdict);
    output->VodovodHtml = WaterWarningHtml(verdict);
    output->SetIndicators(verdict.Indicators);
    output->Obyvatelstvo = verdict.Obyvatelstvo;
    output->Hodnoceni = AssessmentMarkup(verdict);
    output->HodnoceniHtml = AssessmentHtml(verdict);
    if (findSimilar) FindSimilarMunicipalities(FInput, verdict, *output);
    // Only a complete result replaces the previous one.
    FOutput = std::move(output);
}

TZevraVerdict TZevraModel::Judge(const TZevraInputData& input) const {
    Validate(input, nullptr, nullptr);
    TZevraVerdict verdict;
    verdict.Kraj = FindKraj(input.Kraj);
    if (verdict.Kraj == nullptr)
        throw EZevraError(
            FormatMessage("Kraj s číslem %d nebyl nalezen v seznamu krajů!", {FormatInt(input.Kraj)}));
    verdict.Indicators = ComputeIndicators(input, *verdict.Kraj);
    RankIndicators(input, verdict.Indicators);
    verdict.Obyvatelstvo = WeightedSum(DecilsOf(verdict.Indicators), WeightsInOrder(FWeights));
    verdict.WaterWarning = input.Vodovod == TTriBool::tbFalse;
    return verdict;
}

TZevraObyvatelstvoIndicators TZevraModel::ComputeIndicators(const TZevraInputData& input,
                                                            const TZevraKraj& kraj) const {
    TZevraObyvatelstvoIndicators indicators;
    for (const TIndicator& indicator : kIndicators) indicators.*indicator.Value = indicator.Compute(input, kraj);
    return indicators;
}

void TZevraModel::RankIndicators(const TZevraInputData& input, TZevraObyvatelstvoIndicators& indicators) const {
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TIndicator& indicator = kIndicators[k];
        std::int32_t& decil = indicators.*indicator.Decil;
        decil = IndicatorDecil(k, indicators.*indicator.Value);
        if (indicator.EmployerCorrection && decil >= kDisadvantagedDecil &&
            input.DominantniZamestnavatel >= kSignificantEmployer)
            decil -= kEmployerCorrection;
    }
}

int TZevraModel::IndicatorDecil(std::size_t indicator, double value) const {
    const int distribution = FIndicatorDistributions[indicator];
    // Without a distribution the lookup by code gives its own error.
    return distribution >= 0 ? DecilOf(FDecilDistributions[static_cast<std::size_t>(distribution)], value)
                             : GetDecil(kIndicatorCodes[indicator], value);
}

void TZevraModel::FindSimilarMunicipalities(const TZevraInputData& input, const TZevraVerdict& verdict,
                                            TZevraOutputData& output) const {
    TZevraSampleMunicipalities& similar = output.SimilarMunicipalities;
    similar.Clear();
    const auto own = DecilsOf(verdict.Indicators);
    const auto weights = WeightsInOrder(FWeights);

    // The candidates are ranked as sample indices in a fixed top list; only
    // the ones kept are copied at the end. The list behaves as the ranked
    // list fed in sample order does: a candidate goes after every entry of a
    // rank not above its own (so among equal ranks the earlier sample entry
    // stays first), a full list drops its last entry, and a candidate that
    // would be last in a full list is dropped. That is, it keeps the first
    // entries in the order of (rank, sample index), whatever order the
    // candidates come in.
    const std::size_t capacity =
        std::min<std::size_t>(kMaxSimilar, static_cast<std::size_t>(std::max(similar.MaxCount(), 0)));
    std::array<std::int32_t, kMaxSimilar> index{};
    std::array<double, kMaxSimilar> ranks{};
    std::size_t count = 0;
    if (capacity == 0) return;
    const auto before = [&](std::size_t at, double rank, std::int32_t i) {
        return ranks[at] < rank || (ranks[at] == rank && index[at] < i);
    };

    // The size filter |M - N| / N <= 0.3 as a bound on the integer
    // difference: the quotient grows with the difference, so the largest
    // difference that passes, found with the same division, decides.
    const std::int32_t size = input.ObyvateleCelkem;
    std::int64_t maxDifference = -1;
    for (std::int64_t d = static_cast<std::int64_t>(kSizeTolerance * size) + 2; d >= 0; --d) {
        if (static_cast<double>(d) / static_cast<double>(size) <= kSizeTolerance) {
            maxDifference = d;
            break;
        }
    }
    if (maxDifference < 0) return;
    const bool ownCode = input.Kod != 0;

    // The keys are sorted by population, so only those within the size
    // filter are visited.
    const std::int64_t smallest = static_cast<std::int64_t>(size) - maxDifference;
    const std::int64_t largest = static_cast<std::int64_t>(size) + maxDifference;
    auto key = std::lower_bound(FSampleKeys.begin(), FSampleKeys.end(), smallest,
                                [](const TSampleKey& k, std::int64_t v) { return k.ObyvateleCelkem < v; });
    // Each weighted squared difference of deciles, computed once per
    // evaluation: sample deciles lie in 1..10 (checked at load).
    std::array<std::array<double, 10>, kIndicatorCount> terms{};
    for (std::size_t k = 0; k < own.size(); ++k) {
        for (std::int64_t decil = 1; decil <= 10; ++decil)
            terms[k][static_cast<std::size_t>(decil - 1)] = SimilarityTerm(own[k], decil, weights[k]);
    }
    const std::size_t nameHash = std::hash<std::string_view>{}(input.Obec);
    for (; key != FSampleKeys.end() && key->ObyvateleCelkem <= largest; ++key) {
        if (ownCode && key->Kod != 0) {
            if (key->Kod == input.Kod) continue;
        } else if (key->ObecHash == nameHash && IsSelf(input, verdict.Kraj, *FSampleMunicipalities.Items(key->Index))) {
            // Only an entry of the same name can be the municipality itself.
            continue;
        }
        // Summed in indicator order, as the ranks always were.
        double distance = 0;
        for (std::size_t k = 0; k < own.size(); ++k) distance += terms[k][static_cast<std::size_t>(key->Decils[k] - 1)];
        const double rank = distance / kSimilarityScale;
        if (count == capacity && before(count - 1, rank, key->Index)) continue;
        std::size_t at = 0;
        while (at < count && before(at, rank, key->Index)) ++at;
        const std::size_t last = std::min(count, capacity - 1);
        for (std::size_t j = last; j > at; --j) {
            index[j] = index[j - 1];
            ranks[j] = ranks[j - 1];
        }
        index[at] = key->Index;
        ranks[at] = rank;
        if (count < capacity) ++count;
    }

    // The most similar municipality always stays; the others only while close.
    for (std::size_t j = 0; j < count; ++j) {
        if (j > 0 && ranks[j] > kMaxSimilarRank) continue;
        similar.AddRanked(*FSampleMunicipalities.Items(index[j]), ranks[j]);
    }
}

int TZevraModel::GetDecil(std::string_view code, double value) const {
    for (const TZevraDecilDistribution& distribution : FDecilDistributions)
        if (SameAsciiCaseless(distribution.Indikator, code)) return DecilOf(distribution, value);
    throw EZevraError(FormatMessage("Decilace indikátoru není k dispozici! [%s]", {code}));
}

int TZevraModel::DecilOf(const TZevraDecilDistribution& distribution, double value) {
    int decil = 10;
    for (int k = 0; k < 9; ++k) {
        if (!(value > distribution.Values[static_cast<std::size_t>(k)])) {
            decil = k + 1;
            break;
        }
    }
    return distribution.Asc ? decil : 11 - decil;
}

}  // namespace zevra
