// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TMemTable: an in-memory table of named, typed fields. Text fields have a
// size in characters (UTF-8 aware; 0 means no limit) and cut longer texts;
// integer fields hold 32-bit integers, float fields doubles. Every cell may be
// empty; an empty number reads as 0 and an empty text as "". Cells are kept by
// column, so a row is cheap to reach by its index even with 100,000 rows.
// A display filter (a predicate on a row) can be switched on and off; it only
// decides which rows are visible, every operation can still reach all rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zevra {

enum class TFieldType { ftText, ftInteger, ftFloat };

struct TFieldDef {
    std::string Name;
    TFieldType Type = TFieldType::ftText;
    std::size_t Size = 0;  // text fields: the most characters kept; 0 = no limit
    // Text fields whose values repeat from row to row (a region, the model's
    // assessment): each distinct text is kept once and the rows refer to it.
    // Reading and writing the cells is the same as for any text field.
    bool Shared = false;
};

// The message of a value that a number field cannot convert, "'%s' is not a
// valid integer value for field '%s'" (or "... floating point value ..."):
// the value as the user wrote it, cut and with a NUL shown as EchoValue
// does, so that a long value or a NUL cannot spoil the message.
std::string ConversionMessage(const TFieldDef& field, std::string_view value);

class TMemTable {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    using TFilter = std::function<bool(const TMemTable& table, std::size_t row)>;

    explicit TMemTable(std::vector<TFieldDef> fields);

    const std::vector<TFieldDef>& Fields() const { return FFields; }
    std::size_t FieldCount() const { return FFields.size(); }
    // The index of a field by its exact name; npos when there is none.
    std::size_t FindField(std::string_view name) const;

    // --- rows -------------------------------------------------------------
    std::size_t RowCount() const { return FRowCount; }
    bool IsEmpty() const { return FRowCount == 0; }
    // Appends a row with every cell empty and makes it the current row.
    std::size_t AppendRow();
    // Removes every row; the current row becomes npos.
    void Clear();
    // Room for `rows` rows without reallocation.
    void Reserve(std::size_t rows);
    // Appends every row of `other`, a table of the same fields, as AppendRow
    // and the setters would have; `other` is left empty. The last appended
    // row becomes the current row. A table of other fields throws EZevraError.
    void AppendRows(TMemTable&& other);

    // --- cells ------------------------------------------------------------
    bool IsNull(std::size_t row, std::size_t field) const {
        CheckCell(row, field);
        return FColumns[field].Present[row] == 0;
    }
    // A text field's text ("" when empty). Number fields give their display
    // text as AsText does.
    std::string GetText(std::size_t row, std::size_t field) const;
    // Integer fields give their value, float fields their integral part
    // (saturated), text fields their text converted; empty gives 0.
    std::int32_t GetInt(std::size_t row, std::size_t field) const {
        CheckCell(row, field);
        const TColumn& column = FColumns[field];
        if (column.Present[row] == 0) return 0;
        return FFields[field].Type == TFieldType::ftInteger ? column.Ints[row] : ConvertedInt(row, field);
    }
    // Float and integer fields give their value; empty gives 0.
    double GetFloat(std::size_t row, std::size_t field) const {
        CheckCell(row, field);
        const TColumn& column = FColumns[field];
        if (column.Present[row] == 0) return 0;
        return FFields[field].Type == TFieldType::ftFloat ? column.Floats[row] : ConvertedFloat(row, field);
    }
    // The cell as text: a text as stored, an integer in plain decimal, a
    // double in its shortest form; an empty cell gives "".
    std::string AsText(std::size_t row, std::size_t field) const;
    // A text field's text without a copy ("" when empty), valid until the
    // cell or the table changes. Number fields throw EZevraError.
    std::string_view TextView(std::size_t row, std::size_t field) const {
        CheckCell(row, field);
        if (FFields[field].Type != TFieldType::ftText) ThrowNotText(field);
        return TextCell(row, field);
    }

    // Assigns a value given as text, converted by the field's type: a text
    // field keeps its first Size characters, an integer field takes an
    // optionally signed 32-bit decimal integer, a float field a decimal number
    // with "." (and an optional exponent). A value the field cannot convert
    // throws EZevraError "'%s' není platné celé číslo pro pole '%s'"
    // (or "... není platné číslo ...") and leaves the cell unchanged.
    void SetText(std::size_t row, std::size_t field, std::string_view value);
    void SetInt(std::size_t row, std::size_t field, std::int32_t value) {
        CheckCell(row, field);
        if (FFields[field].Type != TFieldType::ftInteger) return SetConvertedInt(row, field, value);
        TColumn& column = FColumns[field];
        column.Ints[row] = value;
        column.Present[row] = 1;
    }
    void SetFloat(std::size_t row, std::size_t field, double value);
    void SetNull(std::size_t row, std::size_t field);
    // Shared text fields: the place of a text among the column's distinct
    // texts (cut and added as SetText would), and a cell set to the text at
    // such a place. For a caller that stores the same few texts in many rows
    // without looking each one up again. Other fields throw EZevraError.
    std::uint32_t SharedTextRef(std::size_t field, std::string_view value);
    void SetSharedText(std::size_t row, std::size_t field, std::uint32_t ref);
    // A shared text cell's place (npos when the cell is empty), and the
    // column's distinct texts by place: a writer of many rows converts each
    // distinct text once.
    std::size_t SharedRefOf(std::size_t row, std::size_t field) const {
        CheckCell(row, field);
        if (FStorage[field] != TStorage::Refs) ThrowNotShared(field);
        const TColumn& column = FColumns[field];
        return column.Present[row] != 0 ? column.Refs[row] : npos;
    }
    const std::vector<std::string>& SharedTexts(std::size_t field) const;

    // --- current row --------------------------------------------------------
    // The remembered row (npos when the table is empty or nothing was chosen).
    std::size_t CurrentRow() const { return FCurrentRow; }
    // Any row index below RowCount, or npos.
    void SetCurrentRow(std::size_t row);

    // --- display filter -----------------------------------------------------
    void SetFilter(TFilter filter);
    void SetFiltered(bool on);
    bool Filtered() const { return FFiltered; }
    // Recomputes which rows the filter lets through; call after cells that the
    // filter reads have changed (switching the filter or appending rows
    // refreshes on its own).
    void Refresh();
    // The rows the filter lets through (all rows when it is off or unset),
    // in table order.
    std::size_t VisibleCount() const;
    // The table row of the index-th visible row.
    std::size_t VisibleRow(std::size_t index) const;
    // The position of `row` among the visible rows; npos when it is hidden.
    std::size_t VisibleIndexOf(std::size_t row) const;

private:
    struct TTextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    struct TColumn {
        std::vector<std::string> Texts;
        // Shared text fields: the distinct texts, and per row the index of
        // its text among them.
        std::vector<std::uint32_t> Refs;
        std::vector<std::string> Pool;
        std::unordered_map<std::string, std::uint32_t, TTextHash, std::equal_to<>> PoolIndex;
        std::vector<std::int32_t> Ints;
        std::vector<double> Floats;
        std::vector<unsigned char> Present;
    };

    void CheckCell(std::size_t row, std::size_t field) const {
        if (row >= FRowCount || field >= FFields.size()) ThrowCellRange(row, field);
    }
    [[noreturn]] static void ThrowCellRange(std::size_t row, std::size_t field);
    [[noreturn]] void ThrowNotText(std::size_t field) const;
    std::int32_t ConvertedInt(std::size_t row, std::size_t field) const;
    double ConvertedFloat(std::size_t row, std::size_t field) const;
    void SetConvertedInt(std::size_t row, std::size_t field, std::int32_t value);
    bool FilterActive() const { return FFiltered && static_cast<bool>(FFilter); }
    void StoreText(std::size_t row, std::size_t field, std::string_view value);
    void StoreShared(TColumn& column, std::size_t row, std::string_view value);
    static std::uint32_t PoolRef(TColumn& column, std::string_view value);
    void CheckShared(std::size_t field) const;
    [[noreturn]] void ThrowNotShared(std::size_t field) const;
    // Where a field's cells are kept, decided once from its definition.
    enum class TStorage : unsigned char { Texts, Refs, Ints, Floats };
    const std::string& TextCell(std::size_t row, std::size_t field) const {
        const TColumn& column = FColumns[field];
        if (!FFields[field].Shared) return column.Texts[row];
        return column.Present[row] != 0 ? column.Pool[column.Refs[row]] : EmptyText();
    }
    static const std::string& EmptyText();

    std::vector<TFieldDef> FFields;
    std::vector<TStorage> FStorage;  // by field
    std::vector<TColumn> FColumns;
    std::size_t FRowCount = 0;
    std::size_t FCurrentRow = npos;
    TFilter FFilter;
    bool FFiltered = false;
    std::vector<std::size_t> FVisible;  // valid while the filter is active
};

}  // namespace zevra
