#include "warehouse/OdbcRows.h"

#include "warehouse/DbError.h"

#include <QDateTime>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sql.h>
#include <sqlext.h>

namespace {

// Text values are read in pieces of this many UTF-16 units, most of them in one.
constexpr SQLLEN kTextPiece = 512;

// The failure in the driver's words: the states as the number, the messages as the text.
[[noreturn]] void throwOdbcError(SQLHANDLE statement)
{
    QStringList states;
    QStringList messages;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLWCHAR message[1024] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(SQL_HANDLE_STMT, statement, record, state, &native,
                                          message, SQLSMALLINT(std::size(message)), &length)))
            break;
        states << QString::fromUtf16(reinterpret_cast<const char16_t *>(state), 5);
        messages << QString::fromUtf16(reinterpret_cast<const char16_t *>(message),
                                       qMin<qsizetype>(length, std::size(message) - 1));
    }
    throw DbError(states.join(QLatin1Char(';')), messages.join(QLatin1Char(' ')).trimmed());
}

template <typename T> bool getFixed(SQLHANDLE statement, int column, SQLSMALLINT type, T &value)
{
    SQLLEN indicator = 0;
    const SQLRETURN r =
        SQLGetData(statement, SQLUSMALLINT(column + 1), type, &value, sizeof value, &indicator);
    if (!SQL_SUCCEEDED(r))
        throwOdbcError(statement);
    return indicator != SQL_NULL_DATA;
}

// The ODBC statement handle behind Qt's query; null for another driver's.
SQLHANDLE statementOf(const QSqlQuery &query)
{
    const QSqlResult *result = query.result();
    const QVariant handle = result ? result->handle() : QVariant();
    if (!handle.isValid() || handle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return SQL_NULL_HANDLE;
    return *static_cast<const SQLHANDLE *>(handle.data());
}

} // namespace

std::function<void()> OdbcRows::canceller(const QSqlQuery &query)
{
    SQLHANDLE statement = statementOf(query);
    if (statement == SQL_NULL_HANDLE)
        return {};
    // The driver sends the server a cancel request when the statement is executing on another
    // thread, and does nothing otherwise; a failed request leaves the statement to run out.
    return [statement] { SQLCancel(statement); };
}

std::unique_ptr<OdbcRows> OdbcRows::over(const QSqlQuery &query)
{
    if (!query.isSelect() || query.numericalPrecisionPolicy() != QSql::LowPrecisionDouble)
        return nullptr;
    SQLHANDLE statement = statementOf(query);
    if (statement == SQL_NULL_HANDLE)
        return nullptr;
    std::unique_ptr<OdbcRows> rows(new OdbcRows(statement));
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QMetaType type = record.field(i).metaType();
        // Binary values are left to the driver, which the client hardly ever reads.
        if (type.id() == QMetaType::QByteArray)
            return nullptr;
        rows->m_types.push_back(type);
    }
    rows->m_row.resize(rows->m_types.size());
    return rows;
}

OdbcRows::OdbcRows(void *statement)
    : m_statement(statement)
    , m_buffer(kTextPiece + 1)
{}

bool OdbcRows::next()
{
    m_onRow = false;
    if (m_done)
        return false;
    const SQLRETURN r = SQLFetch(m_statement);
    if (r == SQL_NO_DATA) {
        m_done = true;
        return false;
    }
    if (!SQL_SUCCEEDED(r)) {
        m_done = true;
        throwOdbcError(m_statement);
    }
    m_read = 0;
    m_onRow = true;
    return true;
}

QVariant OdbcRows::value(int column)
{
    if (!m_onRow || column < 0 || column >= columns())
        return {};
    // The driver hands each value over once, in column order.
    while (m_read <= column) {
        m_row[size_t(m_read)] = read(m_read);
        ++m_read;
    }
    return m_row[size_t(column)];
}

QVariant OdbcRows::read(int column)
{
    const QMetaType type = m_types[size_t(column)];
    switch (type.id()) {
    case QMetaType::Int: {
        SQLINTEGER v = 0;
        return getFixed(m_statement, column, SQL_C_SLONG, v) ? QVariant(int(v)) : QVariant(type);
    }
    case QMetaType::UInt: {
        SQLUINTEGER v = 0;
        return getFixed(m_statement, column, SQL_C_ULONG, v) ? QVariant(uint(v)) : QVariant(type);
    }
    case QMetaType::LongLong: {
        SQLBIGINT v = 0;
        return getFixed(m_statement, column, SQL_C_SBIGINT, v) ? QVariant(qlonglong(v))
                                                               : QVariant(type);
    }
    case QMetaType::ULongLong: {
        SQLUBIGINT v = 0;
        return getFixed(m_statement, column, SQL_C_UBIGINT, v) ? QVariant(qulonglong(v))
                                                               : QVariant(type);
    }
    case QMetaType::Double: {
        SQLDOUBLE v = 0;
        return getFixed(m_statement, column, SQL_C_DOUBLE, v) ? QVariant(double(v))
                                                              : QVariant(type);
    }
    case QMetaType::QDate: {
        DATE_STRUCT d{};
        return getFixed(m_statement, column, SQL_C_DATE, d)
                   ? QVariant(QDate(d.year, d.month, d.day))
                   : QVariant(type);
    }
    case QMetaType::QTime: {
        TIME_STRUCT t{};
        return getFixed(m_statement, column, SQL_C_TIME, t)
                   ? QVariant(QTime(t.hour, t.minute, t.second))
                   : QVariant(type);
    }
    case QMetaType::QDateTime: {
        TIMESTAMP_STRUCT t{};
        if (!getFixed(m_statement, column, SQL_C_TIMESTAMP, t))
            return QVariant(type);
        return QDateTime(QDate(t.year, t.month, t.day),
                         QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
    }
    default:
        break;
    }
    bool null = false;
    QString text = readText(column, null);
    // The driver gives a NULL text as an invalid value, unlike its other NULLs.
    return null ? QVariant() : QVariant(std::move(text));
}

QString OdbcRows::readText(int column, bool &null)
{
    QString text;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN r =
            SQLGetData(m_statement, SQLUSMALLINT(column + 1), SQL_C_WCHAR, m_buffer.data(),
                       SQLLEN(m_buffer.size() * sizeof(char16_t)), &indicator);
        if (r == SQL_NO_DATA)
            return text;
        if (!SQL_SUCCEEDED(r))
            throwOdbcError(m_statement);
        if (indicator == SQL_NULL_DATA) {
            null = true;
            return {};
        }
        // A piece that filled the buffer leaves room for the terminating NUL; the rest follows.
        const qsizetype units =
            indicator == SQL_NO_TOTAL || indicator >= SQLLEN(kTextPiece * sizeof(char16_t))
                ? kTextPiece
                : qsizetype(indicator / SQLLEN(sizeof(char16_t)));
        if (r == SQL_SUCCESS && text.isNull())
            return QString(reinterpret_cast<const QChar *>(m_buffer.data()), units);
        text.append(reinterpret_cast<const QChar *>(m_buffer.data()), units);
        if (r == SQL_SUCCESS)
            return text;
    }
}
