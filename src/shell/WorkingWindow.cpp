#include "shell/WorkingWindow.h"

#include "shell/CenteredPanel.h"
#include "shell/FlexGrid.h"
#include "shell/Twips.h"
#include "shell/WindowHost.h"
#include "warehouse/Dialogs.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QVBoxLayout>

WorkingWindow::WorkingWindow(const QString &windowName, const QString &caption, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(windowName);
    setWindowTitle(caption);
}

WindowHost *WorkingWindow::host() const
{
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        if (auto *found = dynamic_cast<WindowHost *>(ancestor))
            return found;
    return nullptr;
}

void reportDbError(const DbError &error, const QString &title, const QString &before,
                   const QString &after)
{
    Dialogs::instance().message(before + error.description() + after, title,
                                Dialogs::Icon::Critical);
}

void WorkingWindow::inform(const QString &text) const
{
    Dialogs::instance().message(text, windowTitle(), Dialogs::Icon::Information);
}

bool WorkingWindow::ask(const QString &question) const
{
    return Dialogs::instance().question(question, windowTitle());
}

QWidget *WorkingWindow::openWindow(const QString &windowName) const
{
    WindowHost *owner = host();
    return owner ? owner->openWindow(windowName) : nullptr;
}

void WorkingWindow::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void WorkingWindow::offerGridFunctions(FlexGrid &grid, bool pasteEnabled)
{
    connect(&grid, &FlexGrid::rightButtonPressed, this,
            [this, &grid, pasteEnabled](const QPoint &globalPos) {
                popupGridFunctions(grid, globalPos, pasteEnabled);
            });
}

void WorkingWindow::popupGridFunctions(FlexGrid &grid, const QPoint &globalPos, bool pasteEnabled)
{
    if (WindowHost *owner = host())
        owner->popupGridFunctions(grid, globalPos, pasteEnabled);
}

bool WorkingWindow::fillGrid(FlexGrid &grid, const std::function<void(const RowSink &)> &load)
{
    return watchedFill(grid, [&] {
        return attempt([&] { load([&grid](QStringList &&row) { grid.appendRow(row); }); });
    });
}

bool WorkingWindow::watchedFill(FlexGrid &grid, const std::function<bool()> &fill)
{
    QStatusBar *bar = progressBar();
    const QString before = bar ? bar->currentMessage() : QString();
    bool shown = false;
    grid.watchFill([bar, &shown](int rows) {
        if (!bar)
            return;
        bar->showMessage(QString::number(rows) + QStringLiteral(" rows so far; Esc stops"));
        shown = true;
    });
    struct WatchEnd
    {
        FlexGrid &grid;
        ~WatchEnd()
        {
            grid.endFillWatch();
            grid.showAppendedRows();
        }
    } end{grid};
    bool filled = true;
    try {
        filled = fill();
    } catch (const FlexGrid::FillStopped &) {
        // The operator stopped the fill: the rows read so far stay, and nothing went wrong.
    }
    if (shown)
        bar->showMessage(before);
    return filled;
}

QStatusBar *WorkingWindow::progressBar() const
{
    if (m_statusBar)
        return m_statusBar;
    if (auto *main = qobject_cast<QMainWindow *>(window()))
        return main->statusBar();
    return nullptr;
}

void WorkingWindow::setStatusText(const QString &text)
{
    if (m_statusBar)
        m_statusBar->showMessage(text);
}

QStatusBar *WorkingWindow::createStatusBar()
{
    if (!m_statusBar) {
        m_statusBar = new QStatusBar(this);
        m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
        m_statusBar->setSizeGripEnabled(false);
    }
    return m_statusBar;
}

QWidget *WorkingWindow::createPanel(int widthTwips, int heightTwips, bool withStatusBar)
{
    auto *centre = new CenteredPanel(QSize(twips(widthTwips), twips(heightTwips)), this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(centre, 1);
    if (withStatusBar)
        outer->addWidget(createStatusBar());
    return centre->panel();
}
