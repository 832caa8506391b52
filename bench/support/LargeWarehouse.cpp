#include "LargeWarehouse.h"

#include "PrintedDialogs.h"

#include "warehouse/DbError.h"
#include "warehouse/Query.h"
#include "warehouse/Schema.h"
#include "warehouse/Transaction.h"
#include "warehouse/Warehouse.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace bench {

namespace {

const QStringList kClubs{QStringLiteral("BOOK"), QStringLiteral("KIDS"), QStringLiteral("MYST")};
const QStringList kWords{
    QStringLiteral("Silent"),   QStringLiteral("Harbor"), QStringLiteral("Winter"),
    QStringLiteral("Garden"),   QStringLiteral("Secret"), QStringLiteral("River"),
    QStringLiteral("Midnight"), QStringLiteral("Crown"),  QStringLiteral("Lantern"),
    QStringLiteral("Orchard"),  QStringLiteral("Shadow"), QStringLiteral("Meadow"),
    QStringLiteral("Compass"),  QStringLiteral("Ember"),  QStringLiteral("Willow"),
    QStringLiteral("Summit")};
const QStringList kStatuses{QStringLiteral("Active"), QStringLiteral("Backorder"),
                            QStringLiteral("Discontinued")};

// Deterministic numbers, so every build of the warehouse holds the same data.
class Dice
{
public:
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(m_engine); }
    double money(double low, double high)
    {
        return std::round(std::uniform_real_distribution(low, high)(m_engine) * 100) / 100;
    }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename List> const auto &pick(const List &list)
    {
        return list[between(0, int(list.size()) - 1)];
    }

private:
    std::mt19937 m_engine{20240611};
};

QString productId(int n) { return QStringLiteral("P%1").arg(n, 6, 10, QLatin1Char('0')); }

QString catalogId(int n) { return QStringLiteral("CAT%1").arg(n, 4, 10, QLatin1Char('0')); }

QString testId(int n) { return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')); }

QList<QVariant> column(const QString &sql)
{
    QList<QVariant> values;
    Query q(sql);
    q.exec();
    while (q.next())
        values << q.value(0);
    return values;
}

struct Builder
{
    explicit Builder(const LargeWarehouseSize &size)
        : size(size)
    {}

    const LargeWarehouseSize &size;
    QDate today = QDate::currentDate();
    QDateTime now = QDateTime::currentDateTime();
    Dice dice;
    QList<QVariant> categories = column(QStringLiteral("SELECT CatID FROM tblInvCategories"));
    QList<QVariant> manufacturers =
        column(QStringLiteral("SELECT ManufacturerID FROM tblManufactrurers"));
    QList<QVariant> sections =
        column(QStringLiteral("SELECT PageSection FROM tblMapDefaultPageSections"));
    QStringList insertIds;

    QDate daysAgo(int days) const { return today.addDays(-days); }

    void build()
    {
        products();
        descriptions();
        schedule();
        catalogMaps();
        insertMaps();
        placements();
        recommendationsAndRecurring();
        packages();
        adCodes();
    }

    void products()
    {
        Query insert(QStringLiteral(
            "INSERT INTO tblInvMaster (ProductID, ProductUPC, ProductName, ActiveProd, ActiveWeb, "
            "Category, MSRP, LastPrice, ProdCost, ManufacturerID, ReleaseDate, DistEndDate, "
            "FirstUseDate, FirstUseCycle, LastUseDate, LastUseCycle, FeaturedProd, OnHand, Status, "
            "Comments, Source, Weight, Length, Height, Width, ArtSource, ModifyDate, ModifyUser) "
            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (int n = 1; n <= size.products; ++n) {
            const double msrp = dice.money(4.99, 59.99);
            const int released = dice.between(30, 3000);
            insert.bind(productId(n))
                .bind(QStringLiteral("0%1").arg(700000000000LL + n * 7919LL))
                .bind(QStringLiteral("The %1 %2, Book %3")
                          .arg(dice.pick(kWords), dice.pick(kWords))
                          .arg(n % 12 + 1))
                .bind(dice.chance(90) ? 1 : 0)
                .bind(dice.chance(50) ? 1 : 0)
                .bind(dice.pick(categories))
                .bind(msrp)
                .bind(dice.money(msrp * 0.5, msrp))
                .bind(dice.money(1, msrp * 0.4))
                .bind(dice.pick(manufacturers))
                .bindDate(daysAgo(released))
                .bindDate(dice.chance(20) ? daysAgo(-dice.between(30, 700)) : QDate())
                .bindDate(daysAgo(released - 10))
                .bind(catalogId(dice.between(1, size.catalogs)))
                .bindDate(daysAgo(dice.between(1, 400)))
                .bind(catalogId(dice.between(1, size.catalogs)))
                .bind(dice.chance(10) ? 1 : 0)
                .bind(dice.between(0, 5000))
                .bind(dice.pick(kStatuses))
                .bind(Query::nullText())
                .bind(QStringLiteral("Warehouse %1").arg(QChar(u'A' + dice.between(0, 3))))
                .bind(dice.money(0.2, 3))
                .bind(dice.money(5, 12))
                .bind(dice.money(7, 11))
                .bind(dice.money(0.3, 2.5))
                .bind(QStringLiteral("Publisher"))
                .bindDateTime(now)
                .bind(QStringLiteral("bench"))
                .exec();
        }
    }

    void descriptions()
    {
        Query insert(QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb, "
                                    "ModifyDate, ModifyUser) VALUES (?,?,?,?,?)"));
        for (int n = 1; n <= size.products; ++n)
            if (n % 100 < size.describedProductsPercent)
                insert.bind(productId(n))
                    .bind(QStringLiteral("Short"))
                    .bind(QStringLiteral("A %1 tale of the %2 and the %3.")
                              .arg(dice.pick(kWords).toLower(), dice.pick(kWords).toLower(),
                                   dice.pick(kWords).toLower()))
                    .bindDateTime(now)
                    .bind(QStringLiteral("bench"))
                    .exec();
    }

    void schedule()
    {
        Query insert(QStringLiteral(
            "INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, MapCopyCreative, "
            "FstDraftCreative, CatalogReleaseDate, AAAddressStartDate, AAAddressCompleteDate, "
            "ReplyDate, LabelRunShipDate) VALUES (?,?,?,?,?,?,?,?,?,?)"));
        for (int c = 1; c <= size.catalogs; ++c) {
            // Spread over two years, so part of the schedule lies beyond the 365-day window.
            const QDate start = daysAgo(730 * (size.catalogs - c) / size.catalogs - 30);
            insert.bind(kClubs[c % kClubs.size()])
                .bind(catalogId(c))
                .bind(QStringLiteral("Catalog %1 of %2").arg(c).arg(kClubs[c % kClubs.size()]))
                .bindDate(start.addDays(-60))
                .bindDate(start.addDays(-45))
                .bindDate(start.addDays(-30))
                .bindDate(start)
                .bindDate(start.addDays(14))
                .bindDate(start.addDays(45))
                .bindDate(start.addDays(20))
                .exec();
        }
    }

    void catalogMaps()
    {
        Query insert(
            QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                           "PageSection) VALUES (?,?,?,?,?)"));
        for (int c = 1; c <= size.catalogs; ++c)
            for (int t = 0; t < size.testsPerCatalog; ++t)
                for (int page = 1; page <= size.pagesPerVersion; ++page)
                    insert.bind(kClubs[c % kClubs.size()])
                        .bind(catalogId(c))
                        .bind(testId(t))
                        .bind(page)
                        .bind(sections[(page * 7 + c) % sections.size()])
                        .exec();
    }

    void insertMaps()
    {
        Query insert(QStringLiteral("INSERT INTO tblInsertMap (InsertID, InsertDescription, "
                                    "PageNum, PageSection) VALUES (?,?,?,?)"));
        for (int i = 0; i < size.inserts; ++i) {
            const QDateTime made = now.addSecs(-3600LL * 7 * (i + 1));
            insertIds << made.toString(QStringLiteral("MMddyyyyhhmmss"));
            for (int page = 1; page <= size.pagesPerInsert; ++page)
                insert.bind(insertIds.last())
                    .bind(QStringLiteral("Insert %1 of the %2 season")
                              .arg(i + 1)
                              .arg(dice.pick(kWords)))
                    .bind(page)
                    .bind(sections[(page + i) % sections.size()])
                    .exec();
        }
    }

    void placements()
    {
        Query insert(QStringLiteral(
            "INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
            "PagePosition, PageWeight, DescType, Price, Discount, ProductType, ModifyDate, "
            "ModifyUser) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        const QStringList sizes{QStringLiteral("Long"), QStringLiteral("Medium"),
                                QStringLiteral("Short")};
        const QList<double> weights{11.11, 20.0, 25.0, 33.33};
        const auto place = [&](const QVariant &club, const QString &catalog, const QVariant &test,
                               int page, int position) {
            insert.bind(club)
                .bind(catalog)
                .bind(test)
                .bind(productId(dice.between(1, size.products)))
                .bind(page)
                .bind(position)
                .bind(dice.pick(weights))
                .bind(dice.pick(sizes))
                .bind(dice.money(2.99, 39.99))
                .bind(dice.chance(30) ? QVariant(dice.between(5, 40)) : QVariant(0))
                .bind(dice.chance(80) ? QStringLiteral("R") : QStringLiteral("F"))
                .bindDateTime(now)
                .bind(QStringLiteral("bench"))
                .exec();
        };
        // Spread evenly over the versions, on consecutive positions of their pages.
        const int versions = size.versions();
        for (int p = 0; p < size.catalogPlacements; ++p) {
            const int version = p % versions;
            const int nth = p / versions;
            const int c = version / size.testsPerCatalog + 1;
            place(kClubs[c % kClubs.size()], catalogId(c), testId(version % size.testsPerCatalog),
                  nth % size.pagesPerVersion + 1, nth / size.pagesPerVersion + 1);
        }
        for (int p = 0; p < size.insertPlacements; ++p) {
            const int nth = p / size.inserts;
            place(Query::nullText(), insertIds[p % size.inserts], Query::nullText(),
                  nth % size.pagesPerInsert + 1, nth / size.pagesPerInsert + 1);
        }
    }

    void recommendationsAndRecurring()
    {
        Query recommend(QStringLiteral("INSERT INTO tblInvRecommendations (ClubID, CatalogID, "
                                       "ProductID, FcstSales, ProdRank) VALUES (?,?,?,?,?)"));
        Query recur(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, "
                                   "ProductID) VALUES (?,?,?)"));
        for (int c = 1; c <= size.catalogs; ++c) {
            for (int r = 0; r < size.recommendationsPerCatalog; ++r)
                recommend.bind(kClubs[c % kClubs.size()])
                    .bind(catalogId(c))
                    .bind(productId(dice.between(1, size.products)))
                    .bind(dice.money(100, 20000))
                    .bind(dice.between(1, 100))
                    .exec();
            // Distinct products: consecutive ones from a random start.
            const int first = dice.between(1, size.products - size.recurringPerCatalog);
            for (int r = 0; r < size.recurringPerCatalog; ++r)
                recur.bind(kClubs[c % kClubs.size()])
                    .bind(catalogId(c))
                    .bind(productId(first + r))
                    .exec();
        }
    }

    void packages()
    {
        Query insert(QStringLiteral(
            "INSERT INTO tblMailPackages (PackageID, PackageDescription, PackageMailDate, "
            "PackageCreateDate, ClubID, CatalogID, TestID, ItemType, ItemDescription, ModifyDate, "
            "ModifyUser) VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
        for (int k = 0; k < size.packages; ++k) {
            const QDate created = daysAgo(k % 365 + 20);
            const QString id = created.toString(QStringLiteral("yyyyMMdd")) +
                               QStringLiteral("%1").arg(k, 10, 10, QLatin1Char('0'));
            const int c = k % size.catalogs + 1;
            const auto row = [&](const QVariant &club, const QString &catalog, const QVariant &test,
                                 const QString &type, const QString &description) {
                insert.bind(id)
                    .bind(QStringLiteral("Package %1").arg(k + 1))
                    .bindDate(created.addDays(15))
                    .bind(created.toString(QStringLiteral("MM/dd/yyyy")))
                    .bind(club)
                    .bind(catalog)
                    .bind(test)
                    .bind(type)
                    .bind(description)
                    .bindDateTime(now)
                    .bind(QStringLiteral("bench"))
                    .exec();
            };
            row(kClubs[c % kClubs.size()], catalogId(c), testId(k % size.testsPerCatalog),
                QStringLiteral("General Catalog"), QString());
            row(Query::nullText(), insertIds[k % size.inserts], Query::nullText(),
                QStringLiteral("Package Insert"),
                QStringLiteral("Insert %1").arg(k % size.inserts + 1));
        }
    }

    void adCodes()
    {
        Query insert(QStringLiteral(
            "INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, PkgCpm, "
            "Media, Offer, MailDate, QtyMailed, TotalCpm, TargetResp, ModUser, ModDate) "
            "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (int a = 1; a <= size.adCodes; ++a) {
            const double list = dice.money(40, 120);
            const double pkg = dice.money(200, 400);
            insert.bind(QStringLiteral("A%1").arg(a, 7, 10, QLatin1Char('0')))
                .bind(QStringLiteral("Club %1").arg(a % 50 + 100))
                .bind(QStringLiteral("Members, %1-%2 months").arg(a % 12).arg(a % 12 + 12))
                .bind(list)
                .bind(QStringLiteral("CAT%1").arg(a % 4 * 16 + 16))
                .bind(QStringLiteral("Catalog with order form"))
                .bind(pkg)
                .bind(QStringLiteral("Catalog"))
                .bind(QStringLiteral("%1 books for 99 cents").arg(a % 5 + 2))
                .bindDate(daysAgo(a % 700))
                .bind(dice.between(5000, 200000))
                .bind(list + pkg)
                .bind(dice.money(0.5, 4))
                .bind(QStringLiteral("bench"))
                .bind(daysAgo(a % 700 + 30).toString(QStringLiteral("MM/dd/yyyy")))
                .exec();
        }
    }
};

bool holdsSize(const LargeWarehouseSize &size)
{
    try {
        // Without the maps a run on the server keeps for the reports (makeReportMaps).
        Query q(QStringLiteral("SELECT (SELECT COUNT(*) FROM tblInvMaster), "
                               "(SELECT COUNT(*) FROM tblCatalogMap WHERE ClubID <> 'BENCH'), "
                               "(SELECT COUNT(*) FROM tblProductsMap WHERE ModifyUser IS NULL OR "
                               "ModifyUser <> 'bench reports'), "
                               "(SELECT COUNT(*) FROM tblInsertMap)"));
        q.exec();
        return q.next() && q.value(0).toInt() == size.products &&
               q.value(1).toInt() == size.versions() * size.pagesPerVersion &&
               q.value(2).toInt() == size.placements() &&
               q.value(3).toInt() == size.inserts * size.pagesPerInsert;
    } catch (const DbError &) {
        return false;
    }
}

// Stamped on the file (SQLite's user_version), so a warehouse built from an older schema script,
// with other indexes, is built anew rather than measured.
int schemaStamp()
{
    return int(qHash(warehouse::schema::scriptText(QStringLiteral("sqlite.sql"))) & 0x7fffffff);
}

bool builtFromThisSchema()
{
    Query q(QStringLiteral("PRAGMA user_version"));
    q.exec();
    return q.next() && q.value(0).toInt() == schemaStamp();
}

void open(const QString &path)
{
    if (auto failure = warehouse::openSQLiteFile(path))
        throw DbError(failure->number, failure->description);
}

} // namespace

QString defaultLargeWarehousePath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("folvane-bench-warehouse.db"));
}

void openLargeWarehouse(const QString &path, const LargeWarehouseSize &size)
{
    if (QFile::exists(path)) {
        open(path);
        if (holdsSize(size) && builtFromThisSchema())
            return;
        warehouse::close();
        QFile::remove(path);
    }
    const QString side = path + QStringLiteral(".building");
    QFile::remove(side);
    open(side);
    {
        Transaction transaction;
        warehouse::schema::createTables();
        warehouse::schema::loadReferenceData();
        Builder(size).build();
        transaction.commit();
    }
    Query(QStringLiteral("PRAGMA user_version = %1").arg(schemaStamp())).exec();
    warehouse::close();
    if (!QFile::rename(side, path))
        throw DbError(QStringLiteral("0"),
                      QStringLiteral("%1 could not be moved to %2").arg(side, path));
    open(path);
}

namespace {

QString runOrThrow(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw DbError(QStringLiteral("0"),
                      program + QStringLiteral(" failed: ") +
                          QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QStringList adminPsql(const PostgresServer &server, const QString &database)
{
    return {QStringLiteral("-q"), QStringLiteral("-X"),
            QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
            QStringLiteral("-h"), server.folder,
            QStringLiteral("-p"), server.port,
            QStringLiteral("-U"), QStringLiteral("postgres"),
            QStringLiteral("-d"), database};
}

} // namespace

void fillPostgres(const PostgresServer &server, const LargeWarehouseSize &size);

PostgresServer openLargePostgresWarehouse(const LargeWarehouseSize &size)
{
    PostgresServer server;
    server.folder = qEnvironmentVariable(
        "FOLVANE_TEST_PG_DIR", QDir(QDir::tempPath()).filePath(QStringLiteral("folvane-bench-pg")));
    qputenv("FOLVANE_TEST_PG_DIR", server.folder.toLocal8Bit());
    runOrThrow(QStringLiteral(FOLVANE_SOURCE_DIR "/scripts/start-test-postgres"), {});
    QFile portFile(server.folder + QStringLiteral("/port"));
    if (!portFile.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("0"), QStringLiteral("the test server has no port file"));
    server.port = QString::fromLatin1(portFile.readAll()).trimmed();

    // A database of the benchmarks' own, so the tests' clearing never touches it.
    const QString exists = runOrThrow(
        QStringLiteral("psql"),
        adminPsql(server, QStringLiteral("postgres"))
            << QStringLiteral("-tAc")
            << QStringLiteral("SELECT 1 FROM pg_database WHERE datname = 'folvane_bench'"));
    if (exists.trimmed().isEmpty()) {
        runOrThrow(QStringLiteral("psql"),
                   adminPsql(server, QStringLiteral("postgres"))
                       << QStringLiteral("-c")
                       << QStringLiteral("CREATE DATABASE folvane_bench OWNER \"Folvaneuser\" "
                                         "ENCODING 'UTF8'"));
        runOrThrow(QStringLiteral("psql"),
                   adminPsql(server, QStringLiteral("folvane_bench"))
                       << QStringLiteral("-c")
                       << QStringLiteral("ALTER SCHEMA public OWNER TO \"Folvaneuser\"")
                       << QStringLiteral("-c") << QStringLiteral("CREATE EXTENSION citext"));
        runOrThrow(QStringLiteral("psql"),
                   adminPsql(server, QStringLiteral("folvane_bench"))
                       << QStringLiteral("-U") << QStringLiteral("Folvaneuser")
                       << QStringLiteral("-f")
                       << QStringLiteral(FOLVANE_SOURCE_DIR "/schema/postgresql.sql"));
    }
    // The data source of the tests, pointed at the benchmarks' database.
    QFile tests(server.folder + QStringLiteral("/odbc.ini"));
    QFile bench(server.folder + QStringLiteral("/bench-odbc.ini"));
    if (!tests.open(QIODevice::ReadOnly) || !bench.open(QIODevice::WriteOnly))
        throw DbError(QStringLiteral("0"), QStringLiteral("no ODBC set-up of the test server"));
    bench.write(tests.readAll().replace("Database=folvane\n", "Database=folvane_bench\n"));
    bench.close();
    qputenv("ODBCSYSINI", server.folder.toLocal8Bit());
    qputenv("ODBCINI", bench.fileName().toLocal8Bit());
    const auto open = [] {
        if (auto failure =
                warehouse::openDataSource(QString::fromLatin1(warehouse::kDataSourceName)))
            throw DbError(failure->number, failure->description);
    };
    open();
    if (!holdsSize(size))
        fillPostgres(server, size);
    // Every statement of the bench's later sessions into the server's log.
    runOrThrow(QStringLiteral("psql"), adminPsql(server, QStringLiteral("postgres"))
                                           << QStringLiteral("-c")
                                           << QStringLiteral("ALTER DATABASE folvane_bench SET "
                                                             "log_min_duration_statement = 0"));
    warehouse::close();
    open();
    return server;
}

void fillPostgres(const PostgresServer &server, const LargeWarehouseSize &size)
{
    std::printf("Filling the PostgreSQL bench warehouse (once)...\n");
    std::fflush(stdout);
    {
        Transaction transaction;
        warehouse::schema::loadReferenceData();
        Builder(size).build();
        transaction.commit();
    }
    runOrThrow(QStringLiteral("psql"), adminPsql(server, QStringLiteral("folvane_bench"))
                                           << QStringLiteral("-c")
                                           << QStringLiteral("VACUUM ANALYZE"));
}

qint64 postgresLogEnd(const PostgresServer &server)
{
    return QFileInfo(server.folder + QStringLiteral("/server.log")).size();
}

QStringList postgresStatementsSince(const PostgresServer &server, qint64 from)
{
    QFile log(server.folder + QStringLiteral("/server.log"));
    if (!log.open(QIODevice::ReadOnly) || !log.seek(from))
        return {};
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression executed(
        QStringLiteral("LOG:  duration: [0-9.]+ ms  (?:execute [^:]*|statement): (.*)$"));
    static const QRegularExpression parameter(QStringLiteral("\\$(\\d+) = ('(?:[^']|'')*'|NULL)"));
    QStringList statements;
    for (int i = 0; i < lines.size(); ++i) {
        const auto match = executed.match(lines[i]);
        if (!match.hasMatch())
            continue;
        QString sql = match.captured(1).trimmed();
        if (!sql.startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive) &&
            !sql.startsWith(QStringLiteral("WITH"), Qt::CaseInsensitive))
            continue;
        if (i + 1 < lines.size() && lines[i + 1].contains(QStringLiteral("DETAIL:  parameters:"))) {
            // Highest numbers first, so $1 is not taken for the start of $10.
            QList<std::pair<int, QString>> values;
            auto it = parameter.globalMatch(lines[i + 1]);
            while (it.hasNext()) {
                const auto p = it.next();
                values.append({p.captured(1).toInt(), p.captured(2)});
            }
            std::sort(values.begin(), values.end(),
                      [](const auto &a, const auto &b) { return a.first > b.first; });
            for (const auto &[number, value] : values)
                sql.replace(QLatin1Char('$') + QString::number(number), value);
        }
        statements << sql;
    }
    return statements;
}

QStringList makePackageOfEverything(const QString &package)
{
    Query(QStringLiteral("UPDATE tblProductsMap SET TestID = '0000' WHERE ClubID IS NOT NULL"))
        .exec();
    QStringList ids;
    // Read whole before the inserts: one result open on the connection at a time.
    QList<QVariant> clubs;
    Query items(QStringLiteral("SELECT DISTINCT ClubID, CatalogID FROM tblCatalogMap UNION ALL "
                               "SELECT DISTINCT NULL, InsertID FROM tblInsertMap"));
    items.exec();
    while (items.next()) {
        clubs << items.value(0);
        ids << items.text(1);
    }
    Query insert(QStringLiteral(
        "INSERT INTO tblMailPackages (PackageID, PackageDescription, PackageMailDate, "
        "PackageCreateDate, ClubID, CatalogID, TestID, ItemType, ItemDescription, ModifyDate, "
        "ModifyUser) VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < ids.size(); ++i) {
        const bool isInsert = clubs.at(i).isNull();
        insert.bind(package)
            .bind(QStringLiteral("Everything"))
            .bindDate(QDate::currentDate())
            .bind(QStringLiteral("01/01/2026"))
            .bind(isInsert ? Query::nullText() : clubs.at(i))
            .bind(ids.at(i))
            .bind(isInsert ? Query::nullText() : QVariant(QStringLiteral("0000")))
            .bind(isInsert ? QStringLiteral("Package Insert") : QStringLiteral("General Catalog"))
            .bind(QString())
            .bindDateTime(QDateTime::currentDateTime())
            .bind(QStringLiteral("bench"))
            .exec();
    }
    return ids;
}

void openFromArguments(int argc, char **argv)
{
    Dialogs::install(std::make_unique<PrintedDialogs>());
    if (argc > 1)
        openLargeWarehouse(QString::fromLocal8Bit(argv[1]));
    else
        openLargeWarehouse();
}

void drawOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void removeReportMaps()
{
    const QString club = QStringLiteral("BENCH");
    Query(QStringLiteral("DELETE FROM tblProductsMap WHERE ModifyUser = 'bench reports'")).exec();
    Query(QStringLiteral("DELETE FROM tblCatalogMap WHERE ClubID = ?")).bind(club).exec();
    Query(QStringLiteral("DELETE FROM tblInvRecommendations WHERE ClubID = ?")).bind(club).exec();
}

void makeReportMaps()
{
    const QString club = QStringLiteral("BENCH");
    const QString catalog = QStringLiteral("RPT");
    const QString hot = productId(1);
    removeReportMaps();
    // The hot product on page 1 of every version, before the report maps exist.
    Query(QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, "
                         "PageNum, PagePosition, PageWeight, DescType, Price, Discount, "
                         "ProductType, ModifyUser) SELECT ClubID, CatalogID, TestID, ?, 1, 99, "
                         "10, 'Short', 9.99, 0, 'A', 'bench reports' FROM tblCatalogMap WHERE "
                         "PageNum = 1"))
        .bind(hot)
        .exec();
    Query page(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                              "PageSection) VALUES (?,?,?,?,?)"));
    Query place(QStringLiteral(
        "INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
        "PagePosition, PageWeight, DescType, Price, Discount, ProductType, ModifyUser) VALUES "
        "(?,?,?,?,?,?,?,'Short',?,?,'A','bench reports')"));
    const QStringList sections{QStringLiteral("Cover"), QStringLiteral("Fiction"),
                               QStringLiteral("Mystery"), QStringLiteral("Children"),
                               QStringLiteral("Back")};
    const int pages = 100;
    const int perPage = 100;
    for (const QString &test : {QStringLiteral("0000"), QStringLiteral("0001")}) {
        const bool second = test.endsWith(QLatin1Char('1'));
        for (int n = 1; n <= pages; ++n)
            page.bind(club)
                .bind(catalog)
                .bind(test)
                .bind(n)
                .bind(sections[(n * (second && n % 9 == 0 ? 3 : 1)) % sections.size()])
                .exec();
        for (int i = 0; i < pages * perPage + (second ? 500 : 0); ++i) {
            if (second && i % 13 == 0)
                continue;
            int pageNum = i / perPage % pages + 1;
            if (second && i % 10 == 0)
                pageNum = pageNum % pages + 1;
            place.bind(club)
                .bind(catalog)
                .bind(test)
                .bind(productId(i + 2))
                .bind(pageNum)
                .bind(i % perPage + 1)
                .bind(1.0)
                .bind(second && i % 7 == 0 ? 12.49 : 14.99)
                .bind(25.0)
                .exec();
        }
    }
    Query recommend(QStringLiteral("INSERT INTO tblInvRecommendations (ClubID, CatalogID, "
                                   "ProductID, FcstSales, ProdRank) VALUES (?,?,?,?,?)"));
    for (int i = 0; i < pages * perPage; ++i)
        recommend.bind(club)
            .bind(catalog)
            .bind(productId(i + 2))
            .bind(double(i % 500) * 1.25)
            .bind(i + 1)
            .exec();
}

} // namespace bench
