// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/core/u_memtable.h"

#include "model/u_format.h"
#include "model/u_object.h"
#include "model/u_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zevra {

std::string ConversionMessage(const TFieldDef& field, std::string_view value) {
    return FormatMessage(field.Type == TFieldType::ftFloat ? "'%s' není platné číslo pro pole '%s'"
                                                           : "'%s' není platné celé číslo pro pole '%s'",
                         {EchoValue(value), field.Name});
}

TMemTable::TMemTable(std::vector<TFieldDef> fields) : FFields(std::move(fields)), FColumns(FFields.size()) {
    for (const TFieldDef& field : FFields) {
        switch (field.Type) {
            case TFieldType::ftText: FStorage.push_back(field.Shared ? TStorage::Refs : TStorage::Texts); break;
            case TFieldType::ftInteger: FStorage.push_back(TStorage::Ints); break;
            case TFieldType::ftFloat: FStorage.push_back(TStorage::Floats); break;
        }
    }
}

std::size_t TMemTable::FindField(std::string_view name) const {
    for (std::size_t i = 0; i < FFields.size(); ++i) {
        if (FFields[i].Name == name) return i;
    }
    return npos;
}

std::size_t TMemTable::AppendRow() {
    for (std::size_t f = 0; f < FColumns.size(); ++f) {
        TColumn& column = FColumns[f];
        switch (FStorage[f]) {
            case TStorage::Texts: column.Texts.emplace_back(); break;
            case TStorage::Refs: column.Refs.push_back(0); break;
            case TStorage::Ints: column.Ints.push_back(0); break;
            case TStorage::Floats: column.Floats.push_back(0); break;
        }
        column.Present.push_back(0);
    }
    const std::size_t row = FRowCount++;
    FCurrentRow = row;
    if (FilterActive() && FFilter(*this, row)) FVisible.push_back(row);
    return row;
}

void TMemTable::Clear() {
    for (TColumn& column : FColumns) column = TColumn{};
    FRowCount = 0;
    FCurrentRow = npos;
    FVisible.clear();
}

void TMemTable::Reserve(std::size_t rows) {
    for (std::size_t f = 0; f < FFields.size(); ++f) {
        TColumn& column = FColumns[f];
        switch (FFields[f].Type) {
            case TFieldType::ftText:
                if (FFields[f].Shared)
                    column.Refs.reserve(rows);
                else
                    column.Texts.reserve(rows);
                break;
            case TFieldType::ftInteger: column.Ints.reserve(rows); break;
            case TFieldType::ftFloat: column.Floats.reserve(rows); break;
        }
        column.Present.reserve(rows);
    }
}

void TMemTable::AppendRows(TMemTable&& other) {
    const bool same = other.FFields.size() == FFields.size() &&
                      std::equal(FFields.begin(), FFields.end(), other.FFields.begin(),
                                 [](const TFieldDef& a, const TFieldDef& b) {
                                     return a.Name == b.Name && a.Type == b.Type && a.Size == b.Size &&
                                            a.Shared == b.Shared;
                                 });
    if (!same) throw EZevraError("Tables of different fields cannot be joined");
    const auto append = [](auto& to, auto& from) {
        to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    };
    const std::size_t first = FRowCount;
    for (std::size_t f = 0; f < FFields.size(); ++f) {
        TColumn& to = FColumns[f];
        TColumn& from = other.FColumns[f];
        if (FFields[f].Shared) {
            // The other table's texts by their places in this one's list.
            std::vector<std::uint32_t> place(from.Pool.size());
            for (std::size_t k = 0; k < from.Pool.size(); ++k) place[k] = PoolRef(to, from.Pool[k]);
            for (std::size_t row = 0; row < other.FRowCount; ++row)
                to.Refs.push_back(from.Present[row] != 0 ? place[from.Refs[row]] : 0);
        }
        append(to.Texts, from.Texts);
        append(to.Ints, from.Ints);
        append(to.Floats, from.Floats);
        append(to.Present, from.Present);
    }
    FRowCount += other.FRowCount;
    other.Clear();
    if (FRowCount > first) FCurrentRow = FRowCount - 1;
    if (FilterActive()) {
        for (std::size_t row = first; row < FRowCount; ++row) {
            if (FFilter(*this, row)) FVisible.push_back(row);
        }
    }
}

const std::vector<std::string>& TMemTable::SharedTexts(std::size_t field) const {
    CheckShared(field);
    return FColumns[field].Pool;
}

void TMemTable::ThrowCellRange(std::size_t row, std::size_t field) {
    throw EZevraError(FormatMessage("Cell (%d, %d) out of range",
                                    {FormatInt(static_cast<long long>(row)), FormatInt(static_cast<long long>(field))}));
}

void TMemTable::ThrowNotText(std::size_t field) const {
    throw EZevraError(FormatMessage("Field '%s' is not a text field", {FFields[field].Name}));
}

const std::string& TMemTable::EmptyText() {
    static const std::string empty;
    return empty;
}



std::string TMemTable::GetText(std::size_t row, std::size_t field) const {
    CheckCell(row, field);
    if (FFields[field].Type == TFieldType::ftText) return TextCell(row, field);
    return AsText(row, field);
}


std::int32_t TMemTable::ConvertedInt(std::size_t row, std::size_t field) const {
    const TColumn& column = FColumns[field];
    switch (FFields[field].Type) {
        case TFieldType::ftInteger: return column.Ints[row];
        case TFieldType::ftFloat: return SaturateToInt32(column.Floats[row]);
        case TFieldType::ftText: break;
    }
    std::int32_t value = 0;
    const std::string& text = TextCell(row, field);
    if (!TryParseInteger(Trim(text), value)) {
        throw EZevraError(ConversionMessage({FFields[field].Name, TFieldType::ftInteger}, text));
    }
    return value;
}

double TMemTable::ConvertedFloat(std::size_t row, std::size_t field) const {
    const TColumn& column = FColumns[field];
    switch (FFields[field].Type) {
        case TFieldType::ftInteger: return column.Ints[row];
        case TFieldType::ftFloat: return column.Floats[row];
        case TFieldType::ftText: break;
    }
    double value = 0;
    const std::string& text = TextCell(row, field);
    if (!TryParseNumber(Trim(text), value)) {
        throw EZevraError(ConversionMessage({FFields[field].Name, TFieldType::ftFloat}, text));
    }
    return value;
}

std::string TMemTable::AsText(std::size_t row, std::size_t field) const {
    CheckCell(row, field);
    const TColumn& column = FColumns[field];
    if (column.Present[row] == 0) return {};
    switch (FFields[field].Type) {
        case TFieldType::ftText: return TextCell(row, field);
        case TFieldType::ftInteger: return FormatInt(column.Ints[row]);
        case TFieldType::ftFloat: return FormatShortest(column.Floats[row]);
    }
    return {};
}

std::uint32_t TMemTable::PoolRef(TColumn& column, std::string_view value) {
    auto it = column.PoolIndex.find(value);
    if (it == column.PoolIndex.end()) {
        const auto index = static_cast<std::uint32_t>(column.Pool.size());
        column.Pool.emplace_back(value);
        it = column.PoolIndex.emplace(column.Pool.back(), index).first;
    }
    return it->second;
}

void TMemTable::StoreShared(TColumn& column, std::size_t row, std::string_view value) {
    column.Refs[row] = PoolRef(column, value);
}

void TMemTable::CheckShared(std::size_t field) const {
    if (field >= FFields.size() || FStorage[field] != TStorage::Refs) ThrowNotShared(field);
}

void TMemTable::ThrowNotShared(std::size_t field) const {
    throw EZevraError(FormatMessage("Field %d is not a shared text field", {FormatInt(static_cast<long long>(field))}));
}

std::uint32_t TMemTable::SharedTextRef(std::size_t field, std::string_view value) {
    CheckShared(field);
    const std::size_t size = FFields[field].Size;
    if (size != 0 && value.size() > size && Utf8Length(value) > size)
        return PoolRef(FColumns[field], Utf8Left(value, size));
    return PoolRef(FColumns[field], value);
}

void TMemTable::SetSharedText(std::size_t row, std::size_t field, std::uint32_t ref) {
    CheckCell(row, field);
    CheckShared(field);
    TColumn& column = FColumns[field];
    if (ref >= column.Pool.size()) {
        throw EZevraError(FormatMessage("Shared text %d out of range", {FormatInt(static_cast<long long>(ref))}));
    }
    column.Refs[row] = ref;
    column.Present[row] = 1;
}

void TMemTable::StoreText(std::size_t row, std::size_t field, std::string_view value) {
    const std::size_t size = FFields[field].Size;
    TColumn& column = FColumns[field];
    const bool cut = size != 0 && value.size() > size && Utf8Length(value) > size;
    if (FFields[field].Shared) {
        if (cut)
            StoreShared(column, row, Utf8Left(value, size));
        else
            StoreShared(column, row, value);
    } else if (cut) {
        column.Texts[row] = Utf8Left(value, size);
    } else {
        column.Texts[row].assign(value);
    }
    column.Present[row] = 1;
}

void TMemTable::SetText(std::size_t row, std::size_t field, std::string_view value) {
    CheckCell(row, field);
    switch (FFields[field].Type) {
        case TFieldType::ftText: StoreText(row, field, value); return;
        case TFieldType::ftInteger: {
            std::int32_t number = 0;
            if (!TryParseInteger(value, number)) throw EZevraError(ConversionMessage(FFields[field], value));
            SetInt(row, field, number);
            return;
        }
        case TFieldType::ftFloat: {
            double number = 0;
            if (!TryParseNumber(value, number)) throw EZevraError(ConversionMessage(FFields[field], value));
            SetFloat(row, field, number);
            return;
        }
    }
}

void TMemTable::SetConvertedInt(std::size_t row, std::size_t field, std::int32_t value) {
    TColumn& column = FColumns[field];
    switch (FFields[field].Type) {
        case TFieldType::ftInteger: column.Ints[row] = value; break;
        case TFieldType::ftFloat: column.Floats[row] = value; break;
        case TFieldType::ftText: StoreText(row, field, FormatInt(value)); return;
    }
    column.Present[row] = 1;
}

void TMemTable::SetFloat(std::size_t row, std::size_t field, double value) {
    CheckCell(row, field);
    TColumn& column = FColumns[field];
    switch (FFields[field].Type) {
        case TFieldType::ftInteger: column.Ints[row] = SaturateToInt32(value); break;
        case TFieldType::ftFloat: column.Floats[row] = value; break;
        case TFieldType::ftText: StoreText(row, field, FormatShortest(value)); return;
    }
    column.Present[row] = 1;
}

void TMemTable::SetNull(std::size_t row, std::size_t field) {
    CheckCell(row, field);
    TColumn& column = FColumns[field];
    switch (FFields[field].Type) {
        case TFieldType::ftText:
            if (FFields[field].Shared)
                column.Refs[row] = 0;
            else
                std::string().swap(column.Texts[row]);
            break;
        case TFieldType::ftInteger: column.Ints[row] = 0; break;
        case TFieldType::ftFloat: column.Floats[row] = 0; break;
    }
    column.Present[row] = 0;
}

void TMemTable::SetCurrentRow(std::size_t row) {
    if (row != npos && row >= FRowCount) {
        throw EZevraError(FormatMessage("Row %d out of range", {FormatInt(static_cast<long long>(row))}));
    }
    FCurrentRow = row;
}

void TMemTable::SetFilter(TFilter filter) {
    FFilter = std::move(filter);
    Refresh();
}

void TMemTable::SetFiltered(bool on) {
    FFiltered = on;
    Refresh();
}

void TMemTable::Refresh() {
    FVisible.clear();
    if (!FilterActive()) return;
    for (std::size_t row = 0; row < FRowCount; ++row) {
        if (FFilter(*this, row)) FVisible.push_back(row);
    }
}

std::size_t TMemTable::VisibleCount() const { return FilterActive() ? FVisible.size() : FRowCount; }

std::size_t TMemTable::VisibleRow(std::size_t index) const {
    if (index >= VisibleCount()) {
        throw EZevraError(FormatMessage("Row %d out of range", {FormatInt(static_cast<long long>(index))}));
    }
    return FilterActive() ? FVisible[index] : index;
}

std::size_t TMemTable::VisibleIndexOf(std::size_t row) const {
    if (row >= FRowCount) return npos;
    if (!FilterActive()) return row;
    const auto it = std::lower_bound(FVisible.begin(), FVisible.end(), row);
    return it != FVisible.end() && *it == row ? static_cast<std::size_t>(it - FVisible.begin()) : npos;
}

}  // namespace zevra
