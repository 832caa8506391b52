// Mail packages: the recent-insert rule, validation, creation in one transaction, the contents
// and duplicated-items lists, deletion.
#include "PackageFixture.h"
#include "TestWarehouse.h"
#include "mailing/CatalogPackage.h"
#include "warehouse/DbError.h"
#include "warehouse/Query.h"

#include <QTest>

using namespace catalogpackage;

namespace {

const QString kPackage = QStringLiteral("202601051015301234");

CatalogListEntry springCatalog()
{
    return {QStringLiteral("SPRING"),          QStringLiteral("MYST"),       QStringLiteral("0001"),
            QStringLiteral("General Catalog"), QStringLiteral("03/02/2026"), QString()};
}

PackageEntry validEntry()
{
    PackageEntry entry;
    entry.catalog = springCatalog();
    entry.description = QStringLiteral("  Spring mailing  ");
    entry.mailDate = QStringLiteral(" 3/2/26 ");
    return entry;
}

QStringList rowsOf(void (*load)(const QString &, const RowSink &), const QString &packageId)
{
    QStringList rows;
    load(packageId, [&rows](QStringList &&row) { rows << row.join(u'|'); });
    return rows;
}

} // namespace

class tst_catalogpackage : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;

private Q_SLOTS:
    void init() { m_warehouse = std::make_unique<TestWarehouse>(); }
    void cleanup() { m_warehouse.reset(); }

    void insertAge_data()
    {
        QTest::addColumn<QString>("insertId");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("offered");
        const QDate today(2026, 12, 7);
        QTest::newRow("this month") << fixture::insertIdOn(today) << today << true;
        // Month boundaries count, the day does not: June 30 is six months before December 1.
        QTest::newRow("six months, early day")
            << fixture::insertIdOn(QDate(2026, 6, 1)) << QDate(2026, 12, 31) << true;
        QTest::newRow("six months, late day")
            << fixture::insertIdOn(QDate(2026, 6, 30)) << QDate(2026, 12, 1) << true;
        QTest::newRow("seven months")
            << fixture::insertIdOn(QDate(2026, 5, 31)) << QDate(2026, 12, 1) << false;
        QTest::newRow("across the year")
            << fixture::insertIdOn(QDate(2025, 8, 15)) << QDate(2026, 2, 1) << true;
        QTest::newRow("a year back, same month")
            << fixture::insertIdOn(QDate(2025, 12, 7)) << today << false;
        QTest::newRow("later date") << fixture::insertIdOn(QDate(2027, 4, 1)) << today << true;
        // The four-digit year: a two-digit reading would put 2049 and 2050 a century apart.
        QTest::newRow("after 2049")
            << fixture::insertIdOn(QDate(2050, 1, 20)) << QDate(2050, 3, 1) << true;
        QTest::newRow("century back")
            << fixture::insertIdOn(QDate(1950, 3, 1)) << QDate(2050, 3, 1) << false;
        QTest::newRow("not a date") << QStringLiteral("13452026101500") << today << false;
        QTest::newRow("letters") << QStringLiteral("INSERT01") << today << false;
        QTest::newRow("too short") << QStringLiteral("1207") << today << false;
    }
    void insertAge()
    {
        QFETCH(QString, insertId);
        QFETCH(QDate, today);
        QFETCH(bool, offered);
        QCOMPARE(insertIsRecent(insertId, today), offered);
    }

    void validation_data()
    {
        QTest::addColumn<bool>("catalog");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("mailDate");
        QTest::addColumn<QString>("messages");
        QTest::newRow("valid") << true << "Spring"
                               << "03/02/2026"
                               << "";
        QTest::newRow("nothing") << false << "  "
                                 << " "
                                 << "One catalog item must be selected in order to save.\r"
                                    "Description is a required field.\r"
                                    "Mail date is a reqired field.\r"
                                    "Mail date must be in date format [mm/dd/yy].\r";
        QTest::newRow("empty mail date gives both")
            << true << "Spring"
            << ""
            << "Mail date is a reqired field.\rMail date must be in date format [mm/dd/yy].\r";
        QTest::newRow("day and month never swapped")
            << true << "Spring"
            << "31/12/2026"
            << "Mail date must be in date format [mm/dd/yy].\r";
        QTest::newRow("no inserts needed, two-digit year") << true << "Spring"
                                                           << "3/2/26"
                                                           << "";
    }
    void validation()
    {
        QFETCH(bool, catalog);
        QFETCH(QString, description);
        QFETCH(QString, mailDate);
        QFETCH(QString, messages);
        PackageEntry entry;
        if (catalog)
            entry.catalog = springCatalog();
        entry.description = description;
        entry.mailDate = mailDate;
        QCOMPARE(ValidatePackage(entry), messages);
    }

    void packageIdIsTheMomentAndFourDigits()
    {
        const QDateTime now(QDate(2026, 1, 5), QTime(9, 7, 3));
        for (int i = 0; i < 200; ++i) {
            const QString id = newPackageID(now);
            QCOMPARE(id.size(), 18);
            QVERIFY(id.startsWith(QStringLiteral("20260105090703")));
            const int number = id.mid(14).toInt();
            QVERIFY2(number >= 1001 && number <= 9998, qPrintable(id));
        }
    }

    void packageWithoutInsertsIsItsCatalogRow()
    {
        const QDateTime now(QDate(2026, 1, 5), QTime(10, 15, 30));
        const QString id = CreatePackage(validEntry(), now, QStringLiteral("planner"));
        Query row(QStringLiteral("SELECT PackageDescription, PackageMailDate, PackageCreateDate, "
                                 "ClubID, CatalogID, TestID, ItemType, ItemDescription, "
                                 "ModifyDate, ModifyUser FROM tblMailPackages WHERE PackageID=?"));
        row.bind(id).exec();
        QVERIFY(row.next());
        QCOMPARE(row.text(0), QStringLiteral("Spring mailing"));
        // The mail date is a date, read with US rules, not the typed text.
        QCOMPARE(row.date(1), QDate(2026, 3, 2));
        QCOMPARE(row.text(2), QStringLiteral("01/05/2026"));
        QCOMPARE(row.text(3), QStringLiteral("MYST"));
        QCOMPARE(row.text(4), QStringLiteral("SPRING"));
        QCOMPARE(row.text(5), QStringLiteral("0001"));
        QCOMPARE(row.text(6), QStringLiteral("General Catalog"));
        QCOMPARE(row.text(7), QString());
        QCOMPARE(row.date(8), QDate(2026, 1, 5));
        QCOMPARE(row.text(9), QStringLiteral("planner"));
        QVERIFY(!row.next());
    }

    void failedInsertRowUndoesThePackage()
    {
        // The same insert twice breaks the key on its second row: nothing of the package stays.
        PackageEntry entry = validEntry();
        entry.inserts = {{QStringLiteral("12012026101500"), QStringLiteral("Winter flyer")},
                         {QStringLiteral("12012026101500"), QStringLiteral("Winter flyer")}};
        QVERIFY_THROWS_EXCEPTION(
            DbError, CreatePackage(entry, QDateTime::currentDateTime(), QStringLiteral("p")));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblMailPackages")), 0);
    }

    void contentsOfARowWithoutItemType()
    {
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblMailPackages (PackageID, PackageDescription, CatalogID, "
                           "ItemDescription) VALUES ('P1', 'Old', '01012026101500', "
                           "'A description longer than thirty-five characters in all')"));
        const QList<ContentItem> items = LoadPackageContents(QStringLiteral("P1"));
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.at(0).text, QStringLiteral("Package Insert  | Description - "
                                                  "A description longer than thirty-fi"));
    }

    void duplicatesListEveryPlacementOfARepeatedProduct()
    {
        const QString insert = QStringLiteral("12012026101500");
        fixture::packageCatalog(kPackage, QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                QStringLiteral("0001"));
        fixture::packageInsert(kPackage, insert, QStringLiteral("Winter flyer"));
        fixture::product(QStringLiteral("B1"));
        fixture::product(QStringLiteral("B2"));
        fixture::place(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0001"),
                       QStringLiteral("B1"), 3, 2);
        fixture::place(Query::nullText(), insert, Query::nullText(), QStringLiteral("B1"), 1, 4);
        fixture::place(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0001"),
                       QStringLiteral("B2"), 1, 1);
        // Another version of the catalog is not part of the package.
        fixture::place(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0002"),
                       QStringLiteral("B2"), 1, 1);
        QCOMPARE(rowsOf(LoadDuplicates, kPackage),
                 (QStringList{QStringLiteral("B1|SPRING|MYST|0001|General Catalog||3|2"),
                              QStringLiteral("B1|") + insert +
                                  QStringLiteral("|||Package Insert|Winter flyer|1|4")}));
        // The ID is bound: text that would widen a spliced statement finds nothing.
        QCOMPARE(rowsOf(LoadDuplicates, QStringLiteral("x') OR ('1'='1")), QStringList());
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_catalogpackage)
#include "tst_catalogpackage.moc"
