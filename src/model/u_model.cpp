// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_model.h"

#include "model/u_format.h"
#include "model/u_indicators.h"
#include "model/u_limits.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>

namespace zevra {

namespace {

// Damaged or wrongly edited reference data would give plausible wrong
// results (a cut decile list reads its missing boundaries as 0, an empty
// weights file gives the best band to everyone); they are refused at start.
[[noreturn]] void Refuse(const std::string& what, const std::string& path) {
    throw EZevraError(PathMessage("Chybná referenční data: " + what + "!", path));
}

void CheckDecilDists(const std::vector<TZevraDecilDistribution>& dists, const std::string& path) {
    for (const TZevraDecilDistribution& d : dists) {
        const std::string name = "rozdělení decilů '" + EchoValue(d.Indikator) + "'";
        if (d.ValuesRead != 0x1FF) Refuse(name + " nemá všech devět hranic Value1 až Value9", path);
        for (std::size_t k = 0; k < d.Values.size(); ++k) {
            if (!std::isfinite(d.Values[k]))
                Refuse(name + ": hranice Value" + FormatInt(static_cast<long long>(k + 1)) + " není konečné číslo", path);
            if (k > 0 && d.Values[k] < d.Values[k - 1])
                Refuse(name + ": hranice Value" + FormatInt(static_cast<long long>(k + 1)) +
                           " je menší než předchozí", path);
        }
    }
}

void CheckWeights(const TZevraObyvatelstvoWeights& w, const std::string& path) {
    double sum = 0;
    for (const TIndicator& indicator : kIndicators) {
        const double value = w.*indicator.Weight;
        if (!std::isfinite(value) || value < 0)
            Refuse(std::string("váha '") + indicator.Code + "' musí být konečné nezáporné číslo", path);
        sum += value;
    }
    if (!(sum > 0) || !std::isfinite(sum)) Refuse("součet vah musí být kladné konečné číslo", path);
}

void CheckRegions(const std::vector<TZevraKraj>& kraje, const std::string& path) {
    std::set<std::int32_t> seen;
    for (const TZevraKraj& k : kraje) {
        const std::string name = "kraj číslo " + FormatInt(k.Region);
        if (!seen.insert(k.Region).second) Refuse(name + " je uveden dvakrát", path);
        if (IsBlank(k.Nazev)) Refuse(name + " nemá název", path);
        if (!std::isfinite(k.NadmVyska)) Refuse(name + ": nadmořská výška není konečné číslo", path);
    }
}

void CheckSample(const TZevraSampleMunicipalities& sample, const std::string& path) {
    for (int i = 0; i < sample.Count(); ++i) {
        const TZevraSampleMunicipality& m = *sample.Items(i);
        // The name is written only for a refusal: a sample has thousands of entries.
        const auto refuse = [&](const std::string& what) { Refuse("obec '" + EchoValue(m.Obec) + "': " + what, path); };
        for (std::int32_t decil : DecilsOf(m)) {
            if (decil < limits::kSampleDecilRange.Min || decil > limits::kSampleDecilRange.Max)
                refuse("decil " + FormatInt(decil) + " neleží v rozsahu 1 až 10");
        }
        if (m.ObyvateleCelkem <= 0) refuse("počet obyvatel musí být kladný");
    }
}

// The checks below name the line of the damaged value. They run after the
// ones above, which judge a file as a whole.
[[noreturn]] void RefuseAt(const std::string& what, const std::string& path, std::uint32_t line) {
    throw EZevraError(PathMessage("Chybná referenční data: " + what + "!", path, ", řádek " + FormatInt(line)));
}

// A number read from a reference file: not subnormal (no sound value lies so
// close to 0 without being 0; such a value prints as 0 and computes as
// nothing) and within its plausible range. `owner` names the record.
void CheckNumber(const std::string& owner, const std::string& key, double value, const limits::TPlausibleRange& range,
                 const std::string& path, std::uint32_t line) {
    const std::string named = owner + key + " = " + FormatShortest(value);
    if (std::fpclassify(value) == FP_SUBNORMAL) RefuseAt(named + " je nepatrně malé (podnormální) číslo", path, line);
    if (!(value >= range.Min && value <= range.Max))
        RefuseAt(named + " neleží v rozsahu " + FormatShortest(range.Min) + " až " + FormatShortest(range.Max), path,
                 line);
}

// Keys `from` to `to` - 1 (indices into `keys`) must each have a line in the
// record.
template <std::size_t N>
void CheckKeysPresent(const std::string& owner, const std::array<const char*, N>& keys, std::size_t from,
                      std::size_t to, const TRecordLines& lines, const std::string& path, std::uint32_t line) {
    for (std::size_t k = from; k < to; ++k) {
        if (lines.Keys[k] == 0) RefuseAt(owner + "chybí klíč '" + keys[k] + "'", path, line);
    }
}

// A second record for what an earlier record already gave (an indicator, a
// municipality code) is refused: which one the file meant cannot be told.
template <class Id>
void CheckFirstOccurrence(std::map<Id, std::uint32_t>& seen, const Id& id, const std::string& what,
                          const std::string& path, std::uint32_t line) {
    const auto [at, inserted] = seen.emplace(id, line);
    if (!inserted) RefuseAt(what + " je uveden podruhé (poprvé na řádku " + FormatInt(at->second) + ")", path, line);
}

void CheckDecilDistLines(const std::vector<TZevraDecilDistribution>& dists, const std::vector<TRecordLines>& lines,
                         const std::string& path) {
    std::map<std::size_t, std::uint32_t> seen;
    for (std::size_t i = 0; i < dists.size(); ++i) {
        const TZevraDecilDistribution& d = dists[i];
        const std::string owner = "rozdělení decilů '" + EchoValue(d.Indikator) + "': ";
        std::size_t k = 0;
        while (k < kIndicatorCount && !SameAsciiCaseless(d.Indikator, kIndicatorCodes[k])) ++k;
        if (k == kIndicatorCount) RefuseAt(owner + "neznámý indikátor", path, lines[i].Start);
        CheckFirstOccurrence(seen, k, "blok DecilDist indikátoru '" + EchoValue(d.Indikator) + "'", path,
                             lines[i].Start);
        for (std::size_t v = 0; v < d.Values.size(); ++v)
            CheckNumber(owner, kDecilDistKeys[v + 2], d.Values[v], kIndicators[k].BoundaryRange, path,
                        lines[i].Keys[v + 2]);
    }
}

void CheckMuniInfoLines(const std::vector<TZevraMunicipalityInfo>& infos, const std::vector<TRecordLines>& lines,
                        const std::string& path) {
    std::map<std::int32_t, std::uint32_t> seen;
    for (std::size_t i = 0; i < infos.size(); ++i) {
        const std::string owner = "obec '" + EchoValue(infos[i].Obec) + "': ";
        CheckKeysPresent(owner, kMuniInfoKeys, 1, 3, lines[i], path, lines[i].Start);
        CheckNumber(owner, "Kod", infos[i].Kod, limits::kMunicipalityCodeRange, path, lines[i].Keys[1]);
        CheckFirstOccurrence(seen, infos[i].Kod, owner + "kód " + FormatInt(infos[i].Kod), path, lines[i].Keys[1]);
    }
}

void CheckRegionLines(const std::vector<TZevraKraj>& kraje, const std::vector<TRecordLines>& lines,
                      const std::string& path) {
    for (std::size_t i = 0; i < kraje.size(); ++i) {
        const std::string owner = "kraj číslo " + FormatInt(kraje[i].Region) + ": ";
        CheckNumber(owner, "Region", kraje[i].Region, limits::kRegionNumberRange, path, lines[i].Start);
        CheckKeysPresent(owner, kRegionKeys, 4, 5, lines[i], path, lines[i].Start);
        CheckNumber(owner, "NadmVyska", kraje[i].NadmVyska, limits::kRegionAltitudeRange, path, lines[i].Keys[4]);
    }
}

void CheckSampleLines(const TZevraSampleMunicipalities& sample, const std::vector<TRecordLines>& lines,
                      const std::string& path) {
    std::map<std::int32_t, std::uint32_t> seen;
    for (int i = 0; i < sample.Count(); ++i) {
        const TZevraSampleMunicipality& m = *sample.Items(i);
        const TRecordLines& at = lines[static_cast<std::size_t>(i)];
        const std::string owner = "obec '" + EchoValue(m.Obec) + "': ";
        CheckKeysPresent(owner, kSampMuniKeys, 1, kSampMuniKeys.size(), at, path, at.Start);
        CheckNumber(owner, "Kod", m.Kod, limits::kSampleCodeRange, path, at.Keys[3]);
        CheckNumber(owner, "ObyvateleCelkem", m.ObyvateleCelkem, limits::kSamplePopulationRange, path, at.Keys[4]);
        CheckNumber(owner, "Obyvatelstvo", m.Obyvatelstvo, limits::kSampleObyvatelstvoRange, path, at.Keys[kSampMuniObyvatelstvoKey]);
        // Code 0 stands for an unknown code, which several entries may share.
        if (m.Kod != 0) CheckFirstOccurrence(seen, m.Kod, owner + "kód " + FormatInt(m.Kod), path, at.Keys[3]);
    }
}

void CheckWeightLines(const TZevraObyvatelstvoWeights& w, const TRecordLines& lines, const std::string& path) {
    // A file cut short at a line end loses its last weights; a weight meant
    // to be 0 is written as 0.
    CheckKeysPresent("váhy: ", kOWeightsKeys, 1, kOWeightsKeys.size(), lines, path, lines.Start);
    const auto weights = WeightsInOrder(w);
    double sum = 0;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        CheckNumber("váha ", kOWeightsKeys[k + 1], weights[k], limits::kWeightRange, path, lines.Keys[k + 1]);
        sum += weights[k];
    }
    if (!(sum >= limits::kWeightSumRange.Min && sum <= limits::kWeightSumRange.Max))
        Refuse("součet vah " + FormatShortest(sum) + " neleží v rozsahu " + FormatShortest(limits::kWeightSumRange.Min) +
                   " až " + FormatShortest(limits::kWeightSumRange.Max),
               path);
}

}  // namespace

TZevraModel::TZevraModel(TZevraData data) : FData(std::move(data)) {
    std::vector<TRecordLines> lines;
    FDecilDistributions = FData.LoadDecilDists(&lines);
    CheckDecilDists(FDecilDistributions, FData.DataFilePath("DecilDists"));
    CheckDecilDistLines(FDecilDistributions, lines, FData.DataFilePath("DecilDists"));
    FMunicipalityInfos = FData.LoadMuniInfo(&lines);
    CheckMuniInfoLines(FMunicipalityInfos, lines, FData.DataFilePath("MuniInfo"));
    FKraje = FData.LoadRegions(&lines);
    CheckRegions(FKraje, FData.DataFilePath("Regions"));
    CheckRegionLines(FKraje, lines, FData.DataFilePath("Regions"));
    FSampleMunicipalities = FData.LoadSampMuni(&lines);
    CheckSample(FSampleMunicipalities, FData.DataFilePath("SampMuni"));
    CheckSampleLines(FSampleMunicipalities, lines, FData.DataFilePath("SampMuni"));
    FSampleKeys.reserve(static_cast<std::size_t>(FSampleMunicipalities.Count()));
    for (int i = 0; i < FSampleMunicipalities.Count(); ++i) {
        const TZevraSampleMunicipality& m = *FSampleMunicipalities.Items(i);
        FSampleKeys.push_back({i, m.Kod, m.ObyvateleCelkem, DecilsOf(m), std::hash<std::string_view>{}(m.Obec)});
    }
    std::stable_sort(FSampleKeys.begin(), FSampleKeys.end(),
                     [](const TSampleKey& a, const TSampleKey& b) { return a.ObyvateleCelkem < b.ObyvateleCelkem; });
    for (std::size_t k = 0; k < kIndicatorCodes.size(); ++k) {
        for (std::size_t d = 0; d < FDecilDistributions.size(); ++d) {
            if (SameAsciiCaseless(FDecilDistributions[d].Indikator, kIndicatorCodes[k])) {
                FIndicatorDistributions[k] = static_cast<int>(d);
                break;
            }
        }
    }
    TRecordLines weightLines;
    FWeights = FData.LoadOWeights(&weightLines);
    CheckWeights(FWeights, FData.DataFilePath("OWeights"));
    CheckWeightLines(FWeights, weightLines, FData.DataFilePath("OWeights"));
    FDemonstrationData = FData.HoldsDemonstrationData();
}

void TZevraModel::LoadInput(const std::string& fileName) { FInput = FData.LoadInputData(fileName); }

void TZevraModel::SaveInput(const std::string& fileName) const { FData.SaveInputData(FInput, fileName); }

void TZevraModel::NewInput() {
    FInput = TZevraInputData{};
    FOutput.reset();
}

const TZevraKraj* TZevraModel::FindKraj(int code) const {
    for (const TZevraKraj& kraj : FKraje) {
        if (kraj.Region == code) return &kraj;
    }
    return nullptr;
}

std::vector<const TZevraMunicipalityInfo*> TZevraModel::FindMunicipalities(std::string_view name) const {
    std::vector<const TZevraMunicipalityInfo*> found;

    for (const TZevraMunicipalityInfo& info : FMunicipalityInfos) {
        if (SameAsciiCaseless(info.Obec, name)) found.push_back(&info);
    }
    return found;
}

}  // namespace zevra
