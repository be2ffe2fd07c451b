// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Validation marks, counts and labels; the copy of a row into the model; the
// run and its output rows.
#include "model/u_format.h"
#include "batch_fixture.h"

#include <climits>

namespace zevra::test {
namespace {

using RunTest = BatchTest;

const std::map<int, std::string> kWarningOnly = {{4, "400"}, {5, "300"}, {6, "10"}, {7, "100"}};
const std::map<int, std::string> kAltitudeError = {{8, "50"}};

TEST_F(RunTest, CleanFileValidatesWithoutMarks) {
    EXPECT_EQ(FBatch->ErrorCountText(), "");
    Load({BatchLine(), BatchLine({{1, "Lhota"}})});
    FBatch->ValidateInputRows();
    EXPECT_TRUE(FBatch->InputValid());
    EXPECT_EQ(FBatch->ErrorCountText(), "(bez chyb a varování)");
    EXPECT_TRUE(Input().IsNull(0, ifERROR));
    EXPECT_TRUE(Input().IsNull(1, ifERROR_TEXT));
    EXPECT_EQ(Input().VisibleCount(), 0u);  // problems only: nothing to list
    FBatch->SetProblemsOnly(false);
    EXPECT_EQ(Input().VisibleCount(), 2u);

    // An empty table is valid too, and runs to an empty output.
    Load({"# nic"});
    FBatch->ValidateInputRows();
    EXPECT_TRUE(FBatch->InputValid());
    EXPECT_EQ(FBatch->ErrorCountText(), "(bez chyb a varování)");
    FBatch->RunModelOnRows();
    EXPECT_EQ(Output().RowCount(), 0u);
}

TEST_F(RunTest, AReloadForgetsTheVerdictOfTheEarlierRows) {
    Load({BatchLine()});
    FBatch->ValidateInputRows();
    ASSERT_TRUE(FBatch->InputValid());
    // A faulty file replaces the rows; they were never checked, so the run
    // must not treat them as valid.
    EXPECT_EQ(Load({BatchLine({{8, "6.5"}})}).size(), 1u);
    EXPECT_FALSE(FBatch->InputValid());
}

TEST_F(RunTest, RowsAreMarkedAndCountedOncePerRow) {
    std::map<int, std::string> both = kWarningOnly;
    both[8] = "50";     // altitude error
    both[3] = "Středočeský";  // region warning
    Load({BatchLine(kAltitudeError), BatchLine(kWarningOnly), BatchLine(both), BatchLine(),
          BatchLine({{3, "Středočeský"}}), BatchLine({{1, ""}, {3, "Neznámý"}})});
    FBatch->ValidateInputRows();
    EXPECT_FALSE(FBatch->InputValid());
    EXPECT_EQ(FBatch->ErrorRowCount(), 3);
    EXPECT_EQ(FBatch->WarningRowCount(), 2);
    EXPECT_EQ(FBatch->ErrorCountText(), "(zjištěno 3 chyb a 2 varování)");

    EXPECT_EQ(Int(0, ifERROR), -1);
    EXPECT_EQ(FBatch->ProblemLines(0).size(), 1u);
    EXPECT_EQ(FBatch->ProblemLines(0)[0].rfind("CHYBA: Nadmořská výška - ", 0), 0u);
    EXPECT_EQ(Text(0, ifERROR_TEXT).substr(Text(0, ifERROR_TEXT).size() - 2), "\r\n");

    EXPECT_EQ(Int(1, ifERROR), 1);
    EXPECT_EQ(Text(1, ifERROR_TEXT), "POZOR: Počet obyvatel - Model je určen pro obce od 500 do 3000 obyvatel.\r\n");

    // Errors and warnings: an error row listing only its errors.
    EXPECT_EQ(Int(2, ifERROR), -1);
    EXPECT_EQ(Text(2, ifERROR_TEXT).find("POZOR"), std::string::npos);

    EXPECT_TRUE(Input().IsNull(3, ifERROR));
    EXPECT_EQ(Int(4, ifERROR), 1);
    EXPECT_EQ(FBatch->ProblemLines(5),
              (std::vector<std::string>{"CHYBA: Název obce - Hodnota musí být vyplněna",
                                        "CHYBA: Kraj - Hodnota musí být vyplněna"}));

    // The problems-only display lists the five marked rows.
    EXPECT_EQ(Input().VisibleCount(), 5u);
    EXPECT_EQ(Input().VisibleIndexOf(3), TMemTable::npos);
}

TEST_F(RunTest, LongProblemTextsAreKeptWhole) {
    // Every numeric field wrong: far more than 1000 characters of errors.
    Load({"Obec;;;0;99999999;99999999;99999999;0;0;-1;-1;-1;-1;-1;-1;x"});
    FBatch->ValidateInputRows();
    const std::string text = Text(0, ifERROR_TEXT);
    EXPECT_GT(Utf8Length(text), 1000u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::vector<std::string> errors;
    FModel->Validate(&errors, nullptr);  // the model's input holds the last row
    EXPECT_EQ(FBatch->ProblemLines(0), errors);
}

TEST_F(RunTest, RowCopyConvertsWaterSupplyAndKilometres) {
    Load({BatchLine({{16, "aNo"}, {12, "2.5"}}), BatchLine({{16, "ANOnym"}, {12, "1.2345"}}),
          BatchLine({{16, "Ne"}, {12, "4.35"}}), BatchLine({{16, ""}, {12, ""}}),
          BatchLine({{16, "áno"}, {12, "1e7"}}), BatchLine({{12, "-0.0015"}})});
    struct Expected {
        TTriBool vodovod;
        std::int32_t metres;
    };
    const Expected expected[] = {{TTriBool::tbTrue, 2500}, {TTriBool::tbTrue, 1234}, {TTriBool::tbFalse, 4350},
                                 {TTriBool::tbFalse, 0},   {TTriBool::tbFalse, INT_MAX}, {TTriBool::tbTrue, -1}};
    for (std::size_t row = 0; row < std::size(expected); ++row) {
        FModel->NewInput();
        Input().SetCurrentRow(row);
        FBatch->CopyRowToInput();
        EXPECT_EQ(FModel->Input().Vodovod, expected[row].vodovod) << row;
        EXPECT_EQ(FModel->Input().Silnice1TrM, expected[row].metres) << row;
    }
    // A distance beyond the 32-bit range of metres is reported, not wrapped.
    FBatch->ValidateInputRows();
    EXPECT_NE(Text(4, ifERROR_TEXT).find("Vzdálenost od silnice 1. třídy"), std::string::npos);
    EXPECT_NE(Text(5, ifERROR_TEXT).find("Vzdálenost od silnice 1. třídy"), std::string::npos);
    EXPECT_EQ(KmToMetres(-1e300), INT_MIN);
    EXPECT_EQ(KmToMetres(0.0009), 0);
}

TEST_F(RunTest, RunGivesOneOutputRowPerInputRowInOrder) {
    Load({BatchLine({{1, "Lhota"}, {2, "100001"}}), BatchLine(kWarningOnly), BatchLine({{16, "ne"}})});
    FBatch->ValidateInputRows();
    ASSERT_TRUE(FBatch->InputValid());
    FBatch->RunModelOnRows();
    ASSERT_EQ(Output().RowCount(), 3u);
    EXPECT_EQ(Output().GetText(0, ofOBEC), "Lhota");
    EXPECT_EQ(Output().GetInt(0, ofKODOBCE), 100001);
    EXPECT_EQ(Output().GetText(0, ofKRAJ), "Jihočeský");
    EXPECT_EQ(Output().GetText(0, ofVODOVOD), "&nbsp;");
    EXPECT_NE(Output().GetText(2, ofVODOVOD).find("zásobováním pitnou vodou"), std::string::npos);
    for (std::size_t f = ofDCK; f < ofVODOVOD; ++f) {
        EXPECT_GE(Output().GetInt(1, f), 1);
        EXPECT_LE(Output().GetInt(1, f), 10);
    }
    ASSERT_NE(FModel->Output(), nullptr);  // the model holds the last row's result
    EXPECT_EQ(Output().GetFloat(2, ofOBYVATELSTVO), FModel->Output()->Obyvatelstvo);
    EXPECT_EQ(Output().GetText(2, ofOBYVATELSTVO_TEXT), FModel->Output()->HodnoceniHtml);

    // A second run starts from an empty output table.
    FBatch->RunModelOnRows();
    EXPECT_EQ(Output().RowCount(), 3u);
}

TEST_F(RunTest, TheWholeAssessmentOfADisadvantagedMunicipalityIsKept) {
    // Every indicator in decile 10 (test boundaries 10 ... 90).
    Load({BatchLine({{4, "1000"}, {5, "100"}, {6, "0"}, {7, "95"}, {8, "595"}, {9, "95"}, {10, "95"},
                     {11, "95"}, {12, "0.095"}, {13, "100"}, {14, "95"}, {15, "0"}})});
    FBatch->ValidateInputRows();
    ASSERT_TRUE(FBatch->InputValid()) << Text(0, ifERROR_TEXT);
    FBatch->RunModelOnRows();
    ASSERT_NE(FModel->Output(), nullptr);
    const std::string html = Output().GetText(0, ofOBYVATELSTVO_TEXT);
    EXPECT_GT(Utf8Length(html), 500u);
    EXPECT_EQ(html, FModel->Output()->HodnoceniHtml);
    EXPECT_EQ(html.substr(html.size() - 5), "</em>");
}

TEST_F(RunTest, ARefusedRowStopsTheRunAndKeepsEarlierResults) {
    Load({BatchLine(), BatchLine({{1, "Druhá"}}), BatchLine(kAltitudeError), BatchLine()});
    FBatch->ValidateInputRows();
    EXPECT_FALSE(FBatch->InputValid());
    EXPECT_EQ(ErrorOf([&] { FBatch->RunModelOnRows(); }).rfind("CHYBA: Nadmořská výška - ", 0), 0u);
    ASSERT_EQ(Output().RowCount(), 2u);
    EXPECT_EQ(Output().GetText(1, ofOBEC), "Druhá");
}

}  // namespace
}  // namespace zevra::test
