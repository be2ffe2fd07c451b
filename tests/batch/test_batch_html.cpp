// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The HTML result file: pieces in order, cell texts, escaping, code page,
// safe writing, and a check by an HTML checker when one is installed.
#include "batch_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace zevra::test {
namespace {

using HtmlTest = BatchTest;

const std::string kHead =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\" />"
    "<meta http-equiv=\"Generator\" content=\"ZEVRA Model - MOXAN\" /></head><body><p><strong>";
const std::string kHeaderRow =
    "<table border=\"1\" summary=\"Výsledek modelu ZEVRA\"><thead><tr><th>Obec</th><th>Kód obce</th>"
    "<th>Kraj</th><th>Int. indik.<br />Obyvatelstvo</th><th>Komentář int. indikátoru Obyvatelstvo</th>"
    "<th>Doj.čas<br />kraj.m.</th><th>Doj.vzd.<br />okr.m.</th><th>Silnice<br />1.tř</th>"
    "<th>Nadm.<br />výška</th><th>Velikost<br />katastru</th><th>Podíl<br />vyjížď.</th>"
    "<th>Podíl<br />rolníků</th><th>Vodovod</th></tr></thead><tbody>";
const std::string kTail = "</tbody></table></body></html>";

// Appends an output row by hand: name, region, indicator, deciles 1..7.
void AddRow(TMemTable& t, const std::string& obec, const std::string& kraj, double obyvatelstvo) {
    const std::size_t row = t.AppendRow();
    t.SetText(row, ofOBEC, obec);
    t.SetInt(row, ofKODOBCE, 100004);
    t.SetText(row, ofKRAJ, kraj);
    t.SetFloat(row, ofOBYVATELSTVO, obyvatelstvo);
    t.SetText(row, ofOBYVATELSTVO_TEXT, "<strong><em>Text &amp; více</em></strong>");
    for (std::size_t f = ofDCK; f < ofVODOVOD; ++f) t.SetInt(row, f, static_cast<int>(f - ofDCK + 1));
    t.SetText(row, ofVODOVOD, "&nbsp;");
}

std::string Document(const TZevraBatch& batch) { return Cp1250ToUtf8(batch.HtmlOutputBytes()); }

TEST_F(HtmlTest, EmptyOutputHasHeadCreditHeaderAndEmptyBody) {
    const std::string doc = Document(*FBatch);
    EXPECT_EQ(doc.rfind(kHead, 0), 0u);
    const std::size_t header = doc.find(kHeaderRow);
    ASSERT_NE(header, std::string::npos);
    EXPECT_EQ(doc.substr(header + kHeaderRow.size()), kTail);
    const std::string credit = doc.substr(kHead.size() - 11, header - kHead.size() + 11);
    EXPECT_EQ(credit.rfind("<p><strong>", 0), 0u);
    EXPECT_NE(credit.find("</strong>.<br />"), std::string::npos);
    EXPECT_NE(credit.find("MOXAN"), std::string::npos);
    EXPECT_EQ(credit.substr(credit.size() - 4), "</p>");
}

TEST_F(HtmlTest, RowsShowPlainNumbersEscapedNamesAndTheModelsFragments) {
    AddRow(Output(), "Lhota <u Brna> & \"Dvůr\"", "Kraj & <b>", 600);
    AddRow(Output(), "Dub", "Jihočeský", 523.25);
    AddRow(Output(), "Sněžné", "Vysočina", 1234567.5);
    Output().AppendRow();  // every field empty
    const std::string doc = Document(*FBatch);
    EXPECT_NE(doc.find("<tr><td>Lhota &lt;u Brna&gt; &amp; &quot;Dvůr&quot;</td><td>100004</td>"
                       "<td>Kraj &amp; &lt;b&gt;</td><td>600</td>"
                       "<td><strong><em>Text &amp; více</em></strong></td>"
                       "<td>1</td><td>2</td><td>3</td><td>4</td><td>5</td><td>6</td><td>7</td>"
                       "<td>&nbsp;</td></tr>"),
              std::string::npos);
    EXPECT_NE(doc.find("<td>Jihočeský</td><td>523.25</td>"), std::string::npos);
    EXPECT_NE(doc.find("<td>1234567.5</td>"), std::string::npos);  // no grouping
    std::string emptyRow = "<tr>";
    for (int i = 0; i < 13; ++i) emptyRow += "<td></td>";
    EXPECT_NE(doc.find(emptyRow + "</tr>" + kTail), std::string::npos);
}

TEST_F(HtmlTest, WrittenInCodePage1250AsOneLine) {
    AddRow(Output(), "Žďár nad Sázavou 中", "Kraj Vysočina", 500);
    const std::string bytes = FBatch->HtmlOutputBytes();
    EXPECT_EQ(bytes.find_first_of("\r\n"), std::string::npos);
    EXPECT_FALSE(IsValidUtf8(bytes));                                // Czech letters as single bytes
    EXPECT_NE(bytes.find("K\xF3" "d obce"), std::string::npos);      // "Kód" in code page 1250
    EXPECT_NE(bytes.find("\x8E\xEF\xE1r nad S\xE1zavou &#20013;"), std::string::npos);  // no letter lost
}

TEST_F(HtmlTest, FilesAreWrittenWholeOrNotAtAll) {
    EXPECT_EQ(ErrorOf([&] { FBatch->WriteHtmlOutput(" "); }), "Nebyl vybrán cílový soubor!");
    AddRow(Output(), "Dub", "Jihočeský", 500);
    const std::string target = FDir.File("vysledky.html");
    FBatch->WriteHtmlOutput(" " + target + " ");
    EXPECT_EQ(ReadBytes(target), FBatch->HtmlOutputBytes());

    // A target that cannot be replaced (a folder) keeps its content, and no
    // temporary file is left behind.
    const std::string folder = FDir.File("slozka.html");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/uvnitr.txt", "x");
    EXPECT_THROW(FBatch->WriteHtmlOutput(folder), EZevraError);
    EXPECT_EQ(ReadBytes(folder + "/uvnitr.txt"), "x");
    EXPECT_THROW(FBatch->WriteHtmlOutput(FDir.File("chybi/vysledky.html")), EZevraError);
    EXPECT_EQ(EntryCount(FDir.Path()), 3u);  // data, vysledky.html, slozka.html
}

// Runs an HTML checker on a real result: errors (exit status 2) fail the test.
TEST_F(HtmlTest, ResultPassesTheHtmlChecker) {
    if (std::system("command -v tidy >/dev/null 2>&1") != 0) GTEST_SKIP() << "tidy is not installed";
    Load({BatchLine({{1, "Lhota <u Brna> & spol."}}), BatchLine({{16, "ne"}}),
          BatchLine({{4, "1000"}, {5, "100"}, {6, "0"}, {7, "95"}, {8, "595"}, {9, "95"}, {10, "95"},
                     {11, "95"}, {12, "0.095"}, {13, "100"}, {14, "95"}, {15, "0"}})});
    FBatch->ValidateInputRows();
    ASSERT_TRUE(FBatch->InputValid());
    FBatch->RunModelOnRows();
    const std::string file = FDir.File("vysledky.html");
    FBatch->WriteHtmlOutput(file);
    const std::string report = FDir.File("tidy.txt");
    const int status = std::system(("tidy -errors -q -raw '" + file + "' > '" + report + "' 2>&1").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_LT(WEXITSTATUS(status), 2) << ReadBytes(report);
    EXPECT_EQ(ReadBytes(report).find("Error:"), std::string::npos) << ReadBytes(report);
}

}  // namespace
}  // namespace zevra::test
