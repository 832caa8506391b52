// The script that puts a team's warehouse on their PostgreSQL server: the first run creates a
// warehouse the client opens through the data source it writes, the second refuses and changes
// nothing. On SQL Server, which cannot run here, what it would send and the data source it gives.
#include "TestWarehouse.h"
#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_server_warehouse : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_port;

    QProcess::ExitStatus run(const QStringList &arguments, int &exitCode, QString &errors)
    {
        QProcess script;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("admin-secret"));
        script.setProcessEnvironment(environment);
        script.start(QStringLiteral(FOLVANE_SOURCE_DIR "/scripts/create-server-warehouse"),
                     QStringList{QStringLiteral("--host"), QStringLiteral("127.0.0.1"),
                                 QStringLiteral("--port"), m_port, QStringLiteral("--admin"),
                                 QStringLiteral("teamadmin"), QStringLiteral("--database"),
                                 QStringLiteral("folvane_team")} +
                         arguments);
        script.waitForFinished(120000);
        exitCode = script.exitCode();
        errors = QString::fromLocal8Bit(script.readAllStandardError());
        return script.exitStatus();
    }

    // A statement as the test server's superuser, over its own socket.
    void admin(const QString &sql)
    {
        QProcess psql;
        psql.start(QStringLiteral("psql"),
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                    QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                    qEnvironmentVariable("FOLVANE_TEST_PG_DIR"), QStringLiteral("-p"), m_port,
                    QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"),
                    QStringLiteral("postgres"), QStringLiteral("-c"), sql});
        QVERIFY(psql.waitForFinished(60000));
        QVERIFY2(psql.exitCode() == 0, psql.readAllStandardError().constData());
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!TestWarehouse::forPostgreSQL())
            return;
        QFile odbcIni(qEnvironmentVariable("ODBCINI"));
        QVERIFY(odbcIni.open(QIODevice::ReadOnly));
        for (const QByteArray &line : odbcIni.readAll().split('\n'))
            if (line.startsWith("Port="))
                m_port = QString::fromLatin1(line.mid(5)).trimmed();
        QVERIFY(!m_port.isEmpty());
        // A team's administrator: may create roles and databases, logs in with a password.
        admin(QStringLiteral("DROP DATABASE IF EXISTS folvane_team"));
        admin(QStringLiteral("DROP ROLE IF EXISTS teamadmin"));
        admin(QStringLiteral("CREATE ROLE teamadmin LOGIN CREATEDB CREATEROLE PASSWORD "
                             "'admin-secret'"));
    }

    void cleanupTestCase()
    {
        warehouse::close();
        if (TestWarehouse::forPostgreSQL())
            admin(QStringLiteral("DROP DATABASE IF EXISTS folvane_team"));
    }

    void createsOnceAndRefusesAfter()
    {
        if (!TestWarehouse::forPostgreSQL())
            QSKIP("The script makes a warehouse on a PostgreSQL server.");
        const QString odbcIni = m_folder.filePath(QStringLiteral("odbc.ini"));
        int exitCode = -1;
        QString errors;
        QCOMPARE(run({QStringLiteral("--demo"), QStringLiteral("--odbc-ini"), odbcIni}, exitCode,
                     errors),
                 QProcess::NormalExit);
        QVERIFY2(exitCode == 0, qPrintable(errors));

        // The client's own way in: the data source the script wrote, the fixed login.
        const QByteArray testOdbcIni = qgetenv("ODBCINI");
        qputenv("ODBCINI", QFile::encodeName(odbcIni));
        const auto failure = warehouse::openDataSource(QStringLiteral("Folvane"));
        QVERIFY2(!failure, failure ? qPrintable(failure->description) : "");
        QCOMPARE(warehouse::dialect(), Dialect::PostgreSQL);
        QVERIFY(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblMapDefault")) > 0);
        const int products = TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster"));
        QVERIFY(products > 0);
        // Text keys compare without regard to case, as on every warehouse.
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM pg_extension WHERE "
                                                     "extname = 'citext'")),
                 1);
        warehouse::close();

        QCOMPARE(run({QStringLiteral("--demo")}, exitCode, errors), QProcess::NormalExit);
        QCOMPARE(exitCode, 1);
        QVERIFY2(errors.contains(QLatin1String("already holds the warehouse; nothing was changed")),
                 qPrintable(errors));
        QVERIFY(!warehouse::openDataSource(QStringLiteral("Folvane")));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")), products);
        warehouse::close();
        qputenv("ODBCINI", testOdbcIni);
    }

    void sqlServerBatchesAndDataSource()
    {
        if (TestWarehouse::forPostgreSQL())
            QSKIP("Needs no server: once is enough.");
        const QString folder = m_folder.filePath(QStringLiteral("batches"));
        QProcess script;
        script.start(QStringLiteral(FOLVANE_SOURCE_DIR "/scripts/create-server-warehouse"),
                     {QStringLiteral("--sqlserver"), QStringLiteral("--host"),
                      QStringLiteral("db.example.lan"), QStringLiteral("--batches"), folder});
        QVERIFY(script.waitForFinished(60000));
        QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
        QCOMPARE(script.readAllStandardOutput(),
                 QByteArray("[Folvane]\nDescription=Folvane warehouse\nDriver=FreeTDS\n"
                            "Server=db.example.lan\nPort=1433\nDatabase=Folvane\n"
                            "TDS_Version=7.4\nClientCharset=UTF-8\n"));

        // Cut at every GO line and nowhere else, every byte kept.
        QFile sql(QStringLiteral(FOLVANE_SOURCE_DIR "/schema/Folvane.sql"));
        QVERIFY(sql.open(QIODevice::ReadOnly));
        const QByteArray text = sql.readAll();
        QByteArrayList batches;
        const auto batchFile = [&](int n) -> QString {
            return folder + QStringLiteral("/%1.sql").arg(n, 3, 10, QLatin1Char('0'));
        };
        for (int n = 1; QFile::exists(batchFile(n)); ++n) {
            QFile batch(batchFile(n));
            QVERIFY(batch.open(QIODevice::ReadOnly));
            batches << batch.readAll();
            QVERIFY(!batches.last().contains("\nGO\n") && !batches.last().startsWith("GO\n"));
        }
        QCOMPARE(batches.size(), text.count("\nGO\n") + 1);
        QCOMPARE(batches.join("GO\n"), text);

        // A case-sensitive database is refused before anything is made in it: the batch that
        // checks stops the run (and osql's, through SET NOEXEC ON) right after USE Folvane.
        const auto first = [&](const char *what) {
            for (qsizetype i = 0; i < batches.size(); ++i)
                if (batches.at(i).contains(what))
                    return i;
            return qsizetype(-1);
        };
        const qsizetype check = first("'ComparisonStyle'");
        QVERIFY(check > 0);
        QVERIFY(batches.at(check - 1).trimmed().endsWith("USE Folvane"));
        QVERIFY(check < first("CREATE TABLE"));
        for (const char *part : {"COLLATIONPROPERTY(@collation, 'ComparisonStyle')", "& 1 = 0",
                                 "RAISERROR", "SET NOEXEC ON"})
            QVERIFY2(batches.at(check).contains(part), part);
        QVERIFY(batches.at(first("CREATE DATABASE")).contains("COLLATE Latin1_General_100_CI_AS"));

        // Sent for real, through unixODBC's FreeTDS driver: where no server answers, it says so.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("ODBCSYSINI"));
        environment.remove(QStringLiteral("ODBCINI"));
        environment.insert(QStringLiteral("SQLCMDPASSWORD"), QStringLiteral("secret"));
        script.setProcessEnvironment(environment);
        script.start(QStringLiteral(FOLVANE_SOURCE_DIR "/scripts/create-server-warehouse"),
                     {QStringLiteral("--sqlserver"), QStringLiteral("--host"),
                      QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("1")});
        QVERIFY(script.waitForFinished(60000));
        QCOMPARE(script.exitCode(), 1);
        const QByteArray errors = script.readAllStandardError();
        QVERIFY2(errors.contains("cannot connect to 127.0.0.1:1 as sa") &&
                     errors.contains("[FreeTDS]"),
                 errors.constData());
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_server_warehouse)
#include "tst_server_warehouse.moc"
