// Reads are stepped beside Qt's driver: through SQLite's own interface on the embedded warehouse,
// from the driver's ODBC statement on a server reached through ODBC. Both ways must give the same
// values, texts, dates, numbers and errors for the same rows, or every grid would change its cells.
// On PostgreSQL through libpq the other way is the data source's ODBC driver itself, on a
// connection of its own: the same values and texts, and a failure where it fails. Each case reads
// both ways and compares.

#include "TestWarehouse.h"

#include "warehouse/DbError.h"
#include "warehouse/OpenResult.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTest>

namespace {

bool throughLibpq()
{
    return warehouse::dialect() == Dialect::PostgreSQL && !warehouse::keepsOdbc();
}

// The other way: the driver alone, or on libpq the same data source through its ODBC driver.
class OtherWay
{
public:
    OtherWay()
    {
        if (!throughLibpq()) {
            m_driverOnly.emplace();
            return;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kName);
        db.setDatabaseName(QString::fromLatin1(warehouse::kDataSourceName));
        db.setUserName(QString::fromLatin1(warehouse::kUserName));
        db.setPassword(QString::fromLatin1(warehouse::kPassword));
        if (!db.open())
            qFatal("no ODBC connection: %s", qPrintable(db.lastError().text()));
        m_use.emplace(kName);
    }
    ~OtherWay()
    {
        m_use.reset();
        if (QSqlDatabase::contains(kName))
            QSqlDatabase::removeDatabase(kName);
    }

private:
    static inline const QString kName = QStringLiteral("odbc");
    std::optional<Query::DriverOnly> m_driverOnly;
    std::optional<warehouse::ThreadConnection> m_use;
};

// A failure as the comparison sees it: the same words on one driver; through libpq and ODBC only
// that it failed, the drivers wording it each their own way.
QString failureText(const DbError &error)
{
    return throughLibpq() ? QStringLiteral("failed")
                          : error.number() + QLatin1Char('|') + error.description();
}

struct Cell
{
    QVariant value;
    QString text;
    bool null = false;
    QDate date;
    double number = 0;
    // textIs() holds for the value's own text, and only for it.
    bool textIsItsText = false;

    bool operator==(const Cell &other) const
    {
        return value.typeId() == other.value.typeId() && value == other.value &&
               value.isNull() == other.value.isNull() && text == other.text && null == other.null &&
               date == other.date && number == other.number && textIsItsText && other.textIsItsText;
    }
};

using Rows = QList<QList<Cell>>;

Rows read(Query &query, int columns)
{
    Rows rows;
    while (query.next()) {
        QList<Cell> row;
        for (int c = 0; c < columns; ++c) {
            const QVariant value = query.value(c);
            const QString text = query.text(c);
            const bool textIs = query.textIs(c, text) &&
                                !query.textIs(c, QString(text + QLatin1Char('x'))) &&
                                (text.isEmpty() || !query.textIs(c, QStringView(text).chopped(1)));
            row.append({value, text, query.isNull(c), query.date(c), query.number(c), textIs});
        }
        rows.append(row);
    }
    return rows;
}

Rows readBoth(bool direct, int columns, const QString &sql, const QVariantList &values)
{
    std::optional<OtherWay> otherWay;
    if (!direct)
        otherWay.emplace();
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    query.exec();
    if (direct && !query.steppedDirectly())
        qFatal("the read went through the driver");
    return read(query, columns);
}

void compareBothWays(int columns, const QString &sql, const QVariantList &values = {})
{
    const Rows direct = readBoth(true, columns, sql, values);
    const Rows driver = readBoth(false, columns, sql, values);
    QVERIFY2(!driver.isEmpty(), qPrintable(sql));
    QCOMPARE(direct.size(), driver.size());
    for (int r = 0; r < direct.size(); ++r) {
        QCOMPARE(direct.at(r).size(), driver.at(r).size());
        for (int c = 0; c < direct.at(r).size(); ++c) {
            const Cell &a = direct.at(r).at(c);
            const Cell &b = driver.at(r).at(c);
            if (!(a == b))
                QFAIL(qPrintable(QStringLiteral("row %1 column %2: \"%3\" (%4) against \"%5\" (%6)")
                                     .arg(r)
                                     .arg(c)
                                     .arg(a.text, QString::fromLatin1(a.value.typeName()), b.text,
                                          QString::fromLatin1(b.value.typeName()))));
        }
    }
}

const QString kLongText =
    QString(QStringLiteral("Grüße, naïve café – ½ € “quoted” 日本 ")).repeated(12);

void insertProducts()
{
    const QString insert = QStringLiteral(
        "INSERT INTO tblInvMaster (ProductID, ProductUPC, ProductName, ActiveProd, ActiveWeb, "
        "Category, MSRP, LastPrice, ProdCost, ReleaseDate, ModifyDate, Comments, OnHand) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const int category =
        TestWarehouse::scalar(QStringLiteral("SELECT MIN(CatID) FROM tblInvCategories")).toInt();
    Query(insert)
        .bind(QStringLiteral("P1"))
        .bind(Query::nullText())
        .bind(QStringLiteral("Crème brûlée set"))
        .bind(1)
        .bind(0)
        .bind(category)
        .bind(19.95)
        .bind(0.1 + 0.2)
        .bind(1234567.5)
        .bindDate(QDate(1999, 12, 31))
        .bindDateTime(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)))
        .bind(kLongText)
        .bind(-7)
        .exec();
    Query(insert)
        .bind(QStringLiteral("P2"))
        .bind(QString())
        .bind(QStringLiteral("Plain"))
        .bind(0)
        .bind(1)
        .bind(category)
        .bind(QVariant())
        .bind(0)
        .bind(1e-7)
        .bindDate(QDate())
        .bindDateTime(QDateTime())
        .bindTextOrNull(QString())
        .bind(QVariant())
        .exec();
}

} // namespace

class TestQueryPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesAndTextsAsTheDriverGivesThem()
    {
        TestWarehouse warehouse;
        insertProducts();
        compareBothWays(
            14,
            QStringLiteral(
                "SELECT ProductID, ProductUPC, ProductName, ActiveProd, MSRP, LastPrice, ProdCost, "
                "ReleaseDate, ModifyDate, Comments, OnHand, NULL, 2.5, 3 FROM tblInvMaster ORDER "
                "BY "
                "ProductID"));
        // What expressions give: booleans, counts and sums, averages, times, empty texts.
        compareBothWays(9, QStringLiteral("SELECT 1 = 1, 1 = 2, CAST(NULL AS BOOLEAN), COUNT(*), "
                                          "SUM(OnHand), AVG(MSRP), MAX(ModifyDate), "
                                          "CAST('12:34:56' AS TIME), '' FROM tblInvMaster"));
        // The whole row by *, with a join, as the inventory searches read it.
        compareBothWays(32, QStringLiteral("SELECT tblInvMaster.*, tblInvCategories.CatDesc FROM "
                                           "tblInvMaster LEFT OUTER JOIN tblInvCategories ON "
                                           "tblInvCategories.CatID = tblInvMaster.Category"));
    }

    void boundValuesFindTheSameRows()
    {
        TestWarehouse warehouse;
        insertProducts();
        const QString sql =
            QStringLiteral("SELECT ProductID, ProductName FROM tblInvMaster WHERE ");
        compareBothWays(2, sql + QStringLiteral("ProductName = ?"),
                        {QStringLiteral("Crème brûlée set")});
        compareBothWays(2, sql + QStringLiteral("MSRP = CAST(? AS DOUBLE PRECISION)"), {19.95});
        compareBothWays(2, sql + QStringLiteral("OnHand = ?"), {-7});
        compareBothWays(2, sql + QStringLiteral("OnHand = ?"), {qlonglong(-7)});
        compareBothWays(2, sql + QStringLiteral("ReleaseDate = ?"),
                        {sqlvalue::fromDate(QDate(1999, 12, 31))});
        compareBothWays(2, sql + QStringLiteral("ModifyDate = ?"),
                        {sqlvalue::fromDateTime(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)))});
        compareBothWays(2, sql + QStringLiteral("Comments = ?"), {kLongText});
        compareBothWays(2, sql + QStringLiteral("ProductUPC = ?"), {QString()}); // empty, not NULL
    }

    void storedDateTextsReadAsQDatesParserDoes()
    {
        const QStringList texts{QStringLiteral("1999-12-31"), QStringLiteral("2024-02-29 23:59:58"),
                                QStringLiteral("2023-02-29"), QStringLiteral("2024-13-01"),
                                QStringLiteral("0000-01-01"), QStringLiteral("20x4-01-01"),
                                QStringLiteral("2024-1-01"),  QStringLiteral("")};
        for (const QString &text : texts)
            QCOMPARE(sqlvalue::date(text),
                     QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")));
    }

    void aQueryRunAgainTakesItsNewValues()
    {
        TestWarehouse warehouse;
        insertProducts();
        Query query(QStringLiteral("SELECT ProductName FROM tblInvMaster WHERE ProductID = ?"));
        query.bind(QStringLiteral("P1")).exec();
        QVERIFY(query.next());
        QCOMPARE(query.text(0), QStringLiteral("Crème brûlée set"));
        query.bind(QStringLiteral("P2")).exec();
        QVERIFY(query.next());
        QCOMPARE(query.text(QStringLiteral("productname")), QStringLiteral("Plain"));
        QVERIFY(!query.next());
        QVERIFY(!query.next());
        QCOMPARE(query.indexOf(QStringLiteral("Nothing")), -1);
    }

    void largeResultsReadTheSameRowsAndFailuresBothWays()
    {
        // Past the first rows (a thousand of the file's, a hundred of the server's) the rest is
        // read ahead on another thread.
        TestWarehouse warehouse;
        // In the series' own order: a sort would compute every row before handing the first.
        const auto series = [](const QString &columns) -> QString {
            return QStringLiteral("SELECT ") + columns +
                   QStringLiteral(" FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 5000) SELECT i FROM n) series");
        };
        compareBothWays(5, series(QStringLiteral(
                               "i, 'Row ' || i, i * 0.5, NULL, CASE WHEN i % 3 = 0 THEN '' END")));
        if (warehouse::dialect() == Dialect::SQLite)
            compareBothWays(
                1, series(QStringLiteral("CASE WHEN i % 2 = 0 THEN x'' ELSE x'00ff' END")));
        else // texts the server's driver hands over in several pieces, before and after the thread
            compareBothWays(2, series(QStringLiteral("repeat('é', 500 + i % 700) || i, "
                                                     "CAST('2024-02-29' AS DATE) + i")));
        // A failure far into the rows comes after every row before it, on both ways.
        const QString failing = series(QStringLiteral(
            "CASE WHEN i < 3000 THEN i ELSE abs(-9223372036854775807 - i / 3000) END"));
        const auto readUntilFailure = [&failing](bool direct) {
            std::optional<OtherWay> otherWay;
            if (!direct)
                otherWay.emplace();
            QStringList read;
            try {
                Query query(failing);
                query.exec();
                while (query.next())
                    read << query.text(0);
            } catch (const DbError &error) {
                read << failureText(error);
            }
            return read;
        };
        const QStringList direct = readUntilFailure(true);
        const QStringList other = readUntilFailure(false);
        if (throughLibpq()) {
            // The rows before the failure arrive as the server sends them; the ODBC driver reads
            // the whole result first, so it fails before any.
            QCOMPARE(direct.last(), other.last());
            for (int i = 0; i + 1 < direct.size(); ++i)
                QCOMPARE(direct.at(i), QString::number(i + 1));
        } else {
            QCOMPARE(direct, other);
        }
        if (warehouse::dialect() == Dialect::SQLite || throughLibpq())
            QCOMPARE(direct.size(), 3000); // 2,999 rows, then the failure
    }

    void statementsComeAndGoWhileALargeResultIsReadAhead()
    {
        // The window's thread prepares and lets go of statements of its own while the rest of a
        // large result is stepped on the reader's thread, on the same connection: neither may
        // disturb the other. (None runs before the result ends: see
        // openResultRefusesOtherStatements.)
        TestWarehouse warehouse;
        Query(QStringLiteral("CREATE TEMPORARY TABLE tmpSeen (Seen INTEGER, Label VARCHAR(40))"))
            .exec();
        Query large(QStringLiteral(
            "SELECT i, 'Row ' || i FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
            "FROM n WHERE i < 20000) SELECT i FROM n) series"));
        large.exec();
        int expected = 0;
        std::vector<Query> inserts;
        while (large.next()) {
            ++expected;
            QCOMPARE(large.value(0).toInt(), expected);
            QCOMPARE(large.text(1), QStringLiteral("Row %1").arg(expected));
            if (expected % 7 != 0)
                continue;
            Query(QStringLiteral("SELECT Label FROM tmpSeen ORDER BY Label DESC"));
            inserts.emplace_back(QStringLiteral("INSERT INTO tmpSeen (Seen, Label) VALUES (?, ?)"));
            inserts.back().bind(expected).bind(large.text(1));
        }
        QCOMPARE(expected, 20000);
        for (Query &insert : inserts)
            insert.exec();
        Query count(QStringLiteral("SELECT COUNT(*), SUM(Seen) FROM tmpSeen"));
        QVERIFY(count.execFirst());
        QCOMPARE(count.value(0).toInt(), 20000 / 7);
        QCOMPARE(count.value(1).toLongLong(), 7LL * (20000 / 7) * (20000 / 7 + 1) / 2);
    }

    // A result left before its end (its first row taken) frees the connection for the next
    // statement. On the server its rest is cancelled, but never inside a transaction, which the
    // cancel would abort: the write before it must still commit.
    void aResultLeftEarlyLeavesItsTransactionSound_data()
    {
        QTest::addColumn<bool>("inTransaction");
        QTest::newRow("alone") << false;
        QTest::newRow("inside a transaction") << true;
    }

    void aResultLeftEarlyLeavesItsTransactionSound()
    {
        QFETCH(bool, inTransaction);
        TestWarehouse warehouse;
        std::optional<Transaction> transaction;
        if (inTransaction)
            transaction.emplace();
        const QString kept = QStringLiteral("SELECT COUNT(*) FROM tblMapDefaultPageSections WHERE "
                                            "PageSection = 'Kept'");
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblMapDefaultPageSections (PageSection) VALUES ('Kept')"));
        Query large(QStringLiteral("SELECT i, 'Row ' || i FROM (WITH RECURSIVE n(i) AS (SELECT 1 "
                                   "UNION ALL SELECT i + 1 FROM n WHERE i < 300000) SELECT i FROM "
                                   "n) series"));
        QVERIFY(large.execFirst());
        QCOMPARE(large.text(1), QStringLiteral("Row 1"));
        QCOMPARE(TestWarehouse::count(kept), 1);
        if (transaction)
            transaction->commit();
        QCOMPARE(TestWarehouse::count(kept), 1);
    }

    // SQL Server runs no statement of a connection while another's result holds unread rows; the
    // test programs' guard refuses one as the server would, on every warehouse and both ways.
    void openResultRefusesOtherStatements_data()
    {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<bool>("refused");
        QTest::newRow("not read") << QStringLiteral("none") << true;
        QTest::newRow("one row of several") << QStringLiteral("one") << true;
        QTest::newRow("read to the end") << QStringLiteral("all") << false;
        QTest::newRow("first row, result closed") << QStringLiteral("first") << false;
        QTest::newRow("exists") << QStringLiteral("exists") << false;
    }

    void openResultRefusesOtherStatements()
    {
        QFETCH(QString, reading);
        QFETCH(bool, refused);
        TestWarehouse warehouse;
        for (const bool direct : {true, false}) {
            std::optional<Query::DriverOnly> driverOnly;
            if (!direct)
                driverOnly.emplace();
            Query sections(QStringLiteral("SELECT PageSection AS Section FROM "
                                          "tblMapDefaultPageSections ORDER BY PageSection"));
            const QString first =
                TestWarehouse::scalar(
                    QStringLiteral("SELECT MIN(PageSection) FROM tblMapDefaultPageSections"))
                    .toString();
            if (reading == QLatin1String("first")) {
                QVERIFY(sections.execFirst());
                QCOMPARE(sections.text(0), first);
                QCOMPARE(sections.text(QStringLiteral("Section")), first);
                QVERIFY(!sections.next());
            } else if (reading == QLatin1String("exists")) {
                QVERIFY(sections.exists());
            } else {
                sections.exec();
                if (reading != QLatin1String("none"))
                    while (sections.next() && reading != QLatin1String("one")) {
                    }
            }
            const auto another = [] {
                Query(QStringLiteral("UPDATE tblMapDefaultPageSections SET PageSection = "
                                     "PageSection WHERE PageSection = ''"))
                    .exec();
            };
            if (refused) {
                try {
                    another();
                    QFAIL("a statement ran while another's result was open");
                } catch (const DbError &error) {
                    QCOMPARE(error.number(), QLatin1String(OpenResult::kBusyNumber));
                    QVERIFY(error.description().contains(sections.sql()));
                }
                QVERIFY_THROWS_EXCEPTION(DbError, Transaction());
                QCOMPARE(OpenResult::takeRefusals(), 2);
                // Run again, the statement ends its own result first.
                sections.exec();
                continue;
            }
            another();
            Transaction transaction;
            transaction.commit();
        }
    }

    void failuresReadTheSameBothWays()
    {
        TestWarehouse warehouse;
        const auto failure = [](bool direct, const QString &sql, int binds) {
            std::optional<OtherWay> otherWay;
            if (!direct)
                otherWay.emplace();
            try {
                Query query(sql);
                for (int i = 0; i < binds; ++i)
                    query.bind(i);
                query.exec();
                while (query.next()) {
                }
            } catch (const DbError &error) {
                return failureText(error);
            }
            return QString();
        };
        QList<std::pair<QString, int>> statements{
            {QStringLiteral("SELECT * FROM tblNoSuchTable"), 0},
            {QStringLiteral("SELECT abs(-9223372036854775807 - 1)"), 0}};
        // The server's driver leaves a parameter too many unused.
        if (warehouse::dialect() == Dialect::SQLite)
            statements.append(
                {QStringLiteral("SELECT ProductID FROM tblInvMaster WHERE ProductID = ?"), 2});
        for (const auto &[sql, binds] : statements) {
            const QString direct = failure(true, sql, binds);
            QVERIFY2(!direct.isEmpty(), qPrintable(sql));
            QCOMPARE(direct, failure(false, sql, binds));
        }
    }
};

FOLVANE_DATABASE_TEST_MAIN(TestQueryPaths)
#include "tst_query_paths.moc"
