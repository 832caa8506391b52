#include "shell/GridFunctions.h"

#include "shell/BusyPointer.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "shell/SpreadsheetExport.h"
#include "warehouse/Dialogs.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

void inform(const QString &text)
{
    Dialogs::instance().message(text, QString(), Dialogs::Icon::Information);
}

void appendCleaned(QString &out, QStringView cell)
{
    for (QChar ch : cell) {
        if (ch == u'\n')
            continue;
        out.append(ch == u'\t' || ch == u'\r' ? QChar(u' ') : ch);
    }
}

// The lines of a clipboard text. Our own copies end their lines with CR LF; text copied from other
// programs on this desktop may end them with LF alone.
QStringList clipboardLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    const bool crlf = text.contains(kLineEnd);
    return text.split(crlf ? kLineEnd : QStringLiteral("\n"));
}

void putOnClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace

void ExportGridToExcel(FlexGrid &grid)
{
    if (grid.Rows() <= 1) {
        inform(QStringLiteral("No Data to Export"));
        return;
    }
    spreadsheet::SavedWorkbook saved;
    {
        BusyPointer busy;
        const FlexGridModel &cells = grid.gridModel();
        saved =
            spreadsheet::saveInTemporaryFolder({grid.Rows(), grid.Cols(), [&cells](int r, int c) {
                                                    return cells.cell(r, c);
                                                }});
    }
    if (!saved.error.isEmpty()) {
        inform(saved.error);
        return;
    }
    if (!spreadsheet::openWorkbook(saved.path))
        inform(QStringLiteral("The spreadsheet was saved as %1, but no program could be started "
                              "to open it.")
                   .arg(QDir::toNativeSeparators(saved.path)));
}

void SearchGrid(FlexGrid &grid, int column, const QString &searchText)
{
    if (grid.Rows() <= 1) {
        inform(QStringLiteral("No Data inside the specified grid to search."));
        return;
    }
    if (column < 0 || column >= grid.Cols())
        return;
    const FlexGridModel &cells = grid.gridModel();
    int lastMatch = -1;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (cells.cell(row, column).contains(searchText, Qt::CaseInsensitive)) {
            grid.setRowsBackColor(row, row, kSearchHighlight);
            lastMatch = row;
        }
    }
    if (lastMatch >= 0) {
        grid.setRow(lastMatch);
        grid.setCol(grid.Cols() - 1);
    }
}

void ClearGridBackColor(FlexGrid &grid)
{
    if (grid.Rows() <= 1 || grid.Cols() <= 0) {
        inform(QStringLiteral("Can't clear the grid back color because the grid has no values."));
        return;
    }
    grid.setRowsBackColor(1, grid.Rows() - 1, kClearedBackColor);
    grid.setRow(grid.Rows() - 1);
    grid.setCol(grid.Cols() - 1);
}

QString gridClipboardText(const FlexGrid &grid)
{
    const FlexGridModel &cells = grid.gridModel();
    QString text;
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int col = 0; col < grid.Cols(); ++col) {
            if (col > 0)
                text.append(u'\t');
            appendCleaned(text, cells.cell(row, col));
        }
        text.append(kLineEnd);
    }
    return text;
}

void CopyGridToClipboard(FlexGrid &grid)
{
    // An empty grid has nothing to copy; it is not "too many rows".
    if (grid.Rows() == 0)
        return;
    if (grid.Rows() >= kMaxCopyRows) {
        inform(QStringLiteral("Too many rows to copy.  Sorry..."));
        return;
    }
    putOnClipboard(gridClipboardText(grid));
}

void CopyCellToClipboard(FlexGrid &grid)
{
    if (grid.Rows() > 0)
        putOnClipboard(grid.Text());
}

void PasteClipboardToGrid(FlexGrid &grid)
{
    grid.setRows(0);
    grid.setCols(0);
    const QStringList lines = clipboardLines(QGuiApplication::clipboard()->text());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const int fields = line.isEmpty() ? 0 : int(line.count(u'\t')) + 1;
        if (grid.Cols() < fields)
            grid.setCols(fields);
        grid.AddItem(line);
        if (i == 1)
            grid.setFixedRows(1);
    }
}

void PasteClipboardToCell(FlexGrid &grid)
{
    if (grid.Rows() > 1)
        grid.setText(QGuiApplication::clipboard()->text());
}
