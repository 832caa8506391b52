#pragma once

#include <QObject>

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

    // Runs the start-up sequence. Returns the shown main window, or nullptr when the client must
    // end (the operator has been told why).
    MDIfrmMain *run(const WindowRegistry &windows);

Q_SIGNALS:
    // Each text the splash window shows, in order.
    void statusChanged(const QString &text);

private:
    void pause() const;
    std::chrono::milliseconds m_pause;
};
