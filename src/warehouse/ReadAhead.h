#pragma once

#include "warehouse/BatchReader.h"

#include <QByteArray>
#include <QtGlobal>

#include <functional>
#include <vector>

struct sqlite3_stmt;

// One value of a row as SQLite gave it (SQLITE_INTEGER, SQLITE_TEXT...); the bytes of a text or
// a blob stay valid as long as the row does.
struct SqliteCell
{
    int type = 0;
    qint64 integer = 0;
    double real = 0;
    const char *bytes = nullptr;
    int size = 0;
};

// A value of the statement's current row, its bytes as long as the statement stays on the row.
SqliteCell sqliteCell(sqlite3_stmt *stmt, int column);

// Steps the rest of a large result on a thread of its own (BatchReader) while the caller works on
// the rows already read. The reader copies each row's values as SQLite gives them, a batch of rows
// in one block, and the caller makes its texts and values from them as from the statement itself.
// The reader steps each batch holding the connection's lock (ConnectionLock), so the caller may run
// other statements meanwhile.
//
//     ReadAhead ahead(stmt, step);   // the statement is the reader's from now on
//     while (ahead.next())           // may throw StoppedByOperator, or the reader's failure
//         use(ahead.cell(0));
class ReadAhead
{
public:
    // `step` steps the statement on the reader thread: true for a row, false at the end, or
    // throws. Each step should be short: a stop waits for the one under way.
    ReadAhead(sqlite3_stmt *stmt, std::function<bool(sqlite3_stmt *)> step);

    // Moves to the next row; false at the end.
    bool next() { return m_reader.nextRow(); }
    int columns() const { return m_columns; }
    // A value of the current row; `column` within columns().
    SqliteCell cell(int column) const;

private:
    // Half the size of a SqliteCell: every byte of it crosses from the reader's core to the
    // caller's.
    struct Stored
    {
        int type;
        quint32 size; // a text's or blob's
        union {
            qint64 integer;
            double real;
            quint32 offset; // a text's or blob's, into the batch's bytes
        };
    };
    struct Batch
    {
        std::vector<Stored> cells; // rows x columns
        QByteArray bytes;          // the texts and blobs of its rows, one after the other
        int rows = 0;
        void clear()
        {
            cells.clear();
            bytes.resize(0); // QByteArray::clear() would let go of the memory
            rows = 0;
        }
    };

    bool fill(Batch &batch, const std::atomic<bool> &stopping);

    sqlite3_stmt *m_stmt;
    std::function<bool(sqlite3_stmt *)> m_step;
    int m_columns;
    BatchReader<Batch> m_reader; // last: starts reading once everything above is made
};
