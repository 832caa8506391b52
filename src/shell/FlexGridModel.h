#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

// The cells behind a FlexGrid: every grid row, the header row 0 included, as the texts of its cells
// one after the other in a single string with the end offset of each cell, so a cell costs little
// more than its text. Back colours are kept per row (one colour for the whole row, or one per cell
// once a single cell differs), row heights per row, widths and alignments per column.
//
// Grid rows and model rows differ: with a fixed row, grid row 0 is the horizontal header and model
// row i is grid row i + 1. Rows appended at the bottom reach the model's views only when
// publishRows() runs (the grid does so on a time slice and when the event loop turns), so a fill of
// 100,000 rows costs a handful of insert notifications instead of one per row.
class FlexGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Column alignments as the grid numbers them; General puts numbers right and text left.
    enum Alignment {
        LeftTop,
        LeftCenter,
        LeftBottom,
        CenterTop,
        CenterCenter,
        CenterBottom,
        RightTop,
        RightCenter,
        RightBottom,
        General
    };

    explicit FlexGridModel(QObject *parent = nullptr);
    ~FlexGridModel() override;

    int gridRows() const { return int(m_rows.size()); }
    int gridCols() const { return int(m_columns.size()); }
    // Fewer rows or columns drop the cells beyond; more add empty ones.
    void setGridRows(int rows);
    void setGridCols(int cols);
    int fixedRows() const { return m_fixedRows; }
    // Kept within 0..gridRows(). Only row 0 is drawn as the header; further fixed rows are drawn
    // as ordinary rows.
    void setFixedRows(int rows);
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int cols);
    // 1 when grid row 0 is the header, else 0: the offset from model rows to grid rows.
    int headerRows() const { return m_fixedRows > 0 ? 1 : 0; }

    // Text of a cell; empty outside the grid. The view stays valid until the row changes.
    QStringView cell(int row, int col) const;
    QString text(int row, int col) const { return cell(row, col).toString(); }
    void setText(int row, int col, const QString &text);

    // Appends one row with the given cells (cells beyond gridCols() are dropped).
    void appendRow(const QStringList &cells);
    // Room for that many more rows, so a long list is not moved as it grows.
    void reserveRows(qsizetype more)
    {
        const size_t needed = m_rows.size() + size_t(more);
        if (needed > m_rows.capacity())
            m_rows.reserve(std::max(needed, m_rows.capacity() * 2));
    }
    // The same from a text with the cells separated by TAB.
    void appendTabbedRow(QStringView tabbed);
    // Inserts a row before `row` (0..gridRows()).
    void insertTabbedRow(int row, QStringView tabbed);
    void removeGridRow(int row);

    // Back colour of a cell, 0x00BBGGRR; 0 means the grid's default colour.
    quint32 backColor(int row, int col) const;
    void setBackColor(int row, int col, quint32 bgr);
    // Every cell of rows first..last at once.
    void setRowsBackColor(int first, int last, quint32 bgr);
    void setColBackColors(int col, int first, const std::vector<quint32> &bgr);

    // Row height in twips, -1 for the default height.
    int rowHeight(int row) const;
    void setRowHeight(int row, int heightTwips);
    // Rows of a height other than the default, for the view to apply after a reset.
    QList<int> rowsWithHeight() const;
    // Column width in twips, -1 for the default width.
    int colWidth(int col) const;
    void setColWidth(int col, int widthTwips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // Rows appended but not yet announced to the views.
    bool hasUnpublishedRows() const { return m_published < gridRows(); }
    void publishRows();

    // Grid row of a model index, and back.
    int gridRow(const QModelIndex &index) const { return index.row() + headerRows(); }
    QModelIndex indexOf(int row, int col) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Row
    {
        QString text;                           // the cells' texts one after the other
        QList<quint32> ends;                    // end of each cell in text; missing cells are empty
        std::unique_ptr<quint32[]> cellColours; // one colour per column, when cells differ
        quint32 rowColour = 0;                  // colour of every cell while cellColours is null
        qint32 height = -1;                     // twips, -1 for the default
    };
    struct Column
    {
        int width = -1;
        int alignment = General;
    };

    bool isCell(int row, int col) const;
    void setCellText(Row &row, int col, QStringView text);
    void dropCellsFrom(Row &row, int col) const;
    void resizeColours(Row &row, int oldCols) const;
    bool colourCell(Row &row, int col, quint32 bgr) const;
    Row rowFromTabbed(QStringView tabbed) const;
    int visibleRows(int gridRows) const { return qMax(0, gridRows - headerRows()); }
    void changeFixedRows(int rows);

    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_published = 0;            // grid rows the views know of
    qsizetype m_rowLengthHint = 64; // text length to reserve for a row filled cell by cell
};
