// A long statement gives way to its watch while it works, stops when the watch asks, and leaves
// the connection as it found it: on the embedded warehouse while SQLite steps it, on the server
// while the driver executes a SELECT.

#include "TestWarehouse.h"

#include "warehouse/Query.h"
#include "warehouse/StatementWatch.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

namespace {

constexpr int kSeries = 200000;

// Sorted the other way round, so every row is read before the first comes. The SELECT is stepped
// beside the driver, the WITH through it.
const QString kSeriesSelect = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                             "i + 1 FROM n WHERE i < ?) SELECT i FROM n");
const QString kSortedSeries =
    QStringLiteral("SELECT i FROM (") + kSeriesSelect + QStringLiteral(") series ORDER BY i DESC");
const QString kSortedSeriesThroughTheDriver = kSeriesSelect + QStringLiteral(" ORDER BY i DESC");

int readAll(Query &query)
{
    query.bind(kSeries).exec();
    int rows = 0;
    while (query.next())
        ++rows;
    return rows;
}

bool embedded() { return warehouse::dialect() == Dialect::SQLite; }

} // namespace

class TestStatementWatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aLongStatementGivesWayAndStopsWhenAsked_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("stepped beside the driver") << kSortedSeries;
        QTest::newRow("through the driver") << kSortedSeriesThroughTheDriver;
    }

    void aLongStatementGivesWayAndStopsWhenAsked()
    {
        QFETCH(QString, sql);
        TestWarehouse warehouse;
        Query query(sql);
        int calls = 0;
        // Through ODBC a SELECT gives way while the driver executes it, every 20 ms; through
        // libpq every read does, a WITH too.
        const bool givesWay = embedded() || sql == kSortedSeries || !warehouse::keepsOdbc();
        {
            StatementWatch watch([&calls] { return ++calls == 3; });
            if (!givesWay) {
                QCOMPARE(readAll(query), kSeries);
                QCOMPARE(calls, 0);
                return;
            }
            QVERIFY_THROWS_EXCEPTION(StoppedByOperator, readAll(query));
            QCOMPARE(calls, 3);
            // Still stopped while the watch lives: the rest of the operation ends too.
            QVERIFY_THROWS_EXCEPTION(StoppedByOperator, readAll(query));
            QCOMPARE(calls, 3);
        }
        // The watch gone, the same statement reads whole and nothing is asked.
        QCOMPARE(readAll(query), kSeries);
        QCOMPARE(calls, 3);
    }

    void theNewestWatchIsAskedAndTheOlderAgainWhenItEnds()
    {
        if (!embedded())
            QSKIP("statements on the server run to their end");
        TestWarehouse warehouse;
        Query query(kSortedSeries);
        int outerCalls = 0;
        int innerCalls = 0;
        StatementWatch outer([&outerCalls] {
            ++outerCalls;
            return false;
        });
        {
            StatementWatch inner([&innerCalls] {
                ++innerCalls;
                return false;
            });
            QCOMPARE(readAll(query), kSeries);
        }
        QVERIFY(innerCalls > 0);
        QCOMPARE(outerCalls, 0);
        QCOMPARE(readAll(query), kSeries);
        QVERIFY(outerCalls > 0);
    }

    void aStopCancelsTheServersExecute()
    {
        if (embedded())
            QSKIP("the embedded warehouse stops inside its steps (above)");
        TestWarehouse warehouse;
        Query sleep(QStringLiteral("SELECT pg_sleep(?) AS slept"));
        QElapsedTimer clock;
        clock.start();
        {
            int calls = 0;
            StatementWatch watch([&calls] { return ++calls == 5; });
            QVERIFY_THROWS_EXCEPTION(StoppedByOperator, sleep.bind(60).exec());
        }
        // Run to its end, the statement would have held the window a minute.
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
        // The cancelled statement and its connection serve the next operation.
        QVERIFY(sleep.bind(0).exists());
        QVERIFY(!sleep.next());
    }

    void aServerResultGivesWayWhileItsRowsAreRead()
    {
        if (embedded())
            QSKIP("the embedded warehouse gives way inside its steps (above)");
        TestWarehouse warehouse;
        Query query(kSortedSeries);
        int read = 0;
        // Asked during the execute too, before any row: only a stop among the rows counts here.
        StatementWatch watch([&read] { return read > 1000; });
        query.bind(kSeries).exec();
        QVERIFY_THROWS_EXCEPTION(StoppedByOperator, [&] {
            while (query.next())
                ++read;
        }());
        QVERIFY2(read > 1000 && read < 1200, qPrintable(QString::number(read)));
    }
};

FOLVANE_DATABASE_TEST_MAIN(TestStatementWatch)
#include "tst_statement_watch.moc"
