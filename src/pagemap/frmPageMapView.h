#pragma once

#include "pagemap/PageMap.h"
#include "pagemap/frmPageMapPaint.h"

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

    // Where pages dragged from `first` on would go when dropped at a point: the number the first
    // of them would take; nothing off the pages or where they would stay.
    std::optional<int> pageDropAt(int first, int count, const QPoint &viewportPoint) const;
    // The pages a press at a point would drag: the page of a tile's number band, or both pages of
    // a spread at its gutter (first page and count).
    std::optional<std::pair<int, int>> pagesAt(const QPoint &viewportPoint) const;

    const catalog::PageMap *pageMap() const { return m_map; }
    // Whether the mouse holds a placement or pages, dragged or about to be.
    bool pressed() const { return m_pressedItem != 0 || m_movingCount > 0 || m_dragging; }
    // The pages the map has, in order: the view's items for a screen reader.
    std::vector<int> pageNumbers() const;

    // The page the keyboard is on (its focus frame), -1 for none.
    int focusPage() const { return m_focusPage; }
    void setFocusPage(int page);
    // Pages per signature banded under the tiles, 0 for none.
    void setSignatureBands(int size);
    // All spreads in one row, for two maps shown page against page.
    void setSingleRow(bool single);
    // Pages and placements marked as different from another map.
    void setDifferences(const QSet<int> &pages, const QSet<qlonglong> &items);

Q_SIGNALS:
    void moveRequested(qlonglong itemId, int toPage);
    void pagesMoveRequested(int first, int count, int to);
    void pageMenuRequested(int page, const QPoint &globalPos);
    void pageOpenRequested(int page);
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
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

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
    void keyNavigation(QKeyEvent *event);
    void scrollToPage(int page);
    // Screen readers see the tiles as the items of a list (frmPageMapAccessible.cpp).
    static void installAccessibility();
    int accessibleIndexOf(int page) const;

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

    // A drag of pages: the first and how many; where they would go.
    int m_movingFirst = -1;
    int m_movingCount = 0;
    int m_dropTo = -1;
    int m_focusPage = -1;
    int m_signature = 0;
    bool m_singleRow = false;
    QSet<int> m_differentPages;
    QSet<qlonglong> m_differentItems;
};
