#include "warehouse/StatementWatch.h"

#include "warehouse/Warehouse.h"

#include <sqlite3.h>

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
        if (newest && newest->m_db == m_db)
            newest->watchConnection();
        else
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }
}

bool StatementWatch::stopped() { return newest && newest->m_stopped; }

bool StatementWatch::giveWayHere() { return newest && newest->giveWay(); }

bool StatementWatch::giveWay()
{
    if (!m_stopped && m_giveWay())
        m_stopped = true;
    return m_stopped;
}

void StatementWatch::watchConnection()
{
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
