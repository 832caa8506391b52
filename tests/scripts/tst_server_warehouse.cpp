// The script that puts a team's warehouse on their PostgreSQL server: the first run creates a
// warehouse the client opens through the data source it writes, the second refuses and changes
// nothing.
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
            QSKIP("The script makes a warehouse on a PostgreSQL server.");
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
};

FOLVANE_DATABASE_TEST_MAIN(tst_server_warehouse)
#include "tst_server_warehouse.moc"
