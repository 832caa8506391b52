#pragma once

// Products and categories for the inventory tests; every value bound, so they run unchanged on
// SQLite and PostgreSQL.
#include "TestWarehouse.h"
#include "warehouse/Query.h"

#include <QVariant>

namespace fixture {

struct StockProduct
{
    QString id;
    QString name = QStringLiteral("A Book");
    int activeProd = 1;
    int activeWeb = 0;
    QVariant category = 11; // Fiction / Mystery
    QVariant msrp = 20.0;
    QVariant manufacturer = 1; // Harbor Lane Press
};

inline void stockProduct(const StockProduct &p)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, ActiveProd, ActiveWeb, "
                       "Category, MSRP, ManufacturerID) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {p.id, p.name, p.activeProd, p.activeWeb, p.category, p.msrp, p.manufacturer});
}

inline void stockProduct(const QString &id, const QString &name = QStringLiteral("A Book"))
{
    StockProduct p;
    p.id = id;
    p.name = name;
    stockProduct(p);
}

inline void category(int id, const QString &description, int level, int parent)
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvCategories (CatID, CatDesc, lvl, "
                                       "SubCatID) VALUES (?, ?, ?, ?)"),
                        {id, description, level, parent});
}

} // namespace fixture
