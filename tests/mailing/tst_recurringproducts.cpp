// The recurring products calendar's core: the products recurring anywhere, the product search and
// the list items. The calendar and its transfers are shown through the window.
#include "../catalog/CatalogEditFixtures.h"
#include "TestWarehouse.h"
#include "mailing/RecurringProducts.h"

#include <QTest>

using namespace recurring;

namespace {

void recurs(const QString &club, const QString &catalog, const QString &product)
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, "
                                       "ProductID) VALUES (?, ?, ?)"),
                        {club, catalog, product});
}

QList<QStringList> allRecurring()
{
    QList<QStringList> rows;
    loadAllRecurringProducts([&rows](QStringList &&row) { rows << row; });
    return rows;
}

} // namespace

class tst_recurringproducts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;

private Q_SLOTS:
    void init() { m_warehouse = std::make_unique<TestWarehouse>(); }
    void cleanup() { m_warehouse.reset(); }

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
};

FOLVANE_DATABASE_TEST_MAIN(tst_recurringproducts)
#include "tst_recurringproducts.moc"
