// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_SampleMunicipalities.h"
#include "model/u_inputdata.h"
#include "model/u_outputdata.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <regex>

namespace zevra {
namespace {

TZevraSampleMunicipality Named(const std::string& name) {
    TZevraSampleMunicipality m;
    m.Obec = name;
    return m;
}

TZevraSampleMunicipalities RankedList(int maxCount) {
    TZevraSampleMunicipalities list(maxCount);
    list.SetRanked(true);
    return list;
}

using test::Names;

TEST(RankedList, KeepsTheLowestRanksInOrderAndEarlierArrivalsWinTies) {
    auto list = RankedList(10);
    list.AddRanked(Named("a"), 3);
    list.AddRanked(Named("b"), 1);
    list.AddRanked(Named("c"), 2);
    list.AddRanked(Named("d"), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "d", "c", "a"}));

    auto eleven = RankedList(10);
    for (int i = 11; i >= 1; --i) eleven.AddRanked(Named(std::to_string(i)), i);
    ASSERT_EQ(eleven.Count(), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(eleven.Ranks(i), i + 1);
}

TEST(RankedList, AFullListDisplacesItsLastEntryOnlyForAStrictlyLowerRank) {
    auto list = RankedList(10);
    for (int i = 0; i < 9; ++i) list.AddRanked(Named("x" + std::to_string(i)), i * 0.5);
    list.AddRanked(Named("last"), 7.5);
    list.AddRanked(Named("equal"), 7.5);
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(list.Items(9)->Obec, "last");
    list.AddRanked(Named("lower"), 7.4);
    EXPECT_EQ(list.Items(9)->Obec, "lower");
    EXPECT_DOUBLE_EQ(list.Ranks(9), 7.4);
}

TEST(RankedList, EdgesOfCapacityAndIndexing) {
    auto none = RankedList(0);
    none.AddRanked(Named("a"), 1);
    EXPECT_EQ(none.Count(), 0);

    auto list = RankedList(10);
    list.AddRanked(Named("a"), 2);
    EXPECT_EQ(list.Ranks(list.Count()), 99999);
    EXPECT_EQ(list.Items(list.Count()), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
    list.Clear();
    EXPECT_TRUE(list.Ranked());
    list.AddRanked(Named("b"), 5);
    EXPECT_EQ(list.Items(0)->Obec, "b");
    list.Delete(0);
    list.Delete(3);
    EXPECT_EQ(list.Count(), 0);
}

TEST(RankedList, MisuseIsRefusedAndLeavesTheListUnchanged) {
    TZevraSampleMunicipalities plain;
    EXPECT_EQ(plain.Ranks(0), 99999);
    EXPECT_EQ(test::ErrorOf([&] { plain.AddRanked(Named("a"), 1); }), "Cannot rank on unranked list!");
    plain.Add(Named("a"));
    EXPECT_EQ(test::ErrorOf([&] { plain.SetRanked(true); }), "SetRanked() call on non empty list!");
    EXPECT_FALSE(plain.Ranked());
    auto ranked = RankedList(10);
    EXPECT_EQ(test::ErrorOf([&] { ranked.Add(Named("a")); }), "Rank required for a ranked list!");
    EXPECT_EQ(ranked.Count(), 0);
    EXPECT_EQ(plain.Count(), 1);
}

TEST(Records, DefaultsCopiesAndDiagnostics) {
    TZevraInputData input;
    EXPECT_EQ(input.Kraj, -1);
    EXPECT_EQ(input.Kod, 0);
    EXPECT_EQ(input.Vodovod, TTriBool::tbUnknown);

    TZevraSampleMunicipality m = Named("Dub");
    m.DecilRps = 9;
    m.Obyvatelstvo = 512;
    const TZevraSampleMunicipality copy(m);
    EXPECT_EQ(copy, m);

    TZevraOutputData output;
    EXPECT_TRUE(output.SimilarMunicipalities.Ranked());
    EXPECT_EQ(output.SimilarMunicipalities.MaxCount(), 10);

    TFloat a(1.5), b(1.5), c(2);
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(c));
    EXPECT_FALSE(a.IsEqual(m));
    EXPECT_FALSE(m.IsEqual(copy));  // the base answers identity
    EXPECT_TRUE(std::regex_match(a.AsString(), std::regex("TFloat@[0-9A-F]{8,}")));
}

}  // namespace
}  // namespace zevra
