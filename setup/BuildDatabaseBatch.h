#pragma once

#include "OdbcLoginCheck.h"
#include "SetupLogin.h"

#include <QString>

// What "Create Build DB Batch" ends with: the message to show, and whether MakeDB.bat was written.
struct BatchOutcome
{
    bool created = false;
    QString message;
};

// Proves the typed login on its data source, then writes MakeDB.bat into the folder. The values
// are used trimmed; the login is tried with them as typed otherwise, while the batch line drops
// their double quotes. A value the batch line cannot carry is refused before anything else, and
// nothing is written.
BatchOutcome buildDatabaseBatch(const SetupLogin &typed, const QString &folder,
                                const LoginChecker &check = checkOdbcLogin);
