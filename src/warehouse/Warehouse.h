#pragma once

#include "warehouse/Dialect.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

struct sqlite3;

// The one connection of the client to the data warehouse, and how it is found: the unixODBC data
// source "Folvane" with the fixed login when one is defined, else the embedded SQLite warehouse in
// the per-user data folder, created with its schema, reference data and demo data on first use.
namespace warehouse {

inline constexpr auto kDataSourceName = "Folvane";
inline constexpr auto kUserName = "Folvaneuser";
inline constexpr auto kPassword = "3v8q1m6z";
inline constexpr int kLoginTimeoutSeconds = 480;
// How long a client waits for another one's write to the embedded file before it reports the
// database as busy.
inline constexpr int kBusyTimeoutMilliseconds = 5000;
// How much of the embedded file SQLite reads through a memory map.
inline constexpr qint64 kMappedBytes = qint64(1) << 30;

// Why the connection could not be opened: shown as number immediately followed by description.
struct OpenFailure
{
    QString number;
    QString description;
};

// True when unixODBC knows a data source of that name (user or system).
bool dataSourceExists(const QString &name);
// Whether a file system of that type (as the mount table names it: "nfs4", "cifs", "fuse.sshfs")
// reaches its files over a network, or may: the embedded file is not memory-mapped there.
bool isNetworkFileSystem(const QByteArray &type);
// Path of the embedded warehouse file.
QString embeddedWarehousePath();

// Opens gcnWarehouse. On failure nothing stays open.
std::optional<OpenFailure> open();
// Opens gcnWarehouse on a given SQLite file, creating it when it does not exist yet, with the
// reference data and, when asked for, the demo data.
std::optional<OpenFailure> openEmbedded(const QString &path, bool withDemoData = true);
// Opens gcnWarehouse on a SQLite file as it is, without creating anything in it.
std::optional<OpenFailure> openSQLiteFile(const QString &path);
// Opens gcnWarehouse on an ODBC data source with the fixed login. One that names the PostgreSQL
// ODBC driver is reached through libpq at the same server, port and database, unless ODBC is kept.
// A server other than SQL Server or PostgreSQL is refused (unsupportedServer) and the connection
// closed again.
std::optional<OpenFailure> openDataSource(const QString &name);

// Where a data source naming the PostgreSQL ODBC driver (psqlODBC) points, as unixODBC keeps it.
struct PostgresAddress
{
    QString host;
    int port = 5432;
    QString database;
    QString sslMode; // empty: libpq's default
};
// Nothing for a data source of any other driver, or none of that name.
std::optional<PostgresAddress> postgresBehind(const QString &dataSource);
// Reaches a PostgreSQL data source through its ODBC driver, as any other, for a site that needs it
// (the client's --odbc and its setting). FOLVANE_ODBC=1 in the environment does the same.
void keepOdbc(bool keep);
bool keepsOdbc();
// Why a data source reaching a server of that DBMS name is refused.
OpenFailure unsupportedServer(const QString &dataSource, const QString &dbmsName);
void close();
bool isOpen();

// True when the server connection is gone: closed, declared dead by the driver, or not answering
// a trivial statement. Never for the embedded warehouse.
bool serverConnectionBroken();
// Makes the server connection again with the same data source and login; on failure it stays
// closed, and the next try makes it again.
std::optional<OpenFailure> reconnectServer();

// Runs the calling thread's statements on the named connection (added and opened by the caller in
// this thread) instead of gcnWarehouse's own, for its lifetime: two clients in one test process.
class ThreadConnection
{
public:
    explicit ThreadConnection(const QString &connectionName);
    ~ThreadConnection();
    ThreadConnection(const ThreadConnection &) = delete;
    ThreadConnection &operator=(const ThreadConnection &) = delete;

private:
    QString m_previous;
};

Dialect dialect();
// Which warehouse is open and how, for the operator: "Embedded: <path>",
// "Server: <DSN> on <host>/<database> (PostgreSQL)" through libpq, or "... (ODBC)" through the
// data source's driver, host and database as it names them; empty when none is open.
QString description();
bool isEmbedded();
// The embedded warehouse's own SQLite connection (on this thread's connection), for work beside
// Qt's driver; null on the server or when nothing is open.
sqlite3 *sqliteHandle();

// A consistent copy of the open embedded warehouse, taken while the client works on, written to a
// new file through SQLite's online backup. `progress` hears the pages copied and the pages in all
// after each step. Throws DbError; a failed copy leaves no file behind.
void backUpEmbedded(const QString &targetPath,
                    const std::function<void(int copied, int total)> &progress = {});

} // namespace warehouse

// The client's one database connection (a test thread's own under a ThreadConnection).
QSqlDatabase gcnWarehouse();
