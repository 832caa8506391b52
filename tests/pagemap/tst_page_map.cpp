// The page map: spreads, page fill, loading a map, moving placements and undoing a move.
#include "../catalog/CatalogEditFixtures.h"
#include "catalog/MapOperations.h"
#include "catalog/Placement.h"
#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"
#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace catalog;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const QString kUser = QStringLiteral("planner");
const NodeKey kSpring(QStringLiteral("ID|MYST|SPRING|0000"));

// The spreads as text: "-/1 2/3 4/-", a gap in brackets.
QString layout(const std::vector<int> &pages)
{
    QStringList spreads;
    const auto side = [](const std::optional<SpreadSide> &s) {
        if (!s)
            return QStringLiteral("-");
        return s->present ? QString::number(s->page) : QStringLiteral("(%1)").arg(s->page);
    };
    for (const Spread &spread : spreadsOf(pages))
        spreads << side(spread.left) + QLatin1Char('/') + side(spread.right);
    return spreads.join(QLatin1Char(' '));
}

void placement(const QString &product, int page, int position, double weight,
               const QString &catalog = QStringLiteral("SPRING"))
{
    fixture::Placement p;
    p.product = product;
    p.page = page;
    p.position = position;
    p.catalog = catalog;
    const qlonglong id = fixture::placement(p);
    TestWarehouse::exec(QStringLiteral("UPDATE tblProductsMap SET PageWeight = ? WHERE ItemID = ?"),
                        {weight, id});
}

qlonglong itemOf(const QString &product, int page)
{
    return TestWarehouse::scalar(QStringLiteral("SELECT ItemID FROM tblProductsMap WHERE "
                                                "CatalogID = 'SPRING' AND ProductID = ? AND "
                                                "PageNum = ?"),
                                 {product, page})
        .toLongLong();
}

QString pageAndPosition(qlonglong itemId)
{
    Query query(
        QStringLiteral("SELECT PageNum, PagePosition FROM tblProductsMap WHERE ItemID = ?"));
    query.bind(itemId).exec();
    return query.next() ? query.text(0) + QLatin1Char('/') + query.text(1) : QString();
}

// MYST SPRING 0000, pages 1-4: A1 and A2 on page 1, B1 on page 2, page 3 empty, A1 also on 4.
void springMap()
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    const QStringList sections = {QStringLiteral("Cover"), QStringLiteral("Fiction"),
                                  QStringLiteral("Fiction"), QStringLiteral("Mystery")};
    for (int page = 1; page <= 4; ++page)
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page, sections[page - 1]);
    for (const QString &id : {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1")})
        fixture::product(id, QStringLiteral("Book ") + id);
    placement(QStringLiteral("A2"), 1, 2, 40);
    placement(QStringLiteral("A1"), 1, 1, 60);
    placement(QStringLiteral("B1"), 2, 5, 120);
    placement(QStringLiteral("A1"), 4, 1, 30);
}

// Makes every change of a placement fail, as a lost connection would.
void refusePlacementUpdates()
{
    if (TestWarehouse::forPostgreSQL()) {
        TestWarehouse::exec(QStringLiteral(
            "CREATE OR REPLACE FUNCTION refuse_update() RETURNS trigger AS $$ BEGIN RAISE "
            "EXCEPTION 'placements locked'; END $$ LANGUAGE plpgsql"));
        TestWarehouse::exec(
            QStringLiteral("CREATE TRIGGER refuse_update BEFORE UPDATE ON tblProductsMap FOR EACH "
                           "ROW EXECUTE FUNCTION refuse_update()"));
    } else {
        TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse_update BEFORE UPDATE ON "
                                           "tblProductsMap BEGIN SELECT RAISE(ABORT, 'placements "
                                           "locked'); END"));
    }
}

} // namespace

class PageMapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_warehouse.emplace(); }
    void cleanup() { m_warehouse.reset(); }

    void spreadsFollowAPrintedBook()
    {
        QCOMPARE(layout({}), QString());
        QCOMPARE(layout({1}), QStringLiteral("-/1"));
        QCOMPARE(layout({1, 2}), QStringLiteral("-/1 2/-"));
        QCOMPARE(layout({3, 1, 2}), QStringLiteral("-/1 2/3"));
        QCOMPARE(layout({1, 2, 3, 4}), QStringLiteral("-/1 2/3 4/-"));
        QCOMPARE(layout({1, 2, 3, 4, 5}), QStringLiteral("-/1 2/3 4/5"));
        // Gaps keep their slot; a book that starts later still opens on page 1's slot.
        QCOMPARE(layout({1, 2, 5, 6}), QStringLiteral("-/1 2/(3) (4)/5 6/-"));
        QCOMPARE(layout({3, 4}), QStringLiteral("-/(1) (2)/3 4/-"));
        QCOMPARE(layout({0, 1, 1, -2}), QStringLiteral("0/1"));
        QCOMPARE(spreadsOf({1, 2, 3, 200}).size(), std::size_t(101));
    }

    // A page is full within half a point of 100, for its bar and in the summary's counts alike.
    void pageFill_data()
    {
        QTest::addColumn<QList<double>>("weights");
        QTest::addColumn<Fill>("fill");
        QTest::newRow("empty") << QList<double>{} << Fill::Under;
        QTest::newRow("ninths") << QList<double>(9, 11.11) << Fill::Full;
        QTest::newRow("sixths") << QList<double>(6, 16.67) << Fill::Full;
        QTest::newRow("thirds") << QList<double>(3, 33.33) << Fill::Full;
        QTest::newRow("tenths") << QList<double>(10, 10.0) << Fill::Full;
        QTest::newRow("99.5") << QList<double>{60, 39.5} << Fill::Full;
        QTest::newRow("100.5") << QList<double>{60, 40.5} << Fill::Full;
        QTest::newRow("99.49") << QList<double>{60, 39.49} << Fill::Under;
        QTest::newRow("100.51") << QList<double>{60, 40.51} << Fill::Over;
    }
    void pageFill()
    {
        QFETCH(QList<double>, weights);
        QFETCH(Fill, fill);
        PageMap map;
        MapPage page;
        for (double weight : weights)
            page.placements.push_back(MapPlacement{0, {}, {}, {}, 0, weight, {}});
        map.pages.push_back(page);
        QCOMPARE(fillOf(page.weight()), fill);
        const PageMapSummary summary = map.summary();
        QCOMPARE(QList<int>({summary.under, summary.full, summary.over}),
                 QList<int>({fill == Fill::Under, fill == Fill::Full, fill == Fill::Over}));
    }

    void fillFiguresAndColours()
    {
        QCOMPARE(fillText(9 * 11.11), QStringLiteral("99.99"));
        QCOMPARE(fillText(100), QStringLiteral("100"));
        QCOMPARE(fillText(112.5), QStringLiteral("112.5"));
        QVERIFY(fillColour(Fill::Under) != fillColour(Fill::Full));
        QVERIFY(fillColour(Fill::Full) != fillColour(Fill::Over));
        // Sections next to each other never share a colour, even past the palette's end.
        for (int section = 0; section < 30; ++section)
            QVERIFY(sectionColour(section) != sectionColour(section + 1));
        QVERIFY(sectionColour(0) != sectionColour(7));
        // A catalog of many sections: the first 21 all differ.
        QSet<std::uint32_t> colours;
        for (int section = 0; section < 21; ++section)
            colours.insert(sectionColour(section));
        QCOMPARE(colours.size(), 21);
        QCOMPARE(sectionColour(-1), kNoSectionColour);
    }

    void loadsPagesPlacementsAndForecasts()
    {
        springMap();
        fixture::product(QStringLiteral("Z9"));
        placement(QStringLiteral("Z9"), 1, 1, 50, QStringLiteral("OTHER"));
        // Forecasts of the map's catalog only, summed per product; none for B1.
        TestWarehouse::exec(QStringLiteral(
            "INSERT INTO tblInvRecommendations (ClubID, CatalogID, ProductID, FcstSales, ProdRank) "
            "VALUES ('MYST', 'SPRING', 'A1', 100, 1), ('MYST', 'SPRING', 'A1', 50, 2), "
            "('MYST', 'SPRING', 'A2', 25, 3), ('MYST', 'OTHER', 'B1', 999, 1), "
            "('OTHER', 'SPRING', 'B1', 999, 1)"));

        const PageMap map = loadPageMap(NodeKey(QStringLiteral("ID|MYST|SPRING|0000|002")));
        QCOMPARE(map.map.key(), kSpring.key());
        QCOMPARE(map.caption, QStringLiteral("SPRING - 0000"));
        QCOMPARE(map.pages.size(), std::size_t(4));
        QCOMPARE(map.sections, QStringList({QStringLiteral("Cover"), QStringLiteral("Fiction"),
                                            QStringLiteral("Mystery")}));
        const MapPage *first = map.page(1);
        QVERIFY(first);
        QCOMPARE(first->placements.size(), std::size_t(2));
        QCOMPARE(first->placements[0].productId, QStringLiteral("A1"));
        QCOMPARE(first->placements[0].productName, QStringLiteral("Book A1"));
        QCOMPARE(first->placements[0].price, std::optional<double>(15.0));
        QCOMPARE(first->placements[1].productId, QStringLiteral("A2"));
        QCOMPARE(fillOf(first->weight()), Fill::Full);
        QCOMPARE(first->forecast(), std::optional<double>(150 + 25));
        QCOMPARE(map.page(2)->forecast(), std::optional<double>());
        QVERIFY(map.page(3)->placements.empty());
        QVERIFY(!map.page(5));

        const PageMapSummary summary = map.summary();
        QCOMPARE(summary.pages, 4);
        QCOMPARE(summary.placements, 4);
        QCOMPARE(summary.productsPlacedTwice, 1);
        QCOMPARE(summary.full, 1);
        QCOMPARE(summary.over, 1);
        QCOMPARE(summary.under, 2);
        QCOMPARE(summary.forecast, std::optional<double>(150 + 25 + 150));
    }

    void loadsAnInsertAndPlacementsOffTheMap()
    {
        fixture::insertPage(QStringLiteral("03012026101010"), QStringLiteral("Spring Flyer"), 1,
                            QStringLiteral("Front"));
        fixture::insertPage(QStringLiteral("03012026101010"), QStringLiteral("Spring Flyer"), 2);
        fixture::product(QStringLiteral("A1"));
        fixture::Placement p;
        p.club = QVariant();
        p.test = QVariant();
        p.catalog = QStringLiteral("03012026101010");
        p.product = QStringLiteral("A1");
        p.page = 3; // no page row
        fixture::placement(p);
        // A catalog placement under the insert's ID is no placement of the insert.
        p.club = QStringLiteral("MYST");
        p.test = QStringLiteral("0000");
        p.page = 1;
        fixture::placement(p);

        const PageMap map = loadPageMap(NodeKey(QStringLiteral("INS|03012026101010|001")));
        QCOMPARE(map.caption, QStringLiteral("Spring Flyer"));
        QCOMPARE(map.pages.size(), std::size_t(3));
        QVERIFY(map.page(1)->placements.empty());
        QVERIFY(!map.page(3)->stored);
        QCOMPARE(map.page(3)->placements.size(), std::size_t(1));
        QCOMPARE(map.summary().pages, 2);
        QVERIFY(loadPageMap(NodeKey(QStringLiteral("CTG"))).pages.empty());
    }

    void movesToTheNextFreePositionInOneWrite()
    {
        springMap();
        QSignalSpy changes(&MapChanges::instance(), &MapChanges::changed);
        const qlonglong b1 = itemOf(QStringLiteral("B1"), 2);
        PlacementMove move;
        QCOMPARE(movePlacement(kSpring, b1, 2, 1, kNow, kUser, &move), MoveResult::Moved);
        // Page 1's last placement made (A1 at position 1) proposes position 2, as the editor
        // does; A2 holds it, so the next free one.
        QCOMPARE(pageAndPosition(b1), QStringLiteral("1/3"));
        QCOMPARE(move.fromPage, 2);
        QCOMPARE(move.fromPosition, 5);
        QCOMPARE(move.toPosition, 3);
        QCOMPARE(TestWarehouse::scalar(
                     QStringLiteral("SELECT ModifyUser FROM tblProductsMap WHERE ItemID = ?"), {b1})
                     .toString(),
                 kUser);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), kSpring.key());

        // Onto an empty page: position 1. Back again: after page 2's last.
        const qlonglong a2 = itemOf(QStringLiteral("A2"), 1);
        QCOMPARE(movePlacement(kSpring, a2, 1, 3, kNow, kUser), MoveResult::Moved);
        QCOMPARE(pageAndPosition(a2), QStringLiteral("3/1"));

        int position = 0;
        QCOMPARE(undoMove(move, kNow, kUser, &position), MoveResult::Moved);
        QCOMPARE(pageAndPosition(b1), QStringLiteral("2/5"));
        QCOMPARE(position, 5);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 4);

        // Undo to a position another product has taken since (and the one after it): the next
        // free one.
        QCOMPARE(movePlacement(kSpring, b1, 2, 3, kNow, kUser, &move), MoveResult::Moved);
        placement(QStringLiteral("A1"), 2, 5, 10);
        placement(QStringLiteral("A2"), 2, 6, 10);
        QCOMPARE(undoMove(move, kNow, kUser, &position), MoveResult::Moved);
        QCOMPARE(pageAndPosition(b1), QStringLiteral("2/7"));
        QCOMPARE(position, 7);
    }

    // A write is announced once committed, to this client and the others alike; a failed commit
    // announces nothing.
    void announcesOnlyWhatIsCommitted_data()
    {
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<bool>("pages");
        QTest::newRow("placement moved") << 0 << kSpring.key() << false;
        QTest::newRow("page inserted") << 1 << kSpring.key() << true;
        // The editor knows a placement by its ItemID alone: any map may have lost it.
        QTest::newRow("placement deleted") << 2 << QString() << false;
        QTest::newRow("map deleted") << 3 << kSpring.key() << true;
    }
    void announcesOnlyWhatIsCommitted()
    {
        QFETCH(int, write);
        QFETCH(QString, changed);
        QFETCH(bool, pages);
        const std::function<void()> writes[] = {
            [] { movePlacement(kSpring, itemOf(QStringLiteral("B1"), 2), 2, 1, kNow, kUser); },
            [] { insertPage(kSpring, 2, QStringLiteral("Fiction")); },
            [] { deletePlacement(QString::number(itemOf(QStringLiteral("B1"), 2))); },
            [] { deleteMap(kSpring); },
        };
        springMap();
        QSignalSpy changes(&MapChanges::instance(), &MapChanges::changed);
        QSignalSpy pageChanges(&MapChanges::instance(), &MapChanges::pagesChanged);
        {
            faults::ArmedFault fault = faults::ArmedFault::matching(QStringLiteral("COMMIT"));
            QVERIFY_THROWS_EXCEPTION(DbError, writes[write]());
        }
        QCOMPARE(changes.size() + pageChanges.size(), 0);
        writes[write]();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), changed);
        QCOMPARE(pageChanges.size(), pages ? 1 : 0);
    }

    void refusedMovesChangeNothing()
    {
        springMap();
        const qlonglong a1 = itemOf(QStringLiteral("A1"), 1);
        const qlonglong b1 = itemOf(QStringLiteral("B1"), 2);
        QSignalSpy changes(&MapChanges::instance(), &MapChanges::changed);
        QCOMPARE(movePlacement(kSpring, a1, 1, 4, kNow, kUser), MoveResult::AlreadyOnPage);
        QCOMPARE(movePlacement(kSpring, a1, 1, 1, kNow, kUser), MoveResult::SamePage);
        QCOMPARE(movePlacement(kSpring, a1, 1, 9, kNow, kUser), MoveResult::NoSuchPage);
        QCOMPARE(movePlacement(kSpring, 99999, 1, 3, kNow, kUser), MoveResult::NoSuchPlacement);
        // Another map's placement is not this map's to move.
        QCOMPARE(
            movePlacement(NodeKey(QStringLiteral("ID|MYST|SPRING|0001")), b1, 2, 3, kNow, kUser),
            MoveResult::NoSuchPlacement);
        // Nor one that has left the page the map showed it on (another client moved it).
        QCOMPARE(movePlacement(kSpring, b1, 1, 3, kNow, kUser), MoveResult::NoSuchPlacement);
        QCOMPARE(pageAndPosition(a1), QStringLiteral("1/1"));
        QCOMPARE(pageAndPosition(b1), QStringLiteral("2/5"));
        QCOMPARE(changes.size(), 0);

        // An undo whose placement has since moved on, or whose product took its old page, is
        // refused too.
        PlacementMove move;
        QCOMPARE(movePlacement(kSpring, b1, 2, 3, kNow, kUser, &move), MoveResult::Moved);
        QCOMPARE(movePlacement(kSpring, b1, 3, 1, kNow, kUser), MoveResult::Moved);
        QCOMPARE(undoMove(move, kNow, kUser), MoveResult::NoSuchPlacement);
        QCOMPARE(movePlacement(kSpring, b1, 1, 3, kNow, kUser, &move), MoveResult::Moved);
        placement(QStringLiteral("B1"), 1, 7, 10);
        QCOMPARE(undoMove(move, kNow, kUser), MoveResult::AlreadyOnPage);
        QCOMPARE(pageAndPosition(b1).section(QLatin1Char('/'), 0, 0), QStringLiteral("3"));
    }

    void aFailedMoveLeavesTheMapAsItWas()
    {
        springMap();
        const qlonglong b1 = itemOf(QStringLiteral("B1"), 2);
        refusePlacementUpdates();
        QVERIFY_THROWS_EXCEPTION(DbError, movePlacement(kSpring, b1, 2, 3, kNow, kUser));
        QCOMPARE(pageAndPosition(b1), QStringLiteral("2/5"));
        // The connection is usable afterwards: no transaction was left open.
        QCOMPARE(loadPageMap(kSpring).summary().placements, 4);
    }

    void signatureFigures_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("fits") << 32 << 4 << QStringLiteral("32 pages: 8 signatures of 4");
        QTest::newRow("one signature") << 16 << 16 << QStringLiteral("16 pages: 1 signature of 16");
        QTest::newRow("missing and extra")
            << 34 << 16
            << QStringLiteral("34 pages: 14 missing for 3 signatures of 16, or 2 extra "
                              "over 2 signatures of 16");
        QTest::newRow("short of the first")
            << 5 << 8 << QStringLiteral("5 pages: 3 missing for 1 signature of 8");
        QTest::newRow("no pages") << 0 << 32 << QStringLiteral("0 pages: 0 signatures of 32");
    }
    void signatureFigures()
    {
        QFETCH(int, pages);
        QFETCH(int, size);
        QFETCH(QString, text);
        QCOMPARE(signatureText(signatureFit(pages, size)), text);
    }

    // Two versions of a catalog, page against page: which pages differ and why.
    void comparesTwoVersions()
    {
        springMap();
        const NodeKey other(QStringLiteral("ID|MYST|SPRING|0001"));
        const QStringList sections = {QStringLiteral("Cover"), QStringLiteral("Fiction"),
                                      QStringLiteral("Gifts")};
        for (int page = 1; page <= 3; ++page)
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0001"), page, sections[page - 1]);
        // Page 1 the same; B1 at another position on 2; page 3 with a section of its own and a
        // product; page 4 on the first version only.
        fixture::Placement p;
        p.test = QStringLiteral("0001");
        for (const auto &[product, page, position] :
             {std::tuple{"A1", 1, 1}, {"A2", 1, 2}, {"B1", 2, 6}, {"A2", 3, 1}}) {
            p.product = QString::fromLatin1(product);
            p.page = page;
            p.position = position;
            fixture::placement(p);
        }
        const MapComparison comparison = compareMaps(loadPageMap(kSpring), loadPageMap(other));
        QStringList reasons;
        for (const auto &[page, difference] : comparison.pages)
            reasons << QStringLiteral("%1: %2").arg(page).arg(difference.reason());
        QCOMPARE(reasons, QStringList({QStringLiteral("2: positions"),
                                       QStringLiteral("3: section, products"),
                                       QStringLiteral("4: on one map only, products")}));
        QCOMPARE(comparison.ours, QSet<qlonglong>({itemOf(QStringLiteral("B1"), 2),
                                                   itemOf(QStringLiteral("A1"), 4)}));
        QCOMPARE(comparison.theirs.size(), 2);
        QCOMPARE(otherVersions(kSpring), QStringList{other.key()});
    }

    void mapWritesAnnounceTheirMap()
    {
        springMap();
        QSignalSpy changes(&MapChanges::instance(), &MapChanges::changed);
        QVERIFY(addPageToMap(kSpring, QStringLiteral("Back")));
        QVERIFY(editSectionOfPage(NodeKey(kSpring.key() + QStringLiteral("|005")),
                                  QStringLiteral("Index")));
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.at(1).at(0).toString(), kSpring.key());
    }

private:
    std::optional<TestWarehouse> m_warehouse;
};

FOLVANE_DATABASE_TEST_MAIN(PageMapTest)
#include "tst_page_map.moc"
