#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// The spreadsheet of the grid export: an .xlsx workbook with one sheet "Quennel Output" holding
// every cell of a grid, header row included (grid cell (r, c) in sheet row r + 1, column c + 1),
// all cells in font size 8 with a thin near-black border, the first row bold, printed on legal
// paper in landscape. The workbook is saved in the temporary folder and opened with the desktop's
// default program for spreadsheets.
namespace spreadsheet {

inline constexpr auto kSheetName = "Quennel Output";
inline constexpr int kLegalPaper = 5;
// The border colour the original gave as the value 5, i.e. red 5, green 0, blue 0.
inline constexpr unsigned kBorderColour = 0x050000;
inline constexpr double kFontSize = 8;

// The cells to write, read row by row.
struct SheetCells
{
    int rows = 0;
    int cols = 0;
    std::function<QStringView(int row, int col)> text;
};

// Writes the workbook to `path`. Returns the description of the failure, if any; a failed
// workbook is not left behind.
std::optional<QString> writeWorkbook(const QString &path, const SheetCells &cells);

struct SavedWorkbook
{
    QString path;  // where the workbook was saved, when it was
    QString error; // the description of the failure, when it was not
};
// Writes the workbook under a new name in the temporary folder. It is written under a temporary
// name first and renamed when complete, so no half-written file ever carries the final name.
SavedWorkbook saveInTemporaryFolder(const SheetCells &cells);

// Opens a saved workbook for the operator; false when no program could open it. Tests replace it.
using Opener = std::function<bool(const QString &path)>;
// Installs an opener and returns the one it replaces; an empty one restores the desktop's.
Opener setOpener(Opener opener);
bool openWorkbook(const QString &path);

} // namespace spreadsheet
