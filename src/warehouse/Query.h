#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>

#include "warehouse/OpenResult.h"

#include <memory>

class OdbcRows;
class PgStatement;
class ReadAhead;
struct SqliteCell;
struct sqlite3;
struct sqlite3_stmt;

// One statement on gcnWarehouse: text with positional "?" parameters, bound in order, read forward.
// Every failure throws DbError, so no caller can forget to check.
//
//     Query q(QStringLiteral("SELECT PageNum FROM tblCatalogMap WHERE ClubID=?"));
//     q.bind(club).exec();
//     while (q.next()) pages << q.text(0);
//
// A result holds its connection until its rows are read to the end or it is closed: SQL Server
// runs no other statement of the connection meanwhile (OpenResult). A statement whose first row is
// all the caller needs reads it with execFirst(), which closes the result at once:
//
//     Query q(QStringLiteral("SELECT Price FROM tblInventory WHERE ProductID=?"));
//     if (q.bind(product).execFirst()) price = q.number(0);
//
// A SELECT on the embedded warehouse is stepped through SQLite's own interface on the connection's
// handle, beside Qt's driver: the driver converts every text to UTF-16 inside SQLite and caches a
// QVariant per value, which costs large fills half again the database's own time. On a PostgreSQL
// server reached through libpq, every statement runs on libpq itself (PgStatement), its values
// sent as parameters and its rows read as the server sends them. Through ODBC, the driver executes
// a SELECT and its rows are read from the driver's ODBC statement (OdbcRows). Values, texts and
// errors come out as the ODBC driver gives them; every other statement goes through the driver.
class Query
{
public:
    explicit Query(QString sql);
    ~Query();
    Query(Query &&) noexcept;
    // Not assigned: rows read ahead would go on stepping a statement the assignment lets go.
    Query &operator=(Query &&) = delete;

    // A text holding a NUL character is refused with this DbError, before anything runs.
    static constexpr const char *kNulNumber = "22021";
    static constexpr const char *kNulDescription =
        "The text contains a NUL character, which the warehouse cannot store.";

    // Binds the next parameter. An invalid or null QVariant binds NULL; an empty text binds an
    // empty text, never NULL (use bindTextOrNull for that).
    Query &bind(const QVariant &value);
    // Dates and date-and-time values in the form the warehouse stores them; invalid binds NULL.
    Query &bindDate(const QDate &date);
    Query &bindDateTime(const QDateTime &dateTime);
    // Text that binds NULL when empty.
    Query &bindTextOrNull(const QString &text);

    Query &exec();
    // The next row; false at the end, where the result is closed.
    bool next();
    // Runs the statement, steps onto its first row and closes the result at once: the row's
    // values stay readable. False when there is none.
    bool execFirst();
    // Runs the statement and tells whether it gives a row, closing the result at once.
    bool exists() { return execFirst(); }

    QVariant value(int column) const;
    // By name: looks the column up on every call, so a loop over many rows takes indexOf once.
    QVariant value(const QString &column) const;
    // The position of a result column, -1 when there is none; valid after exec().
    int indexOf(const QString &column) const;
    bool isNull(int column) const;
    bool isNull(const QString &column) const { return value(column).isNull(); }
    // The value as text, NULL as empty text.
    QString text(int column) const;
    QString text(const QString &column) const;
    // Whether text(column) equals `text`, without making the text where the row's value is one
    // already (for a loop that starts a new group where a column changes).
    bool textIs(int column, QStringView text) const;
    // A date or date-and-time column as a date; invalid for NULL or anything not a date.
    QDate date(int column) const;
    QDate date(const QString &column) const;
    double number(int column) const;
    double number(const QString &column) const;

    int numRowsAffected() const;
    const QString &sql() const { return m_sql; }
    // Whether this statement's rows are read beside the driver (for tests): on the embedded
    // warehouse from its preparing, on the server once executed; always through libpq.
    bool steppedDirectly() const { return m_stmt || m_rows || m_pg; }

    // Runs every statement through the driver while alive (tests compare both ways). Through
    // libpq there is no other way.
    class DriverOnly
    {
    public:
        DriverOnly();
        ~DriverOnly();
        DriverOnly(const DriverOnly &) = delete;
        DriverOnly &operator=(const DriverOnly &) = delete;
    };

    // A typed NULL, accepted by every driver where an untyped one is not.
    static QVariant nullText();

private:
    struct Finalizer
    {
        void operator()(sqlite3_stmt *stmt) const;
    };
    void execDirect();
    bool nextRow();
    const QStringList &directColumns() const;
    // Ends the result at once, keeping the current row's values readable.
    void closeResult();
    bool stepDirect();
    bool nextReadAhead();
    // The current row's value on the embedded warehouse; false off a row or the columns.
    bool directCell(int column, SqliteCell &cell) const;

    QString m_sql;
    sqlite3 *m_db; // the embedded connection the statement runs on; null on a server
    QSqlQuery m_query;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
    std::unique_ptr<OdbcRows> m_rows;  // the server's rows of the last exec, when read directly
    std::unique_ptr<PgStatement> m_pg; // the statement, on a PostgreSQL server through libpq
    // A large result's rest, stepped on a thread of its own (ends before the statement).
    std::unique_ptr<ReadAhead> m_ahead;
    int m_rowsRead = 0;
    QVariantList m_values;  // the direct or libpq statement's parameters
    int m_bindIndex = 0;    // as the driver: binding after exec starts again at the first
    bool m_active = false;  // executed, rows may follow
    bool m_pending = false; // exec stepped onto the first row, which next() hands over
    bool m_onRow = false;
    mutable QStringList m_columns;
    OpenResult m_result;
    // The row the result was closed on, and the driver's record of it (names by position).
    bool m_held = false;
    QVariantList m_heldRow;
    QSqlRecord m_heldRecord;
};

// Conversions of stored values, shared with code that reads QSqlQuery results itself.
namespace sqlvalue {
QString text(const QVariant &value);
QDate date(const QVariant &value);
QVariant fromDate(const QDate &date);
QVariant fromDateTime(const QDateTime &dateTime);
} // namespace sqlvalue
