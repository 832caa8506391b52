#pragma once

#include "warehouse/BatchReader.h"

#include <QByteArray>
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
// SQLGetData, kept as the driver's bytes until it is asked for. Values come out as the driver makes
// them: the same types by column, the same nulls. After the first thousand rows, the rest are
// fetched and converted on a thread of their own (BatchReader) while the caller takes in the last
// ones; a stop while waiting for them throws StoppedByOperator.
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
    ~OdbcRows();

    // Throws DbError when the driver fails to fetch.
    bool next();
    int columns() const { return int(m_types.size()); }
    // Invalid off a row or outside the columns.
    QVariant value(int column);

private:
    // A value as the driver handed it over: its bytes in the batch's, a size of -1 for NULL.
    struct Stored
    {
        quint32 offset;
        qint32 size;
    };
    struct Batch
    {
        std::vector<Stored> cells; // rows x columns
        QByteArray bytes;          // the values of its rows, one after the other
        int rows = 0;
        void clear()
        {
            cells.clear();
            bytes.resize(0); // QByteArray::clear() would let go of the memory
            rows = 0;
        }
    };

    explicit OdbcRows(void *statement);
    bool fetch();
    bool nextAhead();
    bool fill(Batch &batch, const std::atomic<bool> &stopping);
    // Adds the current row's value of `column` to the batch: on the reader's thread, or on the
    // caller's for the first rows.
    void read(int column, Batch &batch);
    QVariant valueOf(const Batch &batch, size_t index, int column) const;

    void *m_statement;
    std::vector<QMetaType> m_types;
    bool m_onRow = false;
    bool m_done = false;
    int m_fetched = 0; // rows fetched on the caller's thread
    Batch m_current;   // their current row's values read so far,
    int m_read = 0;    // in column order
    std::vector<char16_t> m_buffer;
    std::unique_ptr<BatchReader<Batch>> m_ahead; // the rows read ahead; last: ends before the rest
};
