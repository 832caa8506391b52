#pragma once

// Filling a grid and reading it back whole, for the grid tests.
#include "shell/FlexGrid.h"

#include <QStringList>

namespace gridcells {

// A row given as its cells separated by TABs.
inline QStringList split(const char *tabbed) { return QString::fromUtf8(tabbed).split(u'\t'); }

// A grid with a header row and data rows, every row given as its cells.
inline void fill(FlexGrid &grid, const QList<QStringList> &rows)
{
    grid.setRows(0);
    grid.setCols(rows.isEmpty() ? 0 : int(rows.first().size()));
    grid.appendRows(rows);
    grid.setFixedRows(rows.isEmpty() ? 0 : 1);
}

// Every cell of the grid, row by row.
inline QList<QStringList> cells(const FlexGrid &grid)
{
    QList<QStringList> rows;
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.Cols(); ++c)
            row << grid.TextMatrix(r, c);
        rows << row;
    }
    return rows;
}

} // namespace gridcells
