// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// TMemTableModel: shows a TMemTable in a Qt item view. It reads the cells in
// place through the table's index of visible rows (no row is copied), so a
// table of any size costs the same per drawn cell; rows are coloured by a
// mark field (below 0 light red, above 0 light yellow), with a text colour
// that reads on them and their state also in words.
#pragma once

#include "batch/core/u_memtable.h"

#include <QAbstractTableModel>
#include <QColor>

#include <cstddef>
#include <vector>

namespace zevra {

// One grid column: the table field it shows, its title and its width in
// pixels (0 = the grid's default width).
struct TGridColumn {
    std::size_t Field;
    QString Title;
    int Width = 0;
};

class TMemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int DefaultColumnWidth = 64;
    static const QColor ErrorColor;    // light red
    static const QColor WarningColor;  // light yellow

    // The table is borrowed and must outlive the model. `markField` is the
    // integer field whose sign colours a row (npos: no colours).
    TMemTableModel(const TMemTable& table, std::vector<TGridColumn> columns, std::size_t markField,
                   QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<TGridColumn>& Columns() const { return FColumns; }
    // The table row shown in view row `viewRow`; npos when there is none.
    std::size_t TableRow(int viewRow) const;
    // The view row of a table row; -1 when it is hidden or out of range.
    int ViewRow(std::size_t tableRow) const;
    // The background of a shown row by its mark; invalid for the grid's own.
    QVariant RowBackground(std::size_t tableRow) const;
    // Its text colour, chosen to read on that background; invalid likewise.
    QVariant RowForeground(std::size_t tableRow) const;
    // The state the colour shows, in words ("chyba", "varování"), for a tool
    // tip and a screen reader; empty for a row without problems.
    QString RowState(std::size_t tableRow) const;

    // While the table is being rebuilt the view reads nothing from it; the
    // view follows again (and is reset) with EndUpdate. Calls may nest.
    void BeginUpdate();
    void EndUpdate();
    bool Following() const { return FUpdateDepth == 0; }
    // Re-reads the visible rows after the table or its filter changed.
    void Reload();

    // The row marked by the row indicator (view row, -1 for none).
    void SetIndicatorRow(int viewRow);
    int IndicatorRow() const { return FIndicatorRow; }

private:
    const TMemTable& FTable;
    std::vector<TGridColumn> FColumns;
    std::size_t FMarkField;
    std::vector<bool> FRightAligned;
    int FRowCount = 0;  // visible rows when the view last followed the table
    int FUpdateDepth = 0;
    int FIndicatorRow = -1;
};

}  // namespace zevra
