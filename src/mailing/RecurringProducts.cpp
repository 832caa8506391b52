#include "mailing/RecurringProducts.h"

#include "catalog/ProductGrids.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

namespace recurring {

namespace {

const QString kSeparator = QStringLiteral(" | ");

int compareItems(const QString &a, const QString &b)
{
    const auto [clubA, catalogA] = splitItem(a);
    const auto [clubB, catalogB] = splitItem(b);
    if (const int byClub = clubA.compare(clubB, Qt::CaseInsensitive))
        return byClub;
    return catalogA.compare(catalogB, Qt::CaseInsensitive);
}

} // namespace

QString caption() { return QStringLiteral("Recurring Products Calendar"); }

QStringList productHeaders() { return catalog::inventoryHeaders(); }

std::optional<QString> searchRefusal(int column, const QString &criterion)
{
    return catalog::inventorySearchRefusal(column, criterion);
}

QString searchFailureMessage()
{
    return QStringLiteral("You have entered an invalid search parameter value. Please try again.");
}

std::optional<QString> searchProducts(int column, const QString &criterion, const RowSink &sink)
{
    if (auto refusal = searchRefusal(column, criterion))
        return refusal;
    // The operator learns the search did not run; what the server said would not help them.
    if (!unlessFailed([&] { catalog::searchInventoryMaster(column, criterion, sink); }))
        return searchFailureMessage();
    return std::nullopt;
}

void loadAllRecurringProducts(const RowSink &sink)
{
    // Each product once, however many scheduled catalogs it recurs in; recurrences of catalogs
    // gone from the schedule do not count. Ordered so every warehouse lists the same way. The
    // recurring products are gathered once (IN), not looked up for every product of the
    // inventory, which SQLite does by scanning them all for each product.
    Query query(
        QStringLiteral("SELECT tblInvMaster.ProductID, tblInvMaster.ProductUPC, "
                       "tblInvMaster.ProductName, tblInvMaster.ActiveProd, "
                       "tblManufactrurers.ManufacturerName, tblInvMaster.OnHand, ") +
        dialect::categoryName() +
        QStringLiteral(
            " AS CategoryName FROM tblInvMaster LEFT OUTER JOIN tblManufactrurers ON "
            "tblManufactrurers.ManufacturerID = tblInvMaster.ManufacturerID LEFT OUTER JOIN "
            "(tblInvCategories INNER JOIN tblInvCategories tblInvCategories_1 ON "
            "tblInvCategories_1.CatID = tblInvCategories.SubCatID) ON tblInvCategories.CatID = "
            "tblInvMaster.Category WHERE tblInvMaster.ProductID IN (SELECT "
            "tblRecurringCatgProducts.ProductID FROM tblRecurringCatgProducts INNER JOIN "
            "tblCycleSchedule ON tblRecurringCatgProducts.ClubID = tblCycleSchedule.ClubID AND "
            "tblRecurringCatgProducts.CatalogID = tblCycleSchedule.CatalogID) ORDER BY "
            "tblInvMaster.ProductID"));
    query.exec();
    while (query.next()) {
        const auto trimmed = [&query](const char *column) {
            return vb::Trim(catalog::cellText(query.value(QString::fromLatin1(column))));
        };
        sink({trimmed("ProductID"), trimmed("ProductUPC"), trimmed("ProductName"),
              query.value(QStringLiteral("ActiveProd")).toDouble() == 1 ? QStringLiteral("X")
                                                                        : QString(),
              trimmed("ManufacturerName"), trimmed("CategoryName"),
              catalog::countText(query.value(QStringLiteral("OnHand")))});
    }
}

QString itemText(const QString &clubId, const QString &catalogId)
{
    return clubId + kSeparator + catalogId;
}

std::pair<QString, QString> splitItem(const QString &item)
{
    // At the first separator only: a catalog ID holding " | " keeps it.
    const qsizetype at = item.indexOf(kSeparator);
    if (at < 0)
        return {vb::Trim(item), QString()};
    return {vb::Trim(item.left(at)), vb::Trim(item.mid(at + kSeparator.size()))};
}

int sortedPosition(const QStringList &items, const QString &item)
{
    int position = 0;
    while (position < items.size() && compareItems(items.at(position), item) <= 0)
        ++position;
    return position;
}

Calendar loadProductCalendar(const QString &productId)
{
    Calendar calendar;
    const QString product = vb::Trim(productId);
    if (product.isEmpty())
        return calendar;
    // Every scheduled catalog has one row without a product in the view; a second row for the
    // product means it recurs there.
    Query query(QStringLiteral(
        "SELECT ClubID, CatalogID, AAAddressStartDate, CASE WHEN COUNT(*) > 1 THEN 1 ELSE 0 END "
        "AS ScheduledProd FROM viewRecurringProducts WHERE (ProductID IS NULL) OR (ProductID = "
        "?) GROUP BY ClubID, CatalogID, AAAddressStartDate ORDER BY ClubID, CatalogID"));
    query.bind(product).exec();
    while (query.next()) {
        const QString item = itemText(query.text(0), query.text(1));
        if (vb::Val(QStringLiteral("0") + query.text(3)) == 0)
            calendar.available << item;
        else
            calendar.scheduled << item;
    }
    return calendar;
}

void transfer(Transfer direction, const QString &productId, const QStringList &items,
              const std::function<void(const QString &item)> &moved)
{
    const QString product = vb::Trim(productId);
    if (product.isEmpty())
        return;
    const QString sql =
        direction == Transfer::Add
            ? QStringLiteral("INSERT INTO tblRecurringCatgProducts(ClubID, CatalogID, ProductID) "
                             "VALUES(?,?,?)")
            : QStringLiteral("DELETE FROM tblRecurringCatgProducts WHERE ClubID=? AND "
                             "CatalogID=? AND ProductID=?");
    // Each statement stands on its own: a failure keeps what was moved before it.
    for (const QString &item : items) {
        const auto [club, catalog] = splitItem(item);
        Query(sql).bind(club).bind(catalog).bind(product).exec();
        if (moved)
            moved(item);
    }
}

} // namespace recurring
