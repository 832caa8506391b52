#include "shell/OperatorWatch.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

namespace {

// Progress only for an operation long enough for the operator to wonder.
constexpr qint64 kProgressAfterMs = 500;

} // namespace

OperatorWatch::OperatorWatch(std::function<void(int count)> progress)
    : m_progress(std::move(progress))
{
    m_clock.start();
}

OperatorWatch::~OperatorWatch()
{
    for (auto &[receiver, event] : m_heldBack)
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
    for (const QPointer<QWidget> &window : m_closeAfterwards)
        if (window)
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
}

bool OperatorWatch::letEventLoopRun()
{
    if (m_progress && m_clock.elapsed() >= kProgressAfterMs)
        m_progress(m_count);
    qApp->installEventFilter(this);
    QApplication::processEvents();
    qApp->removeEventFilter(this);
    m_sliceEnds = coarseMs() + kSliceMs;
    return m_stopped;
}

bool OperatorWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            m_stopped = true;
            return true;
        }
        hold(watched, event);
        return true;
    case QEvent::ShortcutOverride:
        return true; // the key press that follows is held back, and with it any shortcut
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        hold(watched, event);
        return true;
    case QEvent::Close:
        return closeAfterwards(watched, event);
    default:
        return false;
    }
}

bool OperatorWatch::closeAfterwards(QObject *watched, QEvent *event)
{
    // Only a window the operator works in: a tooltip or a menu closing by itself is no stop.
    auto *window = qobject_cast<QWidget *>(watched);
    if (!window || !window->isWindow() ||
        (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
        return false;
    m_stopped = true;
    if (std::find(m_closeAfterwards.begin(), m_closeAfterwards.end(), window) ==
        m_closeAfterwards.end())
        m_closeAfterwards.emplace_back(window);
    event->ignore();
    return true;
}

void OperatorWatch::hold(QObject *receiver, QEvent *event)
{
    m_heldBack.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
}
