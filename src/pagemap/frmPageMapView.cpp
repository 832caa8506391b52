#include "pagemap/frmPageMapView.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace pagemap;

namespace {

constexpr double kMaxZoom = 2.5;
constexpr double kZoomStep = 1.25;
// Below this height on screen (pixels) a tile's text would be unreadable: it is sketched.
constexpr double kReadableTileHeight = 200;

} // namespace

frmPageMapView::frmPageMapView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(false);
    viewport()->setBackgroundRole(QPalette::Mid);
    viewport()->setAutoFillBackground(true);
}

void frmPageMapView::setPageMap(const catalog::PageMap *map)
{
    m_map = map;
    m_spreads = map ? map->spreads() : std::vector<catalog::Spread>();
    endDrag();
    relayout();
    // The focus stays on its page number while the book has it, else on the nearest page.
    if (m_focusPage >= 0 && m_map && !m_map->page(m_focusPage)) {
        const std::vector<int> pages = pageNumbers();
        m_focusPage = pages.empty() ? -1 : std::min(m_focusPage, pages.back());
    }
    setFocusPage(m_focusPage);
    viewport()->update();
}

std::vector<int> frmPageMapView::pageNumbers() const
{
    std::vector<int> pages;
    if (m_map)
        for (const catalog::MapPage &page : m_map->pages)
            if (page.stored)
                pages.push_back(page.number);
    return pages;
}

void frmPageMapView::setFocusPage(int page)
{
    m_focusPage = page;
    const catalog::MapPage *focused = m_map && page >= 0 ? m_map->page(page) : nullptr;
    // A screen reader reads the focused tile as the view's name.
    setAccessibleName(focused ? pagemap::accessibleName(*focused) : QStringLiteral("Page map"));
    if (hasFocus() && focused) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(accessibleIndexOf(page));
        QAccessible::updateAccessibility(&event);
    }
    viewport()->update();
}

void frmPageMapView::setSignatureBands(int size)
{
    m_signature = size;
    viewport()->update();
}

void frmPageMapView::setSingleRow(bool single)
{
    m_singleRow = single;
    relayout();
    viewport()->update();
}

void frmPageMapView::setDifferences(const QSet<int> &pages, const QSet<qlonglong> &items)
{
    m_differentPages = pages;
    m_differentItems = items;
    viewport()->update();
}

double frmPageMapView::wholeBookZoom() const
{
    if (m_spreads.empty())
        return 1.0;
    const QSize area = viewport()->size();
    // The largest zoom at which every row of spreads fits the height.
    double zoom = kMaxZoom;
    while (zoom > 0.03) {
        const SpreadLayout layout =
            layoutSpreads(m_spreads.size(), m_singleRow ? 1e9 : area.width() / zoom);
        if (layout.size.height() * zoom <= area.height() &&
            layout.size.width() * zoom <= area.width() + 1)
            break;
        zoom *= 0.97;
    }
    return zoom;
}

double frmPageMapView::twoPageZoom() const
{
    const QSize area = viewport()->size();
    const double across = area.width() / (2 * kTileWidth + 2 * kMargin);
    const double down = area.height() / (kTileHeight + 2 * kMargin);
    return std::clamp(std::min(across, down), 0.05, kMaxZoom);
}

void frmPageMapView::setZoom(double zoom)
{
    zoom = std::clamp(zoom, std::min(wholeBookZoom(), 0.2), kMaxZoom);
    if (std::abs(zoom - m_zoom) < 1e-6)
        return;
    // Keep the point of the book at the centre of the view where it is.
    const QPointF centre = toBook(viewport()->rect().center());
    m_zoom = zoom;
    relayout();
    horizontalScrollBar()->setValue(int(centre.x() * m_zoom - viewport()->width() / 2.0));
    verticalScrollBar()->setValue(int(centre.y() * m_zoom - viewport()->height() / 2.0));
    viewport()->update();
    Q_EMIT zoomChanged(m_zoom);
}

void frmPageMapView::zoomBy(int steps) { setZoom(m_zoom * std::pow(kZoomStep, steps)); }

void frmPageMapView::showTwoPages(int page)
{
    setZoom(twoPageZoom());
    const QRect tile = pageRect(page);
    if (!tile.isNull()) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + tile.left() -
                                        int(kMargin * m_zoom) -
                                        (page % 2 == 1 ? int(kTileWidth * m_zoom) : 0));
        verticalScrollBar()->setValue(verticalScrollBar()->value() + tile.top() -
                                      int(kMargin * m_zoom));
    }
}

void frmPageMapView::relayout()
{
    m_layout = layoutSpreads(m_spreads.size(), m_singleRow ? 1e9 : viewport()->width() / m_zoom);
    const QSize content(int(std::ceil(m_layout.size.width() * m_zoom)),
                        int(std::ceil(m_layout.size.height() * m_zoom)));
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, content.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
}

QPointF frmPageMapView::toBook(const QPoint &viewportPoint) const
{
    return QPointF((viewportPoint.x() + horizontalScrollBar()->value()) / m_zoom,
                   (viewportPoint.y() + verticalScrollBar()->value()) / m_zoom);
}

QRect frmPageMapView::pageRect(int page) const
{
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        for (const bool left : {true, false}) {
            const auto &side = left ? m_spreads[i].left : m_spreads[i].right;
            if (side && side->page == page) {
                const QRectF tile = tileRect(m_layout.spreads[i], left);
                return QRectF((tile.left() * m_zoom) - horizontalScrollBar()->value(),
                              (tile.top() * m_zoom) - verticalScrollBar()->value(),
                              tile.width() * m_zoom, tile.height() * m_zoom)
                    .toRect();
            }
        }
    }
    return {};
}

std::optional<int> frmPageMapView::pageAt(const QPoint &viewportPoint) const
{
    const QPointF point = toBook(viewportPoint);
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        if (!m_layout.spreads[i].contains(point))
            continue;
        const bool left = point.x() < m_layout.spreads[i].left() + kTileWidth;
        const auto &side = left ? m_spreads[i].left : m_spreads[i].right;
        if (side && side->present)
            return side->page;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::pair<QRectF, const catalog::MapPage *>>
frmPageMapView::tileAt(const QPoint &viewportPoint) const
{
    const std::optional<int> page = pageAt(viewportPoint);
    const catalog::MapPage *mapPage = page && m_map ? m_map->page(*page) : nullptr;
    if (!mapPage)
        return std::nullopt;
    for (std::size_t i = 0; i < m_spreads.size(); ++i)
        for (const bool left : {true, false}) {
            const auto &side = left ? m_spreads[i].left : m_spreads[i].right;
            if (side && side->page == *page)
                return std::pair(tileRect(m_layout.spreads[i], left), mapPage);
        }
    return std::nullopt;
}

std::optional<qlonglong> frmPageMapView::placementAt(const QPoint &viewportPoint) const
{
    const auto tile = tileAt(viewportPoint);
    if (!tile)
        return std::nullopt;
    return pagemap::placementAt(tile->first, *tile->second, toBook(viewportPoint), detail());
}

QString frmPageMapView::toolTipAt(const QPoint &viewportPoint) const
{
    const auto tile = tileAt(viewportPoint);
    if (!tile)
        return {};
    return pagemap::toolTipAt(tile->first, *tile->second, toBook(viewportPoint), detail());
}

bool frmPageMapView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        // A page's products beyond its tile's lines, or all of them in a sketch: every product
        // can be read, however full the page.
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString text = m_dragging ? QString() : toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(text, Qt::WhiteSpacePre),
                               viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

Detail frmPageMapView::detail() const
{
    return kTileHeight * m_zoom >= kReadableTileHeight ? Detail::Full : Detail::Sketch;
}

void frmPageMapView::paintSpreads(QPainter &painter, const QRectF &bookArea) const
{
    if (!m_map)
        return;
    PaintState state;
    state.detail = detail();
    state.highlightPage = m_dragging ? m_dropPage : -1;
    state.draggedItem = m_dragging ? m_pressedItem : 0;
    state.focusPage = hasFocus() ? m_focusPage : -1;
    state.signature = m_signature;
    state.differentPages = m_differentPages.isEmpty() ? nullptr : &m_differentPages;
    state.differentItems = m_differentItems.isEmpty() ? nullptr : &m_differentItems;
    if (m_dragging && m_movingCount > 0) {
        state.highlightPage = -1;
        state.movingFirst = m_movingFirst;
        state.movingCount = m_movingCount;
        // Forward, the pages land after the page now at their last new number; backward, before
        // the page now at their first.
        if (m_dropTo > m_movingFirst)
            state.dropAfter = m_dropTo + m_movingCount - 1;
        else if (m_dropTo >= 0)
            state.dropBefore = m_dropTo;
    }
    for (std::size_t i = 0; i < m_spreads.size(); ++i)
        if (m_layout.spreads[i].intersects(bookArea))
            paintSpread(painter, m_layout.spreads[i], *m_map, m_spreads[i], state);
}

void frmPageMapView::paintAll(QPainter &painter) const
{
    painter.save();
    painter.scale(m_zoom, m_zoom);
    paintSpreads(painter, QRectF(QPointF(0, 0), m_layout.size));
    painter.restore();
}

void frmPageMapView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.scale(m_zoom, m_zoom);
    const QRectF visible(toBook(QPoint(0, 0)),
                         QSizeF(viewport()->width() / m_zoom, viewport()->height() / m_zoom));
    paintSpreads(painter, visible);
    painter.resetTransform();
    if (m_dragging) {
        // The product travelling with the pointer.
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        const QRect label = painter.fontMetrics()
                                .boundingRect(m_dragText)
                                .adjusted(-6, -3, 6, 3)
                                .translated(m_dragPoint + QPoint(14, 14));
        painter.setPen(QColor(0x00, 0x72, 0xB2));
        painter.setBrush(QColor(0xFF, 0xFF, 0xE6));
        painter.drawRect(label);
        painter.drawText(label, Qt::AlignCenter, m_dragText);
    }
}

void frmPageMapView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void frmPageMapView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        const int steps = event->angleDelta().y() / 120;
        if (steps != 0)
            zoomBy(steps);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

std::optional<std::pair<int, int>> frmPageMapView::pagesAt(const QPoint &viewportPoint) const
{
    const QPointF point = toBook(viewportPoint);
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        const QRectF &spread = m_layout.spreads[i];
        if (!spread.contains(point))
            continue;
        const catalog::Spread &pages = m_spreads[i];
        // The gutter: both pages of the spread, when it has two.
        constexpr double kGutter = 12;
        if (std::abs(point.x() - (spread.left() + kTileWidth)) < kGutter && pages.left &&
            pages.right && pages.left->present && pages.right->present)
            return std::pair(pages.left->page, 2);
        const double band = detail() == Detail::Full ? kHeaderHeight : kSketchHeaderHeight;
        if (point.y() > spread.top() + band)
            return std::nullopt;
        const auto page = pageAt(viewportPoint);
        if (page)
            return std::pair(*page, 1);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<int> frmPageMapView::pageDropAt(int first, int count,
                                              const QPoint &viewportPoint) const
{
    const std::optional<int> target = pageAt(viewportPoint);
    const std::vector<int> pages = pageNumbers();
    if (!target || pages.empty())
        return std::nullopt;
    int to = *target;
    if (count > 1) {
        // A spread lands on a spread: at its first page, as far as the book reaches.
        const QPointF point = toBook(viewportPoint);
        for (std::size_t i = 0; i < m_spreads.size(); ++i)
            if (m_layout.spreads[i].contains(point)) {
                const auto &side = m_spreads[i].left ? m_spreads[i].left : m_spreads[i].right;
                to = side->page;
            }
        to = std::clamp(to, pages.front(), pages.back() - count + 1);
    }
    if (to >= first && to < first + count)
        return std::nullopt;
    return to;
}

void frmPageMapView::keyPressEvent(QKeyEvent *event)
{
    if (m_map && !m_map->pages.empty() && !m_dragging) {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Menu:
            keyNavigation(event);
            return;
        default:
            break;
        }
    }
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
            zoomBy(1);
            return;
        }
        if (event->key() == Qt::Key_Minus) {
            zoomBy(-1);
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && m_dragging) {
        endDrag();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void frmPageMapView::keyNavigation(QKeyEvent *event)
{
    const std::vector<int> pages = pageNumbers();
    if (pages.empty())
        return;
    auto at = std::find(pages.begin(), pages.end(), m_focusPage);
    const int index = at == pages.end() ? 0 : int(at - pages.begin());
    const int last = int(pages.size()) - 1;
    // Up and down go a row of spreads.
    const int row = 2 * std::max(1, m_layout.perRow);
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -row;
        break;
    case Qt::Key_Down:
        step = row;
        break;
    case Qt::Key_Home:
        step = -index;
        break;
    case Qt::Key_End:
        step = last - index;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (at != pages.end())
            Q_EMIT pageOpenRequested(m_focusPage);
        return;
    case Qt::Key_Menu:
        if (at != pages.end())
            Q_EMIT pageMenuRequested(m_focusPage,
                                     viewport()->mapToGlobal(pageRect(m_focusPage).center()));
        return;
    }
    if (at == pages.end()) {
        setFocusPage(pages.front());
        scrollToPage(m_focusPage);
        return;
    }
    const int target = pages[std::size_t(std::clamp(index + step, 0, last))];
    if (target == m_focusPage)
        return;
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        // The focused page itself goes there; the focus follows it.
        const int from = m_focusPage;
        m_focusPage = target;
        Q_EMIT pagesMoveRequested(from, 1, target);
    } else {
        setFocusPage(target);
    }
    scrollToPage(m_focusPage);
}

void frmPageMapView::scrollToPage(int page)
{
    const QRect tile = pageRect(page);
    if (tile.isNull())
        return;
    const QRect view = viewport()->rect();
    if (tile.left() < 0 || tile.right() > view.right())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + tile.left() - 20);
    if (tile.top() < 0 || tile.bottom() > view.bottom())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + tile.top() - 20);
}

void frmPageMapView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_focusPage < 0 && m_map && !pageNumbers().empty())
        setFocusPage(pageNumbers().front());
    viewport()->update();
}

void frmPageMapView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (m_focusPage >= 0)
            Q_EMIT pageMenuRequested(m_focusPage,
                                     viewport()->mapToGlobal(pageRect(m_focusPage).center()));
        return;
    }
    const QPoint point = viewport()->mapFrom(this, event->pos());
    if (const auto page = pageAt(point)) {
        setFocusPage(*page);
        Q_EMIT pageMenuRequested(*page, event->globalPos());
    }
}

void frmPageMapView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        if (const auto page = pageAt(event->position().toPoint()))
            Q_EMIT pageOpenRequested(*page);
}

void frmPageMapView::mousePressEvent(QMouseEvent *event)
{
    endDrag();
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto page = pageAt(event->position().toPoint()))
        setFocusPage(*page);
    if (const auto pages = pagesAt(event->position().toPoint())) {
        m_movingFirst = pages->first;
        m_movingCount = pages->second;
        m_pressPoint = event->position().toPoint();
        return;
    }
    if (const auto item = placementAt(event->position().toPoint())) {
        m_pressedItem = *item;
        m_pressPoint = event->position().toPoint();
    }
}

void frmPageMapView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_movingCount > 0 && m_map) {
        if (!m_dragging) {
            if ((point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
                return;
            m_dragging = true;
            m_dragText = m_movingCount == 1 ? QStringLiteral("Page %1").arg(m_movingFirst)
                                            : QStringLiteral("Pages %1-%2")
                                                  .arg(m_movingFirst)
                                                  .arg(m_movingFirst + m_movingCount - 1);
            setCursor(Qt::ClosedHandCursor);
        }
        m_dragPoint = point;
        m_dropTo = pageDropAt(m_movingFirst, m_movingCount, point).value_or(-1);
        const QString where = m_movingCount == 1 ? QStringLiteral("Page %1").arg(m_movingFirst)
                                                 : QStringLiteral("Pages %1-%2")
                                                       .arg(m_movingFirst)
                                                       .arg(m_movingFirst + m_movingCount - 1);
        m_dragText = m_dropTo < 0
                         ? where
                         : where + QStringLiteral(" to %1").arg(m_dropTo) +
                               (m_movingCount == 1
                                    ? QString()
                                    : QStringLiteral("-%1").arg(m_dropTo + m_movingCount - 1));
        viewport()->update();
        return;
    }
    if (!m_pressedItem || !m_map)
        return;
    if (!m_dragging) {
        if ((point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragging = true;
        m_dragText.clear();
        for (const catalog::MapPage &page : m_map->pages)
            for (const catalog::MapPlacement &placement : page.placements)
                if (placement.itemId == m_pressedItem)
                    m_dragText = placement.productId;
        setCursor(Qt::ClosedHandCursor);
    }
    m_dragPoint = point;
    m_dropPage = pageAt(point).value_or(-1);
    viewport()->update();
}

void frmPageMapView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool dropped = m_dragging && event->button() == Qt::LeftButton;
    const qlonglong item = m_pressedItem;
    const std::optional<int> page = pageAt(event->position().toPoint());
    const int first = m_movingFirst;
    const int count = m_movingCount;
    const std::optional<int> to =
        count > 0 ? pageDropAt(first, count, event->position().toPoint()) : std::nullopt;
    endDrag();
    if (dropped && count > 0) {
        if (to) {
            m_focusPage = *to;
            Q_EMIT pagesMoveRequested(first, count, *to);
        }
        return;
    }
    if (dropped && page)
        Q_EMIT moveRequested(item, *page);
}

void frmPageMapView::endDrag()
{
    const bool wasDragging = m_dragging;
    m_pressedItem = 0;
    m_dragging = false;
    m_dropPage = -1;
    m_movingFirst = -1;
    m_movingCount = 0;
    m_dropTo = -1;
    unsetCursor();
    if (wasDragging)
        viewport()->update();
}
