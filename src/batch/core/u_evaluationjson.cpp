// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_evaluationjson.h"

#include "batch/core/u_batchjson.h"
#include "batch/core/u_jsontext.h"

#include "model/u_assessment.h"
#include "model/u_model.h"
#include "model/u_sensitivity.h"
#include "model/u_text.h"

namespace zevra {

namespace {

void WriteTriBool(TJsonWriter& w, TTriBool value) {
    if (value == TTriBool::tbUnknown)
        w.Null();
    else
        w.Value(value == TTriBool::tbTrue);
}

void WriteInput(TJsonWriter& w, const TZevraInputData& in) {
    w.BeginObject();
    w.Key("Obec").Value(in.Obec);
    w.Key("Kraj").Value(in.Kraj);
    w.Key("Kod").Value(in.Kod);
    w.Key("ObyvateleCelkem").Value(in.ObyvateleCelkem);
    w.Key("ObyvateleEA").Value(in.ObyvateleEA);
    w.Key("ObyvateleNezamestnani").Value(in.ObyvateleNezamestnani);
    w.Key("ObyvateleVyjizdejici").Value(in.ObyvateleVyjizdejici);
    w.Key("NadmVyska").Value(in.NadmVyska);
    w.Key("KatastrCelkem").Value(in.KatastrCelkem);
    w.Key("KrMestoMin").Value(in.KrMestoMin);
    w.Key("OkrMestoKm").Value(in.OkrMestoKm);
    w.Key("Silnice1TrM").Value(in.Silnice1TrM);
    w.Key("PodnikateleCelkem2006").Value(in.PodnikateleCelkem2006);
    w.Key("PodnikateleRolnici2006").Value(in.PodnikateleRolnici2006);
    w.Key("DominantniZamestnavatel").Value(in.DominantniZamestnavatel);
    w.Key("Vodovod");
    WriteTriBool(w, in.Vodovod);
    w.EndObject();
}

// An object with one value per indicator, under the indicators' codes.
template <class Values>
void WritePerIndicator(TJsonWriter& w, const Values& values) {
    w.BeginObject();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) w.Key(kIndicatorCodes[k]).Value(values[k]);
    w.EndObject();
}

void WriteSensitivity(TJsonWriter& w, const TSensitivityResult& s) {
    w.BeginObject();
    w.Key("pocetVariant").Value(s.Settings.Draws);
    w.Key("rozptyl").Value(s.Settings.Spread);
    w.Key("podilVariantVPasmu").BeginObject();
    for (int b = 0; b < kBandCount; ++b) w.Key(BandName(b)).Value(s.BandShare(b));
    w.EndObject();
    w.Key("percentil5").Value(s.Percentile5);
    w.Key("percentil95").Value(s.Percentile95);
    w.Key("minimum").Value(s.Minimum);
    w.Key("maximum").Value(s.Maximum);
    w.Key("jednotliveVahy").BeginArray();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TOneAtATime& o = s.OneAtATime[k];
        w.BeginObject();
        w.Key("indikator").Value(kIndicatorCodes[k]);
        w.Key("obyvatelstvoVaha50").Value(o.ObyvatelstvoLow);
        w.Key("pasmoVaha50").Value(BandName(o.BandLow));
        w.Key("obyvatelstvoVaha150").Value(o.ObyvatelstvoHigh);
        w.Key("pasmoVaha150").Value(BandName(o.BandHigh));
        w.Key("meniPasmo").Value(o.MovesBand);
        w.EndObject();
    }
    w.EndArray();
    w.Key("shrnuti").Value(SensitivitySentence(s));
    w.EndObject();
}

// A region as both documents give it: its number (null when the model knows
// no single region of that name) and its name.
void WriteRegion(TJsonWriter& w, const TZevraModel& model, const std::string& name) {
    std::int32_t number = -1;
    bool ambiguous = false;
    for (const TZevraKraj& kraj : model.Kraje()) {
        if (kraj.Nazev != name) continue;
        if (number >= 0 && number != kraj.Region) ambiguous = true;
        number = kraj.Region;
    }
    w.BeginObject().Key("cislo");
    if (number < 0 || ambiguous)
        w.Null();
    else
        w.Value(number);
    w.Key("nazev").Value(name).EndObject();
}

void WriteIndicators(TJsonWriter& w, const TZevraModel& model, const TDecils& decils, const TWeights& weights) {
    const TZevraObyvatelstvoIndicators& ind = model.Output()->Indicators;
    w.BeginArray();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const TIndicator& indicator = kIndicators[k];
        const double value = ind.*indicator.Value;
        w.BeginObject();
        w.Key("indikator").Value(indicator.Code);
        w.Key("nazev").Value(indicator.Label);
        w.Key("hodnota").Value(value);
        w.Key("decil").Value(decils[k]);
        w.Key("vaha").Value(weights[k]);
        if (indicator.EmployerCorrection) {
            // The correction changes only this decile; the decile before it
            // is that of the value itself.
            const int before = model.GetDecil(indicator.Code, value);
            w.Key("korekceZamestnavatele").Value(before != decils[k]);
            w.Key("decilPredKorekci").Value(before);
        } else {
            w.Key("korekceZamestnavatele").Value(false);
        }
        w.EndObject();
    }
    w.EndArray();
}

void WriteSimilar(TJsonWriter& w, const TZevraModel& model, const TDecils& decils, const TWeights& weights) {
    const TZevraSampleMunicipalities& similar = model.Output()->SimilarMunicipalities;
    w.BeginArray();
    for (int i = 0; i < similar.Count(); ++i) {
        const TZevraSampleMunicipality& m = *similar.Items(i);
        const TDecils theirs = DecilsOf(m);
        w.BeginObject();
        w.Key("obec").Value(m.Obec);
        w.Key("okres").Value(m.Okres);
        w.Key("kraj");
        WriteRegion(w, model, m.KrajNazev);
        w.Key("kod").Value(m.Kod);
        w.Key("obyvatel").Value(m.ObyvateleCelkem);
        w.Key("podobnost").Value(similar.Ranks(i));
        w.Key("decily");
        WritePerIndicator(w, theirs);
        w.Key("podilNaPodobnosti");
        WritePerIndicator(w, SimilarityContributions(decils, theirs, weights));
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

std::string EvaluationJson(const TZevraModel& model, const TSensitivityResult& sensitivity) {
    const TZevraOutputData& out = *model.Output();
    const TDecils decils = DecilsOf(out.Indicators);
    const TWeights weights = WeightsInOrder(model.Weights());
    // The verbal assessment as the model decides it, each text in plain form.
    const TAssessment assessment =
        Assess(TZevraVerdict{out.Indicators, out.Obyvatelstvo, nullptr, !IsBlank(out.VodovodText)});
    const int band = static_cast<int>(assessment.Band);
    TAssessment bandOnly;
    bandOnly.Band = assessment.Band;

    // The keys of a batch row first, with the same types, then what only
    // one municipality has.
    TJsonWriter w;
    w.BeginObject();
    w.Key(kJsonFormatVersionKey).Value(kJsonFormatVersion);
    w.Key("obec").Value(out.Obec);
    w.Key("kod").Value(out.Kod);
    w.Key("kraj").BeginObject().Key("cislo").Value(out.Kraj).Key("nazev").Value(out.KrajNazev).EndObject();
    w.Key("obyvatelstvo").Value(out.Obyvatelstvo);
    w.Key("pasmo").BeginObject();
    w.Key("cislo").Value(band + 1).Key("rozsah").Value(BandName(band));
    w.Key("text").Value(AssessmentPlainText(bandOnly)).EndObject();
    w.Key("hodnoceni").Value(AssessmentPlainText(assessment));
    w.Key("hodnoceniHtml").Value(AssessmentHtml(assessment));
    w.Key("decily");
    WritePerIndicator(w, decils);
    w.Key("varovaniVodovod").TextOrNull(WaterWarningPlainText(assessment.WaterWarning));
    w.Key("varovaniVodovodHtml").TextOrNull(assessment.WaterWarning ? MarkupToHtml(kWaterWarningText) : "");
    w.Key("vstup");
    WriteInput(w, model.Input());
    w.Key("indikatory");
    WriteIndicators(w, model, decils, weights);
    w.Key("dilciHodnoceni").BeginArray();
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        if (!assessment.Disadvantaged[k]) continue;
        w.BeginObject().Key("indikator").Value(kIndicators[k].Code);
        w.Key("text").Value(MarkupToPlain(kIndicators[k].PartialText)).EndObject();
    }
    w.EndArray();
    w.Key("podobneObce");
    WriteSimilar(w, model, decils, weights);
    w.Key("citlivost");
    WriteSensitivity(w, sensitivity);
    w.Key("referencniData").BeginObject();
    w.Key("slozka").Value(ReferenceFolderText(model.Data().DataDir()));
    w.Key("demonstracni").Value(model.DemonstrationData()).EndObject();
    w.EndObject();
    return w.Text();
}

}  // namespace zevra
