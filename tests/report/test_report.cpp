// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The report entries composed from an evaluation result.
#include "model/u_format.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zevra {
namespace {

const std::string kSeparator(57, '-');

TZevraSampleMunicipality Sample(const std::string& obec, int obyvatel, int decil) {
    TZevraSampleMunicipality m;
    m.Obec = obec;
    m.Okres = "Okres " + obec;
    m.KrajNazev = "Vysočina";
    m.ObyvateleCelkem = obyvatel;
    for (const TIndicator& indicator : kIndicators) m.*indicator.SampleDecil = decil;
    m.DecilRps = decil + 1;
    return m;
}

TZevraOutputData Output() {
    TZevraOutputData out;
    out.Obec = "Dolní Lhota";
    out.KrajNazev = "Jihočeský";
    out.Kraj = 2;
    out.Kod = 512345;
    out.Obyvatelstvo = 512.26;
    out.Hodnoceni = "[b][i]400-700: text[/i][/b]\r\n\r\n---\r\n\r\n[i]partial[/i]";
    const TDecils decils = {1, 2, 3, 4, 5, 6, 10};
    for (std::size_t k = 0; k < kIndicatorCount; ++k) out.Indicators.*kIndicators[k].Decil = decils[k];
    return out;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedSeparator = ThousandSeparator();
        SetThousandSeparator(" ");
    }
    void TearDown() override { SetThousandSeparator(FSavedSeparator); }

private:
    std::string FSavedSeparator;
};

TEST_F(ReportTest, HeaderAssessmentAndOwnDecilsInTheirPlaces) {
    const auto entries = ComposeReportEntries(Output());
    // Credit paragraph: two lines, each ended by CR LF, the title in bold.
    const std::string& credit = entries.at(0);
    EXPECT_EQ(credit.rfind("[b]", 0), 0u);
    const auto titleEnd = credit.find("[/b]\r\n");
    ASSERT_NE(titleEnd, std::string::npos);
    EXPECT_EQ(credit.find("\r\n", titleEnd + 6), credit.size() - 2);
    EXPECT_NE(credit.find("MOXAN", titleEnd), std::string::npos);

    const std::vector<std::string> head(entries.begin() + 1, entries.begin() + 31);
    const std::vector<std::string> expected = {
        "",
        "Obec: [b]Dolní Lhota[/b]",
        "Kraj: [b]Jihočeský[/b]",
        "Kód: 512345",
        "",
        kSeparator,
        "",
        "[b]Vyhodnocení:[/b]",
        "",
        "Hodnota integrovaného indikátoru Obyvatelstvo: 512.3",
        "",
        kSeparator,
        "",
        "[b]Slovní zhodnocení:[/b]",
        "",
        Output().Hodnoceni,
        "",
        kSeparator,
        "",
        "[b]Hodnoty jednotlivých indikátorů (1 - nejlepší, 10 - nejhorší):[/b]",
        "",
        "Dojížďkový čas do krajského města: 1",
        "Dojížďková vzdálenost od okresního města: 2",
        "Dostupnost silnice 1. třídy: 3",
        "Nadmořská výška: 4",
        "Velikost katastru: 5",
        "Podíl vyjíždějících na ek. akt. obyv.: 6",
        "Podíl rolníku na podnikatelských subjektech: 10",
        "",
        kSeparator,
    };
    EXPECT_EQ(head, expected);
    EXPECT_EQ(entries.at(31), "");
    EXPECT_EQ(entries.at(32),
              "[b]Hodnocená obec má podobné vlastnosti jako tyto obce v databázi projektu:[/b]\r\n"
              "(Údaj podobnost je vážený koeficient - čím nižší hodnota, tím jsou obce podobnější)");
    EXPECT_EQ(entries.at(33), "");
}

TEST_F(ReportTest, WaterWarningGetsItsOwnEntryOnlyWhenPresent) {
    const std::string assessment = Output().Hodnoceni;
    const struct {
        const char* Water;
        std::vector<std::string> From16;  // the entries from the 16th on
    } kCases[] = {
        {" \r\n ", {assessment, "", kSeparator}},
        {"[b][i]voda[/i][/b]", {assessment, "", "[b][i]voda[/i][/b]", "", kSeparator}},
    };
    for (const auto& c : kCases) {
        TZevraOutputData out = Output();
        out.VodovodText = c.Water;
        const auto entries = ComposeReportEntries(out);
        ASSERT_GE(entries.size(), 16 + c.From16.size()) << c.Water;
        EXPECT_EQ(std::vector<std::string>(entries.begin() + 16, entries.begin() + 16 + c.From16.size()), c.From16)
            << c.Water;
    }
}

TEST_F(ReportTest, NumbersAreGroupedAndRounded) {
    TZevraOutputData out = Output();
    out.Obyvatelstvo = 1000;
    out.Kod = 0;
    auto entries = ComposeReportEntries(out);
    EXPECT_EQ(entries.at(10), "Hodnota integrovaného indikátoru Obyvatelstvo: 1 000.0");
    EXPECT_EQ(entries.at(4), "Kód: 0");
    out.Obyvatelstvo = 462.25;
    EXPECT_EQ(ComposeReportEntries(out).at(10), "Hodnota integrovaného indikátoru Obyvatelstvo: 462.3");
}

// Names are shown as they are: a bracket in one opens no tag, so nothing is
// lost and no later line turns bold or italic.
TEST_F(ReportTest, NamesWithBracketsAreShownAsTheyAre) {
    for (const std::string name : {"Lhota [u Brna", "Lhota [b] Horní", "[/i]x[", "[[b]"}) {
        TZevraOutputData out = Output();
        out.Obec = name;
        out.KrajNazev = name;
        out.SimilarMunicipalities.AddRanked(Sample(name, 1234, 3), 0.25);
        const std::string text = RenderPlainText(ComposeReportEntries(out));
        EXPECT_NE(text.find("Obec: " + name + "\nKraj: " + name + "\n"), std::string::npos) << name;
        EXPECT_NE(text.find(name + ", okr. Okres " + name + ", kraj Vysočina - "), std::string::npos) << name;
    }
}

TEST_F(ReportTest, NoSimilarMunicipalityEndsTheReportWithASentence) {
    const auto entries = ComposeReportEntries(Output());
    ASSERT_EQ(entries.size(), 35u);
    EXPECT_EQ(entries.back(), "V databázi nebyla nalezena žádná podobná obec.");
}

TEST_F(ReportTest, EverySimilarMunicipalityHasABlockOfNineEntries) {
    TZevraOutputData out = Output();
    out.SimilarMunicipalities.AddRanked(Sample("Borová", 1234, 3), 0.25);
    out.SimilarMunicipalities.AddRanked(Sample("Čistá", 987, 4), 0.35);
    out.SimilarMunicipalities.AddRanked(Sample("Úhlejov", 15000, 9), 7.96);
    const auto entries = ComposeReportEntries(out);
    ASSERT_EQ(entries.size(), 34u + 3 * 9);
    const std::vector<std::string> first(entries.begin() + 34, entries.begin() + 43);
    const std::vector<std::string> expected = {
        "[i]Borová[/i], okr. Okres Borová, kraj Vysočina - 1234 obyv., podobnost: 0.3",
        "  Dojížďkový čas do krajského města: 3",
        "  Dojížďková vzdálenost od okresního města: 3",
        "  Dostupnost silnice 1. třídy: 3",
        "  Nadmořská výška: 3",
        "  Velikost katastru: 3",
        "  Podíl vyjíždějících na ek. akt. obyv.: 3",
        "  Podíl rolníku na podnikatelských subjektech: 4",
        "",
    };
    EXPECT_EQ(first, expected);
    EXPECT_EQ(entries.at(43), "[i]Čistá[/i], okr. Okres Čistá, kraj Vysočina - 987 obyv., podobnost: 0.4");
    // Inhabitants are a plain integer, the similarity has no grouping.
    EXPECT_EQ(entries.at(52), "[i]Úhlejov[/i], okr. Okres Úhlejov, kraj Vysočina - 15000 obyv., podobnost: 8.0");
    EXPECT_EQ(entries.back(), "");
}

}  // namespace
}  // namespace zevra
