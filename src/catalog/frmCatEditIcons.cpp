// The five pictures of the catalog editor's tree, drawn rather than loaded, so they are sharp at
// any scale and need no files: a shelf of catalogs, a catalog, a page, a tray of inserts, an
// insert.
#include "catalog/frmCatEditTreeModel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

using catalog::CatalogTree;

namespace {

constexpr int kSize = 16;

QColor ink() { return QColor(0x33, 0x33, 0x33); }

void drawBook(QPainter &p, const QRectF &r, const QColor &cover)
{
    p.setPen(QPen(ink(), 1));
    p.setBrush(cover);
    p.drawRect(r);
    p.setPen(QPen(cover.lighter(160), 1));
    p.drawLine(QPointF(r.left() + 2.5, r.top() + 1.5), QPointF(r.left() + 2.5, r.bottom() - 1));
}

void drawPage(QPainter &p, const QRectF &r, const QColor &paper, bool lines)
{
    const qreal fold = 4;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(ink(), 1));
    p.setBrush(paper);
    p.drawPath(sheet);
    p.drawPolyline(
        QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                   QPointF(r.right(), r.top() + fold)}));
    if (lines) {
        p.setPen(QPen(QColor(0x6a, 0x8c, 0xc8), 1));
        for (qreal y = r.top() + 6; y < r.bottom() - 1; y += 2.5)
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

// A folder; with withTab false, an open box that what stands in it shows above.
void drawTray(QPainter &p, const QColor &colour, bool withTab = true)
{
    p.setPen(QPen(ink(), 1));
    if (withTab) {
        p.setBrush(colour.darker(115));
        p.drawRect(QRectF(1.5, 3.5, 6, 2));
        p.setBrush(colour);
        p.drawRect(QRectF(1.5, 5.5, 13, 8.5));
    } else {
        p.setBrush(colour);
        p.drawRect(QRectF(1.5, 8.5, 13, 5.5));
    }
}

} // namespace

QIcon catalogTreeIcon(int image)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (image) {
    case CatalogTree::CatalogsRootImage:
        drawBook(p, QRectF(2.5, 0.5, 4, 10), QColor(0xb0, 0x3a, 0x2e));
        drawBook(p, QRectF(6.5, 2.5, 4, 8), QColor(0x2e, 0x6b, 0xb0));
        drawBook(p, QRectF(10.5, 1.5, 3, 9), QColor(0x3a, 0x8c, 0x4e));
        drawTray(p, QColor(0xe8, 0xc0, 0x5a), false);
        break;
    case CatalogTree::CatalogTestImage:
        drawBook(p, QRectF(2.5, 1.5, 11, 13), QColor(0xb0, 0x3a, 0x2e));
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(7, 5.5), QPointF(11.5, 5.5));
        p.drawLine(QPointF(7, 8.5), QPointF(11.5, 8.5));
        break;
    case CatalogTree::PageImage:
        drawPage(p, QRectF(3.5, 1.5, 9, 13), Qt::white, true);
        break;
    case CatalogTree::InsertsRootImage:
        drawTray(p, QColor(0x8c, 0xb8, 0x6a));
        break;
    case CatalogTree::InsertImage:
        drawPage(p, QRectF(5.5, 1.5, 8, 11), QColor(0xf4, 0xe6, 0x9c), false);
        drawPage(p, QRectF(2.5, 3.5, 8, 11), QColor(0xf4, 0xe6, 0x9c), true);
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pixmap);
}
