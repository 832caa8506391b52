#pragma once

#include <mutex>

struct sqlite3;

// Qt's driver opens the embedded warehouse without SQLite's own connection mutex
// (SQLITE_OPEN_NOMUTEX), yet the rest of a large result is stepped on a reader thread (ReadAhead)
// while the window's thread may run other statements on the same connection. Whatever calls into
// an embedded connection holds its lock meanwhile: the reader for each batch of rows it steps, the
// window's thread for each call. Each connection has its own lock, so clients on other threads wait
// only for SQLite's file locks, as before. It is recursive, since a statement's callbacks may run
// others. Never wait for the reader while holding it: the reader may be waiting for the lock.
//
//     const ConnectionLock lock(sqlite3_db_handle(stmt));
//     sqlite3_step(stmt);
class ConnectionLock
{
public:
    // Nothing to lock for null: a server's connection, which its driver guards itself.
    explicit ConnectionLock(sqlite3 *connection);
    ~ConnectionLock();
    ConnectionLock(const ConnectionLock &) = delete;
    ConnectionLock &operator=(const ConnectionLock &) = delete;

private:
    std::recursive_mutex *m_mutex;
};
