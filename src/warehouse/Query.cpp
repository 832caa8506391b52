#include "warehouse/Query.h"

#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"
#include "warehouse/LostConnection.h"
#include "warehouse/Warehouse.h"

#include <QSqlError>
#include <QSqlRecord>

namespace sqlvalue {

QString text(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return value.toString();
    }
}

QDate date(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        return QDate::fromString(value.toString().left(10), QStringLiteral("yyyy-MM-dd"));
    }
}

// SQLite has no date type: dates are text that sorts and compares as dates. The servers take
// real date values.
QVariant fromDate(const QDate &date)
{
    if (warehouse::dialect() == Dialect::SQLite)
        return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd")))
                              : Query::nullText();
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

QVariant fromDateTime(const QDateTime &dateTime)
{
    if (warehouse::dialect() == Dialect::SQLite)
        return dateTime.isValid()
                   ? QVariant(dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                   : Query::nullText();
    if (!dateTime.isValid())
        return QVariant(QMetaType::fromType<QDateTime>());
    // Whole seconds, as the warehouse keeps them.
    QDateTime seconds = dateTime;
    seconds.setTime(
        QTime(dateTime.time().hour(), dateTime.time().minute(), dateTime.time().second()));
    return seconds;
}

} // namespace sqlvalue

Query::Query(QString sql)
    : m_sql(std::move(sql))
    , m_query(gcnWarehouse())
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(m_sql))
        throw DbError(m_query.lastError());
}

QVariant Query::nullText() { return QVariant(QMetaType::fromType<QString>()); }

Query &Query::bind(const QVariant &value)
{
    // The server's ODBC driver cuts a text at a NUL and stores the rest without a word; refused
    // here, on both warehouses, so what is stored is always what was typed.
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(u'\0')))
        throw DbError(QString::fromLatin1(kNulNumber), QString::fromLatin1(kNulDescription));
    if (!value.isValid() || value.isNull())
        m_query.addBindValue(nullText());
    else if (value.typeId() == QMetaType::QString && value.toString().isNull())
        // An empty text is a text: drivers would store a null QString as NULL.
        m_query.addBindValue(QString(QLatin1String("")));
    else
        m_query.addBindValue(value);
    return *this;
}

Query &Query::bindDate(const QDate &date) { return bind(sqlvalue::fromDate(date)); }

Query &Query::bindDateTime(const QDateTime &dateTime)
{
    return bind(sqlvalue::fromDateTime(dateTime));
}

Query &Query::bindTextOrNull(const QString &text)
{
    return bind(text.isEmpty() ? nullText() : QVariant(text));
}

Query &Query::exec()
{
    faults::beforeStatement(m_sql);
    warehouse::lostconnection::statementStarting(m_sql);
    if (!m_query.exec())
        throw DbError(m_query.lastError());
    return *this;
}

bool Query::exists()
{
    exec();
    return next();
}

bool Query::next()
{
    if (m_query.next()) {
        warehouse::lostconnection::rowRead();
        return true;
    }
    if (m_query.lastError().isValid())
        throw DbError(m_query.lastError());
    return false;
}

QVariant Query::value(int column) const { return m_query.value(column); }
QVariant Query::value(const QString &column) const { return m_query.value(column); }
int Query::indexOf(const QString &column) const { return m_query.record().indexOf(column); }
QString Query::text(int column) const { return sqlvalue::text(value(column)); }
QString Query::text(const QString &column) const { return sqlvalue::text(value(column)); }
QDate Query::date(int column) const { return sqlvalue::date(value(column)); }
QDate Query::date(const QString &column) const { return sqlvalue::date(value(column)); }
double Query::number(int column) const { return value(column).toDouble(); }
double Query::number(const QString &column) const { return value(column).toDouble(); }
