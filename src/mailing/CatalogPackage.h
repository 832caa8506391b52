#pragma once

#include "warehouse/RowSink.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Mail packages: one main catalog version plus any number of package inserts, stored as one row of
// tblMailPackages per item, all rows sharing the package ID. The package window reads its lists and
// boxes into a PackageEntry and hands it here.
namespace catalogpackage {

// Caption of the package window; its messages carry it as their title.
QString caption();

// What the window keeps beside each item of its catalog list.
struct CatalogListEntry
{
    QString catalogID;
    QString clubID;
    QString testID;
    QString itemType;
    // The catalog's address start date, "mm/dd/yyyy": proposed as the package's mail date.
    QString mailDate;
    QString itemDescription;
};

// What the window keeps beside each item of its insert list.
struct InsertListEntry
{
    QString insertId;
    QString insertDescription;
};

// One item of a package's contents list: its text and the catalog (or insert) ID it stands for.
struct ContentItem
{
    QString text;
    QString catalogID;
};

// The package as the operator put it together.
struct PackageEntry
{
    std::optional<CatalogListEntry> catalog;
    QString description;
    QString mailDate;
    QList<InsertListEntry> inserts;
};

// Grid headers and widths (twips) of the package grid, and headers of the duplicated-items grid.
const QStringList &packageHeaders();
const QList<int> &packageColumnWidths();
const QStringList &dupesHeaders();

// The date an insert ID ("mmddyyyyhhmmss") was made on; invalid when the ID does not begin with a
// date.
QDate insertDate(const QString &insertId);
// An insert is offered while it is at most six calendar months old (later dates too): months are
// counted across month boundaries, the day of the month does not count.
bool insertIsRecent(const QString &insertId, const QDate &today);

// The recent inserts, by description.
QList<InsertListEntry> LoadInsertList(const QDate &today = QDate::currentDate());
// The catalog versions that can be packaged, by club, address start date and test.
QList<CatalogListEntry> LoadCatalogList();
QString catalogItemText(const CatalogListEntry &entry);
// One row per package (its main catalog row), in mail-date order, the seven grid cells.
void LoadPackages(const RowSink &sink);
// The items of one package.
QList<ContentItem> LoadPackageContents(const QString &packageID);
// The placements of the products that occur more than once among the package's items, by product.
void LoadDuplicates(const QString &packageID, const RowSink &sink);

// Every failing check, in order, each message followed by a carriage return; empty when the
// package may be created.
QString ValidatePackage(const PackageEntry &entry);

// "yyyymmddhhmmss" of the moment followed by a number from 1001 to 9998: 18 characters.
QString newPackageID(const QDateTime &now = QDateTime::currentDateTime());

// Writes the main catalog row and one row per insert in one transaction, stamped with the moment
// and the operator's name, and returns the new package ID. Throws DbError (after rolling back) when
// a statement fails. The entry must have passed ValidatePackage.
QString CreatePackage(const PackageEntry &entry, const QDateTime &now, const QString &user);

// Removes every row of a package in one transaction; false (rolled back) when that failed.
bool DeletePackage(const QString &packageID);

QString deleteQuestion(const QString &clubID, const QString &catalogID, const QString &testID);

} // namespace catalogpackage
