// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// zevra-cli's JSON results checked against the text report, the sensitivity
// command and the batch HTML table of the same input.
#include "model/u_model.h"
#include "model/u_format.h"
#include "model/u_text.h"
#include "report/u_plaintext.h"
#include "report/u_report.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace zevra {
namespace {

using nlohmann::json;

using TRun = test::TCliRun;

class CliJsonTest : public ::testing::Test {
protected:
    static TRun Run(const std::string& args) { return test::RunCli(args); }

    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    test::TempDir Dir;
    const std::string Data = std::string("--data '") + ZEVRA_TEST_DATA_DIR + "' ";
    const std::string Input = std::string("'") + ZEVRA_EXAMPLES_DIR + "/znevyhodnena-obec.txt'";
};

TEST_F(CliJsonTest, EvaluationAgreesWithTheTextReport) {
    const TRun text = Run(Data + "evaluate " + Input + " --format text");
    const TRun run = Run(Data + "evaluate " + Input + " --format json");
    ASSERT_EQ(run.Status, 0) << run.Err;
    ASSERT_EQ(text.Status, 0) << text.Err;
    const json j = json::parse(run.Out);
    const std::string& report = text.Out;

    EXPECT_TRUE(Contains(report, "\nObec: " + j["obec"].get<std::string>() + "\n"));
    EXPECT_TRUE(Contains(report, "\nKraj: " + j["kraj"]["nazev"].get<std::string>() + "\n"));
    EXPECT_TRUE(Contains(report, "\nKód: " + std::to_string(j["kod"].get<int>()) + "\n"));
    EXPECT_TRUE(Contains(report, "Obyvatelstvo: " + FormatN(j["obyvatelstvo"].get<double>(), 1) + "\n"));

    ASSERT_EQ(j["indikatory"].size(), kIndicatorCount);
    for (std::size_t k = 0; k < kIndicatorCount; ++k) {
        const json& ind = j["indikatory"][k];
        EXPECT_EQ(ind["indikator"], kIndicatorCodes[k]);
        EXPECT_EQ(j["decily"][kIndicatorCodes[k]], ind["decil"]);
        EXPECT_EQ(ind["nazev"], kIndicatorLabels[k]);
        EXPECT_TRUE(Contains(report, "\n" + ind["nazev"].get<std::string>() + ": " +
                                         std::to_string(ind["decil"].get<int>()) + "\n"))
            << k;
    }

    const std::string band = j["pasmo"]["rozsah"];
    EXPECT_EQ(j["pasmo"]["text"].get<std::string>().rfind(band + ": ", 0), 0u);
    EXPECT_TRUE(Contains(report, j["pasmo"]["text"].get<std::string>()));
    ASSERT_FALSE(j["dilciHodnoceni"].empty());
    for (const json& partial : j["dilciHodnoceni"]) {
        EXPECT_TRUE(Contains(report, partial["text"]));
        EXPECT_TRUE(Contains(j["hodnoceni"], partial["text"]));
    }
    EXPECT_EQ(j["hodnoceni"].get<std::string>().rfind(j["pasmo"]["text"].get<std::string>(), 0), 0u);
    ASSERT_TRUE(j["varovaniVodovod"].is_string());
    EXPECT_TRUE(Contains(report, j["varovaniVodovod"]));

    ASSERT_FALSE(j["podobneObce"].empty());
    for (const json& m : j["podobneObce"]) {
        const std::string line = m["obec"].get<std::string>() + ", okr. " + m["okres"].get<std::string>() +
                                 ", kraj " + m["kraj"]["nazev"].get<std::string>() + " - " +
                                 std::to_string(m["obyvatel"].get<int>()) +
                                 " obyv., podobnost: " + FormatFixed(m["podobnost"].get<double>(), 1) + "\n";
        EXPECT_TRUE(Contains(report, line)) << line;
        double sum = 0;
        for (const char* code : kIndicatorCodes) sum += m["podilNaPodobnosti"][code].get<double>();
        EXPECT_NEAR(sum, m["podobnost"].get<double>(), 1e-9);
    }

    // The sensitivity figures are those of the sensitivity command.
    const TRun sensitivity = Run(Data + "sensitivity " + Input);
    ASSERT_EQ(sensitivity.Status, 0) << sensitivity.Err;
    EXPECT_TRUE(Contains(sensitivity.Out, j["citlivost"]["shrnuti"].get<std::string>() + "\n"));
    EXPECT_EQ(j["citlivost"]["pocetVariant"], 10000);
    const TRun fewer = Run(Data + "evaluate " + Input + " --format json --draws 200 --spread 0.1");
    ASSERT_EQ(fewer.Status, 0) << fewer.Err;
    EXPECT_EQ(json::parse(fewer.Out)["citlivost"]["pocetVariant"], 200);
    EXPECT_EQ(json::parse(fewer.Out)["citlivost"]["rozptyl"], 0.1);
}

TEST_F(CliJsonTest, EmployerCorrectionIsFlagged) {
    test::WriteDataSet(Dir.Path() / "data");
    TZevraModel model((Dir.Path() / "data").string());
    TZevraInputData& in = model.Input();
    test::SetMiddleInput(in);
    in.ObyvateleVyjizdejici = 95;  // 95 % commute out: decile 10 ...
    in.DominantniZamestnavatel = 100;  // ... lowered to 6
    model.SaveInput(Dir.File("vstup.txt"));
    const TRun run = Run("--data '" + (Dir.Path() / "data").string() + "' evaluate '" + Dir.File("vstup.txt") +
                         "' --format json");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const json j = json::parse(run.Out);
    const json& vea = j["indikatory"][5];
    EXPECT_EQ(vea["decil"], 6);
    EXPECT_EQ(vea["decilPredKorekci"], 10);
    EXPECT_EQ(vea["korekceZamestnavatele"], true);
    EXPECT_EQ(j["indikatory"][0]["korekceZamestnavatele"], false);
    EXPECT_TRUE(j["varovaniVodovod"].is_null());
    EXPECT_TRUE(j["dilciHodnoceni"].empty());
    // The data folder in use, and these are not the demonstration data.
    EXPECT_EQ(j["referencniData"], json({{"slozka", (Dir.Path() / "data").string()}, {"demonstracni", false}}));
}

TEST_F(CliJsonTest, BatchJsonHoldsTheRowsOfTheHtmlTable) {
    const std::string csv = std::string("'") + ZEVRA_EXAMPLES_DIR + "/obce.csv' ";
    ASSERT_EQ(Run(Data + "batch " + csv + "'" + Dir.File("vysledek.html") + "'").Status, 0);
    const TRun run = Run(Data + "batch " + csv + "'" + Dir.File("vysledek.JSON") + "'");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string html = Cp1250ToUtf8(test::ReadBytes(Dir.File("vysledek.html")));
    const json document = json::parse(test::ReadBytes(Dir.File("vysledek.JSON")));
    const json& rows = document["obce"];
    ASSERT_FALSE(rows.empty());
    // The shipped data say that they are demonstration data.
    const std::string shipped = std::filesystem::absolute(ZEVRA_TEST_DATA_DIR).lexically_normal().string();
    EXPECT_EQ(document["referencniData"], json({{"slozka", shipped}, {"demonstracni", true}}));

    // Each row of the HTML table, cell by cell.
    const std::vector<std::vector<std::string>> table = test::HtmlRows(html);
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const json& row = rows[r];
        ASSERT_EQ(table[r].size(), 6 + kIndicatorCount);
        EXPECT_EQ(table[r][0], row["obec"]);
        EXPECT_EQ(table[r][1], std::to_string(row["kod"].get<int>()));
        EXPECT_EQ(table[r][2], row["kraj"]["nazev"]);
        EXPECT_TRUE(row["kraj"]["cislo"].is_number_integer());
        EXPECT_EQ(table[r][3], FormatShortest(row["obyvatelstvo"].get<double>()));
        EXPECT_EQ(table[r][4], row["hodnoceniHtml"]);
        EXPECT_EQ(table[r][4].rfind("<strong><em>" + row["pasmo"]["rozsah"].get<std::string>() + ": ", 0), 0u);
        // The plain text beside the HTML begins with the band's sentence.
        EXPECT_EQ(row["hodnoceni"].get<std::string>().rfind(row["pasmo"]["text"].get<std::string>(), 0), 0u);
        for (std::size_t k = 0; k < kIndicatorCount; ++k)
            EXPECT_EQ(table[r][5 + k], std::to_string(row["decily"][kIndicatorCodes[k]].get<int>()));
        EXPECT_EQ(table[r][5 + kIndicatorCount], row["varovaniVodovodHtml"].is_null() ? "&nbsp;" : row["varovaniVodovodHtml"]);
        EXPECT_EQ(row["varovaniVodovod"].is_null(), row["varovaniVodovodHtml"].is_null());
    }
}

TEST_F(CliJsonTest, BatchToAWorkbookByTheExtension) {
    const std::string csv = std::string("'") + ZEVRA_EXAMPLES_DIR + "/obce.csv' ";
    const TRun run = Run(Data + "batch " + csv + "'" + Dir.File("vysledek.xlsx") + "'");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(test::ReadBytes(Dir.File("vysledek.xlsx")).substr(0, 2), "PK");  // a zip package, not HTML
    const TRun html = Run(Data + "batch " + csv + "'" + Dir.File("vysledek.htm") + "'");
    ASSERT_EQ(html.Status, 0) << html.Err;
    EXPECT_EQ(test::ReadBytes(Dir.File("vysledek.htm")).substr(0, 6), "<html>");
}

TEST_F(CliJsonTest, WrongSensitivitySettingsPrintTheUsage) {
    for (const std::string& args : {std::string("sensitivity"), "sensitivity " + Input + " --draws 0",
                                    "sensitivity " + Input + " --draws x", "sensitivity " + Input + " --spread 2",
                                    "sensitivity " + Input + " --spread", "evaluate " + Input + " --draws -5"}) {
        const TRun run = Run(Data + args);
        EXPECT_EQ(run.Status, 2) << args;
        EXPECT_EQ(run.Out, "") << args;
        EXPECT_TRUE(Contains(run.Err, "Použití: zevra-cli")) << args;
    }
}

}  // namespace
}  // namespace zevra
