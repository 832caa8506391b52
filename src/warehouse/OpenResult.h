#pragma once

#include <QString>

// A statement's result that may still hold unread rows on its connection. SQL Server's drivers
// refuse any other statement of the connection meanwhile ("Connection is busy with results for
// another command") unless the data source turns MARS on; SQLite and PostgreSQL allow it, so they
// would never show the fault. So a statement reads its rows to the end or closes its result
// (Query::execFirst) before another one starts.
//
// Test programs switch the guard on as they start: it then counts each connection's open results
// and fails a statement started while one is open. Off, as in the product, it costs the test of
// one flag.
class OpenResult
{
public:
    OpenResult() = default;
    OpenResult(OpenResult &&other) noexcept;
    OpenResult &operator=(OpenResult &&) = delete;
    ~OpenResult() { close(); }

    // The statement `sql` of the connection (its driver) has a result that may hold rows.
    void open(const void *connection, const QString &sql);
    void close();

    // Before a statement of the connection starts: throws DbError when another result of it is
    // open, and counts the fault.
    static void statementStarting(const void *connection, const QString &sql);

    static void guard(bool on);
    static bool guarding();
    // The statements refused since the last call (a test that refuses one on purpose takes it).
    static int takeRefusals();

    static constexpr const char *kBusyNumber = "HY000";

private:
    const void *m_connection = nullptr;
    QString m_sql;
};
