#pragma once

#include <QString>

// What the operator typed into the three boxes of the set-up window.
struct SetupLogin
{
    QString userName;
    QString password;
    QString dataSource;

    // Every value is used without its leading and trailing blanks (spaces only, as the client
    // trims: a tab or line break stays, and is refused on its way into the batch file).
    SetupLogin trimmed() const;
};
