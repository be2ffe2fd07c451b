// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory table and the composite exception.
#include "batch/core/u_exception_functions.h"
#include "batch/core/u_memtable.h"

#include <gtest/gtest.h>

#include <string>

namespace zevra {
namespace {

TMemTable SampleTable() {
    return TMemTable({{"NAME", TFieldType::ftText, 5},
                      {"COUNT", TFieldType::ftInteger, 0},
                      {"SIZE", TFieldType::ftFloat, 0},
                      {"NOTE", TFieldType::ftText, 0}});
}

TEST(MemTable, EmptyCellsReadAsZeroOrEmptyText) {
    TMemTable t = SampleTable();
    const std::size_t row = t.AppendRow();
    EXPECT_EQ(t.CurrentRow(), row);
    for (std::size_t f = 0; f < t.FieldCount(); ++f) EXPECT_TRUE(t.IsNull(row, f));
    EXPECT_EQ(t.GetText(row, 0), "");
    EXPECT_EQ(t.GetInt(row, 1), 0);
    EXPECT_EQ(t.GetFloat(row, 2), 0.0);
    EXPECT_EQ(t.AsText(row, 1), "");  // empty, not "0"
    t.SetInt(row, 1, 0);
    EXPECT_FALSE(t.IsNull(row, 1));
    EXPECT_EQ(t.AsText(row, 1), "0");
    t.SetNull(row, 1);
    EXPECT_TRUE(t.IsNull(row, 1));
}

TEST(MemTable, TextIsCutToItsSizeInCharactersNotBytes) {
    TMemTable t = SampleTable();
    const std::size_t row = t.AppendRow();
    t.SetText(row, 0, "Čeřovka");  // 7 characters, 10 bytes
    EXPECT_EQ(t.GetText(row, 0), "Čeřov");
    t.SetText(row, 0, "Říčany");  // 6 characters
    EXPECT_EQ(t.GetText(row, 0), "Říčan");
    t.SetText(row, 0, "ŽŽŽŽŽ");  // 5 characters of 2 bytes: kept whole
    EXPECT_EQ(t.GetText(row, 0), "ŽŽŽŽŽ");
    const std::string longNote(5000, 'x');
    t.SetText(row, 3, longNote);  // size 0: no limit
    EXPECT_EQ(t.GetText(row, 3), longNote);
}

TEST(MemTable, ConversionFailuresNameValueAndFieldAndLeaveTheCell) {
    TMemTable t = SampleTable();
    const std::size_t row = t.AppendRow();
    t.SetText(row, 1, "-42");
    t.SetText(row, 2, "12.5e1");
    EXPECT_EQ(t.GetInt(row, 1), -42);
    EXPECT_EQ(t.GetFloat(row, 2), 125.0);
    // The value as written, at most 40 characters of it, a NUL shown so that
    // it cannot end the message.
    const std::string kInteger = "' není platné celé číslo pro pole 'COUNT'";
    const std::string kFloat = "' není platné číslo pro pole 'SIZE'";
    const struct {
        std::size_t Field;
        std::string Value;
        std::string Message;
    } kCases[] = {
        {1, "12.5", "'12.5" + kInteger},
        {1, "1 000", "'1 000" + kInteger},
        {1, "2147483648", "'2147483648" + kInteger},
        {1, "0x10", "'0x10" + kInteger},
        {1, "abc", "'abc" + kInteger},
        {1, std::string("93\0x", 4), "'93\\x00x" + kInteger},
        {1, std::string(41, '7'), "'" + std::string(40, '7') + "…" + kInteger},
        {2, "12,5", "'12,5" + kFloat},
        {2, "nan", "'nan" + kFloat},
        {2, "inf", "'inf" + kFloat},
        {2, "1e400", "'1e400" + kFloat},
        {2, ".", "'." + kFloat},
    };
    for (const auto& c : kCases) {
        try {
            t.SetText(row, c.Field, c.Value);
            ADD_FAILURE() << c.Value;
        } catch (const EZevraError& e) {
            EXPECT_EQ(std::string(e.what()), c.Message);
        }
    }
    EXPECT_EQ(t.GetInt(row, 1), -42);
    EXPECT_EQ(t.GetFloat(row, 2), 125.0);
    EXPECT_EQ(t.AsText(row, 2), "125");
}

TEST(MemTable, FilterSwitchesOnAndOffAndFollowsRefresh) {
    TMemTable t = SampleTable();
    for (int i = 0; i < 6; ++i) t.SetInt(t.AppendRow(), 1, i);
    t.SetFilter([](const TMemTable& table, std::size_t row) { return table.GetInt(row, 1) % 2 == 1; });
    EXPECT_EQ(t.VisibleCount(), 6u);  // set but not switched on
    t.SetFiltered(true);
    ASSERT_EQ(t.VisibleCount(), 3u);
    EXPECT_EQ(t.VisibleRow(0), 1u);
    EXPECT_EQ(t.VisibleRow(2), 5u);
    EXPECT_EQ(t.VisibleIndexOf(3), 1u);
    EXPECT_EQ(t.VisibleIndexOf(2), TMemTable::npos);
    t.SetInt(0, 1, 7);
    EXPECT_EQ(t.VisibleCount(), 3u);  // not yet refreshed
    t.Refresh();
    EXPECT_EQ(t.VisibleCount(), 4u);
    EXPECT_EQ(t.VisibleRow(0), 0u);
    t.SetFiltered(false);
    EXPECT_EQ(t.VisibleCount(), 6u);
    EXPECT_EQ(t.VisibleIndexOf(2), 2u);
    EXPECT_THROW(t.VisibleRow(6), EZevraError);
}

TEST(MemTable, CurrentRowAndClear) {
    TMemTable t = SampleTable();
    EXPECT_EQ(t.CurrentRow(), TMemTable::npos);
    t.AppendRow();
    t.AppendRow();
    EXPECT_EQ(t.CurrentRow(), 1u);
    t.SetCurrentRow(0);
    EXPECT_EQ(t.CurrentRow(), 0u);
    EXPECT_THROW(t.SetCurrentRow(2), EZevraError);
    EXPECT_THROW(t.GetInt(2, 1), EZevraError);
    t.Clear();
    EXPECT_EQ(t.RowCount(), 0u);
    EXPECT_EQ(t.CurrentRow(), TMemTable::npos);
    EXPECT_EQ(t.FindField("SIZE"), 2u);
    EXPECT_EQ(t.FindField("size"), TMemTable::npos);
}

// An exception that counts its living instances.
struct CountedError : std::exception {
    static inline int Alive = 0;
    CountedError() { ++Alive; }
    CountedError(const CountedError&) { ++Alive; }
    ~CountedError() override { --Alive; }
    const char* what() const noexcept override { return "counted"; }
};

TEST(CompositeException, KeepsEntriesInOrderAndAnswersOutOfRangeWithNothing) {
    ECompositeException e;
    EXPECT_STREQ(e.what(), "");
    EXPECT_EQ(e.Count(), 0);
    EXPECT_TRUE(FormatProblems(e).empty());
    e.Add("Řádek 3", std::make_unique<EZevraError>("první"));
    e.Add("Řádek 7", std::make_unique<EZevraError>("druhý"));
    e.Add("Řádek 7", std::make_unique<EZevraError>("třetí"));
    ASSERT_EQ(e.Count(), 3);
    EXPECT_EQ(FormatProblems(e),
              (std::vector<std::string>{"Řádek 3: první", "Řádek 7: druhý", "Řádek 7: třetí"}));
    for (int bad : {-1, 3}) {
        EXPECT_EQ(e.Contexts(bad), "");
        EXPECT_EQ(e.Exceptions(bad), nullptr);
    }
    EXPECT_STREQ(e.what(), "");
}

TEST(CompositeException, OwnsItsEntriesAndSurvivesThrowing) {
    {
        ECompositeException e;
        e.Add("a", std::make_unique<CountedError>());
        e.Add("b", std::make_unique<CountedError>());
        EXPECT_EQ(CountedError::Alive, 2);
    }
    EXPECT_EQ(CountedError::Alive, 0);

    std::unique_ptr<ECompositeException> collected;
    EXPECT_FALSE(collected);
    EnsureComposite(collected);
    ECompositeException* first = collected.get();
    ASSERT_NE(first, nullptr);
    EnsureComposite(collected);
    EXPECT_EQ(collected.get(), first);
    collected->Add("Řádek 1", std::make_unique<CountedError>());
    try {
        throw *collected;  // a copy: entries copied with their messages
    } catch (const EVUNOException& caught) {
        const auto* composite = dynamic_cast<const ECompositeException*>(&caught);
        ASSERT_NE(composite, nullptr);
        EXPECT_EQ(FormatProblems(*composite), std::vector<std::string>{"Řádek 1: counted"});
    }
    collected.reset();
    EXPECT_EQ(CountedError::Alive, 0);
}

}  // namespace
}  // namespace zevra
