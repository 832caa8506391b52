#include "catalog/ProductGrids.h"

#include "catalog/MapRows.h"

#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <algorithm>

namespace catalog {

namespace {

QString money()
{
    return QStringLiteral("$#,##0.00");
}

// The product's category and its parent, outer-joined so a product without a category still
// lists. The servers' unparenthesised nested join of the original, written portably.
QString categoryJoin(const QString &productTable)
{
    return QStringLiteral(" LEFT OUTER JOIN (tblInvCategories INNER JOIN tblInvCategories "
                          "tblInvCategories_1 ON tblInvCategories_1.CatID = "
                          "tblInvCategories.SubCatID) ON tblInvCategories.CatID = ") +
           productTable + QStringLiteral(".Category");
}

// Field expressions of the inventory grid's columns, in column order; the search filters and
// sorts by them.
QStringList inventoryFields()
{
    QStringList fields =
        QStringLiteral(
            "ProductID,ProductUPC,ProductName,ActiveProd,ActiveWeb,Category,ProdCost,MSRP,"
            "LastPrice,"
            "ManufacturerName,ReleaseDate,DistEndDate,FirstUseDate,FirstUseCycle,LastUseDate,"
            "LastUseCycle,FeaturedProd,OnHand,Status,Source,Weight,Length,Height,Width,ArtSource")
            .split(QLatin1Char(','));
    fields[5] = dialect::categoryName();
    return fields;
}

// Result columns that fill the inventory grid, in column order.
QStringList inventoryResultColumns()
{
    QStringList columns = inventoryFields();
    columns[5] = QStringLiteral("CategoryName");
    return columns;
}

// The grid's columns only, in its order: a product's comments, fillers and last change are never
// shown, and the server's driver stores and hands over every value read, however small.
QString inventorySelectList()
{
    const QStringList fields = inventoryFields();
    const QStringList names = inventoryResultColumns();
    QStringList items;
    for (int c = 0; c < fields.size(); ++c) {
        if (names.at(c) == QLatin1String("CategoryName"))
            items << fields.at(c) + QStringLiteral(" AS CategoryName");
        else if (names.at(c) == QLatin1String("ManufacturerName"))
            items << QStringLiteral("tblManufactrurers.ManufacturerName");
        else
            items << QStringLiteral("tblInvMaster.") + fields.at(c);
    }
    return items.join(QStringLiteral(", "));
}

void fill(Query &query, int columns, const RowSink &sink,
          const std::function<QString(const Query &, int)> &cell)
{
    while (query.next()) {
        QStringList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << cell(query, c);
        sink(std::move(row));
    }
}

} // namespace

QStringList chosenProductsHeaders()
{
    return {QStringLiteral("Item ID"),
            QStringLiteral("Catalog ID"),
            QStringLiteral("Test ID"),
            QStringLiteral("Club ID"),
            QStringLiteral("Product ID"),
            QStringLiteral("Page Number"),
            QStringLiteral("Position"),
            QStringLiteral("Product Name"),
            QStringLiteral("MSRP"),
            QStringLiteral("Price"),
            QStringLiteral("Discount"),
            QStringLiteral("Last Price"),
            QStringLiteral("Description Size"),
            QStringLiteral("Page Weight"),
            QStringLiteral("Last Use Cycle"),
            QStringLiteral("Last Use Date"),
            QStringLiteral("Active Y/N"),
            QStringLiteral("Product Category"),
            QStringLiteral("Units On Hand")};
}

QStringList recommendedHeaders()
{
    return {QStringLiteral("Product ID"),
            QStringLiteral("Product Name"),
            QStringLiteral("MSRP"),
            QStringLiteral("Last Price"),
            QStringLiteral("On Hand"),
            QStringLiteral("Active"),
            QStringLiteral("FCST Sales"),
            QStringLiteral("Product Rank"),
            QStringLiteral("Category"),
            QStringLiteral("Release Date"),
            QStringLiteral("Distribution End Date")};
}

QStringList inventoryHeaders()
{
    return {QStringLiteral("Product ID"),     QStringLiteral("UPC Code"),
            QStringLiteral("Product Name"),   QStringLiteral("Active"),
            QStringLiteral("Active Web"),     QStringLiteral("Category"),
            QStringLiteral("Cost"),           QStringLiteral("MSRP"),
            QStringLiteral("Last Price"),     QStringLiteral("Manufacturer"),
            QStringLiteral("Release Date"),   QStringLiteral("Dist. End Date"),
            QStringLiteral("First Use Date"), QStringLiteral("First Use Cycle"),
            QStringLiteral("Last Use Date"),  QStringLiteral("Last Use Cycle"),
            QStringLiteral("Featured Prod."), QStringLiteral("Units On Hand"),
            QStringLiteral("Status"),         QStringLiteral("Source"),
            QStringLiteral("Weight"),         QStringLiteral("Length"),
            QStringLiteral("Height"),         QStringLiteral("Width"),
            QStringLiteral("Art Source")};
}

QStringList recurringHeaders()
{
    return {QStringLiteral("Product ID"),   QStringLiteral("UPC Code"),
            QStringLiteral("Product Name"), QStringLiteral("Active"),
            QStringLiteral("Manufacturer"), QStringLiteral("Category"),
            QStringLiteral("Units On Hand")};
}

QList<int> recurringColumnWidthsTwips()
{
    return {1230, 1425, 2115, 645, 1275, 1725, 1230};
}

QString cellText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return vb::CStr(value.toDouble());
    default:
        return sqlvalue::text(value);
    }
}

QString moneyText(const QVariant &value)
{
    return vb::Format(value.toDouble(), money());
}

QString percentText(const QVariant &value)
{
    return vb::Format(value.toDouble() / 100, QStringLiteral("##0.00%"));
}

QString countText(const QVariant &value)
{
    return vb::Format(value.toDouble(), QStringLiteral("#,##0"));
}

QString dateText(const QVariant &value)
{
    // The embedded warehouse hands its dates over as yyyy-mm-dd text: rearranged, not parsed,
    // since a list of 100,000 products holds 400,000 of them.
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        const auto digits = [&text](int from, int count) {
            for (int i = from; i < from + count; ++i)
                if (!text.at(i).isDigit())
                    return false;
            return true;
        };
        if ((text.size() == 10 || (text.size() > 10 && text.at(10) == u' ')) &&
            text.at(4) == u'-' && text.at(7) == u'-' && digits(0, 4) && digits(5, 2) &&
            digits(8, 2))
            return text.mid(5, 2) + u'/' + text.mid(8, 2) + u'/' + text.left(4);
    }
    return vb::FormatDate(sqlvalue::date(value), QStringLiteral("mm/dd/yyyy"));
}

void loadPageProducts(const NodeKey &key, const RowSink &sink)
{
    if (key.isRoot() || !(key.isCatalog() || key.isInsert()))
        return;
    QString sql =
        QStringLiteral(
            "SELECT tblProductsMap.ItemID, tblProductsMap.ClubID, tblProductsMap.CatalogID, "
            "tblProductsMap.TestID, tblProductsMap.ProductID, tblProductsMap.PageNum, "
            "tblProductsMap.PagePosition, tblInvMaster.ProductName, tblInvMaster.MSRP, "
            "tblProductsMap.Price, tblProductsMap.Discount, tblInvMaster.LastPrice, "
            "tblProductsMap.DescType, tblProductsMap.PageWeight, tblInvMaster.LastUseCycle, "
            "tblInvMaster.LastUseDate, tblInvMaster.ActiveProd, ") +
        dialect::categoryName() +
        QStringLiteral(" AS CategoryName, tblInvMaster.OnHand, tblInvMaster.ProductID FROM "
                       "tblProductsMap LEFT OUTER JOIN tblInvMaster ON tblProductsMap.ProductID = "
                       "tblInvMaster.ProductID") +
        categoryJoin(QStringLiteral("tblInvMaster"));
    const MapRows placements = MapRows::placementsOf(key, true);
    sql += QStringLiteral(" WHERE ") + placements.where();
    if (key.isPage())
        sql += QStringLiteral(" AND tblProductsMap.PageNum = ?");
    // The placements come in the order they were made, so the last one listed is the last one
    // placed (the next position follows it) on every warehouse.
    sql += QStringLiteral(" ORDER BY tblProductsMap.ItemID");

    Query query(sql);
    placements.bindTo(query);
    if (key.isPage())
        query.bind(key.pageNumber());
    query.exec();
    // The grid shows catalog, test and club in that order; the statement reads club first.
    static constexpr int kQueryColumn[19] = {0,  2,  3,  1,  4,  5,  6,  7,  8, 9,
                                             10, 11, 12, 13, 14, 15, 16, 17, 18};
    // A placement whose product has gone from the inventory is listed all the same, with empty
    // product columns, so that it can be seen and deleted.
    static constexpr int kMasterProductColumn = 19;
    static constexpr int kProductColumns[] = {7, 8, 11, 14, 15, 16, 17, 18};
    fill(query, 19, sink, [](const Query &q, int c) -> QString {
        if (q.isNull(kMasterProductColumn) &&
            std::ranges::find(kProductColumns, c) != std::end(kProductColumns))
            return {};
        const QVariant value = q.value(kQueryColumn[c]);
        switch (c) {
        case 0:
            return value.toString(); // an identity, never in exponent form
        case 8:
        case 9:
        case 11:
            return moneyText(value);
        case 10:
            return percentText(value);
        case 16:
            return value.toDouble() == 0 ? QStringLiteral("No") : QStringLiteral("Yes");
        case 15:
            return dateText(value);
        case 18:
            return countText(value);
        default:
            return cellText(value);
        }
    });
}

QString nextFreePosition(const std::optional<QString> &lastListedPosition)
{
    if (!lastListedPosition)
        return QStringLiteral("1");
    return QString::number(parsePageNumber(*lastListedPosition).value_or(0) + 1);
}

void loadRecommendations(const NodeKey &key, const RowSink &sink)
{
    if (!key.isCatalog() && !key.isInsert())
        return;
    QString sql =
        QStringLiteral(
            " SELECT tblInvRecommendations.ClubID, tblInvRecommendations.CatalogID, "
            "tblInvRecommendations.ProductID, tblInvMaster.ProductName, tblInvMaster.MSRP, "
            "tblInvMaster.LastPrice, tblInvMaster.OnHand, tblInvMaster.ActiveProd, "
            "tblInvRecommendations.FcstSales, tblInvRecommendations.ProdRank, ") +
        dialect::categoryName() +
        QStringLiteral(" AS CategoryName, tblInvMaster.ReleaseDate, "
                       "tblInvMaster.DistEndDate FROM tblInvRecommendations INNER "
                       "JOIN tblInvMaster ON tblInvRecommendations.ProductID = "
                       "tblInvMaster.ProductID") +
        categoryJoin(QStringLiteral("tblInvMaster"));
    if (key.isCatalog())
        sql += QStringLiteral(" WHERE tblInvRecommendations.ClubID = ? AND "
                              "tblInvRecommendations.CatalogID = ?");
    else
        sql += QStringLiteral(" WHERE tblInvRecommendations.CatalogID = ?");
    // A missing forecast or rank counts as the lowest, as on SQL Server; PostgreSQL would put
    // NULL first in a descending order.
    sql += QStringLiteral(
        " ORDER BY CASE WHEN tblInvRecommendations.FcstSales IS NULL THEN 1 ELSE 0 END, "
        "tblInvRecommendations.FcstSales DESC, CASE WHEN tblInvRecommendations.ProdRank IS NULL "
        "THEN 1 ELSE 0 END, tblInvRecommendations.ProdRank DESC, tblInvRecommendations.ProductID");

    Query query(sql);
    if (key.isCatalog())
        query.bind(key.clubId()).bind(key.catalogId());
    else
        query.bind(key.insertId());
    query.exec();
    fill(query, 11, sink, [](const Query &q, int c) -> QString {
        switch (c) {
        case 0:
            return cellText(q.value(QStringLiteral("ProductID")));
        case 1:
            return cellText(q.value(QStringLiteral("ProductName")));
        case 2:
            return moneyText(q.value(QStringLiteral("MSRP")));
        case 3:
            return moneyText(q.value(QStringLiteral("LastPrice")));
        case 4:
            return countText(q.value(QStringLiteral("OnHand")));
        case 5:
            return cellText(q.value(QStringLiteral("ActiveProd"))) == QLatin1String("1")
                       ? QStringLiteral("Yes")
                       : QStringLiteral("No");
        case 6:
            return moneyText(q.value(QStringLiteral("FcstSales")));
        case 7:
            return countText(q.value(QStringLiteral("ProdRank")));
        case 8:
            return cellText(q.value(QStringLiteral("CategoryName")));
        case 9:
            return dateText(q.value(QStringLiteral("ReleaseDate")));
        default:
            return dateText(q.value(QStringLiteral("DistEndDate")));
        }
    });
}

void loadRecurringProducts(const QString &clubId, const QString &catalogId, const RowSink &sink)
{
    Query query(
        QStringLiteral("SELECT tblInvMaster.ProductID, tblInvMaster.ProductUPC, "
                       "tblInvMaster.ProductName, tblInvMaster.ActiveProd, "
                       "tblManufactrurers.ManufacturerName,tblInvMaster.OnHand, ") +
        dialect::categoryName() +
        QStringLiteral(" AS CategoryName FROM tblRecurringCatgProducts INNER JOIN tblInvMaster "
                       "ON tblRecurringCatgProducts.ProductID = tblInvMaster.ProductID INNER "
                       "JOIN tblCycleSchedule ON tblRecurringCatgProducts.ClubID = "
                       "tblCycleSchedule.ClubID AND tblRecurringCatgProducts.CatalogID = "
                       "tblCycleSchedule.CatalogID") +
        categoryJoin(QStringLiteral("tblInvMaster")) +
        QStringLiteral(" LEFT OUTER JOIN tblManufactrurers ON "
                       "tblManufactrurers.ManufacturerID = tblInvMaster.ManufacturerID WHERE "
                       "tblRecurringCatgProducts.ClubID=? AND "
                       "tblRecurringCatgProducts.CatalogID=?"));
    query.bind(clubId).bind(catalogId).exec();
    fill(query, 7, sink, [](const Query &q, int c) -> QString {
        switch (c) {
        case 0:
            return vb::Trim(cellText(q.value(QStringLiteral("ProductID"))));
        case 1:
            return vb::Trim(cellText(q.value(QStringLiteral("ProductUPC"))));
        case 2:
            return vb::Trim(cellText(q.value(QStringLiteral("ProductName"))));
        case 3:
            return q.value(QStringLiteral("ActiveProd")).toDouble() == 1 ? QStringLiteral("X")
                                                                         : QString();
        case 4:
            return vb::Trim(cellText(q.value(QStringLiteral("ManufacturerName"))));
        case 5:
            return vb::Trim(cellText(q.value(QStringLiteral("CategoryName"))));
        default:
            // Formatted as a number, so a negative count reads -5 (not "0-5").
            return countText(q.value(QStringLiteral("OnHand")));
        }
    });
}

SearchKind inventorySearchKind(int column)
{
    switch (column) {
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 16:
    case 17:
    case 20:
    case 21:
    case 22:
    case 23:
        return SearchKind::Number;
    case 5:
        return SearchKind::Category;
    case 10:
    case 11:
    case 12:
    case 14:
        return SearchKind::Date;
    default:
        return SearchKind::Text;
    }
}

std::optional<QString> inventorySearchRefusal(int column, const QString &criterion)
{
    if (column < 0 || column >= kInventoryColumns)
        return QStringLiteral("Please double click on the column to search for the items.");
    const QString trimmed = vb::Trim(criterion);
    switch (inventorySearchKind(column)) {
    case SearchKind::Number:
        if (!vb::ToNumber(trimmed))
            return QStringLiteral(
                "The search field only accepts numeric values. Please try again.");
        break;
    case SearchKind::Date:
        if (!vb::IsDate(trimmed))
            return QStringLiteral("The search field only accepts date values. Please try again.");
        break;
    default:
        break;
    }
    return std::nullopt;
}

QString inventorySearchStatement(int column, InventoryScope scope)
{
    const QString field = inventoryFields().at(column);
    QString sql =
        QStringLiteral("SELECT ") + inventorySelectList() +
        QStringLiteral(" FROM tblInvMaster LEFT OUTER JOIN tblManufactrurers ON "
                       "tblInvMaster.ManufacturerID = tblManufactrurers.ManufacturerID") +
        categoryJoin(QStringLiteral("tblInvMaster")) +
        (scope == InventoryScope::ActiveOnly
             ? QStringLiteral(" WHERE (tblInvMaster.ActiveProd = 1 OR tblInvMaster.ActiveWeb = 1)")
             : QStringLiteral(" WHERE 1=1"));
    const QString order = QStringLiteral(" ORDER BY ") + field +
                          (column == 0 ? QString() : QStringLiteral(",ProductID"));
    switch (inventorySearchKind(column)) {
    case SearchKind::Text:
        return sql + QStringLiteral(" AND ") +
               dialect::containsParameter(QStringLiteral("LTRIM(RTRIM(") + field +
                                          QStringLiteral("))")) +
               order;
    case SearchKind::Number:
        return sql + QStringLiteral(" AND ") + dialect::equalsNumber(field) + order;
    case SearchKind::Date:
        return sql + QStringLiteral(" AND ") + field + QStringLiteral(" = ?") + order;
    case SearchKind::Category:
        // The criterion is bound inside the pattern, never written into the statement.
        return sql + QStringLiteral(" AND ") + dialect::containsParameter(field) +
               QStringLiteral(" ORDER BY ProductID");
    }
    return sql;
}

void searchInventoryMaster(int column, const QString &criterion, const RowSink &sink)
{
    searchInventoryMaster(column, criterion, InventoryScope::ActiveOnly, sink);
}

void searchInventoryMaster(int column, const QString &criterion, InventoryScope scope,
                           const RowSink &sink)
{
    const QString trimmed = vb::Trim(criterion);
    Query query(inventorySearchStatement(column, scope));
    switch (inventorySearchKind(column)) {
    case SearchKind::Number:
        // Bound as the number it reads as: "1,234" finds 1234, and the servers compare numbers.
        query.bind(*vb::ToNumber(trimmed));
        break;
    case SearchKind::Date:
        query.bindDate(vb::ToDate(trimmed));
        break;
    default:
        query.bind(trimmed);
        break;
    }
    query.exec();
    // Filled by the result columns' names, looked up once for all the rows.
    QList<int> positions;
    for (const QString &column : inventoryResultColumns())
        positions << query.indexOf(column);
    while (query.next()) {
        QStringList row;
        row.reserve(kInventoryColumns);
        for (int c = 0; c < kInventoryColumns; ++c)
            row.append(inventoryCellText(c, query.value(positions.at(c))));
        sink(std::move(row));
    }
}

QString inventoryCellText(int column, const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (column) {
    case 3:
    case 4:
    case 16: {
        // Flags read as the original's driver delivered its bit columns.
        bool isNumber = false;
        const double flag = value.toDouble(&isNumber);
        if (!isNumber)
            return cellText(value);
        return flag != 0 ? QStringLiteral("True") : QStringLiteral("False");
    }
    default:
        return inventorySearchKind(column) == SearchKind::Date ? dateText(value) : cellText(value);
    }
}

} // namespace catalog
