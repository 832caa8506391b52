// Start-up: the connection is found, made or refused, and the operator learns why.
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "shell/MDIfrmMain.h"
#include "shell/basGeneralDeclarations.h"
#include "shell/basStartup.h"
#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class StartupTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    // The psqlODBC driver in the library folder of this machine's architecture.
    static QString psqlOdbcDriver()
    {
        const QDir lib(QStringLiteral("/usr/lib"));
        for (const QString &arch : lib.entryList({QStringLiteral("*-linux-*")}, QDir::Dirs)) {
            const QString driver = lib.filePath(arch + QStringLiteral("/odbc/psqlodbcw.so"));
            if (QFile::exists(driver))
                return driver;
        }
        return QStringLiteral("psqlodbcw.so");
    }

    // A private unixODBC set-up: an empty one, or one whose DSN "Folvane" leads nowhere.
    void useOdbcFiles(bool withDataSource)
    {
        const QString dir = m_home.filePath(withDataSource ? QStringLiteral("odbc-dsn")
                                                           : QStringLiteral("odbc-none"));
        QDir().mkpath(dir);
        QFile odbcinst(dir + QStringLiteral("/odbcinst.ini"));
        QVERIFY(odbcinst.open(QIODevice::WriteOnly));
        odbcinst.write("[PostgreSQL Unicode]\nDriver=" + QFile::encodeName(psqlOdbcDriver()) + "\n");
        odbcinst.close();
        QFile odbc(dir + QStringLiteral("/odbc.ini"));
        QVERIFY(odbc.open(QIODevice::WriteOnly));
        // Port 9 on loopback: nobody listens, so the server cannot be reached.
        if (withDataSource)
            odbc.write("[Folvane]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=9\n"
                       "Database=folvane\n");
        odbc.close();
        qputenv("ODBCSYSINI", QFile::encodeName(dir));
        qputenv("ODBCINI", QFile::encodeName(dir + QStringLiteral("/odbc.ini")));
    }

    void useDataFolder(const QString &path) { qputenv("XDG_DATA_HOME", QFile::encodeName(path)); }

    static bool mainWindowExists()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (qobject_cast<MDIfrmMain *>(widget))
                return true;
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QApplication::setOrganizationName(QStringLiteral("Folvane"));
        QApplication::setApplicationName(QStringLiteral("Folvane"));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    }

    void embeddedWarehouseIsCreatedOnceThenReused()
    {
        useOdbcFiles(false);
        const QString data = m_home.filePath(QStringLiteral("data"));
        useDataFolder(data);
        ScriptedDialogsScope dialogs;

        basStartup first(std::chrono::milliseconds(0));
        QSignalSpy status(&first, &basStartup::statusChanged);
        MDIfrmMain *main = first.run(clientWindows());
        QVERIFY(main);
        QVERIFY(dialogs->calls().isEmpty());
        QCOMPARE(status.size(), 4);
        const QStringList texts = {
            QStringLiteral("Loading Folvane interface."),
            QStringLiteral("Preparing to connect to the data warehouse."),
            QStringLiteral("Data warehouse connection has established. Loading application..."),
            QStringLiteral("Application has been loaded. WELCOME")};
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(status.at(i).at(0).toString(), texts.at(i));
        QVERIFY(main->isVisible());
        QCOMPARE(main->windowTitle(), QStringLiteral("Folvane"));
        QVERIFY(!gstrUserName.isEmpty());
        QVERIFY(gstrUserName.size() < kUserNameBufferLength);

        const QString path = warehouse::embeddedWarehousePath();
        QVERIFY(path.startsWith(data));
        QVERIFY(QFileInfo::exists(path));
        Query products(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster"));
        products.execFirst();
        const int demoProducts = products.value(0).toInt();
        QVERIFY(demoProducts > 0);
        // A mark of this session, to see the second start open the same file untouched.
        Query(QStringLiteral("INSERT INTO tblMapDefaultPageSections (PageSection) VALUES (?)"))
            .bind(QStringLiteral("Startup mark"))
            .exec();
        main->close();
        QTRY_VERIFY(!mainWindowExists());
        QVERIFY(!warehouse::isOpen());

        basStartup second(std::chrono::milliseconds(0));
        MDIfrmMain *again = second.run(clientWindows());
        QVERIFY(again);
        Query mark(
            QStringLiteral("SELECT COUNT(*) FROM tblMapDefaultPageSections WHERE PageSection = ?"));
        mark.bind(QStringLiteral("Startup mark")).execFirst();
        QCOMPARE(mark.value(0).toInt(), 1);
        Query productsAgain(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster"));
        productsAgain.execFirst();
        QCOMPARE(productsAgain.value(0).toInt(), demoProducts);
        again->close();
        QTRY_VERIFY(!mainWindowExists());
    }

    void unusableDataFolderGivesAMessage()
    {
        useOdbcFiles(false);
        // A file where the data folder should be: nothing can be created below it.
        const QString blocker = m_home.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        useDataFolder(blocker);
        ScriptedDialogsScope dialogs;
        basStartup startup(std::chrono::milliseconds(0));

        QCOMPARE(startup.run(clientWindows()), nullptr);
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(!mainWindowExists());
    }

    void damagedWarehouseFileGivesAMessage()
    {
        useOdbcFiles(false);
        const QString data = m_home.filePath(QStringLiteral("damaged"));
        useDataFolder(data);
        QDir().mkpath(QFileInfo(warehouse::embeddedWarehousePath()).absolutePath());
        QFile file(warehouse::embeddedWarehousePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is no database");
        file.close();
        ScriptedDialogsScope dialogs;
        basStartup startup(std::chrono::milliseconds(0));

        QCOMPARE(startup.run(clientWindows()), nullptr);
        QCOMPARE(dialogs->messages().size(), 1);
        // The operator's file is left for inspection, not thrown away.
        QVERIFY(QFileInfo::exists(warehouse::embeddedWarehousePath()));
    }

    // Last: unixODBC keeps the data sources it has read for the rest of the process.
    void refusedDataSourceGivesOneNumberedMessage()
    {
        useOdbcFiles(true);
        useDataFolder(m_home.filePath(QStringLiteral("unused")));
        ScriptedDialogsScope dialogs;
        basStartup startup(std::chrono::milliseconds(0));
        QSignalSpy status(&startup, &basStartup::statusChanged);

        QCOMPARE(startup.run(clientWindows()), nullptr);

        QCOMPARE(dialogs->calls().size(), 1);
        const QString text = dialogs->messages().value(0);
        // The error number, then its description with nothing between them.
        QVERIFY2(!text.isEmpty() && text.at(0).isDigit(), qPrintable(text));
        QVERIFY2(text.contains(QLatin1String("127.0.0.1")) ||
                     text.contains(QLatin1String("onnect")),
                 qPrintable(text));
        QCOMPARE(dialogs->calls().at(0).title, QStringLiteral("Folvane"));
        QVERIFY(!mainWindowExists());
        QVERIFY(!warehouse::isOpen());
        QCOMPARE(status.size(), 2);
        // Nothing was created for the embedded warehouse when a data source is defined.
        QVERIFY(!QFileInfo::exists(m_home.filePath(QStringLiteral("unused"))));
    }

    void longLogonNameIsCut() { QVERIFY(logonUserName().size() <= kUserNameBufferLength - 1); }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
