// The catalog editor's tree: node keys, the nodes read from the two display views, and the model
// the tree view shows.
#include "CatalogEditFixtures.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "catalog/CatalogTree.h"
#include "catalog/NodeKey.h"
#include "catalog/frmCatEditTreeModel.h"
#include "warehouse/StatementWatch.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTest>

using catalog::CatalogTree;
using catalog::NodeKey;

class CatalogTreeTest : public QObject
{
    Q_OBJECT

    // The children of a node as "key = text" lines.
    static QStringList children(const CatalogTree &tree, int node)
    {
        QStringList lines;
        for (int row = 0; row < tree.childCount(node); ++row) {
            const int child = tree.child(node, row);
            lines << tree.key(child) + QStringLiteral(" = ") + tree.text(child);
        }
        return lines;
    }

private Q_SLOTS:
    void nodeKeyFields_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("page");
        QTest::addColumn<int>("pageNumber");
        QTest::addColumn<QString>("placementCatalog");
        QTest::newRow("catalogs root") << QStringLiteral("CTG") << false << 0 << QStringLiteral("");
        QTest::newRow("catalog test")
            << QStringLiteral("ID|MYST|SPRING|0001") << false << 0 << QStringLiteral("SPRING");
        QTest::newRow("catalog page")
            << QStringLiteral("ID|MYST|SPRING|0001|007") << true << 7 << QStringLiteral("SPRING");
        QTest::newRow("insert") << QStringLiteral("INS|01152024093000") << false << 0
                                << QStringLiteral("01152024093000");
        QTest::newRow("insert page") << QStringLiteral("INS|01152024093000|125") << true << 125
                                     << QStringLiteral("01152024093000");
    }
    void nodeKeyFields()
    {
        QFETCH(QString, key);
        QFETCH(bool, page);
        QFETCH(int, pageNumber);
        QFETCH(QString, placementCatalog);
        const NodeKey nodeKey(key);
        QCOMPARE(nodeKey.isPage(), page);
        QCOMPARE(nodeKey.pageNumber(), pageNumber);
        QCOMPARE(nodeKey.placementCatalogId(), placementCatalog);
    }

    // Pages 1, 2, 3 and 125 of one test: the formats pad, they never cut.
    void catalogPagesUnderOneTestNode()
    {
        TestWarehouse warehouse;
        for (int page : {1, 2, 3, 125})
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0001"), page, QStringLiteral("Thrillers"));
        const CatalogTree tree = catalog::loadCatalogTree();

        QCOMPARE(children(tree, CatalogTree::kCatalogsRoot),
                 QStringList{QStringLiteral("ID|MYST|SPRING|0001 = SPRING - 0001")});
        const int test = tree.child(CatalogTree::kCatalogsRoot, 0);
        QCOMPARE(children(tree, test),
                 (QStringList{QStringLiteral("ID|MYST|SPRING|0001|001 = Page: 01 - Thrillers"),
                              QStringLiteral("ID|MYST|SPRING|0001|002 = Page: 02 - Thrillers"),
                              QStringLiteral("ID|MYST|SPRING|0001|003 = Page: 03 - Thrillers"),
                              QStringLiteral("ID|MYST|SPRING|0001|125 = Page: 125 - Thrillers")}));
        QCOMPARE(tree.image(test), CatalogTree::CatalogTestImage);
        QCOMPARE(tree.image(tree.child(test, 0)), CatalogTree::PageImage);
        QCOMPARE(tree.find(QStringLiteral("ID|MYST|SPRING|0001|125")), tree.child(test, 3));
        QCOMPARE(tree.find(QStringLiteral("ID|MYST|SPRING|0001|126")), CatalogTree::kNoNode);
    }

    void testsAndInsertsInViewOrder_data()
    {
        QTest::addColumn<bool>("unorderedViews");
        QTest::newRow("views in order") << false;
        // As on SQL Server, which keeps no order of a view: the tree asks for its own.
        QTest::newRow("views in no order") << true;
    }
    void testsAndInsertsInViewOrder()
    {
        QFETCH(bool, unorderedViews);
        TestWarehouse warehouse;
        if (unorderedViews) {
            TestWarehouse::exec(QStringLiteral("DROP VIEW viewMapCatalogsDisplay"));
            TestWarehouse::exec(QStringLiteral(
                "CREATE VIEW viewMapCatalogsDisplay AS SELECT tblCatalogMap.ClubID, "
                "tblCatalogMap.CatalogID, tblCatalogMap.TestID, tblCycleSchedule.Description, "
                "tblCatalogMap.PageNum, tblCatalogMap.PageSection, "
                "tblCycleSchedule.AAAddressStartDate, tblCycleSchedule.LabelRunShipDate FROM "
                "tblCatalogMap LEFT OUTER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = "
                "tblCatalogMap.ClubID AND tblCycleSchedule.CatalogID = tblCatalogMap.CatalogID"));
            TestWarehouse::exec(QStringLiteral("DROP VIEW viewMapInsertsDisplay"));
            TestWarehouse::exec(
                QStringLiteral("CREATE VIEW viewMapInsertsDisplay AS SELECT InsertID AS InsertId, "
                               "InsertDescription, PageNum, PageSection FROM tblInsertMap"));
        }
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0001"), 1);
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), 1);
        fixture::catalogPage(QStringLiteral("KIDS"), QStringLiteral("FALL"), QStringLiteral("0000"),
                             1);
        fixture::insertPage(QStringLiteral("01152024093000"), QStringLiteral("Old Insert"), 1);
        fixture::insertPage(QStringLiteral("03012025120000"), QStringLiteral("New Insert"), 2,
                            QStringLiteral("Order Form"));
        fixture::insertPage(QStringLiteral("03012025120000"), QStringLiteral("New Insert"), 1);
        const CatalogTree tree = catalog::loadCatalogTree();

        QCOMPARE(tree.text(CatalogTree::kCatalogsRoot), QStringLiteral("Catalogs"));
        QCOMPARE(tree.key(CatalogTree::kInsertsRoot), QStringLiteral("SRT"));
        QCOMPARE(tree.image(CatalogTree::kInsertsRoot), CatalogTree::InsertsRootImage);
        QCOMPARE(children(tree, CatalogTree::kCatalogsRoot),
                 (QStringList{QStringLiteral("ID|KIDS|FALL|0000 = FALL - 0000"),
                              QStringLiteral("ID|MYST|SPRING|0000 = SPRING - 0000"),
                              QStringLiteral("ID|MYST|SPRING|0001 = SPRING - 0001")}));
        // The newest insert first, its pages in page order.
        QCOMPARE(children(tree, CatalogTree::kInsertsRoot),
                 (QStringList{QStringLiteral("INS|03012025120000 = New Insert"),
                              QStringLiteral("INS|01152024093000 = Old Insert")}));
        const int insert = tree.child(CatalogTree::kInsertsRoot, 0);
        QCOMPARE(tree.image(insert), CatalogTree::InsertImage);
        QCOMPARE(children(tree, insert),
                 (QStringList{QStringLiteral("INS|03012025120000|001 = Page: 01 - Fiction"),
                              QStringLiteral("INS|03012025120000|002 = Page: 02 - Order Form")}));
    }

    // Esc while the editor opens keeps the nodes read so far, whether it comes between rows or
    // inside a statement.
    void aStoppedLoadKeepsTheNodesReadSoFar()
    {
        TestWarehouse warehouse;
        for (int page = 1; page <= 4; ++page)
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0001"), page);
        fixture::insertPage(QStringLiteral("01152024093000"), QStringLiteral("Old Insert"), 1);

        int rows = 0;
        const CatalogTree stopped = catalog::loadCatalogTree(0, [&rows] { return ++rows < 3; });
        const int test = stopped.child(CatalogTree::kCatalogsRoot, 0);
        QCOMPARE(children(stopped, test),
                 (QStringList{QStringLiteral("ID|MYST|SPRING|0001|001 = Page: 01 - Fiction"),
                              QStringLiteral("ID|MYST|SPRING|0001|002 = Page: 02 - Fiction"),
                              QStringLiteral("ID|MYST|SPRING|0001|003 = Page: 03 - Fiction")}));
        QCOMPARE(stopped.childCount(CatalogTree::kInsertsRoot), 0);

        rows = 0;
        QCOMPARE(catalog::loadCatalogTree(0, [&rows] { return ++rows < 5; })
                     .childCount(CatalogTree::kInsertsRoot),
                 1);

        // A watch that has stopped starts no statement: the roots alone, and no failure.
        StatementWatch watch([] { return true; });
        QVERIFY(StatementWatch::giveWayHere());
        QCOMPARE(catalog::loadCatalogTree(0, [] { return true; }).size(), 2);
    }

    // Rows of one map that do not come together still end under one node.
    void splitMapRowsStayUnderOneNode()
    {
        CatalogTree tree;
        const int first = tree.addCatalogTest(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                              QStringLiteral("0000"));
        tree.addPage(first, 1, QStringLiteral("Fiction"));
        const int other = tree.addCatalogTest(QStringLiteral("MYST"), QStringLiteral("FALL"),
                                              QStringLiteral("0000"));
        tree.addPage(other, 1, QStringLiteral("Fiction"));
        QCOMPARE(tree.addCatalogTest(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                     QStringLiteral("0000")),
                 first);
        tree.addPage(first, 2, QStringLiteral("Fiction"));
        QCOMPARE(tree.childCount(CatalogTree::kCatalogsRoot), 2);
        QCOMPARE(tree.childCount(first), 2);
    }

    void everyPageKeepsItsOwnSection()
    {
        // Sections repeat across thousands of pages and are kept once: past the first few dozen
        // distinct ones, in any order, each page still shows its own, empty ones included.
        CatalogTree tree;
        const int map = tree.addCatalogTest(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                            QStringLiteral("0000"));
        QStringList expected;
        for (int page = 1; page <= 400; ++page) {
            const int section = (page * 37) % 90;
            const QString text = section == 0 ? QString()
                                              : QStringLiteral("Section %1 é").arg(section);
            tree.addPage(map, page, text);
            expected << catalog::pageText(page, text);
        }
        QStringList shown;
        for (int row = 0; row < tree.childCount(map); ++row)
            shown << tree.text(tree.child(map, row));
        QCOMPARE(shown, expected);
    }

    void modelOverTheTree()
    {
        CatalogTree tree;
        for (int t = 0; t < 3; ++t) {
            const int test = tree.addCatalogTest(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                 QStringLiteral("000%1").arg(t));
            for (int page = 1; page <= 4; ++page)
                tree.addPage(test, page, QStringLiteral("Fiction"));
        }
        const int insert = tree.addInsert(QStringLiteral("01152024093000"), QStringLiteral("Mini"));
        tree.addPage(insert, 1, QStringLiteral("Front Cover"));

        frmCatEditTreeModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTree(std::move(tree));

        QCOMPARE(model.rowCount(), 2);
        const QModelIndex page = model.indexOfKey(QStringLiteral("ID|MYST|SPRING|0002|003"));
        QVERIFY(page.isValid());
        QCOMPARE(page.data().toString(), QStringLiteral("Page: 03 - Fiction"));
        QCOMPARE(page.parent().data(frmCatEditTreeModel::KeyRole).toString(),
                 QStringLiteral("ID|MYST|SPRING|0002"));
        QCOMPARE(page.parent().parent(), model.index(0, 0));
        QVERIFY(!page.data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(model.key(model.index(0, 0, model.index(1, 0))),
                 QStringLiteral("INS|01152024093000"));

        model.setTree(CatalogTree());
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    }
};

FOLVANE_WINDOW_TEST_MAIN(CatalogTreeTest)
#include "tst_catalog_tree.moc"
