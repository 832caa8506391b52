#pragma once

#include "warehouse/DbError.h"

#include <QString>

#include <optional>
#include <type_traits>

// A lost server connection costs the operator one message at most, never the client or their work.
//
//     reportingFailure(caption, [&] { return warehouse::reconnecting(save); });
//
// An operation run through reconnecting() that fails on a broken connection to the server (the
// server restarted, the network dropped, the backend was ended) connects again once, with the same
// data source and login. It then runs again when nothing of it can have reached the warehouse or
// the operator: no row read, no dialog shown, no commit sent and no write sent outside a
// transaction. A write that failed inside its transaction counts as nothing: the server never
// commits a transaction whose connection is gone. In every other case it throws one DbError saying
// what became of the work (never retrying a commit whose outcome is unknown), and the next
// operation finds the connection made again.
//
// The embedded warehouse has no connection to lose. An operation nested inside another runs as part
// of the outer one, which alone decides.
namespace warehouse {

// The messages, for the operator and for tests.
QString lostNothingSavedText();
QString lostMaybeSavedText();
QString lostNoServerText(const QString &reason, bool maybeSaved);

namespace lostconnection {

// What the outermost operation of this thread has done so far. Query, Transaction and the Dialogs
// service tell it.
void statementStarting(const QString &sql);
void rowRead();
void transactionBegun();
void transactionEnded();
void commitStarting();
void operatorTold();

// Marks the outermost operation of the thread for its lifetime.
class OperationScope
{
public:
    OperationScope();
    ~OperationScope();
    OperationScope(const OperationScope &) = delete;
    OperationScope &operator=(const OperationScope &) = delete;
    bool outermost() const { return m_outermost; }

private:
    bool m_outermost;
};

// After a DbError of the outermost operation: false when the error stands as it is (the
// connection is sound, or embedded); true when the connection was made again and the operation may
// run again. Throws the lost-connection DbError when it may not.
bool mayRunAgainAfter(const DbError &error, bool secondRun);

} // namespace lostconnection

template <typename Operation> decltype(auto) reconnecting(Operation &&operation)
{
    for (bool secondRun = false;; secondRun = true) {
        const lostconnection::OperationScope scope;
        if (!scope.outermost())
            return operation();
        try {
            return operation();
        } catch (const DbError &error) {
            if (!lostconnection::mayRunAgainAfter(error, secondRun))
                throw;
        }
    }
}

} // namespace warehouse

// Runs an operation whose failure the caller answers with words of its own rather than the
// driver's (a fixed message, a refused search): its result, or nothing when a DbError ended it (for
// an operation that returns nothing: whether it went through). Any transaction inside has rolled
// back by then, and a lost server connection has been made again (warehouse::reconnecting).
template <typename Operation>
auto unlessFailed(Operation &&operation)
    -> std::conditional_t<std::is_void_v<std::invoke_result_t<Operation>>, bool,
                          std::optional<std::invoke_result_t<Operation>>>
{
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Operation>>) {
            warehouse::reconnecting(operation);
            return true;
        } else {
            return warehouse::reconnecting(operation);
        }
    } catch (const DbError &) {
        return {};
    }
}
