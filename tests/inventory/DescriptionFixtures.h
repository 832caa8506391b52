#pragma once

// Products and descriptions for the descriptions tests; every value bound, so they run unchanged on
// SQLite and PostgreSQL.
#include "TestWarehouse.h"
#include "warehouse/Query.h"

#include <QDateTime>
#include <QVariant>

namespace fixture {

struct Item
{
    QString id;
    QString name = QStringLiteral("A Book");
    int activeProd = 1;
    int activeWeb = 0;
    QVariant msrp = 20.0;
    QVariant onHand = 10;
};

inline void item(const Item &p)
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, "
                                       "ActiveProd, ActiveWeb, Category, MSRP, OnHand) "
                                       "VALUES (?, ?, ?, ?, 11, ?, ?)"),
                        {p.id, p.name, p.activeProd, p.activeWeb, p.msrp, p.onHand});
}

inline void item(const QString &id)
{
    item(Item{id});
}

inline void blurb(const QString &productID, const QString &size,
                  const QString &text = QStringLiteral("Words about the book."),
                  const QDateTime &when = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)),
                  const QString &user = QStringLiteral("earlier"))
{
    Query(QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb, ModifyDate, "
                         "ModifyUser) VALUES (?, ?, ?, ?, ?)"))
        .bind(productID)
        .bind(size)
        .bind(text)
        .bindDateTime(when)
        .bind(user)
        .exec();
}

// The stored description of a product and size: text, date "yyyy-MM-dd HH:mm:ss", user; empty
// when there is none.
inline QStringList storedBlurb(const QString &productID, const QString &size)
{
    Query query(QStringLiteral("SELECT Blurb, ModifyDate, ModifyUser FROM tblInvDescriptions "
                               "WHERE ProductID = ? AND BlurbSize = ?"));
    query.bind(productID).bind(size).exec();
    if (!query.next())
        return {};
    return {query.text(0), query.text(1), query.text(2)};
}

inline int blurbCount()
{
    return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvDescriptions"));
}

} // namespace fixture
