#include "warehouse/ConnectionLock.h"

#include <memory>
#include <unordered_map>

namespace {

std::recursive_mutex *mutexOf(sqlite3 *connection)
{
    if (!connection)
        return nullptr;
    // Mostly the same connection again, on each thread.
    thread_local sqlite3 *lastConnection = nullptr;
    thread_local std::recursive_mutex *lastMutex = nullptr;
    if (connection == lastConnection)
        return lastMutex;
    static std::mutex guard;
    // A handful of connections in a client's life: their locks are kept, even past a close.
    static std::unordered_map<sqlite3 *, std::unique_ptr<std::recursive_mutex>> mutexes;
    std::lock_guard lock(guard);
    auto &mutex = mutexes[connection];
    if (!mutex)
        mutex = std::make_unique<std::recursive_mutex>();
    lastConnection = connection;
    lastMutex = mutex.get();
    return lastMutex;
}

} // namespace

ConnectionLock::ConnectionLock(sqlite3 *connection)
    : m_mutex(mutexOf(connection))
{
    if (m_mutex)
        m_mutex->lock();
}

ConnectionLock::~ConnectionLock()
{
    if (m_mutex)
        m_mutex->unlock();
}
