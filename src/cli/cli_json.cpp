// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_json.h"

#include "batch/core/u_batchcore.h"
#include "model/u_assessment.h"
#include "model/u_model.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"

#include <nlohmann/json.hpp>

#include <filesystem>
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

ordered_json SensitivityJson(const TSensitivityResult& s) {
    ordered_json shares = ordered_json::object();
    for (int b = 0; b < kBandCount; ++b) shares[BandName(b)] = s.BandShare(b);
    ordered_json oneAtATime = ordered_json::array();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TOneAtATime& o = s.OneAtATime[k];
        oneAtATime.push_back({{"kod", kIndicatorCodes[k]},
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
// own. A folder name that is not UTF-8 shows U+FFFD for its stray bytes.
ordered_json ReferenceDataJson(const std::string& dir) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
    const std::string folder = ec ? dir : absolute.lexically_normal().string();
    std::string shown;
    char32_t cp = 0;
    for (std::size_t i = 0; i < folder.size();) {
        const std::size_t length = static_cast<unsigned char>(folder[i]) < 0x80 ? 1 : DecodeUtf8At(folder, i, cp);
        shown.append(length == 0 ? "\uFFFD" : folder.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    return {{"slozka", shown}, {"demonstracni", IsDemonstrationData(dir)}};
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
        ordered_json item = {{"kod", indicator.Code},
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
            partial.push_back({{"kod", kIndicators[k].Code}, {"text", PlainText(kIndicators[k].PartialText)}});
    }

    ordered_json similar = ordered_json::array();
    for (int i = 0; i < out.SimilarMunicipalities.Count(); ++i) {
        const TZevraSampleMunicipality& m = *out.SimilarMunicipalities.Items(i);
        const auto theirs = DecilsOf(m);
        ordered_json decilObject = ordered_json::object();
        for (std::size_t k = 0; k < kIndicatorCount; ++k) decilObject[kIndicatorCodes[k]] = theirs[k];
        similar.push_back({{"obec", m.Obec},
                           {"okres", m.Okres},
                           {"kraj", m.KrajNazev},
                           {"kod", m.Kod},
                           {"obyvatel", m.ObyvateleCelkem},
                           {"podobnost", out.SimilarMunicipalities.Ranks(i)},
                           {"decily", decilObject},
                           {"podilNaPodobnosti", PerIndicator(SimilarityContributions(decils, theirs, weights))}});
    }

    const int band = static_cast<int>(assessment.Band);
    const ordered_json document = {
        {"vstup", InputJson(model.Input())},
        {"obec", out.Obec},
        {"kod", out.Kod},
        {"kraj", {{"cislo", out.Kraj}, {"nazev", out.KrajNazev}}},
        {"indikatory", indicators},
        {"obyvatelstvo", out.Obyvatelstvo},
        {"pasmo", {{"cislo", band + 1}, {"rozsah", BandName(band)}, {"text", PlainText(BandText(assessment.Band))}}},
        {"dilciHodnoceni", partial},
        {"varovaniVodovod",
         assessment.WaterWarning ? ordered_json(PlainText(kWaterWarningText)) : ordered_json(nullptr)},
        {"podobneObce", similar},
        {"citlivost", SensitivityJson(sensitivity)},
        {"referencniData", ReferenceDataJson(model.Data().DataDir())}};
    return document.dump(2) + "\n";
}

std::string BatchJson(const TZevraBatch& batch) {
    const TMemTable& table = batch.OutputData();
    ordered_json rows = ordered_json::array();
    const auto intOrNull = [&table](std::size_t row, std::size_t field) {
        return table.IsNull(row, field) ? ordered_json(nullptr) : ordered_json(table.GetInt(row, field));
    };
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        ordered_json item = ordered_json::object();
        for (const TOutputColumn& column : OutputColumns()) {
            const std::size_t field = column.Field;
            switch (column.Kind) {
                // The names as the HTML table and the workbook carry them.
                case TOutputKind::okName: item[column.Key] = WritableText(table.TextView(row, field)); break;
                case TOutputKind::okInteger: item[column.Key] = intOrNull(row, field); break;
                case TOutputKind::okNumber:
                    item[column.Key] = table.IsNull(row, field) ? ordered_json(nullptr)
                                                                : ordered_json(table.GetFloat(row, field));
                    break;
                case TOutputKind::okBand:
                    item[column.Key] = table.IsNull(row, field)
                                           ? ordered_json(nullptr)
                                           : ordered_json(BandName(BandOf(table.GetFloat(row, field))));
                    break;
                case TOutputKind::okAssessment: item[column.Key] = table.GetText(row, field); break;
                // The deciles together, by the indicators' codes.
                case TOutputKind::okDecil: item["decily"][column.Key] = intOrNull(row, field); break;
                case TOutputKind::okWater:
                    item[column.Key] = RowAssessment(table, row).WaterWarning ? ordered_json(table.GetText(row, field))
                                                                              : ordered_json(nullptr);
                    break;
            }
        }
        rows.push_back(std::move(item));
    }
    return ordered_json({{"obce", rows}, {"referencniData", ReferenceDataJson(batch.Model().Data().DataDir())}})
               .dump(2) +
           "\n";
}

TOutputFormat JsonOutputFormat() {
    return {"json", {".json"}, "Soubory JSON", [](const TZevraBatch& batch, const std::string& fileName, const TBatchProgress&) {
                SaveFile(FileNameOf(fileName), BatchJson(batch));
            }};
}

}  // namespace zevra::cli
