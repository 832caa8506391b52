#include "BuildDatabaseBatch.h"
#include "RecordedMessages.h"
#include "frmFolvaneDB.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sql.h>
#include <sqlext.h>

#include <cstdio>

// Runs against the test server's data source "Folvane", whose role is "Folvaneuser". PostgreSQL
// role names are case-sensitive, so these logins type "Folvaneuser", not the window's initial
// "FolvaneUser" (which SQL Server, with its case-insensitive logins, would accept).

namespace {

const QByteArray kExpectedBatch("net start mssql$FOLVANE\r\n"
                                "net start sqlagent$FOLVANE\r\n"
                                "osql -UFolvaneuser -P3v8q1m6z -DFolvane -i Folvane.sql\r\n");

bool dataSourceDefined(const char *wanted)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return false;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    bool found = false;
    SQLCHAR name[SQL_MAX_DSN_LENGTH + 1];
    SQLCHAR description[512];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         !found &&
         SQL_SUCCEEDED(SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength));
         direction = SQL_FETCH_NEXT)
        found = qstricmp(reinterpret_cast<const char *>(name), wanted) == 0;
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_SetupPostgresql : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rightLoginWritesBatch_data();
    void rightLoginWritesBatch();
    void refusedLoginWritesNothing_data();
    void refusedLoginWritesNothing();
    void secondRunReplacesFile();
    void windowWritesBatch();
};

void tst_SetupPostgresql::rightLoginWritesBatch_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("dsn");
    // clang-format off
    QTest::newRow("as stored") << "Folvaneuser" << "Folvane";
    QTest::newRow("blanks around user and DSN") << "  Folvaneuser " << " Folvane ";
    // clang-format on
}

void tst_SetupPostgresql::rightLoginWritesBatch()
{
    QFETCH(QString, user);
    QFETCH(QString, dsn);
    QTemporaryDir folder;
    const BatchOutcome outcome =
        buildDatabaseBatch({user, QStringLiteral(" 3v8q1m6z"), dsn}, folder.path());
    QVERIFY2(outcome.created, qPrintable(outcome.message));
    const QString path = folder.path() + QStringLiteral("/MakeDB.bat");
    QCOMPARE(outcome.message, QStringLiteral("Batch Created Succesfully.\rLocation: ") +
                                  QDir::toNativeSeparators(path));
    QCOMPARE(readAll(path), kExpectedBatch);
}

void tst_SetupPostgresql::refusedLoginWritesNothing_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("dsn");
    QTest::addColumn<QString>("description");

    const QString refused =
        QStringLiteral("password authentication failed for user \"Folvaneuser\"");
    // clang-format off
    QTest::newRow("wrong password") << "wrong" << "Folvane" << refused;
    // Checked as typed: without its quote it would be the right password.
    QTest::newRow("password with a double quote") << "3v8q\"1m6z" << "Folvane" << refused;
    // Spliced into the connection string unquoted, the driver would stop reading at ';'.
    QTest::newRow("right password and more after ';'") << "3v8q1m6z;x" << "Folvane" << refused;
    QTest::newRow("unknown data source") << "3v8q1m6z" << "NoSuchFolvaneDataSource"
        << "[unixODBC][Driver Manager]Data source name not found";
    // clang-format on
}

void tst_SetupPostgresql::refusedLoginWritesNothing()
{
    QFETCH(QString, password);
    QFETCH(QString, dsn);
    QFETCH(QString, description);
    QTemporaryDir folder;
    const BatchOutcome outcome =
        buildDatabaseBatch({QStringLiteral("Folvaneuser"), password, dsn}, folder.path());
    QVERIFY(!outcome.created);
    QVERIFY2(outcome.message.contains(description), qPrintable(outcome.message));
    QVERIFY(QDir(folder.path()).isEmpty());
}

void tst_SetupPostgresql::secondRunReplacesFile()
{
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/MakeDB.bat");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1000, 'x'));
    }
    const SetupLogin login{QStringLiteral("Folvaneuser"), QStringLiteral("3v8q1m6z"),
                           QStringLiteral("Folvane")};
    for (int run = 0; run < 2; ++run) {
        const BatchOutcome outcome = buildDatabaseBatch(login, folder.path());
        QVERIFY2(outcome.created, qPrintable(outcome.message));
        QCOMPARE(readAll(path), kExpectedBatch);
    }
}

void tst_SetupPostgresql::windowWritesBatch()
{
    RecordedMessages messages;
    QTemporaryDir folder;
    frmFolvaneDB window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *user = window.findChild<QLineEdit *>(QStringLiteral("txtBoxes0"));
    QVERIFY(user);
    user->selectAll();
    QTest::keyClicks(user, QStringLiteral("Folvaneuser "));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdBuildDatabase")),
                      Qt::LeftButton);

    const QString path = folder.path() + QStringLiteral("/MakeDB.bat");
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, QStringLiteral("Batch Created Succesfully.\rLocation: ") +
                                         QDir::toNativeSeparators(path));
    QCOMPARE(readAll(path), kExpectedBatch);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!dataSourceDefined("Folvane")) {
        std::puts("SKIP: no ODBC data source \"Folvane\" (start scripts/start-test-postgres)");
        return 77;
    }
    tst_SetupPostgresql test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SetupPostgresql.moc"
