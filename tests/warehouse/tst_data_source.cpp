// How the client finds the server behind the data source "Folvane": a stanza naming the PostgreSQL
// ODBC driver, by its name or its file, is reached through libpq at the stanza's server, port and
// database; any other driver through ODBC. And how statements reach libpq: "?" placeholders
// numbered, those inside quotes and comments left alone.
#include "warehouse/PgStatement.h"
#include "warehouse/Warehouse.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <odbcinst.h>

class tst_data_source : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theServerBehindTheDataSource_data()
    {
        QTest::addColumn<QString>("stanza");
        QTest::addColumn<QString>("reached"); // host:port/database, or empty for ODBC
        const QString driverLine = QStringLiteral("Driver=PostgreSQL Unicode\n");
        QTest::newRow("psqlODBC by name")
            << driverLine + QStringLiteral("Servername=db.example.lan\n"
                                           "Port=5433\nDatabase=folvane\n")
            << QStringLiteral("db.example.lan:5433/folvane");
        QTest::newRow("psqlODBC by file, synonyms, default port")
            << QStringLiteral("Driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so\n"
                              "Server=10.0.0.7\nDB=plans\n")
            << QStringLiteral("10.0.0.7:5432/plans");
        QTest::newRow("psqlODBC by a driver name of the site's own")
            << QStringLiteral("Driver=Catalog server\nServername=h\nPort=x\nDatabase=d\n")
            << QStringLiteral("h:5432/d");
        QTest::newRow("FreeTDS") << QStringLiteral("Driver=FreeTDS\nServer=sql.example.lan\n")
                                 << QString();
        QTest::newRow("no such data source") << QString() << QString();
    }

    void theServerBehindTheDataSource()
    {
        QFETCH(QString, stanza);
        QFETCH(QString, reached);
        // One folder for every row: unixODBC keeps the first system folder it was given.
        static QTemporaryDir folder;
        const auto write = [](const char *name, const QString &text) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text.toUtf8());
        };
        write("odbcinst.ini", QStringLiteral("[PostgreSQL Unicode]\nDriver=/usr/lib/psqlodbcw.so\n"
                                             "[Catalog server]\nDriver=/opt/odbc/psqlodbca.so\n"
                                             "[FreeTDS]\nDriver=/usr/lib/libtdsodbc.so\n"));
        write("odbc.ini", QString());
        write("user.ini", stanza.isEmpty() ? QString() : QStringLiteral("[Folvane]\n") + stanza);
        qputenv("ODBCSYSINI", folder.path().toLocal8Bit());
        qputenv("ODBCINI", folder.filePath(QStringLiteral("user.ini")).toLocal8Bit());
        // unixODBC keeps what it read of its files until something is written through it.
        SQLWritePrivateProfileString("Unused", "Unused", "", "unused.ini");
        const auto address = warehouse::postgresBehind(QStringLiteral("Folvane"));
        QCOMPARE(address ? QStringLiteral("%1:%2/%3")
                               .arg(address->host)
                               .arg(address->port)
                               .arg(address->database)
                         : QString(),
                 reached);
    }

    void placeholdersAreNumberedOutsideQuotesAndComments_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("numbered");
        QTest::addColumn<int>("count");
        QTest::newRow("in order") << "SELECT a FROM t WHERE b = ? AND c IN (?, ?)"
                                  << "SELECT a FROM t WHERE b = $1 AND c IN ($2, $3)" << 3;
        QTest::newRow("in a text, a doubled quote inside") << "SELECT 'it''s ?' || ? FROM t"
                                                           << "SELECT 'it''s ?' || $1 FROM t" << 1;
        QTest::newRow("in a quoted name") << "SELECT \"a?\" FROM t WHERE x = ?"
                                          << "SELECT \"a?\" FROM t WHERE x = $1" << 1;
        QTest::newRow("in comments") << "SELECT a -- b = ?\nFROM t /* ? */ WHERE c = ?"
                                     << "SELECT a -- b = ?\nFROM t /* ? */ WHERE c = $1" << 1;
        QTest::newRow("non-ASCII around") << "SELECT 'é?' , ? FROM t"
                                          << "SELECT 'é?' , $1 FROM t" << 1;
    }

    void placeholdersAreNumberedOutsideQuotesAndComments()
    {
        QFETCH(QString, sql);
        QFETCH(QString, numbered);
        QFETCH(int, count);
        int found = -1;
        QCOMPARE(QString::fromUtf8(PgStatement::numberedParameters(sql, &found)), numbered);
        QCOMPARE(found, count);
    }
};

QTEST_GUILESS_MAIN(tst_data_source)
#include "tst_data_source.moc"
