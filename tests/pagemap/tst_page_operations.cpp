// The page operations the page map and the Catalog Edit commands share: pages moved, inserted,
// removed and given a section, on a catalog test and on an insert of the same ID, with undo and
// redo, and a map held in memory following each of them.
#include "../catalog/CatalogEditFixtures.h"
#include "MapText.h"
#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"

#include <QTest>

#include <functional>

using namespace catalog;

namespace {

// A catalog test and an insert with the same ID, six pages each: page n has section Sn and
// product Pn, so a page's contents say which page it was.
const QString kId = QStringLiteral("03012026101010");
const NodeKey kCatalog(NodeKey::catalogTestKey(QStringLiteral("MYST"), kId,
                                               QStringLiteral("0000")));
const NodeKey kInsert(NodeKey::insertKey(kId));

void book()
{
    for (int page = 1; page <= 6; ++page) {
        const QString section = QStringLiteral("S%1").arg(page);
        const QString product = QStringLiteral("P%1").arg(page);
        fixture::product(product);
        fixture::catalogPage(QStringLiteral("MYST"), kId, QStringLiteral("0000"), page, section);
        fixture::insertPage(kId, QStringLiteral("Flyer"), page, section);
        fixture::Placement p;
        p.catalog = kId;
        p.product = product;
        p.page = page;
        p.position = page;
        fixture::placement(p);
        p.club = p.test = QVariant();
        fixture::placement(p);
    }
}

// The book page by page as the pages it was made of: "2 1 3" when pages 1 and 2 changed places,
// "N" for a page made since, "?" for a page whose section and products disagree. Positions follow.
QString pagesOf(const NodeKey &map)
{
    QStringList pages;
    int expected = 1;
    for (const MapPage &page : loadPageMap(map).pages) {
        QString was = page.section.mid(1);
        QStringList products;
        for (const MapPlacement &placement : page.placements)
            products << placement.productId.mid(1) + QLatin1Char('@') +
                            QString::number(placement.position);
        if (page.section == QLatin1String("New") && products.isEmpty())
            was = QStringLiteral("N");
        else if (products != QStringList{was + QLatin1Char('@') + was})
            was = QStringLiteral("?");
        if (page.number != expected++)
            was += QStringLiteral("#") + QString::number(page.number);
        pages << was;
    }
    return pages.join(QLatin1Char(' '));
}

const QString kUnchanged = QStringLiteral("1 2 3 4 5 6");

using Change = std::function<PageResult(const NodeKey &, PageEdit *)>;

} // namespace

class PageOperationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_warehouse.emplace();
        book();
    }
    void cleanup() { m_warehouse.reset(); }

    // Each change on either map, its undo and its redo; the other map of the same ID is never
    // touched. A map read before follows each step in memory to the map as stored.
    void changesUndoAndRedo_data()
    {
        QTest::addColumn<bool>("onInsert");
        QTest::addColumn<Change>("change");
        QTest::addColumn<PageResult>("result");
        QTest::addColumn<QString>("after");
        const auto move = [](int first, int count, int to) -> Change {
            return [=](const NodeKey &map, PageEdit *done) {
                return movePages(map, first, count, to, done);
            };
        };
        const auto insert = [](int at) -> Change {
            return [=](const NodeKey &map, PageEdit *done) {
                return insertPage(map, at, QStringLiteral(" New "), done);
            };
        };
        const auto remove = [](int page, std::optional<int> placements) -> Change {
            return [=](const NodeKey &map, PageEdit *done) {
                return removePage(map, page, placements, done);
            };
        };
        for (const bool onInsert : {false, true}) {
            const auto row = [&](const char *name, Change change, PageResult result,
                                 const char *after) {
                QTest::addRow("%s %s", onInsert ? "insert" : "catalog", name)
                    << onInsert << change << result << QString::fromLatin1(after);
            };
            row("forward", move(2, 1, 5), PageResult::Done, "1 3 4 5 2 6");
            row("backward", move(5, 1, 2), PageResult::Done, "1 5 2 3 4 6");
            row("spread", move(2, 2, 4), PageResult::Done, "1 4 5 2 3 6");
            row("spread back", move(4, 2, 2), PageResult::Done, "1 4 5 2 3 6");
            row("first to last", move(1, 1, 6), PageResult::Done, "2 3 4 5 6 1");
            row("last to first", move(6, 1, 1), PageResult::Done, "6 1 2 3 4 5");
            row("onto itself", move(3, 1, 3), PageResult::Unchanged, "1 2 3 4 5 6");
            row("past the end", move(5, 2, 6), PageResult::OutsideTheBook, "1 2 3 4 5 6");
            row("no such page", move(7, 1, 2), PageResult::NoSuchPage, "1 2 3 4 5 6");
            row("insert first", insert(1), PageResult::Done, "N 1 2 3 4 5 6");
            row("insert inside", insert(4), PageResult::Done, "1 2 3 N 4 5 6");
            row("insert at the end", insert(7), PageResult::Done, "1 2 3 4 5 6 N");
            row("insert beyond", insert(9), PageResult::OutsideTheBook, "1 2 3 4 5 6");
            row("remove first", remove(1, 1), PageResult::Done, "2 3 4 5 6");
            row("remove inside", remove(3, std::nullopt), PageResult::Done, "1 2 4 5 6");
            row("remove last", remove(6, 1), PageResult::Done, "1 2 3 4 5");
            // A placement added since the operator was asked.
            row("remove, placements differ", remove(3, 0), PageResult::PlacementsDiffer,
                "1 2 3 4 5 6");
        }
    }
    void changesUndoAndRedo()
    {
        QFETCH(bool, onInsert);
        QFETCH(Change, change);
        QFETCH(PageResult, result);
        QFETCH(QString, after);
        const NodeKey map = onInsert ? kInsert : kCatalog;
        const NodeKey other = onInsert ? kCatalog : kInsert;
        PageEdit edit;
        PageMap held = loadPageMap(map);
        const auto follows = [&](bool undone) {
            QVERIFY(takeInPageEdit(held, edit, undone));
            QCOMPARE(mapText(held), mapText(loadPageMap(map)));
        };
        // A page key names its map.
        QCOMPARE(change(NodeKey(map.key() + QStringLiteral("|003")), &edit), result);
        QCOMPARE(pagesOf(map), after);
        QCOMPARE(pagesOf(other), kUnchanged);
        if (result != PageResult::Done)
            return;
        follows(false);
        QCOMPARE(undoPageEdit(edit), PageResult::Done);
        QCOMPARE(pagesOf(map), kUnchanged);
        follows(true);
        QCOMPARE(redoPageEdit(edit), PageResult::Done);
        QCOMPARE(pagesOf(map), after);
        follows(false);
        QCOMPARE(undoPageEdit(edit), PageResult::Done);
        QCOMPARE(pagesOf(map), kUnchanged);
        follows(true);
        QCOMPARE(pagesOf(other), kUnchanged);
        if (onInsert)
            QCOMPARE(TestWarehouse::count(QStringLiteral(
                         "SELECT COUNT(*) FROM tblInsertMap WHERE InsertDescription = 'Flyer'")),
                     6);
    }

    // An undo or redo is refused, changing nothing, once another client has changed its pages.
    void undoAfterAnotherClientsChangeIsRefused_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("move, placement added inside")
            << 0
            << QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, "
                              "ProductID, PageNum, PagePosition, PageWeight) VALUES ('MYST', "
                              "'03012026101010', '0000', 'P1', 4, 9, 10)");
        QTest::newRow("insert, section of a later page")
            << 1 << QStringLiteral("UPDATE tblCatalogMap SET PageSection = 'X' WHERE PageNum = 6");
        QTest::newRow("removal, placement moved within the rest")
            << 2 << QStringLiteral("UPDATE tblProductsMap SET PagePosition = 9 WHERE PageNum = 5");
        QTest::newRow("section, changed again")
            << 3 << QStringLiteral("UPDATE tblCatalogMap SET PageSection = 'Y' WHERE PageNum = 2");
    }
    void undoAfterAnotherClientsChangeIsRefused()
    {
        QFETCH(int, kind);
        QFETCH(QString, meanwhile);
        PageEdit edit;
        const PageResult done = kind == 0   ? movePages(kCatalog, 2, 1, 5, &edit)
                                : kind == 1 ? insertPage(kCatalog, 2, QStringLiteral("New"), &edit)
                                : kind == 2
                                    ? removePage(kCatalog, 2, 1, &edit)
                                    : editPageSection(kCatalog, 2, QStringLiteral("Gifts"), &edit);
        QCOMPARE(done, PageResult::Done);
        TestWarehouse::exec(meanwhile);
        const QString before = pagesOf(kCatalog);
        QCOMPARE(undoPageEdit(edit), PageResult::Stale);
        QCOMPARE(pagesOf(kCatalog), before);
    }

    // The section edit of both the Catalog Edit command and the page map: trimmed, undone, redone.
    void sectionEditUndoAndRedo()
    {
        PageEdit edit;
        QCOMPARE(editPageSection(kInsert, 2, QStringLiteral("  Gifts "), &edit), PageResult::Done);
        QCOMPARE(loadPageMap(kInsert).page(2)->section, QStringLiteral("Gifts"));
        QCOMPARE(undoPageEdit(edit), PageResult::Done);
        QCOMPARE(loadPageMap(kInsert).page(2)->section, QStringLiteral("S2"));
        QCOMPARE(redoPageEdit(edit), PageResult::Done);
        QCOMPARE(loadPageMap(kInsert).page(2)->section, QStringLiteral("Gifts"));
        QCOMPARE(loadPageMap(kCatalog).page(2)->section, QStringLiteral("S2"));
        QCOMPARE(editPageSection(kInsert, 9, QStringLiteral("Gifts")), PageResult::NoSuchPage);
        QCOMPARE(editPageSection(NodeKey(QStringLiteral("CTG")), 1, {}), PageResult::NotAMap);
    }

private:
    std::optional<TestWarehouse> m_warehouse;
};

FOLVANE_DATABASE_TEST_MAIN(PageOperationsTest)
#include "tst_page_operations.moc"
