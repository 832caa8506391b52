#pragma once

#include <QString>

#include <functional>
#include <map>

class QWidget;
class WindowHost;

// The working windows and menu commands the main window offers, each registered by the subsystem
// that owns it (catalog::registerWindows, ...), so the shell needs to know no subsystem. A menu
// item whose window or command is not registered stays disabled.
//
//     void mailing::registerWindows(WindowRegistry &registry)
//     {
//         registry.addWindow<frmCatSched>(QStringLiteral("frmCatSched"));
//     }
class WindowRegistry
{
public:
    using Factory = std::function<QWidget *()>;
    using Command = std::function<void(WindowHost &)>;

    void addWindow(const QString &windowName, Factory factory);
    template <typename Window> void addWindow(const QString &windowName)
    {
        addWindow(windowName, [] { return static_cast<QWidget *>(new Window); });
    }
    // A command of one of the host's menu items, by the item's name ("mnuCtgEditAddPage").
    void addCommand(const QString &menuItemName, Command command);

    // Nullptr when nothing is registered under the name.
    const Factory *window(const QString &windowName) const;
    const Command *command(const QString &menuItemName) const;

private:
    std::map<QString, Factory> m_windows;
    std::map<QString, Command> m_commands;
};
