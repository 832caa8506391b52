#include "shell/WindowRegistry.h"

void WindowRegistry::addWindow(const QString &windowName, Factory factory)
{
    m_windows[windowName] = std::move(factory);
}

void WindowRegistry::addWindowFamily(const QString &namePrefix, NamedFactory factory)
{
    m_families[namePrefix] = std::move(factory);
}

void WindowRegistry::addCommand(const QString &menuItemName, Command command)
{
    m_commands[menuItemName] = std::move(command);
}

const WindowRegistry::Factory *WindowRegistry::window(const QString &windowName) const
{
    const auto found = m_windows.find(windowName);
    if (found != m_windows.end())
        return &found->second;
    for (const auto &[prefix, make] : m_families) {
        if (windowName.size() > prefix.size() && windowName.startsWith(prefix)) {
            const Factory factory = [make = make, windowName] { return make(windowName); };
            return &m_windows.emplace(windowName, factory).first->second;
        }
    }
    return nullptr;
}

const WindowRegistry::Command *WindowRegistry::command(const QString &menuItemName) const
{
    const auto found = m_commands.find(menuItemName);
    return found == m_commands.end() ? nullptr : &found->second;
}
