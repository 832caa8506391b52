#include "shell/WindowRegistry.h"

void WindowRegistry::addWindow(const QString &windowName, Factory factory)
{
    m_windows[windowName] = std::move(factory);
}

void WindowRegistry::addCommand(const QString &menuItemName, Command command)
{
    m_commands[menuItemName] = std::move(command);
}

const WindowRegistry::Factory *WindowRegistry::window(const QString &windowName) const
{
    const auto found = m_windows.find(windowName);
    return found == m_windows.end() ? nullptr : &found->second;
}

const WindowRegistry::Command *WindowRegistry::command(const QString &menuItemName) const
{
    const auto found = m_commands.find(menuItemName);
    return found == m_commands.end() ? nullptr : &found->second;
}
