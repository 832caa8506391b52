// Another client's writes reach the open page map, catalog editor and plan summary of this one
// within a second:
// the writer is this program run again as a process of its own, on its own connection to the same
// server or the same embedded file.
#include "../catalog/CatalogEditFixtures.h"
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "pagemap/PageOperations.h"
#include "pagemap/frmPageMap.h"
#include "reports/frmPlanSummary.h"
#include "shell/FlexGrid.h"
#include "warehouse/ChangeNotices.h"
#include "warehouse/DbError.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

using namespace catalog;

namespace {

const QString kMap = QStringLiteral("ID|MYST|SPRING|0000");
constexpr auto kWriterFlag = "--write-as-another-client";

// The other client: opens the warehouse (the server's data source, or the file) and writes.
int writeAsAnotherClient(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString write = QString::fromLocal8Bit(argv[2]);
    const QString where = QString::fromLocal8Bit(argv[3]);
    const auto failure =
        where == QLatin1String("postgresql") ? warehouse::open() : warehouse::openSQLiteFile(where);
    if (failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure->description));
        return 2;
    }
    try {
        const NodeKey map(kMap);
        if (write == QLatin1String("move")) {
            const qlonglong b1 = QString::fromLocal8Bit(argv[4]).toLongLong();
            return movePlacement(map, b1, 2, 3, QDateTime::currentDateTime(),
                                 QStringLiteral("other")) == MoveResult::Moved
                       ? 0
                       : 1;
        }
        return insertPage(map, 2, QStringLiteral("Fiction")) == PageResult::Done ? 0 : 1;
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 2;
    }
}

} // namespace

class OtherClientsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsAnotherClientsWriteWithinASecond_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("onPageThree");
        QTest::addColumn<QString>("lastPageNode");
        QTest::addColumn<bool>("listenerEnded");

        // B1 from page 2 to page 3, beside A1.
        QTest::newRow("placement moved")
            << "move" << 4 << 2 << kMap + QStringLiteral("|005") << false;
        // A page inserted at 2: B1's page becomes page 3, the last page 6.
        QTest::newRow("page inserted")
            << "insert" << 5 << 1 << kMap + QStringLiteral("|006") << false;
        // The server ended the listening connection: it is made again without a word.
        QTest::newRow("listener's connection ended by the server")
            << "move" << 4 << 2 << kMap + QStringLiteral("|005") << true;
    }
    void showsAnotherClientsWriteWithinASecond()
    {
        QFETCH(QString, write);
        QFETCH(int, pages);
        QFETCH(int, onPageThree);
        QFETCH(QString, lastPageNode);
        QFETCH(bool, listenerEnded);
        if (listenerEnded && !TestWarehouse::forPostgreSQL())
            QSKIP("The embedded file has no listening connection.");

        TestWarehouse testWarehouse;
        fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
        for (int page : {1, 2, 3, 5})
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0000"), page, QStringLiteral("Fiction"));
        for (const QString &id : {QStringLiteral("A1"), QStringLiteral("B1")})
            fixture::product(id, QStringLiteral("Book ") + id);
        fixture::placement(QStringLiteral("A1"), 3, 1);
        const qlonglong b1 = fixture::placement(QStringLiteral("B1"), 2, 1);

        ScriptedDialogsScope dialogs;
        WindowHarness<frmPageMap> harness(frmPageMap::kWindowNamePrefix + kMap);
        frmPageMap &pageMap = harness.window();
        auto *report = qobject_cast<frmPlanSummary *>(
            harness.main().openWindow(QStringLiteral("frmPlanSummary")));
        report->ShowMap(kMap);
        // The operator is choosing another map in the report's picker.
        control<QComboBox>(*report, "cboMap")->setEditText(QStringLiteral("SPR"));
        auto *editor =
            qobject_cast<frmCatEdit *>(harness.main().openWindow(QStringLiteral("frmCatEdit")));
        QVERIFY(editor->SelectNode(kMap + QStringLiteral("|002")));
        auto *grid = control<FlexGrid>(*editor, "grdChosenProducts");
        QCOMPARE(grid->Rows(), 2);
        // The operator is typing a new placement meanwhile.
        control<QLineEdit>(*editor, "txtProductID")->setText(QStringLiteral("TYPED"));
        control<QLineEdit>(*editor, "txtWeight")->setText(QStringLiteral("42"));
        QTRY_VERIFY_WITH_TIMEOUT(MapChanges::instance().hearingOthers(), 10000);
        if (listenerEnded) {
            TestWarehouse::exec(QStringLiteral(
                "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE application_name = "
                "'Folvane notices' AND pid <> pg_backend_pid()"));
            QTRY_VERIFY(!MapChanges::instance().hearingOthers());
            QTRY_VERIFY_WITH_TIMEOUT(MapChanges::instance().hearingOthers(),
                                     3 * ChangeNotices::kReconnectMs);
        }
        QTest::qWait(2 * ChangeNotices::kCheckMs);

        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QString::fromLatin1(kWriterFlag), write,
                      TestWarehouse::forPostgreSQL() ? QStringLiteral("postgresql")
                                                     : gcnWarehouse().databaseName(),
                      QString::number(b1)});
        QVERIFY(writer.waitForFinished(30000));
        QVERIFY2(writer.exitCode() == 0, writer.readAllStandardError().constData());

        const auto shown = [&] {
            const auto &reported = report->summary().pages;
            const auto pageThree = std::find_if(reported.begin(), reported.end(),
                                                [](const auto &page) { return page.number == 3; });
            const PageMap &map = pageMap.pageMap();
            auto *model = static_cast<frmCatEditTreeModel *>(
                control<QTreeView>(*editor, "tvCatalogTree")->model());
            return int(map.pages.size()) == pages && map.page(3) &&
                   int(map.page(3)->placements.size()) == onPageThree && grid->Rows() == 1 &&
                   model->indexOfKey(lastPageNode).isValid() && pageThree != reported.end() &&
                   pageThree->placements == onPageThree;
        };
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 1000);
        QCOMPARE(editor->Tag(), kMap + QStringLiteral("|002"));
        QCOMPARE(control<QLineEdit>(*editor, "txtProductID")->text(), QStringLiteral("TYPED"));
        QCOMPARE(control<QLineEdit>(*editor, "txtWeight")->text(), QStringLiteral("42"));
        QCOMPARE(control<QComboBox>(*report, "cboMap")->currentText(), QStringLiteral("SPR"));
        QVERIFY(dialogs->messages().isEmpty());
    }
};

int main(int argc, char **argv)
{
    if (argc >= 5 && qstrcmp(argv[1], kWriterFlag) == 0)
        return writeAsAnotherClient(argc, argv);
    QApplication app(argc, argv);
    if (TestWarehouse::forPostgreSQL() &&
        !warehouse::dataSourceExists(QString::fromLatin1(warehouse::kDataSourceName)))
        return 77;
    OtherClientsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_other_clients.moc"
