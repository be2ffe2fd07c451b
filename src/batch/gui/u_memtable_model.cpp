// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/gui/u_memtable_model.h"

#include "gui/u_palette.h"

#include <algorithm>
#include <climits>

namespace zevra {

const QColor TMemTableModel::ErrorColor(255, 153, 153);
const QColor TMemTableModel::WarningColor(255, 255, 153);

TMemTableModel::TMemTableModel(const TMemTable& table, std::vector<TGridColumn> columns, std::size_t markField,
                               QObject* parent)
    : QAbstractTableModel(parent), FTable(table), FColumns(std::move(columns)), FMarkField(markField) {
    for (const TGridColumn& column : FColumns)
        FRightAligned.push_back(FTable.Fields().at(column.Field).Type != TFieldType::ftText);
    Reload();
}

int TMemTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRowCount; }

int TMemTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

std::size_t TMemTableModel::TableRow(int viewRow) const {
    if (!Following() || viewRow < 0 || viewRow >= FRowCount) return TMemTable::npos;
    const auto index = static_cast<std::size_t>(viewRow);
    return index < FTable.VisibleCount() ? FTable.VisibleRow(index) : TMemTable::npos;
}

int TMemTableModel::ViewRow(std::size_t tableRow) const {
    const std::size_t index = FTable.VisibleIndexOf(tableRow);
    return index == TMemTable::npos || index >= static_cast<std::size_t>(FRowCount) ? -1 : static_cast<int>(index);
}

QVariant TMemTableModel::RowBackground(std::size_t tableRow) const {
    if (FMarkField == TMemTable::npos || tableRow >= FTable.RowCount()) return {};
    const int mark = FTable.GetInt(tableRow, FMarkField);
    if (mark < 0) return ErrorColor;
    if (mark > 0) return WarningColor;
    return {};
}

QString TMemTableModel::RowState(std::size_t tableRow) const {
    if (FMarkField == TMemTable::npos || tableRow >= FTable.RowCount()) return {};
    const int mark = FTable.GetInt(tableRow, FMarkField);
    if (mark < 0) return QStringLiteral("chyba");
    if (mark > 0) return QStringLiteral("varování");
    return {};
}

// The light row colours keep their meaning in every theme; their text is
// the one of black and white that reads better on them, not the theme's
// (white on light yellow in a dark theme).
QVariant TMemTableModel::RowForeground(std::size_t tableRow) const {
    const QVariant background = RowBackground(tableRow);
    if (!background.isValid()) return {};
    return ContrastingText(background.value<QColor>());
}

QVariant TMemTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= static_cast<int>(FColumns.size())) return {};
    const std::size_t row = TableRow(index.row());
    if (row == TMemTable::npos) return {};
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(FTable.AsText(row, FColumns[column].Field));
    case Qt::BackgroundRole:
        return RowBackground(row);
    case Qt::ForegroundRole:
        return RowForeground(row);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        const QString state = RowState(row);
        return state.isEmpty() ? QVariant() : QVariant(state);
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment((FRightAligned[column] ? Qt::AlignRight : Qt::AlignLeft) |
                                                 Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant TMemTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= static_cast<int>(FColumns.size())) return {};
        if (role == Qt::DisplayRole) return FColumns[static_cast<std::size_t>(section)].Title;
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    // The row indicator: a pointer at the current row, nothing elsewhere.
    if (role == Qt::DisplayRole) return section == FIndicatorRow ? QStringLiteral("►") : QString();
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags TMemTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TMemTableModel::BeginUpdate() { ++FUpdateDepth; }

void TMemTableModel::EndUpdate() {
    if (FUpdateDepth > 0 && --FUpdateDepth == 0) Reload();
}

void TMemTableModel::Reload() {
    beginResetModel();
    FRowCount = Following() ? static_cast<int>(std::min<std::size_t>(FTable.VisibleCount(), INT_MAX)) : FRowCount;
    FIndicatorRow = -1;
    endResetModel();
}

void TMemTableModel::SetIndicatorRow(int viewRow) {
    if (viewRow == FIndicatorRow) return;
    const int previous = FIndicatorRow;
    FIndicatorRow = viewRow;
    if (previous >= 0 && previous < FRowCount) emit headerDataChanged(Qt::Vertical, previous, previous);
    if (viewRow >= 0 && viewRow < FRowCount) emit headerDataChanged(Qt::Vertical, viewRow, viewRow);
}

}  // namespace zevra
