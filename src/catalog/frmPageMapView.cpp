#include "catalog/frmPageMapView.h"

#include <QApplication>
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
        const SpreadLayout layout = layoutSpreads(m_spreads.size(), area.width() / zoom);
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
    m_layout = layoutSpreads(m_spreads.size(), viewport()->width() / m_zoom);
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

void frmPageMapView::keyPressEvent(QKeyEvent *event)
{
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

void frmPageMapView::mousePressEvent(QMouseEvent *event)
{
    endDrag();
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto item = placementAt(event->position().toPoint())) {
        m_pressedItem = *item;
        m_pressPoint = event->position().toPoint();
    }
}

void frmPageMapView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressedItem || !m_map)
        return;
    const QPoint point = event->position().toPoint();
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
    endDrag();
    if (dropped && page)
        Q_EMIT moveRequested(item, *page);
}

void frmPageMapView::endDrag()
{
    const bool wasDragging = m_dragging;
    m_pressedItem = 0;
    m_dragging = false;
    m_dropPage = -1;
    unsetCursor();
    if (wasDragging)
        viewport()->update();
}
