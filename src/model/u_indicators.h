// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The partial indicators in their fixed order, each described once: how it
// is computed from the input, where its value, decile and weight are kept,
// its key in the data files, its names and its partial assessment. Every
// list, loop and count over indicators is derived from kIndicators, so an
// indicator is added here (and in the records, the reference data and the
// input page), nowhere else. Also the integrated indicator "Obyvatelstvo"
// (weighted sum and bands) and the similarity distance, computed only here.
#pragma once

#include "model/u_ObyvatelstvoIndicators.h"
#include "model/u_ObyvatelstvoWeights.h"
#include "model/u_SampleMunicipalities.h"
#include "model/u_inputdata.h"
#include "model/u_kraj.h"
#include "model/u_limits.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zevra {

// 100 * part / whole as a percentage; 0 when the whole is not positive. The
// product is formed in 64 bits so that no input can overflow it.
constexpr double Percentage(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return 0;
    return static_cast<double>(part * 100) / static_cast<double>(whole);
}

struct TIndicator {
    // The key in the data files; upper-cased, the batch output column.
    const char* Code;
    // The name in the report, the profile and the JSON.
    const char* Label;
    // The short column header of the batch outputs, in two lines.
    std::array<const char*, 2> ShortHeader;
    // Shown in the assessment when the indicator is disadvantaged.
    const char* PartialText;
    // The value from the input (and the region the input names).
    double (*Compute)(const TZevraInputData& input, const TZevraKraj& kraj);
    // A significant employer of the municipality's own lowers the decile.
    bool EmployerCorrection;
    // The values the indicator takes for inputs within the limits: what a
    // decile boundary of the reference data may be.
    limits::TPlausibleRange BoundaryRange;
    double TZevraObyvatelstvoIndicators::*Value;
    std::int32_t TZevraObyvatelstvoIndicators::*Decil;
    double TZevraObyvatelstvoWeights::*Weight;
    std::int32_t TZevraSampleMunicipality::*SampleDecil;
};

namespace indicator_table {
using TIn = const TZevraInputData&;
using TKr = const TZevraKraj&;
using TOI = TZevraObyvatelstvoIndicators;
using TOW = TZevraObyvatelstvoWeights;
using TSM = TZevraSampleMunicipality;

inline constexpr TIndicator kAll[] = {
    {"dck", "Dojížďkový čas do krajského města", {"Doj.čas", "kraj.m."},
     "[i]Obec je znevýhodněna z hlediska polohy v kraji .[/i]",
     [](TIn in, TKr) -> double { return in.KrMestoMin; }, false, {0, limits::kMaxTravelMinutes},
     &TOI::Dck, &TOI::DecilDck, &TOW::Dck, &TSM::DecilDck},
    {"dvo", "Dojížďková vzdálenost od okresního města", {"Doj.vzd.", "okr.m."},
     "[i]Obec je znevýhodněna z hlediska polohy.[/i]",
     [](TIn in, TKr) -> double { return in.OkrMestoKm; }, false, {0, limits::kMaxDistrictKm},
     &TOI::Dvo, &TOI::DecilDvo, &TOW::Dvo, &TSM::DecilDvo},
    {"vs1", "Dostupnost silnice 1. třídy", {"Silnice", "1.tř"},
     "[i]Obec je znevýhodněna z hlediska dopravní dostupnosti.[/i]",
     [](TIn in, TKr) -> double { return in.Silnice1TrM; }, false, {0, limits::kMaxRoadMetres},
     &TOI::Vs1, &TOI::DecilVs1, &TOW::Vs1, &TSM::DecilVs1},
    {"nvr", "Nadmořská výška", {"Nadm.", "výška"},
     "[i]Obec leží ve vyšší nadmořské výšce, než je krajský průměr.[/i]",
     [](TIn in, TKr kraj) { return in.NadmVyska - kraj.NadmVyska; }, false,
     {limits::kMinAltitude - limits::kMaxAltitude, limits::kMaxAltitude - limits::kMinAltitude},
     &TOI::Nvr, &TOI::DecilNvr, &TOW::Nvr, &TSM::DecilNvr},
    {"vkt", "Velikost katastru", {"Velikost", "katastru"},
     "[i]Obec obsluhuje velké katastrální území, což může působit problémy s obslužností, inženýrskými "
     "sítěmi apod.[/i]",
     [](TIn in, TKr) { return in.KatastrCelkem; }, false, {0, limits::kMaxCadastre},
     &TOI::Vkt, &TOI::DecilVkt, &TOW::Vkt, &TSM::DecilVkt},
    {"vea", "Podíl vyjíždějících na ek. akt. obyv.", {"Podíl", "vyjížď."},
     "[i]Obec je znevýhodněna polohou v oblasti s malými možnostmi zaměstnání a sama na svém území nemá "
     "významného zaměstnavatele[/i]",
     [](TIn in, TKr) {
         return Percentage(in.ObyvateleVyjizdejici, static_cast<std::int64_t>(in.ObyvateleEA) - in.ObyvateleNezamestnani);
     },
     true, {0, 100}, &TOI::Vea, &TOI::DecilVea, &TOW::Vea, &TSM::DecilVea},
    {"rps", "Podíl rolníku na podnikatelských subjektech", {"Podíl", "rolníků"},
     "[i]Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu podnikatelských "
     "subjektů.[/i]",
     [](TIn in, TKr) { return Percentage(in.PodnikateleRolnici2006, in.PodnikateleCelkem2006); }, false, {0, 100},
     &TOI::Rps, &TOI::DecilRps, &TOW::Rps, &TSM::DecilRps},
};
}  // namespace indicator_table

inline constexpr const auto& kIndicators = indicator_table::kAll;
constexpr std::size_t kIndicatorCount = std::size(kIndicators);

// One field of every indicator, in the fixed order.
template <class T>
constexpr std::array<T, kIndicatorCount> IndicatorColumn(T TIndicator::*field) {
    std::array<T, kIndicatorCount> column{};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) column[k] = kIndicators[k].*field;
    return column;
}

// The codes: keys of the data files and, upper-cased, batch output columns.
inline constexpr std::array<const char*, kIndicatorCount> kIndicatorCodes = IndicatorColumn(&TIndicator::Code);
// The names of the report, the profile and the JSON.
inline constexpr std::array<const char*, kIndicatorCount> kIndicatorLabels = IndicatorColumn(&TIndicator::Label);

// A decile of 9 or 10 marks a disadvantage.
constexpr int kDisadvantagedDecil = 9;

constexpr const char* kCrLf = "\r\n";
// The separator line of the report and of the partial assessment.
constexpr const char* kSeparatorLine = "---------------------------------------------------------";

using TDecils = std::array<std::int32_t, kIndicatorCount>;
using TWeights = std::array<double, kIndicatorCount>;

// The deciles of an evaluation or of a sample municipality.
inline TDecils DecilsOf(const TZevraObyvatelstvoIndicators& r) {
    TDecils decils{};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) decils[k] = r.*kIndicators[k].Decil;
    return decils;
}
inline TDecils DecilsOf(const TZevraSampleMunicipality& r) {
    TDecils decils{};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) decils[k] = r.*kIndicators[k].SampleDecil;
    return decils;
}

inline TWeights WeightsInOrder(const TZevraObyvatelstvoWeights& w) {
    TWeights weights{};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) weights[k] = w.*kIndicators[k].Weight;
    return weights;
}

// The bands of the integrated indicator, low to high (700 belongs to the
// top band, 400 to the bottom).
enum class TBand { Low, Middle, High };
constexpr int kBandCount = 3;
// The band as 0, 1, 2 and its range, e.g. "400-700".
int BandOf(double obyvatelstvo);
const char* BandName(int band);
inline TBand BandOfValue(double obyvatelstvo) { return static_cast<TBand>(BandOf(obyvatelstvo)); }

// The integrated indicator: the weighted sum of the deciles, summed in the
// fixed order.
double WeightedSum(const TDecils& decils, const TWeights& weights);

// The similarity distance of two municipalities: per indicator weight x
// (difference of deciles)^2, summed in the fixed order and divided by
// kSimilarityScale, gives the rank the similar-municipality list shows.
constexpr double kSimilarityScale = 100;
inline double SimilarityTerm(std::int64_t ownDecil, std::int64_t theirDecil, double weight) {
    const std::int64_t difference = theirDecil - ownDecil;
    return static_cast<double>(difference * difference) * weight;
}

}  // namespace zevra
