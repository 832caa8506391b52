#include "warehouse/DbError.h"

DbError::DbError(QString number, QString description)
    : m_number(std::move(number))
    , m_description(std::move(description))
    , m_what((m_number + QLatin1Char(' ') + m_description).toUtf8())
{
}

static QString describe(const QSqlError &error)
{
    // The server's own words say what went wrong; the driver's only that something did.
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text;
}

DbError::DbError(const QSqlError &error)
    : DbError(error.nativeErrorCode().trimmed(), describe(error))
{
}
