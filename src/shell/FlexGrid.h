#pragma once

#include "warehouse/StatementWatch.h"

#include <QStringList>
#include <QTableView>

#include <functional>
#include <memory>

class FlexGridModel;
class OperatorWatch;

// The read-only data grid of every window: a text matrix with a current cell, an optional fixed
// header row, per-cell back colours, row heights and column widths, offered with the names the
// windows' code uses (Rows, Cols, TextMatrix, Row, Col, CellBackColor, ...).
//
// Rows are numbered as the grid numbers them: with FixedRows 1, row 0 is the header (drawn as the
// horizontal header of the view) and the data start at row 1. Sizes are in twips. Colours are
// 0x00BBGGRR values; 0 stands for the grid's default colour. Out-of-range rows and columns are
// ignored (reads give empty text).
//
// Filling is cheap: AddItem, appendRow and setRows add rows to the grid at once (Rows() and
// TextMatrix see them immediately), while the view is told of them in batches, either when the
// event loop next turns or, during a long fill, every few tens of milliseconds, when the grid also
// lets the event loop repaint the window (user input waits until the fill is over).
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const;
    void setFixedRows(int rows);
    int FixedCols() const;
    void setFixedCols(int cols);

    QString TextMatrix(int row, int col) const;
    // The same without a copy, valid until the row changes.
    QStringView cellText(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // Text of the current cell.
    QString Text() const { return TextMatrix(Row(), Col()); }
    void setText(const QString &text) { setTextMatrix(Row(), Col(), text); }

    // The current cell. Setting it moves the cursor; the header row and hidden rows may be
    // current, as in the original grid.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    quint32 CellBackColor() const;
    void setCellBackColor(quint32 bgr);
    // Any cell's back colour, the cursor left where it is.
    quint32 cellBackColor(int row, int col) const;

    // Appends a row (or inserts it before `index`) from a text with the cells separated by TAB.
    void AddItem(const QString &item, int index = -1);
    // Removes a row below the fixed rows; other rows are ignored.
    void RemoveItem(int row);

    // Height in twips; 0 hides the row, -1 restores the default. Row 0 of a grid with a fixed row
    // is the header.
    int RowHeight(int row) const;
    void setRowHeightTwips(int row, int heightTwips);
    // Width in twips; 0 hides the column, -1 restores the default.
    int ColWidth(int col) const;
    void setColWidth(int col, int widthTwips);
    // FlexGridModel::Alignment values; General (9) by default.
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // The windows keep the row loaded into their entry panel here; "-1" when none.
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // Cell under the mouse at the last press (row 0 for the header); -1 outside the cells.
    int MouseRow() const { return m_mouseRow; }
    int MouseCol() const { return m_mouseCol; }

    // Bulk forms for long fills.
    void appendRow(const QStringList &cells);
    void appendRows(const QList<QStringList> &rows);
    // Paints every cell of rows first..last in one step.
    void setRowsBackColor(int first, int last, quint32 bgr);
    // Paints one column's cells from row `first` down, a colour each, in one step.
    void setColBackColors(int col, int first, const std::vector<quint32> &bgr);

    // Tells the view now of rows appended since the event loop last turned.
    void showAppendedRows();

    // A fill the operator may stop. Between watchFill() and endFillWatch(), a fill that has run
    // for half a second tells `progress` the rows appended so far each time the window repaints,
    // and Esc stops it: the appendRow that finds Esc pressed keeps its row and throws
    // FillStopped, for the one who set the watch to catch. Other clicks and keys meanwhile are
    // delivered when the watch ends, as before.
    using FillStopped = StoppedByOperator;
    void watchFill(std::function<void(int rows)> progress);
    void endFillWatch();
    // Rectangle of a cell in the viewport (data rows) or in the header's viewport (row 0 of a grid
    // with a fixed row); empty for a hidden or unknown cell.
    QRect cellRect(int row, int col);

    const FlexGridModel &gridModel() const { return *m_model; }

Q_SIGNALS:
    // A left click (release) or double-click on the cells or the header, after the current cell
    // has moved there.
    void cellClicked();
    void cellDoubleClicked();
    // The right mouse button went down over the grid, which has taken the focus; the current cell
    // does not move.
    void rightButtonPressed(const QPoint &globalPos);
    void keyPressed(int key, const QString &text);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int headerRows() const;
    void rowsAppended();
    void scheduleViewUpdate();
    void updateView();
    void syncCurrentCell();
    void clampCurrentCell();
    void applyLayout();
    void applyRowHeight(int row);
    void applyColWidth(int col);
    void onRowsInserted(int first, int last);
    bool headerMouseEvent(QEvent *event);
    bool onSectionHandle(const QPoint &pos) const;

    FlexGridModel *m_model;
    int m_row = 0;
    int m_col = 0;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    QString m_tag = QStringLiteral("-1");
    bool m_viewUpdateQueued = false;
    bool m_syncPending = false;
    int m_internal = 0; // > 0 while the grid itself moves the view's current index
    bool m_afterDoubleClick = false;
    bool m_headerPressed = false; // a left press on a header section, not on its resize handle
    qint64 m_sliceEnds = 0; // when a fill lets the event loop run next; 0 between fills
    std::unique_ptr<OperatorWatch> m_watch;
};
