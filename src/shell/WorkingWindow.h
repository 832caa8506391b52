#pragma once

#include "shell/ReportedOperation.h"
#include "warehouse/RowSink.h"

#include <QString>
#include <QWidget>

#include <functional>

class FlexGrid;
class QStatusBar;
class WindowHost;

// The base of every working window: a QWidget carrying the window's name and caption, and what
// every window needs of its host and of the warehouse.
//
//     class frmExample : public WorkingWindow
//     {
//     public:
//         frmExample() : WorkingWindow(QStringLiteral("frmExample"), QStringLiteral("Example"))
//         {
//             QWidget *panel = createPanel(9000, 6000, true);
//             grdRows = new FlexGrid(panel);
//             offerGridFunctions(*grdRows);
//             setupGrid(*grdRows, {QStringLiteral("ID"), QStringLiteral("Name")}, GridKind::List);
//             setStatusText(QStringLiteral("Searching..."));
//             fillGrid(*grdRows, [](const RowSink &sink) { example::loadRows(sink); });
//         }
//     };
//
// A database failure inside attempt() or fillGrid() is shown once, through the Dialogs service with
// the critical icon and the window's caption, and the window carries on.
class WorkingWindow : public QWidget
{
    Q_OBJECT
public:
    WorkingWindow(const QString &windowName, const QString &caption, QWidget *parent = nullptr);

    // The main window hosting this one; nullptr for a window opened on its own.
    WindowHost *host() const;

    // Runs one operation of the window; a DbError is reported (with the texts, when given, before
    // and after the error's description) and the result is empty (false for an operation that
    // returns nothing).
    template <typename Operation>
    auto attempt(Operation &&operation, const QString &before = {}, const QString &after = {}) const
    {
        return reportingFailure(windowTitle(), std::forward<Operation>(operation), before, after);
    }

    // Messages and questions titled with the window's caption.
    void inform(const QString &text) const;
    bool ask(const QString &question) const;

    // Opens another working window through the host; nullptr without a host.
    QWidget *openWindow(const QString &windowName) const;
    // Closes the window (with its frame inside the main window).
    void closeWindow();

    // The Grid Functions pop-up over one of the window's grids, on the grid's right button.
    void offerGridFunctions(FlexGrid &grid, bool pasteEnabled = false);
    void popupGridFunctions(FlexGrid &grid, const QPoint &globalPos, bool pasteEnabled = false);

    // Streams the rows a core loader hands over into the grid, after the rows it has, and tells
    // the view. A failure is reported and leaves the rows read so far; false then. A fill that
    // takes over half a second shows its rows so far in the status bar, and Esc stops it, leaving
    // the rows read so far and reporting nothing (true then).
    bool fillGrid(FlexGrid &grid, const std::function<void(const RowSink &)> &load);
    // The same for a fill that appends to the grid itself; `fill` returns whether it went through
    // (a stop by Esc counts as going through).
    bool watchedFill(FlexGrid &grid, const std::function<bool()> &fill);
    // The same for a long operation that is not a grid fill (writing a file): `run` calls the
    // function it is given once per record done, which now and then lets the window repaint, shows
    // the count so far in the status bar once the operation has run half a second, and returns
    // false when the operator has pressed Esc, for `run` to stop. Clicks and keys meanwhile are
    // delivered when `run` is over. A statement the stop ended (StoppedByOperator) ends `run`
    // here. False when the operator stopped it.
    bool watchedRun(const std::function<void(const std::function<bool()> &recordDone)> &run);

    // The first panel of the window's status bar; nothing when the window has no status bar.
    void setStatusText(const QString &text);
    QStatusBar *statusBar() const { return m_statusBar; }

protected:
    // The panel `picContainer` of the designed size (twips), centred in the window, and below it
    // the window's status bar when asked for.
    QWidget *createPanel(int widthTwips, int heightTwips, bool withStatusBar = false);
    // A status bar for a window that lays its controls out itself; the window places it.
    QStatusBar *createStatusBar();

private:
    // The window's status bar, else the main window's; nullptr when neither.
    QStatusBar *progressBar() const;

    QStatusBar *m_statusBar = nullptr;
};
