#pragma once

#include "reports/ReportSupport.h"

#include <QDate>
#include <QStringList>

// Product History: where one product has been placed, what it was forecast to sell, and which
// recurring catalogs list it.
namespace reports {

struct ProductHistory
{
    QString productId;
    QString productName; // empty when the product is not in the inventory
    // Every placement in every map, newest first: by the schedule's address start date for a
    // catalog, the insert's date for an insert; maps without a date last.
    QList<QStringList> placements;
    QList<QStringList> recommendations; // by club and catalog
    QList<QStringList> recurring;       // by club and catalog
};

// Throws DbError, or StoppedByOperator when the watch says so. The product ID is bound as typed
// (blanks around it ignored).
ProductHistory loadProductHistory(const QString &productId, const RowRead &watch = {});

QStringList placementHeaders();
QStringList recommendationHeaders();
QStringList recurringHeaders();

// An insert's date from its ID "mmddyyyyhhmmss"; invalid for any other ID.
QDate insertDate(const QString &insertId);

} // namespace reports
