#include "warehouse/ReadAhead.h"

#include "warehouse/ConnectionLock.h"
#include "warehouse/StatementWatch.h"

#include <sqlite3.h>

#include <chrono>

namespace {

// Rows handed over at once: small enough that the first of them come at once, large enough that
// handing them over costs nothing next to reading them.
constexpr int kBatchRows = 256;
// Batches read ahead before the reader waits for the caller: a few thousand rows in memory.
constexpr size_t kBatchesAhead = 16;
// How often a caller waiting for rows gives the operator's watch its turn.
constexpr std::chrono::milliseconds kWaitSlice(10);

} // namespace

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
    , m_reader([this] { read(); })
{}

ReadAhead::~ReadAhead() { stop(); }

void ReadAhead::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_roomFree.notify_all();
    if (m_reader.joinable())
        m_reader.join();
}

void ReadAhead::read()
{
    Batch batch;
    const auto startBatch = [this, &batch] {
        {
            std::lock_guard lock(m_mutex);
            if (!m_spent.empty()) {
                batch = std::move(m_spent.back());
                m_spent.pop_back();
            }
        }
        batch.cells.clear();
        batch.bytes.resize(0); // clear() would let go of the memory
        batch.rows = 0;
        batch.cells.reserve(size_t(kBatchRows) * size_t(m_columns));
        batch.bytes.reserve(kBatchRows * 64);
    };
    startBatch();
    try {
        for (bool more = true; more;) {
            {
                // A batch at a time, so the window's thread runs a statement of its own between.
                const ConnectionLock lock(sqlite3_db_handle(m_stmt));
                while (batch.rows < kBatchRows) {
                    if (m_stopped.load(std::memory_order_relaxed) || !m_step(m_stmt)) {
                        more = false;
                        break;
                    }
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
            }
            if (more) {
                hand(std::move(batch), false);
                startBatch();
            }
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
    }
    hand(std::move(batch), true);
}

void ReadAhead::hand(Batch &&batch, bool last)
{
    {
        std::unique_lock lock(m_mutex);
        m_roomFree.wait(lock, [this] { return m_stopped || m_batches.size() < kBatchesAhead; });
        if (batch.rows > 0)
            m_batches.push_back(std::move(batch));
        m_ended = last;
    }
    m_rowsReady.notify_one();
}

bool ReadAhead::next()
{
    if (m_row + 1 < m_current.rows) {
        ++m_row;
        return true;
    }
    std::unique_lock lock(m_mutex);
    while (m_batches.empty() && !m_ended) {
        if (m_rowsReady.wait_for(lock, kWaitSlice) == std::cv_status::timeout &&
            m_batches.empty() && !m_ended) {
            // The operator's turn comes outside the lock: it may run the event loop.
            lock.unlock();
            if (StatementWatch::giveWayHere()) {
                stop();
                throw StoppedByOperator{};
            }
            lock.lock();
        }
    }
    if (m_batches.empty()) {
        m_current = Batch();
        m_row = -1;
        if (m_failure)
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        return false;
    }
    if (m_current.rows > 0 && m_spent.size() < kBatchesAhead)
        m_spent.push_back(std::move(m_current));
    m_current = std::move(m_batches.front());
    m_batches.pop_front();
    lock.unlock();
    m_roomFree.notify_one();
    m_row = 0;
    return true;
}

SqliteCell ReadAhead::cell(int column) const
{
    const Stored &stored = m_current.cells[size_t(m_row) * size_t(m_columns) + size_t(column)];
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
        cell.bytes = m_current.bytes.constData() + stored.offset;
        cell.size = int(stored.size);
        break;
    default:
        break;
    }
    return cell;
}
