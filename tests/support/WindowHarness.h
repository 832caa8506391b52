#pragma once

#include "ClientWindows.h"
#include "TestWarehouse.h"
#include "shell/MDIfrmMain.h"

#include <QApplication>
#include <QFile>
#include <QTest>

#include <memory>

// main() of a window test: as FOLVANE_DATABASE_TEST_MAIN, on a QApplication.
#define FOLVANE_WINDOW_TEST_MAIN(TestObject) FOLVANE_DATABASE_TEST_MAIN_ON(QApplication, TestObject)

// The client's settings (window places, last choices) in a scratch folder, under the client's own
// names, so nothing a test saves touches the user's.
inline void useScratchSettings(const QString &configFolder)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder));
    QApplication::setOrganizationName(QStringLiteral("Folvane"));
    QApplication::setApplicationName(QStringLiteral("Folvane"));
}

// A control of a window by its name; the test ends at once when there is none.
template <typename Control> Control *control(const QObject &window, const char *name)
{
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (!found)
        qFatal("No control %s of type %s in %s", name, Control::staticMetaObject.className(),
               qPrintable(window.objectName()));
    return found;
}

// The main window with every window and command of the client, and one working window opened in
// it by its name, as the menu opens it.
//
//     WindowHarness<frmCatSched> harness;
//     control<QLineEdit>(harness.window(), "txtCatalogID")->setText(...);
template <typename Window> class WindowHarness
{
public:
    explicit WindowHarness(
        const QString &windowName = QString::fromLatin1(Window::staticMetaObject.className()))
        : m_main(std::make_unique<MDIfrmMain>(clientWindows()))
    {
        m_window = qobject_cast<Window *>(m_main->openWindow(windowName));
        if (!m_window)
            qFatal("The main window did not open %s", qPrintable(windowName));
    }

    MDIfrmMain &main() const { return *m_main; }
    Window &window() const { return *m_window; }
    Window *operator->() const { return m_window; }
    template <typename Control> Control *control(const char *name) const
    {
        return ::control<Control>(*m_window, name);
    }

private:
    std::unique_ptr<MDIfrmMain> m_main;
    Window *m_window = nullptr;
};
