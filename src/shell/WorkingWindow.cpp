#include "shell/WorkingWindow.h"

#include "shell/CenteredPanel.h"
#include "shell/FlexGrid.h"
#include "shell/OperatorWatch.h"
#include "shell/Twips.h"
#include "shell/WindowHost.h"
#include "warehouse/Dialogs.h"

#include <QEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// A box's limit counts UTF-16 units, so a cut can split a character beyond the Basic Multilingual
// Plane (an emoji) and leave half of it, which the warehouse stores as U+FFFD. This accepts every
// text after removing such halves, so what is stored is what the box shows.
class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        for (qsizetype i = 0; i < input.size();) {
            const QChar c = input.at(i);
            const bool whole = c.isHighSurrogate()
                                   ? i + 1 < input.size() && input.at(i + 1).isLowSurrogate()
                                   : !c.isLowSurrogate();
            if (whole) {
                i += c.isHighSurrogate() ? 2 : 1;
                continue;
            }
            input.remove(i, 1);
            if (pos > i)
                --pos;
        }
        return Acceptable;
    }
};

// When the window is shown, every text box it has by then (an editable combo box's too) keeps
// whole characters.
class WholeCharactersOnShow : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            for (QLineEdit *box : watched->findChildren<QLineEdit *>())
                if (!box->validator())
                    box->setValidator(new WholeCharacters(box));
        return false;
    }
};

// Shows a watched operation's count so far in a status bar, and gives the bar back its earlier text
// when the operation is over.
class ProgressMessage
{
public:
    explicit ProgressMessage(QStatusBar *bar)
        : m_bar(bar)
        , m_before(bar ? bar->currentMessage() : QString())
    {}
    ~ProgressMessage()
    {
        if (m_shown)
            m_bar->showMessage(m_before);
    }
    ProgressMessage(const ProgressMessage &) = delete;
    ProgressMessage &operator=(const ProgressMessage &) = delete;

    std::function<void(int)> reporter()
    {
        return [this](int count) {
            if (!m_bar)
                return;
            m_bar->showMessage(QString::number(count) + QStringLiteral(" rows so far; Esc stops"));
            m_shown = true;
        };
    }

private:
    QStatusBar *m_bar;
    QString m_before;
    bool m_shown = false;
};

} // namespace

WorkingWindow::WorkingWindow(const QString &windowName, const QString &caption, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(windowName);
    setWindowTitle(caption);
    installEventFilter(new WholeCharactersOnShow(this));
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
    ProgressMessage message(progressBar());
    grid.watchFill(message.reporter());
    struct WatchEnd
    {
        FlexGrid &grid;
        ~WatchEnd()
        {
            grid.endFillWatch();
            grid.showAppendedRows();
        }
    } end{grid};
    try {
        return fill();
    } catch (const FlexGrid::FillStopped &) {
        // The operator stopped the fill: the rows read so far stay, and nothing went wrong.
        return true;
    }
}

bool WorkingWindow::watchedRun(const std::function<void(const std::function<bool()> &)> &run)
{
    ProgressMessage message(progressBar());
    OperatorWatch watch(message.reporter());
    try {
        run([&watch] { return !watch.step(); });
    } catch (const StoppedByOperator &) {
        // The operator's stop, heard inside a statement: what `run` did so far stays.
    }
    return !watch.stopped();
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
