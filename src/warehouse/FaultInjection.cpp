#include "warehouse/FaultInjection.h"

#include "warehouse/DbError.h"

#include <atomic>
#include <mutex>

namespace faults {
namespace {

// Tests that arm faults run one thread per connection at most; the lock keeps the counters sound
// when two clients are tested at once.
std::mutex guard;
long long run = 0;
long long failAt = 0; // the value of `run` whose statement fails; 0 when unarmed
QString pattern;
std::atomic<bool> armed{false};

void updateArmed() { armed = failAt != 0 || !pattern.isEmpty(); }

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

void disarm()
{
    const std::lock_guard lock(guard);
    failAt = 0;
    pattern.clear();
    updateArmed();
}

long long statementsRun()
{
    const std::lock_guard lock(guard);
    return run;
}

void beforeStatement(const QString &sql)
{
    const std::lock_guard lock(guard);
    ++run;
    if (!armed)
        return;
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

ArmedFault::ArmedFault(ArmedFault &&other) noexcept { other.m_armed = false; }

ArmedFault::~ArmedFault()
{
    if (m_armed)
        disarm();
}

} // namespace faults
