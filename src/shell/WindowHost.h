#pragma once

class FlexGrid;
class QAction;
class QMenu;
class QPoint;
class QString;
class QWidget;

// What a working window may ask of the window that hosts it. The main window is the one host of the
// client; a window opened on its own (in a test, say) has none, and the requests that need one do
// nothing.
class WindowHost
{
public:
    // Opens a working window by its name ("frmCatEdit"): created only if it is not loaded yet,
    // shown and made the active child. Nullptr for a window the client lacks.
    virtual QWidget *openWindow(const QString &windowName) = 0;
    virtual QWidget *findWindow(const QString &windowName) const = 0;
    // The working window in front (the active child), nullptr when none is open.
    virtual QWidget *activeChild() const = 0;
    // Pops the Grid Functions menu up over a grid: the grid takes the focus and the paste items are
    // enabled only where the grid accepts pasting.
    virtual void popupGridFunctions(FlexGrid &grid, const QPoint &globalPos, bool pasteEnabled) = 0;
    // A menu or menu item of the host by its name, for a window that pops one of the hidden menus
    // up.
    virtual QMenu *menu(const QString &name) const = 0;
    virtual QAction *menuItem(const QString &name) const = 0;

protected:
    ~WindowHost() = default;
};
