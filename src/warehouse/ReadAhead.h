#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
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

// Steps the rest of a large result on a thread of its own while the caller works on the rows
// already read, so the database reads the next rows while the window takes in the last ones, on
// two cores. The reader copies each row's values as SQLite gives them, a batch of rows in one
// block, and the caller makes its texts and values from them as from the statement itself. Rows
// come in their order; a failure comes where it happened, after the rows before it. While the
// caller waits for rows, the operator's watch (StatementWatch) gets its turns, and its stop ends
// the reading with StoppedByOperator. The reader steps each batch holding the connection's lock
// (ConnectionLock), so the caller may run other statements meanwhile.
//
//     ReadAhead ahead(stmt, step);   // the statement is the reader's from now on
//     while (ahead.next())
//         use(ahead.cell(0));
class ReadAhead
{
public:
    // `step` steps the statement on the reader thread: true for a row, false at the end, or
    // throws. Each step should be short: a stop waits for the one under way.
    ReadAhead(sqlite3_stmt *stmt, std::function<bool(sqlite3_stmt *)> step);
    // Stops the reader after the row it is reading, and waits for it.
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // Moves to the next row; false at the end. Rethrows the reader's failure.
    bool next();
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
    };

    void read();
    void hand(Batch &&batch, bool last);
    void stop();

    sqlite3_stmt *m_stmt;
    std::function<bool(sqlite3_stmt *)> m_step;
    int m_columns;
    std::mutex m_mutex;
    std::condition_variable m_rowsReady; // the reader handed rows over, or ended
    std::condition_variable m_roomFree;  // the caller took rows, or asked the reader to stop
    std::deque<Batch> m_batches;
    // Batches the caller is done with, for the reader to fill again: memory once touched, so the
    // reader neither allocates nor faults in fresh pages for each batch.
    std::vector<Batch> m_spent;
    bool m_ended = false; // the reader has handed over its last rows
    // The caller asked the reader to stop; set under the mutex, read between rows without it.
    std::atomic<bool> m_stopped = false;
    std::exception_ptr m_failure;
    Batch m_current;
    int m_row = -1;
    std::thread m_reader; // last: starts once everything above is made
};
