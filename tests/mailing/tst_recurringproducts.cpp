// The recurring products calendar's core: the calendar of a product, the transfers, the products
// recurring anywhere, the product search and the list items.
#include "../catalog/CatalogEditFixtures.h"
#include "TestWarehouse.h"
#include "mailing/RecurringProducts.h"
#include "warehouse/DbError.h"

#include <QTest>

using namespace recurring;

namespace {

void recurs(const QString &club, const QString &catalog, const QString &product)
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, "
                                       "ProductID) VALUES (?, ?, ?)"),
                        {club, catalog, product});
}

int recurrences(const QString &product)
{
    return TestWarehouse::count(
        QStringLiteral("SELECT COUNT(*) FROM tblRecurringCatgProducts WHERE ProductID = ?"),
        {product});
}

QList<QStringList> allRecurring()
{
    QList<QStringList> rows;
    loadAllRecurringProducts([&rows](QStringList &&row) { rows << row; });
    return rows;
}

QStringList recurringIds()
{
    QStringList ids;
    for (const QStringList &row : allRecurring())
        ids << row.at(0);
    return ids;
}

// Four scheduled catalogs, scheduled out of order so the order of arrival proves nothing.
void scheduleFour()
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("WINTER"));
    fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("SPRING"));
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("AUTUMN"));
    fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL"));
}

const QStringList kAllFour{QStringLiteral("BOOK | FALL"), QStringLiteral("BOOK | SPRING"),
                           QStringLiteral("MYST | AUTUMN"), QStringLiteral("MYST | WINTER")};

} // namespace

class tst_recurringproducts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;

private Q_SLOTS:
    void init() { m_warehouse = std::make_unique<TestWarehouse>(); }
    void cleanup() { m_warehouse.reset(); }

    void calendarOfAProductRecurringNowhere()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        fixture::product(QStringLiteral("P2"));
        // Another product's recurrence and a catalog gone from the schedule change nothing.
        recurs(QStringLiteral("BOOK"), QStringLiteral("FALL"), QStringLiteral("P2"));
        recurs(QStringLiteral("GONE"), QStringLiteral("OLD"), QStringLiteral("P1"));
        const Calendar calendar = loadProductCalendar(QStringLiteral(" P1 "));
        QCOMPARE(calendar.available, kAllFour);
        QCOMPARE(calendar.scheduled, QStringList());
        // No product chosen: no calendar at all.
        QCOMPARE(loadProductCalendar(QStringLiteral("  ")).available, QStringList());
    }

    void addingAndRemovingCatalogs()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        fixture::product(QStringLiteral("P2"));
        recurs(QStringLiteral("MYST"), QStringLiteral("AUTUMN"), QStringLiteral("P2"));
        QCOMPARE(recurringIds(), QStringList{QStringLiteral("P2")});

        // Last to first, as the window hands them over; each item moves once written.
        QStringList moved;
        const QStringList chosen{QStringLiteral("MYST | WINTER"), QStringLiteral(" BOOK | FALL ")};
        transfer(Transfer::Add, QStringLiteral(" P1 "), chosen,
                 [&moved](const QString &item) { moved << item; });
        QCOMPARE(moved, chosen);
        QCOMPARE(recurrences(QStringLiteral("P1")), 2);
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblRecurringCatgProducts WHERE ClubID = 'BOOK' AND "
                     "CatalogID = 'FALL' AND ProductID = 'P1'")),
                 1);
        Calendar calendar = loadProductCalendar(QStringLiteral("P1"));
        QCOMPARE(calendar.scheduled,
                 (QStringList{QStringLiteral("BOOK | FALL"), QStringLiteral("MYST | WINTER")}));
        QCOMPARE(calendar.available,
                 (QStringList{QStringLiteral("BOOK | SPRING"), QStringLiteral("MYST | AUTUMN")}));
        // Listed once, however many catalogs it recurs in.
        QCOMPARE(recurringIds(), (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));

        transfer(Transfer::Remove, QStringLiteral("P1"), {QStringLiteral("MYST | WINTER")});
        QCOMPARE(recurringIds(), (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));
        transfer(Transfer::Remove, QStringLiteral("P1"), {QStringLiteral("BOOK | FALL")});
        QCOMPARE(recurrences(QStringLiteral("P1")), 0);
        QCOMPARE(recurringIds(), QStringList{QStringLiteral("P2")});
        QCOMPARE(loadProductCalendar(QStringLiteral("P1")).available, kAllFour);
    }

    void noTransferWithoutAProduct()
    {
        scheduleFour();
        bool called = false;
        transfer(Transfer::Add, QStringLiteral("   "), {QStringLiteral("BOOK | FALL")},
                 [&called](const QString &) { called = true; });
        QVERIFY(!called);
        QCOMPARE(
            TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblRecurringCatgProducts")),
            0);
    }

    void aFailurePartWayKeepsWhatWasWritten()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        recurs(QStringLiteral("BOOK"), QStringLiteral("SPRING"), QStringLiteral("P1"));
        QStringList moved;
        try {
            transfer(Transfer::Add, QStringLiteral("P1"),
                     {QStringLiteral("MYST | WINTER"), QStringLiteral("BOOK | SPRING"),
                      QStringLiteral("BOOK | FALL")},
                     [&moved](const QString &item) { moved << item; });
            QFAIL("The second row violates the key");
        } catch (const DbError &error) {
            QVERIFY(!error.description().isEmpty());
        }
        QCOMPARE(moved, QStringList{QStringLiteral("MYST | WINTER")});
        QCOMPARE(loadProductCalendar(QStringLiteral("P1")).scheduled,
                 (QStringList{QStringLiteral("BOOK | SPRING"), QStringLiteral("MYST | WINTER")}));
    }

    void recurringProductsAsTheGridShowsThem()
    {
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL"));
        fixture::Product mystery;
        mystery.id = QStringLiteral("B200");
        mystery.name = QStringLiteral("Dark Water ");
        mystery.upc = QStringLiteral("0123");
        mystery.onHand = 1234;
        fixture::product(mystery);
        fixture::Product gift;
        gift.id = QStringLiteral("A100");
        gift.activeProd = 0;
        gift.category = 5; // Gifts, on the first level
        gift.onHand = QVariant();
        gift.manufacturer = QVariant();
        fixture::product(gift);
        fixture::product(QStringLiteral("C300")); // recurs only in an unscheduled catalog
        recurs(QStringLiteral("BOOK"), QStringLiteral("FALL"), QStringLiteral("B200"));
        recurs(QStringLiteral("BOOK"), QStringLiteral("FALL"), QStringLiteral("A100"));
        recurs(QStringLiteral("BOOK"), QStringLiteral("GONE"), QStringLiteral("C300"));

        QCOMPARE(allRecurring(),
                 (QList<QStringList>{
                     {QStringLiteral("A100"), QString(), QStringLiteral("A Book"), QString(),
                      QString(), QStringLiteral("Gifts"), QStringLiteral("0")},
                     {QStringLiteral("B200"), QStringLiteral("0123"), QStringLiteral("Dark Water"),
                      QStringLiteral("X"), QStringLiteral("Harbor Lane Press"),
                      QStringLiteral("Fiction / Mystery"), QStringLiteral("1,234")}}));
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
        QTest::newRow("units on hand, words") << 17 << QStringLiteral("many") << numeric;
        QTest::newRow("active, yes") << 3 << QStringLiteral("yes") << numeric;
        QTest::newRow("release date, words") << 10 << QStringLiteral("soon") << date;
        QTest::newRow("release date, no such day") << 10 << QStringLiteral("02/30/2025") << date;
        QTest::newRow("beyond the columns")
            << 25 << QStringLiteral("x")
            << QStringLiteral("Please double click on the column to search for the items.");
    }

    void searchRefusals()
    {
        QFETCH(int, column);
        QFETCH(QString, criterion);
        QFETCH(QString, message);
        bool rows = false;
        QCOMPARE(searchProducts(column, criterion, [&rows](QStringList &&) { rows = true; }),
                 std::optional<QString>(message));
        QVERIFY(!rows);
    }

    void searchFindsActiveProductsOnly()
    {
        const auto add = [](const char *id, int category, int activeProd, int activeWeb) {
            fixture::Product p;
            p.id = QString::fromLatin1(id);
            p.category = category;
            p.activeProd = activeProd;
            p.activeWeb = activeWeb;
            fixture::product(p);
        };
        add("C3", 32, 1, 0); // Children / Young Readers
        add("C1", 31, 0, 1); // Children / Picture Books, active on the web only
        add("C2", 33, 0, 0); // Children / Activity Books, inactive
        add("N1", 21, 1, 1); // Nonfiction / Biography
        add("C0", 3, 1, 0);  // Children itself

        const auto search = [](int column, const QString &criterion) {
            QStringList ids;
            const auto message = searchProducts(column, criterion, [&ids](QStringList &&row) {
                QCOMPARE(row.size(), kProductColumns);
                ids << row.at(0);
            });
            return message ? QStringList{*message} : ids;
        };
        const QStringList children{QStringLiteral("C0"), QStringLiteral("C1"),
                                   QStringLiteral("C3")};
        // A parent's word finds the products of all its subcategories, never the inactive one.
        QCOMPARE(search(5, QStringLiteral(" child ")), children);
        QCOMPARE(search(5, QStringLiteral("o'brien")), QStringList());
        QCOMPARE(search(0, QStringLiteral("c")), children);
        QCOMPARE(search(3, QStringLiteral("0")), QStringList{QStringLiteral("C1")});
        QCOMPARE(productHeaders().size(), kProductColumns);
    }

    void aFailingSearchSaysSo()
    {
        fixture::product(QStringLiteral("P1"));
        TestWarehouse::exec(QStringLiteral("ALTER TABLE tblManufactrurers RENAME TO tblGone"));
        QCOMPARE(searchProducts(0, QStringLiteral("P"), [](QStringList &&) {}),
                 std::optional<QString>(QStringLiteral(
                     "You have entered an invalid search parameter value. Please try again.")));
    }

    void listItems_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("club");
        QTest::addColumn<QString>("catalog");
        QTest::newRow("as listed")
            << QStringLiteral("BOOK | FALL") << QStringLiteral("BOOK") << QStringLiteral("FALL");
        QTest::newRow("padded") << QStringLiteral("  BOOK   |  FALL 25  ") << QStringLiteral("BOOK")
                                << QStringLiteral("FALL 25");
        QTest::newRow("bar in the catalog")
            << QStringLiteral("BOOK | A | B") << QStringLiteral("BOOK") << QStringLiteral("A | B");
        QTest::newRow("no separator")
            << QStringLiteral("BOOK") << QStringLiteral("BOOK") << QString();
    }

    void listItems()
    {
        QFETCH(QString, item);
        QFETCH(QString, club);
        QFETCH(QString, catalog);
        QCOMPARE(splitItem(item), std::make_pair(club, catalog));
        if (!catalog.isEmpty())
            QCOMPARE(splitItem(itemText(club, catalog)), std::make_pair(club, catalog));
    }

    void sortedPositionKeepsClubAndCatalogOrder()
    {
        const QStringList items{QStringLiteral("BOOK | FALL"), QStringLiteral("BOOK | SPRING"),
                                QStringLiteral("MYST | AUTUMN")};
        QCOMPARE(sortedPosition(items, QStringLiteral("AAA | Z")), 0);
        QCOMPARE(sortedPosition(items, QStringLiteral("book | GIFT")), 1);
        QCOMPARE(sortedPosition(items, QStringLiteral("BOOK | ZOO")), 2);
        QCOMPARE(sortedPosition(items, QStringLiteral("MYST | WINTER")), 3);
        QCOMPARE(sortedPosition({}, QStringLiteral("MYST | WINTER")), 0);
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_recurringproducts)
#include "tst_recurringproducts.moc"
