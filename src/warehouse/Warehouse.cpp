#include "warehouse/Warehouse.h"

#include "warehouse/DbError.h"
#include "warehouse/PgStatement.h"
#include "warehouse/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStorageInfo>

#include <libpq-fe.h>
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <ctime>
#include <malloc.h>

namespace warehouse {
namespace {

const QString kConnection = QStringLiteral("gcnWarehouse");
thread_local QString t_connection;
Dialect g_dialect = Dialect::SQLite;
QString g_description;
bool g_keepOdbc = false;

SQLHANDLE odbcHandle(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && handle.metaType() == QMetaType::fromType<SQLHANDLE>())
        return *static_cast<SQLHANDLE const *>(handle.data());
    return SQL_NULL_HANDLE;
}

QString odbcInfo(SQLHANDLE hdbc, SQLUSMALLINT item)
{
    SQLCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (hdbc == SQL_NULL_HANDLE ||
        !SQL_SUCCEEDED(SQLGetInfo(hdbc, item, text, sizeof text, &length)))
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(text));
}

OpenFailure failureOf(const QSqlError &error)
{
    const DbError e(error);
    return {e.number(), e.description()};
}

// With TZ unset, the C library reads the zone file again at every local-time conversion, and
// every date and time the warehouse hands over is one: a tenth of a large read went to it. Naming
// the same zone once keeps it loaded.
void keepLocalTimeZoneLoaded()
{
    static const bool named = [] {
        if (qEnvironmentVariableIsSet("TZ") || !QFile::exists(QStringLiteral("/etc/localtime")))
            return false;
        qputenv("TZ", ":/etc/localtime");
        tzset();
        return true;
    }();
    Q_UNUSED(named);
}

// glibc keeps small freed blocks aside (its fast bins) and merges them all at the next request of
// a kilobyte or more: once a grid of 100,000 rows was let go, the next statement's text held the
// window 40 ms. Without fast bins a block is merged as it is freed, and large fills ran no slower
// (measured).
void mergeFreedMemoryAtOnce()
{
    static const bool set = mallopt(M_MXFAST, 0) == 1;
    Q_UNUSED(set);
}

// Once, before the first connection: both shape how every large read goes.
void prepareForLargeReads()
{
    keepLocalTimeZoneLoaded();
    mergeFreedMemoryAtOnce();
}

// A value of a data source's (or, with odbcinst.ini, a driver's) stanza; the first of the names
// given that it holds.
QString profileValue(const QString &section, std::initializer_list<const char *> keys,
                     const char *file = "odbc.ini")
{
    const QByteArray name = section.toLocal8Bit();
    for (const char *key : keys) {
        char value[1024] = {};
        if (SQLGetPrivateProfileString(name.constData(), key, "", value, sizeof value, file) > 0 &&
            *value)
            return QString::fromLocal8Bit(value).trimmed();
    }
    return {};
}

// The server's notices ("already exists, skipping") are for a person at a terminal; libpq would
// print them on standard error.
void keepNoticesQuiet(const QSqlDatabase &db)
{
    if (PGconn *connection = PgStatement::connectionOf(db))
        PQsetNoticeProcessor(
            connection, [](void *, const char *) {}, nullptr);
}

std::optional<OpenFailure> openPostgres(const QString &name, const PostgresAddress &address)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kConnection);
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.database);
    db.setUserName(QString::fromLatin1(kUserName));
    db.setPassword(QString::fromLatin1(kPassword));
    QString options = QStringLiteral("connect_timeout=%1").arg(kLoginTimeoutSeconds);
    if (!address.sslMode.isEmpty())
        options += QStringLiteral(";sslmode=") + address.sslMode;
    db.setConnectOptions(options);
    if (!db.open() || !PgStatement::connectionOf(db)) {
        OpenFailure failure = failureOf(db.lastError());
        // libpq gives a failed login no number: the operator is shown ODBC's state for it.
        if (failure.number.isEmpty())
            failure.number = QStringLiteral("08001");
        db = QSqlDatabase();
        close();
        return failure;
    }
    keepNoticesQuiet(db);
    g_dialect = Dialect::PostgreSQL;
    g_description = QStringLiteral("Server: %1 on %2/%3 (PostgreSQL)")
                        .arg(name, address.host, address.database);
    return std::nullopt;
}

} // namespace

std::optional<PostgresAddress> postgresBehind(const QString &dataSource)
{
    const QString driver = profileValue(dataSource, {"Driver"});
    if (driver.isEmpty())
        return std::nullopt;
    // The stanza names the driver by its odbcinst.ini name or by its file.
    const QString file = driver.contains(QLatin1Char('/'))
                             ? driver
                             : profileValue(driver, {"Driver"}, "odbcinst.ini");
    const bool psqlOdbc =
        driver.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) ||
        QFileInfo(file).fileName().startsWith(QLatin1String("psqlodbc"), Qt::CaseInsensitive);
    if (!psqlOdbc)
        return std::nullopt;
    PostgresAddress address;
    address.host = profileValue(dataSource, {"Servername", "Server", "Host"});
    address.database = profileValue(dataSource, {"Database", "DB"});
    address.sslMode = profileValue(dataSource, {"SSLmode", "SSLMode", "sslmode"});
    bool numeric = false;
    const int port = profileValue(dataSource, {"Port"}).toInt(&numeric);
    if (numeric && port > 0)
        address.port = port;
    return address;
}

void keepOdbc(bool keep) { g_keepOdbc = keep; }

bool keepsOdbc()
{
    return g_keepOdbc || qEnvironmentVariable("FOLVANE_ODBC") == QLatin1String("1");
}

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
    while (!found &&
           SQL_SUCCEEDED(SQLDataSources(env, direction, dsn, sizeof dsn, &dsnLength, description,
                                        sizeof description, &descriptionLength))) {
        found = QString::fromLocal8Bit(reinterpret_cast<const char *>(dsn))
                    .compare(name, Qt::CaseInsensitive) == 0;
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

QString embeddedWarehousePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Folvane.db");
}

bool isNetworkFileSystem(const QByteArray &type)
{
    static const QByteArray networked[] = {"nfs",   "cifs",  "smb",       "ncpfs",  "afs",
                                           "coda",  "9p",    "ceph",      "lustre", "gfs2",
                                           "ocfs2", "davfs", "glusterfs", "fuse"};
    const QByteArray name = type.toLower();
    return std::any_of(std::begin(networked), std::end(networked),
                       [&name](const QByteArray &prefix) { return name.startsWith(prefix); });
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
    prepareForLargeReads();
    if (!keepsOdbc())
        if (const auto address = postgresBehind(name))
            return openPostgres(name, *address);
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
    const SQLHANDLE hdbc = odbcHandle(db);
    const QString dbmsName = odbcInfo(hdbc, SQL_DBMS_NAME);
    const std::optional<Dialect> server = dialect::ofDbmsName(dbmsName);
    if (!server) {
        db = QSqlDatabase();
        close();
        return unsupportedServer(name, dbmsName);
    }
    g_dialect = *server;
    g_description =
        QStringLiteral("Server: %1 on %2/%3 (ODBC)")
            .arg(name, odbcInfo(hdbc, SQL_SERVER_NAME), odbcInfo(hdbc, SQL_DATABASE_NAME));
    return std::nullopt;
}

OpenFailure unsupportedServer(const QString &dataSource, const QString &dbmsName)
{
    return {QStringLiteral("0"),
            QStringLiteral("The data source %1 reaches %2. Folvane works with Microsoft SQL Server "
                           "or PostgreSQL only.")
                .arg(dataSource, dbmsName.isEmpty()
                                     ? QStringLiteral("a database system that gives no name")
                                     : QStringLiteral("\"%1\"").arg(dbmsName))};
}

std::optional<OpenFailure> openSQLiteFile(const QString &path)
{
    close();
    prepareForLargeReads();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMilliseconds));
    if (!db.open()) {
        const OpenFailure failure = failureOf(db.lastError());
        db = QSqlDatabase();
        close();
        return failure;
    }
    // A search or an export looks rows up all over a large warehouse: read through SQLite's own
    // 2 MB page cache, most of its pages would be copied again from the operating system's cache
    // on each row. Mapped, SQLite reads them where they are (and still writes through its
    // journal); the searches take a third less time. A larger page cache would do as much for the
    // reads, but SQLite's sorter then sorts a large result in one piece, holding the window.
    // A file on a network share is read as before: a read error there would reach a mapped page
    // as a crash (SIGBUS), where SQLite reports it as an error.
    if (!isNetworkFileSystem(QStorageInfo(path).fileSystemType()))
        QSqlQuery(db).exec(QStringLiteral("PRAGMA mmap_size = %1").arg(kMappedBytes));
    g_dialect = Dialect::SQLite;
    g_description =
        QStringLiteral("Embedded: ") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return std::nullopt;
}

std::optional<OpenFailure> openEmbedded(const QString &path, bool withDemoData)
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
            schema::createFilledWarehouse(QDate::currentDate(), withDemoData);
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
    g_description.clear();
}

bool isOpen()
{
    return QSqlDatabase::contains(kConnection) &&
           QSqlDatabase::database(kConnection, false).isOpen();
}

bool serverConnectionBroken()
{
    QSqlDatabase db = gcnWarehouse();
    if (db.driverName() == QLatin1String("QPSQL")) {
        PGconn *connection = PgStatement::connectionOf(db);
        if (!db.isOpen() || !connection || PQstatus(connection) == CONNECTION_BAD)
            return true;
        return PQtransactionStatus(connection) == PQTRANS_IDLE &&
               !QSqlQuery(db).exec(QStringLiteral("SELECT 1"));
    }
    if (db.driverName() != QLatin1String("QODBC"))
        return false;
    if (!db.isOpen())
        return true;
    // The driver knows when it lost the link; a trivial statement tells for the rest.
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLHANDLE hdbc = odbcHandle(db);
    if (hdbc != SQL_NULL_HANDLE &&
        SQL_SUCCEEDED(SQLGetConnectAttr(hdbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
        dead == SQL_CD_TRUE)
        return true;
    QSqlQuery probe(db);
    return !probe.exec(QStringLiteral("SELECT 1"));
}

std::optional<OpenFailure> reconnectServer()
{
    QSqlDatabase db = gcnWarehouse();
    db.close();
    if (!db.open())
        return failureOf(db.lastError());
    keepNoticesQuiet(db);
    return std::nullopt;
}

ThreadConnection::ThreadConnection(const QString &connectionName)
    : m_previous(t_connection)
{
    t_connection = connectionName;
}

ThreadConnection::~ThreadConnection() { t_connection = m_previous; }

Dialect dialect() { return g_dialect; }

QString description() { return g_description; }

bool isEmbedded() { return isOpen() && gcnWarehouse().driverName() == QLatin1String("QSQLITE"); }

sqlite3 *sqliteHandle()
{
    const QSqlDatabase db = gcnWarehouse();
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

} // namespace warehouse

QSqlDatabase gcnWarehouse()
{
    using namespace warehouse;
    return QSqlDatabase::database(t_connection.isEmpty() ? kConnection : t_connection, false);
}
