#include "warehouse/OdbcRows.h"

#include "warehouse/DbError.h"

#include <QDateTime>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <cstring>

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

// How the driver hands over a value of a column of this type that is not a text: the C type and
// its size. Zero for a text.
struct Fixed
{
    SQLSMALLINT cType = 0;
    SQLLEN size = 0;
};

Fixed fixedOf(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
        return {SQL_C_SLONG, sizeof(SQLINTEGER)};
    case QMetaType::UInt:
        return {SQL_C_ULONG, sizeof(SQLUINTEGER)};
    case QMetaType::LongLong:
        return {SQL_C_SBIGINT, sizeof(SQLBIGINT)};
    case QMetaType::ULongLong:
        return {SQL_C_UBIGINT, sizeof(SQLUBIGINT)};
    case QMetaType::Double:
        return {SQL_C_DOUBLE, sizeof(SQLDOUBLE)};
    case QMetaType::QDate:
        return {SQL_C_DATE, sizeof(DATE_STRUCT)};
    case QMetaType::QTime:
        return {SQL_C_TIME, sizeof(TIME_STRUCT)};
    case QMetaType::QDateTime:
        return {SQL_C_TIMESTAMP, sizeof(TIMESTAMP_STRUCT)};
    default:
        return {};
    }
}

template <typename T> T stored(const char *bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
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
    return [statement] {
        SQLCancel(statement);
    };
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
    return rows;
}

OdbcRows::OdbcRows(void *statement)
    : m_statement(statement)
    , m_buffer(kTextPiece + 1)
{}

OdbcRows::~OdbcRows() = default;

bool OdbcRows::next()
{
    m_onRow = false;
    if (m_done)
        return false;
    if (m_ahead || m_fetched >= kReadAheadAfter)
        return nextAhead();
    if (!fetch()) {
        m_done = true;
        return false;
    }
    ++m_fetched;
    m_current.clear();
    m_read = 0;
    m_onRow = true;
    return true;
}

bool OdbcRows::fetch()
{
    const SQLRETURN r = SQLFetch(m_statement);
    if (r == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(r))
        throwOdbcError(m_statement);
    return true;
}

bool OdbcRows::nextAhead()
{
    if (!m_ahead)
        m_ahead = std::make_unique<BatchReader<Batch>>(
            [this](Batch &batch, const std::atomic<bool> &stopping) {
                return fill(batch, stopping);
            });
    try {
        m_onRow = m_ahead->nextRow();
    } catch (...) {
        m_done = true;
        throw;
    }
    m_done = !m_onRow;
    return m_onRow;
}

// On the reader's thread, which has the statement to itself from its start.
bool OdbcRows::fill(Batch &batch, const std::atomic<bool> &stopping)
{
    batch.cells.reserve(size_t(kRowsPerBatch) * m_types.size());
    while (batch.rows < kRowsPerBatch) {
        if (stopping.load(std::memory_order_relaxed) || !fetch())
            return false;
        for (int c = 0; c < columns(); ++c)
            read(c, batch);
        ++batch.rows;
    }
    return true;
}

QVariant OdbcRows::value(int column)
{
    if (!m_onRow || column < 0 || column >= columns())
        return {};
    if (m_ahead)
        return valueOf(m_ahead->batch(), size_t(m_ahead->row()) * m_types.size() + size_t(column),
                       column);
    // The driver hands each value over once, in column order.
    while (m_read <= column)
        read(m_read++, m_current);
    return valueOf(m_current, size_t(column), column);
}

void OdbcRows::read(int column, Batch &batch)
{
    Stored cell{quint32(batch.bytes.size()), -1};
    const auto check = [this](SQLRETURN r) {
        if (!SQL_SUCCEEDED(r))
            throwOdbcError(m_statement);
    };
    if (const Fixed fixed = fixedOf(m_types[size_t(column)]); fixed.cType) {
        batch.bytes.resize(qsizetype(cell.offset) + fixed.size);
        SQLLEN indicator = 0;
        check(SQLGetData(m_statement, SQLUSMALLINT(column + 1), fixed.cType,
                         batch.bytes.data() + cell.offset, fixed.size, &indicator));
        if (indicator == SQL_NULL_DATA)
            batch.bytes.resize(cell.offset);
        else
            cell.size = qint32(fixed.size);
        batch.cells.push_back(cell);
        return;
    }
    // A text, in pieces; a piece that fills the buffer leaves room for the terminating NUL.
    for (cell.size = 0;;) {
        SQLLEN indicator = 0;
        const SQLRETURN r =
            SQLGetData(m_statement, SQLUSMALLINT(column + 1), SQL_C_WCHAR, m_buffer.data(),
                       SQLLEN(m_buffer.size() * sizeof(char16_t)), &indicator);
        if (r == SQL_NO_DATA)
            break;
        check(r);
        if (indicator == SQL_NULL_DATA) {
            cell.size = -1;
            break;
        }
        const qsizetype units =
            indicator == SQL_NO_TOTAL || indicator >= SQLLEN(kTextPiece * sizeof(char16_t))
                ? kTextPiece
                : qsizetype(indicator / SQLLEN(sizeof(char16_t)));
        const auto bytes = units * qsizetype(sizeof(char16_t));
        batch.bytes.append(reinterpret_cast<const char *>(m_buffer.data()), bytes);
        cell.size += qint32(bytes);
        if (r == SQL_SUCCESS)
            break;
    }
    batch.cells.push_back(cell);
}

QVariant OdbcRows::valueOf(const Batch &batch, size_t index, int column) const
{
    const Stored cell = batch.cells[index];
    const QMetaType type = m_types[size_t(column)];
    if (cell.size < 0) {
        // The driver gives a NULL text as an invalid value, unlike its other NULLs.
        return fixedOf(type).cType ? QVariant(type) : QVariant();
    }
    const char *bytes = batch.bytes.constData() + cell.offset;
    switch (type.id()) {
    case QMetaType::Int:
        return int(stored<SQLINTEGER>(bytes));
    case QMetaType::UInt:
        return uint(stored<SQLUINTEGER>(bytes));
    case QMetaType::LongLong:
        return qlonglong(stored<SQLBIGINT>(bytes));
    case QMetaType::ULongLong:
        return qulonglong(stored<SQLUBIGINT>(bytes));
    case QMetaType::Double:
        return double(stored<SQLDOUBLE>(bytes));
    case QMetaType::QDate: {
        const auto d = stored<DATE_STRUCT>(bytes);
        return QDate(d.year, d.month, d.day);
    }
    case QMetaType::QTime: {
        const auto t = stored<TIME_STRUCT>(bytes);
        return QTime(t.hour, t.minute, t.second);
    }
    case QMetaType::QDateTime: {
        const auto t = stored<TIMESTAMP_STRUCT>(bytes);
        return QDateTime(QDate(t.year, t.month, t.day),
                         QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
    }
    default:
        // An empty text is an empty text, never a null one.
        return cell.size == 0 ? QString(QLatin1StringView(""))
                              : QString(reinterpret_cast<const QChar *>(bytes),
                                        cell.size / qsizetype(sizeof(QChar)));
    }
}
