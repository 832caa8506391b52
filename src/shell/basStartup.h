#pragma once

#include <QObject>
#include <QString>

#include <chrono>

class MDIfrmMain;
class WindowRegistry;

// The start of the client: the splash window, the operator's name, the connection to the data
// warehouse, then the main window, or one message and the end when there is no connection.
class basStartup : public QObject
{
    Q_OBJECT
public:
    // How long the splash window stays up after the connection is decided, so it can be read.
    explicit basStartup(std::chrono::milliseconds pause = std::chrono::milliseconds(600));

    // Opens this embedded warehouse file instead of finding the warehouse (created, when it does
    // not exist, with the reference data and, when asked for, the demo data).
    void useWarehouseFile(const QString &path, bool withDemoData);

    // Runs the start-up sequence. Returns the shown main window, or nullptr when the client must
    // end (the operator has been told why).
    MDIfrmMain *run(const WindowRegistry &windows);

Q_SIGNALS:
    // Each text the splash window shows, in order.
    void statusChanged(const QString &text);

private:
    void pause() const;
    std::chrono::milliseconds m_pause;
    QString m_warehouseFile;
    bool m_withDemoData = false;
};
