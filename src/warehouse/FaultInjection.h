#pragma once

#include <QString>

#include <functional>

// A seam for tests: makes a chosen statement on gcnWarehouse fail as a driver failure would, with
// the same DbError. Inert unless armed; every build carries it so the tested client is the shipped
// one. Each Query::exec() and each Transaction::commit() counts as one statement.
//
//     int n = faults::countStatements([] { catalog::deleteMap(key); });
//     for (int k = 1; k <= n; ++k) {
//         restoreFixture();
//         faults::ArmedFault fault = faults::ArmedFault::atStatement(k);
//         QVERIFY_THROWS_EXCEPTION(DbError, catalog::deleteMap(key));
//     }
//
//     faults::ArmedFault fault = faults::ArmedFault::matching(QStringLiteral("INSERT INTO tblX"));
namespace faults {

// The number and description of an injected failure.
inline constexpr const char *kInjectedNumber = "-1";
inline constexpr const char *kInjectedDescription = "Injected failure of a statement";

// Fails the nth statement from now (1 = the next one), once. 0 disarms.
void failStatement(int n);
// Fails every statement whose text contains the pattern (case-insensitive). Empty disarms.
void failMatching(const QString &pattern);
// Runs the action once, just before the nth statement from now (n > 0) or else before the first
// statement whose text contains the pattern; the statement then runs as usual. A test reaches the
// middle of an operation this way, to end its server connection there. The action runs no Query.
void actBeforeStatement(int n, const QString &pattern, std::function<void()> action);
void disarm();

// Statements run since the process started; tests take differences.
long long statementsRun();

// Called by the query layer before each statement: counts it and throws DbError when armed for it.
void beforeStatement(const QString &sql);

// Arms a fault for its lifetime.
class ArmedFault
{
public:
    static ArmedFault atStatement(int n);
    static ArmedFault matching(const QString &pattern);
    static ArmedFault actionAt(int n, std::function<void()> action);
    static ArmedFault actionMatching(const QString &pattern, std::function<void()> action);
    ~ArmedFault();
    ArmedFault(ArmedFault &&other) noexcept;
    ArmedFault(const ArmedFault &) = delete;
    ArmedFault &operator=(const ArmedFault &) = delete;
    ArmedFault &operator=(ArmedFault &&) = delete;

private:
    ArmedFault() = default;
    bool m_armed = true;
};

// Runs an operation and tells how many statements it ran, whatever it throws.
template <typename Operation> int countStatements(Operation &&operation)
{
    const long long before = statementsRun();
    try {
        operation();
    } catch (...) {
    }
    return int(statementsRun() - before);
}

} // namespace faults
