#include "shell/DeferredRefresh.h"

#include "warehouse/StatementWatch.h"

#include <QApplication>

DeferredRefresh::DeferredRefresh(QObject *parent, std::function<bool()> busy,
                                 std::function<void()> refresh)
    : QObject(parent)
    , m_busy(std::move(busy))
    , m_refresh(std::move(refresh))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &DeferredRefresh::tryNow);
}

void DeferredRefresh::request()
{
    m_pending = true;
    tryNow();
}

void DeferredRefresh::tryNow()
{
    if (!m_pending)
        return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        QApplication::mouseButtons() != Qt::NoButton || StatementWatch::active() ||
        (m_busy && m_busy())) {
        m_retry.start(kRetryMs);
        return;
    }
    m_pending = false;
    m_retry.stop();
    m_refresh();
}
