#include "shell/GridSetup.h"

#include "shell/FlexGrid.h"
#include "shell/Twips.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

namespace {
// Room either side of a header's text, in logical pixels.
constexpr int kHeaderPadding = 18;
} // namespace

void setupGrid(FlexGrid &grid, const QStringList &headers, GridKind kind)
{
    const int rows = kind == GridKind::List ? kListFirstDataRow : 1;
    grid.setRows(rows);
    grid.setCols(int(headers.size()));
    grid.setFixedCols(0);
    grid.setFixedRows(1);
    for (int col = 0; col < headers.size(); ++col) {
        grid.setTextMatrix(0, col, headers.at(col));
        if (kind == GridKind::List)
            grid.setTextMatrix(1, col, QString());
    }
    if (kind == GridKind::List)
        grid.setRowHeightTwips(1, 0);
}

void fitColumnsToHeaders(FlexGrid &grid, const QHash<int, int> &minimumTwips,
                         int defaultMinimumTwips)
{
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    for (int col = 0; col < grid.Cols(); ++col) {
        if (grid.ColWidth(col) == 0)
            continue;
        const int header =
            toTwips(metrics.horizontalAdvance(grid.TextMatrix(0, col)) + kHeaderPadding);
        grid.setColWidth(col, std::max({header, defaultMinimumTwips, minimumTwips.value(col, 0)}));
    }
}
