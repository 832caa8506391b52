#include "warehouse/ReadAhead.h"

#include "warehouse/ConnectionLock.h"

#include <sqlite3.h>

SqliteCell sqliteCell(sqlite3_stmt *stmt, int column)
{
    SqliteCell cell;
    cell.type = sqlite3_column_type(stmt, column);
    switch (cell.type) {
    case SQLITE_INTEGER:
        cell.integer = sqlite3_column_int64(stmt, column);
        break;
    case SQLITE_FLOAT:
        cell.real = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_TEXT:
        cell.bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        cell.size = sqlite3_column_bytes(stmt, column);
        break;
    case SQLITE_BLOB:
        cell.bytes = static_cast<const char *>(sqlite3_column_blob(stmt, column));
        cell.size = sqlite3_column_bytes(stmt, column);
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
