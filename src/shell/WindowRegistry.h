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
    // Windows opened once per name under a common prefix ("frmPageMap|<map key>"), each made for
    // its whole name.
    using NamedFactory = std::function<QWidget *(const QString &windowName)>;
    void addWindowFamily(const QString &namePrefix, NamedFactory factory);
    // A command of one of the host's menu items, by the item's name ("mnuCtgEditAddPage").
    void addCommand(const QString &menuItemName, Command command);

    // Nullptr when nothing is registered under the name.
    const Factory *window(const QString &windowName) const;
    const Command *command(const QString &menuItemName) const;

private:
    // Factories made for names of a family are kept with the others once asked for.
    mutable std::map<QString, Factory> m_windows;
    std::map<QString, NamedFactory> m_families;
    std::map<QString, Command> m_commands;
};
