#pragma once

#include "warehouse/Query.h"

#include <QDate>
#include <QString>

namespace fixture {

// One row of the catalog cycle schedule; the dates left invalid are stored as NULL.
struct ScheduleRow
{
    QString club;
    QString catalog;
    QString description = QStringLiteral("Catalog");
    QDate addressStart = QDate::currentDate();
    QDate replyDate = {};
    QDate labelRunShipDate = {};
};

inline void scheduleRow(const ScheduleRow &row)
{
    Query(QStringLiteral(
              "INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, "
              "AAAddressStartDate, ReplyDate, LabelRunShipDate) VALUES (?, ?, ?, ?, ?, ?)"))
        .bind(row.club)
        .bind(row.catalog)
        .bind(row.description)
        .bindDate(row.addressStart)
        .bindDate(row.replyDate)
        .bindDate(row.labelRunShipDate)
        .exec();
}

// A catalog in the schedule, its addresses starting today.
inline void schedule(const QString &club, const QString &catalog) { scheduleRow({club, catalog}); }

} // namespace fixture
