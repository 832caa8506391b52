// Every large fill a user starts, measured end to end through the real windows over the large
// warehouse, beside its limit measured in the same run: the database stepping the very statements
// the window ran (captured as the window runs them) and reading every column as text. For each path
// it prints the end-to-end time, the limit and their ratio, the time until the first screenful is
// in the view, the longest time the event loop waited while rows arrived, and the memory of the
// filled grid per cell.
//
//     bench_window_paths [warehouse.db] [--runs N] [--only NAME,NAME...]
//     bench_window_paths --postgresql [--runs N] [--only NAME,NAME...]
//
// Times are the median of the runs, the window and its limit taken in turn, so a busy moment of
// the machine falls on both.
#include "LargeWarehouse.h"
#include "PrintedDialogs.h"

#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "inventory/frmProdDesc.h"
#include "inventory/frmProdMaint.h"
#include "mailing/frmAdCodes.h"
#include "mailing/frmCatPkg.h"
#include "mailing/frmCatProdSchedule.h"
#include "mailing/frmCatSched.h"
#include "reports/frmCompareVersions.h"
#include "reports/frmMailingCost.h"
#include "reports/frmPlanSummary.h"
#include "reports/frmProductHistory.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Warehouse.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <sqlite3.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

double msSince(const QElapsedTimer &clock) { return double(clock.nsecsElapsed()) / 1e6; }

// Turns of the event loop until one finds nothing to do. What a turn posts waits for the next
// (a chart laid out again after its legend, a view's delayed layout, its second paint), so one
// turn after a window's call leaves part of its work out of the measure.
void settle()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (int turn = 0; turn < 10 && dispatcher->processEvents(QEventLoop::AllEvents); ++turn) {
    }
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

qint64 heapInUse() { return qint64(mallinfo2().uordblks); }

// The statements the window runs on the embedded warehouse, with their bound values written in,
// as SQLite traces them.
class StatementCapture
{
public:
    explicit StatementCapture(sqlite3 *db)
        : m_db(db)
    {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &StatementCapture::traced, this);
    }
    ~StatementCapture() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }

    void start()
    {
        m_statements.clear();
        m_recording = true;
    }
    QStringList stop()
    {
        m_recording = false;
        QStringList texts;
        for (const QByteArray &sql : m_statements)
            texts << QString::fromUtf8(sql);
        return texts;
    }

private:
    static int traced(unsigned, void *context, void *statement, void *text)
    {
        auto *self = static_cast<StatementCapture *>(context);
        // Lines starting "--" are triggers' statements, run by the statement already captured.
        if (!self->m_recording || qstrncmp(static_cast<const char *>(text), "--", 2) == 0)
            return 0;
        if (char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement))) {
            self->m_statements << QByteArray(sql);
            sqlite3_free(sql);
        }
        return 0;
    }

    sqlite3 *m_db;
    bool m_recording = false;
    QList<QByteArray> m_statements;
};

// The limit on PostgreSQL: psql copying each statement's rows to /dev/null.
double copyWithPsql(const bench::PostgresServer &server, const QStringList &statements,
                    qint64 *rowsOut)
{
    QStringList arguments{
        QStringLiteral("-X"),          QStringLiteral("-h"), server.folder,
        QStringLiteral("-p"),          server.port,          QStringLiteral("-U"),
        QStringLiteral("Folvaneuser"), QStringLiteral("-d"), QStringLiteral("folvane_bench")};
    for (const QString &sql : statements)
        arguments << QStringLiteral("-c")
                  << QStringLiteral("\\copy (") + sql + QStringLiteral(") to /dev/null");
    // psql's own start and login, timed with a statement of no rows, are not the statements'.
    const auto timed = [](QProcess &psql, const QStringList &arguments) {
        QElapsedTimer clock;
        clock.start();
        psql.start(QStringLiteral("psql"), arguments);
        psql.waitForFinished(-1);
        return msSince(clock);
    };
    if (statements.isEmpty()) {
        if (rowsOut)
            *rowsOut = 0;
        return 0;
    }
    QProcess idle;
    const double start = timed(idle, arguments.mid(0, 9) << QStringLiteral("-c")
                                                         << QStringLiteral("SELECT 1 WHERE false"));
    QProcess psql;
    const double ms = std::max(0.0, timed(psql, arguments) - start);
    qint64 rows = 0;
    for (const QByteArray &line : psql.readAllStandardOutput().split('\n'))
        if (line.startsWith("COPY "))
            rows += line.mid(5).toLongLong();
    if (psql.exitCode() != 0)
        std::fprintf(stderr, "psql: %s\n", psql.readAllStandardError().constData());
    if (rowsOut)
        *rowsOut = rows;
    return ms;
}

sqlite3 *warehouseHandle()
{
    const QVariant handle = gcnWarehouse().driver()->handle();
    return *static_cast<sqlite3 *const *>(handle.data());
}

// The limit: SQLite's C API on the window's own connection stepping each statement and reading
// every column of every row as text.
double stepAsText(sqlite3 *db, const QStringList &texts, qint64 *rowsOut = nullptr)
{
    QList<QByteArray> statements;
    for (const QString &text : texts)
        statements << text.toUtf8();
    QElapsedTimer clock;
    clock.start();
    qint64 rows = 0;
    qint64 bytes = 0;
    for (const QByteArray &sql : statements) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
            SQLITE_OK) {
            std::fprintf(stderr, "cannot prepare: %s\n", sqlite3_errmsg(db));
            continue;
        }
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                sqlite3_column_text(statement, c);
                bytes += sqlite3_column_bytes(statement, c);
            }
            ++rows;
        }
        sqlite3_finalize(statement);
    }
    if (rowsOut)
        *rowsOut = rows;
    if (bytes < 0)
        std::printf("?");
    return msSince(clock);
}

// The same statements through Qt's SQLite driver, as the query layer reads them: every value of
// every row as a QVariant, text converted to UTF-16 by SQLite.
double stepThroughDriver(const QStringList &statements)
{
    QElapsedTimer clock;
    clock.start();
    qint64 chars = 0;
    for (const QString &sql : statements) {
        QSqlQuery query(gcnWarehouse());
        query.setForwardOnly(true);
        if (!query.exec(sql))
            continue;
        const int columns = query.record().count();
        while (query.next())
            for (int c = 0; c < columns; ++c)
                chars += query.value(c).toString().size();
    }
    if (chars < 0)
        std::printf("?");
    return msSince(clock);
}

// Watches the event loop while a path runs: the longest gap between turns, and when the first
// screenful is there (rows have reached the view).
class LoopProbe
{
public:
    explicit LoopProbe(std::function<bool()> firstScreenShown)
        : m_shown(std::move(firstScreenShown))
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_clock.start();
        m_sinceTick.start();
        m_timer.start();
    }
    double longestGapMs()
    {
        tick();
        return m_longest;
    }
    // -1 when never seen while the path ran.
    double firstScreenMs() const { return m_firstScreen; }
    void tick()
    {
        m_longest = std::max(m_longest, msSince(m_sinceTick));
        m_sinceTick.start();
        if (m_firstScreen < 0 && m_shown && m_shown())
            m_firstScreen = msSince(m_clock);
    }

private:
    std::function<bool()> m_shown;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceTick;
    double m_longest = 0;
    double m_firstScreen = -1;
};

struct Path
{
    const char *name;
    std::function<void()> run = {};         // the user's action until the last row is shown
    std::function<bool()> firstScreen = {}; // rows have reached the view; empty for a file
    std::function<qint64()> cells = {};     // cells of the filled grid (or nodes of the tree)
    std::function<void()> empty = {};       // lets go of the rows, to weigh what they held
    const char *unit = "cell";
};

struct Figures
{
    double endToEnd = 0;
    // On PostgreSQL: the same path through the data source's ODBC driver, and when the server
    // itself had the first row of the path's statements.
    double odbcEndToEnd = -1;
    double odbcFirstScreen = -1;
    double serverFirstRow = -1;
    double limit = 0;
    double driver = 0;
    double firstScreen = -1;
    double longestWait = 0;
    double bytesPerCell = 0;
    qint64 rows = 0;
    qint64 cells = 0;
    QStringList statements; // of the last run
};

// A grid's rows are in the view once its model announces data rows.
std::function<bool()> gridShows(FlexGrid *grid)
{
    return [grid] {
        return grid->model()->rowCount() > 1;
    };
}
std::function<void()> gridEmptied(FlexGrid *grid)
{
    return [grid] {
        grid->setRows(grid->FixedRows());
    };
}

std::function<qint64()> gridCells(FlexGrid *grid)
{
    return [grid] {
        return qint64(grid->Rows()) * grid->Cols();
    };
}

// The database under the windows: how the statements a path runs are captured, and its limit.
struct Database
{
    std::function<void()> startCapture;
    std::function<QStringList()> stopCapture;
    // Time for the database's own client to step the statements, every column as text.
    std::function<double(const QStringList &, qint64 *rows)> limit;
};

Figures measure(const Database &database, const Path &path, int runs)
{
    Figures figures;
    std::vector<double> ends;
    std::vector<double> limits;
    std::vector<double> drivers;
    std::vector<double> firsts;
    std::vector<double> waits;
    for (int run = 0; run < runs; ++run) {
        settle();
        database.startCapture();
        QElapsedTimer clock;
        clock.start();
        double first = -1;
        double wait = 0;
        {
            LoopProbe probe(path.firstScreen);
            path.run();
            settle(); // the view takes the last rows, lays them out and paints
            ends.push_back(msSince(clock));
            wait = probe.longestGapMs();
            first = probe.firstScreenMs();
        }
        const QStringList statements = database.stopCapture();
        if (run == runs - 1)
            figures.statements = statements;
        if (run == runs - 1 && path.cells && path.empty) {
            // What the filled rows hold: the heap in use before and after letting go of them.
            figures.cells = path.cells();
            const qint64 filled = heapInUse();
            path.empty();
            settle();
            if (figures.cells > 0)
                figures.bytesPerCell = double(filled - heapInUse()) / double(figures.cells);
        }
        if (first < 0 && path.firstScreen)
            first = ends.back(); // the view first drew the rows when the path was over
        if (first >= 0)
            firsts.push_back(first);
        waits.push_back(wait);
        limits.push_back(database.limit(statements, &figures.rows));
        drivers.push_back(stepThroughDriver(statements));
    }
    figures.driver = median(drivers);
    figures.endToEnd = median(ends);
    figures.limit = median(limits);
    figures.firstScreen = path.firstScreen ? median(firsts) : -1;
    figures.longestWait = median(waits);
    return figures;
}

void printHeader(bool postgres)
{
    std::printf("%-34s %8s %9s %9s %6s %9s %9s %10s %9s", "path", "rows", "window", "limit",
                "ratio", "1st scr", "max wait", "mem", "driver");
    if (postgres)
        std::printf(" %9s %9s %6s %9s", "srv 1st", "odbc", "ratio", "odbc 1st");
    std::printf("\n");
}

// When the server had the first row of the slowest of the statements to start giving rows, by
// its own account: planning, then the top plan node's start-up (EXPLAIN ANALYZE).
double serverFirstRow(const QStringList &statements)
{
    double latest = -1;
    for (const QString &sql : statements) {
        Query explain(QStringLiteral("EXPLAIN (ANALYZE, FORMAT JSON) ") + sql);
        if (!explain.execFirst())
            continue;
        const QJsonObject plan =
            QJsonDocument::fromJson(explain.text(0).toUtf8()).array().at(0).toObject();
        latest = std::max(latest, plan.value(QLatin1String("Planning Time")).toDouble() +
                                      plan.value(QLatin1String("Plan"))
                                          .toObject()
                                          .value(QLatin1String("Actual Startup Time"))
                                          .toDouble());
    }
    return latest;
}

void print(const Path &path, const Figures &f)
{
    char limit[32] = "-";
    char ratio[32] = "-";
    if (f.rows > 0) {
        std::snprintf(limit, sizeof limit, "%.0f ms", f.limit);
        std::snprintf(ratio, sizeof ratio, "%.2fx", f.endToEnd / f.limit);
    }
    char first[32] = "-";
    if (f.firstScreen >= 0)
        std::snprintf(first, sizeof first, "%.0f ms", f.firstScreen);
    char memory[32] = "-";
    if (f.cells > 0)
        std::snprintf(memory, sizeof memory, "%.1f B/%s", f.bytesPerCell, path.unit);
    std::printf("%-34s %8lld %6.0f ms %9s %6s %9s %6.0f ms %10s %6.0f ms", path.name,
                qlonglong(f.rows), f.endToEnd, limit, ratio, first, f.longestWait, memory,
                f.driver);
    if (f.odbcEndToEnd >= 0) {
        const auto ms = [](double value) {
            char text[32] = "-";
            if (value >= 0)
                std::snprintf(text, sizeof text, "%.0f ms", value);
            return std::string(text);
        };
        std::printf(" %9s %6.0f ms %5.2fx %9s", ms(f.serverFirstRow).c_str(), f.odbcEndToEnd,
                    f.rows > 0 ? f.odbcEndToEnd / f.limit : 0.0, ms(f.odbcFirstScreen).c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
}

FlexGrid *grid(QWidget &window, const char *name)
{
    return window.findChild<FlexGrid *>(QString::fromLatin1(name));
}

template <typename Window> void show(Window &window)
{
    window.resize(1400, 900);
    window.show();
    settle();
}

} // namespace

int main(int argc, char **argv)
{
    bench::drawOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    int runs = 5;
    bool postgres = false;
    bool odbcToo = true;
    QString only;
    std::vector<char *> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, atoi(argv[++i]));
        else if (qstrcmp(argv[i], "--postgresql") == 0)
            postgres = true;
        else if (qstrcmp(argv[i], "--no-odbc") == 0)
            odbcToo = false;
        else if (qstrcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = QString::fromLocal8Bit(argv[++i]);
        else
            rest.push_back(argv[i]);
    }
    try {
        Database database;
        std::unique_ptr<StatementCapture> capture;
        bench::PostgresServer server;
        qint64 logFrom = 0;
        if (postgres) {
            server = bench::openLargePostgresWarehouse();
            database.startCapture = [&] {
                logFrom = bench::postgresLogEnd(server);
            };
            database.stopCapture = [&] {
                return bench::postgresStatementsSince(server, logFrom);
            };
            database.limit = [&](const QStringList &statements, qint64 *rows) {
                return copyWithPsql(server, statements, rows);
            };
            std::printf("PostgreSQL %s, each path then once more through ODBC; %d runs each, "
                        "medians; the limit is psql copying the window's statements to /dev/null; "
                        "srv 1st is the server's first row (EXPLAIN ANALYZE)\n",
                        qPrintable(warehouse::description()), runs);
        } else {
            bench::openFromArguments(int(rest.size()), rest.data());
            sqlite3 *db = warehouseHandle();
            capture = std::make_unique<StatementCapture>(db);
            database.startCapture = [&] {
                capture->start();
            };
            database.stopCapture = [&] {
                return capture->stop();
            };
            database.limit = [db](const QStringList &statements, qint64 *rows) {
                return stepAsText(db, statements, rows);
            };
            std::printf("%d runs each, medians; the limit is SQLite stepping the window's "
                        "statements and reading every column as text\n",
                        runs);
        }
        auto printed = std::make_unique<PrintedDialogs>();
        PrintedDialogs &dialogs = *printed;
        Dialogs::install(std::move(printed));
        printHeader(postgres);
        // A path's name, or a group's name that begins the names of its paths.
        const auto wanted = [&only](const char *name) {
            if (only.isEmpty())
                return true;
            const QString wantedName = QString::fromLatin1(name);
            for (const QString &part : only.split(QLatin1Char(',')))
                if (wantedName.contains(part, Qt::CaseInsensitive) ||
                    part.startsWith(wantedName, Qt::CaseInsensitive))
                    return true;
            return false;
        };
        // The same data source through libpq or through its ODBC driver.
        const auto reopen = [](bool odbc) {
            warehouse::keepOdbc(odbc);
            if (auto failure =
                    warehouse::openDataSource(QString::fromLatin1(warehouse::kDataSourceName)))
                throw DbError(failure->number, failure->description);
        };
        const auto report = [&](const Path &path) {
            if (!wanted(path.name))
                return;
            Figures figures = measure(database, path, runs);
            if (postgres)
                figures.serverFirstRow = serverFirstRow(figures.statements);
            if (postgres && odbcToo) {
                reopen(true);
                const Figures odbc = measure(database, path, runs);
                reopen(false);
                figures.odbcEndToEnd = odbc.endToEnd;
                figures.odbcFirstScreen = odbc.firstScreen;
            }
            print(path, figures);
        };

        if (wanted("catalog tree") || wanted("editor inventory search")) {
            // Opening the catalog editor until its tree holds every node.
            std::unique_ptr<frmCatEdit> editor;
            const auto treeNodes = [&editor]() -> qint64 {
                auto *tree = editor->findChild<QTreeView *>(QStringLiteral("tvCatalogTree"));
                const auto *model = static_cast<const frmCatEditTreeModel *>(tree->model());
                qint64 nodes = 0;
                std::function<void(const QModelIndex &)> count = [&](const QModelIndex &parent) {
                    const int rows = model->rowCount(parent);
                    nodes += rows;
                    for (int r = 0; r < rows; ++r) {
                        const QModelIndex child = model->index(r, 0, parent);
                        if (model->hasChildren(child))
                            count(child);
                    }
                };
                count({});
                return nodes;
            };
            report({"catalog tree (editor opened)",
                    [&editor] {
                        editor.reset();
                        editor = std::make_unique<frmCatEdit>();
                        show(*editor);
                    },
                    {},
                    treeNodes,
                    [&editor] { editor.reset(); },
                    "node"});
            if (!editor) {
                editor = std::make_unique<frmCatEdit>();
                show(*editor);
            }
            FlexGrid *inventory = grid(*editor, "grdInventoryMaster");
            report({"editor inventory search",
                    [&] { editor->SearchInventoryMaster(2, QStringLiteral("Book")); },
                    gridShows(inventory), gridCells(inventory), gridEmptied(inventory)});
        }
        if (wanted("inventory maintenance")) {
            frmProdMaint window;
            show(window);
            window.findChild<QRadioButton *>(QStringLiteral("optSearchWorld"))->setChecked(true);
            FlexGrid *list = grid(window, "grdINVItemsList");
            report({"inventory maintenance search",
                    [&] { window.SearchInventory(2, QStringLiteral("Book")); }, gridShows(list),
                    gridCells(list), gridEmptied(list)});
            QTemporaryDir folder;
            const QString file = folder.filePath(QStringLiteral("products.xls"));
            window.SearchInventory(2, QStringLiteral("Book")); // the list the file is written from
            report({"inventory maintenance list file",
                    [&] { window.ExportInventoryList(file); },
                    {},
                    {}});
        }
        if (wanted("recurring products window opened")) {
            // Opening the recurring products window until it lists every recurring product.
            std::unique_ptr<frmCatProdSchedule> opened;
            report({"recurring products window opened",
                    [&opened] {
                        opened.reset();
                        opened = std::make_unique<frmCatProdSchedule>();
                        show(*opened);
                    },
                    {},
                    [&opened] { return gridCells(grid(*opened, "grdRecurringProducts"))(); },
                    [&opened] {
                        opened.reset();
                    }});
        }
        if (wanted("recurring products search")) {
            frmCatProdSchedule window;
            show(window);
            FlexGrid *products = grid(window, "grdProducts");
            report({"recurring products search",
                    [&] { window.SearchProducts(2, QStringLiteral("Book")); }, gridShows(products),
                    gridCells(products), gridEmptied(products)});
        }
        if (wanted("ad code grid search")) {
            frmAdCodes window;
            show(window);
            FlexGrid *codes = grid(window, "grdKeymastDisp");
            report({"ad code grid search", [&] { window.SearchAdCodes(1, QString()); },
                    gridShows(codes), gridCells(codes), gridEmptied(codes)});
        }
        if (wanted("descriptions")) {
            frmProdDesc window;
            show(window);
            FlexGrid *missing = grid(window, "grdMisProdDesc");
            report({"descriptions: missing list", [&] { window.LoadMissingDescGrid(); },
                    gridShows(missing), gridCells(missing), gridEmptied(missing)});
            auto *ids = window.findChild<QListWidget *>(QStringLiteral("lstProductID"));
            report({"descriptions: described list",
                    [&] { window.SearchDescribedProducts(QStringLiteral("P")); },
                    [ids] { return ids->count() > 0; }, [ids] { return qint64(ids->count()); },
                    [ids] { ids->clear(); }, "item"});
        }
        if (wanted("schedule grid")) {
            frmCatSched window;
            show(window);
            FlexGrid *schedule = grid(window, "grdSchedule");
            report({"schedule grid", [&] { window.LoadScheduleGrid(); }, gridShows(schedule),
                    gridCells(schedule), gridEmptied(schedule)});
        }
        if (wanted("creative export file")) {
            // Never committed on the embedded warehouse, which stays as built. On the server, the
            // package is kept, so psql in its own session sees it.
            Transaction transaction;
            const QString package = QStringLiteral("BENCHPKG");
            Query(QStringLiteral("DELETE FROM tblMailPackages WHERE PackageID = ?"))
                .bind(package)
                .exec();
            bench::makePackageOfEverything(package);
            if (postgres)
                transaction.commit();
            // Chosen in the packages window with every item of its contents, as a person does.
            frmCatPkg window;
            show(window);
            FlexGrid *packages = grid(window, "grdPackages");
            for (int row = 1; row < packages->Rows(); ++row)
                if (packages->TextMatrix(row, 0) == package)
                    packages->setRow(row);
            window.ShowPackageContents();
            window.findChild<QListWidget *>(QStringLiteral("lstPackageContents"))->selectAll();
            QTemporaryDir folder;
            dialogs.savePath = folder.filePath(QStringLiteral("creative.txt"));
            report({"creative export file", [&] { window.ExportPackageForCreative(); }, {}, {}});
        }
        if (wanted("report")) {
            // On maps made for the reports (the warehouse's own hold some fifty placements each),
            // never committed on the embedded warehouse; kept on the server, where psql reads
            // in a session of its own.
            Transaction transaction;
            bench::makeReportMaps();
            if (postgres)
                transaction.commit();
            const QString first = QStringLiteral("ID|BENCH|RPT|0000");
            const QString second = QStringLiteral("ID|BENCH|RPT|0001");
            {
                frmPlanSummary window;
                show(window);
                FlexGrid *pages = grid(window, "grdPages");
                report({"report: plan summary", [&] { window.ShowMap(first); }, gridShows(pages),
                        gridCells(pages), gridEmptied(pages)});
            }
            {
                frmCompareVersions window;
                show(window);
                window.findChild<QCheckBox *>(QStringLiteral("chkUnchanged"))->setChecked(true);
                FlexGrid *changes = grid(window, "grdChanges");
                report({"report: compare versions", [&] { window.CompareMaps(first, second); },
                        gridShows(changes), gridCells(changes), gridEmptied(changes)});
            }
            {
                frmProductHistory window;
                show(window);
                FlexGrid *placements = grid(window, "grdPlacements");
                report({"report: product history",
                        [&] { window.ShowProduct(QStringLiteral("P000001")); },
                        gridShows(placements), gridCells(placements), gridEmptied(placements)});
            }
            {
                frmMailingCost window;
                show(window);
                window.findChild<QDateEdit *>(QStringLiteral("dtpFrom"))
                    ->setDate(QDate(2000, 1, 1));
                window.findChild<QDateEdit *>(QStringLiteral("dtpTo"))
                    ->setDate(QDate(2099, 12, 31));
                FlexGrid *mailing = grid(window, "grdMailing");
                report({"report: mailing cost", [&] { window.ShowReport(); }, gridShows(mailing),
                        gridCells(mailing), gridEmptied(mailing)});
            }
            if (postgres) {
                Transaction removal;
                bench::removeReportMaps();
                removal.commit();
            }
        }
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s %s\n", qPrintable(error.number()),
                     qPrintable(error.description()));
        return 1;
    }
    return 0;
}
