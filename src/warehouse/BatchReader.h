#pragma once

#include "warehouse/StatementWatch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Rows of a result read on the caller's thread before the rest is read ahead: most results end
// before, and never start a thread.
inline constexpr int kReadAheadAfter = 1000;
// Rows a fill adds to a batch: small enough that the first of them come at once, large enough that
// handing them over costs nothing next to reading them.
inline constexpr int kRowsPerBatch = 256;

// Reads the rest of a large result on a thread of its own, a batch of rows at a time, while the
// caller works on the batches already read: the database's driver reads the next rows while the
// window takes in the last ones, on two cores. Batches come in their order; a failure comes where
// it happened, after the batches before it. While the caller waits for a batch, the operator's
// watch (StatementWatch) gets its turns, and its stop ends the reading with StoppedByOperator.
// Batches the caller is done with go back to the reader to fill again: memory once touched, so the
// reader neither allocates nor faults in fresh pages for each batch.
//
// A Batch has `int rows` and `void clear()`, which empties it but keeps its memory.
//
//     BatchReader<Rows> reader([&](Rows &rows, const std::atomic<bool> &stopping) {
//         return readSomeRows(rows, stopping);   // up to kRowsPerBatch rows
//     });
//     while (reader.nextRow())
//         use(reader.batch(), reader.row());
template <typename Batch> class BatchReader
{
public:
    // How often a caller waiting for rows gives the operator's watch its turn.
    static constexpr std::chrono::milliseconds kWaitSlice{10};
    // Batches read ahead before the reader waits for the caller.
    static constexpr size_t kBatchesAhead = 16;

    // Runs on the reader thread: adds rows to an empty batch and tells whether more may follow, or
    // throws. Each call should be short, and end early once `stopping` is true: a stop waits for
    // the call under way.
    using Fill = std::function<bool(Batch &batch, const std::atomic<bool> &stopping)>;

    explicit BatchReader(Fill fill)
        : m_fill(std::move(fill))
        , m_reader([this] { read(); })
    {}
    // Stops the reader after the call under way, and waits for it.
    ~BatchReader() { stop(); }
    BatchReader(const BatchReader &) = delete;
    BatchReader &operator=(const BatchReader &) = delete;

    // Moves to the next row; false at the end. Rethrows the reader's failure.
    bool nextRow()
    {
        if (m_row + 1 < m_current.rows) {
            ++m_row;
            return true;
        }
        m_row = 0;
        return nextBatch();
    }
    // The current row's batch, and the row's place in it.
    const Batch &batch() const { return m_current; }
    int row() const { return m_row; }

private:
    // Moves to the next batch with rows; false at the end.
    bool nextBatch()
    {
        std::unique_lock lock(m_mutex);
        while (m_batches.empty() && !m_ended) {
            if (m_ready.wait_for(lock, kWaitSlice) == std::cv_status::timeout &&
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
        if (m_current.rows > 0 && m_spent.size() < kBatchesAhead)
            m_spent.push_back(std::move(m_current));
        m_current = Batch();
        if (m_batches.empty()) {
            if (m_failure)
                std::rethrow_exception(std::exchange(m_failure, nullptr));
            return false;
        }
        m_current = std::move(m_batches.front());
        m_batches.pop_front();
        lock.unlock();
        m_roomFree.notify_one();
        return true;
    }

    void read()
    {
        for (bool more = true; more;) {
            Batch batch;
            {
                std::lock_guard lock(m_mutex);
                if (!m_spent.empty()) {
                    batch = std::move(m_spent.back());
                    m_spent.pop_back();
                }
            }
            batch.clear();
            try {
                more = !m_stopped.load(std::memory_order_relaxed) && m_fill(batch, m_stopped);
            } catch (...) {
                std::lock_guard lock(m_mutex);
                m_failure = std::current_exception();
                more = false;
            }
            hand(std::move(batch), !more);
        }
    }

    void hand(Batch &&batch, bool last)
    {
        {
            std::unique_lock lock(m_mutex);
            m_roomFree.wait(lock, [this] { return m_stopped || m_batches.size() < kBatchesAhead; });
            if (batch.rows > 0)
                m_batches.push_back(std::move(batch));
            m_ended = last;
        }
        m_ready.notify_one();
    }

    void stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_roomFree.notify_all();
        if (m_reader.joinable())
            m_reader.join();
    }

    Fill m_fill;
    std::mutex m_mutex;
    std::condition_variable m_ready;    // the reader handed rows over, or ended
    std::condition_variable m_roomFree; // the caller took rows, or asked the reader to stop
    std::deque<Batch> m_batches;
    std::vector<Batch> m_spent;
    bool m_ended = false; // the reader has handed over its last rows
    // Set under the mutex, read between rows without it.
    std::atomic<bool> m_stopped = false;
    std::exception_ptr m_failure;
    Batch m_current;
    int m_row = 0;
    std::thread m_reader; // last: starts once everything above is made
};
