#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// A window's refresh after another client's change, run when the operator is not in the middle of
// something: no dialog open, no mouse button held, and nothing the window itself says is under
// way (a drag), and no long operation of any window under way. Until then it waits, and requests
// meanwhile make one refresh.
class DeferredRefresh : public QObject
{
public:
    DeferredRefresh(QObject *parent, std::function<bool()> busy, std::function<void()> refresh);

    void request();
    bool pending() const { return m_pending; }

    static constexpr int kRetryMs = 200;

private:
    void tryNow();

    std::function<bool()> m_busy;
    std::function<void()> m_refresh;
    QTimer m_retry;
    bool m_pending = false;
};
