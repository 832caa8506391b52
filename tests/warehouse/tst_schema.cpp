// The warehouse scripts: tables and views with their columns, the meaning and order of the views,
// identity and case-insensitive keys, the stored date forms, reference and demo data, and the
// script reader itself.

#include "TestWarehouse.h"

#include "warehouse/DbError.h"
#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/Schema.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>

#include <tuple>

namespace {

using Rows = QList<QStringList>;

// Every row of a query of `columns` columns, each value as text (NULL as empty).
Rows rows(int columns, const QString &sql, const QVariantList &values = {})
{
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    query.exec();
    Rows result;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < columns; ++column)
            row << query.text(column);
        result << row;
    }
    return result;
}

// The values of a one-column query.
QStringList values(const QString &sql)
{
    QStringList result;
    for (const QStringList &row : rows(1, sql))
        result << row.first();
    return result;
}

QVariant date(int daysFromToday)
{
    return sqlvalue::fromDate(QDate::currentDate().addDays(daysFromToday));
}

void schedule(const QString &club, const QString &catalog, int startInDays,
              const QString &description = QStringLiteral("Catalog"))
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, "
                       "AAAddressStartDate, LabelRunShipDate) VALUES (?, ?, ?, ?, ?)"),
        {club, catalog, description, date(startInDays), date(startInDays + 10)});
}

void catalogPage(const QString &club, const QString &catalog, const QString &test, int page,
                 const QString &section = QStringLiteral("Fiction"))
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                       "PageSection) VALUES (?, ?, ?, ?, ?)"),
        {club, catalog, test, page, section});
}

void insertPage(const QString &insertId, const QString &name, int page,
                const QString &section = QStringLiteral("Front Cover"))
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblInsertMap (InsertID, InsertDescription, PageNum, "
                       "PageSection) VALUES (?, ?, ?, ?)"),
        {insertId, name, page, section});
}

void product(const QString &id, int category, double msrp)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, ActiveProd, "
                       "ActiveWeb, Category, MSRP) VALUES (?, ?, 1, 1, ?, ?)"),
        {id, QString(QStringLiteral("Title ") + id), category, msrp});
}

// A placement; an empty club and test make it an insert's (NULL club and test).
void placement(const QString &club, const QString &catalog, const QString &test,
               const QString &productId, int page, int position,
               const QString &descType = QStringLiteral("Blank"), double price = 0,
               double discount = 0)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
                       "PagePosition, PageWeight, DescType, Price, Discount, ProductType) "
                       "VALUES (?, ?, ?, ?, ?, ?, 0.5, ?, ?, ?, 'REG')"),
        {club.isEmpty() ? Query::nullText() : QVariant(club), catalog,
         test.isEmpty() ? Query::nullText() : QVariant(test), productId, page, position, descType,
         price, discount});
}

// The groups (the first `keyColumns` columns) in the order the rows deliver them; `fault` tells
// why when a group's rows are split or its page numbers (column `pageColumn`) do not rise.
QStringList groupsInPageOrder(const Rows &table, int keyColumns, int pageColumn, QString *fault)
{
    QStringList groups;
    int lastPage = 0;
    for (const QStringList &row : table) {
        const QString key = row.mid(0, keyColumns).join(QLatin1Char('|'));
        const int page = row.value(pageColumn).toInt();
        if (groups.isEmpty() || groups.last() != key) {
            if (groups.contains(key))
                *fault = QStringLiteral("the rows of %1 are split").arg(key);
            groups << key;
        } else if (page <= lastPage) {
            *fault = QStringLiteral("page %1 of %2 comes after page %3")
                         .arg(page)
                         .arg(key)
                         .arg(lastPage);
        }
        lastPage = page;
    }
    return groups;
}

// The CREATE TABLE column names of a script, table name -> column names, all in lower case.
QMap<QString, QStringList> tableColumns(const QString &script)
{
    static const QRegularExpression create(
        QStringLiteral("CREATE\\s+TABLE\\s+(?:dbo\\.)?(\\w+)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList constraints{QStringLiteral("primary"), QStringLiteral("constraint"),
                                         QStringLiteral("unique"), QStringLiteral("check"),
                                         QStringLiteral("foreign")};
    QMap<QString, QStringList> tables;
    for (auto it = create.globalMatch(script); it.hasNext();) {
        const auto match = it.next();
        QStringList columns;
        QString part;
        int depth = 1;
        for (qsizetype i = match.capturedEnd(); i < script.size() && depth > 0; ++i) {
            const QChar c = script.at(i);
            depth += c == QLatin1Char('(') ? 1 : c == QLatin1Char(')') ? -1 : 0;
            if ((depth == 1 && c == QLatin1Char(',')) || depth == 0) {
                const QString name = part.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
                if (!name.isEmpty() && !constraints.contains(name))
                    columns << name;
                part.clear();
            } else {
                part += c;
            }
        }
        tables.insert(match.captured(1).toLower(), columns);
    }
    return tables;
}

QStringList viewNames(const QString &script)
{
    static const QRegularExpression create(
        QStringLiteral("CREATE\\s+(?:OR\\s+ALTER\\s+)?VIEW\\s+(?:dbo\\.)?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList views;
    for (auto it = create.globalMatch(script); it.hasNext();)
        views << it.next().captured(1).toLower();
    views.sort();
    return views;
}

QString withoutComments(const QString &script)
{
    static const QRegularExpression comment(QStringLiteral("--[^\n]*"));
    return QString(script).remove(comment);
}

QString normalizedSpace(const QString &text) { return text.simplified(); }

// Statements written one after the other, separated by "|".
QStringList statements(const char *joined)
{
    return QString::fromUtf8(joined).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

} // namespace

class tst_schema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tablesAndViewsHaveTheirColumns_data();
    void tablesAndViewsHaveTheirColumns();
    void scriptsOfTheThreeDialectsAgree();
    void sqlServerScriptStartsEachViewInItsOwnBatch();
    void itemIdIsAssignedAndNeverReused();
    void textKeysIgnoreCase_data();
    void textKeysIgnoreCase();
    void datesKeepTheirStoredForm_data();
    void datesKeepTheirStoredForm();
    void catalogTreeRowsComeGroupedInPageOrder();
    void insertTreeRowsComeGroupedInPageOrder();
    void catalogsToBeCombinedAreRecentScheduledMaps();
    void creativeExportMeetsCatalogAndInsertPlacements();
    void recurringProductsGiveOneNullRowPerScheduledCatalog();
    void referenceDataMeetsTheClientsJoins();
    void demoDataShowsInEveryWindow();
    void splitStatements_data();
    void splitStatements();
    void splitBatches_data();
    void splitBatches();
    void resolveDemoTokens_data();
    void resolveDemoTokens();
};

void tst_schema::tablesAndViewsHaveTheirColumns_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("columns");
    QTest::newRow("tblMapDefault") << "tblMapDefault"
                                   << "ClubID, MapType, PageNum, PageSection";
    QTest::newRow("tblMapDefaultPageSections") << "tblMapDefaultPageSections"
                                               << "PageSection";
    QTest::newRow("tblCycleSchedule")
        << "tblCycleSchedule"
        << "ClubID, CatalogID, Description, MapCopyCreative, FstDraftCreative, CatalogReleaseDate, "
           "AAAddressStartDate, AAAddressCompleteDate, ReplyDate, LabelRunShipDate";
    QTest::newRow("tblCatalogMap") << "tblCatalogMap"
                                   << "ClubID, CatalogID, TestID, PageNum, PageSection";
    QTest::newRow("tblInsertMap") << "tblInsertMap"
                                  << "InsertID, InsertId, InsertDescription, PageNum, PageSection";
    QTest::newRow("tblProductsMap")
        << "tblProductsMap"
        << "ItemID, ClubID, CatalogID, TestID, ProductID, PageNum, PagePosition, PageWeight, "
           "DescType, Price, Discount, ProductType, ModifyDate, ModifyUser";
    QTest::newRow("tblInvMaster")
        << "tblInvMaster"
        << "ProductID, ProductUPC, ProductName, ActiveProd, ActiveWeb, Category, MSRP, LastPrice, "
           "ProdCost, ManufacturerID, ReleaseDate, DistEndDate, FirstUseDate, FirstUseCycle, "
           "LastUseDate, LastUseCycle, FeaturedProd, OnHand, Status, Comments, Source, Weight, "
           "Length, Height, Width, ArtSource, ModifyDate, ModifyUser, Filler1, Filler2, Filler3";
    QTest::newRow("tblInvCategories") << "tblInvCategories"
                                      << "CatID, CatDesc, lvl, SubCatID";
    QTest::newRow("tblManufactrurers") << "tblManufactrurers"
                                       << "ManufacturerID, ManufacturerName";
    QTest::newRow("tblInvDescriptions") << "tblInvDescriptions"
                                        << "ProductID, BlurbSize, Blurb, ModifyDate, ModifyUser";
    QTest::newRow("tblInvBlurbSizes") << "tblInvBlurbSizes"
                                      << "BlurbSize";
    QTest::newRow("tblInvRecommendations") << "tblInvRecommendations"
                                           << "ClubID, CatalogID, ProductID, FcstSales, ProdRank";
    QTest::newRow("tblRecurringCatgProducts") << "tblRecurringCatgProducts"
                                              << "ClubID, CatalogID, ProductID";
    QTest::newRow("tblMailPackages")
        << "tblMailPackages"
        << "PackageID, PackageDescription, PackageMailDate, PackageCreateDate, ClubID, CatalogID, "
           "TestID, ItemType, ItemDescription, ModifyDate, ModifyUser";
    QTest::newRow("tblAdCodes")
        << "tblAdCodes"
        << "AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, PkgCpm, Media, Offer, MailDate, "
           "QtyMailed, TotalCpm, TargetResp, ModUser, ModDate";
    QTest::newRow("tblADMediaTypes") << "tblADMediaTypes"
                                     << "MediaTypeID, MediaType, MediaTypeSort";
    QTest::newRow("viewMapCatalogsDisplay")
        << "viewMapCatalogsDisplay"
        << "ClubID, CatalogID, TestID, Description, PageNum, PageSection, AAAddressStartDate, "
           "LabelRunShipDate";
    QTest::newRow("viewMapInsertsDisplay") << "viewMapInsertsDisplay"
                                           << "InsertId, InsertDescription, PageNum, PageSection";
    QTest::newRow("viewCatalogsToBeCombined") << "viewCatalogsToBeCombined"
                                              << "ClubID, CatalogID, TestID, AAAddressStartDate";
    QTest::newRow("viewDataForCreativeExport")
        << "viewDataForCreativeExport"
        << "PackageID, ItemType, ClubID, CatalogID, TestID, PageNum, PageSection, PagePosition, "
           "ProductID, ProductName, ProductUPC, CategoryName, MSRP, Price, Discount, Blurb";
    QTest::newRow("viewRecurringProducts") << "viewRecurringProducts"
                                           << "ClubID, CatalogID, AAAddressStartDate, ProductID";
}

void tst_schema::tablesAndViewsHaveTheirColumns()
{
    QFETCH(QString, name);
    QFETCH(QString, columns);
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    try {
        Query(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + name +
              QStringLiteral(" WHERE 1 = 0"))
            .exec();
    } catch (const DbError &error) {
        QFAIL(qPrintable(error.description()));
    }
}

void tst_schema::scriptsOfTheThreeDialectsAgree()
{
    const QString sqlite =
        withoutComments(warehouse::schema::scriptText(QStringLiteral("sqlite.sql")));
    const auto tables = tableColumns(sqlite);
    QCOMPARE(tables.size(), 16);
    for (const QString &name : {QStringLiteral("postgresql.sql"), QStringLiteral("Folvane.sql")}) {
        const QString script = withoutComments(warehouse::schema::scriptText(name));
        QCOMPARE(tableColumns(script), tables);
        QCOMPARE(viewNames(script), viewNames(sqlite));
    }
    QCOMPARE(viewNames(sqlite).size(), 5);

    // SQL Server gets the reference data through its own script: the same statements, word for
    // word, so the lists never drift apart.
    const QString folvane = normalizedSpace(
        withoutComments(warehouse::schema::scriptText(QStringLiteral("Folvane.sql"))));
    const QStringList reference = warehouse::schema::splitStatements(
        warehouse::schema::scriptText(QStringLiteral("reference-data.sql")));
    QVERIFY(!reference.isEmpty());
    for (const QString &statement : reference)
        QVERIFY2(folvane.contains(normalizedSpace(statement) + QLatin1Char(';')),
                 qPrintable(statement.left(80)));
}

void tst_schema::sqlServerScriptStartsEachViewInItsOwnBatch()
{
    // osql sends the text between GO lines as one batch, and CREATE VIEW must open its batch.
    int views = 0;
    for (const QString &batch : warehouse::schema::splitBatches(
             warehouse::schema::scriptText(QStringLiteral("Folvane.sql")))) {
        const QString statements = withoutComments(batch).trimmed();
        if (statements.contains(QLatin1String("VIEW"))) {
            QVERIFY2(statements.startsWith(QLatin1String("CREATE OR ALTER VIEW")),
                     qPrintable(statements.left(80)));
            ++views;
        }
    }
    QCOMPARE(views, 5);
}

void tst_schema::itemIdIsAssignedAndNeverReused()
{
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"),
              QStringLiteral("P1"), 1, 1);
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"),
              QStringLiteral("P2"), 1, 2);
    const QStringList ids =
        values(QStringLiteral("SELECT ItemID FROM tblProductsMap ORDER BY PagePosition"));
    QCOMPARE(ids.size(), 2);
    QVERIFY(!ids.at(0).isEmpty());
    QVERIFY(ids.at(0) != ids.at(1));

    // Editing a placement deletes its row and inserts a new one: the grid may still hold the old
    // ID, which must not come to name the new row.
    TestWarehouse::exec(QStringLiteral("DELETE FROM tblProductsMap WHERE ItemID = ?"), {ids.at(1)});
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"),
              QStringLiteral("P2"), 1, 2);
    const QString newId =
        TestWarehouse::scalar(
            QStringLiteral("SELECT ItemID FROM tblProductsMap WHERE ProductID = 'P2'"))
            .toString();
    QVERIFY(newId != ids.at(0));
    QVERIFY(newId != ids.at(1));
}

void tst_schema::textKeysIgnoreCase_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<QString>("value");

    const QString schedule = QStringLiteral(
        "INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, AAAddressStartDate) "
        "VALUES ('BOOK', 'Fall-A', 'Fall', '2024-09-01')");
    QTest::newRow("schedule club")
        << schedule << "SELECT COUNT(*) FROM tblCycleSchedule WHERE ClubID = ?"
        << "book";
    QTest::newRow("schedule catalog")
        << schedule << "SELECT COUNT(*) FROM tblCycleSchedule WHERE CatalogID = ?"
        << "FALL-a";
    QTest::newRow("product")
        << "INSERT INTO tblInvMaster (ProductID, ProductName, Category) VALUES ('AB12c', 'X', 1)"
        << "SELECT COUNT(*) FROM tblInvMaster WHERE ProductID = ?"
        << "ab12C";
    QTest::newRow("insert name")
        << "INSERT INTO tblInsertMap (InsertID, InsertDescription, PageNum) "
           "VALUES ('01152025120000', 'Summer Flyer', 1)"
        << "SELECT COUNT(*) FROM tblInsertMap WHERE InsertDescription = ?"
        << "SUMMER FLYER";
    QTest::newRow("description size")
        << "INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb) VALUES ('P1', 'Long', 'x')"
        << "SELECT COUNT(*) FROM tblInvDescriptions WHERE ProductID = ? AND BlurbSize = 'LONG'"
        << "p1";
    QTest::newRow("ad code") << "INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, "
                                "PkgDesc, PkgCpm, Media, Offer, QtyMailed, TotalCpm, TargetResp) "
                                "VALUES ('Ab1', 'n', 'l', 1, 'p', 'pd', 2, 'Catalog', 'o', 5, 3, 1)"
                             << "SELECT COUNT(*) FROM tblAdCodes WHERE AdCode = ?"
                             << "aB1";
    QTest::newRow("catalog tree view")
        << "INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum) VALUES ('BOOK', 'C1', "
           "'0000', 1)"
        << "SELECT COUNT(*) FROM viewMapCatalogsDisplay WHERE ClubID = ? AND CatalogID = 'c1'"
        << "Book";
    QTest::newRow("recurring view")
        << schedule
        << "SELECT COUNT(*) FROM viewRecurringProducts WHERE ClubID = ? AND CatalogID = "
           "'fall-A'"
        << "book";
}

void tst_schema::textKeysIgnoreCase()
{
    QFETCH(QString, fixture);
    QFETCH(QString, lookup);
    QFETCH(QString, value);
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    TestWarehouse::exec(fixture);
    QCOMPARE(TestWarehouse::count(lookup, {value}), 1);
    // The same text spelled in the literal rather than bound.
    QString literal = lookup;
    literal.replace(QLatin1Char('?'), QLatin1Char('\'') + value + QLatin1Char('\''));
    QCOMPARE(TestWarehouse::count(literal), 1);
    // A key spelled in other case is the same key.
    // Qt's ODBC driver warns of every failed statement.
    if (gcnWarehouse().driverName() == QLatin1String("QODBC"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("duplicate key")));
    QVERIFY_THROWS_EXCEPTION(DbError, TestWarehouse::exec(fixture.toLower()));
}

void tst_schema::datesKeepTheirStoredForm_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("kind");

    const QString schedule = QStringLiteral(
        "INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, AAAddressStartDate) "
        "VALUES ('BOOK', 'C1', 'd', '2024-09-01')");
    for (const char *name :
         {"MapCopyCreative", "FstDraftCreative", "CatalogReleaseDate", "AAAddressStartDate",
          "AAAddressCompleteDate", "ReplyDate", "LabelRunShipDate"})
        QTest::addRow("tblCycleSchedule.%s", name)
            << schedule << "tblCycleSchedule" << QString::fromLatin1(name) << "date";
    const QString product = QStringLiteral(
        "INSERT INTO tblInvMaster (ProductID, ProductName, Category) VALUES ('P1', 'X', 1)");
    for (const char *name : {"ReleaseDate", "DistEndDate", "FirstUseDate", "LastUseDate"})
        QTest::addRow("tblInvMaster.%s", name)
            << product << "tblInvMaster" << QString::fromLatin1(name) << "date";
    QTest::newRow("tblInvMaster.ModifyDate") << product << "tblInvMaster"
                                             << "ModifyDate"
                                             << "datetime";
    QTest::newRow("tblProductsMap.ModifyDate")
        << "INSERT INTO tblProductsMap (CatalogID, ProductID, PageNum, PagePosition, PageWeight) "
           "VALUES ('C1', 'P1', 1, 1, 1)"
        << "tblProductsMap"
        << "ModifyDate"
        << "datetime";
    QTest::newRow("tblInvDescriptions.ModifyDate")
        << "INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb) VALUES ('P1', 'Long', 'x')"
        << "tblInvDescriptions"
        << "ModifyDate"
        << "datetime";
    const QString package =
        QStringLiteral("INSERT INTO tblMailPackages (PackageID, PackageDescription, CatalogID) "
                       "VALUES ('202401011200001234', 'p', 'C1')");
    QTest::newRow("tblMailPackages.PackageMailDate") << package << "tblMailPackages"
                                                     << "PackageMailDate"
                                                     << "date";
    QTest::newRow("tblMailPackages.ModifyDate") << package << "tblMailPackages"
                                                << "ModifyDate"
                                                << "datetime";
    QTest::newRow("tblMailPackages.PackageCreateDate") << package << "tblMailPackages"
                                                       << "PackageCreateDate"
                                                       << "text";
    const QString adCode = QStringLiteral(
        "INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, PkgCpm, Media, "
        "Offer, QtyMailed, TotalCpm, TargetResp) "
        "VALUES ('A1', 'n', 'l', 1, 'p', 'pd', 2, 'Catalog', 'o', 5, 3, 1)");
    QTest::newRow("tblAdCodes.MailDate") << adCode << "tblAdCodes"
                                         << "MailDate"
                                         << "date";
    QTest::newRow("tblAdCodes.ModDate") << adCode << "tblAdCodes"
                                        << "ModDate"
                                        << "text";
}

// Dates go in and come out through the warehouse's date helpers; the two columns the client
// writes as 'mm/dd/yyyy' text keep that text. SQLite, which has no date type, refuses a date in
// any other form rather than comparing it wrongly later.
void tst_schema::datesKeepTheirStoredForm()
{
    QFETCH(QString, fixture);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, kind);
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    TestWarehouse::exec(fixture);
    const QString update = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + column +
                           QStringLiteral(" = ?");
    const QString select = QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table;

    if (kind == QLatin1String("text")) {
        TestWarehouse::exec(update, {QStringLiteral("02/29/2024")});
        QCOMPARE(TestWarehouse::scalar(select).toString(), QStringLiteral("02/29/2024"));
        return;
    }
    const QDateTime leapEvening(QDate(2024, 2, 29), QTime(23, 59, 58));
    Query write(update);
    if (kind == QLatin1String("date"))
        write.bindDate(leapEvening.date());
    else
        write.bindDateTime(leapEvening);
    write.exec();
    Query read(select);
    QVERIFY(read.execFirst());
    QCOMPARE(read.date(0), leapEvening.date());
    if (kind == QLatin1String("datetime"))
        QCOMPARE(sqlvalue::text(read.value(0)), QStringLiteral("2024-02-29 23:59:58"));
    else
        QCOMPARE(read.text(0), QStringLiteral("2024-02-29"));

    if (TestWarehouse::forPostgreSQL())
        return; // the server parses text into its date type itself
    for (const QString &wrong :
         {QStringLiteral("02/29/2024"), QStringLiteral("2024-02-30"),
          kind == QLatin1String("date") ? QStringLiteral("2024-02-29 10:00:00")
                                        : QStringLiteral("2024-02-29")})
        QVERIFY_THROWS_EXCEPTION(DbError, TestWarehouse::exec(update, {wrong}));
}

void tst_schema::catalogTreeRowsComeGroupedInPageOrder()
{
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    schedule(QStringLiteral("BOOK"), QStringLiteral("C1"), -10, QStringLiteral("Spring"));
    // Pages written out of order and interleaved between versions, clubs and catalogs.
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0001"), 3);
    catalogPage(QStringLiteral("MYST"), QStringLiteral("C1"), QStringLiteral("0000"), 2);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"), 10);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0001"), 1);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"), 2);
    catalogPage(QStringLiteral("MYST"), QStringLiteral("C1"), QStringLiteral("0000"), 1);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"), 9);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0001"), 2);

    // The view's rows, without ORDER BY.
    const Rows tree = rows(8, QStringLiteral("SELECT ClubID, CatalogID, TestID, Description , "
                                             "PageNum, PageSection, AAAddressStartDate , "
                                             "LabelRunShipDate From viewMapCatalogsDisplay"));
    QCOMPARE(tree.size(), 8);
    QString fault;
    const QStringList groups = groupsInPageOrder(tree, 3, 4, &fault);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(groups.size(), 3);
    QVERIFY(groups.contains(QStringLiteral("BOOK|C1|0000")));

    // A map with a schedule row shows its schedule data; one without still shows.
    for (const QStringList &row : tree) {
        if (row.at(0) == QLatin1String("BOOK")) {
            QCOMPARE(row.at(3), QStringLiteral("Spring"));
            QCOMPARE(sqlvalue::date(row.at(6)), QDate::currentDate().addDays(-10));
            QCOMPARE(sqlvalue::date(row.at(7)), QDate::currentDate());
        } else {
            QVERIFY(row.at(3).isEmpty());
            QVERIFY(row.at(6).isEmpty());
        }
    }
}

void tst_schema::insertTreeRowsComeGroupedInPageOrder()
{
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    // Made in June 2025, January 2024 and December 2024, pages written out of order. The IDs
    // ('mmddyyyyhhmmss') sort neither way as text.
    const QString june = QStringLiteral("06012025093000");
    const QString january = QStringLiteral("01152024120000");
    const QString december = QStringLiteral("12012024093000");
    insertPage(december, QStringLiteral("Holiday Flyer"), 2);
    insertPage(june, QStringLiteral("Summer Flyer"), 3);
    insertPage(january, QStringLiteral("Winter Flyer"), 1);
    insertPage(december, QStringLiteral("Holiday Flyer"), 1);
    insertPage(june, QStringLiteral("Summer Flyer"), 1);
    insertPage(june, QStringLiteral("Summer Flyer"), 2);

    const Rows tree = rows(4, QStringLiteral("SELECT InsertId, InsertDescription, PageNum , "
                                             "PageSection From viewMapInsertsDisplay"));
    QCOMPARE(tree.size(), 6);
    QString fault;
    // Newest insert first.
    QCOMPARE(groupsInPageOrder(tree, 1, 2, &fault), QStringList({june, december, january}));
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QCOMPARE(tree.first().at(1), QStringLiteral("Summer Flyer"));
}

void tst_schema::catalogsToBeCombinedAreRecentScheduledMaps()
{
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    schedule(QStringLiteral("BOOK"), QStringLiteral("NEW"), 30);
    schedule(QStringLiteral("BOOK"), QStringLiteral("RECENT"), -364);
    schedule(QStringLiteral("BOOK"), QStringLiteral("OLD"), -365);
    schedule(QStringLiteral("BOOK"), QStringLiteral("UNBUILT"), 10);
    for (int page = 1; page <= 3; ++page) {
        catalogPage(QStringLiteral("BOOK"), QStringLiteral("NEW"), QStringLiteral("0000"), page);
        catalogPage(QStringLiteral("BOOK"), QStringLiteral("NEW"), QStringLiteral("0001"), page);
        catalogPage(QStringLiteral("BOOK"), QStringLiteral("RECENT"), QStringLiteral("0000"), page);
        catalogPage(QStringLiteral("BOOK"), QStringLiteral("OLD"), QStringLiteral("0000"), page);
        catalogPage(QStringLiteral("BOOK"), QStringLiteral("UNSCHEDULED"), QStringLiteral("0000"),
                    page);
    }

    const Rows offered =
        rows(4, QStringLiteral("SELECT ClubID, CatalogID, TestID, AAAddressStartDate "
                               "From viewCatalogsToBeCombined ORDER BY ClubID, "
                               "AAAddressStartDate, TestID"));
    QStringList versions;
    for (const QStringList &row : offered)
        versions << row.at(1) + QLatin1Char('-') + row.at(2);
    QCOMPARE(versions, QStringList({QStringLiteral("RECENT-0000"), QStringLiteral("NEW-0000"),
                                    QStringLiteral("NEW-0001")}));
    // The start date is what the package window proposes as the mail date.
    QCOMPARE(sqlvalue::date(offered.last().at(3)), QDate::currentDate().addDays(30));
}

void tst_schema::creativeExportMeetsCatalogAndInsertPlacements()
{
    TestWarehouse warehouse; // categories and description sizes
    const QString insertId = QStringLiteral("01152025120000");
    product(QStringLiteral("P1"), 11, 20); // Fiction / Mystery
    product(QStringLiteral("P2"), 1, 10);  // Fiction, a top-level category
    product(QStringLiteral("P3"), 11, 5);
    for (const auto &[id, size, text] :
         {std::tuple{"P1", "Long", "P1 long copy"}, std::tuple{"P1", "Short", "P1 short copy"},
          std::tuple{"P2", "Short", "P2 short copy"}})
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, "
                           "Blurb) VALUES (?, ?, ?)"),
            {QString::fromLatin1(id), QString::fromLatin1(size), QString::fromLatin1(text)});
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"), 1,
                QStringLiteral("Front Cover"));
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"), 2);
    catalogPage(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0001"), 1);
    insertPage(insertId, QStringLiteral("Flyer"), 1, QStringLiteral("Insert Cover"));
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"),
              QStringLiteral("P1"), 1, 1, QStringLiteral("Short"), 17, 15);
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0000"),
              QStringLiteral("P2"), 2, 1);
    placement(QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("0001"),
              QStringLiteral("P3"), 1, 1); // another version: not in the package
    placement(QString(), insertId, QString(), QStringLiteral("P2"), 1, 1, QStringLiteral("Short"));

    const QString insertRow = QStringLiteral(
        "INSERT INTO tblMailPackages (PackageID, PackageDescription, ClubID, CatalogID, TestID, "
        "ItemType, ItemDescription) VALUES (?, 'Package', ?, ?, ?, ?, ?)");
    TestWarehouse::exec(insertRow,
                        {QStringLiteral("PKG1"), QStringLiteral("BOOK"), QStringLiteral("C1"),
                         QStringLiteral("0000"), QStringLiteral("General Catalog"), QString()});
    TestWarehouse::exec(insertRow,
                        {QStringLiteral("PKG1"), Query::nullText(), insertId, Query::nullText(),
                         QStringLiteral("Package Insert"), QStringLiteral("Flyer")});
    // Club and test stored empty rather than NULL meet the insert's placements all the same.
    TestWarehouse::exec(insertRow, {QStringLiteral("PKG2"), QString(), insertId, QString(),
                                    QStringLiteral("Package Insert"), QStringLiteral("Flyer")});

    // The export's own query.
    Query exported(QStringLiteral("SELECT * FROM viewDataForCreativeExport WHERE (PackageID=?) and "
                                  "CatalogID in ('C1','") +
                   insertId +
                   QStringLiteral("') ORDER BY ItemType, CatalogID, PageNum, PagePosition, "
                                  "ProductName"));
    exported.bind(QStringLiteral("PKG1")).exec();
    QStringList lines;
    while (exported.next()) {
        QStringList fields;
        for (const char *name :
             {"ItemType", "ClubID", "CatalogID", "TestID", "PageNum", "PageSection", "PagePosition",
              "ProductID", "ProductName", "CategoryName", "MSRP", "Price", "Discount", "Blurb"})
            fields << exported.text(QString::fromLatin1(name));
        lines << fields.join(QLatin1Char('|'));
    }
    QCOMPARE(lines,
             QStringList(
                 {QStringLiteral("General Catalog|BOOK|C1|0000|1|Front Cover|1|P1|Title P1|"
                                 "Fiction / Mystery|20|17|15|P1 short copy"),
                  QStringLiteral("General Catalog|BOOK|C1|0000|2|Fiction|1|P2|Title P2|Fiction|10|"
                                 "0|0|"),
                  QStringLiteral("Package Insert||01152025120000||1|Insert Cover|1|P2|Title P2|"
                                 "Fiction|10|0|0|P2 short copy")}));

    QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM viewDataForCreativeExport "
                                                 "WHERE PackageID = 'PKG2'")),
             1);
}

void tst_schema::recurringProductsGiveOneNullRowPerScheduledCatalog()
{
    TestWarehouse warehouse(TestWarehouse::Content::Empty);
    schedule(QStringLiteral("BOOK"), QStringLiteral("C1"), -30);
    schedule(QStringLiteral("BOOK"), QStringLiteral("C2"), 30);
    schedule(QStringLiteral("MYST"), QStringLiteral("C1"), 60);
    const QString recur = QStringLiteral(
        "INSERT INTO tblRecurringCatgProducts(ClubID, CatalogID, ProductID) VALUES(?,?,?)");
    TestWarehouse::exec(recur,
                        {QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("P1")});
    TestWarehouse::exec(recur,
                        {QStringLiteral("BOOK"), QStringLiteral("C1"), QStringLiteral("P2")});
    TestWarehouse::exec(recur,
                        {QStringLiteral("MYST"), QStringLiteral("C1"), QStringLiteral("P1")});
    // A recurrence of a catalog no longer scheduled does not count.
    TestWarehouse::exec(recur,
                        {QStringLiteral("GONE"), QStringLiteral("C9"), QStringLiteral("P1")});

    QCOMPARE(TestWarehouse::count(QStringLiteral(
                 "SELECT COUNT(*) FROM viewRecurringProducts WHERE ProductID IS NULL")),
             3);
    QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM viewRecurringProducts")), 6);

    // The calendar's own query, for a product typed in other case.
    const Rows calendar =
        rows(4,
             QStringLiteral(
                 "SELECT ClubID, CatalogID, AAAddressStartDate, CASE WHEN COUNT(*) > 1 THEN 1 "
                 "ELSE 0 END AS ScheduledProd FROM viewRecurringProducts WHERE (ProductID IS "
                 "NULL) OR (ProductID = ?) GROUP BY ClubID, CatalogID, AAAddressStartDate"),
             {QStringLiteral("p1")});
    QMap<QString, QString> scheduled;
    for (const QStringList &row : calendar)
        scheduled.insert(row.at(0) + QLatin1Char('|') + row.at(1), row.at(3));
    QCOMPARE(scheduled, (QMap<QString, QString>{{QStringLiteral("BOOK|C1"), QStringLiteral("1")},
                                                {QStringLiteral("BOOK|C2"), QStringLiteral("0")},
                                                {QStringLiteral("MYST|C1"), QStringLiteral("1")}}));
}

void tst_schema::referenceDataMeetsTheClientsJoins()
{
    TestWarehouse warehouse;
    // The category list joins each category with its parent: every category must be listed.
    QCOMPARE(TestWarehouse::count(QStringLiteral(
                 "SELECT COUNT(*) FROM tblInvCategories INNER JOIN tblInvCategories "
                 "tblInvCategories_1 ON tblInvCategories.SubCatID = tblInvCategories_1.CatID")),
             TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvCategories")));
    QCOMPARE(TestWarehouse::count(QStringLiteral(
                 "SELECT COUNT(*) FROM tblInvCategories INNER JOIN tblInvCategories "
                 "tblInvCategories_1 ON tblInvCategories.SubCatID = tblInvCategories_1.CatID "
                 "WHERE tblInvCategories_1.lvl <> 1")),
             0);

    const Rows maps = rows(5, QStringLiteral("SELECT ClubID, MapType, COUNT(*), MIN(PageNum), "
                                             "MAX(PageNum) FROM tblMapDefault GROUP BY "
                                             "ClubID, MapType"));
    QSet<QString> clubs;
    int insertTypes = 0;
    for (const QStringList &map : maps) {
        clubs << map.at(0);
        QCOMPARE(map.at(3), QStringLiteral("1"));
        QCOMPARE(map.at(4), map.at(2)); // pages 1 to n without gaps
        QVERIFY2(map.at(2).toInt() >= 12 && map.at(2).toInt() <= 32, qPrintable(map.join(u' ')));
        if (map.at(1).contains(QLatin1String("Catalog Insert")))
            ++insertTypes;
    }
    QVERIFY(clubs.size() >= 3);
    QVERIFY(insertTypes >= 2);
    // Every section of a default map is offered in the section list.
    QCOMPARE(TestWarehouse::count(QStringLiteral(
                 "SELECT COUNT(*) FROM tblMapDefault WHERE PageSection NOT IN (SELECT PageSection "
                 "FROM tblMapDefaultPageSections)")),
             0);
    // The category display name of the product lists: the top level by itself, below it with
    // its parent.
    QCOMPARE(values(QStringLiteral("SELECT ") + dialect::categoryName() +
                    QStringLiteral(" FROM tblInvCategories INNER JOIN tblInvCategories "
                                   "tblInvCategories_1 ON tblInvCategories.SubCatID = "
                                   "tblInvCategories_1.CatID WHERE tblInvCategories.CatID IN (1, "
                                   "11) ORDER BY tblInvCategories.CatID")),
             QStringList({QStringLiteral("Fiction"), QStringLiteral("Fiction / Mystery")}));
}

void tst_schema::demoDataShowsInEveryWindow()
{
    TestWarehouse warehouse(TestWarehouse::Content::DemoData);
    const QVariant yearAgo = date(-365);
    struct Check
    {
        const char *what;
        const char *sql;
        QVariantList values;
    };
    const QList<Check> nonEmpty{
        {"catalog tree", "SELECT COUNT(*) FROM viewMapCatalogsDisplay", {}},
        {"insert tree", "SELECT COUNT(*) FROM viewMapInsertsDisplay", {}},
        {"catalogs to package", "SELECT COUNT(*) FROM viewCatalogsToBeCombined", {}},
        {"creative export of catalogs",
         "SELECT COUNT(*) FROM viewDataForCreativeExport WHERE ItemType = 'General Catalog'",
         {}},
        {"creative export of inserts",
         "SELECT COUNT(*) FROM viewDataForCreativeExport WHERE ItemType = 'Package Insert'",
         {}},
        {"recurring products",
         "SELECT COUNT(*) FROM viewRecurringProducts WHERE ProductID IS NOT NULL",
         {}},
        {"schedule of the last year",
         "SELECT COUNT(*) FROM tblCycleSchedule WHERE AAAddressStartDate > ?",
         {yearAgo}},
        {"older schedule",
         "SELECT COUNT(*) FROM tblCycleSchedule WHERE AAAddressStartDate <= ?",
         {yearAgo}},
        {"scheduled catalog without a map",
         "SELECT COUNT(*) FROM tblCycleSchedule WHERE NOT EXISTS (SELECT 1 FROM tblCatalogMap "
         "WHERE "
         "tblCatalogMap.ClubID = tblCycleSchedule.ClubID AND tblCatalogMap.CatalogID = "
         "tblCycleSchedule.CatalogID)",
         {}},
        {"test versions", "SELECT COUNT(*) FROM tblCatalogMap WHERE TestID <> '0000'", {}},
        {"catalog placements", "SELECT COUNT(*) FROM tblProductsMap WHERE ClubID IS NOT NULL", {}},
        {"insert placements", "SELECT COUNT(*) FROM tblProductsMap WHERE ClubID IS NULL", {}},
        {"recommendations", "SELECT COUNT(*) FROM tblInvRecommendations", {}},
        {"package inserts",
         "SELECT COUNT(*) FROM tblMailPackages WHERE ItemType = 'Package Insert'",
         {}},
        {"ad codes", "SELECT COUNT(*) FROM tblAdCodes", {}},
        {"inactive products", "SELECT COUNT(*) FROM tblInvMaster WHERE ActiveProd = 0", {}},
        {"products without description",
         "SELECT COUNT(*) FROM tblInvMaster WHERE ProductID NOT IN (SELECT ProductID FROM "
         "tblInvDescriptions)",
         {}},
    };
    for (const Check &check : nonEmpty)
        QVERIFY2(TestWarehouse::count(QString::fromLatin1(check.sql), check.values) > 0,
                 check.what);
    QVERIFY(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")) >= 200);

    // What the client refuses to write, the demo data does not hold either.
    const QList<Check> never{
        {"placement with a description size its product lacks",
         "SELECT COUNT(*) FROM tblProductsMap WHERE DescType <> 'Blank' AND NOT EXISTS (SELECT 1 "
         "FROM tblInvDescriptions WHERE tblInvDescriptions.ProductID = tblProductsMap.ProductID "
         "AND "
         "BlurbSize = DescType)",
         {}},
        {"placement of an unknown product",
         "SELECT COUNT(*) FROM tblProductsMap WHERE ProductID NOT IN (SELECT ProductID FROM "
         "tblInvMaster)",
         {}},
        {"two products on one position",
         "SELECT COUNT(*) FROM (SELECT CatalogID FROM tblProductsMap GROUP BY ClubID, CatalogID, "
         "TestID, PageNum, PagePosition HAVING COUNT(*) > 1) taken",
         {}},
        {"product of an unknown category",
         "SELECT COUNT(*) FROM tblInvMaster WHERE Category NOT IN (SELECT CatID FROM "
         "tblInvCategories)",
         {}},
        {"package without its catalog row",
         "SELECT COUNT(*) FROM tblMailPackages p WHERE NOT EXISTS (SELECT 1 FROM tblMailPackages c "
         "WHERE c.PackageID = p.PackageID AND c.ItemType = 'General Catalog')",
         {}},
        {"ad code whose total is not list plus package",
         "SELECT COUNT(*) FROM tblAdCodes WHERE TotalCpm <> ListCpm + PkgCpm",
         {}},
    };
    for (const Check &check : never)
        QVERIFY2(TestWarehouse::count(QString::fromLatin1(check.sql), check.values) == 0,
                 check.what);

    // Texts the client writes as 'mm/dd/yyyy', and package IDs of 18 characters.
    static const QRegularExpression usDate(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"));
    for (const QString &text :
         values(QStringLiteral("SELECT PackageCreateDate FROM tblMailPackages UNION ALL "
                               "SELECT ModDate FROM tblAdCodes")))
        QVERIFY2(usDate.match(text).hasMatch(), qPrintable(text));
    for (const QString &id : values(QStringLiteral("SELECT PackageID FROM tblMailPackages")))
        QCOMPARE(id.size(), 18);

    // The package window offers inserts made in the last six months: some are, some are older.
    int recent = 0;
    int older = 0;
    for (const QString &id : values(QStringLiteral("SELECT DISTINCT InsertId FROM tblInsertMap"))) {
        const QDate made = QDate::fromString(id.left(8), QStringLiteral("MMddyyyy"));
        QVERIFY2(made.isValid(), qPrintable(id));
        (made >= QDate::currentDate().addMonths(-6) ? recent : older) += 1;
    }
    QVERIFY(recent > 0);
    QVERIFY(older > 0);
}

void tst_schema::splitStatements_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("two statements") << "SELECT 1;\nSELECT 2;" << statements("SELECT 1|SELECT 2");
    QTest::newRow("last without semicolon") << "SELECT 1;  SELECT 2\n"
                                            << statements("SELECT 1|SELECT 2");
    QTest::newRow("semicolon in a string") << "INSERT INTO t VALUES ('a;b');SELECT 2"
                                           << statements("INSERT INTO t VALUES ('a;b')|SELECT 2");
    QTest::newRow("doubled quote")
        << "SELECT 'it''s; here';SELECT 2" << statements("SELECT 'it''s; here'|SELECT 2");
    QTest::newRow("comment dropped, its semicolon and quote too")
        << "-- the club's list; first\nSELECT 1; -- trailing; it's\nSELECT 2"
        << statements("SELECT 1|SELECT 2");
    QTest::newRow("comment inside a statement")
        << "SELECT 1, -- one\n2;" << statements("SELECT 1, \n2");
    QTest::newRow("dashes in a string stay")
        << "SELECT '--not a comment';" << statements("SELECT '--not a comment'");
    QTest::newRow("empty statements") << ";;\n  ;SELECT 1;;" << statements("SELECT 1");
    QTest::newRow("only comments") << "-- nothing\n-- here;" << statements("");
}

void tst_schema::splitStatements()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(warehouse::schema::splitStatements(script), statements);
}

void tst_schema::splitBatches_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("batches");
    QTest::newRow("two batches") << "CREATE TABLE a (x int)\nGO\nCREATE VIEW v AS SELECT 1\nGO\n"
                                 << statements("CREATE TABLE a (x int)|CREATE VIEW v AS SELECT 1");
    QTest::newRow("go in any case, blanks around")
        << "SELECT 1\n  go  \nSELECT 2" << statements("SELECT 1|SELECT 2");
    QTest::newRow("Windows line ends") << "SELECT 1\r\nGO\r\nSELECT 2\r\n"
                                       << statements("SELECT 1|SELECT 2");
    QTest::newRow("GO inside a line is no separator")
        << "SELECT 1 AS GO\nGOTO x\nGO" << statements("SELECT 1 AS GO\nGOTO x");
    QTest::newRow("batch of comments dropped") << "-- heading\n\nGO\nSELECT 1\n-- tail\n"
                                               << statements("SELECT 1\n-- tail");
    QTest::newRow("semicolons stay inside a batch")
        << "INSERT INTO t VALUES (1);\nINSERT INTO t VALUES ('a;b');\nGO"
        << statements("INSERT INTO t VALUES (1);\nINSERT INTO t VALUES ('a;b');");
}

void tst_schema::splitBatches()
{
    QFETCH(QString, script);
    QFETCH(QStringList, batches);
    QCOMPARE(warehouse::schema::splitBatches(script), batches);
}

void tst_schema::resolveDemoTokens_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("resolved");
    const QDate day(2024, 6, 15);
    QTest::newRow("days ago") << day << "VALUES ({DATE:-30})"
                              << "VALUES ('2024-05-16')";
    QTest::newRow("days ahead") << day << "VALUES ({DATE:+30})"
                                << "VALUES ('2024-07-15')";
    QTest::newRow("unsigned and zero") << day << "{DATE:1} {DATE:0}"
                                       << "'2024-06-16' '2024-06-15'";
    QTest::newRow("insert ID") << day << "{INSERTID:-45}"
                               << "'05012024120000'";
    QTest::newRow("several on a line") << day << "({DATE:-1}, {INSERTID:+1}, {DATE:-365})"
                                       << "('2024-06-14', '06162024120000', '2023-06-16')";
    QTest::newRow("into a leap day") << QDate(2024, 3, 1) << "{DATE:-1} {INSERTID:-1}"
                                     << "'2024-02-29' '02292024120000'";
    QTest::newRow("a year from a leap day") << QDate(2024, 2, 29) << "{DATE:+365} {DATE:-366}"
                                            << "'2025-02-28' '2023-02-28'";
    QTest::newRow("across the year") << QDate(2025, 1, 3) << "{INSERTID:-5}"
                                     << "'12292024120000'";
    QTest::newRow("no token") << day << "{DATE:x} {TIME:-1} DATE:-1"
                              << "{DATE:x} {TIME:-1} DATE:-1";
}

void tst_schema::resolveDemoTokens()
{
    QFETCH(QDate, today);
    QFETCH(QString, script);
    QFETCH(QString, resolved);
    QCOMPARE(warehouse::schema::resolveDemoTokens(script, today), resolved);
}

FOLVANE_DATABASE_TEST_MAIN(tst_schema)
#include "tst_schema.moc"
