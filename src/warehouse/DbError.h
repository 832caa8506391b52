#pragma once

#include <QSqlError>
#include <QString>

#include <exception>
#include <optional>
#include <type_traits>

// A failed statement or connection. Carries the error's number and description as the operator is
// shown them; thrown by the query layer so that every caller rolls back and reports in one place.
class DbError : public std::exception
{
public:
    DbError(QString number, QString description);
    explicit DbError(const QSqlError &error);

    const QString &number() const { return m_number; }
    const QString &description() const { return m_description; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_number;
    QString m_description;
    QByteArray m_what;
};

// Runs an operation whose failure the caller answers with words of its own rather than the
// driver's (a fixed message, a refused search): its result, or nothing when a DbError ended it (for
// an operation that returns nothing: whether it went through). Any transaction inside has rolled
// back by then.
template <typename Operation>
auto unlessFailed(Operation &&operation)
    -> std::conditional_t<std::is_void_v<std::invoke_result_t<Operation>>, bool,
                          std::optional<std::invoke_result_t<Operation>>>
{
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Operation>>) {
            operation();
            return true;
        } else {
            return operation();
        }
    } catch (const DbError &) {
        return {};
    }
}
