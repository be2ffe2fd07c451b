// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// One municipality: the form's fields, the reference data, the lookup by
// name, validation, evaluation with its report, and the input data file.
#include "web_calls.h"
#include "web_json.h"

#include "batch/core/u_evaluationjson.h"
#include "model/u_assessment.h"
#include "model/u_inputfields.h"
#include "model/u_model.h"
#include "model/u_paths.h"
#include "model/u_savefile.h"
#include "model/u_sensitivity.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "report/u_rtf.h"

namespace zevra::web {

namespace {

Json FieldJson(const TFormField& f) {
    Json field = {{"klic", f.Key},
                  {"popisek", f.Label},
                  {"nazev", FormFieldName(f)},
                  {"oddil", f.Group},
                  {"druh", f.Kind == TFormFieldKind::fkName     ? "text"
                           : f.Kind == TFormFieldKind::fkRegion ? "kraj"
                           : f.Kind == TFormFieldKind::fkNumber ? "cislo"
                                                                : "anone"},
                  {"jednotka", f.Unit}};
    if (f.Kind == TFormFieldKind::fkNumber) {
        field["min"] = f.HasRange() ? Json(f.Min) : Json(nullptr);
        field["max"] = f.HasRange() ? Json(f.Max) : Json(nullptr);
        field["desetinna"] = f.Decimals;
        field["celociselne"] = f.Whole();
        field["format"] = f.DisplayFormat;
    }
    if (f.Kind == TFormFieldKind::fkYesNo) field["moznosti"] = {kYesText, kNoText};
    if (f.IntMember == &TZevraInputData::Kod) field["hledani"] = true;
    if (*f.NoteBelow != '\0') field["poznamkaPod"] = f.NoteBelow;
    return field;
}

Json ReferenceDataJson() {
    const std::string& folder = DataFolder();
    return {{"ok", true},
            {"slozka", folder},
            {"demonstracni", Model().DemonstrationData()},
            {"text", DataFolderText(folder)}};
}

// The input typed on the page, in the model; throws the first field error.
void UseTypedInput(const std::string& inputJson) {
    TTypedInput typed = ReadTypedInput(inputJson);
    if (!typed.FieldErrors.empty()) throw EZevraError(typed.FieldErrors.front());
    Model().Input() = std::move(typed.Input);
}

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// One paragraph per report entry: the markup's [b] and [i] as <strong> and
// <em>, a line break inside an entry as <br>.
std::string ReportHtml(const std::vector<std::string>& entries) {
    std::string html;
    for (const std::string& entry : entries) {
        std::string paragraph = MarkupToHtml(HtmlEscaped(entry));
        for (std::size_t at = 0; (at = paragraph.find("\r\n", at)) != std::string::npos;) paragraph.replace(at, 2, "<br>");
        html += "<p>" + paragraph + "</p>\n";
    }
    return html;
}

TSensitivityResult Sensitivity(const TZevraModel& model) {
    return AnalyseSensitivity(DecilsOf(model.Output()->Indicators), WeightsInOrder(model.Weights()));
}

}  // namespace

std::string Info() {
    return Text({{"nazev", "ZEVRA Model"}, {"verze", ZEVRA_VERSION_TEXT}, {"copyright", "© MOXAN, licence GPL-3.0-or-later"}});
}

std::string InputFields() {
    Json groups = Json::array();
    for (int page = 1; page <= kFormPageCount; ++page) {
        Json fields = Json::array();
        for (std::size_t i = 0; i < kFormFieldCount; ++i)
            if (kFormFields[i].Page == page) fields.push_back(FieldJson(kFormFields[i]));
        groups.push_back({{"nazev", FormPageTitle(page)}, {"pole", fields}});
    }
    Json regions = Json::array();
    for (const TZevraKraj& kraj : Model().Kraje()) regions.push_back({{"cislo", kraj.Region}, {"nazev", kraj.Nazev}});
    return Text({{"skupiny", groups}, {"poznamka", kFormPageNote}, {"kraje", regions}, {"krajNevybran", kNoRegionChoice}});
}

std::string UseReferenceData(const std::string& folder) {
    return Answer([&] {
        UseDataFolder(folder);
        return ReferenceDataJson();
    });
}

std::string ReferenceData() { return Text(ReferenceDataJson()); }

std::string FindMunicipality(const std::string& name) {
    const auto found = Model().FindMunicipalities(Trim(name));
    Json list = Json::array();
    std::string message;
    if (found.empty()) {
        message = kMunicipalityNotFoundMessage;
    } else if (found.size() > kMaxMunicipalityChoices) {
        message = kTooManyMunicipalitiesMessage;
    } else {
        for (const TZevraMunicipalityInfo* m : found)
            list.push_back({{"kod", m->Kod},
                            {"nazev", m->Obec},
                            {"okres", m->Okres},
                            {"popis", m->Obec + " (okr. " + m->Okres + ")"}});
    }
    return Text({{"obce", list},
                 {"zprava", message},
                 {"titulek", kMunicipalityChoiceTitle},
                 {"vyzva", kMunicipalityChoicePrompt}});
}

std::string Validate(const std::string& inputJson) {
    return Answer([&] {
        TTypedInput typed = ReadTypedInput(inputJson);
        std::vector<std::string> errors, warnings;
        Model().Validate(typed.Input, &errors, &warnings);
        // A field that holds no value is an error of its own, first.
        errors.insert(errors.begin(), typed.FieldErrors.begin(), typed.FieldErrors.end());
        Json lines = Json::array();
        for (const std::string& line : errors) lines.push_back({{"uroven", "CHYBA"}, {"text", line}});
        for (const std::string& line : warnings) lines.push_back({{"uroven", "POZOR"}, {"text", line}});
        std::string text;
        for (const std::string& line : ValidationPageLines(errors, warnings)) text += (text.empty() ? "" : "\n") + line;
        return Json{{"stav", !errors.empty() ? "chyba" : !warnings.empty() ? "varovani" : "ok"},
                    {"radky", lines},
                    {"text", text}};
    });
}

std::string Evaluate(const std::string& inputJson) {
    try {
        UseTypedInput(inputJson);
        TZevraModel& model = Model();
        model.Evaluate();
        const TSensitivityResult sensitivity = Sensitivity(model);
        const std::vector<std::string> entries = ComposeReportEntries(*model.Output());
        Json decils = Json::array();
        const TDecils own = DecilsOf(model.Output()->Indicators);
        for (std::size_t k = 0; k < kIndicatorCount; ++k)
            decils.push_back({{"indikator", kIndicators[k].Code}, {"nazev", kIndicators[k].Label}, {"decil", own[k]}});
        Json bands = Json::array();
        for (int b = 0; b < kBandCount; ++b) bands.push_back(BandName(b));
        const Json added = {
            {"sestava", {{"markup", entries}, {"html", ReportHtml(entries)}, {"text", RenderPlainText(entries)}}},
            {"profil",
             {{"decily", decils},
              {"pasma", bands},
              {"pasmo", BandOf(model.Output()->Obyvatelstvo)},
              {"shrnuti", SensitivitySentence(sensitivity)}}},
            {"ok", true}};
        // The evaluation document with the keys added at its end, joined as
        // text: reading it back in would cost more than all the rest.
        std::string document = EvaluationJson(model, sensitivity);
        const std::string more = Text(added);
        const auto close = document.rfind('}');
        document.replace(close, std::string::npos, "," + more.substr(1));
        return document;
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

std::string EvaluateJson(const std::string& inputJson) {
    try {
        UseTypedInput(inputJson);
        TZevraModel& model = Model();
        model.Evaluate();
        return EvaluationJson(model, Sensitivity(model));
    } catch (const std::exception& e) {
        return Failure(e.what());
    }
}

std::string WriteReportRtf(const std::string& inputJson, const std::string& path) {
    return Answer([&] {
        UseTypedInput(inputJson);
        Model().Evaluate();
        SaveFile(path, RenderRtfDocument(ComposeReportEntries(*Model().Output())));
        return Json{{"ok", true}, {"zprava", ""}};
    });
}

std::string ReadInputFile(const std::string& path) {
    return Answer([&] {
        const TZevraInputData input = Model().Data().LoadInputData(path);
        return Json{{"ok", true}, {"vstup", TypedInputJson(input)}};
    });
}

std::string WriteInputFile(const std::string& inputJson, const std::string& path) {
    return Answer([&] {
        UseTypedInput(inputJson);
        Model().SaveInput(path);
        return Json{{"ok", true}, {"zprava", "Vstupní data byla uložena."}};
    });
}

}  // namespace zevra::web
