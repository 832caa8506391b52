#pragma once

#include "warehouse/StatementWatch.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <ctime>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Watches over a long operation on the GUI thread (a grid fill, an export) that the operator may
// stop. Now and then the event loop gets to run, so the window repaints; Esc pressed meanwhile is
// the operator's stop, and other clicks and keys are held back and delivered when the watch ends,
// so nothing can change the window under the operation. Once the operation has run for half a
// second, `progress` hears the count so far each time the event loop runs. A statement that works
// long before its next row (SQLite sorting, a server's driver reading a whole result) gives way the
// same, and Esc meanwhile stops it with StoppedByOperator. A window closed meanwhile (its close
// box, the window manager, the session ending) stops the operation as Esc does and closes once the
// watch ends: closed under the operation, it would take the grid and the connection the operation
// is using with it.
//
//     OperatorWatch watch([bar](int rows) { bar->showMessage(...); });
//     while (query.next()) {
//         write(query);
//         if (watch.step())
//             return; // the operator pressed Esc
//     }
class OperatorWatch : public QObject
{
public:
    // How long an operation may keep the event loop waiting before the window gets to repaint.
    static constexpr qint64 kSliceMs = 30;

    explicit OperatorWatch(std::function<void(int count)> progress = {});
    ~OperatorWatch() override;
    OperatorWatch(const OperatorWatch &) = delete;
    OperatorWatch &operator=(const OperatorWatch &) = delete;

    // One more row or record done, for an operation that keeps its own time (the grid's).
    void counted() { ++m_count; }
    // Lets the event loop run now; true when the operator has pressed Esc.
    bool letEventLoopRun();
    // One more row or record done, letting the event loop run once a slice has passed; true when
    // the operator has pressed Esc.
    bool step()
    {
        ++m_count;
        return giveWay();
    }
    // Lets the event loop run once a slice has passed; true when the operator has pressed Esc.
    // Also asked by the warehouse during a long statement, between rows.
    bool giveWay() { return sliceOver() && letEventLoopRun(); }
    // Whether the event loop has waited a slice since it last ran.
    bool sliceOver() const { return coarseMs() >= m_sliceEnds; }
    // Whether the operator has pressed Esc.
    bool stopped() const { return m_stopped; }
    // The clock of the slices, asked after every row of a fill: the kernel's coarse clock is read
    // in a few nanoseconds, and its few milliseconds of grain are nothing to a slice.
    static qint64 coarseMs()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
        return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hold(QObject *receiver, QEvent *event);
    bool closeAfterwards(QObject *watched, QEvent *event);

    std::function<void(int)> m_progress;
    int m_count = 0;
    QElapsedTimer m_clock; // since the watch began
    qint64 m_sliceEnds = coarseMs() + kSliceMs; // when the event loop is to run again
    bool m_stopped = false;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_heldBack;
    std::vector<QPointer<QWidget>> m_closeAfterwards;
    // Last, so it ends first: a statement sorting its rows gives way too.
    StatementWatch m_statements{[this] {
        return giveWay();
    }};
};
