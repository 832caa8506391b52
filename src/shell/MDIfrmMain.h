#pragma once

#include "shell/WindowHost.h"
#include "shell/WindowRegistry.h"

#include <QMainWindow>
#include <QPointer>

class FlexGrid;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The parent window of the client: the menu bar, the working windows as children (one instance
// each, in the order they were loaded), the two hidden menus the children pop up ("Grid Functions"
// and "Catalog Edit") and the window arrangement. The windows it opens and the commands of its menu
// items are those the subsystems registered.
class MDIfrmMain : public QMainWindow, public WindowHost
{
    Q_OBJECT
public:
    enum class Arrangement { Cascade, TileHorizontal, TileVertical };

    explicit MDIfrmMain(WindowRegistry windows, QWidget *parent = nullptr);
    ~MDIfrmMain() override;

    // Opens a working window by its name ("frmCatSched"): busy pointer, created only if it is not
    // loaded yet, shown and made the active child. Returns nullptr for a window the client lacks.
    QWidget *openWindow(const QString &windowName) override;
    QWidget *findWindow(const QString &windowName) const override;
    QWidget *activeChild() const override;
    template <typename Window> Window *window() const
    {
        return qobject_cast<Window *>(
            findWindow(QString::fromLatin1(Window::staticMetaObject.className())));
    }
    // The loaded working windows, in the order they were loaded.
    QList<QWidget *> loadedWindows() const;
    QMdiArea *mdiArea() const { return m_mdiArea; }

    // A menu item or menu by its name ("mnuExit").
    QAction *menuItem(const QString &name) const override;
    QMenu *menu(const QString &name) const override;

    // Arranges the children: cascaded, tiled horizontally (one above the other) or vertically
    // (side by side).
    void arrange(Arrangement arrangement);
    // Closes every window in the order it was loaded, then the main window.
    void exitApplication();
    // File > Back Up Warehouse...: a copy of the embedded warehouse to a file the operator picks.
    void backUpWarehouse();

    // Pops the Grid Functions menu up over a grid of a child window: the grid takes the focus and
    // the items are enabled to suit it (the paste items only where a grid accepts pasting).
    void popupGridFunctions(FlexGrid &grid, const QPoint &globalPos, bool pasteEnabled) override;
    // "Search Grid For Value": asks for the text to look for in the grid's current column.
    void searchGridForValue(FlexGrid &grid);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct MenuEntry;
    void buildMenus();
    QMenu *addMenu(QWidget *parent, const QString &name, const QString &caption);
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption);
    // An item running the command a subsystem registered for it; disabled when there is none.
    QAction *addCommandItem(QMenu *menu, const QString &name, const QString &caption);
    void addSeparator(QMenu *menu, const QString &name);
    void addWindowItem(QMenu *menu, const QString &name, const QString &caption,
                       const QString &windowName);
    bool closeChildrenInLoadOrder();
    QWidget *focusedControlOfActiveChild() const;
    void runGridCommand(const QString &command);

    WindowRegistry m_windows;
    QMdiArea *m_mdiArea;
    QList<QPointer<QMdiSubWindow>> m_loadOrder;
    bool m_closingChildren = false;
};
