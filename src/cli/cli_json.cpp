// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_json.h"

#include "batch/core/u_batchjson.h"
#include "model/u_assessment.h"
#include "model/u_model.h"
#include "model/u_paths.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"

#include <nlohmann/json.hpp>

#include <string_view>
#include <vector>

namespace zevra::cli {

namespace {

using nlohmann::ordered_json;

ordered_json TriBoolJson(TTriBool value) {
    if (value == TTriBool::tbTrue) return true;
    if (value == TTriBool::tbFalse) return false;
    return nullptr;
}

ordered_json InputJson(const TZevraInputData& in) {
    return {{"Obec", in.Obec},
            {"Kraj", in.Kraj},
            {"Kod", in.Kod},
            {"ObyvateleCelkem", in.ObyvateleCelkem},
            {"ObyvateleEA", in.ObyvateleEA},
            {"ObyvateleNezamestnani", in.ObyvateleNezamestnani},
            {"ObyvateleVyjizdejici", in.ObyvateleVyjizdejici},
            {"NadmVyska", in.NadmVyska},
            {"KatastrCelkem", in.KatastrCelkem},
            {"KrMestoMin", in.KrMestoMin},
            {"OkrMestoKm", in.OkrMestoKm},
            {"Silnice1TrM", in.Silnice1TrM},
            {"PodnikateleCelkem2006", in.PodnikateleCelkem2006},
            {"PodnikateleRolnici2006", in.PodnikateleRolnici2006},
            {"DominantniZamestnavatel", in.DominantniZamestnavatel},
            {"Vodovod", TriBoolJson(in.Vodovod)}};
}

ordered_json PerIndicator(const TWeights& values) {
    ordered_json object = ordered_json::object();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) object[kIndicatorCodes[k]] = values[k];
    return object;
}

ordered_json DecilsJson(const TDecils& decils) {
    ordered_json object = ordered_json::object();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) object[kIndicatorCodes[k]] = decils[k];
    return object;
}

ordered_json SensitivityJson(const TSensitivityResult& s) {
    ordered_json shares = ordered_json::object();
    for (int b = 0; b < kBandCount; ++b) shares[BandName(b)] = s.BandShare(b);
    ordered_json oneAtATime = ordered_json::array();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TOneAtATime& o = s.OneAtATime[k];
        oneAtATime.push_back({{"indikator", kIndicatorCodes[k]},
                              {"obyvatelstvoVaha50", o.ObyvatelstvoLow},
                              {"pasmoVaha50", BandName(o.BandLow)},
                              {"obyvatelstvoVaha150", o.ObyvatelstvoHigh},
                              {"pasmoVaha150", BandName(o.BandHigh)},
                              {"meniPasmo", o.MovesBand}});
    }
    return {{"pocetVariant", s.Settings.Draws}, {"rozptyl", s.Settings.Spread},
            {"podilVariantVPasmu", shares},     {"percentil5", s.Percentile5},
            {"percentil95", s.Percentile95},    {"minimum", s.Minimum},
            {"maximum", s.Maximum},             {"jednotliveVahy", oneAtATime},
            {"shrnuti", SensitivitySentence(s)}};
}

// Which reference data gave the figures: their folder, absolute, and whether
// they are the shipped demonstration data, which no office may take for its
// own. Written as the batch JSON writes it.
ordered_json ReferenceDataJson(const TZevraModel& model) {
    return {{"slozka", ReferenceFolderText(model.Data().DataDir())}, {"demonstracni", model.DemonstrationData()}};
}

// A region as both documents give it: its number (null when the model knows
// no single region of that name) and its name.
ordered_json RegionJson(const TZevraModel& model, const std::string& name) {
    ordered_json number = nullptr;
    for (const TZevraKraj& kraj : model.Kraje()) {
        if (kraj.Nazev != name) continue;
        if (!number.is_null() && number != kraj.Region) return {{"cislo", nullptr}, {"nazev", name}};
        number = kraj.Region;
    }
    return {{"cislo", number}, {"nazev", name}};
}

}  // namespace

std::string EvaluationJson(const TZevraModel& model, const TSensitivityResult& sensitivity) {
    const TZevraOutputData& out = *model.Output();
    const TZevraObyvatelstvoIndicators& ind = out.Indicators;
    const TDecils decils = DecilsOf(ind);
    const TWeights weights = WeightsInOrder(model.Weights());

    ordered_json indicators = ordered_json::array();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TIndicator& indicator = kIndicators[k];
        const double value = ind.*indicator.Value;
        ordered_json item = {{"indikator", indicator.Code},
                             {"nazev", indicator.Label},
                             {"hodnota", value},
                             {"decil", decils[k]},
                             {"vaha", weights[k]}};
        if (indicator.EmployerCorrection) {
            // The correction changes only this decile; the decile before it
            // is that of the value itself.
            const int before = model.GetDecil(indicator.Code, value);
            item["korekceZamestnavatele"] = before != decils[k];
            item["decilPredKorekci"] = before;
        } else {
            item["korekceZamestnavatele"] = false;
        }
        indicators.push_back(item);
    }

    // The verbal assessment as the model decides it, each text in plain form.
    const TAssessment assessment =
        Assess(TZevraVerdict{ind, out.Obyvatelstvo, nullptr, !IsBlank(out.VodovodText)});
    ordered_json partial = ordered_json::array();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        if (assessment.Disadvantaged[k])
            partial.push_back({{"indikator", kIndicators[k].Code}, {"text", PlainText(kIndicators[k].PartialText)}});
    }

    ordered_json similar = ordered_json::array();
    for (int i = 0; i < out.SimilarMunicipalities.Count(); ++i) {
        const TZevraSampleMunicipality& m = *out.SimilarMunicipalities.Items(i);
        const auto theirs = DecilsOf(m);
        similar.push_back({{"obec", m.Obec},
                           {"okres", m.Okres},
                           {"kraj", RegionJson(model, m.KrajNazev)},
                           {"kod", m.Kod},
                           {"obyvatel", m.ObyvateleCelkem},
                           {"podobnost", out.SimilarMunicipalities.Ranks(i)},
                           {"decily", DecilsJson(theirs)},
                           {"podilNaPodobnosti", PerIndicator(SimilarityContributions(decils, theirs, weights))}});
    }

    // The keys of a batch row first, with the same types, then what only
    // one municipality has.
    const int band = static_cast<int>(assessment.Band);
    TAssessment bandOnly;
    bandOnly.Band = assessment.Band;
    const ordered_json document = {
        {kJsonFormatVersionKey, kJsonFormatVersion},
        {"obec", out.Obec},
        {"kod", out.Kod},
        {"kraj", {{"cislo", out.Kraj}, {"nazev", out.KrajNazev}}},
        {"obyvatelstvo", out.Obyvatelstvo},
        {"pasmo", {{"cislo", band + 1}, {"rozsah", BandName(band)}, {"text", AssessmentPlainText(bandOnly)}}},
        {"hodnoceni", AssessmentPlainText(assessment)},
        {"hodnoceniHtml", AssessmentHtml(assessment)},
        {"decily", DecilsJson(decils)},
        {"varovaniVodovod", assessment.WaterWarning ? ordered_json(WaterWarningPlainText(true)) : ordered_json(nullptr)},
        {"varovaniVodovodHtml",
         assessment.WaterWarning ? ordered_json(MarkupToHtml(kWaterWarningText)) : ordered_json(nullptr)},
        {"vstup", InputJson(model.Input())},
        {"indikatory", indicators},
        {"dilciHodnoceni", partial},
        {"podobneObce", similar},
        {"citlivost", SensitivityJson(sensitivity)},
        {"referencniData", ReferenceDataJson(model)}};
    return document.dump(2) + "\n";
}

}  // namespace zevra::cli
