// The catalog editor's product lists: placements of a map or page with their formats, the next
// free position, recommendations, recurring products and the inventory search by column.
#include "CatalogEditFixtures.h"
#include "TestWarehouse.h"
#include "catalog/Placement.h"
#include "catalog/ProductGrids.h"
#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QTest>

using namespace catalog;

namespace {

QList<QStringList> rowsOf(const std::function<void(const RowSink &)> &loader)
{
    QList<QStringList> rows;
    loader([&rows](QStringList &&row) { rows << row; });
    return rows;
}

QList<QStringList> placements(const QString &key)
{
    return rowsOf([&key](const RowSink &sink) { loadPageProducts(NodeKey(key), sink); });
}

QStringList column(const QList<QStringList> &rows, int c)
{
    QStringList values;
    for (const QStringList &row : rows)
        values << row.at(c);
    return values;
}

QList<QStringList> search(int column, const QString &criterion)
{
    return rowsOf([&](const RowSink &sink) { searchInventoryMaster(column, criterion, sink); });
}

QString club() { return QStringLiteral("MYST"); }
QString spring() { return QStringLiteral("SPRING"); }

} // namespace

class ProductGridsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placementRowFormats()
    {
        TestWarehouse warehouse;
        fixture::Product p;
        p.id = QStringLiteral("B100");
        p.name = QStringLiteral("The Long Night");
        p.msrp = QVariant();
        p.lastPrice = 1234.5;
        p.onHand = 12345;
        fixture::product(p);
        fixture::Placement placed;
        placed.product = p.id;
        placed.page = 3;
        placed.position = 2;
        placed.price = 9.99;
        placed.discount = 12.5;
        placed.descType = QStringLiteral("Short");
        const qlonglong itemId = fixture::placement(placed);
        placed.position = 3;
        placed.price = QVariant();
        placed.discount = QVariant();
        fixture::placement(placed);

        const auto rows = placements(QStringLiteral("ID|MYST|SPRING|0000|003"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0],
                 (QStringList{QString::number(itemId), spring(), QStringLiteral("0000"), club(),
                              QStringLiteral("B100"), QStringLiteral("3"), QStringLiteral("2"),
                              QStringLiteral("The Long Night"), QStringLiteral("$0.00"),
                              QStringLiteral("$9.99"), QStringLiteral("12.50%"),
                              QStringLiteral("$1,234.50"), QStringLiteral("Short"),
                              QStringLiteral("11.11"), QString(), QString(), QStringLiteral("Yes"),
                              QStringLiteral("Fiction / Mystery"), QStringLiteral("12,345")}));
        QCOMPARE(rows[1].at(9), QStringLiteral("$0.00"));
        QCOMPARE(rows[1].at(10), QStringLiteral("0.00%"));
        QCOMPARE(chosenProductsHeaders().size(), 19);
    }

    // Product maintenance deletes only the master row: the placement stays, is listed with empty
    // product columns (its own price, discount, size and weight kept) and can be deleted.
    void placementOfAGoneProductIsListedAndDeletable()
    {
        TestWarehouse warehouse;
        fixture::product(QStringLiteral("B1"));
        fixture::product(QStringLiteral("B2"));
        fixture::placement(QStringLiteral("B1"), 3, 1);
        const qlonglong gone = fixture::placement(QStringLiteral("B2"), 3, 2);
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblInvMaster WHERE ProductID = 'B2'"));

        auto rows = placements(QStringLiteral("ID|MYST|SPRING|0000|003"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1], (QStringList{QString::number(gone), spring(), QStringLiteral("0000"),
                                       club(), QStringLiteral("B2"), QStringLiteral("3"),
                                       QStringLiteral("2"), QString(), QString(),
                                       QStringLiteral("$15.00"), QStringLiteral("25.00%"),
                                       QString(), QStringLiteral("Blank"), QStringLiteral("11.11"),
                                       QString(), QString(), QString(), QString(), QString()}));
        QCOMPARE(rows[0].at(7), QStringLiteral("A Book"));

        deletePlacement(rows[1].at(kChosenItemIdColumn));
        rows = placements(QStringLiteral("ID|MYST|SPRING|0000|003"));
        QCOMPARE(column(rows, kChosenProductIdColumn), QStringList{QStringLiteral("B1")});
    }

    // A test node lists every page of its test, a page node its page; other tests, other catalogs
    // and inserts stay out, and an insert lists the placements stored under its ID.
    void placementsOfTheSelectedNodeOnly()
    {
        TestWarehouse warehouse;
        fixture::product(QStringLiteral("B1"));
        fixture::placement(QStringLiteral("B1"), 1, 1);
        fixture::placement(QStringLiteral("B1"), 2, 1);
        fixture::Placement other;
        other.product = QStringLiteral("B1");
        other.test = QStringLiteral("0001");
        fixture::placement(other);
        fixture::Placement insert;
        insert.product = QStringLiteral("B1");
        insert.club = QVariant();
        insert.test = QVariant();
        insert.catalog = QStringLiteral("01152024093000");
        fixture::placement(insert);
        insert.page = 2;
        fixture::placement(insert);

        QCOMPARE(column(placements(QStringLiteral("ID|MYST|SPRING|0000")), 5),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        QCOMPARE(column(placements(QStringLiteral("ID|MYST|SPRING|0000|002")), 5),
                 QStringList{QStringLiteral("2")});
        QCOMPARE(placements(QStringLiteral("ID|MYST|SPRING|0001")).size(), 1);
        QCOMPARE(placements(QStringLiteral("INS|01152024093000")).size(), 2);
        const auto insertPage = placements(QStringLiteral("INS|01152024093000|002"));
        QCOMPARE(insertPage.size(), 1);
        QCOMPARE(insertPage[0].at(3), QString()); // no club
        QVERIFY(placements(QStringLiteral("CTG")).isEmpty());
    }

    // The next position follows the last placement listed, not the largest position.
    void nextFreePositionFollowsTheLastListed()
    {
        TestWarehouse warehouse;
        fixture::product(QStringLiteral("B1"));
        fixture::placement(QStringLiteral("B1"), 1, 9);
        fixture::placement(QStringLiteral("B1"), 1, 7);
        const auto rows = placements(QStringLiteral("ID|MYST|SPRING|0000|001"));
        QCOMPARE(nextFreePosition(rows.last().at(kChosenPositionColumn)), QStringLiteral("8"));
        QCOMPARE(nextFreePosition(std::nullopt), QStringLiteral("1"));
    }

    void recommendationsBestFirst()
    {
        TestWarehouse warehouse;
        for (const char *id : {"R1", "R2", "R3", "R4", "R5"})
            fixture::product(QString::fromLatin1(id));
        fixture::Product inactive;
        inactive.id = QStringLiteral("R6");
        inactive.activeProd = 0;
        fixture::product(inactive);
        const auto recommend = [](const QVariant &clubId, const char *catalogId, const char *id,
                                  const QVariant &sales, const QVariant &rank) {
            TestWarehouse::exec(
                QStringLiteral("INSERT INTO tblInvRecommendations (ClubID, "
                               "CatalogID, ProductID, FcstSales, ProdRank) VALUES "
                               "(?, ?, ?, ?, ?)"),
                {clubId, QString::fromLatin1(catalogId), QString::fromLatin1(id), sales, rank});
        };
        recommend(club(), "SPRING", "R3", 500.0, 1);
        recommend(club(), "SPRING", "R2", 900.0, 2);
        recommend(club(), "SPRING", "R5", 500.0, 7);
        recommend(club(), "SPRING", "R1", 500.0, 7);
        recommend(club(), "SPRING", "R6", QVariant(), QVariant());
        recommend(QStringLiteral("KIDS"), "SPRING", "R4", 9999.0, 1);
        recommend(QVariant(), "01152024093000", "R4", 10.0, 1);

        QList<QStringList> rows = rowsOf([](const RowSink &sink) {
            loadRecommendations(NodeKey(QStringLiteral("ID|MYST|SPRING|0001|004")), sink);
        });
        QCOMPARE(column(rows, 0),
                 (QStringList{QStringLiteral("R2"), QStringLiteral("R1"), QStringLiteral("R5"),
                              QStringLiteral("R3"), QStringLiteral("R6")}));
        QCOMPARE(rows[0].at(6), QStringLiteral("$900.00"));
        QCOMPARE(rows[0].at(5), QStringLiteral("Yes"));
        QCOMPARE(rows[4].at(5), QStringLiteral("No"));
        QCOMPARE(rows[4].at(6), QStringLiteral("$0.00"));
        QCOMPARE(rows[4].at(7), QStringLiteral("0"));
        QCOMPARE(rows[0].size(), recommendedHeaders().size());

        rows = rowsOf([](const RowSink &sink) {
            loadRecommendations(NodeKey(QStringLiteral("INS|01152024093000")), sink);
        });
        QCOMPARE(column(rows, 0), QStringList{QStringLiteral("R4")});
    }

    void recurringProductsOfScheduledCatalogs()
    {
        TestWarehouse warehouse;
        fixture::Product counted;
        counted.id = QStringLiteral("C1");
        counted.onHand = 1234;
        counted.upc = QStringLiteral(" 0123 ");
        fixture::product(counted);
        fixture::Product unknown;
        unknown.id = QStringLiteral("C2");
        unknown.onHand = QVariant();
        unknown.activeProd = 0;
        unknown.manufacturer = QVariant();
        fixture::product(unknown);
        fixture::schedule(club(), spring());
        for (const char *id : {"C1", "C2"})
            TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, "
                                               "CatalogID, ProductID) VALUES (?, ?, ?)"),
                                {club(), spring(), QString::fromLatin1(id)});
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, "
                                           "CatalogID, ProductID) VALUES ('MYST', 'FALL', 'C1')"));

        auto rows =
            rowsOf([](const RowSink &sink) { loadRecurringProducts(club(), spring(), sink); });
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows.size(), 2);
        QCOMPARE(
            rows[0],
            (QStringList{QStringLiteral("C1"), QStringLiteral("0123"), QStringLiteral("A Book"),
                         QStringLiteral("X"), QStringLiteral("Harbor Lane Press"),
                         QStringLiteral("Fiction / Mystery"), QStringLiteral("1,234")}));
        QCOMPARE(rows[1].at(3), QString());
        QCOMPARE(rows[1].at(4), QString());
        QCOMPARE(rows[1].at(6), QStringLiteral("0"));
        // Not in the schedule: nothing.
        QVERIFY(rowsOf([](const RowSink &sink) {
                    loadRecurringProducts(club(), QStringLiteral("FALL"), sink);
                }).isEmpty());
    }

    void searchRefusals_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QString>("message");
        const QString numeric =
            QStringLiteral("The search field only accepts numeric values. Please try again.");
        const QString date =
            QStringLiteral("The search field only accepts date values. Please try again.");
        QTest::newRow("yes in Active") << 3 << QStringLiteral("yes") << numeric;
        QTest::newRow("word in MSRP") << 7 << QStringLiteral("cheap") << numeric;
        QTest::newRow("word in Release Date") << 10 << QStringLiteral("soon") << date;
        QTest::newRow("day first") << 14 << QStringLiteral("31/12/2024") << date;
        QTest::newRow("column 25")
            << 25 << QStringLiteral("x")
            << QStringLiteral("Please double click on the column to search for the items.");
        QTest::newRow("1 in Active") << 3 << QStringLiteral(" 1 ") << QString();
        QTest::newRow("date") << 12 << QStringLiteral("12/31/2024") << QString();
        QTest::newRow("anything in a text column") << 9 << QStringLiteral("'%_") << QString();
    }
    void searchRefusals()
    {
        QFETCH(int, column);
        QFETCH(QString, criterion);
        QFETCH(QString, message);
        QCOMPARE(inventorySearchRefusal(column, criterion).value_or(QString()), message);
    }

    void searchByColumnKinds()
    {
        TestWarehouse warehouse;
        fixture::Product p;
        p.id = QStringLiteral("P2");
        p.name = QStringLiteral("Alpha Murders");
        p.category = 11; // Fiction / Mystery
        p.releaseDate = QStringLiteral("2024-03-05");
        p.msrp = 1234.5;
        fixture::product(p);
        p.id = QStringLiteral("P1");
        p.name = QStringLiteral("Zulu Murders");
        p.category = 1; // Fiction
        p.releaseDate = QString();
        p.msrp = 10.0;
        p.activeProd = 0;
        p.activeWeb = 1;
        fixture::product(p);
        p.id = QStringLiteral("P3");
        p.name = QStringLiteral("Alpha Murders");
        p.category = 22; // Nonfiction / History
        p.activeProd = 1;
        p.activeWeb = 0;
        fixture::product(p);
        p.id = QStringLiteral("P0");
        p.name = QStringLiteral("Murders Never Sold");
        p.activeProd = 0;
        fixture::product(p);

        // Text: contains, without regard to case; column 0 by ProductID alone, others then ID.
        QCOMPARE(column(search(0, QStringLiteral("p")), 0),
                 (QStringList{QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")}));
        QCOMPARE(column(search(2, QStringLiteral(" murders ")), 0),
                 (QStringList{QStringLiteral("P2"), QStringLiteral("P3"), QStringLiteral("P1")}));
        QVERIFY(inventorySearchStatement(0).endsWith(QLatin1String(" ORDER BY ProductID")));
        QVERIFY(
            inventorySearchStatement(2).endsWith(QLatin1String(" ORDER BY ProductName,ProductID")));
        // Number: equality, a typed thousands separator allowed.
        QCOMPARE(column(search(7, QStringLiteral("1,234.50")), 0),
                 QStringList{QStringLiteral("P2")});
        QCOMPARE(column(search(3, QStringLiteral("1")), 0),
                 (QStringList{QStringLiteral("P2"), QStringLiteral("P3")}));
        // Date: the day typed month first.
        const auto dated = search(10, QStringLiteral("3/5/2024"));
        QCOMPARE(column(dated, 0), QStringList{QStringLiteral("P2")});
        QCOMPARE(dated[0].size(), kInventoryColumns);
        QCOMPARE(dated[0].at(10), QStringLiteral("03/05/2024"));
        QCOMPARE(dated[0].at(5), QStringLiteral("Fiction / Mystery"));
        QCOMPARE(dated[0].at(9), QStringLiteral("Harbor Lane Press"));
        // Flags read True/False, as in the inventory maintenance list.
        QCOMPARE(dated[0].at(3), QStringLiteral("True"));
        QCOMPARE(dated[0].at(4), QStringLiteral("False"));
        QCOMPARE(dated[0].at(16), QStringLiteral("False"));
        // Category: the parent's name matches its children too; a quote is only text.
        QCOMPARE(column(search(5, QStringLiteral("fiction")), 0),
                 (QStringList{QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")}));
        QCOMPARE(column(search(5, QStringLiteral("Myst")), 0), QStringList{QStringLiteral("P2")});
        QCOMPARE(column(search(5, QStringLiteral("nonfiction")), 0),
                 QStringList{QStringLiteral("P3")});
        QVERIFY(search(5, QStringLiteral("x' OR '1'='1")).isEmpty());
        QVERIFY(!inventorySearchStatement(5).contains(QLatin1String("fiction")));
    }

    void aSearchRowHoldsEveryShownColumnOfItsProduct()
    {
        // Each of the grid's 25 columns comes from its own field, the unshown ones being left out.
        TestWarehouse warehouse;
        TestWarehouse::exec(
            QStringLiteral(
                "INSERT INTO tblInvMaster (ProductID, ProductUPC, ProductName, ActiveProd, "
                "ActiveWeb, Category, ProdCost, MSRP, LastPrice, ManufacturerID, ReleaseDate, "
                "DistEndDate, FirstUseDate, FirstUseCycle, LastUseDate, LastUseCycle, "
                "FeaturedProd, OnHand, Status, Comments, Source, Weight, Length, Height, Width, "
                "ArtSource, ModifyUser, Filler1) VALUES (?, ?, ?, 1, 0, 11, 4.5, 19.95, 17.5, 1, "
                "?, ?, ?, ?, ?, ?, 1, 42, ?, ?, ?, 1.25, 9, 6, 0.5, ?, ?, ?)"),
            {QStringLiteral("Q1"), QStringLiteral("0123456789012"), QStringLiteral("Quiet Murders"),
             fixture::dateOrNull(QStringLiteral("2024-01-02")),
             fixture::dateOrNull(QStringLiteral("2025-03-04")),
             fixture::dateOrNull(QStringLiteral("2024-05-06")), QStringLiteral("SPR24"),
             fixture::dateOrNull(QStringLiteral("2024-07-08")), QStringLiteral("SUM24"),
             QStringLiteral("Open"), QStringLiteral("a comment"), QStringLiteral("Warehouse B"),
             QStringLiteral("Studio"), QStringLiteral("someone"), QStringLiteral("filler")});
        const auto rows = search(0, QStringLiteral("Q1"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0],
                 QStringLiteral("Q1|0123456789012|Quiet Murders|True|False|Fiction / Mystery|4.5|"
                                "19.95|17.5|Harbor Lane Press|01/02/2024|03/04/2025|05/06/2024|"
                                "SPR24|07/08/2024|SUM24|True|42|Open|Warehouse B|1.25|9|6|0.5|"
                                "Studio")
                     .split(QLatin1Char('|')));
    }

    void aNameSearchReadsInTheNamesOrderWithoutSorting()
    {
        // So its first rows reach the window before the last are read (the embedded warehouse's
        // index on the name; the server's driver reads a whole result before its first row).
        TestWarehouse warehouse;
        if (warehouse::dialect() != Dialect::SQLite)
            QSKIP("the server's plan is the server's");
        for (const InventoryScope scope : {InventoryScope::ActiveOnly, InventoryScope::AllProducts}) {
            Query plan(QStringLiteral("EXPLAIN QUERY PLAN ") + inventorySearchStatement(2, scope));
            plan.bind(QStringLiteral("murders")).exec();
            QStringList steps;
            while (plan.next())
                steps << plan.text(3);
            const QString described = steps.join(QLatin1Char('|'));
            QVERIFY2(described.contains(QLatin1String("ixInvMasterName")), qPrintable(described));
            QVERIFY2(!described.contains(QLatin1String("ORDER BY")), qPrintable(described));
        }
    }

    void searchesReadTheEmbeddedWarehouseThroughAMap()
    {
        // Each row of a search looks up its manufacturer and category, all over the file.
        TestWarehouse warehouse;
        if (warehouse::dialect() != Dialect::SQLite)
            QSKIP("the server reads its own pages");
        QCOMPARE(TestWarehouse::scalar(QStringLiteral("PRAGMA mmap_size")).toLongLong(),
                 warehouse::kMappedBytes);
    }
};

FOLVANE_DATABASE_TEST_MAIN(ProductGridsTest)
#include "tst_product_grids.moc"
