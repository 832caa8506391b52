#include "mailing/CatalogPackage.h"

#include "warehouse/DbError.h"
#include "warehouse/MessageList.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <QRandomGenerator>

namespace catalogpackage {

namespace {

const QString kDateFormat = QStringLiteral("mm/dd/yyyy");
const QString kGeneralCatalog = QStringLiteral("General Catalog");
const QString kPackageInsert = QStringLiteral("Package Insert");

// Package rows meet placements by catalog, NULL and empty club and test taken alike, so an insert
// row (no club, no test) meets the placements stored under its insert ID.
const QString kPackagePlacements = QStringLiteral(
    "FROM tblMailPackages INNER JOIN tblProductsMap "
    "ON tblMailPackages.CatalogID = tblProductsMap.CatalogID "
    "AND LTRIM(COALESCE(tblMailPackages.ClubID, '')) = LTRIM(COALESCE(tblProductsMap.ClubID, '')) "
    "AND LTRIM(COALESCE(tblMailPackages.TestID, '')) = LTRIM(COALESCE(tblProductsMap.TestID, '')) "
    "WHERE (tblMailPackages.PackageID = ?)");

} // namespace

QString caption() { return QStringLiteral("Create Catalog Package"); }

const QStringList &packageHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Package ID"),          QStringLiteral("Club"),
        QStringLiteral("Catalog ID"),          QStringLiteral("Test ID"),
        QStringLiteral("Package Mail Date"),   QStringLiteral("Package Create Date"),
        QStringLiteral("Package Description"),
    };
    return headers;
}

const QList<int> &packageColumnWidths()
{
    // The package ID is kept in a hidden column: the operator knows a package by its catalog.
    static const QList<int> widths = {0, 885, 555, 720, 1275, 1080, 2415};
    return widths;
}

const QStringList &dupesHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Product ID"),  QStringLiteral("Catalog ID"),
        QStringLiteral("Club"),        QStringLiteral("Test ID"),
        QStringLiteral("Item Type"),   QStringLiteral("Item Description"),
        QStringLiteral("Page Number"), QStringLiteral("Position"),
    };
    return headers;
}

QDate insertDate(const QString &insertId)
{
    // Month, day and the four-digit year lead the ID; a two-digit year would wrap after 2049.
    if (insertId.size() < 8)
        return {};
    for (int i = 0; i < 8; ++i)
        if (!insertId.at(i).isDigit() || insertId.at(i).unicode() > '9')
            return {};
    return QDate(insertId.mid(4, 4).toInt(), insertId.mid(0, 2).toInt(),
                 insertId.mid(2, 2).toInt());
}

bool insertIsRecent(const QString &insertId, const QDate &today)
{
    const QDate made = insertDate(insertId);
    if (!made.isValid())
        return false;
    const int months = (today.year() - made.year()) * 12 + (today.month() - made.month());
    return months <= 6;
}

QList<InsertListEntry> LoadInsertList(const QDate &today)
{
    // The age is judged here rather than in the statement: an ID that is not a date is skipped
    // instead of failing the whole list.
    Query query(QStringLiteral("SELECT DISTINCT InsertID, InsertDescription From tblInsertMap "
                               "ORDER BY InsertDescription"));
    query.exec();
    QList<InsertListEntry> inserts;
    while (query.next()) {
        const QString id = query.text(0);
        if (insertIsRecent(id, today))
            inserts.append({id, query.text(1)});
    }
    return inserts;
}

QList<CatalogListEntry> LoadCatalogList()
{
    Query query(QStringLiteral("SELECT ClubID, CatalogID, TestID, AAAddressStartDate From "
                               "viewCatalogsToBeCombined ORDER BY ClubID, AAAddressStartDate, "
                               "TestID"));
    query.exec();
    QList<CatalogListEntry> catalogs;
    while (query.next())
        catalogs.append({query.text(1), query.text(0), query.text(2), kGeneralCatalog,
                         vb::FormatDate(query.date(3), kDateFormat), QString()});
    return catalogs;
}

QString catalogItemText(const CatalogListEntry &entry)
{
    return entry.catalogID + QStringLiteral(" - ") + entry.clubID + QStringLiteral(" - ") +
           entry.testID;
}

void LoadPackages(const RowSink &sink)
{
    Query query(QStringLiteral(
        "SELECT PackageID, PackageDescription, PackageMailDate, PackageCreateDate , ClubID, "
        "CatalogID, TestID FROM tblMailPackages WHERE (ItemType = 'General Catalog') "
        "ORDER BY PackageMailDate, PackageID"));
    query.exec();
    while (query.next())
        sink({query.text(0), query.text(4), query.text(5), query.text(6),
              vb::FormatDate(query.date(2), kDateFormat), query.text(3), query.text(1)});
}

QList<ContentItem> LoadPackageContents(const QString &packageID)
{
    // The main catalog first, then the inserts in the order they were made.
    Query query(QStringLiteral("SELECT ClubID, CatalogID, TestID, ItemType, ItemDescription From "
                               "tblMailPackages WHERE PackageID=? ORDER BY ItemType, CatalogID"));
    query.bind(packageID).exec();
    QList<ContentItem> items;
    while (query.next()) {
        QString text;
        if (query.isNull(3))
            text = QStringLiteral("Package Insert  | Description - ") + query.text(4).left(35);
        else
            text = query.text(3) + QStringLiteral(" | ") + query.text(1) + QStringLiteral(" - ") +
                   query.text(0) + QStringLiteral(" - ") + query.text(2);
        items.append({text, query.text(1)});
    }
    return items;
}

void LoadDuplicates(const QString &packageID, const RowSink &sink)
{
    Query query(
        QStringLiteral("SELECT tblProductsMap.ProductID, tblMailPackages.CatalogID, "
                       "tblMailPackages.ClubID, tblMailPackages.TestID, "
                       "tblMailPackages.ItemType, tblMailPackages.ItemDescription, "
                       "tblProductsMap.PageNum , tblProductsMap.PagePosition ") +
        kPackagePlacements +
        QStringLiteral(" AND tblProductsMap.ProductID IN (SELECT tblProductsMap.ProductID ") +
        kPackagePlacements +
        QStringLiteral(" GROUP BY tblProductsMap.ProductID HAVING (COUNT(*) > 1)) "
                       "ORDER BY tblProductsMap.ProductID, tblMailPackages.ItemType, "
                       "tblMailPackages.CatalogID, tblProductsMap.PageNum, "
                       "tblProductsMap.PagePosition"));
    query.bind(packageID).bind(packageID).exec();
    while (query.next()) {
        QStringList row;
        row.reserve(8);
        for (int col = 0; col < 8; ++col)
            row << query.text(col);
        sink(std::move(row));
    }
}

QString ValidatePackage(const PackageEntry &entry)
{
    MessageList messages;
    if (!entry.catalog)
        messages.add("One catalog item must be selected in order to save.");
    if (vb::Trim(entry.description).isEmpty())
        messages.add("Description is a required field.");
    // The column's width: a longer text would reach the server and fail there.
    if (vb::Trim(entry.description).size() > 250)
        messages.add("Description must consist of 250 characters OR less.");
    const QString mailDate = vb::Trim(entry.mailDate);
    if (mailDate.isEmpty())
        messages.add("Mail date is a reqired field.");
    if (!vb::IsDate(mailDate))
        messages.add("Mail date must be in date format [mm/dd/yy].");
    return messages.text();
}

QString newPackageID(const QDateTime &now)
{
    const int number = int(QRandomGenerator::global()->bounded(1001, 9999));
    return vb::FormatDate(now, QStringLiteral("yyyymmddhhmmss")) + QString::number(number);
}

QString CreatePackage(const PackageEntry &entry, const QDateTime &now, const QString &user)
{
    const QString packageID = newPackageID(now);
    const QString description = vb::Trim(entry.description);
    // The column is a date: the typed text is read with the client's US date rules and bound so.
    const QDate mailDate = vb::ToDate(vb::Trim(entry.mailDate));
    const QString createDate = vb::FormatDate(now.date(), kDateFormat);
    const CatalogListEntry &catalog = *entry.catalog;

    Transaction transaction;
    Query(QStringLiteral("INSERT INTO tblMailPackages (PackageID, PackageDescription, "
                         "PackageMailDate,     PackageCreateDate, ClubID, CatalogID, TestID, "
                         "ItemType,     ItemDescription, ModifyDate, ModifyUser) VALUES (?, ?, ?, "
                         "?, ?, ?, ?, ?, ?, ?, ?)"))
        .bind(packageID)
        .bind(description)
        .bindDate(mailDate)
        .bind(createDate)
        .bind(catalog.clubID)
        .bind(catalog.catalogID)
        .bind(catalog.testID)
        .bind(catalog.itemType)
        .bind(catalog.itemDescription)
        .bindDateTime(now)
        .bind(user)
        .exec();
    Query insertRow(QStringLiteral(
        "INSERT INTO tblMailPackages (PackageID, PackageDescription, PackageMailDate, "
        "PackageCreateDate, CatalogID, ItemType, ItemDescription, ModifyDate, ModifyUser) VALUES "
        "(?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const InsertListEntry &insert : entry.inserts)
        insertRow.bind(packageID)
            .bind(description)
            .bindDate(mailDate)
            .bind(createDate)
            .bind(insert.insertId)
            .bind(kPackageInsert)
            .bind(insert.insertDescription)
            .bindDateTime(now)
            .bind(user)
            .exec();
    transaction.commit();
    return packageID;
}

bool DeletePackage(const QString &packageID)
{
    return unlessFailed([&] {
        Transaction transaction;
        Query(QStringLiteral("DELETE FROM tblMailPackages WHERE PackageID=?"))
            .bind(vb::Trim(packageID))
            .exec();
        transaction.commit();
    });
}

QString deleteQuestion(const QString &clubID, const QString &catalogID, const QString &testID)
{
    return QStringLiteral("Delete ") + vb::Trim(clubID) + QStringLiteral(" - ") +
           vb::Trim(catalogID) + QStringLiteral(" - ") + vb::Trim(testID) +
           QStringLiteral(" from the Database?");
}

} // namespace catalogpackage
