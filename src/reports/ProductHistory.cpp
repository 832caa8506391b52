#include "reports/ProductHistory.h"

#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <QHash>

#include <algorithm>

namespace reports {

namespace {

QString dateText(const QDate &date) { return vb::FormatDate(date, QStringLiteral("mm/dd/yyyy")); }

QString moneyOrBlank(const Query &query, int column, FigureTexts &texts)
{
    return query.isNull(column) ? QString() : texts.money(query.number(column));
}

QString numberOrBlank(const Query &query, int column, FigureTexts &texts)
{
    return query.isNull(column) ? QString() : texts.count(query.number(column));
}

} // namespace

QDate insertDate(const QString &insertId)
{
    if (insertId.size() != 14)
        return {};
    return QDate::fromString(insertId.left(8), QStringLiteral("MMddyyyy"));
}

ProductHistory loadProductHistory(const QString &typedId, const RowRead &watch)
{
    ProductHistory history;
    history.productId = typedId.trimmed();
    {
        Query query(QStringLiteral("SELECT ProductName FROM tblInvMaster WHERE ProductID = ?"));
        query.bind(history.productId).exec();
        if (query.next())
            history.productName = query.text(0);
    }
    {
        // An insert's placements have neither club nor test; its name comes from its pages.
        Query query(QStringLiteral(
            "SELECT tblProductsMap.ClubID, tblProductsMap.CatalogID, tblProductsMap.TestID, "
            "tblProductsMap.PageNum, tblProductsMap.PagePosition, tblProductsMap.PageWeight, "
            "tblProductsMap.Price, tblProductsMap.Discount, tblCycleSchedule.AAAddressStartDate, "
            "Inserts.InsertDescription FROM tblProductsMap LEFT OUTER JOIN tblCycleSchedule ON "
            "tblCycleSchedule.ClubID = tblProductsMap.ClubID AND tblCycleSchedule.CatalogID = "
            "tblProductsMap.CatalogID LEFT OUTER JOIN (SELECT InsertID, MIN(InsertDescription) AS "
            "InsertDescription FROM tblInsertMap GROUP BY InsertID) Inserts ON "
            "tblProductsMap.ClubID IS NULL AND tblProductsMap.TestID IS NULL AND "
            "Inserts.InsertID = tblProductsMap.CatalogID WHERE tblProductsMap.ProductID = ?"));
        query.bind(history.productId).exec();
        std::vector<std::pair<QDate, QStringList>> rows;
        FigureTexts texts;
        QHash<QDate, QString> dates; // a date's text made once
        while (query.next()) {
            rowRead(watch);
            const bool insert = query.isNull(0) && query.isNull(2);
            const QDate date = insert ? insertDate(query.text(1)) : query.date(8);
            auto shown = dates.constFind(date);
            if (shown == dates.constEnd())
                shown = dates.insert(date, dateText(date));
            rows.emplace_back(date, QStringList{insert ? QStringLiteral("Insert") : query.text(0),
                                                insert ? query.text(9) : query.text(1),
                                                insert ? query.text(1) : query.text(2),
                                                texts.number(query.value(3).toInt()),
                                                texts.number(query.value(4).toInt()),
                                                numberOrBlank(query, 5, texts),
                                                moneyOrBlank(query, 6, texts),
                                                numberOrBlank(query, 7, texts), *shown});
        }
        // Newest first; undated maps last; then by map, page and position.
        std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
            if (a.first.isValid() != b.first.isValid())
                return a.first.isValid();
            if (a.first != b.first)
                return a.first > b.first;
            for (int col : {0, 1, 2})
                if (const int c = a.second[col].compare(b.second[col], Qt::CaseInsensitive))
                    return c < 0;
            return a.second[3].toInt() != b.second[3].toInt()
                       ? a.second[3].toInt() < b.second[3].toInt()
                       : a.second[4].toInt() < b.second[4].toInt();
        });
        for (auto &[date, row] : rows)
            history.placements << row;
    }
    {
        FigureTexts texts;
        Query query(QStringLiteral(
            "SELECT ClubID, CatalogID, FcstSales, ProdRank FROM tblInvRecommendations WHERE "
            "ProductID = ? ORDER BY CASE WHEN ClubID IS NULL THEN 1 ELSE 0 END, ClubID, "
            "CatalogID"));
        query.bind(history.productId).exec();
        while (query.next()) {
            rowRead(watch);
            history.recommendations
                << QStringList{query.isNull(0) ? QStringLiteral("Insert") : query.text(0),
                               query.text(1), moneyOrBlank(query, 2, texts), query.text(3)};
        }
    }
    Query query(QStringLiteral(
        "SELECT tblRecurringCatgProducts.ClubID, tblRecurringCatgProducts.CatalogID, "
        "tblCycleSchedule.Description, tblCycleSchedule.AAAddressStartDate FROM "
        "tblRecurringCatgProducts LEFT OUTER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = "
        "tblRecurringCatgProducts.ClubID AND tblCycleSchedule.CatalogID = "
        "tblRecurringCatgProducts.CatalogID WHERE tblRecurringCatgProducts.ProductID = ? ORDER BY "
        "tblRecurringCatgProducts.ClubID, tblRecurringCatgProducts.CatalogID"));
    query.bind(history.productId).exec();
    while (query.next()) {
        rowRead(watch);
        history.recurring << QStringList{query.text(0), query.text(1), query.text(2),
                                         dateText(query.date(3))};
    }
    return history;
}

QStringList placementHeaders()
{
    return {QStringLiteral("Club"),
            QStringLiteral("Catalog / Insert"),
            QStringLiteral("Test / Insert ID"),
            QStringLiteral("Page"),
            QStringLiteral("Position"),
            QStringLiteral("Weight"),
            QStringLiteral("Price"),
            QStringLiteral("Discount"),
            QStringLiteral("Date")};
}

QStringList recommendationHeaders()
{
    return {QStringLiteral("Club"), QStringLiteral("Catalog / Insert"), QStringLiteral("Forecast"),
            QStringLiteral("Rank")};
}

QStringList recurringHeaders()
{
    return {QStringLiteral("Club"), QStringLiteral("Catalog"), QStringLiteral("Description"),
            QStringLiteral("Address Start")};
}

} // namespace reports
