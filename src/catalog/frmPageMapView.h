#pragma once

#include "catalog/PageMap.h"
#include "catalog/frmPageMapPaint.h"

#include <QAbstractScrollArea>

// The spreads of a page map, zoomable from the whole book to two facing pages, on which a
// product is dragged from one page to another. The view only asks for the move (moveRequested);
// the window makes it.
class frmPageMapView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit frmPageMapView(QWidget *parent = nullptr);

    // A new map keeps the zoom and, as far as it can, the place in the book.
    void setPageMap(const catalog::PageMap *map);

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void zoomBy(int steps);
    // The zoom at which the whole book fits the view, and the one at which one spread fills it.
    double wholeBookZoom() const;
    double twoPageZoom() const;
    void showWholeBook() { setZoom(wholeBookZoom()); }
    // Two facing pages across the view, the spread of that page at the top.
    void showTwoPages(int page = 1);

    // Where the tile of a page is in the view (viewport coordinates); empty when it has none.
    QRect pageRect(int page) const;
    // The placement drawn at a point of the viewport.
    std::optional<qlonglong> placementAt(const QPoint &viewportPoint) const;
    // The page drawn at a point of the viewport (present pages only).
    std::optional<int> pageAt(const QPoint &viewportPoint) const;
    // What hovering a point of the viewport shows (pagemap::toolTipAt), as plain text.
    QString toolTipAt(const QPoint &viewportPoint) const;

    // Paints the whole book at the current zoom onto a device (the repaint benchmark).
    void paintAll(QPainter &painter) const;

Q_SIGNALS:
    void moveRequested(qlonglong itemId, int toPage);
    void zoomChanged(double zoom);

protected:
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void relayout();
    // Full text where it is readable at the zoom, a sketch below that.
    pagemap::Detail detail() const;
    QPointF toBook(const QPoint &viewportPoint) const;
    // The tile of a present page at a point of the viewport, with its page.
    std::optional<std::pair<QRectF, const catalog::MapPage *>>
    tileAt(const QPoint &viewportPoint) const;
    void paintSpreads(QPainter &painter, const QRectF &bookArea) const;
    void endDrag();

    const catalog::PageMap *m_map = nullptr;
    std::vector<catalog::Spread> m_spreads;
    pagemap::SpreadLayout m_layout;
    double m_zoom = 1.0;

    qlonglong m_pressedItem = 0;
    QPoint m_pressPoint;
    bool m_dragging = false;
    int m_dropPage = -1;
    QPoint m_dragPoint;
    QString m_dragText;
};
