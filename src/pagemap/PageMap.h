#pragma once

#include "catalog/NodeKey.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class ChangeNotices;

// The page map of a catalog test or insert as a printed book shows it: pages in spreads, what is
// placed on each page and how full it is; and moving a placement from one page to another.
// Loading and moving throw DbError.
namespace catalog {

// ---- Spreads

// One side of a spread: a page number, and whether the map has that page. A missing page inside
// the book (a gap in the numbering) is a slot of its own, so the book keeps its shape.
struct SpreadSide
{
    int page = 0;
    bool present = false;
};

// Two facing pages: the even page on the left, the odd page on the right. The first spread has
// page 1 alone on the right; the last has the last page alone on the left when it is even.
struct Spread
{
    std::optional<SpreadSide> left;
    std::optional<SpreadSide> right;
};

// The spreads of a book whose pages carry these numbers (in any order, repeats ignored). Numbers
// below 0 are left out; a page 0 stands on the left of page 1. No pages, no spreads.
std::vector<Spread> spreadsOf(const std::vector<int> &pageNumbers);

// ---- Page fill

// The summed page weights of a page against the 100 that fill it. A page within half a point of
// 100 is full: the editor's weights for a third, a sixth or a ninth of a page (33.33, 16.67,
// 11.11) sum to a little under or over 100.
enum class Fill { Under, Full, Over };
Fill fillOf(double weight);
// The figure shown on the fill bar ("99.99", "100", "112.5").
QString fillText(double weight);
// Colours as 0xRRGGBB: pale under 100, green at 100, red over it.
std::uint32_t fillColour(Fill fill);
// A section's colour, from a palette that colour-blind readers tell apart; sections take the
// colours in the order they first appear in the book. A page without section is grey.
std::uint32_t sectionColour(int sectionIndex);
inline constexpr std::uint32_t kNoSectionColour = 0xBBBBBB;

// ---- The map

struct MapPlacement
{
    qlonglong itemId = 0;
    QString productId;
    QString productName; // empty when the product is not in the inventory
    std::optional<double> price;
    int position = 0;
    double weight = 0;
    std::optional<double> forecast; // summed forecast sales, where recommendations exist
};

struct MapPage
{
    int number = 0;
    QString section;
    // False for a page that has placements but no page row.
    bool stored = true;
    std::vector<MapPlacement> placements; // in position order
    double weight() const;
    std::optional<double> forecast() const;
};

struct PageMapSummary
{
    int pages = 0;
    int placements = 0;
    int productsPlacedTwice = 0; // products with more than one placement on the map
    int full = 0;
    int under = 0;
    int over = 0;
    std::optional<double> forecast;
};

struct PageMap
{
    NodeKey map;     // the catalog test or insert
    QString caption; // the tree's text of the map: "CatalogID - TestID" or the insert's name
    std::vector<MapPage> pages; // in page order
    // Sections in the order they first appear, as the legend lists them.
    QStringList sections;

    const MapPage *page(int number) const;
    MapPage *page(int number) { return const_cast<MapPage *>(std::as_const(*this).page(number)); }
    // The page a placement is shown on; nullptr when the map has no such placement.
    const MapPage *pageOfPlacement(qlonglong itemId) const;
    std::vector<Spread> spreads() const;
    PageMapSummary summary() const;
    // Pages from page 1 (or 0) to the last, gaps counted: what the printer prints.
    int extent() const;
    int sectionIndex(const QString &section) const { return int(sections.indexOf(section)); }
    // Lists the sections again from the pages, once pages were renumbered, added or removed.
    void listSections();
};

// ---- Signatures

// How a book's pages fill the printer's signatures of a size.
struct SignatureFit
{
    int pages = 0;
    int size = 4;
    int signatures = 0; // whole signatures the pages fill
    int missing = 0;    // pages to add to fill the last one begun (0 when they fit)
    int extra = 0;      // pages beyond the whole ones (0 when they fit)
    bool fits() const { return missing == 0; }
};
SignatureFit signatureFit(int pages, int size);
// "32 pages: 8 signatures of 4", or what is missing or extra.
QString signatureText(const SignatureFit &fit);
inline constexpr int kSignatureSizes[] = {4, 8, 16, 32};

// ---- Comparing two maps

// How one page differs between two maps (a page number of either), and the placements that
// differ on each side.
struct PageDifference
{
    bool missing = false;   // the page is on one map only
    bool section = false;   // its sections differ
    bool products = false;  // a product is on one side only
    bool positions = false; // the same products in other positions
    QString reason() const;
};
struct MapComparison
{
    std::map<int, PageDifference> pages;
    QSet<qlonglong> ours;   // placements of the first map that differ
    QSet<qlonglong> theirs; // and of the second
};
MapComparison compareMaps(const PageMap &ours, const PageMap &theirs);

// The other versions of a catalog test's catalog (keys, by test ID); none for an insert.
QStringList otherVersions(const NodeKey &map);

// The key of the map a node belongs to ("ID|club|catalog|test" or "INS|id"); empty for a root.
QString mapKeyOf(const NodeKey &key);

// Pages, placements (with product names, prices and forecast sales) of the map of a node.
PageMap loadPageMap(const NodeKey &key);
// One page of it, read the same way; nothing when the map has neither the page's row nor a
// placement on it.
std::optional<MapPage> loadMapPage(const NodeKey &key, int page);

// ---- Moving a placement

struct PlacementMove
{
    NodeKey map;
    qlonglong itemId = 0;
    QString productId;
    int fromPage = 0;
    int fromPosition = 0;
    int toPage = 0;
    int toPosition = 0;
};

enum class MoveResult {
    Moved,
    SamePage,        // dropped on the page it is on: nothing to do
    AlreadyOnPage,   // the product is already placed on the target page
    NoSuchPage,      // the target is no page of the map
    NoSuchPlacement, // the placement is gone, or no longer on the page the map showed
};

// Moves a placement of the map from the page the map showed it on to another page, with the time
// and user of the change; one transaction. It takes the position the editor would propose there
// (one after the last placement made on that page, 1 on an empty page), or the next free one
// after it when another product holds that position. On Moved, `done` describes the move for
// undoing it.
MoveResult movePlacement(const NodeKey &map, qlonglong itemId, int fromPage, int toPage,
                         const QDateTime &now, const QString &user, PlacementMove *done = nullptr);
// Puts a moved placement back on its page, at its old position or, when another product has taken
// that since, the next free one after it (`position` tells which). Refused when the placement is no
// longer where the move left it or the product has since been placed on its old page.
MoveResult undoMove(const PlacementMove &move, const QDateTime &now, const QString &user,
                    int *position = nullptr);
// A map held in memory brought up to date with a placement moved (or put back) as the move wrote
// it, without reading the map again. False, changing nothing, when the map does not hold the
// placement on `fromPage` or has no page `toPage`: it is older than the move, read it again.
bool takeInPlacementMove(PageMap &map, qlonglong itemId, int fromPage, int toPage, int toPosition);

// ---- Changes

// Tells open views that a map changed, in this client and in the others on the same warehouse.
// The catalog core's writes announce the map they touch (an empty key: any map may have changed)
// inside their transaction: the news goes with the commit and a rollback tells nobody.
class MapChanges : public QObject
{
    Q_OBJECT
public:
    static MapChanges &instance();
    static void announce(const QString &mapKey);
    // A change of the map's pages themselves (inserted, removed, renumbered, a new section), which
    // the editor's tree shows; announced as a change of the map too.
    static void announcePages(const QString &mapKey);

    // Held by a view for the maps it shows: other clients' changes are heard while any watch has
    // a map. The embedded file tells only that another client wrote something; the maps watched
    // are then read again and announced where they differ.
    class Watch
    {
    public:
        Watch();
        ~Watch();
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;
        void setMaps(const QStringList &mapKeys);

    private:
        QStringList m_maps;
        friend class MapChanges;
    };

    // Whether other clients' changes reach this one now (on the server: its listening connection
    // is up), for tests.
    bool hearingOthers() const;

Q_SIGNALS:
    void changed(const QString &mapKey);
    void pagesChanged(const QString &mapKey);

private:
    MapChanges();
    static void send(QChar kind, const QString &mapKey);
    void received(const QString &text);
    void watchedMapsChanged();
    void fingerprint(const QString &mapKey);

    ChangeNotices *m_notices;
    std::vector<const Watch *> m_watches;
    // The embedded file's watched maps as last read: their pages' and placements' digests.
    std::map<QString, std::pair<QByteArray, QByteArray>> m_fingerprints;
};

} // namespace catalog
