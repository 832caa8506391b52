#pragma once

#include <QString>

// What the operator typed into the three boxes of the set-up window.
struct SetupLogin
{
    QString userName;
    QString password;
    QString dataSource;

    // Every value is used without its leading and trailing blanks.
    SetupLogin trimmed() const;
};
