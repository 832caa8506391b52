#pragma once

#include <atomic>
#include <functional>
#include <thread>

struct sqlite3;

// The operator stopped a long operation (a fill, an export) with Esc. Not a failure: what was done
// so far stays, and nothing is reported.
struct StoppedByOperator
{
};

// Lets the statements on the embedded warehouse give way while they work a long time before the
// next row comes (reading and sorting a large result before the first, say). While a watch is
// alive, SQLite calls `giveWay` every thousand steps of its work on this thread's connection; when
// it returns true the statement stops and Query throws StoppedByOperator. `giveWay` runs inside the
// statement, so it must not use the warehouse. The newest watch is the one asked. On the server a
// SELECT's execute gives way the same, from beside it, and a stop asks the server to cancel it.
//
//     StatementWatch watch([&] { return clock.elapsed() > 40 && letWindowRepaint(); });
//     Query query(bigSortedRead);   // may throw StoppedByOperator from exec() or next()
class StatementWatch
{
public:
    explicit StatementWatch(std::function<bool()> giveWay);
    ~StatementWatch();
    StatementWatch(const StatementWatch &) = delete;
    StatementWatch &operator=(const StatementWatch &) = delete;

    // Whether the newest watch has stopped its operation: Query then starts no further read, and
    // takes an interrupt SQLite reports for the stop.
    static bool stopped();
    // Whether a watch is alive on this thread: a long operation is under way, and the event loop
    // runs only in its turns.
    static bool active();
    // Gives the newest watch of this thread its turn now, for a caller waiting on rows read
    // elsewhere; true when it stops (and has stopped) the operation. False without a watch.
    static bool giveWayHere();
    // Runs `work`, a statement a driver carries out in one call (the server's execute), on a
    // thread of its own while this thread's watch gets its turns (asked every 10 ms); without a
    // watch, runs it here.
    // A stop meanwhile calls `cancel` (which asks the server to give the statement up), waits for
    // `work` to end, then throws StoppedByOperator.
    static bool runGivingWay(const std::function<bool()> &work,
                             const std::function<void()> &cancel = {});
    // The same for work that must go to its end whatever the operator does meanwhile (letting go
    // of a server's large result): never stops, never throws; a stop meanwhile ends the operation
    // after it.
    static void runToEndGivingWay(const std::function<void()> &work) noexcept;

private:
    // Runs `work`, which must not throw, on a thread of its own while this thread's watch gets its
    // turns; whether a turn stopped the operation, in which case `onStop` is called at once. A
    // turn's failure is rethrown once `work` has ended.
    static bool besideTurns(const std::function<void()> &work,
                            const std::function<void()> &onStop = {});
    static int progress(void *watch);
    void watchConnection();

    bool giveWay();

    std::function<bool()> m_giveWay;
    StatementWatch *m_older;
    sqlite3 *m_db;
    std::thread::id m_thread; // the watch's own: SQLite may step its statements on another
    std::atomic<bool> m_stopped = false;
};
