#pragma once

#include <QString>
#include <QStringList>

// A large embedded warehouse for the benchmarks: the shipped schema and reference data, filled
// with a deterministic data set the size of a busy mailer's (100,000 products, 2,000 catalog
// versions of 100 pages, 100,000 placements), with schedule rows, inserts, recommendations,
// recurring products, descriptions, packages and ad codes around them.
namespace bench {

struct LargeWarehouseSize
{
    int products = 100000;
    int catalogs = 400;      // each with a schedule row
    int testsPerCatalog = 5; // versions per catalog: 400 x 5 = 2,000 maps
    int pagesPerVersion = 100;
    int inserts = 200;
    int pagesPerInsert = 8;
    int catalogPlacements = 96000;
    int insertPlacements = 4000;
    int recommendationsPerCatalog = 25;
    int recurringPerCatalog = 10;
    int describedProductsPercent = 60; // products with a "Short" description
    int packages = 300;
    int adCodes = 5000;

    int versions() const { return catalogs * testsPerCatalog; }
    int placements() const { return catalogPlacements + insertPlacements; }
};

// Where the benchmarks keep the large warehouse between runs: in the temporary folder.
QString defaultLargeWarehousePath();

// Opens gcnWarehouse on the large warehouse at `path`, building it first when the file is missing
// or holds another size (a build takes some seconds; it is written to a side file and moved into
// place when complete). Throws DbError when the warehouse cannot be built or opened.
void openLargeWarehouse(const QString &path = defaultLargeWarehousePath(),
                        const LargeWarehouseSize &size = {});

// The start the benchmarks share: their dialogs printed to the terminal, and the large warehouse
// opened, the one named on the command line or the shared default one.
// One package holding every catalog's main version and every insert, written inside the caller's
// transaction (placements moved to the main versions first); the IDs of its items.
QStringList makePackageOfEverything(const QString &package);
// The maps the reports are measured on, written inside the caller's transaction (those of an
// earlier run removed first): the large warehouse's versions hold some fifty placements each,
// too few to time a report by. Two versions of club BENCH's catalog RPT, 100 pages of 100
// placements each with forecasts; 0001 has every 10th placement moved, every 7th repriced, every
// 13th left out and 500 products added. Product P000001 is placed on page 1 of every version.
void makeReportMaps();
// Removes them, so that a server kept between runs holds the large warehouse's size again.
void removeReportMaps();
void openFromArguments(int argc, char **argv);

// The large warehouse on PostgreSQL: the test server started as the tests start it
// (scripts/start-test-postgres, in FOLVANE_TEST_PG_DIR or a folder of the benchmarks' own), a
// database "folvane_bench" of its own beside the tests' one, filled once, opened as the client
// opens its data source (through libpq unless ODBC is kept).
// Every statement the server runs there is written to its log, for postgresStatementsSince().
struct PostgresServer
{
    QString folder;
    QString port;
};
PostgresServer openLargePostgresWarehouse(const LargeWarehouseSize &size = {});
// Where the server's log ends now.
qint64 postgresLogEnd(const PostgresServer &server);
// The SELECT statements the server ran for the bench database since the log ended at `from`,
// with their parameters written in.
QStringList postgresStatementsSince(const PostgresServer &server, qint64 from);
// Windows are drawn off screen when there is no display to show them.
void drawOffscreenWithoutDisplay();

} // namespace bench
