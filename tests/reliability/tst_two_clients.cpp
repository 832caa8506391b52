// Two clients writing the same map, placement, product and package at the same moment, each on a
// connection of its own: every operation whole, the loser told, never a duplicate row.
#include "../catalog/CatalogEditFixtures.h"
#include "TestWarehouse.h"

#include "catalog/MapOperations.h"
#include "catalog/Placement.h"
#include "inventory/ProductMaster.h"
#include "mailing/CatalogPackage.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Warehouse.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QtTest>

#include <functional>
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

using namespace catalog;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const int kRounds = 8;

NodeKey spring(int page = 0)
{
    const QString map = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
    return NodeKey(page ? NodeKey::pageKey(map, page) : map);
}

// Questions asked from both threads are answered No, and counted.
class DeclineAll : public Dialogs
{
public:
    void message(const QString &, const QString &, Icon) override {}
    bool question(const QString &, const QString &, Icon) override
    {
        const std::lock_guard lock(m_guard);
        ++m_questions;
        return false;
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }

private:
    std::mutex m_guard;
    int m_questions = 0;
};

// The outcome of one client's operation: empty when it went through, else what it was told.
using Outcome = QString;

// Runs both operations at the same moment, each in a thread of its own on a connection of its
// own to the test warehouse, as two clients would.
std::vector<Outcome> together(const std::vector<std::function<void()>> &operations)
{
    const QString shared = gcnWarehouse().connectionName();
    std::vector<Outcome> outcomes(operations.size());
    std::latch ready(std::ptrdiff_t(operations.size()));
    std::vector<std::thread> clients;
    for (size_t i = 0; i < operations.size(); ++i)
        clients.emplace_back([&, i] {
            const QString name = QStringLiteral("client%1").arg(i);
            {
                QSqlDatabase db = QSqlDatabase::cloneDatabase(shared, name);
                const bool opened = db.open();
                const warehouse::ThreadConnection use(name);
                ready.arrive_and_wait();
                if (!opened)
                    outcomes[i] = QStringLiteral("not connected: ") + db.lastError().text();
                else
                    try {
                        operations[i]();
                    } catch (const DbError &error) {
                        outcomes[i] = QStringLiteral("refused: ") + error.description();
                    }
            }
            QSqlDatabase::removeDatabase(name);
        });
    for (std::thread &client : clients)
        client.join();
    return outcomes;
}

int count(const QString &sql, const QVariantList &values = {})
{
    return TestWarehouse::count(sql, values);
}

int wentThrough(const std::vector<Outcome> &outcomes)
{
    return int(std::count(outcomes.begin(), outcomes.end(), Outcome()));
}

QString shown(const std::vector<Outcome> &outcomes)
{
    QStringList texts;
    for (const Outcome &outcome : outcomes)
        texts << (outcome.isEmpty() ? QStringLiteral("ok") : outcome);
    return texts.join(QStringLiteral(" | "));
}

} // namespace

class tst_two_clients : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<Dialogs> m_previousDialogs;

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_previousDialogs = Dialogs::install(std::make_unique<DeclineAll>());
        for (const char *id : {"P1", "P2", "P3"})
            fixture::product(QString::fromLatin1(id));
        fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
        for (int page = 1; page <= 3; ++page) {
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0000"), page);
            fixture::placement(QStringLiteral("P%1").arg(page), page, 1);
        }
    }

    void cleanup()
    {
        Dialogs::install(std::move(m_previousDialogs));
        m_warehouse.reset();
    }

    // Both add a page to the same map: page numbers stay unique and without gaps; a loser is told.
    void pageAddedToOneMapByBoth()
    {
        int pages = 3;
        for (int round = 0; round < kRounds; ++round) {
            const auto add = [] {
                addPageToMap(spring(), QStringLiteral("Fiction"));
            };
            const std::vector<Outcome> outcomes = together({add, add});
            pages += wentThrough(outcomes);
            QCOMPARE(
                count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap WHERE TestID='0000'")),
                pages);
            QCOMPARE(count(QStringLiteral("SELECT MAX(PageNum) FROM tblCatalogMap WHERE "
                                          "TestID='0000'")),
                     pages);
            for (const Outcome &outcome : outcomes)
                QVERIFY2(outcome.isEmpty() || outcome.size() > 10, qPrintable(shown(outcomes)));
        }
        // The embedded file makes the second wait its turn; the server may refuse it its key.
        if (!TestWarehouse::forPostgreSQL())
            QCOMPARE(pages, 3 + 2 * kRounds);
    }

    // Both copy the same map to the same test ID: one whole copy, never a second set of pages or
    // placements.
    void mapCopiedToOneTestIdByBoth()
    {
        for (int round = 0; round < kRounds; ++round) {
            const QString testId = QStringLiteral("%1").arg(round + 1, 4, 10, QLatin1Char('0'));
            std::vector<QString> refused(2);
            const std::vector<Outcome> outcomes =
                together({[&] { refused[0] = copyMapToTestIds(spring(), testId, kNow, {}); },
                          [&] {
                              refused[1] = copyMapToTestIds(spring(), testId, kNow, {});
                          }});
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap WHERE TestID=?"),
                           {testId}),
                     3);
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE TestID=?"),
                           {testId}),
                     3);
            // One made the copy; the other was refused, by the client's check or by the key.
            int copied = 0;
            for (int i = 0; i < 2; ++i)
                copied += outcomes[size_t(i)].isEmpty() && refused[size_t(i)].isEmpty();
            QVERIFY2(copied == 1, qPrintable(shown(outcomes) + refused[0] + refused[1]));
        }
    }

    // Both edit the same placement: it is replaced once, never kept twice; the loser is told.
    void placementEditedByBoth()
    {
        for (int round = 0; round < kRounds; ++round) {
            const QString itemId =
                TestWarehouse::scalar(QStringLiteral("SELECT MAX(ItemID) FROM tblProductsMap "
                                                     "WHERE PageNum = 2 AND TestID = '0000'"))
                    .toString();
            const auto edit = [itemId](const QString &position) {
                PlacementEntry e;
                e.target = spring(2);
                e.mode = PlacementMode::Edit;
                e.itemId = itemId;
                e.productId = QStringLiteral("P2");
                e.pageNumber = QStringLiteral("2");
                e.position = position;
                e.weight = QStringLiteral("1");
                e.blurbSize = QStringLiteral("Blank");
                e.price = QStringLiteral("10");
                savePlacement(e, kNow, QStringLiteral("planner"));
            };
            const std::vector<Outcome> outcomes = together({[&] { edit(QStringLiteral("3")); },
                                                            [&] {
                                                                edit(QStringLiteral("4"));
                                                            }});
            // The loser is told the placement changed under it (or, on the server, may meet the
            // winner's row lock first and then find it gone: the same message).
            QCOMPARE(wentThrough(outcomes), 1);
            for (const Outcome &outcome : outcomes)
                if (!outcome.isEmpty())
                    QCOMPARE(outcome, QStringLiteral("refused: ") +
                                          QString::fromLatin1(kPlacementGoneDescription));
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE PageNum = 2 "
                                          "AND TestID = '0000'")),
                     1);
        }
    }

    // Both create the same new product: one row; the other is asked (and declines) or refused.
    void productCreatedByBoth()
    {
        for (int round = 0; round < kRounds; ++round) {
            const QString id = QStringLiteral("NEW%1").arg(round);
            std::vector<inventory::SaveResult> results(2, inventory::SaveResult::Saved);
            const auto save = [id](inventory::SaveResult &result) {
                inventory::ProductEntry e;
                e.productId = id;
                e.productName = QStringLiteral("A new book");
                e.categoryId = QStringLiteral("11");
                result = inventory::saveProduct(e, true, kNow, QStringLiteral("planner"));
            };
            const std::vector<Outcome> outcomes = together({[&] { save(results[0]); },
                                                            [&] {
                                                                save(results[1]);
                                                            }});
            QCOMPARE(wentThrough(outcomes), 2);
            QCOMPARE(
                count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster WHERE ProductID=?"), {id}),
                1);
            QVERIFY2(std::count(results.begin(), results.end(), inventory::SaveResult::Saved) == 1,
                     qPrintable(QStringLiteral("%1 %2").arg(int(results[0])).arg(int(results[1]))));
        }
    }

    // Both create a package of the same catalog and both delete one package: each package whole,
    // the deleted one gone whole.
    void packageWrittenByBoth()
    {
        catalogpackage::PackageEntry entry;
        entry.catalog = catalogpackage::CatalogListEntry{
            QStringLiteral("SPRING"),          QStringLiteral("MYST"),       QStringLiteral("0000"),
            QStringLiteral("General Catalog"), QStringLiteral("03/02/2026"), QString()};
        entry.description = QStringLiteral("Summer mailing");
        entry.mailDate = QStringLiteral("06/01/2026");
        entry.inserts = {{QStringLiteral("01022026120000"), QStringLiteral("Winter Flyer")}};
        int made = 0;
        for (int round = 0; round < kRounds; ++round) {
            const auto create = [&entry] {
                catalogpackage::CreatePackage(entry, kNow, QStringLiteral("planner"));
            };
            const std::vector<Outcome> outcomes = together({create, create});
            made += wentThrough(outcomes);
            // Same moment, so the same ID but for its random tail: a clash is refused whole.
            QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblMailPackages")), 2 * made);
            QCOMPARE(count(QStringLiteral("SELECT COUNT(DISTINCT PackageID) FROM tblMailPackages")),
                     made);
        }
        QVERIFY(made >= kRounds);

        const QString doomed =
            TestWarehouse::scalar(QStringLiteral("SELECT MIN(PackageID) FROM tblMailPackages"))
                .toString();
        bool deleted[2] = {false, false};
        together({[&] { deleted[0] = catalogpackage::DeletePackage(doomed); },
                  [&] {
                      deleted[1] = catalogpackage::DeletePackage(doomed);
                  }});
        QVERIFY(deleted[0] && deleted[1]);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblMailPackages WHERE PackageID=?"),
                       {doomed}),
                 0);
        QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM tblMailPackages")), 2 * (made - 1));
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_two_clients)

#include "tst_two_clients.moc"
