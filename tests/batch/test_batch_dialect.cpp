// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Batch files as Czech spreadsheets save them: quoted text, a header row and
// the decimal comma; the original form reads as before.
#include "batch/core/u_batchdialect.h"
#include "batch_fixture.h"

namespace zevra::test {
namespace {

using Values = std::vector<std::string>;

TEST(BatchDialect, SplitsPlainAndQuotedValues) {
    // The original form: values between ";", untrimmed, no value after a final ";".
    EXPECT_EQ(SplitBatchRecord("a; b ;;c;"), (Values{"a", " b ", "", "c"}));
    // A quote inside a value is an ordinary character.
    EXPECT_EQ(SplitBatchRecord("Lhota \"u\" Brna;x\""), (Values{"Lhota \"u\" Brna", "x\""}));
    // Quoted values: ";" inside, "" for a quote, blanks before the quote.
    EXPECT_EQ(SplitBatchRecord("\"Dub; Horní\";  \"Ř\"\"x\"\"\";\"\""), (Values{"Dub; Horní", "Ř\"x\"", ""}));
    // Text after the closing quote stays as it stands.
    EXPECT_EQ(SplitBatchRecord("\"a\"b;c"), (Values{"ab", "c"}));
    bool open = true;
    EXPECT_EQ(SplitBatchRecord("\"Popovice \"\"U Lípy\"\"\";1", &open), (Values{"Popovice \"U Lípy\"", "1"}));
    EXPECT_FALSE(open);
    // A quote still open at the end of the line: the values stop before it.
    EXPECT_EQ(SplitBatchRecord("x;\"never closed;y", &open), (Values{"x"}));
    EXPECT_TRUE(open);
}

TEST(BatchDialect, HeaderAndDecimalComma) {
    Values header = {"OBEC", "KODOBCE", "KRAJ", "OBYVATELE", "EAKTIVNI", "NEZAMESTNANI", "VYJIZDEJICI",
                     "NADMVYSKA", "KATASTR", "KRAJSKE_MESTO_MIN", "OKRESNI_MESTO_KM", "SILNICE_1TR_KM",
                     "PODNIKATELE_2006", "ROLNICI_2006", "DOM_ZAMESTNAVATEL", "VODOVOD"};
    EXPECT_TRUE(IsBatchHeaderRecord(header));
    header[0] = " Obec ";
    header[1] = "kódobce";
    header[15] = "Vodovod";
    EXPECT_TRUE(IsBatchHeaderRecord(header));
    std::swap(header[3], header[4]);  // another order is no header
    EXPECT_FALSE(IsBatchHeaderRecord(header));
    EXPECT_FALSE(IsBatchHeaderRecord({"OBEC"}));
}

TEST(BatchDialect, SpreadsheetNumbers) {
    // What is not a spreadsheet's number stays as it is, or keeps what makes
    // the number conversion refuse it.
    const struct {
        const char* Value;
        bool DecimalComma;
        const char* Expected;
    } kCases[] = {
        {"966,29", true, "966.29"},
        {"966,29", false, "966,29"},  // no decimal comma in a whole-number column
        {"966.29", true, "966.29"},
        {"1,2,3", true, "1,2,3"},
        {"1.2,3", true, "1.2,3"},
        {"1 278", false, "1278"},
        {"-1 278", false, "-1278"},
        {"1\xC2\xA0" "278", false, "1278"},                         // no-break space
        {"12\xE2\x80\xAF" "345\xE2\x80\xAF" "678", false, "12345678"},  // narrow no-break space
        {"12 345,5", true, "12345.5"},
        {"12 345.5", true, "12345.5"},
        {"123 456 789", false, "123456789"},
        {"12 5", false, "12 5"},
        {"1 2345", false, "1 2345"},
        {"1234 567", false, "1234 567"},
        {"1  278", false, "1  278"},
        {"1 278 ", false, "1 278 "},
        {"1 278,5", false, "1278,5"},    // refused: a comma in a whole number
        {"12,345 6", true, "12.345 6"},  // refused: a blank after the comma
        {"1\t278", false, "1\t278"},
        {"1 278x", false, "1278x"},      // refused: the "x"
    };
    for (const auto& c : kCases) EXPECT_EQ(SpreadsheetNumber(c.Value, c.DecimalComma), c.Expected) << c.Value;
}

class DialectLoadTest : public BatchTest {};

// The base row as a Czech spreadsheet saves it: decimal commas in the decimal
// columns, the text quoted.
std::string SpreadsheetLine() {
    return "\"Dub\";100004;\"Jihočeský\";1000;500;50;200;600;1200,5;40;15;2,5;100;10;50;\"Ano\"";
}
constexpr const char* kHeader =
    "OBEC;KODOBCE;KRAJ;OBYVATELE;EAKTIVNI;NEZAMESTNANI;VYJIZDEJICI;NADMVYSKA;KATASTR;KRAJSKE_MESTO_MIN;"
    "OKRESNI_MESTO_KM;SILNICE_1TR_KM;PODNIKATELE_2006;ROLNICI_2006;DOM_ZAMESTNAVATEL;VODOVOD";

void ExpectBaseRow(TMemTable& input, std::size_t row) {
    EXPECT_EQ(input.GetText(row, ifOBEC), "Dub");
    EXPECT_EQ(input.GetInt(row, ifKRAJ_ID), 2);
    EXPECT_EQ(input.GetFloat(row, ifKATASTR), 1200.5);
    EXPECT_EQ(input.GetFloat(row, ifSILNICE_1TR_KM), 2.5);
    EXPECT_EQ(input.GetText(row, ifVODOVOD), "Ano");
}

TEST_F(DialectLoadTest, ExcelFormsLoadLikeTheOriginal) {
    std::string header = kHeader;
    for (char& c : header) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Code page 1250, CR LF, a header row, decimal commas, quoted text; and
    // "CSV UTF-8": a byte order mark, header in another case.
    for (const std::string& bytes : {BatchFile({kHeader, SpreadsheetLine()}),
                                     "\xEF\xBB\xBF" + header + "\r\n" + SpreadsheetLine() + "\r\n"}) {
        EXPECT_TRUE(LoadBytes(bytes).empty()) << bytes;
        ASSERT_EQ(Input().RowCount(), 1u) << bytes;
        ExpectBaseRow(Input(), 0);
    }
}

TEST_F(DialectLoadTest, HeaderOnlyAsTheFirstRecord) {
    // After a comment the header still is the first record; a second one is data
    // (and is then an error, as any line of names would be).
    EXPECT_TRUE(Load({"# komentář", kHeader, BatchLine()}).empty());
    EXPECT_EQ(Input().RowCount(), 1u);
    EXPECT_FALSE(Load({BatchLine(), kHeader}).empty());
    EXPECT_EQ(Input().RowCount(), 2u);
}

}  // namespace
}  // namespace zevra::test
