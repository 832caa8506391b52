#include "pagemap/PageMap.h"

#include "catalog/MapRows.h"
#include "catalog/ProductGrids.h"

#include "warehouse/Query.h"
#include "warehouse/Transaction.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace catalog {

// ---- Spreads

std::vector<Spread> spreadsOf(const std::vector<int> &pageNumbers)
{
    std::set<int> pages;
    for (int page : pageNumbers)
        if (page >= 0)
            pages.insert(page);
    std::vector<Spread> spreads;
    if (pages.empty())
        return spreads;
    // Page p stands in spread p / 2: even pages on the left, odd ones on the right. Every number
    // from 1 to the last page has its slot, present or not; page 0 only when the map has it.
    const int last = *pages.rbegin();
    const int first = std::min(1, *pages.begin());
    const auto side = [&](int page) -> std::optional<SpreadSide> {
        if (page > last || (page < 1 && !pages.count(page)))
            return std::nullopt;
        return SpreadSide{page, pages.count(page) > 0};
    };
    for (int spread = first / 2; spread <= last / 2; ++spread)
        spreads.push_back(Spread{side(spread * 2), side(spread * 2 + 1)});
    return spreads;
}

// ---- Page fill

namespace {

long long cents(double weight) { return std::llround(weight * 100.0); }

} // namespace

Fill fillOf(double weight)
{
    constexpr long long kFull = 10000;
    constexpr long long kTolerance = 50;
    const long long filled = cents(weight);
    if (filled < kFull - kTolerance)
        return Fill::Under;
    return filled <= kFull + kTolerance ? Fill::Full : Fill::Over;
}

QString fillText(double weight)
{
    return QString::number(double(cents(weight)) / 100.0, 'f', QLocale::FloatingPointShortest);
}

std::uint32_t fillColour(Fill fill)
{
    switch (fill) {
    case Fill::Under:
        return 0xE8E4D8; // pale: room left
    case Fill::Full:
        return 0x2E9E4F; // green
    case Fill::Over:
        return 0xD7301F; // red
    }
    return 0xE8E4D8;
}

std::uint32_t sectionColour(int sectionIndex)
{
    // Okabe and Ito's palette, which readers with any common colour-vision deficiency tell apart;
    // black left out, since it would hide the tile's text. Beyond seven sections the colours come
    // again in a lighter tint, then in a darker shade, so 21 sections all differ.
    static constexpr std::uint32_t palette[] = {0xE69F00, 0x56B4E9, 0x009E73, 0xF0E442,
                                                0x0072B2, 0xD55E00, 0xCC79A7};
    constexpr int size = int(std::size(palette));
    if (sectionIndex < 0)
        return kNoSectionColour;
    const std::uint32_t colour = palette[sectionIndex % size];
    const int tier = (sectionIndex / size) % 3;
    if (tier == 0)
        return colour;
    std::uint32_t changed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t channel = (colour >> shift) & 0xFF;
        changed |= (tier == 1 ? (channel + 0xFF) / 2 : channel * 3 / 5) << shift;
    }
    return changed;
}

// ---- The map

double MapPage::weight() const
{
    double sum = 0;
    for (const MapPlacement &placement : placements)
        sum += placement.weight;
    return sum;
}

std::optional<double> MapPage::forecast() const
{
    std::optional<double> sum;
    for (const MapPlacement &placement : placements)
        if (placement.forecast)
            sum = sum.value_or(0) + *placement.forecast;
    return sum;
}

const MapPage *PageMap::page(int number) const
{
    const auto found =
        std::lower_bound(pages.begin(), pages.end(), number,
                         [](const MapPage &page, int wanted) { return page.number < wanted; });
    return found != pages.end() && found->number == number ? &*found : nullptr;
}

const MapPage *PageMap::pageOfPlacement(qlonglong itemId) const
{
    for (const MapPage &page : pages)
        for (const MapPlacement &placement : page.placements)
            if (placement.itemId == itemId)
                return &page;
    return nullptr;
}

std::vector<Spread> PageMap::spreads() const
{
    std::vector<int> numbers;
    numbers.reserve(pages.size());
    for (const MapPage &page : pages)
        numbers.push_back(page.number);
    return spreadsOf(numbers);
}

PageMapSummary PageMap::summary() const
{
    PageMapSummary summary;
    // Sorted rather than hashed: a QHash of a book's 2,000 products took a millisecond, ten times
    // as long, and the summary is made again after every change.
    std::vector<QString> products;
    for (const MapPage &page : pages) {
        if (page.stored)
            ++summary.pages;
        summary.placements += int(page.placements.size());
        for (const MapPlacement &placement : page.placements)
            products.push_back(placement.productId.toUpper());
        switch (fillOf(page.weight())) {
        case Fill::Under:
            ++summary.under;
            break;
        case Fill::Full:
            ++summary.full;
            break;
        case Fill::Over:
            ++summary.over;
            break;
        }
        if (const auto forecast = page.forecast())
            summary.forecast = summary.forecast.value_or(0) + *forecast;
    }
    std::sort(products.begin(), products.end());
    for (auto run = products.begin(); run != products.end();) {
        const auto next = std::find_if(run, products.end(),
                                       [run](const QString &product) { return product != *run; });
        if (next - run > 1)
            ++summary.productsPlacedTwice;
        run = next;
    }
    return summary;
}

int PageMap::extent() const
{
    int first = 1;
    int last = 0;
    for (const MapPage &page : pages)
        if (page.stored && page.number >= 0) {
            first = std::min(first, page.number);
            last = std::max(last, page.number);
        }
    return last >= first ? last - first + 1 : 0;
}

void PageMap::listSections()
{
    sections.clear();
    for (const MapPage &page : pages)
        if (page.stored && !sections.contains(page.section))
            sections << page.section;
}

// ---- Signatures

SignatureFit signatureFit(int pages, int size)
{
    SignatureFit fit;
    fit.pages = pages;
    fit.size = size > 0 ? size : 4;
    fit.signatures = pages / fit.size;
    fit.extra = pages % fit.size;
    fit.missing = fit.extra == 0 ? 0 : fit.size - fit.extra;
    return fit;
}

QString signatureText(const SignatureFit &fit)
{
    const auto signatures = [&](int n) {
        return QStringLiteral("%1 signature%2 of %3")
            .arg(n)
            .arg(n == 1 ? QString() : QStringLiteral("s"))
            .arg(fit.size);
    };
    const QString pages = QStringLiteral("%1 pages: ").arg(fit.pages);
    if (fit.fits())
        return pages + signatures(fit.signatures);
    QString text =
        pages + QStringLiteral("%1 missing for ").arg(fit.missing) + signatures(fit.signatures + 1);
    if (fit.signatures > 0)
        text +=
            QStringLiteral(", or %1 extra over %2").arg(fit.extra).arg(signatures(fit.signatures));
    return text;
}

// ---- Comparing two maps

QString PageDifference::reason() const
{
    QStringList reasons;
    if (missing)
        reasons << QStringLiteral("on one map only");
    if (section)
        reasons << QStringLiteral("section");
    if (products)
        reasons << QStringLiteral("products");
    if (positions)
        reasons << QStringLiteral("positions");
    return reasons.join(QStringLiteral(", "));
}

MapComparison compareMaps(const PageMap &ours, const PageMap &theirs)
{
    MapComparison comparison;
    std::set<int> numbers;
    for (const PageMap *map : {&ours, &theirs})
        for (const MapPage &page : map->pages)
            numbers.insert(page.number);
    const auto positions = [](const MapPage *page) {
        // Product (as the key compares it) to its positions on the page.
        QHash<QString, QList<int>> found;
        if (page)
            for (const MapPlacement &placement : page->placements)
                found[placement.productId.toUpper()] << placement.position;
        return found;
    };
    for (const int number : numbers) {
        const MapPage *a = ours.page(number);
        const MapPage *b = theirs.page(number);
        PageDifference difference;
        difference.missing = !a || !b || a->stored != b->stored;
        difference.section = a && b && a->section != b->section;
        const auto onA = positions(a);
        const auto onB = positions(b);
        const auto mark = [&](const MapPage *page, const QHash<QString, QList<int>> &other,
                              QSet<qlonglong> &items) {
            if (!page)
                return;
            for (const MapPlacement &placement : page->placements) {
                const auto there = other.constFind(placement.productId.toUpper());
                if (there == other.constEnd()) {
                    difference.products = true;
                    items.insert(placement.itemId);
                } else if (!there->contains(placement.position)) {
                    difference.positions = true;
                    items.insert(placement.itemId);
                }
            }
        };
        mark(a, onB, comparison.ours);
        mark(b, onA, comparison.theirs);
        if (difference.missing || difference.section || difference.products || difference.positions)
            comparison.pages[number] = difference;
    }
    return comparison;
}

QStringList otherVersions(const NodeKey &map)
{
    QStringList keys;
    if (!map.isCatalog())
        return keys;
    Query query(QStringLiteral("SELECT DISTINCT TestID FROM tblCatalogMap WHERE ClubID = ? AND "
                               "CatalogID = ? ORDER BY TestID"));
    query.bind(map.clubId()).bind(map.catalogId()).exec();
    while (query.next())
        if (query.text(0).compare(map.testId(), Qt::CaseInsensitive) != 0)
            keys << NodeKey::catalogTestKey(map.clubId(), map.catalogId(), query.text(0));
    return keys;
}

QString mapKeyOf(const NodeKey &key)
{
    if (key.isCatalog())
        return NodeKey::catalogTestKey(key.clubId(), key.catalogId(), key.testId());
    if (key.isInsert())
        return NodeKey::insertKey(key.insertId());
    return QString();
}

namespace {

// The map's pages and placements, or those of one page.
PageMap readMap(const NodeKey &key, std::optional<int> only)
{
    PageMap map;
    map.map = NodeKey(mapKeyOf(key));
    if (!key.isCatalog() && !key.isInsert())
        return map;
    const QString onePage = only ? QStringLiteral(" AND PageNum = ?") : QString();

    std::map<int, MapPage> pages;
    const MapRows pageRows = MapRows::pagesOf(key);
    {
        Query query(QStringLiteral("SELECT PageNum, PageSection") +
                    (key.isInsert() ? QStringLiteral(", InsertDescription") : QString()) +
                    QStringLiteral(" FROM ") + pageRows.table() + QStringLiteral(" WHERE ") +
                    pageRows.where() + onePage + QStringLiteral(" ORDER BY PageNum"));
        pageRows.bindTo(query);
        if (only)
            query.bind(*only);
        query.exec();
        while (query.next()) {
            MapPage &page = pages[query.value(0).toInt()];
            page.number = query.value(0).toInt();
            page.section = query.text(1);
            if (key.isInsert() && map.caption.isEmpty())
                map.caption = query.text(2);
        }
    }
    if (key.isCatalog())
        map.caption = catalogTestText(key.catalogId(), key.testId());

    // A product's forecast is summed over its recommendation rows for the map's catalog (the
    // insert's ID for an insert), as the editor's recommendation list finds them.
    const MapRows placements = MapRows::placementsOf(key, true);
    QString sql = QStringLiteral(
        "SELECT tblProductsMap.ItemID, tblProductsMap.ProductID, tblInvMaster.ProductName, "
        "tblProductsMap.Price, tblProductsMap.PagePosition, tblProductsMap.PageWeight, "
        "tblProductsMap.PageNum, Forecasts.FcstSales FROM tblProductsMap LEFT OUTER JOIN "
        "tblInvMaster ON tblInvMaster.ProductID = tblProductsMap.ProductID LEFT OUTER JOIN "
        "(SELECT ProductID, SUM(FcstSales) AS FcstSales FROM tblInvRecommendations WHERE ");
    sql += key.isCatalog() ? QStringLiteral("ClubID = ? AND CatalogID = ?")
                           : QStringLiteral("CatalogID = ?");
    sql += QStringLiteral(" GROUP BY ProductID) Forecasts ON Forecasts.ProductID = "
                          "tblProductsMap.ProductID WHERE ") +
           placements.where() +
           (only ? QStringLiteral(" AND tblProductsMap.PageNum = ?") : QString()) +
           QStringLiteral(" ORDER BY tblProductsMap.PageNum, tblProductsMap.PagePosition, "
                          "tblProductsMap.ItemID");
    Query query(sql);
    if (key.isCatalog())
        query.bind(key.clubId()).bind(key.catalogId());
    else
        query.bind(key.insertId());
    placements.bindTo(query);
    if (only)
        query.bind(*only);
    query.exec();
    while (query.next()) {
        const int number = query.value(6).toInt();
        auto [found, added] = pages.try_emplace(number);
        if (added) {
            found->second.number = number;
            found->second.stored = false;
        }
        MapPlacement placement;
        placement.itemId = query.value(0).toLongLong();
        placement.productId = query.text(1);
        placement.productName = query.text(2);
        if (!query.isNull(3))
            placement.price = query.number(3);
        placement.position = query.value(4).toInt();
        placement.weight = query.number(5);
        if (!query.isNull(7))
            placement.forecast = query.number(7);
        found->second.placements.push_back(std::move(placement));
    }

    map.pages.reserve(pages.size());
    for (auto &[number, page] : pages)
        map.pages.push_back(std::move(page));
    map.listSections();
    return map;
}

} // namespace

PageMap loadPageMap(const NodeKey &key) { return readMap(key, std::nullopt); }

std::optional<MapPage> loadMapPage(const NodeKey &key, int page)
{
    PageMap map = readMap(key, page);
    if (map.pages.empty())
        return std::nullopt;
    return std::move(map.pages.front());
}

// ---- Moving a placement

namespace {

struct StoredPosition
{
    QString productId;
    int page = 0;
    int position = 0;
};

std::optional<StoredPosition> placementOnMap(const MapRows &placements, qlonglong itemId)
{
    Query query(QStringLiteral("SELECT ProductID, PageNum, PagePosition FROM tblProductsMap "
                               "WHERE ItemID = ? AND ") +
                placements.where());
    query.bind(itemId);
    placements.bindTo(query).exec();
    if (!query.next())
        return std::nullopt;
    return StoredPosition{query.text(0), query.value(1).toInt(), query.value(2).toInt()};
}

bool pageExists(const NodeKey &map, int page)
{
    const MapRows pages = MapRows::pagesOf(map);
    Query query(QStringLiteral("SELECT PageNum FROM ") + pages.table() + QStringLiteral(" WHERE ") +
                pages.where() + QStringLiteral(" AND PageNum = ?"));
    pages.bindTo(query).bind(page);
    return query.exists();
}

bool productOnPage(const MapRows &placements, const QString &productId, int page,
                   qlonglong exceptItemId)
{
    Query query(QStringLiteral("SELECT ItemID FROM tblProductsMap WHERE ") + placements.where() +
                QStringLiteral(" AND PageNum = ? AND ProductID = ? AND ItemID <> ?"));
    placements.bindTo(query).bind(page).bind(productId).bind(exceptItemId);
    return query.exists();
}

// The editor's rule: one after the position of the placement last made on the page.
int nextPosition(const MapRows &placements, int page)
{
    Query query(QStringLiteral("SELECT PagePosition FROM tblProductsMap WHERE ") +
                placements.where() + QStringLiteral(" AND PageNum = ? ORDER BY ItemID DESC"));
    placements.bindTo(query).bind(page).exec();
    const std::optional<QString> last =
        query.next() ? std::optional<QString>(query.text(0)) : std::nullopt;
    return nextFreePosition(last).toInt();
}

// The first position from `from` on that no placement of the page holds, as the editor refuses a
// taken one.
int freePosition(const MapRows &placements, int page, int from)
{
    Query query(QStringLiteral("SELECT PagePosition FROM tblProductsMap WHERE ") +
                placements.where() +
                QStringLiteral(" AND PageNum = ? AND PagePosition >= ? ORDER BY PagePosition"));
    placements.bindTo(query).bind(page).bind(from).exec();
    int position = from;
    while (query.next()) {
        const int taken = query.value(0).toInt();
        if (taken > position)
            break;
        position = taken + 1;
    }
    return position;
}

void writePosition(qlonglong itemId, int page, int position, const QDateTime &now,
                   const QString &user)
{
    Query(QStringLiteral("UPDATE tblProductsMap SET PageNum = ?, PagePosition = ?, ModifyDate = ?, "
                         "ModifyUser = ? WHERE ItemID = ?"))
        .bind(page)
        .bind(position)
        .bindDateTime(now)
        .bind(user)
        .bind(itemId)
        .exec();
}

} // namespace

MoveResult movePlacement(const NodeKey &map, qlonglong itemId, int fromPage, int toPage,
                         const QDateTime &now, const QString &user, PlacementMove *done)
{
    const NodeKey mapKey(mapKeyOf(map));
    const MapRows placements = MapRows::placementsOf(mapKey);
    Transaction transaction;
    const std::optional<StoredPosition> stored = placementOnMap(placements, itemId);
    // Moved by another client since the map was read: the operator dragged it from a page it has
    // left, so the move is not what was meant.
    if (!stored || stored->page != fromPage)
        return MoveResult::NoSuchPlacement;
    if (stored->page == toPage)
        return MoveResult::SamePage;
    if (!pageExists(mapKey, toPage))
        return MoveResult::NoSuchPage;
    if (productOnPage(placements, stored->productId, toPage, itemId))
        return MoveResult::AlreadyOnPage;
    const int position = freePosition(placements, toPage, nextPosition(placements, toPage));
    writePosition(itemId, toPage, position, now, user);
    MapChanges::announce(mapKey.key());
    transaction.commit();
    if (done)
        *done = PlacementMove{mapKey,           itemId, stored->productId, stored->page,
                              stored->position, toPage, position};
    return MoveResult::Moved;
}

MoveResult undoMove(const PlacementMove &move, const QDateTime &now, const QString &user,
                    int *position)
{
    const MapRows placements = MapRows::placementsOf(move.map);
    Transaction transaction;
    const std::optional<StoredPosition> stored = placementOnMap(placements, move.itemId);
    if (!stored || stored->page != move.toPage || stored->position != move.toPosition ||
        stored->productId != move.productId)
        return MoveResult::NoSuchPlacement;
    if (!pageExists(move.map, move.fromPage))
        return MoveResult::NoSuchPage;
    if (productOnPage(placements, move.productId, move.fromPage, move.itemId))
        return MoveResult::AlreadyOnPage;
    const int free = freePosition(placements, move.fromPage, move.fromPosition);
    writePosition(move.itemId, move.fromPage, free, now, user);
    MapChanges::announce(move.map.key());
    transaction.commit();
    if (position)
        *position = free;
    return MoveResult::Moved;
}

bool takeInPlacementMove(PageMap &map, qlonglong itemId, int fromPage, int toPage, int toPosition)
{
    MapPage *from = map.page(fromPage);
    MapPage *to = map.page(toPage);
    if (!from || !to || from == to)
        return false;
    const auto held = std::find_if(from->placements.begin(), from->placements.end(),
                                   [itemId](const MapPlacement &p) { return p.itemId == itemId; });
    if (held == from->placements.end())
        return false;
    MapPlacement placement = std::move(*held);
    from->placements.erase(held);
    placement.position = toPosition;
    // In the order the map is read in: by position, then as the placements were made.
    const auto place = std::lower_bound(to->placements.begin(), to->placements.end(), placement,
                                        [](const MapPlacement &a, const MapPlacement &b) {
                                            return std::pair(a.position, a.itemId) <
                                                   std::pair(b.position, b.itemId);
                                        });
    to->placements.insert(place, std::move(placement));
    // A page without a row of its own is on the map only through its placements.
    if (!from->stored && from->placements.empty())
        map.pages.erase(map.pages.begin() + (from - map.pages.data()));
    return true;
}

} // namespace catalog
