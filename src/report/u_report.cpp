// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/u_report.h"

#include "model/u_format.h"
#include "model/u_indicators.h"
#include "report/u_Tags.h"

#include <array>
#include <cstdint>

namespace zevra {

namespace {

constexpr const char* kCreditTitle = "Hodnotící model ZEVRA – výsledek hodnocení obce";
constexpr const char* kCreditMaker = "Model ZEVRA pro hodnocení disparit malých obcí, autor modelu: MOXAN";


class TReportBuilder {
public:
    explicit TReportBuilder(const TZevraOutputData& output) : FOutput(output) {}

    std::vector<std::string> Build() {
        AddHeader();
        AddIntegratedIndicator();
        AddAssessment();
        AddOwnDecils();
        AddSimilarMunicipalities();
        return std::move(FEntries);
    }

private:
    void Add(std::string entry) { FEntries.push_back(std::move(entry)); }
    void AddEmpty() { Add({}); }

    // An empty entry, the separator line and another empty entry.
    void AddSeparator() {
        AddEmpty();
        Add(kSeparatorLine);
        AddEmpty();
    }

    void AddHeader() {
        Add(std::string("[b]") + kCreditTitle + "[/b]" + kCrLf + kCreditMaker + kCrLf);
        AddEmpty();
        Add("Obec: [b]" + LiteralMarkup(FOutput.Obec) + "[/b]");
        Add("Kraj: [b]" + LiteralMarkup(FOutput.KrajNazev) + "[/b]");
        Add("Kód: " + FormatInt(FOutput.Kod));
        AddSeparator();
    }

    void AddIntegratedIndicator() {
        Add("[b]Vyhodnocení:[/b]");
        AddEmpty();
        Add("Hodnota integrovaného indikátoru Obyvatelstvo: " + FormatN(FOutput.Obyvatelstvo, 1));
        AddSeparator();
    }

    void AddAssessment() {
        Add("[b]Slovní zhodnocení:[/b]");
        AddEmpty();
        Add(FOutput.Hodnoceni);
        if (!IsBlank(FOutput.VodovodText)) {
            AddEmpty();
            Add(FOutput.VodovodText);
        }
        AddSeparator();
    }

    void AddDecils(const std::array<std::int32_t, kIndicatorCount>& decils, const std::string& indent) {
        for (std::size_t k = 0; k < decils.size(); ++k)
            Add(indent + kIndicatorLabels[k] + ": " + FormatInt(decils[k]));
    }

    void AddOwnDecils() {
        Add("[b]Hodnoty jednotlivých indikátorů (1 - nejlepší, 10 - nejhorší):[/b]");
        AddEmpty();
        AddDecils(DecilsOf(FOutput.Indicators), "");
        AddSeparator();
    }

    void AddSimilarMunicipalities() {
        Add(std::string("[b]Hodnocená obec má podobné vlastnosti jako tyto obce v databázi projektu:[/b]") + kCrLf +
            "(Údaj podobnost je vážený koeficient - čím nižší hodnota, tím jsou obce podobnější)");
        AddEmpty();
        const TZevraSampleMunicipalities& similar = FOutput.SimilarMunicipalities;
        if (similar.Count() == 0) {
            Add("V databázi nebyla nalezena žádná podobná obec.");
            return;
        }
        for (int i = 0; i < similar.Count(); ++i) {
            const TZevraSampleMunicipality& m = *similar.Items(i);
            Add("[i]" + LiteralMarkup(m.Obec) + "[/i], okr. " + LiteralMarkup(m.Okres) + ", kraj " +
                LiteralMarkup(m.KrajNazev) + " - " +
                FormatInt(m.ObyvateleCelkem) + " obyv., podobnost: " + FormatFixed(similar.Ranks(i), 1));
            AddDecils(DecilsOf(m), "  ");
            AddEmpty();
        }
    }

    const TZevraOutputData& FOutput;
    std::vector<std::string> FEntries;
};

}  // namespace

std::vector<std::string> ComposeReportEntries(const TZevraOutputData& output) {
    return TReportBuilder(output).Build();
}

}  // namespace zevra
