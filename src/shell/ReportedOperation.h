#pragma once

#include "warehouse/DbError.h"
#include "warehouse/LostConnection.h"

#include <QString>

#include <optional>
#include <type_traits>

// What an operation run through reportingFailure gives back: true or false for one that returns
// nothing, its result or nothing for one that returns a value.
template <typename Result>
using Attempted = std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>>;

// Shows a database failure through the Dialogs service: the critical icon, the given title, the
// texts (when given) before and after the error's description.
void reportDbError(const DbError &error, const QString &title, const QString &before = {},
                   const QString &after = {});

// The one place a failed operation is caught and reported; the result is then empty (false for an
// operation that returns nothing). A lost server connection is made again, and the operation run
// again when that is safe (warehouse::reconnecting). Working windows use WorkingWindow::attempt,
// titled with their caption.
template <typename Operation>
auto reportingFailure(const QString &title, Operation &&operation, const QString &before = {},
                      const QString &after = {}) -> Attempted<std::invoke_result_t<Operation>>
{
    using Result = std::invoke_result_t<Operation>;
    try {
        if constexpr (std::is_void_v<Result>) {
            warehouse::reconnecting(operation);
            return true;
        } else {
            return Attempted<Result>(warehouse::reconnecting(operation));
        }
    } catch (const DbError &error) {
        reportDbError(error, title, before, after);
        return {};
    }
}
