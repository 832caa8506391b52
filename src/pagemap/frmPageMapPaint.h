#pragma once

#include "pagemap/PageMap.h"

#include <QPointF>
#include <QRectF>
#include <QSet>

#include <optional>
#include <vector>

class QPainter;

// Drawing the page map's spreads, for the window and for its PDF alike. Everything is drawn in
// book units: a page tile is kTileWidth by kTileHeight; the painter's scale is the zoom.
namespace pagemap {

inline constexpr double kTileWidth = 200;
inline constexpr double kTileHeight = 270;
inline constexpr double kSpreadGap = 28; // between two spreads of a row
inline constexpr double kRowGap = 26;    // between rows of spreads
inline constexpr double kMargin = 16;
inline constexpr double kHeaderHeight = 20;
inline constexpr double kSketchHeaderHeight = 42;
inline constexpr double kLineHeight = 15;
inline constexpr double kFillBarHeight = 16;
inline constexpr double kForecastHeight = 14;

// How much a tile shows: at Full its products' lines with text; at Sketch (an overview, where
// text would be unreadable) grey strokes in their place.
enum class Detail { Sketch, Full };

// Where each spread of a book sits, in rows of as many spreads as fit a width.
struct SpreadLayout
{
    int perRow = 1;
    std::vector<QRectF> spreads; // one rectangle per spread, in book units
    QSizeF size;                 // the whole book with its margins
};
SpreadLayout layoutSpreads(std::size_t spreadCount, double widthInUnits);
// The tile of one side of a spread.
QRectF tileRect(const QRectF &spreadRect, bool left);

// How many of a page's products its tile draws at a detail, in position order; when they do not
// all fit, the last line says how many more there are instead.
int productsShown(const catalog::MapPage &page, Detail detail);
// One product's line as a tile lists it: ID, name (cut to fit) and price.
void paintProductLine(QPainter &painter, const QRectF &line, const catalog::MapPlacement &placement,
                      const QColor &colour);

struct PaintState
{
    Detail detail = Detail::Full;
    int highlightPage = -1;    // the drop target of a drag
    qlonglong draggedItem = 0; // the placement being dragged, drawn faded
    // Pages being dragged to another place, drawn faded; where they will go, a bar at the left
    // edge of one page's tile or at the right edge of another's.
    int movingFirst = -1;
    int movingCount = 0;
    int dropBefore = -1;
    int dropAfter = -1;
    int focusPage = -1; // the keyboard's focus frame
    // Pages per signature, banded under the tiles; 0 draws no bands.
    int signature = 0;
    // A comparison with another map: pages that differ, and the placements that make them differ.
    const QSet<int> *differentPages = nullptr;
    const QSet<qlonglong> *differentItems = nullptr;
};

void paintSpread(QPainter &painter, const QRectF &spreadRect, const catalog::PageMap &map,
                 const catalog::Spread &spread, const PaintState &state);

// The placement drawn at a point of a tile (book units), if any.
std::optional<qlonglong> placementAt(const QRectF &tile, const catalog::MapPage &page,
                                     const QPointF &point, Detail detail = Detail::Full);
// What hovering a point of a tile tells: at Full detail, a product's whole line on its line and
// the products not drawn on the "+ N more" line; in a sketch, every product of the page. Empty
// where there is nothing more to tell.
QString toolTipAt(const QRectF &tile, const catalog::MapPage &page, const QPointF &point,
                  Detail detail);
// The text of a product's line, and of a page's heading in a list of products.
QString productText(const catalog::MapPlacement &placement);
QString pageHeading(const catalog::MapPage &page);
// What a screen reader says of a page: "Page 12, Fiction, 4 products, 100 % filled".
QString accessibleName(const catalog::MapPage &page);

// The summary strip's text.
QString summaryText(const catalog::PageMapSummary &summary);
// "$1,234.00".
QString moneyText(double amount);

} // namespace pagemap
