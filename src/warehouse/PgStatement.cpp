#include "warehouse/PgStatement.h"

#include "warehouse/DbError.h"
#include "warehouse/Query.h"
#include "warehouse/StatementWatch.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>

#include <libpq-fe.h>

#include <charconv>
#include <cstring>

namespace {

// The type OIDs of the server's catalog that the warehouse's columns and expressions give.
enum : Oid {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kMoney = 790,
    kDate = 1082,
    kTime = 1083,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

// The type a column's values take, as the ODBC driver hands them to Qt.
QMetaType metaTypeOf(Oid type)
{
    switch (type) {
    case kInt2:
    case kInt4:
        return QMetaType::fromType<int>();
    case kOid:
        return QMetaType::fromType<uint>();
    case kInt8:
        return QMetaType::fromType<qlonglong>();
    case kFloat4:
    case kFloat8:
    case kNumeric:
    case kMoney:
        return QMetaType::fromType<double>();
    case kDate:
        return QMetaType::fromType<QDate>();
    case kTime:
        return QMetaType::fromType<QTime>();
    case kTimestamp:
    case kTimestampTz:
        return QMetaType::fromType<QDateTime>();
    case kBytea:
        return QMetaType::fromType<QByteArray>();
    default:
        return QMetaType::fromType<QString>();
    }
}

// The server's own words: its severity and message, and the detail it adds (the key a duplicate
// names); where it was in the statement is left out, as the ODBC driver leaves it.
[[noreturn]] void throwResultError(const PGresult *result, PGconn *connection)
{
    const auto field = [result](int code) {
        const char *text = result ? PQresultErrorField(result, code) : nullptr;
        return QString::fromUtf8(text ? text : "").trimmed();
    };
    QString message = field(PG_DIAG_MESSAGE_PRIMARY);
    if (message.isEmpty()) {
        // The connection's failure: no result, or one libpq made for it.
        message = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    } else {
        message = field(PG_DIAG_SEVERITY) + QStringLiteral(":  ") + message;
        if (const QString detail = field(PG_DIAG_MESSAGE_DETAIL); !detail.isEmpty())
            message += QStringLiteral("\nDETAIL:  ") + detail;
    }
    throw DbError(field(PG_DIAG_SQLSTATE), message);
}

// Digits from `from` on, -1 when one is not a digit.
int digits(const char *text, int from, int count)
{
    int n = 0;
    for (int i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

// ISO dates and times, as the server writes them (the driver sets DateStyle ISO).
QDate dateOf(const char *text, int size)
{
    if (size < 10 || text[4] != '-' || text[7] != '-')
        return {};
    return QDate(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
}

QTime timeOf(const char *text, int size)
{
    if (size < 8 || text[2] != ':' || text[5] != ':')
        return {};
    int ms = 0;
    if (size > 9 && text[8] == '.')
        for (int i = 9, scale = 100; i < size && i < 12 && text[i] >= '0' && text[i] <= '9';
             ++i, scale /= 10)
            ms += (text[i] - '0') * scale;
    return QTime(digits(text, 0, 2), digits(text, 3, 2), digits(text, 6, 2), ms);
}

template <typename T> T numberOf(const char *text, int size)
{
    T value{};
    std::from_chars(text, text + size, value);
    return value;
}

double moneyOf(const char *text, int size)
{
    QByteArray plain;
    for (int i = 0; i < size; ++i)
        if ((text[i] >= '0' && text[i] <= '9') || text[i] == '.' || text[i] == '-')
            plain += text[i];
    return numberOf<double>(plain.constData(), int(plain.size()));
}

// A bound value as text, and the type the server is told, as the ODBC driver types them: texts
// go untyped, so the server takes them as the type of what they are compared with (citext keys).
struct Parameter
{
    QByteArray text;
    Oid type = 0;
    bool null = false;
};

Parameter parameterOf(const QVariant &value)
{
    Parameter p;
    p.null = value.isNull();
    switch (value.typeId()) {
    case QMetaType::Bool:
        p.type = kInt4;
        p.text = value.toBool() ? "1" : "0";
        break;
    case QMetaType::Int:
    case QMetaType::Short:
        p.type = kInt4;
        p.text = QByteArray::number(value.toInt());
        break;
    case QMetaType::UInt:
    case QMetaType::LongLong:
        p.type = kInt8;
        p.text = QByteArray::number(value.toLongLong());
        break;
    case QMetaType::ULongLong:
        p.type = kNumeric;
        p.text = QByteArray::number(value.toULongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float: {
        p.type = kFloat8;
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble()).ptr;
        p.text = QByteArray(buffer, end - buffer);
        break;
    }
    case QMetaType::QDate:
        p.type = kDate;
        p.text = value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
        break;
    case QMetaType::QDateTime:
        p.type = kTimestamp;
        p.text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
        break;
    case QMetaType::QTime:
        p.type = kTime;
        p.text = value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1();
        break;
    case QMetaType::QByteArray:
        p.type = kBytea;
        p.text = "\\x" + value.toByteArray().toHex();
        break;
    default:
        p.text = value.toString().toUtf8();
        break;
    }
    return p;
}

} // namespace

void PgStatement::ResultFree::operator()(pg_result *result) const { PQclear(result); }

pg_conn *PgStatement::connectionOf(const QSqlDatabase &db)
{
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Qt's PostgreSQL driver names the type by its struct.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.data());
}

QByteArray PgStatement::numberedParameters(const QString &sql, int *count)
{
    const QByteArray text = sql.toUtf8();
    QByteArray numbered;
    numbered.reserve(text.size() + 16);
    int n = 0;
    char quote = 0; // inside '...' or "..."
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (quote) {
            if (c == quote)
                quote = 0; // a doubled quote closes and opens again
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '-' && text.mid(i, 2) == "--") {
            const qsizetype end = text.indexOf('\n', i);
            const qsizetype stop = end < 0 ? text.size() : end;
            numbered += text.mid(i, stop - i);
            i = stop - 1;
            continue;
        } else if (c == '/' && text.mid(i, 2) == "/*") {
            const qsizetype end = text.indexOf("*/", i + 2);
            const qsizetype stop = end < 0 ? text.size() : end + 2;
            numbered += text.mid(i, stop - i);
            i = stop - 1;
            continue;
        } else if (c == '?') {
            numbered += '$' + QByteArray::number(++n);
            continue;
        }
        numbered += c;
    }
    if (count)
        *count = n;
    return numbered;
}

PgStatement::PgStatement(pg_conn *connection, const QString &sql)
    : m_connection(connection)
{
    m_sql = numberedParameters(sql, &m_parameters);
}

PgStatement::~PgStatement() { close(); }

void PgStatement::exec(const QVariantList &values, bool givingWay)
{
    close();
    m_names.clear();
    m_types.clear();
    m_rowsAffected = -1;
    m_fetched = 0;
    // An operation the operator stopped starts no more statements.
    if (StatementWatch::stopped())
        throw StoppedByOperator{};
    // A value too many is left unused, as the ODBC driver leaves it; one too few the server
    // refuses.
    const int count = int(qMin<qsizetype>(values.size(), m_parameters));
    std::vector<Parameter> parameters;
    std::vector<const char *> texts;
    std::vector<Oid> types;
    parameters.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        parameters.push_back(parameterOf(values.at(i)));
        texts.push_back(parameters.back().null ? nullptr : parameters.back().text.constData());
        types.push_back(parameters.back().type);
    }
    m_cancelable = PQtransactionStatus(m_connection) == PQTRANS_IDLE;
    if (!PQsendQueryParams(m_connection, m_sql.constData(), count, types.data(), texts.data(),
                           nullptr, nullptr, 0))
        throwResultError(nullptr, m_connection);
    m_streaming = true;
    PQsetSingleRowMode(m_connection);
    Result first;
    if (givingWay) {
        PGcancel *cancel = PQgetCancel(m_connection);
        try {
            StatementWatch::runGivingWay(
                [&] {
                    first = nextResult();
                    return true;
                },
                [cancel] {
                    char reason[256];
                    PQcancel(cancel, reason, sizeof reason);
                });
        } catch (...) {
            PQfreeCancel(cancel);
            first.reset();
            readToEnd();
            throw;
        }
        PQfreeCancel(cancel);
    } else {
        first = nextResult();
    }
    if (!first)
        return;
    const int columns = PQnfields(first.get());
    for (int c = 0; c < columns; ++c) {
        m_names << QString::fromUtf8(PQfname(first.get(), c));
        m_types.push_back(PQftype(first.get(), c));
    }
    if (PQresultStatus(first.get()) == PGRES_SINGLE_TUPLE) {
        m_current = std::move(first);
        m_row = -1;
        m_first = true;
        return;
    }
    if (PQresultStatus(first.get()) == PGRES_TUPLES_OK && PQntuples(first.get()) > 0) {
        // A whole result at once (a statement that is not a SELECT and returns rows).
        m_current = std::move(first);
        m_row = -1;
        readToEnd();
        return;
    }
    ended(first);
}

PgStatement::Result PgStatement::nextResult()
{
    Result result(PQgetResult(m_connection));
    if (!result)
        m_streaming = false;
    return result;
}

bool PgStatement::ended(Result &result)
{
    if (!result)
        return true;
    switch (PQresultStatus(result.get())) {
    case PGRES_SINGLE_TUPLE:
        return false;
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
    case PGRES_EMPTY_QUERY: {
        const char *affected = PQcmdTuples(result.get());
        if (affected && *affected)
            m_rowsAffected = atoi(affected);
        result.reset();
        readToEnd();
        return true;
    }
    default: {
        // The connection is free again before the failure is told.
        const Result failure = std::move(result);
        readToEnd();
        throwResultError(failure.get(), m_connection);
    }
    }
}

void PgStatement::readToEnd()
{
    while (m_streaming)
        nextResult();
}

bool PgStatement::next()
{
    if (m_first) {
        m_first = false;
        m_row = 0;
        return true;
    }
    if (m_current && m_row + 1 < PQntuples(m_current.get())) {
        ++m_row;
        return true;
    }
    if (!m_streaming && !m_ahead) {
        m_current.reset();
        return false;
    }
    if (m_ahead || m_fetched >= kServerReadAheadAfter) {
        m_current.reset();
        return nextAhead();
    }
    Result result = nextResult();
    if (result && PQresultStatus(result.get()) == PGRES_SINGLE_TUPLE) {
        m_current = std::move(result);
        m_row = 0;
        ++m_fetched;
        return true;
    }
    m_current.reset();
    ended(result);
    return false;
}

bool PgStatement::nextAhead()
{
    if (!m_ahead)
        m_ahead = std::make_unique<BatchReader<Batch>>(
            [this](Batch &batch, const std::atomic<bool> &stopping) {
                return fill(batch, stopping);
            });
    if (m_ahead->nextRow())
        return true;
    m_ahead.reset();
    return false;
}

// On the reader's thread, which has the connection to itself until it ends.
bool PgStatement::fill(Batch &batch, const std::atomic<bool> &stopping)
{
    while (batch.rows < kRowsPerBatch) {
        if (stopping.load(std::memory_order_relaxed) || !m_streaming)
            return false;
        Result result = nextResult();
        if (ended(result))
            return false;
        for (int c = 0, columns = int(m_types.size()); c < columns; ++c) {
            if (PQgetisnull(result.get(), 0, c)) {
                batch.cells.push_back({0, -1});
                continue;
            }
            const int size = PQgetlength(result.get(), 0, c);
            const char *text = PQgetvalue(result.get(), 0, c);
            batch.cells.push_back({int(batch.bytes.size()), size});
            batch.bytes.insert(batch.bytes.end(), text, text + size + 1); // with its NUL
        }
        ++batch.rows;
    }
    return true;
}

void PgStatement::close()
{
    m_ahead.reset();
    m_current.reset();
    m_first = false;
    m_row = -1;
    if (!m_streaming)
        return;
    // Rows already at hand are taken as they are; a statement still sending many is cancelled,
    // unless a transaction would be aborted with it.
    PQconsumeInput(m_connection);
    while (m_streaming && !PQisBusy(m_connection))
        nextResult();
    if (m_streaming && m_cancelable) {
        if (PGcancel *cancel = PQgetCancel(m_connection)) {
            char reason[256];
            PQcancel(cancel, reason, sizeof reason);
            PQfreeCancel(cancel);
        }
    }
    readToEnd();
}

PgStatement::Cell PgStatement::cell(int column) const
{
    if (column < 0 || column >= columns() || !onRow())
        return {};
    if (m_ahead) {
        const Batch &batch = m_ahead->batch();
        const Batch::Place place = batch.cells[size_t(m_ahead->row() * columns() + column)];
        if (place.size < 0)
            return {};
        return {batch.bytes.data() + place.offset, place.size, false};
    }
    if (PQgetisnull(m_current.get(), m_row, column))
        return {};
    return {PQgetvalue(m_current.get(), m_row, column),
            PQgetlength(m_current.get(), m_row, column), false};
}

// Texts are handed over as the server wrote them; booleans and the other types as values.
bool PgStatement::isText(int column) const
{
    const Oid type = m_types[size_t(column)];
    return type != kBool && metaTypeOf(type).id() == QMetaType::QString;
}

QVariant PgStatement::value(int column) const
{
    if (column < 0 || column >= columns() || !onRow())
        return {};
    const Oid type = m_types[size_t(column)];
    const QMetaType meta = metaTypeOf(type);
    const Cell value = cell(column);
    if (value.null) {
        // The ODBC driver gives a NULL text as an invalid value, unlike its other NULLs.
        return meta.id() == QMetaType::QString ? QVariant() : QVariant(meta);
    }
    const char *text = value.text;
    const int size = value.size;
    switch (type) {
    case kBool:
        // As the ODBC driver hands booleans over: characters.
        return QString(QLatin1Char(text[0] == 't' ? '1' : '0'));
    case kInt2:
    case kInt4:
        return numberOf<int>(text, size);
    case kOid:
        return numberOf<uint>(text, size);
    case kInt8:
        return numberOf<qlonglong>(text, size);
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return numberOf<double>(text, size);
    case kMoney:
        return moneyOf(text, size);
    case kDate:
        return dateOf(text, size);
    case kTime:
        return timeOf(text, size);
    case kTimestamp:
    case kTimestampTz:
        return size >= 19 ? QDateTime(dateOf(text, size), timeOf(text + 11, size - 11))
                          : QDateTime();
    case kBytea: {
        size_t length = 0;
        unsigned char *bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
        const QByteArray value(reinterpret_cast<const char *>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return value;
    }
    default:
        // An empty text is an empty text, never a null one.
        return size == 0 ? QString(QLatin1StringView("")) : QString::fromUtf8(text, size);
    }
}

bool PgStatement::isNull(int column) const { return cell(column).null; }

QString PgStatement::text(int column) const
{
    const Cell value = cell(column);
    if (value.null)
        return {};
    if (!isText(column))
        return sqlvalue::text(this->value(column));
    return QString::fromUtf8(value.text, value.size);
}

bool PgStatement::textIs(int column, QStringView text) const
{
    const Cell value = cell(column);
    if (!value.null && isText(column))
        return QAnyStringView::equal(QUtf8StringView(value.text, value.size), text);
    return this->text(column) == text;
}
