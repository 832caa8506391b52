#pragma once

#include "warehouse/BatchReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <QVariantList>

#include <atomic>
#include <memory>
#include <vector>

class QSqlDatabase;
struct pg_conn;
struct pg_result;

// One statement on a PostgreSQL server, run through libpq on the connection Qt's PostgreSQL
// driver holds. Values are always sent as parameters (text, typed as the ODBC driver types them),
// never written into the statement, and rows are read as the server sends them (single-row mode):
// the first ones reach the window while the server still works on the rest. After the first
// hundred rows, the rest are taken from the connection on a thread of their own (BatchReader).
// Values come out as the server's ODBC driver gives them: the same types by column, the same
// nulls, booleans as "1"/"0".
//
//     PgStatement statement(connection, QStringLiteral("SELECT Name FROM tblX WHERE ID = ?"));
//     statement.exec({id}, true);
//     while (statement.next()) names << statement.text(0);
class PgStatement
{
public:
    // The libpq connection under Qt's PostgreSQL driver; null for any other driver.
    static pg_conn *connectionOf(const QSqlDatabase &db);
    // "?" placeholders (outside quotes and comments) numbered as the server wants them: $1, $2...
    static QByteArray numberedParameters(const QString &sql, int *count = nullptr);

    PgStatement(pg_conn *connection, const QString &sql);
    ~PgStatement();
    PgStatement(const PgStatement &) = delete;
    PgStatement &operator=(const PgStatement &) = delete;

    // Sends the statement with `values` bound and waits for its first row or its end. With
    // `givingWay`, the operator's watch gets its turns meanwhile and a stop cancels the statement
    // on the server. Throws DbError, or StoppedByOperator.
    void exec(const QVariantList &values, bool givingWay);
    // The next row; false at the end. Throws DbError when the server fails on a later row.
    bool next();
    // Ends the result at once: rows still to come are cancelled outside a transaction and read
    // to the end inside one (a cancel would abort it). The columns stay known.
    void close();
    // Whether the statement gave rows (possibly none): a result with columns.
    bool hasColumns() const { return !m_names.isEmpty(); }
    int columns() const { return int(m_names.size()); }
    const QStringList &columnNames() const { return m_names; }
    int rowsAffected() const { return m_rowsAffected; }

    // Invalid off a row or outside the columns.
    QVariant value(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    bool textIs(int column, QStringView text) const;

private:
    struct ResultFree
    {
        void operator()(pg_result *result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultFree>;
    // Rows read ahead, their values copied on the reader's thread into one block, each followed
    // by a NUL, so the window's thread reads them in order from memory of its own instead of from
    // one result a row made on the other thread.
    struct Batch
    {
        struct Place
        {
            int offset;
            int size; // -1 for NULL
        };
        std::vector<char> bytes;
        std::vector<Place> cells; // a row's columns one after another
        int rows = 0;
        void clear()
        {
            bytes.clear();
            cells.clear();
            rows = 0;
        }
    };
    // A value of the current row as the server wrote it.
    struct Cell
    {
        const char *text = nullptr;
        int size = 0;
        bool null = true;
    };

    // The next result of the statement; null at its end.
    Result nextResult();
    // Takes a result that ends the statement (reading the connection to its end) or fails it
    // (throwing); false, leaving it, when it is a row.
    bool ended(Result &result);
    void readToEnd();
    bool nextAhead();
    bool fill(Batch &batch, const std::atomic<bool> &stopping);
    // A server's rows cost more to take from the connection than an embedded file's to step, and
    // the reader's thread copies them into one block besides: it starts sooner.
    static constexpr int kServerReadAheadAfter = 100;
    bool onRow() const { return !m_first && (m_ahead || (m_current && m_row >= 0)); }
    // A NULL cell off a row or outside the columns.
    Cell cell(int column) const;
    bool isText(int column) const;

    pg_conn *m_connection;
    QByteArray m_sql;
    int m_parameters = 0;
    QStringList m_names;
    std::vector<unsigned int> m_types; // the columns' type OIDs
    Result m_current;                  // the row handed over (or a whole result of rows)
    int m_row = -1;
    bool m_first = false;                  // exec read the first row, which next() hands over
    std::atomic<bool> m_streaming = false; // results of the statement still to come
    bool m_cancelable = false; // sent outside a transaction, so a cancel costs nothing else
    int m_fetched = 0;
    int m_rowsAffected = -1;
    std::unique_ptr<BatchReader<Batch>> m_ahead; // last: ends before the rest
};
