#include "shell/FlexGridModel.h"

#include "shell/TextColour.h"

#include <QBrush>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace {

// Whether a cell reads as a number for the General alignment: digits with the signs, currency,
// separators and percent of the formatted values the windows show.
bool looksNumeric(QStringView text)
{
    text = text.trimmed();
    bool digit = false;
    for (QChar ch : text) {
        if (ch.isDigit())
            digit = true;
        else if (!QStringView(u"$.,%-+()").contains(ch))
            return false;
    }
    return digit;
}

Qt::Alignment toQtAlignment(int alignment, QStringView text)
{
    switch (alignment) {
    case FlexGridModel::LeftTop:
        return Qt::AlignLeft | Qt::AlignTop;
    case FlexGridModel::LeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case FlexGridModel::LeftBottom:
        return Qt::AlignLeft | Qt::AlignBottom;
    case FlexGridModel::CenterTop:
        return Qt::AlignHCenter | Qt::AlignTop;
    case FlexGridModel::CenterCenter:
        return Qt::AlignCenter;
    case FlexGridModel::CenterBottom:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case FlexGridModel::RightTop:
        return Qt::AlignRight | Qt::AlignTop;
    case FlexGridModel::RightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    case FlexGridModel::RightBottom:
        return Qt::AlignRight | Qt::AlignBottom;
    default:
        return (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

FlexGridModel::FlexGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

FlexGridModel::~FlexGridModel() = default;

bool FlexGridModel::isCell(int row, int col) const
{
    return row >= 0 && row < gridRows() && col >= 0 && col < gridCols();
}

QModelIndex FlexGridModel::indexOf(int row, int col) const
{
    if (row < headerRows() || row >= m_published || col < 0 || col >= gridCols())
        return {};
    return index(row - headerRows(), col);
}

// ---- structure

void FlexGridModel::setGridRows(int rows)
{
    rows = qMax(0, rows);
    const int old = gridRows();
    if (rows >= old) {
        m_rows.resize(size_t(rows)); // announced by publishRows()
        return;
    }
    if (rows < m_fixedRows)
        changeFixedRows(rows);
    if (rows >= m_published) {
        m_rows.resize(size_t(rows));
        return;
    }
    const int first = visibleRows(rows);
    const int last = visibleRows(m_published) - 1;
    if (last >= first)
        beginRemoveRows({}, first, last);
    m_rows.resize(size_t(rows));
    m_published = rows;
    if (last >= first)
        endRemoveRows();
}

void FlexGridModel::setGridCols(int cols)
{
    cols = qMax(0, cols);
    const int old = gridCols();
    if (cols == old)
        return;
    publishRows();
    if (cols > old)
        beginInsertColumns({}, old, cols - 1);
    else
        beginRemoveColumns({}, cols, old - 1);
    m_columns.resize(size_t(cols));
    for (Row &row : m_rows) {
        dropCellsFrom(row, cols);
        resizeColours(row, old);
    }
    m_fixedCols = qMin(m_fixedCols, cols);
    if (cols > old)
        endInsertColumns();
    else
        endRemoveColumns();
}

void FlexGridModel::setFixedRows(int rows)
{
    changeFixedRows(std::clamp(rows, 0, gridRows()));
}

void FlexGridModel::changeFixedRows(int rows)
{
    if ((rows > 0) == (m_fixedRows > 0)) {
        m_fixedRows = rows;
        return;
    }
    // Row 0 moves between the header and the rows: every model row shifts by one.
    publishRows();
    beginResetModel();
    m_fixedRows = rows;
    endResetModel();
}

void FlexGridModel::setFixedCols(int cols)
{
    cols = std::clamp(cols, 0, gridCols());
    if (cols == m_fixedCols)
        return;
    const int changedTo = qMax(cols, m_fixedCols) - 1;
    m_fixedCols = cols;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, changedTo),
                           {Qt::BackgroundRole, Qt::ForegroundRole});
}

void FlexGridModel::publishRows()
{
    const int rows = gridRows();
    if (m_published >= rows)
        return;
    // Rows filled cell by cell may have grown their strings on the way; give back what is more
    // than a little slack.
    for (int r = m_published; r < rows; ++r) {
        Row &row = m_rows[size_t(r)];
        const qsizetype length = row.text.size();
        if (row.text.capacity() > length + length / 8 + 16)
            row.text.squeeze();
        if (row.ends.capacity() > row.ends.size() + 2)
            row.ends.squeeze();
        if (length > 0)
            m_rowLengthHint = length + length / 16 + 8;
    }
    const int first = visibleRows(m_published);
    const int last = visibleRows(rows) - 1;
    if (last < first) {
        m_published = rows;
        return;
    }
    beginInsertRows({}, first, last);
    m_published = rows;
    endInsertRows();
}

// ---- cell texts

QStringView FlexGridModel::cell(int row, int col) const
{
    if (!isCell(row, col))
        return {};
    const Row &r = m_rows[size_t(row)];
    if (col >= r.ends.size())
        return {};
    const quint32 start = col > 0 ? r.ends[col - 1] : 0;
    return QStringView(r.text).mid(start, r.ends[col] - start);
}

void FlexGridModel::setCellText(Row &row, int col, QStringView text)
{
    if (row.ends.isEmpty() && row.text.isEmpty()) {
        // A row being filled cell by cell: room for a row like the last ones, at once.
        row.ends.reserve(gridCols());
        row.text.reserve(m_rowLengthHint);
    }
    while (row.ends.size() <= col)
        row.ends.append(quint32(row.text.size()));
    const quint32 start = col > 0 ? row.ends[col - 1] : 0;
    const qsizetype old = row.ends[col] - start;
    if (old == 0 && start == row.text.size())
        row.text.append(text.data(), text.size());
    else
        row.text.replace(start, old, text.data(), text.size());
    const auto delta = quint32(text.size() - old); // wraps for a shorter text, as intended
    for (qsizetype c = col; c < row.ends.size(); ++c)
        row.ends[c] += delta;
}

void FlexGridModel::setText(int row, int col, const QString &text)
{
    if (!isCell(row, col))
        return;
    setCellText(m_rows[size_t(row)], col, text);
    if (row >= m_published)
        return;
    if (row < headerRows())
        Q_EMIT headerDataChanged(Qt::Horizontal, col, col);
    else
        Q_EMIT dataChanged(indexOf(row, col), indexOf(row, col), {Qt::DisplayRole});
}

void FlexGridModel::dropCellsFrom(Row &row, int col) const
{
    if (row.ends.size() <= col)
        return;
    row.text.truncate(col > 0 ? row.ends[col - 1] : 0);
    row.ends.resize(col);
}

FlexGridModel::Row FlexGridModel::rowFromTabbed(QStringView tabbed) const
{
    Row row;
    const int cols = gridCols();
    row.text.reserve(tabbed.size());
    row.ends.reserve(cols);
    qsizetype from = 0;
    for (int c = 0; c < cols; ++c) {
        qsizetype tab = tabbed.indexOf(u'\t', from);
        const QStringView field = tabbed.mid(from, tab < 0 ? -1 : tab - from);
        row.text.append(field.data(), field.size());
        row.ends.append(quint32(row.text.size()));
        if (tab < 0)
            break;
        from = tab + 1;
    }
    return row;
}

void FlexGridModel::appendRow(const QStringList &cells)
{
    Row row;
    const qsizetype count = qMin(cells.size(), qsizetype(gridCols()));
    qsizetype length = 0;
    for (qsizetype c = 0; c < count; ++c)
        length += cells[c].size();
    row.text = QString(length, Qt::Uninitialized);
    row.ends.resize(count);
    QChar *end = row.text.data();
    for (qsizetype c = 0; c < count; ++c) {
        end = std::copy_n(cells[c].constData(), cells[c].size(), end);
        row.ends[c] = quint32(end - row.text.constData());
    }
    m_rows.push_back(std::move(row));
}

void FlexGridModel::appendTabbedRow(QStringView tabbed)
{
    m_rows.push_back(rowFromTabbed(tabbed));
}

void FlexGridModel::insertTabbedRow(int row, QStringView tabbed)
{
    if (row < 0 || row > gridRows())
        return;
    if (row == gridRows()) {
        appendTabbedRow(tabbed);
        return;
    }
    publishRows();
    const auto position = m_rows.begin() + row;
    if (row < headerRows()) {
        beginResetModel();
        m_rows.insert(position, rowFromTabbed(tabbed));
        ++m_published;
        endResetModel();
        return;
    }
    beginInsertRows({}, row - headerRows(), row - headerRows());
    m_rows.insert(position, rowFromTabbed(tabbed));
    ++m_published;
    endInsertRows();
}

void FlexGridModel::removeGridRow(int row)
{
    if (row < 0 || row >= gridRows())
        return;
    publishRows();
    if (row < headerRows()) {
        beginResetModel();
        m_rows.erase(m_rows.begin() + row);
        --m_published;
        m_fixedRows = qMin(m_fixedRows, gridRows());
        endResetModel();
        return;
    }
    beginRemoveRows({}, row - headerRows(), row - headerRows());
    m_rows.erase(m_rows.begin() + row);
    --m_published;
    m_fixedRows = qMin(m_fixedRows, gridRows());
    endRemoveRows();
}

// ---- colours

quint32 FlexGridModel::backColor(int row, int col) const
{
    if (!isCell(row, col))
        return 0;
    const Row &r = m_rows[size_t(row)];
    return r.cellColours ? r.cellColours[size_t(col)] : r.rowColour;
}

bool FlexGridModel::colourCell(Row &row, int col, quint32 bgr) const
{
    if (!row.cellColours) {
        if (row.rowColour == bgr)
            return false;
        row.cellColours = std::make_unique<quint32[]>(size_t(gridCols()));
        std::fill_n(row.cellColours.get(), gridCols(), row.rowColour);
    }
    row.cellColours[size_t(col)] = bgr;
    return true;
}

void FlexGridModel::setBackColor(int row, int col, quint32 bgr)
{
    if (!isCell(row, col) || !colourCell(m_rows[size_t(row)], col, bgr))
        return;
    const QModelIndex index = indexOf(row, col);
    if (index.isValid())
        Q_EMIT dataChanged(index, index, {Qt::BackgroundRole, Qt::ForegroundRole});
}

void FlexGridModel::setColBackColors(int col, int first, const std::vector<quint32> &bgr)
{
    if (!isCell(first, col))
        return;
    const int last = qMin(first + int(bgr.size()), gridRows()) - 1;
    for (int r = first; r <= last; ++r)
        colourCell(m_rows[size_t(r)], col, bgr[size_t(r - first)]);
    const int top = qMax(first, headerRows());
    const int bottom = qMin(last, m_published - 1);
    if (top <= bottom)
        Q_EMIT dataChanged(indexOf(top, col), indexOf(bottom, col),
                           {Qt::BackgroundRole, Qt::ForegroundRole});
}

void FlexGridModel::setRowsBackColor(int first, int last, quint32 bgr)
{
    first = qMax(first, 0);
    last = qMin(last, gridRows() - 1);
    if (first > last || gridCols() == 0)
        return;
    for (int r = first; r <= last; ++r) {
        Row &row = m_rows[size_t(r)];
        row.cellColours.reset();
        row.rowColour = bgr;
    }
    const int top = qMax(first, headerRows());
    const int bottom = qMin(last, m_published - 1);
    if (top <= bottom)
        Q_EMIT dataChanged(indexOf(top, 0), indexOf(bottom, gridCols() - 1),
                           {Qt::BackgroundRole, Qt::ForegroundRole});
}

void FlexGridModel::resizeColours(Row &row, int oldCols) const
{
    const int cols = gridCols();
    if (cols == 0) {
        row.cellColours.reset();
        return;
    }
    if (!row.cellColours && (row.rowColour == 0 || cols < oldCols))
        return;
    // New cells start without a colour of their own.
    auto colours = std::make_unique<quint32[]>(size_t(cols));
    for (int c = 0; c < cols; ++c)
        colours[size_t(c)] = c >= oldCols      ? 0
                             : row.cellColours ? row.cellColours[size_t(c)]
                                               : row.rowColour;
    row.cellColours = std::move(colours);
}

// ---- sizes and alignment

int FlexGridModel::rowHeight(int row) const
{
    return row >= 0 && row < gridRows() ? m_rows[size_t(row)].height : -1;
}

void FlexGridModel::setRowHeight(int row, int heightTwips)
{
    if (row >= 0 && row < gridRows())
        m_rows[size_t(row)].height = qMax(-1, heightTwips);
}

QList<int> FlexGridModel::rowsWithHeight() const
{
    QList<int> rows;
    for (int r = 0; r < gridRows(); ++r)
        if (m_rows[size_t(r)].height >= 0)
            rows.append(r);
    return rows;
}

int FlexGridModel::colWidth(int col) const
{
    return col >= 0 && col < gridCols() ? m_columns[size_t(col)].width : -1;
}

void FlexGridModel::setColWidth(int col, int widthTwips)
{
    if (col >= 0 && col < gridCols())
        m_columns[size_t(col)].width = qMax(-1, widthTwips);
}

int FlexGridModel::colAlignment(int col) const
{
    return col >= 0 && col < gridCols() ? m_columns[size_t(col)].alignment : General;
}

void FlexGridModel::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= gridCols() || alignment < LeftTop || alignment > General)
        return;
    m_columns[size_t(col)].alignment = alignment;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, col), index(rowCount() - 1, col), {Qt::TextAlignmentRole});
}

// ---- the item model

int FlexGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : visibleRows(m_published);
}

int FlexGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridCols();
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = gridRow(index);
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, col);
    case Qt::BackgroundRole:
        if (const quint32 bgr = backColor(row, col))
            return QBrush(fromBgr(bgr));
        if (col < m_fixedCols)
            return QGuiApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        // Painted cells have black or white text whatever the desktop's colours.
        if (const quint32 bgr = backColor(row, col))
            return QBrush(textColourOn(fromBgr(bgr)));
        if (col < m_fixedCols)
            return QGuiApplication::palette().buttonText();
        return {};
    case Qt::TextAlignmentRole:
        return int(toQtAlignment(colAlignment(col), cell(row, col)));
    default:
        return {};
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= gridCols())
            return {};
        if (role == Qt::DisplayRole)
            return headerRows() > 0 ? text(0, section) : QString();
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
