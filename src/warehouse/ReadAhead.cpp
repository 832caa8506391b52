#include "warehouse/ReadAhead.h"

#include "warehouse/ConnectionLock.h"

#include <sqlite3.h>

SqliteCell sqliteCell(sqlite3_stmt *stmt, int column)
{
    // One call into the statement for the column, then the value's own accessors, which skip the
    // statement's checks on each call. The value is "unprotected": SQLite's connection mutex does
    // not guard it, but the connection is opened without that mutex anyway, and every caller holds
    // the connection's lock (ConnectionLock) while it reads the value.
    sqlite3_value *value = sqlite3_column_value(stmt, column);
    SqliteCell cell;
    cell.type = sqlite3_value_type(value);
    switch (cell.type) {
    case SQLITE_INTEGER:
        cell.integer = sqlite3_value_int64(value);
        break;
    case SQLITE_FLOAT:
        cell.real = sqlite3_value_double(value);
        break;
    case SQLITE_TEXT:
        cell.bytes = reinterpret_cast<const char *>(sqlite3_value_text(value));
        cell.size = sqlite3_value_bytes(value);
        break;
    case SQLITE_BLOB:
        cell.bytes = static_cast<const char *>(sqlite3_value_blob(value));
        cell.size = sqlite3_value_bytes(value);
        break;
    default:
        break;
    }
    return cell;
}

ReadAhead::ReadAhead(sqlite3_stmt *stmt, std::function<bool(sqlite3_stmt *)> step)
    : m_stmt(stmt)
    , m_step(std::move(step))
    , m_columns(sqlite3_column_count(stmt))
    , m_reader(
          [this](Batch &batch, const std::atomic<bool> &stopping) { return fill(batch, stopping); })
{}

bool ReadAhead::fill(Batch &batch, const std::atomic<bool> &stopping)
{
    batch.cells.reserve(size_t(kRowsPerBatch) * size_t(m_columns));
    batch.bytes.reserve(kRowsPerBatch * 64);
    // A batch at a time, so the window's thread runs a statement of its own between.
    const ConnectionLock lock(sqlite3_db_handle(m_stmt));
    while (batch.rows < kRowsPerBatch) {
        if (stopping.load(std::memory_order_relaxed) || !m_step(m_stmt))
            return false;
        for (int c = 0; c < m_columns; ++c) {
            const SqliteCell cell = sqliteCell(m_stmt, c);
            Stored stored{cell.type, 0, {cell.integer}};
            if (cell.type == SQLITE_FLOAT) {
                stored.real = cell.real;
            } else if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB) {
                stored.offset = quint32(batch.bytes.size());
                stored.size = quint32(cell.size);
                batch.bytes.append(cell.bytes, cell.size);
            }
            batch.cells.push_back(stored);
        }
        ++batch.rows;
    }
    return true;
}

SqliteCell ReadAhead::cell(int column) const
{
    const Batch &batch = m_reader.batch();
    const Stored &stored = batch.cells[size_t(m_reader.row()) * size_t(m_columns) + size_t(column)];
    SqliteCell cell;
    cell.type = stored.type;
    switch (stored.type) {
    case SQLITE_INTEGER:
        cell.integer = stored.integer;
        break;
    case SQLITE_FLOAT:
        cell.real = stored.real;
        break;
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        cell.bytes = batch.bytes.constData() + stored.offset;
        cell.size = int(stored.size);
        break;
    default:
        break;
    }
    return cell;
}
