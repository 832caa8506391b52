#pragma once

#include "SetupLogin.h"

#include <QByteArray>
#include <QString>

#include <optional>

// MakeDB.bat starts the FOLVANE instance of SQL Server and its agent, then runs the creation
// script Folvane.sql against the data source with osql.

// "osql -U<user> -P<password> -D<dsn> -i Folvane.sql" without any double quote.
QString osqlLine(const SetupLogin &login);

// The label of the first field (in the window's order) whose value the osql line cannot carry as
// one plain argument of cmd: a blank or control character, one of cmd's & | < > ^ %, or anything
// outside printable ASCII. Nothing when all three can go into the line. Double quotes are no
// reason: the line drops them.
std::optional<QString> fieldUnfitForBatch(const SetupLogin &login);

// The message refusing such a field.
QString unfitFieldMessage(const QString &fieldLabel);

// The three lines of the batch file, each ended by CR LF.
QByteArray makeDbBatchText(const SetupLogin &login);

// The full path of MakeDB.bat in the folder.
QString makeDbBatchPath(const QString &folder);

// Creates or replaces MakeDB.bat in the folder with the text. The old file is replaced only once
// the new one is complete, so a failure leaves it as it was. Returns the error's description.
std::optional<QString> writeMakeDbBatch(const QString &folder, const QByteArray &text);
