#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The catalog cycle schedule: one row of tblCycleSchedule per club and catalog, with the milestone
// dates of the catalog's production and mailing. The maintenance window reads its entry panel into
// a ScheduleEntry and hands it here.
namespace catalogschedule {

// Caption of the maintenance window; every message of the schedule carries it as its title.
QString caption();

// The entry panel as typed: the catalog key, the description and the seven dates as text.
struct ScheduleEntry
{
    QString clubID;
    QString catalogID;
    QString description;
    QString mapCopyCreative;
    QString fstDraftCreative;
    QString catalogReleaseDate;
    QString aaAddressStartDate;
    QString aaAddressCompleteDate;
    QString replyDate;
    QString labelRunShipDate;
};

// One row of the schedule grid: the ten cells in column order, dates as "mm/dd/yyyy".
using ScheduleRow = std::array<QString, 10>;

// The grid's headers, in column order.
const QStringList &gridHeaders();

// The clubs of the default page maps, ascending.
QStringList LoadClubList();

// The schedule rows whose address start date lies within the 365 days before today, newest start
// date first.
QList<ScheduleRow> LoadScheduleRows(const QDate &today = QDate::currentDate());

// Every failing check of the entry, in check order, each message followed by a carriage return;
// empty when the entry may be saved.
QString ValidateEntry(const ScheduleEntry &entry);

// The date a date box stands for: invalid (stored as NULL) when the text is blank or not a date.
QDate entryDate(const QString &text);

// Writes the entry as the row of its club and catalog, in one transaction. An existing row is
// replaced only when the operator answers Yes to the override question, asked before the
// transaction begins (and again should another client change the row meanwhile); false when the
// answer is No, and then nothing has changed. Throws DbError (after rolling back) when a statement
// fails.
bool SaveScheduleRow(const ScheduleEntry &entry);

// Removes the row of a club and catalog (both trimmed here).
void DeleteScheduleRow(const QString &clubID, const QString &catalogID);

// The delete question for a grid row.
QString deleteQuestion(const QString &clubID, const QString &catalogID);

} // namespace catalogschedule
