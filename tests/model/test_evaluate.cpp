// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of one municipality: deciles, the employer correction, the
// integrated indicator with its band, the partial texts and the water-supply
// warning, and what a refused evaluation leaves behind.
#include "model/u_indicators.h"
#include "model/u_model.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace zevra {
namespace {

using test::TempDir;
using test::WriteDataSet;

const std::string kBandLow =
    "[b][i]0-400: Obec patří do skupiny obcí, které z hlediska disparit by neměly mít problémy s přírůstkem "
    "obyvatel.[/i][/b]";
const std::string kBandMiddle = "[b][i]400-700: Obec je z hlediska disparit v neutrálním pásmu.[/i][/b]";
const std::string kBandHigh =
    "[b][i]700-1000: Obec podle zadaných údajů je z hlediska disparit znevýhodněna a má nebo může mít problém s "
    "přírůstky obyvatel a tím s demografickou strukturou.[/i][/b]";
const std::string kBandMiddleHtml =
    "<strong><em>400-700: Obec je z hlediska disparit v neutrálním pásmu.</em></strong>";
const std::string kHeader =
    "\r\n\r\n---------------------------------------------------------\r\n\r\n[b]Dílčí zhodnocení:[/b]\r\n\r\n";
const std::string kDckText = "[i]Obec je znevýhodněna z hlediska polohy v kraji .[/i]";
const std::string kVktText =
    "[i]Obec obsluhuje velké katastrální území, což může působit problémy s obslužností, inženýrskými sítěmi "
    "apod.[/i]";
const std::string kRpsText =
    "[i]Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu podnikatelských subjektů.[/i]";

TZevraDecilDistribution Distribution(bool asc) {
    TZevraDecilDistribution d;
    d.Indikator = "dck";
    d.Asc = asc;
    for (int k = 0; k < 9; ++k) d.Values[static_cast<std::size_t>(k)] = 10.0 * (k + 1);
    return d;
}

// The test data set has every boundary at 10, 20, ... 90 and region 2 at an
// altitude of 500 m, so a value of 10 * d - 5 lands in decile d.
void SetDecils(TZevraInputData& in, int dck, int dvo, int vs1, int nvr, int vkt, int vea, int rps) {
    in.KrMestoMin = dck * 10 - 5;
    in.OkrMestoKm = dvo * 10 - 5;
    in.Silnice1TrM = vs1 * 10 - 5;
    in.NadmVyska = 500 + nvr * 10 - 5;
    in.KatastrCelkem = vkt * 10 - 5;
    in.ObyvateleEA = 100;
    in.ObyvateleNezamestnani = 0;
    in.ObyvateleVyjizdejici = vea * 10 - 5;
    in.PodnikateleCelkem2006 = 100;
    in.PodnikateleRolnici2006 = rps * 10 - 5;
}

class EvaluateTest : public ::testing::Test {
protected:
    void Load(const std::map<std::string, std::string>& replace = {}) {
        WriteDataSet(Dir.Path(), replace);
        Model = std::make_unique<TZevraModel>(Dir.Path().string());
        TZevraInputData& in = Model->Input();
        in.Obec = "Testov";
        in.Kraj = 2;
        in.Kod = 0;
        in.Vodovod = TTriBool::tbTrue;
        in.ObyvateleCelkem = 1000;
        SetDecils(in, 5, 5, 5, 5, 5, 5, 5);
    }
    void SetUp() override { Load(); }

    const TZevraOutputData& Evaluated() {
        Model->Evaluate();
        return *Model->Output();
    }

    TempDir Dir;
    std::unique_ptr<TZevraModel> Model;
};

TEST(DecilOfTest, BoundaryBelongsToLowerDecileAndDescendingReverses) {
    const auto asc = Distribution(true);
    const auto desc = Distribution(false);
    struct Case {
        double value;
        int ascDecil;
    };
    for (const Case c : {Case{30, 3}, Case{30.0001, 4}, Case{91, 10}, Case{5, 1}, Case{10, 1}, Case{90, 9},
                         Case{-1e9, 1}, Case{1e9, 10}}) {
        EXPECT_EQ(TZevraModel::DecilOf(asc, c.value), c.ascDecil) << c.value;
        EXPECT_EQ(TZevraModel::DecilOf(desc, c.value), 11 - c.ascDecil) << c.value;
    }
}

TEST(DecilOfTest, FirstBoundaryNotExceededDecidesWhateverTheirOrder) {
    TZevraDecilDistribution d = Distribution(true);
    d.Values = {50, 10, 20, 30, 40, 60, 70, 80, 90};
    EXPECT_EQ(TZevraModel::DecilOf(d, 15), 1);
    EXPECT_EQ(TZevraModel::DecilOf(d, 55), 6);
    d.Values = {10, 5, 5, 5, 5, 5, 5, 5, 100};
    EXPECT_EQ(TZevraModel::DecilOf(d, 50), 9);
}

TEST_F(EvaluateTest, IndicatorValuesComeFromTheInputAndTheRegionAltitude) {
    TZevraInputData& in = Model->Input();
    in.KrMestoMin = 33;
    in.OkrMestoKm = 12;
    in.Silnice1TrM = 4500;
    in.NadmVyska = 612.5;  // region 2 lies at 500 m
    in.KatastrCelkem = 845.25;
    in.ObyvateleEA = 480;
    in.ObyvateleNezamestnani = 30;
    in.ObyvateleVyjizdejici = 150;
    in.PodnikateleCelkem2006 = 120;
    in.PodnikateleRolnici2006 = 9;
    const auto& ind = Evaluated().Indicators;
    EXPECT_DOUBLE_EQ(ind.Dck, 33);
    EXPECT_DOUBLE_EQ(ind.Dvo, 12);
    EXPECT_DOUBLE_EQ(ind.Vs1, 4500);
    EXPECT_DOUBLE_EQ(ind.Nvr, 112.5);
    EXPECT_DOUBLE_EQ(ind.Vkt, 845.25);
    EXPECT_DOUBLE_EQ(ind.Vea, 15000.0 / 450.0);
    EXPECT_DOUBLE_EQ(ind.Rps, 7.5);
    EXPECT_EQ(ind.DecilDck, 4);
    EXPECT_EQ(ind.DecilNvr, 10);
    EXPECT_EQ(ind.DecilVea, 4);
    EXPECT_EQ(ind.DecilRps, 1);
}

TEST_F(EvaluateTest, ZeroDivisorsGiveZeroSharesAndLargeCountsDoNotOverflow) {
    TZevraInputData& in = Model->Input();
    in.ObyvateleEA = 40;
    in.ObyvateleNezamestnani = 40;
    in.ObyvateleVyjizdejici = 0;
    in.PodnikateleCelkem2006 = 0;
    in.PodnikateleRolnici2006 = 0;
    EXPECT_EQ(Evaluated().Indicators.Vea, 0);
    EXPECT_EQ(Model->Output()->Indicators.Rps, 0);

    in.ObyvateleCelkem = 9999999;
    in.ObyvateleEA = 9999999;
    in.ObyvateleNezamestnani = 0;
    in.ObyvateleVyjizdejici = 9999999;
    in.PodnikateleCelkem2006 = 999999;
    in.PodnikateleRolnici2006 = 999999;
    EXPECT_DOUBLE_EQ(Evaluated().Indicators.Vea, 100);
    EXPECT_DOUBLE_EQ(Model->Output()->Indicators.Rps, 100);
}

TEST_F(EvaluateTest, EmployerCorrectionLowersOnlyADisadvantagedCommutingDecile) {
    struct Case {
        int veaDecil;
        int employer;
        int expected;
    };
    for (const Case c : {Case{10, 100, 6}, Case{10, 99, 10}, Case{9, 100, 5}, Case{9, 99999, 5}, Case{8, 5000, 8},
                         Case{10, 0, 10}}) {
        SetDecils(Model->Input(), 5, 5, 5, 5, 5, c.veaDecil, 5);
        Model->Input().DominantniZamestnavatel = c.employer;
        const auto& out = Evaluated();
        EXPECT_EQ(out.Indicators.DecilVea, c.expected) << c.veaDecil << " / " << c.employer;
        // The corrected decile is the one weighed and assessed.
        EXPECT_DOUBLE_EQ(out.Obyvatelstvo, 400 + c.expected * 20);
        EXPECT_EQ(out.Hodnoceni.find("[b]Dílčí zhodnocení:[/b]") != std::string::npos, c.expected >= 9);
    }
}

// The band at its limits, also just above 400 and with a weight of 0 (which
// counts as 0).
TEST_F(EvaluateTest, IntegratedIndicatorChoosesItsBandAtTheLimits) {
    EXPECT_EQ(Evaluated().HodnoceniHtml, kBandMiddleHtml);  // every decile 5
    const struct {
        const char* Weights;  // nullptr: those of the test data set
        std::array<int, kIndicatorCount> Decils;
        double Value;
        const std::string* Text;  // nullptr: not compared
        const char* HtmlStart;
    } kCases[] = {
        // (Weights are loaded last: they stay for the cases after them.)
        {nullptr, {5, 5, 5, 5, 5, 5, 5}, 500, &kBandMiddle, "<strong><em>400-700: "},
        {nullptr, {7, 7, 7, 7, 7, 7, 7}, 700, &kBandHigh, "<strong><em>700-1000: "},
        {nullptr, {4, 4, 4, 4, 4, 4, 4}, 400, &kBandLow, "<strong><em>0-400: "},
        {"OWeights = 1\ndck = 10.125\ndvo = 10\nvs1 = 10\nnvr = 20\nvkt = 10\nvea = 20\nrps = 20\n",
         {4, 4, 4, 4, 4, 4, 4}, 400.5, &kBandMiddle, ""},
        {"OWeights = 1\ndck = 10\ndvo = 10\nvs1 = 10\nnvr = 20\nvkt = 10\nvea = 40\nrps = 0\n",
         {5, 5, 5, 5, 5, 5, 10}, 500, nullptr, ""},
    };
    for (const auto& c : kCases) {
        if (c.Weights) Load({{"OWeights", c.Weights}});
        const auto& d = c.Decils;
        SetDecils(Model->Input(), d[0], d[1], d[2], d[3], d[4], d[5], d[6]);
        const auto& out = Evaluated();
        EXPECT_DOUBLE_EQ(out.Obyvatelstvo, c.Value) << c.Value;
        if (c.Text) {
            EXPECT_EQ(out.Hodnoceni, *c.Text) << c.Value;
        }
        EXPECT_EQ(out.HodnoceniHtml.rfind(c.HtmlStart, 0), 0u) << c.Value;
    }
}

TEST_F(EvaluateTest, PartialAssessmentWritesTheHeaderOnceAndSeparatesTheTexts) {
    SetDecils(Model->Input(), 5, 5, 5, 5, 5, 5, 9);
    const auto& one = Evaluated();
    EXPECT_DOUBLE_EQ(one.Obyvatelstvo, 580);
    EXPECT_EQ(one.Hodnoceni, kBandMiddle + kHeader + kRpsText);
    EXPECT_EQ(one.HodnoceniHtml, kBandMiddleHtml +
                                     "<br/><br/><strong>Dílčí zhodnocení:</strong><br/><br/><em>Obec má velký podíl "
                                     "samostatně hospodařících rolníků na celkovém počtu podnikatelských "
                                     "subjektů.</em>");

    SetDecils(Model->Input(), 10, 5, 5, 5, 9, 5, 9);
    const auto& three = Evaluated();
    EXPECT_EQ(three.Hodnoceni, kBandMiddle + kHeader + kDckText + "\r\n\r\n" + kVktText + "\r\n\r\n" + kRpsText);
    EXPECT_EQ(three.HodnoceniHtml,
              kBandMiddleHtml +
                  "<br/><br/><strong>Dílčí zhodnocení:</strong><br/><br/>"
                  "<em>Obec je znevýhodněna z hlediska polohy v kraji .</em><br />"
                  "<em>Obec obsluhuje velké katastrální území, což může působit problémy s obslužností, "
                  "inženýrskými sítěmi apod.</em><br />"
                  "<em>Obec má velký podíl samostatně hospodařících rolníků na celkovém počtu podnikatelských "
                  "subjektů.</em>");
}

TEST_F(EvaluateTest, EveryIndicatorHasItsOwnPartialTextInTheFixedOrder) {
    SetDecils(Model->Input(), 9, 9, 9, 9, 9, 9, 9);
    const std::string& text = Evaluated().Hodnoceni;
    EXPECT_EQ(text.rfind(kBandHigh + kHeader, 0), 0u);
    const char* fragments[] = {"polohy v kraji .", "z hlediska polohy.", "dopravní dostupnosti.",
                               "krajský průměr.", "inženýrskými sítěmi apod.", "významného zaměstnavatele[/i]",
                               "podnikatelských subjektů."};
    std::size_t last = 0;
    for (const char* fragment : fragments) {
        const auto at = text.find(fragment);
        ASSERT_NE(at, std::string::npos) << fragment;
        EXPECT_GT(at, last) << fragment;
        last = at;
    }
    EXPECT_EQ(Model->Output()->HodnoceniHtml.find("\r"), std::string::npos);
}

TEST_F(EvaluateTest, WaterSupplyWarningOnlyWithoutAWaterMain) {
    const auto& connected = Evaluated();
    EXPECT_EQ(connected.VodovodText, "");
    EXPECT_EQ(connected.VodovodHtml, "&nbsp;");

    Model->Input().Vodovod = TTriBool::tbFalse;
    const auto& cut = Evaluated();
    EXPECT_EQ(cut.VodovodText,
              "[b][i]Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této oblasti je "
              "třeba věnovat zvláštní pozornost[/i][/b]");
    EXPECT_EQ(cut.VodovodHtml,
              "<strong><em>Obec může mít potenciální problémy s dostatečným zásobováním pitnou vodou. Této "
              "oblasti je třeba věnovat zvláštní pozornost</em></strong>");
}

TEST_F(EvaluateTest, OutputCarriesTheIdentityOfTheMunicipality) {
    Model->Input().Kod = 100777;
    const auto& out = Evaluated();
    EXPECT_EQ(out.Obec, "Testov");
    EXPECT_EQ(out.Kraj, 2);
    EXPECT_EQ(out.Kod, 100777);
    EXPECT_EQ(out.KrajNazev, "Jihočeský");

    // A second evaluation of the same input gives an equal, new result.
    const TZevraOutputData first = out;
    const auto& again = Evaluated();
    EXPECT_EQ(again.Hodnoceni, first.Hodnoceni);
    EXPECT_EQ(again.Obyvatelstvo, first.Obyvatelstvo);
    EXPECT_EQ(again.Indicators, first.Indicators);
    EXPECT_EQ(again.SimilarMunicipalities.Count(), first.SimilarMunicipalities.Count());
}

TEST_F(EvaluateTest, RefusedEvaluationKeepsThePreviousOutput) {
    const TZevraOutputData* previous = &Evaluated();
    const std::string previousText = previous->Hodnoceni;

    Model->Input().Obec = "  ";
    EXPECT_EQ(test::ErrorOf([&] { Model->Evaluate(); }), "CHYBA: Název obce - Hodnota musí být vyplněna");
    EXPECT_EQ(Model->Output(), previous);

    Model->Input().Obec = "Testov";
    Model->Input().Kraj = 14;
    EXPECT_EQ(test::ErrorOf([&] { Model->Evaluate(); }), "Kraj s číslem 14 nebyl nalezen v seznamu krajů!");
    ASSERT_EQ(Model->Output(), previous);
    EXPECT_EQ(Model->Output()->Hodnoceni, previousText);
}

TEST_F(EvaluateTest, DistributionsAreFoundByCodeWithoutCase) {
    // (A second block for a code is refused at load.)
    std::string dists;
    for (const char* code : {"DCK", "dvo", "Vs1", "nvr", "vkt", "vea", "rps"}) dists += test::Distribution(code);
    Load({{"DecilDists", dists}});
    EXPECT_EQ(Model->GetDecil("dck", 45), 5);
    EXPECT_EQ(Model->GetDecil("VS1", 95), 10);
    EXPECT_EQ(Evaluated().Indicators.DecilDck, 5);
}

TEST_F(EvaluateTest, MissingDistributionRefusesTheEvaluation) {
    std::string dists;
    for (const char* code : kIndicatorCodes) {
        if (std::string_view(code) != "vea") dists += test::Distribution(code);
    }
    Load({{"DecilDists", dists}});
    EXPECT_EQ(test::ErrorOf([&] { Model->Evaluate(); }), "Decilace indikátoru není k dispozici! [vea]");
    EXPECT_EQ(Model->Output(), nullptr);

    // An unknown region is reported before any decile is looked up.
    Model->Input().Kraj = 9;
    EXPECT_EQ(test::ErrorOf([&] { Model->Evaluate(); }), "Kraj s číslem 9 nebyl nalezen v seznamu krajů!");
}

}  // namespace
}  // namespace zevra
