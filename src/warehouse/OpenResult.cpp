#include "warehouse/OpenResult.h"

#include "warehouse/DbError.h"

#include <QHash>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <utility>

namespace {

std::atomic<bool> g_guarding = false;
std::atomic<int> g_refusals = 0;
std::mutex g_mutex;
// The statements whose results are open, by connection (clients on threads have their own).
QHash<const void *, QStringList> g_open;

} // namespace

OpenResult::OpenResult(OpenResult &&other) noexcept
    : m_connection(std::exchange(other.m_connection, nullptr))
    , m_sql(std::move(other.m_sql))
{}

void OpenResult::open(const void *connection, const QString &sql)
{
    close();
    if (!g_guarding.load(std::memory_order_relaxed))
        return;
    const std::lock_guard lock(g_mutex);
    m_connection = connection;
    m_sql = sql;
    g_open[connection].append(sql);
}

void OpenResult::close()
{
    if (!m_connection)
        return;
    const std::lock_guard lock(g_mutex);
    auto open = g_open.find(m_connection);
    if (open != g_open.end()) {
        open->removeOne(m_sql);
        if (open->isEmpty())
            g_open.erase(open);
    }
    m_connection = nullptr;
}

void OpenResult::statementStarting(const void *connection, const QString &sql)
{
    if (!g_guarding.load(std::memory_order_relaxed))
        return;
    QString pending;
    {
        const std::lock_guard lock(g_mutex);
        const auto open = g_open.constFind(connection);
        if (open == g_open.cend())
            return;
        pending = open->constFirst();
    }
    ++g_refusals;
    const DbError refusal(QString::fromLatin1(kBusyNumber),
                          QStringLiteral("Connection is busy with results for another command: "
                                         "\"%1\" started while the result of \"%2\" is open.")
                              .arg(sql.simplified(), pending.simplified()));
    // Told here too: the caller may show it as any database failure, or not at all.
    qWarning("%s", refusal.what());
    throw refusal;
}

void OpenResult::guard(bool on) { g_guarding = on; }

bool OpenResult::guarding() { return g_guarding; }

int OpenResult::takeRefusals() { return g_refusals.exchange(0); }
