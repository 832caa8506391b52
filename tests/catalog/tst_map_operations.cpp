// Copying, deleting and paging whole maps of catalog tests and inserts.
#include "CatalogEditFixtures.h"
#include "catalog/CatalogBuild.h"
#include "catalog/MapOperations.h"
#include "catalog/Placement.h"
#include "catalog/ProductGrids.h"
#include "warehouse/DbError.h"

#include <QCoreApplication>
#include <QTest>

using namespace catalog;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const QString kUser = QStringLiteral("planner");

int pages(const QString &club, const QString &catalog, const QString &test)
{
    return TestWarehouse::count(
        QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap WHERE ClubID = ? "
                       "AND CatalogID = ? AND TestID = ?"),
        {club, catalog, test});
}

int placements(const QString &club, const QString &catalog, const QString &test)
{
    return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE ClubID = "
                                               "? AND CatalogID = ? AND TestID = ?"),
                                {club, catalog, test});
}

QString section(const QString &catalog, const QString &test, int page)
{
    return TestWarehouse::scalar(QStringLiteral("SELECT PageSection FROM tblCatalogMap WHERE "
                                                "ClubID = 'MYST' AND CatalogID = ? AND TestID = ? "
                                                "AND PageNum = ?"),
                                 {catalog, test, page})
        .toString();
}

// Which products stand on a page of MYST SPRING 0000, sorted.
QStringList productsOnPage(int page)
{
    QStringList products;
    Query query(QStringLiteral("SELECT ProductID FROM tblProductsMap WHERE ClubID = 'MYST' AND "
                               "CatalogID = 'SPRING' AND TestID = '0000' AND PageNum = ? "
                               "ORDER BY ProductID"));
    query.bind(page).exec();
    while (query.next())
        products << query.text(0);
    return products;
}

// MYST SPRING 0000 with pages 1..n (sections "Section n") and one placement on pages 2, 3 and 4.
void springMap(int pageCount = 12)
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    for (int page = 1; page <= pageCount; ++page)
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page, QStringLiteral("Section %1").arg(page));
    for (const QString &product :
         {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3"), QStringLiteral("B4")})
        fixture::product(product);
    fixture::placement(QStringLiteral("B2"), 2, 1);
    fixture::placement(QStringLiteral("B3"), 3, 1);
    fixture::placement(QStringLiteral("B4"), 4, 1);
    if (pageCount >= 12)
        fixture::placement(QStringLiteral("B1"), 12, 1);
}

NodeKey springKey(int page = 0)
{
    const QString map = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
    return NodeKey(page ? NodeKey::pageKey(map, page) : map);
}

} // namespace

class MapOperationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copyToACatalogScheduledUnderAnotherClub()
    {
        TestWarehouse warehouse;
        springMap();
        fixture::schedule(QStringLiteral("OTHER"), QStringLiteral("FALL"));

        QCOMPARE(copyMapToNewCatalog(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                     QStringLiteral("0000"), QStringLiteral("FALL"), kNow, kUser),
                 CopyToNewCatalogResult::Copied);
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("FALL"), QStringLiteral("0000")), 12);
        QCOMPARE(placements(QStringLiteral("MYST"), QStringLiteral("FALL"), QStringLiteral("0000")),
                 4);
        QCOMPARE(section(QStringLiteral("FALL"), QStringLiteral("0000"), 7),
                 QStringLiteral("Section 7"));
        // The copies carry the copy's time and user; everything else is the source's.
        Query copied(QStringLiteral("SELECT ModifyDate, ModifyUser, Price, Discount, PagePosition, "
                                    "DescType, ProductType FROM tblProductsMap WHERE "
                                    "CatalogID = 'FALL' AND ProductID = 'B3'"));
        QVERIFY(copied.execFirst());
        QCOMPARE(sqlvalue::date(copied.value(0)), kNow.date());
        QVERIFY(copied.text(0).contains(QLatin1String("10:20:30")));
        QCOMPARE(copied.text(1), kUser);
        QCOMPARE(copied.number(2), 15.0);
        QCOMPARE(copied.number(3), 25.0);
        QCOMPARE(copied.value(4).toInt(), 1);
        QCOMPARE(copied.text(5), QStringLiteral("Blank"));
        QCOMPARE(copied.text(6), QStringLiteral("A"));
        // The source is untouched.
        QCOMPARE(
            placements(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")),
            4);
    }

    void copyToNewCatalogIsRefusedWithoutScheduleOrWhenMapped()
    {
        TestWarehouse warehouse;
        springMap();
        QCOMPARE(copyMapToNewCatalog(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                     QStringLiteral("0000"), QStringLiteral("NOWHERE"), kNow,
                                     kUser),
                 CopyToNewCatalogResult::NotScheduled);

        fixture::schedule(QStringLiteral("MYST"), QStringLiteral("FALL"));
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("FALL"), QStringLiteral("0000"),
                             1);
        // The case of the new ID does not matter: the warehouse compares keys without it.
        QCOMPARE(copyMapToNewCatalog(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                     QStringLiteral("0000"), QStringLiteral("fall"), kNow, kUser),
                 CopyToNewCatalogResult::AlreadyOnRecord);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 13);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 4);
    }

    void aFailedCopyLeavesNothingBehind()
    {
        TestWarehouse warehouse;
        springMap();
        fixture::schedule(QStringLiteral("MYST"), QStringLiteral("FALL"));
        // The placements cannot be written: the pages written before them must go too.
        TestWarehouse::exec(QStringLiteral("ALTER TABLE tblProductsMap RENAME TO tblProductsGone"));
        QVERIFY_THROWS_EXCEPTION(DbError, copyMapToNewCatalog(QStringLiteral("MYST"),
                                                              QStringLiteral("SPRING"),
                                                              QStringLiteral("0000"),
                                                              QStringLiteral("FALL"), kNow, kUser));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("FALL"), QStringLiteral("0000")), 0);
        QVERIFY_THROWS_EXCEPTION(
            DbError, copyMapToTestIds(springKey(), QStringLiteral("0002"), kNow, kUser));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0002")),
                 0);
    }

    void copyToTestIdsCopiesTheGoodEntriesAndListsTheRest()
    {
        TestWarehouse warehouse;
        springMap();
        const QString refused =
            copyMapToTestIds(springKey(5), QStringLiteral(" 1, 0002,abc,12345"), kNow, kUser);
        QCOMPARE(
            refused,
            QStringLiteral(
                "The format of the Test ID:1 is invalid the process will skip this Test ID.\r"
                "The format of the Test ID:abc is invalid the process will skip this Test ID.\r"
                "The format of the Test ID:12345 is invalid the process will skip this Test "
                "ID.\r"));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0002")),
                 12);
        QCOMPARE(
            placements(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0002")),
            4);
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(DISTINCT TestID) FROM tblCatalogMap")),
                 2);
    }

    void testIdsWithBlanksAndTakenTestIds()
    {
        TestWarehouse warehouse;
        springMap();
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0003"), 1);
        const QString refused =
            copyMapToTestIds(springKey(), QStringLiteral("0012, 0012 ,0003,0004"), kNow, kUser);
        QCOMPARE(
            refused,
            QStringLiteral(
                "The Test ID:0012 is already plesent. Skipping the process for this Test ID.\r"
                "The Test ID:0003 is already plesent. Skipping the process for this Test ID.\r"));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0012")),
                 12);
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0003")),
                 1);
        QCOMPARE(
            placements(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0003")),
            0);
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0004")),
                 12);
    }

    void deleteMapRemovesOnlyItsOwnRows()
    {
        TestWarehouse warehouse;
        springMap();
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0001"), 1);
        fixture::Placement other;
        other.product = QStringLiteral("B1");
        other.test = QStringLiteral("0001");
        fixture::placement(other);
        const QString insert = QStringLiteral("01022026120000");
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 1);
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 2);
        fixture::Placement onInsert;
        onInsert.product = QStringLiteral("B2");
        onInsert.club = QVariant();
        onInsert.test = QVariant();
        onInsert.catalog = insert;
        fixture::placement(onInsert);
        onInsert.page = 2;
        fixture::placement(onInsert);

        QVERIFY(deleteMap(NodeKey(NodeKey::pageKey(NodeKey::insertKey(insert), 2))));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap")), 0);
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE CatalogID = ?"),
                     {insert}),
                 0);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 5);

        // A page key deletes the whole map of its test, and only that test.
        QVERIFY(deleteMap(springKey(3)));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")),
                 0);
        QCOMPARE(
            placements(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")),
            0);
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0001")),
                 1);
        QCOMPARE(
            placements(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0001")),
            1);

        QVERIFY(!deleteMap(NodeKey(QStringLiteral("CTG"))));
        QVERIFY(!deleteMap(NodeKey()));
    }

    void addAndRemovePages()
    {
        TestWarehouse warehouse;
        springMap();
        QVERIFY(addPageToMap(springKey(3), QStringLiteral("  Gifts  ")));
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")),
                 13);
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 13),
                 QStringLiteral("Gifts"));

        QVERIFY(removePageFromMap(springKey(3)));
        QVERIFY(removePageFromMap(springKey(3)));
        // Pages 13 and 12 went, with the placement on 12; page 3 stays.
        QCOMPARE(pages(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")),
                 11);
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 3),
                 QStringLiteral("Section 3"));
        QVERIFY(productsOnPage(12).isEmpty());
        QCOMPARE(productsOnPage(3), QStringList{QStringLiteral("B3")});

        QVERIFY(!addPageToMap(NodeKey(QStringLiteral("SRT")), QStringLiteral("x")));
        QVERIFY(!removePageFromMap(NodeKey(QStringLiteral("CTG"))));
    }

    void addPageToAMapWithoutPagesStartsAtOne()
    {
        TestWarehouse warehouse;
        QVERIFY(addPageToMap(springKey(), QStringLiteral("Front")));
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 1),
                 QStringLiteral("Front"));
        QVERIFY(addPageToMap(NodeKey(NodeKey::insertKey(QStringLiteral("01022026120000"))),
                             QStringLiteral("Cover")));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT PageNum FROM tblInsertMap")), 1);
    }

    void insertPagesKeepTheInsertsDescription()
    {
        TestWarehouse warehouse;
        const QString insert = QStringLiteral("01022026120000");
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 1);
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 2);
        const NodeKey key(NodeKey::pageKey(NodeKey::insertKey(insert), 1));
        QVERIFY(addPageToMap(key, QStringLiteral(" Back ")));
        QCOMPARE(TestWarehouse::scalar(
                     QStringLiteral("SELECT InsertDescription FROM tblInsertMap WHERE PageNum = 3"))
                     .toString(),
                 QStringLiteral("Winter Flyer"));
        QVERIFY(editSectionOfPage(key, QStringLiteral("  Cover ")));
        QCOMPARE(TestWarehouse::scalar(
                     QStringLiteral("SELECT PageSection FROM tblInsertMap WHERE PageNum = 1"))
                     .toString(),
                 QStringLiteral("Cover"));
        QVERIFY(removePageFromMap(key));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT MAX(PageNum) FROM tblInsertMap")), 2);
    }

    // The server keeps an insert's name in 100 characters and a page section in 50; the client
    // refuses longer ones itself, naming the limit, on every warehouse.
    void textsLongerThanTheirColumnsAreRefused_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");
        const QString name100(100, u'n');
        const QString section50(50, u's');
        const QString insertRefusal =
            QStringLiteral("Insert Description can't exceed 100 characters.");
        const QString sectionRefusal = QStringLiteral("Page Section can't exceed 50 characters.");
        QTest::newRow("rename, 100") << "rename" << name100 << QString();
        QTest::newRow("rename, 101") << "rename" << name100 + u'n' << insertRefusal;
        QTest::newRow("add page, 50 and blanks")
            << "add page" << QStringLiteral("  ") + section50 + QStringLiteral("  ") << QString();
        QTest::newRow("add page, 51") << "add page" << section50 + u's' << sectionRefusal;
        QTest::newRow("edit section, 50") << "edit section" << section50 << QString();
        QTest::newRow("edit section, 51") << "edit section" << section50 + u's' << sectionRefusal;
        QTest::newRow("new insert, 101") << "new insert" << name100 + u'n' << insertRefusal + u'\r';
        QTest::newRow("new map section, 51")
            << "new map" << section50 + u's' << QStringLiteral("Page 2: ") + sectionRefusal + u'\r';
    }

    void textsLongerThanTheirColumnsAreRefused()
    {
        QFETCH(QString, operation);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        TestWarehouse warehouse;
        const QString insert = QStringLiteral("01022026120000");
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 1);
        const NodeKey page(NodeKey::pageKey(NodeKey::insertKey(insert), 1));
        // The last page's name and section.
        const auto stored = [] {
            Query last(QStringLiteral("SELECT InsertDescription, PageSection FROM tblInsertMap "
                                      "ORDER BY PageNum DESC"));
            return last.execFirst() ? last.text(0) + u'|' + last.text(1) : QString();
        };
        const QString before = stored();

        catalogbuild::NewMap map;
        map.insert = operation == QLatin1String("new insert");
        map.catalogID = map.insert ? text : QStringLiteral("SPRING");
        map.pages = {{QStringLiteral("1"), QStringLiteral("Cover")},
                     {QStringLiteral("2"), map.insert ? QString() : text}};
        QString message;
        try {
            if (operation == QLatin1String("rename"))
                renameInsert(insert, text);
            else if (operation == QLatin1String("add page"))
                addPageToMap(page, text);
            else if (operation == QLatin1String("edit section"))
                editSectionOfPage(page, text);
            else
                message = catalogbuild::ValidateNewMap(map).section(u'\r', 0, 0) + u'\r';
        } catch (const DbError &error) {
            message = error.description();
        }
        if (!refusal.isEmpty()) {
            QCOMPARE(message, refusal);
            QCOMPARE(stored(), before);
            QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap")), 1);
        } else {
            QVERIFY2(message.isEmpty(), qPrintable(message));
            const int column = operation == QLatin1String("rename") ? 0 : 1;
            QCOMPARE(stored().section(u'|', column, column), text.trimmed());
        }
    }

    void editSectionNeedsAPage()
    {
        TestWarehouse warehouse;
        springMap();
        QVERIFY(editSectionOfPage(springKey(4), QStringLiteral("  New Arrivals  ")));
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 4),
                 QStringLiteral("New Arrivals"));
        QVERIFY(!editSectionOfPage(springKey(), QStringLiteral("x")));
        QVERIFY(!editSectionOfPage(NodeKey(QStringLiteral("CTG")), QStringLiteral("x")));
    }

    void switchPageNumbers_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("other");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("onPage2");
        QTest::addColumn<QStringList>("onPage4");
        const QStringList b2{QStringLiteral("B2")};
        const QStringList b4{QStringLiteral("B4")};
        QTest::newRow("2 with 4 swaps") << 2 << 4 << int(SwitchPagesResult::Switched) << b4 << b2;
        QTest::newRow("4 with 2 swaps") << 4 << 2 << int(SwitchPagesResult::Switched) << b4 << b2;
        QTest::newRow("3 with 3 keeps") << 3 << 3 << int(SwitchPagesResult::Switched) << b2 << b4;
        QTest::newRow("missing page") << 3 << 5 << int(SwitchPagesResult::InvalidPage) << b2 << b4;
        QTest::newRow("map key") << 0 << 2 << int(SwitchPagesResult::NotAPage) << b2 << b4;
    }

    void switchPageNumbers()
    {
        QFETCH(int, selected);
        QFETCH(int, other);
        QFETCH(int, result);
        QFETCH(QStringList, onPage2);
        QFETCH(QStringList, onPage4);
        TestWarehouse warehouse;
        springMap(4);
        QCOMPARE(int(catalog::switchPageNumbers(springKey(selected), other)), result);
        QCOMPARE(productsOnPage(2), onPage2);
        QCOMPARE(productsOnPage(4), onPage4);
        QCOMPARE(productsOnPage(3), QStringList{QStringLiteral("B3")});
        // The pages keep their sections.
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 2),
                 QStringLiteral("Section 2"));
        QCOMPARE(section(QStringLiteral("SPRING"), QStringLiteral("0000"), 4),
                 QStringLiteral("Section 4"));
    }

    void switchInsertPages()
    {
        TestWarehouse warehouse;
        const QString insert = QStringLiteral("01022026120000");
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 1);
        fixture::insertPage(insert, QStringLiteral("Winter Flyer"), 2);
        fixture::product(QStringLiteral("B1"));
        fixture::Placement onInsert;
        onInsert.product = QStringLiteral("B1");
        onInsert.club = QVariant();
        onInsert.test = QVariant();
        onInsert.catalog = insert;
        fixture::placement(onInsert);
        const NodeKey key(NodeKey::pageKey(NodeKey::insertKey(insert), 1));
        QCOMPARE(catalog::switchPageNumbers(key, 2), SwitchPagesResult::Switched);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT PageNum FROM tblProductsMap")), 2);
        QCOMPARE(catalog::switchPageNumbers(key, 3), SwitchPagesResult::InvalidPage);
    }

    // A catalog ID is free text, so a catalog may carry the ID of an insert. The insert's
    // operations keep to the insert's own placements, which have neither club nor test.
    void insertOperationsLeaveACatalogOfTheSameIdAlone()
    {
        TestWarehouse warehouse;
        const QString id = QStringLiteral("01022026120000");
        for (const QString &product :
             {QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")})
            fixture::product(product);
        for (int page = 1; page <= 2; ++page) {
            fixture::insertPage(id, QStringLiteral("Winter Flyer"), page);
            fixture::catalogPage(QStringLiteral("MYST"), id, QStringLiteral("0000"), page);
            fixture::Placement onInsert;
            onInsert.product = QStringLiteral("B1");
            onInsert.club = QVariant();
            onInsert.test = QVariant();
            onInsert.catalog = id;
            onInsert.page = page;
            fixture::placement(onInsert);
            fixture::Placement onCatalog;
            onCatalog.product = page == 1 ? QStringLiteral("B2") : QStringLiteral("B3");
            onCatalog.catalog = id;
            onCatalog.page = page;
            fixture::placement(onCatalog);
        }
        const auto catalogPlacements = [] {
            QStringList found;
            Query query(QStringLiteral("SELECT ProductID, PageNum FROM tblProductsMap WHERE "
                                       "ClubID = 'MYST' ORDER BY ProductID"));
            query.exec();
            while (query.next())
                found << query.text(0) + QLatin1Char('@') + query.text(1);
            return found;
        };
        const QStringList before{QStringLiteral("B2@1"), QStringLiteral("B3@2")};
        const NodeKey insert(NodeKey::insertKey(id));

        int listed = 0;
        loadPageProducts(insert, [&listed](QStringList &&) { ++listed; });
        QCOMPARE(listed, 2);

        QCOMPARE(catalog::switchPageNumbers(NodeKey(NodeKey::pageKey(insert.key(), 1)), 2),
                 SwitchPagesResult::Switched);
        QCOMPARE(catalogPlacements(), before);
        QVERIFY(removePageFromMap(insert));
        QCOMPARE(catalogPlacements(), before);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE "
                                                     "ClubID IS NULL")),
                 1);
        QVERIFY(deleteMap(insert));
        QCOMPARE(catalogPlacements(), before);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 2);
        QCOMPARE(pages(QStringLiteral("MYST"), id, QStringLiteral("0000")), 2);
    }
};

FOLVANE_DATABASE_TEST_MAIN(MapOperationsTest)
#include "tst_map_operations.moc"
