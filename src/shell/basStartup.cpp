#include "shell/basStartup.h"

#include "shell/MDIfrmMain.h"
#include "shell/frmSplashScreen.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Warehouse.h"

#include <QApplication>
#include <QElapsedTimer>

#include <memory>

basStartup::basStartup(std::chrono::milliseconds pause)
    : m_pause(pause)
{}

void basStartup::pause() const
{
    // Keeps the splash window painting while the operator reads it.
    QElapsedTimer timer;
    timer.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    while (timer.elapsed() < m_pause.count());
}

void basStartup::useWarehouseFile(const QString &path, bool withDemoData)
{
    m_warehouseFile = path;
    m_withDemoData = withDemoData;
}

MDIfrmMain *basStartup::run(const WindowRegistry &windows)
{
    auto splash = std::make_unique<frmSplashScreen>();
    const auto status = [&](const QString &text) {
        splash->setStatus(text);
        Q_EMIT statusChanged(text);
    };

    status(QStringLiteral("Loading Folvane interface."));
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    status(QStringLiteral("Preparing to connect to the data warehouse."));
    const auto failure = m_warehouseFile.isEmpty()
                             ? warehouse::open()
                             : warehouse::openEmbedded(m_warehouseFile, m_withDemoData);
    if (failure) {
        // The number and the description stand together with nothing between them.
        Dialogs::instance().message(failure->number + failure->description, {},
                                    Dialogs::Icon::None);
        return nullptr;
    }

    status(QStringLiteral("Data warehouse connection has established. Loading application..."));
    pause();
    auto *main = new MDIfrmMain(windows);
    main->show();
    status(QStringLiteral("Application has been loaded. WELCOME"));
    return main;
}
