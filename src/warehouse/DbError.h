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

// unlessFailed, which runs its operation through warehouse::reconnecting.
#include "warehouse/LostConnection.h"
