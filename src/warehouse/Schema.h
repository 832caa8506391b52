#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The scripts of the schema folder (built into the program as resources ":/schema/...") and the
// creation of a warehouse from them on gcnWarehouse. Every function throws DbError on failure.
namespace warehouse::schema {

// Splits a script into statements at ";" outside quotes and comments; comments are dropped.
QStringList splitStatements(const QString &script);
// Splits a SQL Server script into the batches between its "GO" lines, as osql does.
QStringList splitBatches(const QString &script);
// The text of a script of the schema folder, e.g. "sqlite.sql".
QString scriptText(const QString &name);
// Runs every statement of a script of the schema folder (every batch of "Folvane.sql").
void runScript(const QString &name);
// Replaces the date tokens of the demo data: {DATE:-30} becomes the date 30 days before today as
// 'yyyy-mm-dd', {INSERTID:-30} the insert ID of an insert made at noon that day
// ('mmddyyyy120000').
QString resolveDemoTokens(const QString &script, const QDate &today);

// Tables and views of the current dialect.
void createTables();
// The reference data the client cannot edit: default maps, sections, categories, manufacturers,
// description sizes, media types.
void loadReferenceData();
// The demo data set, dated relative to today.
void loadDemoData(const QDate &today);
// The tables with the reference data, and the demo data when asked for, in one transaction.
void createFilledWarehouse(const QDate &today, bool withDemoData = true);
// Fails when the open warehouse lacks the tables the client needs.
void checkWarehouse();

} // namespace warehouse::schema
