#include "shell/FlexGrid.h"

#include "shell/FlexGridModel.h"
#include "shell/OperatorWatch.h"
#include "shell/Twips.h"

#include <QApplication>
#include <QCache>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace {

constexpr int kDefaultRowHeightTwips = 240;
constexpr int kDefaultColWidthTwips = 1200;

// Marks the grid's own moves of the view's current index, which must not be taken for the
// operator's.
class Internal
{
public:
    explicit Internal(int &depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~Internal() { --m_depth; }
    Internal(const Internal &) = delete;
    Internal &operator=(const Internal &) = delete;

private:
    int &m_depth;
};

// Paints a cell as the grid draws it: its back colour (or the selection), one line of clipped
// text, the focus frame of the current cell. The general item delegate lays out icons, check boxes
// and elided text for every cell, which makes a long fill spend its time repainting.
class CellPainter : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
            : option.state & QStyle::State_Active   ? QPalette::Active
                                                    : QPalette::Inactive;
        QColor textColour = option.palette.color(group, QPalette::Text);
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
            textColour = option.palette.color(group, QPalette::HighlightedText);
        } else {
            const QVariant background = index.data(Qt::BackgroundRole);
            if (background.isValid())
                painter->fillRect(option.rect, background.value<QBrush>());
            const QVariant foreground = index.data(Qt::ForegroundRole);
            if (foreground.isValid())
                textColour = foreground.value<QBrush>().color();
        }
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const int margin =
                option.widget ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                    nullptr, option.widget) +
                                    1
                              : 3;
            const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
            painter->setPen(textColour);
            painter->setFont(option.font);
            drawLine(*painter, option.rect.adjusted(margin, 0, -margin, 0), alignment, text,
                     option.font);
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor =
                option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
            const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }
    }

private:
    // One line of text placed in its cell. A grid shows the same texts over and over (amounts,
    // dates, codes), so each keeps its laid-out glyphs: laying text out anew for every cell on
    // every repaint was a third of a grid's painting.
    void drawLine(QPainter &painter, const QRect &rect, Qt::Alignment alignment,
                  const QString &text, const QFont &font) const
    {
        if (font != m_font) {
            m_lines.clear();
            m_font = font;
        }
        QStaticText *line = m_lines.object(text);
        if (!line) {
            // One line, as the grid shows it: a line break in a text reads as a space.
            QString oneLine = text;
            for (QChar &c : oneLine)
                if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator)
                    c = u' ';
            line = new QStaticText(oneLine);
            line->setTextFormat(Qt::PlainText);
            line->prepare(QTransform(), font);
            m_lines.insert(text, line);
        }
        const QSizeF size = line->size();
        qreal x = rect.left();
        if (alignment & Qt::AlignRight)
            x = rect.right() + 1 - size.width();
        else if (alignment & Qt::AlignHCenter)
            x = rect.left() + (rect.width() - size.width()) / 2;
        const qreal y = rect.top() + (rect.height() - size.height()) / 2;
        // Only a text wider than its cell needs the cost of a clip.
        const bool clipped = size.width() > rect.width();
        if (clipped) {
            painter.save();
            painter.setClipRect(rect, Qt::IntersectClip);
        }
        painter.drawStaticText(QPointF(x, y), *line);
        if (clipped)
            painter.restore();
    }

    mutable QFont m_font;
    mutable QCache<QString, QStaticText> m_lines{2048};
};

} // namespace

FlexGrid::FlexGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new FlexGridModel(this))
{
    setModel(m_model);
    setItemDelegate(new CellPainter(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(
        qMax(twips(kDefaultRowHeightTwips), fontMetrics().height() + 4));

    QHeaderView *header = horizontalHeader();
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(twips(kDefaultColWidthTwips));
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (m_internal == 0 && size > 0)
            m_model->setColWidth(col, toTwips(size));
    });

    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { onRowsInserted(first, last); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &FlexGrid::applyLayout);

    // A new grid: two rows, two columns, row 0 the header, the cursor on the first data row.
    {
        Internal internal(m_internal);
        m_model->setGridCols(2);
        m_model->setGridRows(2);
        m_model->setFixedRows(1);
    }
    m_row = 1;
    applyLayout();
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::headerRows() const { return m_model->headerRows(); }

// ---- rows and columns

int FlexGrid::Rows() const { return m_model->gridRows(); }

void FlexGrid::setRows(int rows)
{
    const int old = Rows();
    {
        Internal internal(m_internal);
        m_model->setGridRows(rows);
    }
    clampCurrentCell();
    if (Rows() > old)
        rowsAppended();
}

int FlexGrid::Cols() const { return m_model->gridCols(); }

void FlexGrid::setCols(int cols)
{
    {
        Internal internal(m_internal);
        m_model->setGridCols(cols);
    }
    clampCurrentCell();
}

int FlexGrid::FixedRows() const { return m_model->fixedRows(); }

void FlexGrid::setFixedRows(int rows)
{
    {
        Internal internal(m_internal);
        m_model->setFixedRows(rows);
    }
    clampCurrentCell();
}

int FlexGrid::FixedCols() const { return m_model->fixedCols(); }

void FlexGrid::setFixedCols(int cols) { m_model->setFixedCols(cols); }

QString FlexGrid::TextMatrix(int row, int col) const { return m_model->text(row, col); }

QStringView FlexGrid::cellText(int row, int col) const { return m_model->cell(row, col); }

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) {
        qWarning("FlexGrid %s: no cell (%d, %d) in %d rows and %d columns",
                 qPrintable(objectName()), row, col, Rows(), Cols());
        return;
    }
    m_model->setText(row, col, text);
}

void FlexGrid::AddItem(const QString &item, int index)
{
    if (index < 0 || index == Rows()) {
        m_model->appendTabbedRow(item);
        rowsAppended();
        return;
    }
    if (index > Rows())
        return;
    {
        Internal internal(m_internal);
        m_model->insertTabbedRow(index, item);
    }
    if (m_row >= index)
        ++m_row;
    clampCurrentCell();
}

void FlexGrid::RemoveItem(int row)
{
    if (row < FixedRows() || row >= Rows())
        return;
    {
        Internal internal(m_internal);
        m_model->removeGridRow(row);
    }
    // The cursor stays on the row it was on.
    if (m_row > row)
        --m_row;
    clampCurrentCell();
}

void FlexGrid::appendRow(const QStringList &cells)
{
    m_model->appendRow(cells);
    rowsAppended();
}

void FlexGrid::appendRows(const QList<QStringList> &rows)
{
    m_model->reserveRows(rows.size());
    for (const QStringList &cells : rows)
        appendRow(cells);
}

// ---- the current cell and colours

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        return;
    m_row = row;
    m_syncPending = true;
    scheduleViewUpdate();
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= Cols())
        return;
    m_col = col;
    m_syncPending = true;
    scheduleViewUpdate();
}

quint32 FlexGrid::CellBackColor() const { return m_model->backColor(m_row, m_col); }

quint32 FlexGrid::cellBackColor(int row, int col) const { return m_model->backColor(row, col); }

void FlexGrid::setCellBackColor(quint32 bgr) { m_model->setBackColor(m_row, m_col, bgr); }

void FlexGrid::setColBackColors(int col, int first, const std::vector<quint32> &bgr)
{
    m_model->setColBackColors(col, first, bgr);
}

void FlexGrid::setRowsBackColor(int first, int last, quint32 bgr)
{
    m_model->setRowsBackColor(first, last, bgr);
}

void FlexGrid::clampCurrentCell()
{
    m_row = std::clamp(m_row, 0, qMax(0, Rows() - 1));
    m_col = std::clamp(m_col, 0, qMax(0, Cols() - 1));
    m_syncPending = true;
    scheduleViewUpdate();
}

// ---- sizes and alignment

int FlexGrid::RowHeight(int row) const
{
    if (row < 0 || row >= Rows())
        return 0;
    const int height = m_model->rowHeight(row);
    if (height >= 0)
        return height;
    if (row < headerRows())
        return toTwips(horizontalHeader()->height());
    return toTwips(verticalHeader()->defaultSectionSize());
}

void FlexGrid::setRowHeightTwips(int row, int heightTwips)
{
    if (row < 0 || row >= Rows())
        return;
    m_model->setRowHeight(row, heightTwips);
    applyRowHeight(row);
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= Cols())
        return 0;
    const int width = m_model->colWidth(col);
    return width >= 0 ? width : toTwips(horizontalHeader()->defaultSectionSize());
}

void FlexGrid::setColWidth(int col, int widthTwips)
{
    if (col < 0 || col >= Cols())
        return;
    m_model->setColWidth(col, widthTwips);
    applyColWidth(col);
}

int FlexGrid::ColAlignment(int col) const { return m_model->colAlignment(col); }

void FlexGrid::setColAlignment(int col, int alignment) { m_model->setColAlignment(col, alignment); }

void FlexGrid::applyLayout()
{
    Internal internal(m_internal);
    QHeaderView *header = horizontalHeader();
    const int headerHeight = headerRows() > 0 ? m_model->rowHeight(0) : 0;
    header->setVisible(headerRows() > 0 && headerHeight != 0);
    if (headerHeight > 0) {
        header->setFixedHeight(twips(headerHeight));
    } else {
        header->setMinimumHeight(0);
        header->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    for (int col = 0; col < Cols(); ++col)
        applyColWidth(col);
    for (int row : m_model->rowsWithHeight())
        if (row >= headerRows())
            applyRowHeight(row);
    m_syncPending = true;
    scheduleViewUpdate();
}

void FlexGrid::applyRowHeight(int row)
{
    if (row < headerRows()) {
        applyLayout();
        return;
    }
    const int viewRow = row - headerRows();
    if (viewRow >= m_model->rowCount())
        return; // applied when the row reaches the view
    Internal internal(m_internal);
    const int height = m_model->rowHeight(row);
    setRowHidden(viewRow, height == 0);
    if (height > 0)
        QTableView::setRowHeight(viewRow, twips(height));
    else if (height < 0)
        QTableView::setRowHeight(viewRow, verticalHeader()->defaultSectionSize());
}

void FlexGrid::applyColWidth(int col)
{
    Internal internal(m_internal);
    const int width = m_model->colWidth(col);
    setColumnHidden(col, width == 0);
    if (width != 0)
        setColumnWidth(col, width > 0 ? twips(width) : horizontalHeader()->defaultSectionSize());
}

void FlexGrid::onRowsInserted(int first, int last)
{
    for (int viewRow = first; viewRow <= last; ++viewRow)
        if (m_model->rowHeight(viewRow + headerRows()) >= 0)
            applyRowHeight(viewRow + headerRows());
}

// ---- keeping the view up to date

void FlexGrid::rowsAppended()
{
    if (m_watch) {
        m_watch->counted();
        // The watch keeps the time: it also gave the event loop its turns while the rows were
        // still being read. It keeps the operator's clicks and keys for later, so nothing can
        // change the grid under the fill.
        if (m_watch->sliceOver()) {
            updateView();
            if (m_watch->letEventLoopRun())
                throw FillStopped{};
        }
    } else if (m_sliceEnds == 0) {
        m_sliceEnds = OperatorWatch::coarseMs() + OperatorWatch::kSliceMs;
    } else if (OperatorWatch::coarseMs() >= m_sliceEnds) {
        // A long fill: show what is there and let the window repaint.
        updateView();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sliceEnds = OperatorWatch::coarseMs() + OperatorWatch::kSliceMs;
    }
    scheduleViewUpdate();
}

void FlexGrid::watchFill(std::function<void(int rows)> progress)
{
    m_watch = std::make_unique<OperatorWatch>(std::move(progress));
}

void FlexGrid::endFillWatch() { m_watch.reset(); }

void FlexGrid::scheduleViewUpdate()
{
    if (m_viewUpdateQueued)
        return;
    m_viewUpdateQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_viewUpdateQueued = false;
            m_sliceEnds = 0;
            updateView();
        },
        Qt::QueuedConnection);
}

void FlexGrid::updateView()
{
    {
        Internal internal(m_internal);
        m_model->publishRows();
    }
    if (m_syncPending)
        syncCurrentCell();
}

void FlexGrid::showAppendedRows() { updateView(); }

void FlexGrid::syncCurrentCell()
{
    m_syncPending = false;
    Internal internal(m_internal);
    const QModelIndex index = m_model->indexOf(m_row, m_col);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    else
        selectionModel()->clear(); // the cursor is in the header, or the grid is empty
}

void FlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_internal > 0 || !current.isValid())
        return;
    // The operator moved the cursor.
    m_row = m_model->gridRow(current);
    m_col = current.column();
    m_syncPending = false;
}

QRect FlexGrid::cellRect(int row, int col)
{
    updateView();
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols() || isColumnHidden(col))
        return {};
    if (row < headerRows()) {
        QHeaderView *header = horizontalHeader();
        return QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col),
                     header->height());
    }
    if (isRowHidden(row - headerRows()))
        return {};
    return visualRect(m_model->indexOf(row, col));
}

// ---- mouse and keys

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_mouseRow = index.isValid() ? m_model->gridRow(index) : -1;
    m_mouseCol = index.isValid() ? index.column() : -1;
    if (event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        Q_EMIT rightButtonPressed(event->globalPosition().toPoint());
        return;
    }
    m_afterDoubleClick = false;
    QTableView::mousePressEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const bool afterDoubleClick = m_afterDoubleClick;
    m_afterDoubleClick = false;
    if (!afterDoubleClick)
        Q_EMIT cellClicked();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_mouseRow = index.isValid() ? m_model->gridRow(index) : -1;
    m_mouseCol = index.isValid() ? index.column() : -1;
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_afterDoubleClick = true;
    Q_EMIT cellDoubleClicked();
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyPressed(event->key(), event->text());
    QTableView::keyPressEvent(event);
}

void FlexGrid::focusInEvent(QFocusEvent *event)
{
    // The view would put its cursor on the first row when it has none; the grid keeps its own.
    {
        Internal internal(m_internal);
        QTableView::focusInEvent(event);
    }
    m_syncPending = true;
    scheduleViewUpdate();
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == horizontalHeader()->viewport() && headerMouseEvent(event))
        return true;
    return QTableView::eventFilter(watched, event);
}

bool FlexGrid::onSectionHandle(const QPoint &pos) const
{
    const QHeaderView *header = horizontalHeader();
    const int section = header->logicalIndexAt(pos);
    if (section < 0)
        return false;
    const int grip = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    const int start = header->sectionViewportPosition(section);
    const int end = start + header->sectionSize(section);
    return pos.x() >= end - grip || (header->visualIndex(section) > 0 && pos.x() < start + grip);
}

// A click on the header makes its column current (with the cursor on the first row below the
// header), so even a grid without data rows can be searched by its column.
bool FlexGrid::headerMouseEvent(QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = mouse->position().toPoint();
    const int section = horizontalHeader()->logicalIndexAt(pos);
    const auto makeCurrent = [this, section] {
        setCol(section);
        setRow(Rows() > FixedRows() ? FixedRows() : 0);
        setFocus(Qt::MouseFocusReason);
    };

    if (type != QEvent::MouseButtonRelease) {
        m_mouseRow = section >= 0 ? 0 : -1;
        m_mouseCol = section;
    }
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() == Qt::RightButton) {
            setFocus(Qt::MouseFocusReason);
            Q_EMIT rightButtonPressed(mouse->globalPosition().toPoint());
            return true;
        }
        m_headerPressed =
            mouse->button() == Qt::LeftButton && section >= 0 && !onSectionHandle(pos);
        m_afterDoubleClick = false;
        if (m_headerPressed)
            makeCurrent();
        return false; // the header still resizes its sections
    }
    if (type == QEvent::MouseButtonDblClick) {
        if (mouse->button() != Qt::LeftButton || section < 0 || onSectionHandle(pos))
            return false;
        makeCurrent();
        m_afterDoubleClick = true;
        Q_EMIT cellDoubleClicked();
        return true;
    }
    // Release.
    if (mouse->button() == Qt::LeftButton) {
        const bool click = m_headerPressed && !m_afterDoubleClick;
        m_headerPressed = false;
        m_afterDoubleClick = false;
        if (click)
            Q_EMIT cellClicked();
    }
    return false;
}
