#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;

// The rows of a SELECT that Qt's ODBC driver has executed, read from the driver's own statement
// handle. The driver's next() and value() spend several ODBC calls and copies on every value,
// which made large reads on the server take twice psqlODBC's own time; here each value is one
// SQLGetData into a reused buffer. Values come out as the driver makes them: the same types by
// column, the same nulls.
//
//     query.exec();
//     if (auto rows = OdbcRows::over(query))
//         while (rows->next()) names << rows->value(0).toString();
class OdbcRows
{
public:
    // Null when the query has no ODBC statement to read, or reads numbers other than as doubles.
    static std::unique_ptr<OdbcRows> over(const QSqlQuery &query);
    // What asks the server to give up the query's statement while another thread executes it;
    // empty when the query has no ODBC statement. Call it from any thread before the query ends.
    static std::function<void()> canceller(const QSqlQuery &query);

    // Throws DbError when the driver fails to fetch.
    bool next();
    int columns() const { return int(m_types.size()); }
    // Invalid off a row or outside the columns.
    QVariant value(int column);

private:
    explicit OdbcRows(void *statement);
    QVariant read(int column);
    QString readText(int column, bool &null);

    void *m_statement;
    std::vector<QMetaType> m_types;
    std::vector<QVariant> m_row;
    int m_read = 0; // columns of the current row read so far, in order
    bool m_onRow = false;
    bool m_done = false;
    std::vector<char16_t> m_buffer;
};
