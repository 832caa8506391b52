#include "warehouse/FaultInjection.h"

#include "warehouse/DbError.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace faults {
namespace {

// Tests that arm faults run one thread per connection at most; the lock keeps the counters sound
// when two clients are tested at once.
std::mutex guard;
long long run = 0;
long long failAt = 0; // the value of `run` whose statement fails; 0 when unarmed
QString pattern;
long long actAt = 0;
QString actPattern;
std::function<void()> action;
std::atomic<bool> armed{false};

void updateArmed() { armed = failAt != 0 || !pattern.isEmpty() || bool(action); }

} // namespace

void failStatement(int n)
{
    const std::lock_guard lock(guard);
    failAt = n > 0 ? run + n : 0;
    updateArmed();
}

void failMatching(const QString &text)
{
    const std::lock_guard lock(guard);
    pattern = text;
    updateArmed();
}

void actBeforeStatement(int n, const QString &text, std::function<void()> act)
{
    const std::lock_guard lock(guard);
    actAt = n > 0 ? run + n : 0;
    actPattern = text;
    action = std::move(act);
    updateArmed();
}

void disarm()
{
    const std::lock_guard lock(guard);
    failAt = 0;
    pattern.clear();
    actAt = 0;
    actPattern.clear();
    action = nullptr;
    updateArmed();
}

long long statementsRun()
{
    const std::lock_guard lock(guard);
    return run;
}

void beforeStatement(const QString &sql)
{
    std::unique_lock lock(guard);
    ++run;
    if (!armed)
        return;
    if (action && (actAt == run || (actAt == 0 && !actPattern.isEmpty() &&
                                    sql.contains(actPattern, Qt::CaseInsensitive)))) {
        actAt = 0;
        actPattern.clear();
        const std::function<void()> act = std::exchange(action, nullptr);
        updateArmed();
        lock.unlock();
        act();
        lock.lock();
    }
    bool fail = false;
    if (failAt == run) {
        failAt = 0;
        fail = true;
    }
    if (!pattern.isEmpty() && sql.contains(pattern, Qt::CaseInsensitive))
        fail = true;
    updateArmed();
    if (fail)
        throw DbError(QString::fromLatin1(kInjectedNumber),
                      QString::fromLatin1(kInjectedDescription));
}

ArmedFault ArmedFault::atStatement(int n)
{
    failStatement(n);
    return {};
}

ArmedFault ArmedFault::matching(const QString &text)
{
    failMatching(text);
    return {};
}

ArmedFault ArmedFault::actionAt(int n, std::function<void()> act)
{
    actBeforeStatement(n, {}, std::move(act));
    return {};
}

ArmedFault ArmedFault::actionMatching(const QString &text, std::function<void()> act)
{
    actBeforeStatement(0, text, std::move(act));
    return {};
}

ArmedFault::ArmedFault(ArmedFault &&other) noexcept { other.m_armed = false; }

ArmedFault::~ArmedFault()
{
    if (m_armed)
        disarm();
}

} // namespace faults
