// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Sensitivity of the band to the weights, and the shares of the similarity
// distance, on cases whose answer is known in advance.
#include "model/u_model.h"
#include "model/u_sensitivity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zevra {
namespace {

const TWeights kModelWeights{10, 10, 10, 20, 10, 20, 20};

TEST(SensitivityTest, EqualDecilsGiveTheSameValueWhateverTheWeights) {
    const TSensitivityResult r = AnalyseSensitivity({5, 5, 5, 5, 5, 5, 5}, kModelWeights);
    EXPECT_DOUBLE_EQ(r.Obyvatelstvo, 500);
    EXPECT_EQ(r.Band, 1);
    EXPECT_EQ(r.BandCounts[1], 10000);
    EXPECT_EQ(r.BandPercent(1), 100);
    EXPECT_NEAR(r.Minimum, 500, 1e-9);
    EXPECT_NEAR(r.Maximum, 500, 1e-9);
    EXPECT_NEAR(r.Percentile5, 500, 1e-9);
    EXPECT_NEAR(r.Percentile95, 500, 1e-9);
    for (const TOneAtATime& oat : r.OneAtATime) EXPECT_FALSE(oat.MovesBand);
    EXPECT_EQ(SensitivitySentence(r), "Zařazení do pásma 400-700 je stabilní: platí v 100 % variant vah.");
}

// Two indicators of weight 50, deciles 10 and 4: the value is
// (1000 f1 + 400 f2) / (f1 + f2), which is exactly 700 with the weights as
// they are and reaches the top band exactly when f1 >= f2, so half of the
// draws; it lies between 625 and 775 for factors in [0.75, 1.25].
TEST(SensitivityTest, TwoIndicatorsOnTheBandBoundarySplitHalfAndHalf) {
    const TDecils decils{10, 4, 1, 1, 1, 1, 1};
    const TWeights weights{50, 50, 0, 0, 0, 0, 0};
    const TSensitivityResult r = AnalyseSensitivity(decils, weights);
    EXPECT_DOUBLE_EQ(r.Obyvatelstvo, 700);
    EXPECT_EQ(r.Band, 2);
    EXPECT_EQ(r.BandCounts[0], 0);
    EXPECT_EQ(r.BandCounts[1] + r.BandCounts[2], 10000);
    EXPECT_NEAR(r.BandShare(2), 0.5, 0.03);
    EXPECT_GE(r.Minimum, 625 - 1e-9);
    EXPECT_LE(r.Maximum, 775 + 1e-9);
    EXPECT_LT(r.Percentile5, 700);
    EXPECT_GT(r.Percentile95, 700);
    EXPECT_LE(r.Minimum, r.Percentile5);
    EXPECT_LE(r.Percentile95, r.Maximum);

    // dck at 50 %: (500 + 400) / 1.5 = 600; at 150 %: (1500 + 400) / 2.5 = 760.
    EXPECT_DOUBLE_EQ(r.OneAtATime[0].ObyvatelstvoLow, 600);
    EXPECT_DOUBLE_EQ(r.OneAtATime[0].ObyvatelstvoHigh, 760);
    EXPECT_TRUE(r.OneAtATime[0].MovesBand);
    EXPECT_TRUE(r.OneAtATime[1].MovesBand);
    // An indicator of weight 0 changes nothing.
    EXPECT_DOUBLE_EQ(r.OneAtATime[2].ObyvatelstvoLow, 700);
    EXPECT_FALSE(r.OneAtATime[2].MovesBand);

    const std::string sentence = SensitivitySentence(r);
    EXPECT_EQ(sentence.rfind("Zařazení do pásma 700-1000 je nejisté: platí jen v ", 0), 0u) << sentence;
    EXPECT_NE(sentence.find(" % variant vah, jinak vychází pásmo 400-700."), std::string::npos) << sentence;
}

TEST(SensitivityTest, SameInputSameFiguresAndTheSeedDecides) {
    const TDecils decils{9, 3, 7, 8, 2, 6, 5};
    const TSensitivityResult a = AnalyseSensitivity(decils, kModelWeights);
    const TSensitivityResult b = AnalyseSensitivity(decils, kModelWeights);
    EXPECT_EQ(a.BandCounts, b.BandCounts);
    EXPECT_EQ(a.Percentile5, b.Percentile5);
    EXPECT_EQ(a.Maximum, b.Maximum);

    TSensitivitySettings other;
    other.Seed = 1;
    const TSensitivityResult c = AnalyseSensitivity(decils, kModelWeights, other);
    EXPECT_NE(a.Maximum, c.Maximum);

    TSensitivitySettings none;
    none.Spread = 0;
    none.Draws = 5;
    const TSensitivityResult d = AnalyseSensitivity(decils, kModelWeights, none);
    EXPECT_NEAR(d.Minimum, d.Obyvatelstvo, 1e-9);
    EXPECT_NEAR(d.Maximum, d.Obyvatelstvo, 1e-9);
}

TEST(SensitivityTest, SettingsOutsideTheLimitsAreRefused) {
    const TDecils decils{5, 5, 5, 5, 5, 5, 5};
    for (int draws : {0, -1, kMaxSensitivityDraws + 1}) {
        TSensitivitySettings s;
        s.Draws = draws;
        EXPECT_THROW(AnalyseSensitivity(decils, kModelWeights, s), EZevraError) << draws;
    }
    for (double spread : {-0.1, 1.5, std::numeric_limits<double>::quiet_NaN()}) {
        TSensitivitySettings s;
        s.Spread = spread;
        EXPECT_THROW(AnalyseSensitivity(decils, kModelWeights, s), EZevraError) << spread;
    }
    // All weights zero: nothing to rescale, the value stays 0.
    const TSensitivityResult zero = AnalyseSensitivity(decils, TWeights{});
    EXPECT_EQ(zero.BandCounts[0], 10000);
}

TEST(SensitivityTest, UniformMappingStaysInsideTheUnitInterval) {
    EXPECT_EQ(UnitUniform(0), 0.0);
    EXPECT_LT(UnitUniform(std::numeric_limits<std::uint64_t>::max()), 1.0);
    EXPECT_DOUBLE_EQ(UnitUniform(std::uint64_t{1} << 63), 0.5);
}

TEST(SensitivityTest, BandsFollowTheModelsBoundaries) {
    for (const auto& [value, band] : {std::pair{400.0, 0}, {400.5, 1}, {699.99, 1}, {700.0, 2}})
        EXPECT_EQ(BandOf(value), band) << value;
    EXPECT_STREQ(BandName(0), "0-400");
    EXPECT_STREQ(BandName(2), "700-1000");
}

TEST(ContributionsTest, SharesAddUpToTheRankOfEverySimilarMunicipality) {
    // With the weights 20 for dck, two deciles apart in dck only: 0.8.
    const TWeights weights{20, 10, 10, 10, 10, 20, 20};
    const TWeights shares = SimilarityContributions({5, 5, 5, 5, 5, 5, 5}, {7, 5, 5, 5, 5, 5, 5}, weights);
    EXPECT_DOUBLE_EQ(shares[0], 0.8);
    for (std::size_t k = 1; k < kIndicatorCount; ++k) EXPECT_EQ(shares[k], 0);

    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    model.LoadInput(std::string(ZEVRA_EXAMPLES_DIR) + "/znevyhodnena-obec.txt");
    model.Evaluate();
    const TZevraOutputData& out = *model.Output();
    ASSERT_GT(out.SimilarMunicipalities.Count(), 0);
    const TDecils own = DecilsOf(out.Indicators);
    const TWeights modelWeights = WeightsInOrder(model.Weights());
    EXPECT_DOUBLE_EQ(WeightedSum(own, modelWeights), out.Obyvatelstvo);
    for (int i = 0; i < out.SimilarMunicipalities.Count(); ++i) {
        const TWeights s = SimilarityContributions(own, DecilsOf(*out.SimilarMunicipalities.Items(i)), modelWeights);
        double sum = 0;
        for (double v : s) sum += v;
        EXPECT_NEAR(sum, out.SimilarMunicipalities.Ranks(i), 1e-9) << i;
    }
}

}  // namespace
}  // namespace zevra
