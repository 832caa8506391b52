#pragma once

// Package rows, placements with their descriptions, and inserts for the package tests. Every value
// is bound, so they run unchanged on SQLite and PostgreSQL.
#include "../catalog/CatalogEditFixtures.h"

#include <QDate>

namespace fixture {

// The ID of an insert made on a day ("mmddyyyy" + "101500").
inline QString insertIdOn(const QDate &day)
{
    return day.toString(QStringLiteral("MMddyyyy")) + QStringLiteral("101500");
}

inline void packageCatalog(const QString &packageId, const QString &club, const QString &catalog,
                           const QString &test, const QDate &mailDate = QDate(2026, 3, 2),
                           const QString &description = QStringLiteral("Spring mailing"))
{
    TestWarehouse::exec(
        QStringLiteral(
            "INSERT INTO tblMailPackages (PackageID, PackageDescription, "
            "PackageMailDate, PackageCreateDate, ClubID, CatalogID, TestID, ItemType, "
            "ItemDescription) VALUES (?, ?, ?, '01/05/2026', ?, ?, ?, 'General Catalog', "
            "'')"),
        {packageId, description, sqlvalue::fromDate(mailDate), club, catalog, test});
}

inline void packageInsert(const QString &packageId, const QString &insertId,
                          const QString &description)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblMailPackages (PackageID, PackageDescription, "
                       "PackageMailDate, PackageCreateDate, CatalogID, ItemType, ItemDescription) "
                       "VALUES (?, 'Spring mailing', ?, '01/05/2026', ?, 'Package Insert', ?)"),
        {packageId, sqlvalue::fromDate(QDate(2026, 3, 2)), insertId, description});
}

// A product with a description of the size its placements use.
inline void describedProduct(const QString &id, const QString &name, const QVariant &msrp,
                             const QString &blurb, const QString &upc = {})
{
    Product p;
    p.id = id;
    p.name = name;
    p.msrp = msrp;
    p.upc = upc;
    product(p);
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, "
                                       "Blurb) VALUES (?, 'Short', ?)"),
                        {id, blurb});
}

inline void place(const QVariant &club, const QString &catalog, const QVariant &test,
                  const QString &productId, int page, int position, const QVariant &price = 15.0,
                  const QVariant &discount = 25.0)
{
    Placement p;
    p.club = club;
    p.catalog = catalog;
    p.test = test;
    p.product = productId;
    p.page = page;
    p.position = position;
    p.price = price;
    p.discount = discount;
    p.descType = QStringLiteral("Short");
    placement(p);
}

} // namespace fixture
