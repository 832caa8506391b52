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

#include <unistd.h>

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
                ? QStringLiteral("Server: Folvane on 127.0.0.1/folvane (%1)")
                      .arg(warehouse::keepsOdbc() ? QStringLiteral("ODBC")
                                                  : QStringLiteral("PostgreSQL"))
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

    // The warehouse in use, by any name, is never replaced by its own backup: saves after it must
    // still work. Any other target gets the copy, an earlier backup there replaced only when whole.
    void backupRefusesTheWarehouseInUse_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("refused");
        QTest::newRow("its own path") << QStringLiteral("same") << true;
        QTest::newRow("through ..") << QStringLiteral("dotdot") << true;
        QTest::newRow("a symbolic link") << QStringLiteral("symlink") << true;
        QTest::newRow("a hard link") << QStringLiteral("hardlink") << true;
        QTest::newRow("an earlier backup") << QStringLiteral("earlier") << false;
    }

    void backupRefusesTheWarehouseInUse()
    {
        if (TestWarehouse::forPostgreSQL())
            QSKIP("Only the embedded warehouse is backed up by the client.");
        QFETCH(QString, how);
        QFETCH(bool, refused);
        const QFileInfo inUse(gcnWarehouse().databaseName());
        QTemporaryDir folder;
        QString target = folder.filePath(QStringLiteral("link.db"));
        if (how == QLatin1String("same"))
            target = inUse.absoluteFilePath();
        else if (how == QLatin1String("dotdot"))
            target = inUse.absolutePath() + QStringLiteral("/../") + inUse.dir().dirName() +
                     QLatin1Char('/') + inUse.fileName();
        else if (how == QLatin1String("symlink"))
            QVERIFY(QFile::link(inUse.absoluteFilePath(), target));
        else if (how == QLatin1String("hardlink"))
            QCOMPARE(::link(QFile::encodeName(inUse.absoluteFilePath()).constData(),
                            QFile::encodeName(target).constData()),
                     0);
        else
            QVERIFY(QFile::copy(inUse.absoluteFilePath(), target));
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, "
                                           "Category) VALUES ('BEFORE', 'Kept', 11)"));
        if (refused) {
            QVERIFY_THROWS_EXCEPTION(DbError, warehouse::backUpEmbedded(target));
        } else {
            QCOMPARE(productsIn(target), 0);
            warehouse::backUpEmbedded(target);
            QCOMPARE(productsIn(target), 1);
        }
        QVERIFY(!QFileInfo::exists(target + QStringLiteral(".part")));
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, "
                                           "Category) VALUES ('AFTER', 'Saved', 11)"));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")), 2);
    }

    // A file on a network share is not memory-mapped (a read error there would be a crash); a
    // local one is.
    void networkFileSystemsAreToldApart_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("network");
        for (const char *type : {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "fuseblk",
                                 "9p", "ceph", "glusterfs", "afs"})
            QTest::newRow(type) << QByteArray(type) << true;
        for (const char *type : {"ext4", "xfs", "btrfs", "tmpfs", "overlay", "zfs", "vfat", ""})
            QTest::newRow(*type ? type : "unnamed") << QByteArray(type) << false;
    }

    void networkFileSystemsAreToldApart()
    {
        QFETCH(QByteArray, type);
        QFETCH(bool, network);
        QCOMPARE(warehouse::isNetworkFileSystem(type), network);
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_warehouse_choice)
#include "tst_warehouse_choice.moc"
