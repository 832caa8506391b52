#pragma once

#include <QHash>
#include <QStringList>

class FlexGrid;

// The two kinds of grid the windows use: a plain grid has its header in row 0 and its data from
// row 1; a list grid keeps row 1 as an empty row of height 0 and its data from row 2.
enum class GridKind { Plain, List };
inline constexpr int kListFirstDataRow = 2;

// Empties the grid to its header row (and the hidden row of a list), one column per header.
void setupGrid(FlexGrid &grid, const QStringList &headers, GridKind kind);
// Widens every visible column so its header reads whole, and to at least its minimum (twips).
void fitColumnsToHeaders(FlexGrid &grid, const QHash<int, int> &minimumTwips = {},
                         int defaultMinimumTwips = 0);
