#include "warehouse/Warehouse.h"

#include "warehouse/DbError.h"
#include "warehouse/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlDriver>
#include <QStandardPaths>

#include <sql.h>
#include <sqlext.h>

namespace warehouse {
namespace {

const QString kConnection = QStringLiteral("gcnWarehouse");
Dialect g_dialect = Dialect::SQLite;

OpenFailure failureOf(const QSqlError &error)
{
    const DbError e(error);
    return {e.number(), e.description()};
}

// Asks the ODBC driver which server it talks to.
Dialect dialectOfOdbc(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && handle.metaType() == QMetaType::fromType<SQLHANDLE>()) {
        auto hdbc = *static_cast<SQLHANDLE const *>(handle.data());
        SQLCHAR name[128] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(SQLGetInfo(hdbc, SQL_DBMS_NAME, name, sizeof name, &length))) {
            const QString dbms = QString::fromLatin1(reinterpret_cast<const char *>(name));
            if (dbms.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
                return Dialect::PostgreSQL;
        }
    }
    return Dialect::SqlServer;
}

} // namespace

bool dataSourceExists(const QString &name)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return false;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    bool found = false;
    SQLCHAR dsn[SQL_MAX_DSN_LENGTH + 1];
    SQLCHAR description[512];
    SQLSMALLINT dsnLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (!found
           && SQL_SUCCEEDED(SQLDataSources(env, direction, dsn, sizeof dsn, &dsnLength, description,
                                           sizeof description, &descriptionLength))) {
        found = QString::fromLocal8Bit(reinterpret_cast<const char *>(dsn))
                    .compare(name, Qt::CaseInsensitive)
                == 0;
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

QString embeddedWarehousePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/Folvane.db");
}

std::optional<OpenFailure> open()
{
    if (dataSourceExists(QString::fromLatin1(kDataSourceName)))
        return openDataSource(QString::fromLatin1(kDataSourceName));
    return openEmbedded(embeddedWarehousePath());
}

std::optional<OpenFailure> openDataSource(const QString &name)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kConnection);
    // Qt's ODBC driver puts "DSN=" in front of a bare name itself.
    db.setDatabaseName(name);
    db.setUserName(QString::fromLatin1(kUserName));
    db.setPassword(QString::fromLatin1(kPassword));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kLoginTimeoutSeconds));
    if (!db.open()) {
        const OpenFailure failure = failureOf(db.lastError());
        db = QSqlDatabase();
        close();
        return failure;
    }
    g_dialect = dialectOfOdbc(db);
    return std::nullopt;
}

std::optional<OpenFailure> openSQLiteFile(const QString &path)
{
    close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(path);
    if (!db.open()) {
        const OpenFailure failure = failureOf(db.lastError());
        db = QSqlDatabase();
        close();
        return failure;
    }
    g_dialect = Dialect::SQLite;
    return std::nullopt;
}

std::optional<OpenFailure> openEmbedded(const QString &path)
{
    const QFileInfo file(path);
    const bool fresh = !file.exists();
    if (fresh && !QDir().mkpath(file.absolutePath()))
        return OpenFailure{QStringLiteral("0"),
                           QStringLiteral("The data folder %1 cannot be created.")
                               .arg(QDir::toNativeSeparators(file.absolutePath()))};
    if (auto failure = openSQLiteFile(path))
        return failure;
    try {
        if (fresh)
            schema::createFilledWarehouse(QDate::currentDate());
        else
            schema::checkWarehouse();
    } catch (const DbError &error) {
        close();
        // A half-built warehouse would be taken for a good one at the next start.
        if (fresh)
            QFile::remove(path);
        return OpenFailure{error.number(), error.description()};
    }
    return std::nullopt;
}

void close()
{
    if (QSqlDatabase::contains(kConnection)) {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(kConnection);
    }
}

bool isOpen()
{
    return QSqlDatabase::contains(kConnection)
           && QSqlDatabase::database(kConnection, false).isOpen();
}

Dialect dialect() { return g_dialect; }

} // namespace warehouse

QSqlDatabase gcnWarehouse() { return QSqlDatabase::database(QStringLiteral("gcnWarehouse"), false); }
