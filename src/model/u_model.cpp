// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_model.h"

#include "model/u_indicators.h"
#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace zevra {

namespace {

// Damaged or wrongly edited reference data would give plausible wrong
// results (a cut decile list reads its missing boundaries as 0, an empty
// weights file gives the best band to everyone); they are refused at start.
[[noreturn]] void Refuse(const std::string& what, const std::string& path) {
    throw EZevraError("Chybná referenční data: " + what + "!\r\n[" + path + "]");
}

void CheckDecilDists(const std::vector<TZevraDecilDistribution>& dists, const std::string& path) {
    for (const TZevraDecilDistribution& d : dists) {
        const std::string name = "rozdělení decilů '" + d.Indikator + "'";
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
    const std::pair<const char*, double> weights[] = {{"dck", w.Dck}, {"dvo", w.Dvo}, {"vs1", w.Vs1}, {"nvr", w.Nvr},
                                                      {"vkt", w.Vkt}, {"vea", w.Vea}, {"rps", w.Rps}};
    double sum = 0;
    for (const auto& [code, value] : weights) {
        if (!std::isfinite(value) || value < 0)
            Refuse(std::string("váha '") + code + "' musí být konečné nezáporné číslo", path);
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
        const auto refuse = [&](const std::string& what) { Refuse("obec '" + m.Obec + "': " + what, path); };
        for (std::int32_t decil : DecilsOf(m)) {
            if (decil < 1 || decil > 10) refuse("decil " + FormatInt(decil) + " neleží v rozsahu 1 až 10");
        }
        if (m.ObyvateleCelkem <= 0) refuse("počet obyvatel musí být kladný");
    }
}

}  // namespace

TZevraModel::TZevraModel(std::string dataDir) : FData(std::move(dataDir)) {
    FDecilDistributions = FData.LoadDecilDists();
    CheckDecilDists(FDecilDistributions, FData.DataFilePath("DecilDists"));
    FMunicipalityInfos = FData.LoadMuniInfo();
    FKraje = FData.LoadRegions();
    CheckRegions(FKraje, FData.DataFilePath("Regions"));
    FSampleMunicipalities = FData.LoadSampMuni();
    CheckSample(FSampleMunicipalities, FData.DataFilePath("SampMuni"));
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
    FWeights = FData.LoadOWeights();
    CheckWeights(FWeights, FData.DataFilePath("OWeights"));
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
