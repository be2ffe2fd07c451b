// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Work shared by the cores: pieces are taken up in their order whatever
// thread prepared them, a failure stops the work with the first error in
// piece order, and a file loaded in pieces gives the rows and the problem
// list of one pass.
#include "batch/core/u_batchcore.h"
#include "batch/core/u_exception_functions.h"
#include "batch/core/u_pieces.h"
#include "model/u_model.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zevra::test {
namespace {

TEST(Pieces, TakenInOrderWithWhatWasPrepared) {
    for (const std::size_t count : {0u, 1u, 2u, 7u, 200u}) {
        std::vector<std::size_t> taken;
        ForEachPieceInOrder<std::vector<std::size_t>>(
            count, [](std::size_t piece, std::vector<std::size_t>& out) { out.assign(piece % 5 + 1, piece); },
            [&](std::size_t piece, std::vector<std::size_t>& out) {
                EXPECT_EQ(out, std::vector<std::size_t>(piece % 5 + 1, piece));
                taken.push_back(piece);
            });
        ASSERT_EQ(taken.size(), count);
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(taken[i], i);
    }
}

// Limited to one thread (as where the platform has none), every piece is
// prepared on the calling thread, in order, and the result is the same.
TEST(Pieces, OneThreadPreparesEveryPieceOnTheCaller) {
    PieceThreadLimit() = 1;
    std::vector<std::size_t> order;
    bool elsewhere = false;
    const auto caller = std::this_thread::get_id();
    ForEachPieceInOrder<std::size_t>(
        100,
        [&](std::size_t piece, std::size_t& out) {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
            order.push_back(piece);
            out = piece;
        },
        [&](std::size_t piece, std::size_t& out) { EXPECT_EQ(out, piece); });
    PieceThreadLimit() = 0;
    EXPECT_FALSE(elsewhere);
    ASSERT_EQ(order.size(), 100u);
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], i);
}

TEST(Pieces, AFailureStopsTheWorkWithTheFirstErrorInPieceOrder) {
    std::atomic<std::size_t> prepared{0};
    std::vector<std::size_t> taken;
    try {
        ForEachPieceInOrder<int>(
            1000,
            [&](std::size_t piece, int&) {
                ++prepared;
                if (piece == 40 || piece == 41) throw std::runtime_error("piece " + std::to_string(piece));
            },
            [&](std::size_t piece, int&) { taken.push_back(piece); });
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "piece 40");
    }
    EXPECT_EQ(taken.size(), 40u);
    // Only a few pieces are prepared ahead of the one taken up.
    EXPECT_LT(prepared.load(), 60u);

    taken.clear();
    EXPECT_THROW(ForEachPieceInOrder<int>(
                     50, [](std::size_t, int&) {},
                     [&](std::size_t piece, int&) {
                         if (piece == 3) throw std::logic_error("take");
                         taken.push_back(piece);
                     }),
                 std::logic_error);
    EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1, 2}));
}

// A file of many pieces (when a line feed ends its lines): comments and
// blank lines before a header row that lies beyond the first piece, faulty
// lines in several pieces, and rows.
std::string ManyPieces(const std::string& lineEnd) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text += (i % 3 == 0 ? std::string("   ") : "# komentář " + std::to_string(i)) + lineEnd;
    text += "OBEC;KODOBCE;KRAJ;OBYVATELE;EAKTIVNI;NEZAMESTNANI;VYJIZDEJICI;NADMVYSKA;KATASTR;"
            "KRAJSKE_MESTO_MIN;OKRESNI_MESTO_KM;SILNICE_1TR_KM;PODNIKATELE_2006;ROLNICI_2006;"
            "DOM_ZAMESTNAVATEL;VODOVOD" + lineEnd;
    for (int i = 0; i < 12000; ++i) {
        if (i % 3001 == 17) {
            text += "Chybná " + std::to_string(i) + ";1;Jihočeský" + lineEnd;
            continue;
        }
        // Quoted names, some holding quotes and ";", and a quote that is never
        // closed: the lines stay apart wherever the pieces are cut.
        const std::string number = std::to_string(i);
        const std::string name = i % 5 == 0   ? "\"Obec \"\"č.\"\" " + number + "\""
                                 : i % 5 == 1 ? "\"Obec; č. " + number + "\""
                                 : i % 1000 == 2 ? "\"Obec č. " + number
                                                 : "Obec č. " + number;
        text += name + ";" + std::to_string(500000 + i) + ";Jihočeský;1200;600;50;300;450;1234,5;40;12;2,25;150;15;30;" +
                (i % 2 ? "Ano" : "Ne") + lineEnd;
    }
    return text;
}

struct TLoaded {
    std::vector<std::string> Cells;
    std::vector<std::string> Problems;
    std::size_t Pieces = 0;  // progress is reported once per piece taken up
};

TLoaded Load(const std::string& bytes) {
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    TLoaded loaded;
    try {
        batch.LoadInputBytes(bytes, [&](std::size_t, std::size_t) { ++loaded.Pieces; });
    } catch (const ECompositeException& e) {
        loaded.Problems = FormatProblems(e);
    }
    const TMemTable& t = batch.InputData();
    for (std::size_t row = 0; row < t.RowCount(); ++row)
        for (std::size_t field = 0; field < t.FieldCount(); ++field) loaded.Cells.push_back(t.AsText(row, field));
    return loaded;
}

TEST(Pieces, AFileLoadedInPiecesGivesWhatOnePassGives) {
    // Code page 1250, UTF-8 with its mark, and UTF-8 known by the evidence of
    // every piece.
    for (const std::string_view form : {"cp1250", "utf8-marked", "utf8"}) {
        const auto encode = [form](const std::string& text) {
            return form == "cp1250" ? Utf8ToCp1250(text) : form == "utf8-marked" ? "\xEF\xBB\xBF" + text : text;
        };
        // A file is cut at line feeds only: with CR alone it is one piece.
        const TLoaded whole = Load(encode(ManyPieces("\r")));
        ASSERT_EQ(whole.Pieces, 1u);
        // A faulty line keeps its row.
        ASSERT_EQ(whole.Cells.size(), 12000u * InputTableFields().size());
        ASSERT_EQ(whole.Problems.size(), 16u);
        EXPECT_EQ(whole.Problems[0], "Řádek 30004: Neukončené uvozovky v 1. údaji!");
        EXPECT_EQ(whole.Problems[1], "Řádek 30019: Chybný počet údajů na řádku (3 místo 16)!");
        EXPECT_EQ(whole.Problems.back(), "Řádek 41004: Neukončené uvozovky v 1. údaji!");
        for (const std::string lineEnd : {"\r\n", "\n"}) {
            const TLoaded pieces = Load(encode(ManyPieces(lineEnd)));
            EXPECT_GT(pieces.Pieces, 1u);
            EXPECT_EQ(pieces.Cells, whole.Cells);
            EXPECT_EQ(pieces.Problems, whole.Problems);
        }
    }
}

TEST(Pieces, ARefusedRowFarIntoTheFileKeepsEveryEarlierResult) {
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        // Row 6000 has more unemployed than economically active people.
        text += "Obec " + std::to_string(i) + ";" + std::to_string(500000 + i) + ";Jihočeský;1200;600;" +
                (i == 6000 ? "700" : "50") + ";300;450;1234.5;40;12;2.25;150;15;30;Ano\r\n";
    }
    TZevraModel model(ZEVRA_TEST_DATA_DIR);
    TZevraBatch batch(model);
    batch.LoadInputBytes(Utf8ToCp1250(text));
    const std::string refusal = ErrorOf([&] { batch.RunModelOnRows(); });
    ASSERT_EQ(refusal.rfind("CHYBA: Nezaměstnaní - ", 0), 0u) << refusal;
    ASSERT_EQ(batch.OutputData().RowCount(), 6000u);
    EXPECT_EQ(batch.OutputData().GetText(5999, ofOBEC), "Obec 5999");
    // The refused row is the model's input, as if every row had gone through it.
    EXPECT_EQ(model.Input().Obec, "Obec 6000");
    EXPECT_EQ(model.Output(), nullptr);

    batch.ValidateInputRows();
    EXPECT_EQ(batch.ErrorRowCount(), 1);
    EXPECT_EQ(batch.InputData().GetInt(6000, ifERROR), -1);
    EXPECT_EQ(model.Input().Obec, "Obec 9999");
}

}  // namespace
}  // namespace zevra::test
