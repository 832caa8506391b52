#pragma once

#include "SetupLogin.h"

#include <QString>

#include <functional>

// The outcome of trying a login on a data source.
struct LoginCheck
{
    enum class State {
        Open,    // the connection opened and was open
        NotOpen, // the driver reported no error, yet no connection is open
        Failed,  // the driver or the server refused; description says why
    };
    State state = State::Failed;
    QString description;
};

using LoginChecker = std::function<LoginCheck(const SetupLogin &)>;

// "DSN=...;UID=...;PWD=..." with each value taken literally: a value holding ';', '{' or '}' is
// enclosed in braces (a '}' in it doubled), so that no typed text can end a value early or add
// attributes of its own.
QString odbcConnectionString(const SetupLogin &login);

// Opens a connection through the unixODBC driver manager with the login, never prompting, and
// closes it again at once.
LoginCheck checkOdbcLogin(const SetupLogin &login);
