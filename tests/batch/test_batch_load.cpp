// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a batch file into the input table: columns, comments, line ends,
// conversions, the region lookup and the collected line problems.
#include "batch_fixture.h"

namespace zevra::test {
namespace {

using LoadTest = BatchTest;

TEST_F(LoadTest, ValidLineFillsEveryField) {
    EXPECT_TRUE(Load({BatchLine()}).empty());
    ASSERT_EQ(Input().RowCount(), 1u);
    EXPECT_EQ(Text(0, ifOBEC), "Dub");
    EXPECT_EQ(Text(0, ifKRAJ), "Jihočeský");
    EXPECT_EQ(Text(0, ifVODOVOD), "Ano");
    const std::pair<TInputField, int> kInts[] = {
        {ifKODOBCE, 100004}, {ifKRAJ_ID, 2},  {ifOBYVATELE, 1000},        {ifEAKTIVNI, 500},
        {ifNEZAMESTNANI, 50}, {ifVYJIZDEJICI, 200}, {ifNADMVYSKA, 600}, {ifKRAJSKE_MESTO_MIN, 40},
        {ifOKRESNI_MESTO_KM, 15}, {ifPODNIKATELE_2006, 100}, {ifROLNICI_2006, 10}, {ifDOM_ZAMESTNAVATEL, 50}};
    for (const auto& [field, value] : kInts) EXPECT_EQ(Int(0, field), value) << InputTableFields()[field].Name;
    EXPECT_EQ(Input().GetFloat(0, ifKATASTR), 1200.5);
    EXPECT_EQ(Input().GetFloat(0, ifSILNICE_1TR_KM), 2.5);
    EXPECT_TRUE(Input().IsNull(0, ifERROR));
    EXPECT_TRUE(Input().IsNull(0, ifERROR_TEXT));
    EXPECT_EQ(Input().CurrentRow(), 0u);
}

TEST_F(LoadTest, CommentsBlankLinesAndSeparators) {
    // Only blank and comment lines: no row, no problem.
    EXPECT_TRUE(Load({"# komentář", "", "   \t", "#;;;"}).empty());
    EXPECT_EQ(Input().RowCount(), 0u);

    // "#" after blanks is data; a trailing ";" opens no column, "; " does.
    const auto problems = Load({"  # komentář", BatchLine() + ";", BatchLine() + "; ", "#x", BatchLine()});
    EXPECT_EQ(problems, (std::vector<std::string>{"Řádek 1: Chybný počet údajů na řádku (1 místo 16)!",
                                                  "Řádek 3: Chybný počet údajů na řádku (17 místo 16)!"}));
    ASSERT_EQ(Input().RowCount(), 4u);
    EXPECT_EQ(Text(0, ifOBEC), "# komentář");
    EXPECT_EQ(Int(1, ifKRAJ_ID), 2);
    EXPECT_EQ(Int(2, ifKRAJ_ID), 2);  // the region is looked up before the count is checked
    EXPECT_EQ(Text(3, ifOBEC), "Dub");

    // Values are trimmed; empty values leave fields empty; more than 16 are ignored.
    Load({" Dub ;  ; Jihočeský ;1000;500;50;200;600;1200.5;40;15;2.5;100;10;50; ano ;x;y"});
    EXPECT_EQ(Text(0, ifOBEC), "Dub");
    EXPECT_TRUE(Input().IsNull(0, ifKODOBCE));
    EXPECT_EQ(Text(0, ifVODOVOD), "ano");
}

TEST_F(LoadTest, ProblemsCarryPhysicalLineNumbersAndKeepTheRows) {
    std::string fifteen = BatchLine();
    fifteen = fifteen.substr(0, fifteen.rfind(';'));
    const auto problems = Load({"# hlavička", "", BatchLine(), fifteen, "", BatchLine({{9, "12,5,1"}}),
                                BatchLine({{8, "600.5"}}), BatchLine({{4, "x"}, {3, "Jihočeský"}})});
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "Řádek 4: Chybný počet údajů na řádku (15 místo 16)!",
                            "Řádek 6: '12,5,1' není platné číslo pro pole 'KATASTR'",
                            "Řádek 7: '600.5' není platné celé číslo pro pole 'NADMVYSKA'",
                            "Řádek 8: 'x' není platné celé číslo pro pole 'OBYVATELE'",
                        }));
    ASSERT_EQ(Input().RowCount(), 5u);
    // 15 values: the first 15 fields set, the region found.
    EXPECT_EQ(Int(1, ifDOM_ZAMESTNAVATEL), 50);
    EXPECT_TRUE(Input().IsNull(1, ifVODOVOD));
    EXPECT_EQ(Int(1, ifKRAJ_ID), 2);
    // A conversion failure stops the row: later columns empty, no region.
    EXPECT_EQ(Int(2, ifNADMVYSKA), 600);
    EXPECT_TRUE(Input().IsNull(2, ifKATASTR));
    EXPECT_TRUE(Input().IsNull(2, ifKRAJSKE_MESTO_MIN));
    EXPECT_EQ(Int(2, ifKRAJ_ID), -1);
    EXPECT_EQ(Text(4, ifKRAJ), "Jihočeský");
    EXPECT_EQ(Int(4, ifKRAJ_ID), -1);
}

TEST_F(LoadTest, RegionLookupFoldsOnlyAsciiLetters) {
    // In "JIHOČESKÝ" the Č and Ý differ in case: no match.
    const std::pair<const char*, int> kRegions[] = {
        {"JIHOčESKý", 2}, {"jihočeský", 2}, {"JIHOČESKÝ", -1}, {"", -1}, {"středočeský", 1}};
    for (const auto& [name, id] : kRegions) {
        Load({BatchLine({{3, name}})});
        EXPECT_EQ(Int(0, ifKRAJ_ID), id) << name;
    }
}

TEST_F(LoadTest, TextFieldsAreCutToTheirSizeInCharacters) {
    const std::string name35 = "Šťáhlavice nad Úhlavou a Přešťovice";  // 35 characters
    ASSERT_EQ(Utf8Length(name35), 35u);
    Load({BatchLine({{1, name35}, {16, "Anoxyz"}})});
    EXPECT_EQ(Text(0, ifOBEC), Utf8Left(name35, 30));
    EXPECT_EQ(Text(0, ifVODOVOD), "Ano");
}

TEST_F(LoadTest, EveryLineEndAndBothEncodingsAreRead) {
    const std::string a = Utf8ToCp1250(BatchLine({{1, "Čáslav"}}));
    const std::string b = Utf8ToCp1250(BatchLine({{1, "Lhota"}}));
    const std::string c = Utf8ToCp1250(BatchLine({{4, "x"}}));
    // LF, CR and CR LF all end a line; line numbers count them alike.
    EXPECT_EQ(LoadBytes(a + "\n" + b + "\r" + "#\r\n" + c + "\r\n"),
              std::vector<std::string>{"Řádek 4: 'x' není platné celé číslo pro pole 'OBYVATELE'"});
    ASSERT_EQ(Input().RowCount(), 3u);
    EXPECT_EQ(Text(0, ifOBEC), "Čáslav");
    EXPECT_EQ(Text(1, ifOBEC), "Lhota");

    // UTF-8, with and without a mark; Ctrl-Z ends the file.
    const std::string utf8 = BatchLine({{1, "Čáslav"}}) + "\n" + BatchLine({{1, "Žďár"}}) + "\n";
    EXPECT_TRUE(LoadBytes(utf8 + "\x1A" + "garbage").empty());
    ASSERT_EQ(Input().RowCount(), 2u);
    EXPECT_EQ(Text(1, ifOBEC), "Žďár");
    EXPECT_EQ(Int(1, ifKRAJ_ID), 2);
    EXPECT_TRUE(LoadBytes("\xEF\xBB\xBF" + utf8).empty());
    EXPECT_EQ(Text(0, ifOBEC), "Čáslav");
}

TEST_F(LoadTest, FileNamesAndAFreshTableOnEveryLoad) {
    Load({BatchLine(), BatchLine()});
    EXPECT_EQ(ErrorOf([&] { FBatch->LoadInputFile("  "); }), "Nebyl vybrán vstupní soubor!");
    EXPECT_THROW(FBatch->LoadInputFile(FDir.File("chybi.csv")), EZevraError);
    EXPECT_EQ(Input().RowCount(), 2u);  // untouched by both

    const std::string file = FDir.File("obce.csv");
    WriteBytes(file, BatchFile({BatchLine({{1, "Lhota"}})}));
    FBatch->LoadInputFile("  " + file + " ");
    ASSERT_EQ(Input().RowCount(), 1u);
    EXPECT_EQ(Text(0, ifOBEC), "Lhota");
}

TEST_F(LoadTest, DirectParsingFollowsTheColumnRules) {
    FBatch->InputData().Clear();
    EXPECT_NO_THROW(FBatch->ParseInputLine("#" + BatchLine()));
    EXPECT_EQ(Input().RowCount(), 0u);
    EXPECT_THROW(FBatch->ParseInputLine(";"), EZevraError);
    ASSERT_EQ(Input().RowCount(), 1u);
    EXPECT_EQ(Int(0, ifKRAJ_ID), -1);
    EXPECT_EQ(ErrorOf([&] { FBatch->ParseInputLine(";;"); }), "Chybný počet údajů na řádku (2 místo 16)!");
    FBatch->SetInputField(16, "ignored");
    FBatch->SetInputField(0, "Nová");
    EXPECT_EQ(Text(1, ifOBEC), "Nová");
}

}  // namespace
}  // namespace zevra::test
