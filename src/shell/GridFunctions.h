#pragma once

#include <QString>

class FlexGrid;

// The grid functions every window offers over its grids (the main window's "Grid Functions"
// menu): export to a spreadsheet, search, clearing the colours, copy and paste through the
// clipboard. None touches the database. Their messages go through the Dialogs service with the
// application's title and the information icon.
//
// Clipboard text: one line per grid row, header row first, each line ended by CR LF, cells
// separated by TAB. Inside a cell a TAB and a CR become blanks and an LF is dropped, so no cell can
// break the lines.

// Writes every cell, header included, to a new spreadsheet and opens it.
void ExportGridToExcel(FlexGrid &grid);
// Paints light green (0xC0FFC0) every row from row 1 on whose cell in `column` contains the text,
// ignoring case. Earlier highlights stay; the cursor ends on the last cell painted.
void SearchGrid(FlexGrid &grid, int column, const QString &searchText);
// Paints every cell below the header white (0xFFFFFF).
void ClearGridBackColor(FlexGrid &grid);
// Puts the whole grid on the clipboard; refused for grids of 251 rows or more.
void CopyGridToClipboard(FlexGrid &grid);
// Puts the current cell's text on the clipboard.
void CopyCellToClipboard(FlexGrid &grid);
// Replaces the grid by the clipboard's lines; the first line becomes the header.
void PasteClipboardToGrid(FlexGrid &grid);
// Puts the clipboard's text, whatever it holds, into the current cell of a grid with data rows.
void PasteClipboardToCell(FlexGrid &grid);

// The highlight of a search match and the colour Clear Back Color paints, as 0x00BBGGRR.
inline constexpr quint32 kSearchHighlight = 0xC0FFC0;
inline constexpr quint32 kClearedBackColor = 0xFFFFFF;
// Copy Grid refuses grids of this many rows or more.
inline constexpr int kMaxCopyRows = 251;

// The clipboard text of a grid, as Copy Grid builds it.
QString gridClipboardText(const FlexGrid &grid);
