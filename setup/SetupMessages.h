#pragma once

#include <QString>

#include <memory>

// The set-up tool's message boxes (OK button, no icon) go through this service, so that tests can
// read them instead of a modal box waiting for a click.
class SetupMessages
{
public:
    virtual ~SetupMessages() = default;

    // An empty title means the tool's title.
    virtual void message(const QString &text, const QString &title = {}) = 0;

    // The service in use: main installs the message-box one, tests a recording one.
    static SetupMessages &instance();
    // Installs a service and returns the one it replaces.
    static std::unique_ptr<SetupMessages> install(std::unique_ptr<SetupMessages> messages);

    static QString applicationTitle() { return QStringLiteral("FolvaneDATA"); }
};
