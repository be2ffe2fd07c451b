// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The search for similar municipalities: leaving out the municipality itself,
// the size filter, the weighted distance, the ranking and the thinning.
#include "model/u_model.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace zevra {
namespace {

struct TSample {
    std::string Obec;
    std::string Kraj = "Jihočeský";
    int Kod = 0;
    int Obyvatel = 1000;
    std::array<int, kIndicatorCount> Decils{5, 5, 5, 5, 5, 5, 5};
};

std::string SampleFile(const std::vector<TSample>& samples) {
    std::string text = "# test sample\n";
    for (const TSample& s : samples) {
        text += "Obec = " + s.Obec + "\nOkres = Okres " + s.Obec + "\nKraj = " + s.Kraj +
                "\nKod = " + std::to_string(s.Kod) + "\nObyvateleCelkem = " + std::to_string(s.Obyvatel) + "\n";
        for (std::size_t k = 0; k < kIndicatorCount; ++k) text += std::string(kIndicatorCodes[k]) + " = " + std::to_string(s.Decils[k]) + "\n";
        text += "Obyvatelstvo = 500\n";
    }
    return text;
}

// Evaluates an input whose seven deciles are all 5 (region 2 "Jihočeský",
// 1000 inhabitants, weights 10 10 10 20 10 20 20) against the given sample.
class SimilarTest : public ::testing::Test {
protected:
    const TZevraSampleMunicipalities& Similar(const std::vector<TSample>& samples, const std::string& obec = "Testov",
                                              int kod = 0) {
        test::WriteDataSet(Dir.Path(), {{"SampMuni", SampleFile(samples)}});
        Model = std::make_unique<TZevraModel>(Dir.Path().string());
        TZevraInputData& in = Model->Input();
        test::SetMiddleInput(in);
        in.Obec = obec;
        in.Kod = kod;
        Model->Evaluate();
        return Model->Output()->SimilarMunicipalities;
    }

    test::TempDir Dir;
    std::unique_ptr<TZevraModel> Model;
};

using NameList = std::vector<std::string>;
using test::Names;

TEST_F(SimilarTest, SameNonZeroCodeIsTheMunicipalityItselfWhateverItsName) {
    const auto& list = Similar({{.Obec = "Jiná", .Kod = 555}, {.Obec = "Testov", .Kod = 556},
                                {.Obec = "Testov", .Kod = 0}, {.Obec = "Další", .Kod = 0}},
                               "Testov", 555);
    // Both codes known and different: listed though name and region match.
    // One code missing: compared by name and region, so left out.
    EXPECT_EQ(Names(list), (NameList{"Testov", "Další"}));
    EXPECT_EQ(list.Items(0)->Kod, 556);
}

TEST_F(SimilarTest, WithoutCodesTheNameAndRegionNameDecide) {
    const auto& list = Similar({{.Obec = "Testov", .Kod = 100010},
                                {.Obec = "Testov", .Kraj = "Plzeňský"},
                                {.Obec = "TESTOV"},
                                {.Obec = "Testov", .Kraj = "jihočeský"},
                                {.Obec = "Testov"}},
                               "Testov", 0);
    EXPECT_EQ(Names(list), (NameList{"Testov", "TESTOV", "Testov"}));
    EXPECT_EQ(list.Items(0)->KrajNazev, "Plzeňský");
    EXPECT_EQ(list.Items(2)->KrajNazev, "jihočeský");
}

TEST_F(SimilarTest, SizeFilterAllowsThirtyPerCentEitherWay) {
    const auto& list = Similar({{.Obec = "A", .Obyvatel = 699},
                                {.Obec = "B", .Obyvatel = 700},
                                {.Obec = "C", .Obyvatel = 1300},
                                {.Obec = "D", .Obyvatel = 1301},
                                {.Obec = "E", .Kraj = "Karlovarský", .Obyvatel = 1000}});
    EXPECT_EQ(Names(list), (NameList{"B", "C", "E"}));
}

TEST_F(SimilarTest, RankIsTheWeightedSquaredDecileDistanceOverHundred) {
    const auto& list = Similar({{.Obec = "Two", .Decils = {7, 5, 5, 5, 5, 5, 5}},
                                {.Obec = "Same"},
                                {.Obec = "Mixed", .Decils = {4, 6, 5, 3, 5, 5, 6}},
                                {.Obec = "Eight", .Decils = {7, 7, 7, 10, 5, 5, 8}},
                                {.Obec = "OverEight", .Decils = {7, 7, 7, 10, 6, 5, 8}}});
    ASSERT_EQ(Names(list), (NameList{"Same", "Two", "Mixed", "Eight"}));
    EXPECT_EQ(list.Ranks(0), 0.0);
    EXPECT_DOUBLE_EQ(list.Ranks(1), 0.4);  // (7 - 5)^2 * 10 / 100
    EXPECT_DOUBLE_EQ(list.Ranks(2), (10 + 10 + 4 * 20 + 20) / 100.0);
    // A rank of exactly 8 stays, 8.1 is thinned out.
    EXPECT_DOUBLE_EQ(list.Ranks(3), 8.0);
}

TEST_F(SimilarTest, ARemoteCandidateIsListedOnlyWhenItIsTheMostSimilar) {
    const TSample far{.Obec = "Far", .Decils = {8, 8, 8, 8, 8, 8, 8}};
    const auto& alone = Similar({far, {.Obec = "Farther", .Decils = {9, 9, 9, 9, 9, 9, 9}},
                                 {.Obec = "Far2", .Decils = {2, 2, 2, 2, 2, 2, 2}}});
    ASSERT_EQ(Names(alone), (NameList{"Far"}));
    EXPECT_DOUBLE_EQ(alone.Ranks(0), 9.0);

    const auto& beside = Similar({far, {.Obec = "Near", .Decils = {5, 5, 5, 5, 5, 5, 6}}});
    EXPECT_EQ(Names(beside), (NameList{"Near"}));
}

TEST_F(SimilarTest, AtMostTenKeepingTheEarlierAmongEqualRanks) {
    std::vector<TSample> samples;
    for (int i = 0; i < 6; ++i) samples.push_back({.Obec = "One" + std::to_string(i), .Decils = {6, 5, 5, 5, 5, 5, 5}});
    for (int i = 0; i < 6; ++i) samples.push_back({.Obec = "Zero" + std::to_string(i)});
    // A full list keeps its entries against a later candidate of the same rank as its last one.
    samples.push_back({.Obec = "Late", .Decils = {4, 5, 5, 5, 5, 5, 5}});
    const auto& list = Similar(samples);
    EXPECT_EQ(Names(list),
              (NameList{"Zero0", "Zero1", "Zero2", "Zero3", "Zero4", "Zero5", "One0", "One1", "One2", "One3"}));
}

TEST_F(SimilarTest, EqualRanksKeepTheSampleOrderWhateverTheSizes) {
    // Every entry ranks 0 and each is smaller than the one before it, so an
    // order by size would be the reverse of the sample order.
    std::vector<TSample> samples;
    for (int i = 0; i < 12; ++i) samples.push_back({.Obec = "S" + std::to_string(i), .Obyvatel = 1290 - 50 * i});
    const auto& list = Similar(samples);
    EXPECT_EQ(Names(list), (NameList{"S0", "S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9"}));
}

TEST_F(SimilarTest, EmptyWhenNothingPassesTheFilters) {
    EXPECT_EQ(Similar({{.Obec = "Small", .Obyvatel = 100}, {.Obec = "Testov"}}).Count(), 0);
    EXPECT_TRUE(Model->Output()->SimilarMunicipalities.Ranked());
}

}  // namespace
}  // namespace zevra
