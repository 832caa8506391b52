// The new map builder without its window: the club and type lists, the default map, the checks and
// the save of catalog and insert maps.
#include "ScheduleFixture.h"
#include "TestWarehouse.h"
#include "catalog/CatalogBuild.h"
#include "warehouse/DbError.h"
#include "warehouse/Query.h"

#include <QCoreApplication>
#include <QTest>

using namespace catalogbuild;

namespace {

NewMap catalogMap(const QString &catalog, const QString &test)
{
    NewMap map;
    map.clubID = QStringLiteral("BOOK");
    map.catalogID = catalog;
    map.testID = test;
    map.pages = {{QStringLiteral("1"), QStringLiteral("Front Cover")},
                 {QStringLiteral("2"), QStringLiteral("Fiction")}};
    return map;
}

NewMap insertMap(const QString &name)
{
    NewMap map;
    map.insert = true;
    map.clubID = QStringLiteral("BOOK");
    map.catalogID = name;
    map.pages = {{QStringLiteral("1"), QStringLiteral("Front Cover")},
                 {QStringLiteral("2"), QStringLiteral("Back Cover")}};
    return map;
}

// "page:section" of every stored page of a query's rows, in page order.
QStringList storedPages(const QString &sql, const QVariantList &values)
{
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    query.exec();
    QStringList pages;
    while (query.next())
        pages << query.text(0) + u':' + query.text(1);
    return pages;
}

QStringList catalogPages(const QString &catalog, const QString &test)
{
    return storedPages(QStringLiteral("SELECT PageNum, PageSection FROM tblCatalogMap WHERE "
                                      "ClubID = 'BOOK' AND CatalogID = ? AND TestID = ? "
                                      "ORDER BY PageNum"),
                       {catalog, test});
}

QStringList insertPages(const QString &insertID)
{
    return storedPages(QStringLiteral("SELECT PageNum, PageSection FROM tblInsertMap WHERE "
                                      "InsertID = ? ORDER BY PageNum"),
                       {insertID});
}

const QDateTime kMoment(QDate(2025, 3, 7), QTime(14, 5, 9));

} // namespace

class tst_catalogbuild : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clubsWithTheirTypesDescending()
    {
        TestWarehouse warehouse;
        const QList<ClubTypes> clubs = LoadClubList();
        QCOMPARE(clubs.size(), 3);
        QCOMPARE(clubs.at(0).clubID, QStringLiteral("BOOK"));
        QCOMPARE(clubs.at(0).mapTypes, (QStringList{QStringLiteral("Standard Catalog Insert"),
                                                    QStringLiteral("Regular Catalog")}));
        QCOMPARE(clubs.at(2).clubID, QStringLiteral("MYST"));
        QCOMPARE(clubs.at(2).mapTypes, (QStringList{QStringLiteral("Regular Catalog"),
                                                    QStringLiteral("Mini Catalog Insert"),
                                                    QStringLiteral("Holiday Catalog")}));
    }

    void insertTypes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("insert");
        QTest::newRow("suffix") << QStringLiteral("Standard Catalog Insert") << true;
        QTest::newRow("prefix") << QStringLiteral("Catalog Insert - Activities") << true;
        QTest::newRow("alone") << QStringLiteral("Catalog Insert") << true;
        QTest::newRow("other capitals") << QStringLiteral("Standard catalog insert") << false;
        QTest::newRow("catalog") << QStringLiteral("Regular Catalog") << false;
        QTest::newRow("words apart") << QStringLiteral("Catalog  Insert") << false;
    }

    void insertTypes()
    {
        QFETCH(QString, type);
        QFETCH(bool, insert);
        QCOMPARE(isInsertType(type), insert);
    }

    void defaultMapTrimmedInPageOrder()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        for (int page : {3, 1, 2})
            TestWarehouse::exec(QStringLiteral("INSERT INTO tblMapDefault VALUES (?, ?, ?, ?)"),
                                {QStringLiteral("BOOK "), QStringLiteral(" Spring "), page,
                                 QStringLiteral(" Section %1 ").arg(page)});
        const QList<MapPage> pages =
            LoadDefaultMap(QStringLiteral("BOOK"), QStringLiteral("Spring"));
        QCOMPARE(pages, (QList<MapPage>{{QStringLiteral("1"), QStringLiteral("Section 1")},
                                        {QStringLiteral("2"), QStringLiteral("Section 2")},
                                        {QStringLiteral("3"), QStringLiteral("Section 3")}}));
    }

    void testIDMessages_data()
    {
        QTest::addColumn<QString>("testID");
        QTest::addColumn<QString>("expected");
        const QString required =
            QStringLiteral("Test ID is a required field and can't be empty.\r");
        const QString numeric = QStringLiteral("Test ID mus be in numeric format (0000).\r");
        const QString four = QStringLiteral("Test ID must consist of four characters (0000).\r");
        QTest::newRow("valid") << QStringLiteral("0001") << QString();
        QTest::newRow("valid in blanks") << QStringLiteral(" 0001") << QString();
        QTest::newRow("letter") << QStringLiteral("00A1") << numeric;
        // Four characters that read as a number are still no four digits.
        for (const char *number : {"1.00", "-001", "1E03", "&H1F", "(12)", "+001"})
            QTest::newRow(number) << QString::fromLatin1(number) << numeric;
        QTest::newRow("three digits") << QStringLiteral("001") << four;
        QTest::newRow("five digits") << QStringLiteral("00001") << four;
        QTest::newRow("letter and short") << QStringLiteral("0A1") << QString(numeric + four);
        QTest::newRow("empty") << QString() << QString(required + numeric + four);
        QTest::newRow("blanks") << QStringLiteral("    ") << QString(required + numeric + four);
    }

    void testIDMessages()
    {
        QFETCH(QString, testID);
        QFETCH(QString, expected);
        TestWarehouse warehouse;
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        QCOMPARE(ValidateNewMap(catalogMap(QStringLiteral("FALL25"), testID)), expected);
    }

    void catalogRefusals()
    {
        TestWarehouse warehouse;
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        // Every field is fine, but the catalog is not in the schedule.
        QCOMPARE(ValidateNewMap(catalogMap(QStringLiteral("WIN25"), QStringLiteral("0000"))),
                 QStringLiteral("Please add the catalog to the Cycle Schedule FIRST.\r"));
        // The schedule of another club does not count.
        NewMap kids = catalogMap(QStringLiteral("FALL25"), QStringLiteral("0000"));
        kids.clubID = QStringLiteral("KIDS");
        QCOMPARE(ValidateNewMap(kids),
                 QStringLiteral("Please add the catalog to the Cycle Schedule FIRST.\r"));

        SaveNewMap(catalogMap(QStringLiteral("FALL25"), QStringLiteral("0000")));
        QCOMPARE(ValidateNewMap(catalogMap(QStringLiteral(" fall25 "), QStringLiteral("0000"))),
                 QStringLiteral("The Catalog  you have chosen to create already exists.\r"));
        QCOMPARE(ValidateNewMap(catalogMap(QStringLiteral("FALL25"), QStringLiteral("0001"))),
                 QString());

        QCOMPARE(ValidateNewMap(catalogMap(QString(26, u'C'), QStringLiteral("0000"))),
                 QStringLiteral("Catalog ID can't exeed 25 characters.\r"
                                "Please add the catalog to the Cycle Schedule FIRST.\r"));
        QCOMPARE(ValidateNewMap(catalogMap(QStringLiteral("  "), QStringLiteral("12"))),
                 QStringLiteral("Catalog ID is a required field and can't be empty.\r"
                                "Test ID must consist of four characters (0000).\r"
                                "Please add the catalog to the Cycle Schedule FIRST.\r"));
    }

    void insertRefusals()
    {
        TestWarehouse warehouse;
        QCOMPARE(ValidateNewMap(insertMap(QStringLiteral("  "))),
                 QStringLiteral("Insert Description is a required field and can't be empty.\r"));
        QCOMPARE(ValidateNewMap(insertMap(QStringLiteral("Spring Sale"))), QString());
        SaveNewMap(insertMap(QStringLiteral("Spring Sale")), kMoment);
        QCOMPARE(ValidateNewMap(insertMap(QStringLiteral(" spring sale "))),
                 QStringLiteral("The Insert you have chosen to create already exists. Please "
                                "choose a different name for the insert.\r"));
    }

    void savedCatalogRows()
    {
        TestWarehouse warehouse;
        NewMap map = catalogMap(QStringLiteral(" FALL25 "), QStringLiteral(" 0002 "));
        map.pages = {{QStringLiteral(" 1 "), QStringLiteral(" Front Cover ")},
                     {QStringLiteral("2"), QStringLiteral("Cat Calendars")},
                     {QStringLiteral("3"), QString()}};
        QCOMPARE(SaveNewMap(map), QString());
        // A section typed by the operator that is not among the known ones is kept as typed.
        QCOMPARE(catalogPages(QStringLiteral("FALL25"), QStringLiteral("0002")),
                 (QStringList{QStringLiteral("1:Front Cover"), QStringLiteral("2:Cat Calendars"),
                              QStringLiteral("3:")}));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap")), 0);
    }

    void savedInsertRows()
    {
        TestWarehouse warehouse;
        const QString id = SaveNewMap(insertMap(QStringLiteral(" Spring Sale ")), kMoment);
        QCOMPARE(id, QStringLiteral("03072025140509"));
        QCOMPARE(insertPages(id),
                 (QStringList{QStringLiteral("1:Front Cover"), QStringLiteral("2:Back Cover")}));
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblInsertMap WHERE InsertDescription = 'Spring Sale'")),
                 2);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 0);
    }

    void insertsOfOneSecondGetTheirOwnIDs()
    {
        TestWarehouse warehouse;
        const QString first = SaveNewMap(insertMap(QStringLiteral("First")), kMoment);
        const QString second = SaveNewMap(insertMap(QStringLiteral("Second")), kMoment);
        const QString third = SaveNewMap(insertMap(QStringLiteral("Third")), kMoment);
        QCOMPARE(first, QStringLiteral("03072025140509"));
        QCOMPARE(second, QStringLiteral("03072025140510"));
        QCOMPARE(third, QStringLiteral("03072025140511"));
        QCOMPARE(insertPages(first).size(), 2);
        QCOMPARE(insertPages(second).size(), 2);

        // Stepping carries over into the next minute, hour and day like the clock does.
        const QDateTime lastSecond(QDate(2025, 12, 31), QTime(23, 59, 59));
        QCOMPARE(SaveNewMap(insertMap(QStringLiteral("Old year")), lastSecond),
                 QStringLiteral("12312025235959"));
        QCOMPARE(SaveNewMap(insertMap(QStringLiteral("New year")), lastSecond),
                 QStringLiteral("01012026000000"));
    }

    void failingPageWriteLeavesNoPage_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::newRow("catalog") << false;
        QTest::newRow("insert") << true;
    }

    void failingPageWriteLeavesNoPage()
    {
        QFETCH(bool, insert);
        TestWarehouse warehouse;
        NewMap map = insert ? insertMap(QStringLiteral("Spring Sale"))
                            : catalogMap(QStringLiteral("FALL25"), QStringLiteral("0000"));
        // The third page repeats the second page's number: the key refuses it.
        map.pages.append({QStringLiteral("2"), QStringLiteral("Fiction")});
        QVERIFY_THROWS_EXCEPTION(DbError, SaveNewMap(map, kMoment));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 0);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap")), 0);
        // Nothing is left open: the next save commits.
        map.pages.removeLast();
        SaveNewMap(map, kMoment);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")) +
                     TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap")),
                 2);
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_catalogbuild)
#include "tst_catalogbuild.moc"
