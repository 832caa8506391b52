#pragma once

// Small fixtures for the catalog editor's tests: products, maps, inserts, placements. Every value
// is bound, so they run unchanged on SQLite and PostgreSQL.
#include "ScheduleFixture.h"
#include "TestWarehouse.h"
#include "warehouse/Query.h"

#include <QVariant>

namespace fixture {

struct Product
{
    QString id;
    QString name = QStringLiteral("A Book");
    int activeProd = 1;
    int activeWeb = 0;
    int category = 11; // Fiction / Mystery
    QVariant msrp = 20.0;
    QVariant lastPrice = 18.0;
    QVariant onHand = 10;
    QVariant manufacturer = 1;
    QString releaseDate; // yyyy-mm-dd, empty for NULL
    QString upc;
};

inline QVariant dateOrNull(const QString &isoDate)
{
    return isoDate.isEmpty() ? QVariant()
                             : QVariant(sqlvalue::fromDate(
                                   QDate::fromString(isoDate, QStringLiteral("yyyy-MM-dd"))));
}

inline void product(const Product &p)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductUPC, ProductName, ActiveProd, "
                       "ActiveWeb, Category, MSRP, LastPrice, OnHand, ManufacturerID, ReleaseDate) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {p.id, p.upc.isEmpty() ? QVariant() : QVariant(p.upc), p.name, p.activeProd, p.activeWeb,
         p.category, p.msrp, p.lastPrice, p.onHand, p.manufacturer, dateOrNull(p.releaseDate)});
}

inline void product(const QString &id, const QString &name = QStringLiteral("A Book"))
{
    Product p;
    p.id = id;
    p.name = name;
    product(p);
}

inline void description(const QString &productId, const QString &size)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb) "
                       "VALUES (?, ?, ?)"),
        {productId, size, QStringLiteral("Words about the book.")});
}

inline void catalogPage(const QString &club, const QString &catalog, const QString &test, int page,
                        const QString &section = QStringLiteral("Fiction"))
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, "
                                       "PageNum, PageSection) VALUES (?, ?, ?, ?, ?)"),
                        {club, catalog, test, page, section});
}

inline void insertPage(const QString &insertId, const QString &description, int page,
                       const QString &section = QStringLiteral("Fiction"))
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblInsertMap (InsertID, InsertDescription, "
                                       "PageNum, PageSection) VALUES (?, ?, ?, ?)"),
                        {insertId, description, page, section});
}

struct Placement
{
    QVariant club = QStringLiteral("MYST");
    QString catalog = QStringLiteral("SPRING");
    QVariant test = QStringLiteral("0000");
    QString product;
    int page = 1;
    int position = 1;
    QVariant price = 15.0;
    QVariant discount = 25.0;
    QString descType = QStringLiteral("Blank");
};

// Returns the new placement's ItemID.
inline qlonglong placement(const Placement &p)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
                       "PagePosition, PageWeight, DescType, Price, Discount, ProductType, "
                       "ModifyUser) VALUES (?, ?, ?, ?, ?, ?, 11.11, ?, ?, ?, 'A', 'fixture')"),
        {p.club, p.catalog, p.test, p.product, p.page, p.position, p.descType, p.price,
         p.discount});
    return TestWarehouse::scalar(QStringLiteral("SELECT MAX(ItemID) FROM tblProductsMap"))
        .toLongLong();
}

inline qlonglong placement(const QString &product, int page, int position)
{
    Placement p;
    p.product = product;
    p.page = page;
    p.position = position;
    return placement(p);
}

} // namespace fixture
