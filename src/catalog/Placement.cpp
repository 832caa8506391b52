#include "catalog/Placement.h"
#include "pagemap/PageMap.h"

#include "catalog/MapRows.h"
#include "catalog/ProductGrids.h"
#include "catalog/TextLimits.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/MessageList.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <cmath>

namespace catalog {

PlacementValidation validatePlacement(const PlacementEntry &entry, const QString &windowCaption)
{
    const NodeKey &target = entry.target;
    const bool adding = entry.mode == PlacementMode::Add;
    const QString productId = vb::Trim(entry.productId);
    const QString page = vb::Trim(entry.pageNumber);
    const QString position = vb::Trim(entry.position);
    const QString weight = vb::Trim(entry.weight);
    const QString blurbSize = vb::Trim(entry.blurbSize);
    const QString price = vb::Trim(entry.price);
    const QString discount = vb::Trim(entry.discount);
    const QString productType = vb::Trim(entry.productType);
    MessageList messages;

    if (!target.isCatalog() && !target.isInsert())
        return {PlacementValidation::Outcome::Refused, {}};

    if (productId.isEmpty() || productId.size() > 15) {
        messages.add(
            "Product ID is a required field and can't be empty and must be less than or equal to "
            "15 characters.");
    } else {
        Query product(QStringLiteral("SELECT ProductID From tblInvMaster WHERE (ProductID = ?)"));
        if (!product.bind(productId).exists())
            messages.add(
                "The item you are trying to add does not exists in the Inventory Database. Please "
                "make certain you have the right Product ID number, or add this item to Inventory "
                "data warehouse first.");
    }

    // A page that is not a whole number could not be stored: it is as good as no page.
    const auto pageNumber = parsePageNumber(page);
    if (!pageNumber)
        messages.add("Please enter a page number for the product.");

    const auto positionNumber = parsePageNumber(position);
    if (position.isEmpty())
        messages.add("Product Position is a required field and can't be empty.");
    else if (!positionNumber)
        messages.add("Product Position must be in numeric format I.E. 1,2,3...");

    if (adding && pageNumber && positionNumber) {
        const MapRows placements = MapRows::placementsOf(target);
        Query taken(QStringLiteral("SELECT ProductID From tblProductsMap WHERE ") +
                    placements.where() + QStringLiteral(" and PageNum=? and PagePosition=?"));
        placements.bindTo(taken).bind(*pageNumber).bind(*positionNumber);
        if (taken.exists())
            messages.add(QStringLiteral("The position for an item you are trying to set already "
                                        "taken by [") +
                         taken.text(0) + QStringLiteral("]. Please choose another position."));
    }

    if (weight.isEmpty())
        messages.add("Product Page Weight is a required field and can't be empty");
    if (!vb::IsNumeric(weight))
        messages.add("Product Page Weight must be in numeric format I.E. 1,2,3...");

    if (blurbSize.isEmpty())
        messages.add("Product Blurb Size is a required field and can't be empty.");
    if (blurbSize.toUpper() != QLatin1String("BLANK")) {
        Query description(QStringLiteral(
            "SELECT ProductID FROM tblInvDescriptions WHERE ProductID = ? and BlurbSize=?"));
        if (!description.bind(productId).bind(blurbSize).exists())
            messages.add(
                "The Description Size for an item you are trying to set does not exists. Please "
                "choose another Blurb Size or choose Blank.");
    }

    if (!price.isEmpty() && !vb::IsNumeric(price))
        messages.add("Product Price must be in numeric format I.E. 1,2,3...");
    if (!discount.isEmpty() && !vb::IsNumeric(discount))
        messages.add("Product Percentage must be in numeric format I.E. 1,2,3...");
    if (!productType.isEmpty() && productType.size() > 5)
        messages.add("Product Type can't exceed five characters.");

    if (adding) {
        const MapRows placements = MapRows::placementsOf(target);
        Query onMap(QStringLiteral("Select ProductID From tblProductsMap WHERE ") +
                    placements.where() + QStringLiteral(" AND COALESCE(ProductID,'')=?"));
        placements.bindTo(onMap).bind(productId);
        if (onMap.exists() &&
            !Dialogs::instance().question(
                QStringLiteral("The product you are trying to insert is already present... Would "
                               "you like to continue?"),
                windowCaption, Dialogs::Icon::Information))
            return {PlacementValidation::Outcome::Cancelled, {}};
    }

    if (!messages.isEmpty())
        return {PlacementValidation::Outcome::Refused, messages.text()};
    return {};
}

PlacementPrice priceOfPlacement(const QString &priceText, const QString &discountText, double msrp,
                                double lastPrice)
{
    const double divisor = msrp == 0 ? 1 : msrp;
    const QString price = vb::Trim(priceText);
    const QString discount = vb::Trim(discountText);
    PlacementPrice result;
    if (!price.isEmpty()) {
        // The price as the editor writes it, "#,##0.00": to the cent.
        result.price =
            vb::ToNumber(vb::Format(vb::ToNumber(price).value_or(0), QStringLiteral("0.00")))
                .value_or(0);
        result.discount = 100 - result.price / divisor * 100;
    } else if (!discount.isEmpty()) {
        result.discount = vb::ToNumber(discount).value_or(0);
        result.price = msrp * (100 - result.discount) / 100;
    } else {
        result.price = lastPrice;
        result.discount = 100 - result.price / divisor * 100;
    }
    return result;
}

void savePlacement(const PlacementEntry &entry, const QDateTime &now, const QString &user)
{
    const NodeKey &target = entry.target;
    const QString productId = vb::Trim(entry.productId);

    double msrp = 0;
    double lastPrice = 0;
    {
        // Ended before the transaction: on the embedded file a read left open would make a second
        // client's save fail at once instead of waiting its turn.
        Query product(QStringLiteral("SELECT ProductID, COALESCE(MSRP,0) as ProdMSRP, "
                                     "COALESCE(LastPrice, COALESCE(MSRP,0)) AS ProdLastPrice FROM "
                                     "tblInvMaster WHERE (ProductID = ?)"));
        if (product.bind(productId).execFirst()) {
            msrp = product.number(1);
            lastPrice = product.number(2);
        }
    }
    const PlacementPrice price = priceOfPlacement(entry.price, entry.discount, msrp, lastPrice);

    Transaction transaction;
    if (entry.mode == PlacementMode::Edit) {
        Query remove(QStringLiteral("DELETE FROM tblProductsMap WHERE ItemID = ?"));
        remove.bind(vb::Trim(entry.itemId).toLongLong()).exec();
        // Another client replaced or deleted it meanwhile: saving would keep theirs and this one.
        if (remove.numRowsAffected() != 1)
            throw DbError(QString::fromLatin1(kPlacementGoneNumber),
                          QString::fromLatin1(kPlacementGoneDescription));
    }

    const QString columns = QStringLiteral(
        "INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, PagePosition, "
        "PageWeight, DescType, Price, Discount, ProductType, ModifyDate, ModifyUser)");
    Query insert(columns + QStringLiteral(" VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ? , ?, ?, ?)"));
    for (const QVariant &value : MapRows::placementKeyValues(target))
        insert.bind(value);
    insert.bind(productId)
        .bind(parsePageNumber(entry.pageNumber).value_or(0))
        .bind(parsePageNumber(entry.position).value_or(0))
        .bind(vb::ToNumber(vb::Trim(entry.weight)).value_or(0))
        .bind(vb::Trim(entry.blurbSize))
        .bind(price.price)
        .bind(price.discount)
        // Empty text, not NULL, when no type is given: readers of the map take it as stored.
        .bind(vb::Trim(entry.productType).toUpper())
        .bindDateTime(now)
        .bind(user)
        .exec();
    MapChanges::announce(mapKeyOf(target));
    transaction.commit();
}

std::optional<StoredPlacement> loadPlacement(const QString &itemId)
{
    Query query(QStringLiteral(
        "SELECT  ItemID, ProductID, PageNum, PagePosition, PageWeight, DescType, ProductType, "
        "ModifyDate, Price, Discount FROM tblProductsMap WHERE (ItemID = ?)"));
    if (!query.bind(vb::Trim(itemId).toLongLong()).execFirst())
        return std::nullopt;
    StoredPlacement placement;
    placement.itemId = query.value(0).toString();
    placement.productId = cellText(query.value(1));
    placement.pageNumber = cellText(query.value(2));
    placement.position = cellText(query.value(3));
    placement.weight = cellText(query.value(4));
    placement.blurbSize = cellText(query.value(5));
    placement.productType = cellText(query.value(6));
    placement.modifyDate =
        vb::FormatDate(vb::ToDateTime(query.text(7)), QStringLiteral("mm/dd/yyyy hh:nn:ss"));
    placement.price = cellText(query.value(8));
    placement.discount = cellText(query.value(9));
    return placement;
}

void deletePlacement(const QString &itemId)
{
    // One statement, in a transaction all the same: the other clients hear of it with its commit.
    Transaction transaction;
    Query(QStringLiteral("DELETE FROM tblProductsMap WHERE ( ItemID = ?)"))
        .bind(vb::Trim(itemId).toLongLong())
        .exec();
    // The editor knows the placement by its ItemID alone: any map may have lost it.
    MapChanges::announce(QString());
    transaction.commit();
}

QStringList placementBlurbSizes()
{
    QStringList sizes{QStringLiteral("Blank")};
    Query query(QStringLiteral("SELECT BlurbSize FROM tblInvBlurbSizes ORDER BY BlurbSize"));
    query.exec();
    while (query.next())
        sizes << query.text(0);
    return sizes;
}

void renameInsert(const QString &insertId, const QString &newName)
{
    refuseTooLong(QStringLiteral("Insert Description"), newName, kInsertNameLength);
    Transaction transaction;
    Query(QStringLiteral("Update tblInsertMap SET InsertDescription = ? WHERE InsertID = ?"))
        .bind(newName)
        .bind(insertId)
        .exec();
    // The editor's tree shows the name.
    MapChanges::announcePages(NodeKey::insertKey(insertId));
    transaction.commit();
}

} // namespace catalog
