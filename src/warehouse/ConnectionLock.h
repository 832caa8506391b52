#pragma once

#include <mutex>

// Qt's driver opens the embedded warehouse without SQLite's own connection mutex
// (SQLITE_OPEN_NOMUTEX), yet the rest of a large result is stepped on a reader thread (ReadAhead)
// while the window's thread may run other statements on the same connection. Whatever calls into
// the connection holds this lock meanwhile: the reader for each batch of rows it steps, the
// window's thread for each call. It is recursive, since a statement's callbacks may run others.
// Never wait for the reader while holding it: the reader may be waiting for the lock.
//
//     const ConnectionLock lock;
//     sqlite3_step(stmt);
class ConnectionLock
{
public:
    ConnectionLock()
        : m_lock(mutex())
    {}

private:
    static std::recursive_mutex &mutex();

    std::lock_guard<std::recursive_mutex> m_lock;
};
