// Every write of the core, failed at each of its statements in turn: the failure comes out and the
// warehouse is as it was, or, for the writes that commit item by item on purpose, holds whole items
// only.
#include "../catalog/CatalogEditFixtures.h"
#include "../mailing/AdCodeFixture.h"
#include "../mailing/PackageFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WarehouseSnapshot.h"

#include "catalog/CatalogBuild.h"
#include "catalog/MapOperations.h"
#include "pagemap/PageOperations.h"
#include "catalog/Placement.h"
#include "inventory/ProductDescriptions.h"
#include "inventory/ProductMaster.h"
#include "mailing/AdCodes.h"
#include "mailing/CatalogPackage.h"
#include "mailing/CatalogSchedule.h"
#include "mailing/RecurringProducts.h"
#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"

#include <QScopeGuard>
#include <QtTest>

#include <functional>
#include <optional>

using namespace catalog;

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const QDate kToday(2026, 3, 4);
const QString kUser = QStringLiteral("planner");
const QString kInsert = QStringLiteral("01022026120000");

NodeKey spring(int page = 0)
{
    const QString map = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
    return NodeKey(page ? NodeKey::pageKey(map, page) : map);
}

NodeKey insertMap(int page = 0)
{
    const QString map = NodeKey::insertKey(kInsert);
    return NodeKey(page ? NodeKey::pageKey(map, page) : map);
}

// A little of everything the writes touch: products with descriptions, a scheduled catalog with a
// three-page map and placements, an insert with placements, a package, an ad code, a recurring
// product.
void seed()
{
    for (const char *id : {"P1", "P2", "P3"}) {
        fixture::product(QString::fromLatin1(id));
        fixture::description(QString::fromLatin1(id), QStringLiteral("Short"));
    }
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SUMMER"));
    for (int page = 1; page <= 3; ++page) {
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page);
        fixture::placement(QStringLiteral("P%1").arg(page), page, 1);
    }
    fixture::placement(QStringLiteral("P1"), 3, 2);
    for (int page = 1; page <= 2; ++page) {
        fixture::insertPage(kInsert, QStringLiteral("Winter Flyer"), page);
        fixture::Placement onInsert;
        onInsert.product = QStringLiteral("P2");
        onInsert.club = QVariant();
        onInsert.test = QVariant();
        onInsert.catalog = kInsert;
        onInsert.page = page;
        fixture::placement(onInsert);
    }
    fixture::packageCatalog(QStringLiteral("PKG1"), QStringLiteral("MYST"),
                            QStringLiteral("SPRING"), QStringLiteral("0000"));
    fixture::packageInsert(QStringLiteral("PKG1"), kInsert, QStringLiteral("Winter Flyer"));
    fixture::adCode({QStringLiteral("AC1")});
    for (const char *catalog : {"SPRING", "SUMMER"})
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, "
                                           "CatalogID, ProductID) VALUES ('MYST', ?, 'P1')"),
                            {QString::fromLatin1(catalog)});
}

PlacementEntry placementOn(const NodeKey &target, PlacementMode mode, const QString &itemId = {})
{
    PlacementEntry e;
    e.target = target;
    e.mode = mode;
    e.itemId = itemId;
    e.productId = QStringLiteral("P3");
    e.pageNumber = QStringLiteral("2");
    e.position = QStringLiteral("2");
    e.weight = QStringLiteral("11.11");
    e.blurbSize = QStringLiteral("Short");
    e.price = QStringLiteral("12.50");
    e.productType = QStringLiteral("a");
    return e;
}

QString firstItemId()
{
    return TestWarehouse::scalar(QStringLiteral("SELECT MIN(ItemID) FROM tblProductsMap"))
        .toString();
}

catalogschedule::ScheduleEntry scheduleEntry(const QString &catalog)
{
    catalogschedule::ScheduleEntry e;
    e.clubID = QStringLiteral("MYST");
    e.catalogID = catalog;
    e.description = QStringLiteral("Autumn catalog");
    e.aaAddressStartDate = QStringLiteral("09/01/2026");
    e.replyDate = QStringLiteral("10/15/2026");
    return e;
}

catalogbuild::NewMap newMap(bool insert)
{
    catalogbuild::NewMap map;
    map.insert = insert;
    map.clubID = QStringLiteral("MYST");
    map.catalogID = insert ? QStringLiteral("Spring Flyer") : QStringLiteral("SPRING");
    map.testID = QStringLiteral("0007");
    for (int page = 1; page <= 3; ++page)
        map.pages << catalogbuild::MapPage{QString::number(page), QStringLiteral("Fiction")};
    return map;
}

catalogpackage::PackageEntry packageEntry()
{
    catalogpackage::PackageEntry e;
    e.catalog = catalogpackage::CatalogListEntry{
        QStringLiteral("SPRING"),          QStringLiteral("MYST"),       QStringLiteral("0000"),
        QStringLiteral("General Catalog"), QStringLiteral("03/02/2026"), QString()};
    e.description = QStringLiteral("Summer mailing");
    e.mailDate = QStringLiteral("06/01/2026");
    e.inserts = {{kInsert, QStringLiteral("Winter Flyer")},
                 {QStringLiteral("01032026120000"), QStringLiteral("Gift Flyer")}};
    return e;
}

adcodes::AdCodeEntry adCodeEntry(const QString &code)
{
    adcodes::AdCodeEntry e;
    e.sourceCode = code;
    e.catName = QStringLiteral("Book Club 104");
    e.listDesc = QStringLiteral("Lapsed members");
    e.listCpm = QStringLiteral("85");
    e.pkg = QStringLiteral("CAT32");
    e.pkgDesc = QStringLiteral("32-page catalog");
    e.pkgCpm = QStringLiteral("310");
    e.media = QStringLiteral("Catalog");
    e.offer = QStringLiteral("5 books for 99 cents");
    e.mailDate = QStringLiteral("03/15/2026");
    e.qtyMailed = QStringLiteral("120000");
    e.targetResp = QStringLiteral("2.5");
    return e;
}

inventory::ProductEntry productEntry(const QString &id)
{
    inventory::ProductEntry e;
    e.productId = id;
    e.productName = QStringLiteral("A New Book");
    e.categoryId = QStringLiteral("11");
    e.msrp = QStringLiteral("24.95");
    e.manufacturerId = QStringLiteral("1");
    e.releaseDate = QStringLiteral("04/01/2026");
    e.onHand = QStringLiteral("12");
    e.comments = QStringLiteral("Reprint");
    return e;
}

// One write: runs it on the seeded warehouse, answering its questions with yes, and tells whether
// it reported success. A failure may come out as DbError or as the operation's own failed result.
struct Write
{
    QString name;
    std::function<bool()> run;
    // Writes that commit item by item: the number of items, and the write of the first n alone.
    int items = 0;
    std::function<void(int n)> firstItems;
    // The number of items the write told its caller it had moved, where it tells; the window's
    // lists follow it, so it must match what was stored.
    std::function<int()> reportedItems = {};
};

// Items a recurring transfer reported moved in its last run.
int movedItems = 0;

bool succeeded(const std::function<bool()> &run)
{
    try {
        return run();
    } catch (const DbError &) {
        return false;
    }
}

QList<Write> writes()
{
    QList<Write> list;
    const auto add = [&list](const char *name, std::function<bool()> run) {
        list << Write{QString::fromLatin1(name), std::move(run), 0, {}};
    };

    // Catalog editor: placements and maps.
    add("placement add", [] {
        savePlacement(placementOn(spring(2), PlacementMode::Add), kNow, kUser);
        return true;
    });
    add("placement edit", [] {
        savePlacement(placementOn(spring(1), PlacementMode::Edit, firstItemId()), kNow, kUser);
        return true;
    });
    add("placement add on an insert", [] {
        savePlacement(placementOn(insertMap(1), PlacementMode::Add), kNow, kUser);
        return true;
    });
    add("placement delete", [] {
        deletePlacement(firstItemId());
        return true;
    });
    add("insert rename", [] {
        renameInsert(kInsert, QStringLiteral("Spring Flyer"));
        return true;
    });
    add("map copy to a new catalog", [] {
        return copyMapToNewCatalog(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                   QStringLiteral("0000"), QStringLiteral("SUMMER"), kNow,
                                   kUser) == CopyToNewCatalogResult::Copied;
    });
    add("map delete", [] { return deleteMap(spring()); });
    add("insert map delete", [] { return deleteMap(insertMap(2)); });
    add("page add", [] { return addPageToMap(spring(), QStringLiteral("Gifts")); });
    add("insert page add", [] { return addPageToMap(insertMap(), QStringLiteral("Gifts")); });
    add("page remove", [] { return removePageFromMap(spring(2)); });
    add("insert page remove", [] { return removePageFromMap(insertMap(1)); });
    add("page section edit", [] { return editSectionOfPage(spring(2), QStringLiteral("Gifts")); });
    add("insert page section edit",
        [] { return editSectionOfPage(insertMap(2), QStringLiteral("Gifts")); });
    // The page map's page operations: every page after the change is renumbered with its
    // placements, in the same transaction.
    add("page move", [] { return movePages(spring(), 1, 1, 3) == PageResult::Done; });
    add("spread move", [] { return movePages(spring(), 2, 2, 1) == PageResult::Done; });
    add("page insert before the first",
        [] { return insertPage(insertMap(), 1, QStringLiteral("Gifts")) == PageResult::Done; });
    add("page removal inside the book", [] { return removePage(spring(), 1) == PageResult::Done; });
    add("page numbers switch",
        [] { return switchPageNumbers(spring(1), 3) == SwitchPagesResult::Switched; });
    add("insert page numbers switch",
        [] { return switchPageNumbers(insertMap(1), 2) == SwitchPagesResult::Switched; });

    // One test ID after another: each test ID's pages and placements are an item.
    const QStringList testIds{QStringLiteral("0001"), QStringLiteral("0002"),
                              QStringLiteral("0003")};
    list << Write{QStringLiteral("map copy to test IDs"),
                  [testIds] {
                      return copyMapToTestIds(spring(), testIds.join(QLatin1Char(',')), kNow, kUser)
                          .isEmpty();
                  },
                  int(testIds.size()),
                  [testIds](int n) {
                      if (n > 0)
                          copyMapToTestIds(spring(), testIds.mid(0, n).join(QLatin1Char(',')), kNow,
                                           kUser);
                  }};

    // Map builder.
    add("new catalog map", [] {
        catalogbuild::SaveNewMap(newMap(false), kNow);
        return true;
    });
    add("new insert map", [] { return !catalogbuild::SaveNewMap(newMap(true), kNow).isEmpty(); });

    // Catalog schedule.
    add("schedule save",
        [] { return catalogschedule::SaveScheduleRow(scheduleEntry(QStringLiteral("FALL"))); });
    add("schedule save over a row",
        [] { return catalogschedule::SaveScheduleRow(scheduleEntry(QStringLiteral("SPRING"))); });
    add("schedule delete", [] {
        catalogschedule::DeleteScheduleRow(QStringLiteral("MYST"), QStringLiteral("SUMMER"));
        return true;
    });

    // Catalog packages.
    add("package create",
        [] { return !catalogpackage::CreatePackage(packageEntry(), kNow, kUser).isEmpty(); });
    add("package delete", [] { return catalogpackage::DeletePackage(QStringLiteral("PKG1")); });

    // Ad codes; the import writes one row per transaction, each row a write of its own.
    add("ad code save", [] {
        return adcodes::SaveAdCode(adCodeEntry(QStringLiteral("AC2")), false, kUser, kToday);
    });
    add("ad code save over a code", [] {
        return adcodes::SaveAdCode(adCodeEntry(QStringLiteral("AC1")), false, kUser, kToday);
    });
    add("ad code edit", [] {
        return adcodes::SaveAdCode(adCodeEntry(QStringLiteral("AC1")), true, kUser, kToday);
    });
    add("ad code delete", [] { return adcodes::DeleteAdCode(QStringLiteral("AC1")); });
    add("ad code import row", [] {
        return adcodes::SaveImportRow(adCodeEntry(QStringLiteral("AC1")), kUser, kToday).isEmpty();
    });

    // Recurring products: each club and catalog moved is an item.
    const QStringList toAdd{recurring::itemText(QStringLiteral("MYST"), QStringLiteral("SUMMER")),
                            recurring::itemText(QStringLiteral("MYST"), QStringLiteral("FALL")),
                            recurring::itemText(QStringLiteral("MYST"), QStringLiteral("XMAS"))};
    list << Write{QStringLiteral("recurring add"),
                  [toAdd] {
                      movedItems = 0;
                      recurring::transfer(recurring::Transfer::Add, QStringLiteral("P2"), toAdd,
                                          [](const QString &) { ++movedItems; });
                      return true;
                  },
                  int(toAdd.size()),
                  [toAdd](int n) {
                      recurring::transfer(recurring::Transfer::Add, QStringLiteral("P2"),
                                          toAdd.mid(0, n));
                  },
                  [] {
                      return movedItems;
                  }};
    const QStringList toRemove{
        recurring::itemText(QStringLiteral("MYST"), QStringLiteral("SPRING")),
        recurring::itemText(QStringLiteral("MYST"), QStringLiteral("SUMMER"))};
    list << Write{QStringLiteral("recurring remove"),
                  [toRemove] {
                      movedItems = 0;
                      recurring::transfer(recurring::Transfer::Remove, QStringLiteral("P1"),
                                          toRemove, [](const QString &) { ++movedItems; });
                      return true;
                  },
                  int(toRemove.size()),
                  [toRemove](int n) {
                      recurring::transfer(recurring::Transfer::Remove, QStringLiteral("P1"),
                                          toRemove.mid(0, n));
                  },
                  [] {
                      return movedItems;
                  }};

    // Inventory: products (a copy is a save under a new ID) and descriptions.
    add("product save", [] {
        return inventory::saveProduct(productEntry(QStringLiteral("P9")), true, kNow, kUser) ==
               inventory::SaveResult::Saved;
    });
    add("product save over a product", [] {
        return inventory::saveProduct(productEntry(QStringLiteral("P1")), true, kNow, kUser) ==
               inventory::SaveResult::Saved;
    });
    add("product edit", [] {
        return inventory::saveProduct(productEntry(QStringLiteral("P2")), false, kNow, kUser) ==
               inventory::SaveResult::Saved;
    });
    add("product delete", [] { return inventory::deleteProduct(QStringLiteral("P3")); });
    add("description add", [] {
        productdescriptions::Mode mode = productdescriptions::Mode::Add;
        return productdescriptions::SaveDescription(
            {QStringLiteral("P1"), QStringLiteral("Long"), QStringLiteral("Many words.")}, mode,
            kNow, kUser);
    });
    add("description edit", [] {
        productdescriptions::Mode mode = productdescriptions::Mode::Edit;
        return productdescriptions::SaveDescription(
            {QStringLiteral("P1"), QStringLiteral("Short"), QStringLiteral("Other words.")}, mode,
            kNow, kUser);
    });
    add("description add over one", [] {
        productdescriptions::Mode mode = productdescriptions::Mode::Add;
        return productdescriptions::SaveDescription(
            {QStringLiteral("P2"), QStringLiteral("Short"), QStringLiteral("Other words.")}, mode,
            kNow, kUser);
    });
    add("description delete", [] {
        return productdescriptions::DeleteDescription(QStringLiteral("P3"),
                                                      QStringLiteral("Short"));
    });
    return list;
}

} // namespace

class tst_all_or_nothing : public QObject
{
    Q_OBJECT

    std::optional<TestWarehouse> m_warehouse;
    snapshot::Tables m_seeded;
    int m_faulted = 0;

    // A fresh warehouse, seeded; rebuilt only when a write left something behind.
    void restore(bool always = false)
    {
        if (!always && m_warehouse && snapshot::take() == m_seeded)
            return;
        m_warehouse.reset();
        m_warehouse.emplace();
        seed();
        m_seeded = snapshot::take();
    }

private Q_SLOTS:
    void everyStatementOfEveryWrite_data()
    {
        QTest::addColumn<int>("index");
        const QList<Write> list = writes();
        for (int i = 0; i < list.size(); ++i)
            QTest::newRow(qPrintable(list[i].name)) << i;
    }

    void everyStatementOfEveryWrite()
    {
        QFETCH(int, index);
        const Write write = writes().at(index);
        ScriptedDialogsScope dialogs;
        // Not every write asks: answers left over are no fault here.
        const auto forgetAnswers = qScopeGuard([&dialogs] { dialogs->clear(); });
        const auto answerYes = [&dialogs] {
            dialogs->clear();
            for (int i = 0; i < 4; ++i)
                dialogs->answerYes();
        };

        restore(true);
        answerYes();
        const int statements = faults::countStatements([&] { QVERIFY(succeeded(write.run)); });
        QVERIFY2(snapshot::take() != m_seeded, "the write changed nothing");
        QVERIFY(statements > 0);
        qInfo("%s: %d statements", qPrintable(write.name), statements);

        // What the warehouse may hold after a failure: the seed, or the seed and whole items.
        QList<snapshot::Tables> whole;
        if (write.items > 0) {
            for (int n = 0; n < write.items; ++n) {
                restore(true);
                write.firstItems(n);
                whole << snapshot::take();
            }
        }

        for (int k = 1; k <= statements; ++k) {
            restore(write.items > 0);
            const snapshot::Tables before = snapshot::take();
            answerYes();
            bool reported;
            {
                faults::ArmedFault fault = faults::ArmedFault::atStatement(k);
                reported = !succeeded(write.run);
            }
            ++m_faulted;
            QVERIFY2(reported, qPrintable(QStringLiteral("statement %1 of %2: failure not reported")
                                              .arg(k)
                                              .arg(statements)));
            const snapshot::Tables after = snapshot::take();
            if (write.items > 0) {
                QVERIFY2(whole.contains(after),
                         qPrintable(QStringLiteral("statement %1 of %2: a partial item: %3")
                                        .arg(k)
                                        .arg(statements)
                                        .arg(snapshot::difference(before, after))));
                if (write.reportedItems)
                    QCOMPARE(write.reportedItems(), int(whole.indexOf(after)));
            } else {
                QVERIFY2(after == before,
                         qPrintable(QStringLiteral("statement %1 of %2: %3")
                                        .arg(k)
                                        .arg(statements)
                                        .arg(snapshot::difference(before, after))));
            }
            // The connection is usable after the failure.
            QVERIFY(Query(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")).exists());
        }
    }

    // A fault by pattern fails every statement that matches, here every delete of a placement.
    void faultByPattern()
    {
        restore(true);
        {
            faults::ArmedFault fault =
                faults::ArmedFault::matching(QStringLiteral("DELETE FROM tblProductsMap"));
            QVERIFY_THROWS_EXCEPTION(DbError, deleteMap(spring()));
            QVERIFY_THROWS_EXCEPTION(DbError, deletePlacement(firstItemId()));
            QVERIFY(addPageToMap(spring(), QStringLiteral("Gifts")));
        }
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 4);
        deletePlacement(firstItemId());
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 5);
    }

    void cleanupTestCase() { qInfo("statements faulted: %d", m_faulted); }
};

FOLVANE_DATABASE_TEST_MAIN(tst_all_or_nothing)
#include "tst_all_or_nothing.moc"
