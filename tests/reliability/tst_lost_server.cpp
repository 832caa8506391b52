// A lost server: the client's backend ended from a second connection before a write and before
// each statement of one, and the server stopped and started again. One message at most, nothing
// committed lost, nothing partial, and the next operation works without starting the client again.
// PostgreSQL only.
#include "../catalog/CatalogEditFixtures.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WarehouseSnapshot.h"
#include "WindowHarness.h"

#include "catalog/MapOperations.h"
#include "catalog/Placement.h"
#include "inventory/ProductMaster.h"
#include "mailing/CatalogPackage.h"
#include "mailing/frmCatSched.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "shell/ReportedOperation.h"
#include "warehouse/FaultInjection.h"
#include "warehouse/LostConnection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <functional>
#include <unistd.h>

using namespace catalog;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const QString kUser = QStringLiteral("planner");
const QString kTitle = QStringLiteral("Catalog Editor");

NodeKey spring(int page = 0)
{
    const QString map = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
    return NodeKey(page ? NodeKey::pageKey(map, page) : map);
}

void seed()
{
    for (const char *id : {"P1", "P2", "P3"})
        fixture::product(QString::fromLatin1(id));
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    for (int page = 1; page <= 3; ++page) {
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page);
        fixture::placement(QStringLiteral("P%1").arg(page), page, 1);
    }
}

// Read beside the query layer, so that the fault seam's count is the operation's own.
QVariant rawScalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return {};
    return query.value(0);
}

// A second client that ends the first one's backend, as an administrator or a crash would.
class Terminator
{
public:
    Terminator()
    {
        QSqlDatabase::cloneDatabase(gcnWarehouse(), kName).open();
        m_pid = rawScalar(gcnWarehouse(), QStringLiteral("SELECT pg_backend_pid()")).toInt();
    }
    ~Terminator() { QSqlDatabase::removeDatabase(kName); }

    // Ends the backend the client had when this was made, and waits until it is gone.
    void endClientBackend() const
    {
        const QSqlDatabase db = QSqlDatabase::database(kName);
        QVERIFY(rawScalar(db, QStringLiteral("SELECT pg_terminate_backend(?)"), {m_pid}).toBool());
        for (int wait = 0; wait < 250; ++wait) {
            if (!rawScalar(db, QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE pid = ?"),
                           {m_pid})
                     .isValid())
                return;
            QThread::msleep(20);
        }
        QFAIL("the client's backend did not end");
    }

private:
    static inline const QString kName = QStringLiteral("terminator");
    int m_pid = 0;
};

// The test server, stopped and started with the options it was started with.
class TestServer
{
public:
    TestServer()
    {
        const QString dir = qEnvironmentVariable("FOLVANE_TEST_PG_DIR");
        m_data = dir + QStringLiteral("/data");
        m_log = dir + QStringLiteral("/server.log");
        QFile opts(m_data + QStringLiteral("/postmaster.opts"));
        if (opts.open(QIODevice::ReadOnly)) {
            const QString line = QString::fromUtf8(opts.readAll()).trimmed();
            const qsizetype space = line.indexOf(u' ');
            m_pgCtl = QFileInfo(line.left(space)).absolutePath() + QStringLiteral("/pg_ctl");
            m_options = line.mid(space + 1);
        }
    }
    bool known() const { return !m_options.isEmpty(); }
    bool stop()
    {
        return m_stopped =
                   pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("stop")});
    }
    bool start()
    {
        const bool started = pgCtl({QStringLiteral("-l"), m_log, QStringLiteral("-o"), m_options,
                                    QStringLiteral("start")});
        m_stopped = !started;
        return started;
    }
    ~TestServer()
    {
        if (m_stopped)
            start();
    }

private:
    bool pgCtl(QStringList args) const
    {
        args = QStringList{QStringLiteral("-D"), m_data, QStringLiteral("-w")} + args;
        QProcess process;
        // The server belongs to postgres when the tests run as root.
        if (geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                      QStringLiteral("--"), m_pgCtl} +
                              args);
        else
            process.start(m_pgCtl, args);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QString m_data;
    QString m_log;
    QString m_pgCtl;
    QString m_options;
    bool m_stopped = false;
};

bool isLostText(const QString &text)
{
    return text == warehouse::lostNothingSavedText() || text == warehouse::lostMaybeSavedText();
}

// Every row of `before` is still there.
QString missingFrom(const snapshot::Tables &before, const snapshot::Tables &after)
{
    for (auto table = before.cbegin(); table != before.cend(); ++table)
        for (const QString &row : table.value())
            if (!after.value(table.key()).contains(row))
                return table.key() + QStringLiteral(": lost ") + row;
    return {};
}

catalogpackage::PackageEntry packageEntry()
{
    catalogpackage::PackageEntry e;
    e.catalog = catalogpackage::CatalogListEntry{
        QStringLiteral("SPRING"),          QStringLiteral("MYST"),       QStringLiteral("0000"),
        QStringLiteral("General Catalog"), QStringLiteral("03/02/2026"), QString()};
    e.description = QStringLiteral("Summer mailing");
    e.mailDate = QStringLiteral("06/01/2026");
    e.inserts = {{QStringLiteral("01022026120000"), QStringLiteral("Winter Flyer")},
                 {QStringLiteral("01032026120000"), QStringLiteral("Gift Flyer")}};
    return e;
}

PlacementEntry placementOnPage2()
{
    PlacementEntry e;
    e.target = spring(2);
    e.productId = QStringLiteral("P3");
    e.pageNumber = QStringLiteral("2");
    e.position = QStringLiteral("2");
    e.weight = QStringLiteral("11.11");
    e.blurbSize = QStringLiteral("Blank");
    e.price = QStringLiteral("12.50");
    e.productType = QStringLiteral("a");
    return e;
}

// A write, and how much of it is stored: 0 when absent, `whole` when whole.
struct Write
{
    std::function<void()> run;
    std::function<int()> stored;
    int whole;
};

Write writeNamed(const QString &name)
{
    if (name == QLatin1String("placement save"))
        return {[] { savePlacement(placementOnPage2(), kNow, kUser); },
                [] {
                    return TestWarehouse::count(QStringLiteral(
                        "SELECT COUNT(*) FROM tblProductsMap WHERE ProductID = 'P3' AND "
                        "PageNum = 2"));
                },
                1};
    if (name == QLatin1String("map copy"))
        return {[] { copyMapToTestIds(spring(), QStringLiteral("0001"), kNow, kUser); },
                [] {
                    return TestWarehouse::count(QStringLiteral(
                               "SELECT COUNT(*) FROM tblCatalogMap WHERE TestID = '0001'")) +
                           TestWarehouse::count(QStringLiteral(
                               "SELECT COUNT(*) FROM tblProductsMap WHERE TestID = '0001'"));
                },
                6};
    return {[] { catalogpackage::CreatePackage(packageEntry(), kNow, kUser); },
            [] {
                return TestWarehouse::count(QStringLiteral(
                    "SELECT COUNT(*) FROM tblMailPackages WHERE PackageDescription = "
                    "'Summer mailing'"));
            },
            3};
}

} // namespace

class tst_lost_server : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;

    ScriptedDialogs &dialogs() { return **m_dialogs; }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
        seed();
    }

    void cleanup()
    {
        faults::disarm();
        m_dialogs.reset();
        m_warehouse.reset();
    }

    // A read and a write on a connection ended while the client sat idle: made again and run
    // again, without a word to the operator.
    void endedBetweenOperationsCostsNothing()
    {
        Terminator().endClientBackend();
        const auto pages = reportingFailure(kTitle, [] {
            return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap"));
        });
        QCOMPARE(pages, std::optional<int>(3));

        Terminator().endClientBackend();
        QVERIFY(reportingFailure(kTitle, [] { savePlacement(placementOnPage2(), kNow, kUser); }));
        QCOMPARE(dialogs().calls().size(), 0);
        QCOMPARE(writeNamed(QStringLiteral("placement save")).stored(), 1);

        // A write that answers failures with its own words makes the connection again too.
        Terminator().endClientBackend();
        inventory::ProductEntry product;
        product.productId = QStringLiteral("P9");
        product.productName = QStringLiteral("A new book");
        product.categoryId = QStringLiteral("11");
        QCOMPARE(inventory::saveProduct(product, true, kNow, kUser), inventory::SaveResult::Saved);
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblInvMaster WHERE ProductID = 'P9'")),
                 1);
    }

    // The backend ended just before each statement of a write in turn.
    void endedBeforeEachStatement_data()
    {
        QTest::addColumn<QString>("write");
        QTest::newRow("placement save") << QStringLiteral("placement save");
        QTest::newRow("map copy") << QStringLiteral("map copy");
        QTest::newRow("package create") << QStringLiteral("package create");
    }

    void endedBeforeEachStatement()
    {
        QFETCH(QString, write);
        const Write op = writeNamed(write);
        const int statements = faults::countStatements(op.run);
        QVERIFY(statements >= 2);
        int runAgain = 0;
        int nothingSaved = 0;
        int maybeSaved = 0;
        for (int k = 1; k <= statements; ++k) {
            cleanup();
            init();
            const snapshot::Tables before = snapshot::take();
            {
                const Terminator terminator;
                const faults::ArmedFault end = faults::ArmedFault::actionAt(
                    k, [&terminator] { terminator.endClientBackend(); });
                reportingFailure(kTitle, op.run);
            }
            const QString at = write + QStringLiteral(" ended before statement %1").arg(k);
            const QStringList messages = dialogs().messages();
            const int stored = op.stored();
            QVERIFY2(stored == 0 || stored == op.whole, qPrintable(at));
            QVERIFY2(messages.size() <= 1, qPrintable(at));
            if (messages.isEmpty()) {
                QVERIFY2(stored == op.whole, qPrintable(at));
                ++runAgain;
            } else {
                ++(messages.first() == warehouse::lostNothingSavedText() ? nothingSaved
                                                                         : maybeSaved);
                QVERIFY2(isLostText(messages.first()), qPrintable(at + messages.first()));
                QCOMPARE(dialogs().last().icon, Dialogs::Icon::Critical);
                QCOMPARE(dialogs().last().title, kTitle);
                if (messages.first() == warehouse::lostNothingSavedText())
                    QVERIFY2(snapshot::difference(before, snapshot::take()).isEmpty(),
                             qPrintable(at));
            }
            QVERIFY2(missingFrom(before, snapshot::take()).isEmpty(), qPrintable(at));
            // The next operation works on the connection made again.
            if (stored == 0) {
                dialogs().clear();
                QVERIFY2(reportingFailure(kTitle, op.run), qPrintable(at));
                QCOMPARE(op.stored(), op.whole);
                QCOMPARE(dialogs().calls().size(), 0);
            }
        }
        qInfo("%s: %d statements; run again unseen %d, \"nothing saved\" %d, \"not known\" %d",
              qPrintable(write), statements, runAgain, nothingSaved, maybeSaved);
    }

    // A commit whose answer was lost is never sent again: the operator is told its outcome is not
    // known (here nothing was kept: the backend ended before it).
    void commitOutcomeUnknownIsNotRetried()
    {
        const Write op = writeNamed(QStringLiteral("package create"));
        const Terminator terminator;
        const faults::ArmedFault end = faults::ArmedFault::actionMatching(
            QStringLiteral("COMMIT"), [&terminator] { terminator.endClientBackend(); });
        QVERIFY(!reportingFailure(kTitle, op.run));
        QCOMPARE(dialogs().messages(), QStringList{warehouse::lostMaybeSavedText()});
        QCOMPARE(op.stored(), 0);
        dialogs().clear();
        QVERIFY(reportingFailure(kTitle, op.run));
        QCOMPARE(op.stored(), op.whole);
    }

    // The server stops: one message saying it cannot be reached; started again, the next save
    // works and everything committed before is there.
    void serverStoppedAndStarted()
    {
        TestServer server;
        if (!server.known())
            QSKIP("the test server's options are not known");
        const snapshot::Tables before = snapshot::take();
        QVERIFY(server.stop());
        QVERIFY(!reportingFailure(kTitle, [] { savePlacement(placementOnPage2(), kNow, kUser); }));
        QCOMPARE(dialogs().messages().size(), 1);
        QVERIFY2(dialogs().messages().first().startsWith(QStringLiteral(
                     "The connection to the server was lost and cannot be made again now (")),
                 qPrintable(dialogs().messages().first()));
        QVERIFY(dialogs().messages().first().contains(
            QStringLiteral("Nothing of the last action was saved.")));
        // Still down: told again, and the client goes on.
        QVERIFY(!reportingFailure(kTitle, [] { savePlacement(placementOnPage2(), kNow, kUser); }));
        QCOMPARE(dialogs().messages().size(), 2);

        QVERIFY(server.start());
        dialogs().clear();
        QVERIFY(reportingFailure(kTitle, [] { savePlacement(placementOnPage2(), kNow, kUser); }));
        QCOMPARE(dialogs().calls().size(), 0);
        QCOMPARE(writeNamed(QStringLiteral("placement save")).stored(), 1);
        QCOMPARE(missingFrom(before, snapshot::take()), QString());
    }

    // Through a window: the schedule window saves after its backend ended, shows one message for
    // a save cut off at its commit, stays open, and its next save works.
    void windowCarriesOn()
    {
        MDIfrmMain main(clientWindows());
        main.show();
        auto *window = qobject_cast<frmCatSched *>(main.openWindow(QStringLiteral("frmCatSched")));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto save = [window](const QString &catalog) {
            control<QLineEdit>(*window, "txtCatalogID")->setText(catalog);
            control<QLineEdit>(*window, "txtDescription")->setText(QStringLiteral("Autumn"));
            control<QLineEdit>(*window, "txtAAAddressStartDate")
                ->setText(QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
            QTest::mouseClick(control<QPushButton>(*window, "cmdSave"), Qt::LeftButton);
        };
        const auto stored = [](const QString &catalog) {
            return TestWarehouse::count(
                QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule WHERE CatalogID = ?"),
                {catalog});
        };

        Terminator().endClientBackend();
        save(QStringLiteral("AUTUMN"));
        QCOMPARE(dialogs().calls().size(), 0);
        QCOMPARE(stored(QStringLiteral("AUTUMN")), 1);

        {
            const Terminator terminator;
            const faults::ArmedFault end = faults::ArmedFault::actionMatching(
                QStringLiteral("COMMIT"), [&terminator] { terminator.endClientBackend(); });
            save(QStringLiteral("WINTER"));
        }
        QCOMPARE(dialogs().messages(), QStringList{warehouse::lostMaybeSavedText()});
        QCOMPARE(dialogs().last().title, window->windowTitle());
        QCOMPARE(stored(QStringLiteral("WINTER")), 0);
        QVERIFY(window->isVisible());
        // The panel keeps what was typed, and the same click saves it now.
        QCOMPARE(control<QLineEdit>(*window, "txtCatalogID")->text(), QStringLiteral("WINTER"));
        dialogs().clear();
        QTest::mouseClick(control<QPushButton>(*window, "cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 0);
        QCOMPARE(stored(QStringLiteral("WINTER")), 1);
        const FlexGrid *grid = control<FlexGrid>(*window, "grdSchedule");
        QStringList catalogs;
        for (int row = 2; row < grid->Rows(); ++row)
            catalogs << grid->TextMatrix(row, 1);
        QVERIFY(catalogs.contains(QStringLiteral("WINTER")));
    }
};

// PostgreSQL only: the embedded warehouse has no connection to lose.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!TestWarehouse::forPostgreSQL() ||
        !warehouse::dataSourceExists(QString::fromLatin1(warehouse::kDataSourceName)))
        return 77;
    tst_lost_server test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lost_server.moc"
