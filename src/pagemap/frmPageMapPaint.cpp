#include "pagemap/frmPageMapPaint.h"

#include "shell/TextColour.h"
#include "warehouse/Vb.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

using catalog::MapPage;
using catalog::MapPlacement;
using catalog::PageMap;

namespace pagemap {

namespace {

// Text drawn smaller than this on the device is only noise.
constexpr double kSmallestReadablePixels = 6;

QColor rgb(std::uint32_t colour) { return QColor::fromRgb(QRgb(0xFF000000u | colour)); }

QFont font(double pixelSize, bool bold = false)
{
    QFont f;
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    f.setBold(bold);
    return f;
}

// Text on a section colour: black on the light colours, white on the dark ones.
// A hairline at every zoom: cheaper to draw than a scaled pen, and still visible in an overview.
QPen outline(const QColor &colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, 1, style);
    pen.setCosmetic(true);
    return pen;
}

double firstLineTop(const QRectF &tile, Detail detail = Detail::Full)
{
    return tile.top() + (detail == Detail::Full ? kHeaderHeight + 4 : kSketchHeaderHeight + 6);
}

double footerTop(const QRectF &tile)
{
    return tile.bottom() - kFillBarHeight - kForecastHeight - 4;
}

void paintGap(QPainter &painter, const QRectF &tile, int number, Detail detail)
{
    painter.setPen(outline(QColor(0x99, 0x99, 0x99), Qt::DashLine));
    painter.setBrush(QColor(0xF4, 0xF4, 0xF4));
    painter.drawRect(tile.adjusted(2, 2, -2, -2));
    painter.setPen(QColor(0x77, 0x77, 0x77));
    painter.setFont(font(detail == Detail::Full ? 16 : 30, true));
    painter.drawText(tile, Qt::AlignCenter,
                     detail == Detail::Full ? QStringLiteral("%1\nno page").arg(number)
                                            : QString::number(number));
}

// What lies over a tile: a comparison's mark, a moving page's veil, the drop bar, the focus.
void paintMarks(QPainter &painter, const QRectF &tile, int number, const PaintState &state)
{
    if (state.differentPages && state.differentPages->contains(number)) {
        painter.setPen(QPen(QColor(0xD5, 0x5E, 0x00), 5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(tile.adjusted(2.5, 2.5, -2.5, -2.5));
    }
    if (number >= state.movingFirst && number < state.movingFirst + state.movingCount)
        painter.fillRect(tile, QColor(0x80, 0x80, 0x80, 110));
    const auto bar = [&](double x) {
        painter.fillRect(QRectF(x - 4, tile.top() - 8, 8, tile.height() + 16),
                         QColor(0x00, 0x72, 0xB2));
    };
    if (number == state.dropBefore)
        bar(tile.left());
    if (number == state.dropAfter)
        bar(tile.right());
    if (number == state.focusPage) {
        QPen pen(QColor(0x00, 0x00, 0x00), 3, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(tile.adjusted(-5, -5, 5, 5));
    }
}

// A band under the tile in its signature's tint, named on the signature's first page.
void paintSignatureBand(QPainter &painter, const QRectF &tile, int number, int size)
{
    if (size <= 0 || number < 1)
        return;
    const int signature = (number - 1) / size;
    const QRectF band(tile.left(), tile.bottom() + 4, tile.width(), 14);
    painter.fillRect(band,
                     signature % 2 == 0 ? QColor(0x56, 0xB4, 0xE9) : QColor(0xCC, 0x79, 0xA7));
    if ((number - 1) % size == 0 &&
        10 * painter.worldTransform().m11() >= kSmallestReadablePixels) {
        painter.setFont(font(10, true));
        painter.setPen(Qt::black);
        painter.drawText(band.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         QStringLiteral("Signature %1").arg(signature + 1));
    }
}

void paintPage(QPainter &painter, const QRectF &tile, const PageMap &map, const MapPage &page,
               const PaintState &state)
{
    if (state.highlightPage == page.number)
        painter.setPen(QPen(QColor(0x00, 0x72, 0xB2), 4));
    else
        painter.setPen(outline(QColor(0x55, 0x55, 0x55)));
    painter.setBrush(state.highlightPage == page.number ? QColor(0xE3, 0xF1, 0xFB) : Qt::white);
    painter.drawRect(tile);

    // Header: the section's colour with the page number and section.
    const QColor band = page.stored ? rgb(catalog::sectionColour(map.sectionIndex(page.section)))
                                    : rgb(catalog::kNoSectionColour);
    // In a sketch the band is taller, to carry the page number large enough to read from afar.
    const QRectF header(tile.left(), tile.top(), tile.width(),
                        state.detail == Detail::Full ? kHeaderHeight : kSketchHeaderHeight);
    painter.fillRect(header.adjusted(0.5, 0.5, -0.5, 0), band);
    painter.setPen(textColourOn(band));
    if (state.detail == Detail::Full) {
        painter.setFont(font(13, true));
        painter.drawText(header.adjusted(5, 0, -5, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::number(page.number));
        painter.setFont(font(11));
        const QString section = page.stored ? page.section : QStringLiteral("(no page row)");
        painter.drawText(
            header.adjusted(40, 0, -5, 0), Qt::AlignVCenter | Qt::AlignRight,
            QFontMetricsF(painter.font()).elidedText(section, Qt::ElideRight, header.width() - 45));
    }

    // Products in position order.
    const int count = int(page.placements.size());
    const int shown = productsShown(page, state.detail);
    double y = firstLineTop(tile, state.detail);
    const QRectF more(tile.left() + 5, y + shown * kLineHeight, tile.width() - 10, kLineHeight);
    if (state.detail == Detail::Full) {
        for (int i = 0; i < shown; ++i, y += kLineHeight) {
            const MapPlacement &placement = page.placements[std::size_t(i)];
            const QRectF line(tile.left() + 5, y, tile.width() - 10, kLineHeight);
            if (state.differentItems && state.differentItems->contains(placement.itemId))
                painter.fillRect(line.adjusted(-3, 0, 3, 0), QColor(0xFF, 0xE0, 0x66));
            paintProductLine(painter, line, placement,
                             placement.itemId == state.draggedItem ? QColor(0xAA, 0xAA, 0xAA)
                                                                   : QColor(Qt::black));
        }
        if (count > shown) {
            painter.setFont(font(10));
            painter.setPen(QColor(0x55, 0x55, 0x55));
            painter.drawText(more, Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("+ %1 more").arg(count - shown));
        }
    } else {
        // A stroke per product, its length the product's share of the page.
        for (int i = 0; i < shown; ++i, y += kLineHeight) {
            const MapPlacement &placement = page.placements[std::size_t(i)];
            const double share = std::clamp(placement.weight / 100.0, 0.08, 1.0);
            const bool different =
                state.differentItems && state.differentItems->contains(placement.itemId);
            painter.fillRect(
                QRectF(tile.left() + 8, y + 3, (tile.width() - 16) * share, kLineHeight - 6),
                placement.itemId == state.draggedItem ? QColor(0xDD, 0xDD, 0xDD)
                : different                           ? QColor(0xE6, 0x9F, 0x00)
                                                      : QColor(0x88, 0x88, 0x88));
        }
        // The strokes that did not fit, counted where the eye can still read a count.
        constexpr double kMoreSize = 13;
        if (count > shown &&
            kMoreSize * painter.worldTransform().m11() >= kSmallestReadablePixels) {
            painter.setFont(font(kMoreSize, true));
            painter.setPen(QColor(0x55, 0x55, 0x55));
            painter.drawText(more.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             QStringLiteral("+%1").arg(count - shown));
        }
    }

    // Forecast sales and the fill bar.
    const double weight = page.weight();
    const catalog::Fill fill = catalog::fillOf(weight);
    const QRectF bar(tile.left() + 4, tile.bottom() - kFillBarHeight - 3, tile.width() - 8,
                     kFillBarHeight);
    if (state.detail == Detail::Full) {
        if (const auto forecast = page.forecast()) {
            painter.setFont(font(10));
            painter.setPen(QColor(0x33, 0x33, 0x33));
            painter.drawText(
                QRectF(tile.left() + 5, footerTop(tile), tile.width() - 10, kForecastHeight),
                Qt::AlignVCenter | Qt::AlignRight,
                QStringLiteral("Forecast ") + moneyText(*forecast));
        }
    }
    painter.setPen(outline(QColor(0x88, 0x88, 0x88)));
    painter.setBrush(QColor(0xFA, 0xFA, 0xF7));
    painter.drawRect(bar);
    const double share = std::clamp(weight / 100.0, 0.0, 1.0);
    painter.fillRect(QRectF(bar.left(), bar.top(), bar.width() * share, bar.height()),
                     rgb(catalog::fillColour(fill)));
    const double figureSize = state.detail == Detail::Full ? 11 : 14;
    // Too small to read in a far overview, where the bar's colour tells the fill alone.
    if (figureSize * painter.worldTransform().m11() >= kSmallestReadablePixels) {
        painter.setFont(font(figureSize, fill != catalog::Fill::Under));
        painter.setPen(fill == catalog::Fill::Under ? QColor(0x33, 0x33, 0x33) : Qt::white);
        painter.drawText(bar.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight,
                         catalog::fillText(weight));
    }
    if (state.detail == Detail::Sketch) {
        painter.setFont(font(kSketchHeaderHeight - 6, true));
        painter.setPen(textColourOn(band));
        painter.drawText(header, Qt::AlignCenter, QString::number(page.number));
    }
    paintMarks(painter, tile, page.number, state);
}

} // namespace

SpreadLayout layoutSpreads(std::size_t spreadCount, double widthInUnits)
{
    SpreadLayout layout;
    const double spreadWidth = 2 * kTileWidth;
    layout.perRow =
        std::max(1, int((widthInUnits - 2 * kMargin + kSpreadGap) / (spreadWidth + kSpreadGap)));
    layout.spreads.reserve(spreadCount);
    for (std::size_t i = 0; i < spreadCount; ++i) {
        const int row = int(i) / layout.perRow;
        const int column = int(i) % layout.perRow;
        layout.spreads.emplace_back(kMargin + column * (spreadWidth + kSpreadGap),
                                    kMargin + row * (kTileHeight + kRowGap), spreadWidth,
                                    kTileHeight);
    }
    const int rows = spreadCount == 0 ? 0 : (int(spreadCount) - 1) / layout.perRow + 1;
    const int columns = std::min<int>(layout.perRow, int(spreadCount));
    layout.size =
        QSizeF(2 * kMargin + columns * spreadWidth + std::max(0, columns - 1) * kSpreadGap,
               2 * kMargin + rows * kTileHeight + std::max(0, rows - 1) * kRowGap);
    return layout;
}

QRectF tileRect(const QRectF &spreadRect, bool left)
{
    return QRectF(left ? spreadRect.left() : spreadRect.left() + kTileWidth, spreadRect.top(),
                  kTileWidth, kTileHeight);
}

int productsShown(const MapPage &page, Detail detail)
{
    const QRectF tile(0, 0, kTileWidth, kTileHeight);
    const int lines = int((footerTop(tile) - firstLineTop(tile, detail)) / kLineHeight);
    const int count = int(page.placements.size());
    return count > lines ? lines - 1 : count;
}

void paintProductLine(QPainter &painter, const QRectF &line, const MapPlacement &placement,
                      const QColor &colour)
{
    const QFont nameFont = font(10);
    const QFontMetricsF nameMetrics(nameFont);
    painter.setPen(colour);
    painter.setFont(font(10, true));
    painter.drawText(line, Qt::AlignVCenter | Qt::AlignLeft, placement.productId);
    const QString price = placement.price ? moneyText(*placement.price) : QStringLiteral("-");
    painter.setFont(nameFont);
    painter.drawText(line, Qt::AlignVCenter | Qt::AlignRight, price);
    const double nameLeft = 62;
    const double nameWidth = line.width() - nameLeft - nameMetrics.horizontalAdvance(price) - 6;
    painter.drawText(QRectF(line.left() + nameLeft, line.top(), nameWidth, line.height()),
                     Qt::AlignVCenter | Qt::AlignLeft,
                     nameMetrics.elidedText(placement.productName, Qt::ElideRight, nameWidth));
}

void paintSpread(QPainter &painter, const QRectF &spreadRect, const PageMap &map,
                 const catalog::Spread &spread, const PaintState &state)
{
    for (const bool left : {true, false}) {
        const auto &side = left ? spread.left : spread.right;
        if (!side)
            continue;
        const QRectF tile = tileRect(spreadRect, left);
        if (const MapPage *page = side->present ? map.page(side->page) : nullptr)
            paintPage(painter, tile, map, *page, state);
        else
            paintGap(painter, tile, side->page, state.detail);
        paintSignatureBand(painter, tile, side->page, state.signature);
    }
    // The spine.
    if (spread.left && spread.right) {
        painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 2));
        painter.drawLine(QPointF(spreadRect.left() + kTileWidth, spreadRect.top()),
                         QPointF(spreadRect.left() + kTileWidth, spreadRect.bottom()));
    }
}

std::optional<qlonglong> placementAt(const QRectF &tile, const MapPage &page, const QPointF &point,
                                     Detail detail)
{
    if (!tile.contains(point) || point.y() < firstLineTop(tile, detail))
        return std::nullopt;
    const int line = int((point.y() - firstLineTop(tile, detail)) / kLineHeight);
    if (line >= productsShown(page, detail))
        return std::nullopt;
    return page.placements[std::size_t(line)].itemId;
}

QString productText(const MapPlacement &placement)
{
    return placement.productId + QStringLiteral("  ") + placement.productName +
           QStringLiteral("  ") +
           (placement.price ? moneyText(*placement.price) : QStringLiteral("-"));
}

QString pageHeading(const MapPage &page)
{
    return QStringLiteral("Page %1").arg(page.number) +
           (page.section.isEmpty() ? QString() : QStringLiteral(" - ") + page.section);
}

QString accessibleName(const MapPage &page)
{
    const int products = int(page.placements.size());
    return QStringLiteral("Page %1, %2, %3 %4, %5 % filled")
        .arg(page.number)
        .arg(page.section.isEmpty() ? QStringLiteral("no section") : page.section)
        .arg(products)
        .arg(products == 1 ? QStringLiteral("product") : QStringLiteral("products"))
        .arg(catalog::fillText(page.weight()));
}

QString toolTipAt(const QRectF &tile, const MapPage &page, const QPointF &point, Detail detail)
{
    if (!tile.contains(point) || page.placements.empty())
        return {};
    const int shown = productsShown(page, detail);
    int from = 0;
    if (detail == Detail::Full) {
        if (point.y() < firstLineTop(tile, detail))
            return {};
        const int line = int((point.y() - firstLineTop(tile, detail)) / kLineHeight);
        if (line < shown)
            return productText(page.placements[std::size_t(line)]);
        if (line > shown || shown == int(page.placements.size()))
            return {};
        from = shown;
    }
    QStringList lines{pageHeading(page)};
    for (std::size_t i = std::size_t(from); i < page.placements.size(); ++i)
        lines << productText(page.placements[i]);
    return lines.join(QLatin1Char('\n'));
}

QString moneyText(double amount) { return vb::Format(amount, QStringLiteral("$#,##0.00")); }

QString summaryText(const catalog::PageMapSummary &summary)
{
    const auto count = [](int n) {
        return vb::Format(n, QStringLiteral("#,##0"));
    };
    return QStringLiteral("Pages: %1   Placements: %2   Products placed twice: %3   "
                          "At 100: %4   Under-filled: %5   Over-filled: %6   "
                          "Forecast sales: %7")
        .arg(count(summary.pages), count(summary.placements), count(summary.productsPlacedTwice),
             count(summary.full), count(summary.under), count(summary.over),
             summary.forecast ? moneyText(*summary.forecast) : QStringLiteral("none"));
}

} // namespace pagemap
