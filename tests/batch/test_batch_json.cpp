// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The batch JSON writer beyond its golden files: any number of rows, written
// in pieces, is one document whose rows follow the table, with progress up
// to the last row; what JSON cannot carry comes back as the other outputs
// give it; empty cells are null; a failing stream or a blank file name is a
// Czech error, not a partial success.
#include "batch/core/u_batchjson.h"
#include "batch/core/u_batchmessages.h"
#include "batch/core/u_jsontext.h"
#include "batch_fixture.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <sstream>
#include <streambuf>

namespace zevra::test {
namespace {

using nlohmann::json;

class BatchJsonTest : public BatchTest {
protected:
    // `rows` output rows filled by hand: row i is "Obec i", every sixth one
    // in each band.
    void FillRows(std::size_t rows) {
        TMemTable& t = FBatch->OutputData();
        t.Clear();
        for (std::size_t i = 0; i < rows; ++i) {
            const std::size_t row = t.AppendRow();
            t.SetText(row, ofOBEC, "Obec " + std::to_string(i));
            t.SetInt(row, ofKODOBCE, static_cast<int>(500000 + i));
            t.SetText(row, ofKRAJ, "Jihočeský");
            t.SetFloat(row, ofOBYVATELSTVO, 150.5 + 150.0 * static_cast<double>(i % 6));
            t.SetText(row, ofOBYVATELSTVO_TEXT, "<strong>Text</strong>");
            for (std::size_t k = 0; k < kIndicatorCount; ++k)
                t.SetInt(row, ofDCK + k, static_cast<int>(1 + (i + k) % 10));
            t.SetText(row, ofVODOVOD, "&nbsp;");
            t.SetInt(row, ofVAROVANI_VODOVOD, 0);
        }
    }
};

TEST_F(BatchJsonTest, AnyNumberOfRowsIsOneDocumentInTableOrder) {
    // Around the size of a piece (512 rows), and none.
    for (const std::size_t rows : {0u, 1u, 511u, 512u, 513u, 3000u}) {
        FillRows(rows);
        std::ostringstream out;
        std::size_t lastDone = 0, lastTotal = 0;
        WriteBatchJson(*FBatch, out, [&](std::size_t done, std::size_t total) {
            EXPECT_GE(done, lastDone);
            lastDone = done;
            lastTotal = total;
        });
        EXPECT_EQ(out.str(), BatchJsonText(*FBatch)) << rows;
        const json document = json::parse(out.str());
        EXPECT_EQ(document[kJsonFormatVersionKey], kJsonFormatVersion);
        ASSERT_EQ(document["obce"].size(), rows);
        for (std::size_t i = 0; i < rows; i += 997) {
            const json& row = document["obce"][i];
            EXPECT_EQ(row["obec"], "Obec " + std::to_string(i));
            EXPECT_EQ(row["kraj"], json({{"cislo", 2}, {"nazev", "Jihočeský"}}));
            EXPECT_EQ(row["pasmo"]["cislo"], BandOf(150.5 + 150.0 * static_cast<double>(i % 6)) + 1);
            EXPECT_EQ(row["decily"][kIndicatorCodes[0]], static_cast<int>(1 + i % 10));
        }
        EXPECT_EQ(lastDone, rows);
        EXPECT_EQ(lastTotal, rows);
    }
}

// A name as stored, and as the JSON gives it back.
struct TNameCase {
    const char* Stored;
    const char* Read;
};

const TNameCase kNames[] = {
    {"Dvůr \"Na Kopci\"", "Dvůr \"Na Kopci\""},
    {"Lhota\\Dolní", "Lhota\\Dolní"},
    {"A\tB\r\nC", "A\tB\r\nC"},
    {"A\x01" "B\x7F", "A\uFFFDB\uFFFD"},
    {"A\xC2\x85" "B", "A\uFFFDB"},   // U+0085, a C1 control
    {"A\xFF\xC3" "B", "A\uFFFD\uFFFDB"},  // bytes that start no valid sequence
    {"A\xEF\xBF\xBF", "A\uFFFD"},    // U+FFFF
    {"Obec 中 α 😀", "Obec 中 α 😀"},
};

TEST_F(BatchJsonTest, NamesComeBackAsEveryOutputCarriesThem) {
    FillRows(std::size(kNames));
    for (std::size_t r = 0; r < std::size(kNames); ++r) {
        FBatch->OutputData().SetText(r, ofOBEC, kNames[r].Stored);
        FBatch->OutputData().SetText(r, ofKRAJ, kNames[r].Stored);
    }
    const json document = json::parse(BatchJsonText(*FBatch));
    for (std::size_t r = 0; r < std::size(kNames); ++r) {
        EXPECT_EQ(document["obce"][r]["obec"], kNames[r].Read) << r;
        EXPECT_EQ(document["obce"][r]["kraj"], json({{"cislo", nullptr}, {"nazev", kNames[r].Read}})) << r;
    }
}

TEST_F(BatchJsonTest, EmptyCellsAreNull) {
    FillRows(1);
    TMemTable& t = FBatch->OutputData();
    for (const std::size_t field : {std::size_t{ofKODOBCE}, std::size_t{ofOBYVATELSTVO}, std::size_t{ofDCK},
                                    std::size_t{ofOBYVATELSTVO_TEXT}, std::size_t{ofKRAJ}})
        t.SetNull(0, field);
    const json row = json::parse(BatchJsonText(*FBatch))["obce"][0];
    for (const char* key : {"kod", "obyvatelstvo", "pasmo", "hodnoceni", "hodnoceniHtml", "varovaniVodovod",
                            "varovaniVodovodHtml"})
        EXPECT_TRUE(row[key].is_null()) << key;
    EXPECT_TRUE(row["decily"][kIndicatorCodes[0]].is_null());
    EXPECT_EQ(row["decily"][kIndicatorCodes[1]], 2);
    EXPECT_EQ(row["kraj"], json({{"cislo", nullptr}, {"nazev", ""}}));
}

// A stream buffer that takes `room` bytes and then refuses, as a full disk.
class TFullBuffer : public std::streambuf {
public:
    explicit TFullBuffer(std::size_t room) : FRoom(room) {}

protected:
    int_type overflow(int_type c) override { return FRoom-- > 0 ? c : traits_type::eof(); }

private:
    std::size_t FRoom;
};

TEST_F(BatchJsonTest, AFailingStreamOrABlankNameIsAnError) {
    FillRows(2000);
    for (const std::size_t room : {0u, 100u, 200000u}) {
        TFullBuffer buffer(room);
        std::ostream out(&buffer);
        EXPECT_EQ(ErrorOf([&] { WriteBatchJson(*FBatch, out); }), kCannotWriteMessage) << room;
    }
    for (const char* name : {"", "  "})
        EXPECT_EQ(ErrorOf([&] { JsonOutputFormat().Write(*FBatch, name, {}); }), kNoOutputFileMessage)
            << '"' << name << '"';
}

// The indented documents (one municipality): nesting, empty containers and
// values as a JSON reader takes them back.
TEST(JsonWriter, WritesIndentedDocumentsThatReadBack) {
    struct TCase {
        std::function<void(TJsonWriter&)> Write;
        std::string Expected;
    };
    const std::vector<TCase> cases = {
        {[](TJsonWriter& w) { w.BeginObject().EndObject(); }, "{}\n"},
        {[](TJsonWriter& w) { w.BeginArray().Value(1).Value(2.5).Null().EndArray(); }, "[\n  1,\n  2.5,\n  null\n]\n"},
        {[](TJsonWriter& w) { w.BeginObject().Key("a").BeginArray().EndArray().Key("b").Value(530.0).EndObject(); },
         "{\n  \"a\": [],\n  \"b\": 530.0\n}\n"},
        {[](TJsonWriter& w) {
             w.BeginObject().Key("o").BeginObject().Key("t").Value("\"Lhota\"\n").Key("n").TextOrNull("");
             w.EndObject().Key("x").Value(false).EndObject();
         },
         "{\n  \"o\": {\n    \"t\": \"\\\"Lhota\\\"\\n\",\n    \"n\": null\n  },\n  \"x\": false\n}\n"},
    };
    for (const TCase& c : cases) {
        TJsonWriter w;
        c.Write(w);
        EXPECT_EQ(w.Text(), c.Expected);
        EXPECT_TRUE(json::accept(w.Text())) << w.Text();
    }
}

}  // namespace
}  // namespace zevra::test
