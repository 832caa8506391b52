#include "warehouse/Query.h"

#include "warehouse/ConnectionLock.h"
#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"
#include "warehouse/LostConnection.h"
#include "warehouse/OdbcRows.h"
#include "warehouse/PgStatement.h"
#include "warehouse/ReadAhead.h"
#include "warehouse/StatementWatch.h"
#include "warehouse/Warehouse.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

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
    default: {
        // yyyy-mm-dd, as the embedded warehouse keeps its dates: read digit by digit, where
        // QDate's own parser costs a microsecond a date.
        const QString text = value.toString();
        const auto number = [&text](int from, int count) {
            int n = 0;
            for (int i = from; i < from + count; ++i) {
                const char16_t c = text.at(i).unicode();
                if (c < u'0' || c > u'9')
                    return -1;
                n = n * 10 + (c - u'0');
            }
            return n;
        };
        if (text.size() >= 10 && text.at(4) == u'-' && text.at(7) == u'-') {
            const int year = number(0, 4);
            const int month = number(5, 2);
            const int day = number(8, 2);
            if (year >= 0 && month >= 0 && day >= 0)
                return QDate(year, month, day);
        }
        return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    }
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

namespace {

thread_local int driverOnlyDepth = 0;

bool isSelect(const QString &sql)
{
    qsizetype i = 0;
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    return QStringView(sql).mid(i, 6).compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0;
}

bool isWith(const QString &sql)
{
    return QStringView(sql).trimmed().left(4).compare(QLatin1String("WITH"), Qt::CaseInsensitive) ==
           0;
}

sqlite3 *embeddedHandle()
{
    return warehouse::dialect() == Dialect::SQLite ? warehouse::sqliteHandle() : nullptr;
}

// A statement the operator's watch stopped went wrong only because it was stopped.
[[noreturn]] void throwDriverFailure(const QSqlError &error)
{
    if (StatementWatch::stopped())
        throw StoppedByOperator{};
    throw DbError(error);
}

// The error as the driver reports it: SQLite's code as the number, its message as the text.
[[noreturn]] void throwSqliteError(sqlite3 *db, int code)
{
    throw DbError(QString::number(code), QString::fromUtf8(sqlite3_errmsg(db)).trimmed());
}

// Steps onto the next row: false at the end, with the statement reset for another run. A failure
// throws DbError in the driver's words, or StoppedByOperator when the operator's watch stopped it.
bool stepStatement(sqlite3_stmt *stmt)
{
    const int res = sqlite3_step(stmt);
    if (res == SQLITE_ROW)
        return true;
    if (res == SQLITE_DONE) {
        sqlite3_reset(stmt);
        return false;
    }
    // SQLite's generic codes tell the real one on reset, which the driver reports.
    int code = res;
    if (res == SQLITE_ERROR || res == SQLITE_CONSTRAINT)
        code = sqlite3_reset(stmt);
    if (code == SQLITE_INTERRUPT && StatementWatch::stopped()) {
        sqlite3_reset(stmt);
        throw StoppedByOperator{};
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(stmt))).trimmed();
    sqlite3_reset(stmt);
    throw DbError(QString::number(code), message);
}

// The value as the driver makes it.
QVariant valueOf(const SqliteCell &cell)
{
    switch (cell.type) {
    case SQLITE_BLOB:
        return QByteArray(cell.bytes, cell.size);
    case SQLITE_INTEGER:
        return qlonglong(cell.integer);
    case SQLITE_FLOAT:
        return cell.real;
    case SQLITE_NULL:
        return Query::nullText();
    default:
        return QString::fromUtf8(cell.bytes, cell.size);
    }
}

// Straight from SQLite's UTF-8, with no value in between; numbers as the driver's values print
// them.
QString textOf(const SqliteCell &cell)
{
    switch (cell.type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QString::number(cell.integer);
    case SQLITE_FLOAT:
        return QVariant(cell.real).toString();
    case SQLITE_BLOB:
        return sqlvalue::text(valueOf(cell));
    default:
        return QString::fromUtf8(cell.bytes, cell.size);
    }
}

// Rows of a server's result read between the operator watch's turns: its clock decides whether a
// turn is due, so this only keeps the asking cheap.
constexpr int kRowsBetweenTurns = 64;

// The rest of a result read ahead needs SQLite to guard the connection against two threads.
bool canReadAhead() { return sqlite3_threadsafe() == 1; }

} // namespace

void Query::Finalizer::operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }

Query::DriverOnly::DriverOnly() { ++driverOnlyDepth; }
Query::DriverOnly::~DriverOnly() { --driverOnlyDepth; }

Query::Query(QString sql)
    : m_sql(std::move(sql))
    , m_db(embeddedHandle())
    , m_query(gcnWarehouse())
{
    m_query.setForwardOnly(true);
    if (pg_conn *connection = m_db ? nullptr : PgStatement::connectionOf(gcnWarehouse())) {
        m_pg = std::make_unique<PgStatement>(connection, m_sql);
        return;
    }
    const ConnectionLock lock(m_db);
    if (isSelect(m_sql)) {
        if (sqlite3 *db = driverOnlyDepth == 0 ? m_db : nullptr) {
            const QByteArray utf8 = m_sql.toUtf8();
            sqlite3_stmt *stmt = nullptr;
            const char *tail = nullptr;
            const int res =
                sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()) + 1, &stmt, &tail);
            m_stmt.reset(stmt);
            if (res == SQLITE_INTERRUPT && StatementWatch::stopped())
                throw StoppedByOperator{};
            // Anything unusual (an error, a second statement) goes to the driver, which reports
            // it in its own words.
            if (res != SQLITE_OK || !stmt || (tail && !QByteArray(tail).trimmed().isEmpty()))
                m_stmt.reset();
            else
                return;
        }
    }
    if (!m_query.prepare(m_sql))
        throwDriverFailure(m_query.lastError());
}

Query::~Query()
{
    // The reader first: it may be waiting for the lock the statement's end takes.
    m_ahead.reset();
    const ConnectionLock lock(m_db);
    m_stmt.reset();
    const auto letGo = [this] {
        m_pg.reset();
        m_rows.reset();
        m_query = QSqlQuery();
    };
    // The server's driver frees a large result row by row, for tens of milliseconds: the window
    // repaints meanwhile, as while it was read (from the size at which its rows are read ahead).
    if ((m_rows || m_pg) && m_rowsRead >= kReadAheadAfter)
        StatementWatch::runToEndGivingWay(letGo);
    else
        letGo();
}

Query::Query(Query &&) noexcept = default;

QVariant Query::nullText() { return QVariant(QMetaType::fromType<QString>()); }

Query &Query::bind(const QVariant &value)
{
    // The server's ODBC driver cuts a text at a NUL and stores the rest without a word; refused
    // here, on both warehouses, so what is stored is always what was typed.
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(u'\0')))
        throw DbError(QString::fromLatin1(kNulNumber), QString::fromLatin1(kNulDescription));
    QVariant bound = value;
    if (!value.isValid() || value.isNull())
        bound = nullText();
    else if (value.typeId() == QMetaType::QString && value.toString().isNull())
        // An empty text is a text: drivers would store a null QString as NULL.
        bound = QString(QLatin1String(""));
    if (m_stmt || m_pg) {
        if (m_bindIndex < m_values.size())
            m_values[m_bindIndex] = std::move(bound);
        else
            m_values.append(std::move(bound));
        ++m_bindIndex;
    } else {
        m_query.addBindValue(bound);
    }
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
    // Running again ends this statement's own result.
    m_held = false;
    m_result.close();
    OpenResult::statementStarting(m_query.driver(), m_sql);
    faults::beforeStatement(m_sql);
    warehouse::lostconnection::statementStarting(m_sql);
    // The reader of the last run first: it may be waiting for the lock.
    m_ahead.reset();
    const ConnectionLock lock(m_db);
    if (m_stmt) {
        execDirect();
        if (m_active)
            m_result.open(m_query.driver(), m_sql);
        return *this;
    }
    if (m_pg) {
        m_rowsRead = 0;
        m_bindIndex = 0;
        // A read may take long before its first row: the window keeps its turns, and Esc
        // cancels it on the server.
        m_pg->exec(m_values, isSelect(m_sql) || isWith(m_sql));
        if (m_pg->hasColumns())
            m_result.open(m_query.driver(), m_sql);
        return *this;
    }
    m_rows.reset();
    m_rowsRead = 0;
    const bool select = driverOnlyDepth == 0 && isSelect(m_sql);
    // A server's driver reads a whole result in its execute: a large one takes seconds, during
    // which the window gets its turns when the operator's watch is on, and Esc cancels it.
    const bool executed =
        select && warehouse::dialect() != Dialect::SQLite
            ? StatementWatch::runGivingWay([this] { return m_query.exec(); },
                                           OdbcRows::canceller(m_query))
            : m_query.exec();
    if (!executed)
        throwDriverFailure(m_query.lastError());
    if (select)
        m_rows = OdbcRows::over(m_query);
    if (m_query.isSelect())
        m_result.open(m_query.driver(), m_sql);
    return *this;
}

bool Query::execFirst()
{
    exec();
    const bool row = next();
    m_heldRow.clear();
    if (row) {
        if (!m_stmt && !m_pg)
            m_heldRecord = m_query.record();
        const int count = m_stmt   ? int(directColumns().size())
                          : m_pg   ? m_pg->columns()
                          : m_rows ? m_rows->columns()
                                   : m_heldRecord.count();
        for (int i = 0; i < count; ++i)
            m_heldRow.append(m_stmt || m_rows || m_pg ? value(i) : m_heldRecord.value(i));
    }
    closeResult();
    m_held = row;
    return row;
}

void Query::closeResult()
{
    // The reader first: it may be waiting for the lock.
    m_ahead.reset();
    const ConnectionLock lock(m_db);
    if (m_stmt)
        sqlite3_reset(m_stmt.get());
    m_active = m_pending = m_onRow = false;
    m_rows.reset();
    if (m_pg)
        m_pg->close();
    m_query.finish();
    m_result.close();
}

// Binds as the driver binds and steps onto the first row, as the driver does in exec, so a failing
// statement fails in exec on both paths.
void Query::execDirect()
{
    sqlite3_stmt *stmt = m_stmt.get();
    sqlite3 *db = sqlite3_db_handle(stmt);
    m_ahead.reset();
    m_rowsRead = 0;
    m_active = m_pending = m_onRow = false;
    m_bindIndex = 0;
    // An operation the operator stopped starts no more reads (on the server, see runGivingWay).
    if (StatementWatch::stopped())
        throw StoppedByOperator{};
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (sqlite3_bind_parameter_count(stmt) != m_values.size())
        throw DbError(QString(), QStringLiteral("Parameter count mismatch"));
    for (int i = 0; i < m_values.size(); ++i) {
        const QVariant &value = m_values.at(i);
        const auto text16 = [&](const QString &text) {
            return sqlite3_bind_text16(stmt, i + 1, text.utf16(), int(text.size() * sizeof(QChar)),
                                       SQLITE_TRANSIENT);
        };
        int res = SQLITE_OK;
        if (value.isNull()) {
            res = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (value.typeId()) {
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                res = sqlite3_bind_blob(stmt, i + 1, bytes.constData(), int(bytes.size()),
                                        SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::Int:
            case QMetaType::Bool:
                res = sqlite3_bind_int(stmt, i + 1, value.toInt());
                break;
            case QMetaType::Double:
                res = sqlite3_bind_double(stmt, i + 1, value.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
                res = sqlite3_bind_int64(stmt, i + 1, value.toLongLong());
                break;
            case QMetaType::QDateTime:
                res = text16(value.toDateTime().toString(Qt::ISODateWithMs));
                break;
            case QMetaType::QTime:
                res = text16(value.toTime().toString(QStringLiteral("hh:mm:ss.zzz")));
                break;
            case QMetaType::QString:
                res = text16(value.toString());
                break;
            default:
                res = text16(value.toString());
                break;
            }
        }
        if (res != SQLITE_OK)
            throwSqliteError(db, res);
    }
    m_pending = stepDirect();
    m_active = m_pending;
}

bool Query::stepDirect()
{
    m_active = false;
    const ConnectionLock lock(m_db);
    m_active = stepStatement(m_stmt.get());
    return m_active;
}

bool Query::next()
{
    m_held = false;
    try {
        if (nextRow())
            return true;
    } catch (...) {
        m_result.close();
        throw;
    }
    // Read to the end: the connection is free for the next statement.
    m_result.close();
    return false;
}

bool Query::nextRow()
{
    if (m_stmt) {
        m_onRow = false;
        if (m_pending) {
            m_pending = false;
        } else if (!m_active) {
            return false;
        } else if (m_ahead || (m_rowsRead >= kReadAheadAfter && canReadAhead())) {
            if (!nextReadAhead())
                return false;
        } else if (!stepDirect()) {
            return false;
        }
        ++m_rowsRead;
        m_onRow = true;
        warehouse::lostconnection::rowRead();
        return true;
    }
    if (m_rows || m_pg) {
        if (!(m_pg ? m_pg->next() : m_rows->next()))
            return false;
        // Reading a large result goes on for a while after its execute: the operator's watch
        // keeps its turns, as the embedded warehouse's progress handler gives them.
        if ((++m_rowsRead % kRowsBetweenTurns) == 0 && StatementWatch::giveWayHere())
            throw StoppedByOperator{};
        warehouse::lostconnection::rowRead();
        return true;
    }
    const ConnectionLock lock(m_db);
    if (m_query.next()) {
        warehouse::lostconnection::rowRead();
        return true;
    }
    if (m_query.lastError().isValid())
        throwDriverFailure(m_query.lastError());
    return false;
}

// A large result: the rest of its rows are stepped on a thread of their own while the caller
// takes in the last ones.
bool Query::nextReadAhead()
{
    if (!m_ahead)
        m_ahead = std::make_unique<ReadAhead>(m_stmt.get(), stepStatement);
    bool row = false;
    try {
        row = m_ahead->next();
    } catch (...) {
        m_ahead.reset();
        m_active = false;
        throw;
    }
    if (!row) {
        m_ahead.reset();
        m_active = false;
    }
    return row;
}

QVariant Query::value(int column) const
{
    if (m_held)
        return m_heldRow.value(column);
    if (m_pg)
        return m_pg->value(column);
    if (m_rows)
        return m_rows->value(column);
    if (!m_stmt)
        return m_query.value(column);
    SqliteCell cell;
    return directCell(column, cell) ? valueOf(cell) : QVariant();
}

bool Query::directCell(int column, SqliteCell &cell) const
{
    if (!m_stmt || !m_onRow || column < 0)
        return false;
    if (m_ahead) {
        if (column >= m_ahead->columns())
            return false;
        cell = m_ahead->cell(column);
        return true;
    }
    const ConnectionLock lock(m_db);
    if (column >= sqlite3_column_count(m_stmt.get()))
        return false;
    cell = sqliteCell(m_stmt.get(), column);
    return true;
}

QVariant Query::value(const QString &column) const
{
    if (!m_stmt && !m_rows && !m_pg && !m_held)
        return m_query.value(column);
    return value(indexOf(column));
}

const QStringList &Query::directColumns() const
{
    sqlite3_stmt *stmt = m_stmt.get();
    if (m_columns.isEmpty()) {
        const ConnectionLock lock(m_db);
        const int count = sqlite3_column_count(stmt);
        for (int i = 0; i < count; ++i)
            m_columns << QString::fromUtf8(sqlite3_column_name(stmt, i)).remove(QLatin1Char('"'));
    }
    return m_columns;
}

int Query::indexOf(const QString &column) const
{
    if (!m_stmt && !m_pg)
        return (m_held ? m_heldRecord : m_query.record()).indexOf(column);
    const QStringList &columns = m_pg ? m_pg->columnNames() : directColumns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    const qsizetype dot = column.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QStringView field = QStringView(column).mid(dot + 1);
        for (int i = 0; i < columns.size(); ++i)
            if (QStringView(columns.at(i)).compare(field, Qt::CaseInsensitive) == 0)
                return i;
    }
    return -1;
}

bool Query::isNull(int column) const
{
    if (m_pg && !m_held)
        return m_pg->isNull(column);
    SqliteCell cell;
    return directCell(column, cell) ? cell.type == SQLITE_NULL : value(column).isNull();
}

QString Query::text(int column) const
{
    if (m_pg && !m_held)
        return m_pg->text(column);
    SqliteCell cell;
    return directCell(column, cell) ? textOf(cell) : sqlvalue::text(value(column));
}

bool Query::textIs(int column, QStringView text) const
{
    if (m_pg && !m_held)
        return m_pg->textIs(column, text);
    SqliteCell cell;
    if (directCell(column, cell) && cell.type == SQLITE_TEXT)
        return QAnyStringView::equal(QUtf8StringView(cell.bytes, cell.size), text);
    return this->text(column) == text;
}

QString Query::text(const QString &column) const
{
    return m_stmt || m_pg ? text(indexOf(column)) : sqlvalue::text(value(column));
}
QDate Query::date(int column) const { return sqlvalue::date(value(column)); }
QDate Query::date(const QString &column) const { return sqlvalue::date(value(column)); }
double Query::number(int column) const { return value(column).toDouble(); }
double Query::number(const QString &column) const { return value(column).toDouble(); }

int Query::numRowsAffected() const
{
    const ConnectionLock lock(m_db);
    if (m_pg)
        return m_pg->rowsAffected();
    return m_stmt ? sqlite3_changes(sqlite3_db_handle(m_stmt.get())) : m_query.numRowsAffected();
}
