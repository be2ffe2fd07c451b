// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/u_DAO.h"
#include "model/u_model.h"
#include "test_support.h"

#include <gtest/gtest.h>


namespace zevra {
namespace {

class DataFiles : public ::testing::Test {
protected:
    void Write(const std::map<std::string, std::string>& replace) { test::WriteDataSet(dir.Path(), replace); }
    TZevraData Data() const { return TZevraData(dir.Path().string()); }

    test::TempDir dir;
};

TEST_F(DataFiles, KeyValueLinesCommentsAndBlanks) {
    std::string key, value;
    EXPECT_TRUE(TZevraData::ParseKeyValue("  Value1 =  12.5 ", key, value));
    EXPECT_EQ(key, "Value1");
    EXPECT_EQ(value, "12.5");
    EXPECT_TRUE(TZevraData::ParseKeyValue("Nazev = A = B", key, value));
    EXPECT_EQ(value, "A = B");
    EXPECT_TRUE(TZevraData::ParseKeyValue("  # Kod = 5", key, value));  // not a comment
    EXPECT_EQ(key, "# Kod");
    EXPECT_FALSE(TZevraData::ParseKeyValue("# Kod = 5", key, value));
    EXPECT_FALSE(TZevraData::ParseKeyValue(" \t", key, value));
    EXPECT_FALSE(TZevraData::ParseKeyValue("no assignment", key, value));
}

TEST_F(DataFiles, FilesOfOnlyCommentsGiveEmptyCollections) {
    Write({{"DecilDists", "# nic\n\n"}, {"OWeights", "# nic\n"}, {"SampMuni", ""}});
    EXPECT_TRUE(Data().LoadDecilDists().empty());
    EXPECT_EQ(Data().LoadSampMuni().Count(), 0);
    const TZevraObyvatelstvoWeights weights = Data().LoadOWeights();
    EXPECT_EQ(weights, TZevraObyvatelstvoWeights{});
}

TEST_F(DataFiles, DistributionsStartKeysInAnyCaseAndTheAscFlag) {
    Write({{"DecilDists",
            "DECILDIST = dck\nvalue1 = 1\nAsc = t\n"
            "decildist = dvo\n  Value1  =  12.5  \nASC = T\n"
            "DecilDist = dck\nValue1 = 99\n"}});
    const auto dists = Data().LoadDecilDists();
    ASSERT_EQ(dists.size(), 3u);
    EXPECT_EQ(dists[0].Indikator, "dck");
    EXPECT_FALSE(dists[0].Asc);  // lower-case t is not "T"
    EXPECT_DOUBLE_EQ(dists[1].Values[0], 12.5);
    EXPECT_TRUE(dists[1].Asc);
    EXPECT_TRUE(dists[2].Asc);  // without an Asc line
    EXPECT_DOUBLE_EQ(dists[2].Values[0], 99);
}

TEST_F(DataFiles, ConversionFailuresNameTheValue) {
    // ... and the file and the line.
    const auto at = [&](const char* name, int line) {
        return "\r\n[" + Data().DataFilePath(name) + ", řádek " + std::to_string(line) + "]";
    };
    Write({{"DecilDists", "DecilDist = dck\nValue1 = 12,5\n"}});
    EXPECT_EQ(test::ErrorOf([&] { Data().LoadDecilDists(); }),
              "'12,5' is not a valid floating point value" + at("DecilDists", 2));
    Write({{"Regions", "Region = \n"}});
    EXPECT_EQ(test::ErrorOf([&] { Data().LoadRegions(); }), "'' is not a valid integer value" + at("Regions", 1));
    Write({{"SampMuni", "Obec = A\nObyvatelstvo = 512.5\n"}});
    EXPECT_EQ(test::ErrorOf([&] { Data().LoadSampMuni(); }), "'512.5' is not a valid integer value" + at("SampMuni", 2));
    Write({{"OWeights", "dck = 1\n\nrps = x\n"}});
    EXPECT_EQ(test::ErrorOf([&] { Data().LoadOWeights(); }), "'x' is not a valid floating point value" + at("OWeights", 3));
}

TEST_F(DataFiles, RecordsFollowTheirStartKeys) {
    Write({{"Regions", "Nazev = ignored\nRegion = 7\nNazev = Kraj = Vysočina\nNadmVyska = 510.5\nRegion = 8\n"},
           {"SampMuni", "Okres = ignored\nObec = Dub\nObyvatelstvo = 512\nKraj = Jihočeský\nrps = 9\nObec = Bor\n"}});
    const auto regions = Data().LoadRegions();
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].Region, 7);
    EXPECT_EQ(regions[0].Nazev, "Kraj = Vysočina");
    EXPECT_DOUBLE_EQ(regions[0].NadmVyska, 510.5);
    EXPECT_EQ(regions[1].RokOd, 1960);
    EXPECT_EQ(regions[1].RokDo, 2999);
    const auto sample = Data().LoadSampMuni();
    ASSERT_EQ(sample.Count(), 2);
    EXPECT_TRUE(sample.Items(0)->Okres.empty());
    EXPECT_DOUBLE_EQ(sample.Items(0)->Obyvatelstvo, 512.0);
    EXPECT_EQ(sample.Items(0)->KrajNazev, "Jihočeský");
    EXPECT_EQ(sample.Items(0)->DecilRps, 9);
    EXPECT_FALSE(sample.Ranked());
}

TEST_F(DataFiles, EveryLineEndEndsALineAndUtf8FilesAreRecognised) {
    Write({});
    // LF-only line ends, as any editor on this platform writes them.
    test::WriteBytes(Data().DataFilePath("Regions"), "# komentář\nRegion = 3\nNazev = Plze\xf2sk\xfd\n");
    auto regions = Data().LoadRegions();
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0].Nazev, "Plzeňský");
    // UTF-8 with a byte-order mark, lone CR line ends.
    test::WriteBytes(Data().DataFilePath("Regions"), "\xEF\xBB\xBFRegion = 3\rNazev = Plzeňský\r");
    regions = Data().LoadRegions();
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_EQ(regions[0].Nazev, "Plzeňský");
}

TEST_F(DataFiles, AMissingFileStopsTheModelAfterTheFilesReadBefore) {
    Write({});
    std::filesystem::remove(dir.Path() / "Regions.txt");
    const std::string path = (dir.Path() / "Regions.txt").string();
    EXPECT_EQ(test::ErrorOf([&] { TZevraModel model(dir.Path().string()); }),
              "Soubor potřebý pro běh programu nebyl nalezen!\r\n[" + path + "]");
    // The files before it are readable; the ones after it were never needed.
    EXPECT_NO_THROW(Data().LoadDecilDists());
    EXPECT_NO_THROW(Data().LoadMuniInfo());
}

TEST_F(DataFiles, TheShippedDataLoad) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    ASSERT_EQ(model.Kraje().size(), 13u);
    EXPECT_EQ(model.Kraje()[0].Region, 1);
    EXPECT_EQ(model.Kraje()[0].Nazev, "Středočeský");
    EXPECT_EQ(model.DecilDistributions().size(), 7u);
    EXPECT_GE(model.SampleMunicipalities().Count(), 300);
    const auto& w = model.Weights();
    EXPECT_DOUBLE_EQ(w.Dck + w.Dvo + w.Vs1 + w.Nvr + w.Vkt + w.Vea + w.Rps, 100.0);
}

}  // namespace
}  // namespace zevra
