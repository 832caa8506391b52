// Which warehouse the client works on, in sight on the main window and in the About box, and the
// backup of the embedded one.
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "shell/frmAbout.h"
#include "warehouse/DbError.h"
#include "warehouse/Warehouse.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>

class tst_warehouse_choice : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;

    static int productsIn(const QString &file)
    {
        QSqlDatabase copy =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
        copy.setDatabaseName(file);
        int rows = -1;
        if (copy.open()) {
            QSqlQuery check(copy);
            if (check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next() &&
                check.value(0).toString() == QLatin1String("ok") &&
                check.exec(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")) && check.next())
                rows = check.value(0).toInt();
        }
        copy = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("copy"));
        return rows;
    }

private Q_SLOTS:
    void init() { m_warehouse = std::make_unique<TestWarehouse>(); }
    void cleanup() { m_warehouse.reset(); }

    void mainWindowAndAboutBoxNameTheWarehouse()
    {
        const QString expected =
            TestWarehouse::forPostgreSQL()
                ? QStringLiteral("Server: Folvane on 127.0.0.1/folvane")
                : QStringLiteral("Embedded: ") +
                      QFileInfo(gcnWarehouse().databaseName()).absoluteFilePath();
        WindowHarness<frmAbout> harness;
        QCOMPARE(control<QLabel>(harness.main(), "lblWarehouse")->text(), expected);
        QCOMPARE(harness.control<QLabel>("lblWarehouse")->text(), expected);
        // The message area is still the windows' own.
        harness.main().statusBar()->showMessage(QStringLiteral("Searching..."));
        QCOMPARE(harness.main().statusBar()->currentMessage(), QStringLiteral("Searching..."));
        QCOMPARE(harness.main().menuItem(QStringLiteral("mnuBackUpWarehouse"))->isVisible(),
                 !TestWarehouse::forPostgreSQL());
    }

    void backupHoldsExactlyTheCommittedRows()
    {
        if (TestWarehouse::forPostgreSQL())
            QSKIP("Only the embedded warehouse is backed up by the client.");
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, "
                                           "Category) VALUES ('COMMITTED', 'Kept', 11)"));
        // Another client in the middle of a write that it has not committed.
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(gcnWarehouse().databaseName());
            QVERIFY(other.open());
            QVERIFY(other.transaction());
            QSqlQuery write(other);
            QVERIFY(write.exec(QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, "
                                              "Category) VALUES ('PENDING', 'Not yet', 11)")));
            QTemporaryDir folder;
            const QString target = folder.filePath(QStringLiteral("backup.db"));
            int lastTotal = 0;
            warehouse::backUpEmbedded(target, [&lastTotal](int, int total) { lastTotal = total; });
            QVERIFY(lastTotal > 0);
            QVERIFY(!QFileInfo::exists(target + QStringLiteral(".part")));
            QCOMPARE(productsIn(target), 1);
            other.rollback();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    void backupIntoAMissingFolderFailsAndLeavesNothing()
    {
        if (TestWarehouse::forPostgreSQL())
            QSKIP("Only the embedded warehouse is backed up by the client.");
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("gone/backup.db"));
        QVERIFY_THROWS_EXCEPTION(DbError, warehouse::backUpEmbedded(target));
        QVERIFY(!QFileInfo::exists(target));
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_warehouse_choice)
#include "tst_warehouse_choice.moc"
