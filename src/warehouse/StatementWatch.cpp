#include "warehouse/StatementWatch.h"

#include "warehouse/ConnectionLock.h"
#include "warehouse/Warehouse.h"

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// SQLite's steps between two calls: a few microseconds of its work.
constexpr int kStepsPerCall = 1000;

thread_local StatementWatch *newest = nullptr;

} // namespace

StatementWatch::StatementWatch(std::function<bool()> giveWay)
    : m_giveWay(std::move(giveWay))
    , m_older(newest)
    , m_db(warehouse::sqliteHandle())
    , m_thread(std::this_thread::get_id())
{
    newest = this;
    watchConnection();
}

StatementWatch::~StatementWatch()
{
    // Watches end in the order they began, but an older one ending first is taken out of the chain.
    StatementWatch **link = &newest;
    while (*link && *link != this)
        link = &(*link)->m_older;
    if (*link)
        *link = m_older;
    // Only the connection still open: the warehouse may have been closed meanwhile.
    if (m_db && m_db == warehouse::sqliteHandle()) {
        const ConnectionLock lock(m_db);
        if (newest && newest->m_db == m_db)
            newest->watchConnection();
        else
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }
}

bool StatementWatch::active() { return newest != nullptr; }

bool StatementWatch::stopped() { return newest && newest->m_stopped; }

bool StatementWatch::giveWayHere() { return newest && newest->giveWay(); }

bool StatementWatch::runGivingWay(const std::function<bool()> &work,
                                  const std::function<void()> &cancel)
{
    if (!newest)
        return work();
    // An operation already stopped starts no more statements.
    if (newest->m_stopped)
        throw StoppedByOperator{};
    bool result = false;
    std::exception_ptr failure;
    const bool stop = besideTurns(
        [&] {
            try {
                result = work();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        cancel);
    if (stop)
        throw StoppedByOperator{};
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

void StatementWatch::runToEndGivingWay(const std::function<void()> &work) noexcept
{
    if (!newest) {
        work();
        return;
    }
    try {
        besideTurns(work);
    } catch (...) {
        // A turn that failed has no one to tell here; `work` itself has ended either way.
    }
}

bool StatementWatch::besideTurns(const std::function<void()> &work,
                                 const std::function<void()> &onStop)
{
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread worker([&] {
        work();
        std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    bool stop = false;
    std::exception_ptr turnFailure; // the worker is always waited for, whatever happens here
    std::unique_lock lock(mutex);
    while (!done) {
        if (!ended.wait_for(lock, std::chrono::milliseconds(10), [&] { return done; }) && !stop &&
            !turnFailure) {
            // The watch's turn outside the lock: it runs the event loop.
            lock.unlock();
            try {
                stop = giveWayHere();
                if (stop && onStop)
                    onStop();
            } catch (...) {
                turnFailure = std::current_exception();
            }
            lock.lock();
        }
    }
    lock.unlock();
    worker.join();
    if (turnFailure)
        std::rethrow_exception(turnFailure);
    return stop;
}

bool StatementWatch::giveWay()
{
    if (!m_stopped && m_giveWay())
        m_stopped = true;
    return m_stopped;
}

void StatementWatch::watchConnection()
{
    const ConnectionLock lock(m_db);
    if (m_db)
        sqlite3_progress_handler(m_db, kStepsPerCall, &StatementWatch::progress, this);
}

int StatementWatch::progress(void *watch)
{
    auto *self = static_cast<StatementWatch *>(watch);
    // A statement read ahead on another thread only learns of a stop; the watch's turns are its
    // own thread's.
    if (std::this_thread::get_id() != self->m_thread)
        return self->m_stopped ? 1 : 0;
    return self->giveWay() ? 1 : 0;
}
