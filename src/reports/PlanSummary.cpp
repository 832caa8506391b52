#include "reports/PlanSummary.h"

#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <cmath>
#include <map>

using catalog::MapRows;
using catalog::NodeKey;

namespace reports {

std::optional<double> PagePlan::perFullPage() const
{
    const auto perWeight = ratio(forecast, fill);
    return perWeight ? std::optional<double>(*perWeight * 100) : std::nullopt;
}

std::optional<double> PlanTotals::averagePerPage() const { return ratio(forecast, pages); }

namespace {

QString sectionText(const QString &section)
{
    return section.isEmpty() ? QStringLiteral("(none)") : section;
}

} // namespace

QString PagePlan::sectionText() const
{
    return sectionIndex < 0 ? QStringLiteral("(no page row)") : reports::sectionText(section);
}

PlanSummary loadPlanSummary(const NodeKey &key, const RowRead &watch)
{
    PlanSummary summary;
    summary.map = NodeKey(catalog::mapKeyOf(key));
    if (!key.isCatalog() && !key.isInsert())
        return summary;

    std::map<int, PagePlan> pages;
    {
        const MapRows pageRows = MapRows::pagesOf(key);
        Query query(QStringLiteral("SELECT PageNum, PageSection FROM ") + pageRows.table() +
                    QStringLiteral(" WHERE ") + pageRows.where() +
                    QStringLiteral(" ORDER BY PageNum"));
        pageRows.bindTo(query).exec();
        while (query.next()) {
            rowRead(watch);
            PagePlan &page = pages[query.value(0).toInt()];
            page.number = query.value(0).toInt();
            page.section = query.text(1);
            if (!summary.sectionNames.contains(page.section))
                summary.sectionNames << page.section;
            page.sectionIndex = int(summary.sectionNames.indexOf(page.section));
        }
    }

    // The warehouse adds up each page: its placements, their weights, and their forecast, each
    // product's split evenly over its Times placements on the map (in doubles, as read). A
    // placement counts for 1 / Times of its product too, so the pages add up to the products
    // placed, and to those without a forecast (products as the warehouse tells them apart:
    // without case). The map's placements are read once.
    const MapRows onMap = MapRows::placementsOf(key, true);
    Query query(
        QStringLiteral(
            "SELECT PageNum, COUNT(*), SUM(PageWeight), SUM(Forecast / Times), SUM(1 / Times), "
            "SUM(CASE WHEN Forecast IS NULL THEN 1 / Times ELSE 0 END) FROM (SELECT "
            "tblProductsMap.PageNum AS PageNum, tblProductsMap.PageWeight AS PageWeight, "
            "CAST(Forecasts.FcstSales AS DOUBLE PRECISION) AS Forecast, CAST(COUNT(*) OVER "
            "(PARTITION BY tblProductsMap.ProductID) AS DOUBLE PRECISION) AS Times FROM "
            "tblProductsMap LEFT OUTER JOIN (SELECT ProductID, SUM(FcstSales) AS FcstSales FROM "
            "tblInvRecommendations WHERE ") +
        (key.isCatalog() ? QStringLiteral("ClubID = ? AND CatalogID = ?")
                         : QStringLiteral("ClubID IS NULL AND CatalogID = ?")) +
        QStringLiteral(" GROUP BY ProductID) Forecasts ON Forecasts.ProductID = "
                       "tblProductsMap.ProductID WHERE ") +
        onMap.where() + QStringLiteral(") Placements GROUP BY PageNum ORDER BY PageNum"));
    if (key.isCatalog())
        query.bind(key.clubId()).bind(key.catalogId());
    else
        query.bind(key.insertId());
    onMap.bindTo(query).exec();
    double products = 0;
    double withoutForecast = 0;
    while (query.next()) {
        rowRead(watch);
        auto [found, added] = pages.try_emplace(query.value(0).toInt());
        PagePlan &page = found->second;
        if (added)
            page.number = found->first;
        page.placements = query.value(1).toInt();
        page.fill = query.number(2);
        page.forecast = query.isNull(3) ? 0 : query.number(3);
        products += query.number(4);
        withoutForecast += query.number(5);
        summary.totals.placements += page.placements;
    }
    summary.totals.products = int(std::lround(products));
    summary.totals.productsWithoutForecast = int(std::lround(withoutForecast));

    std::map<QString, std::size_t> sectionOf;
    for (auto &[number, page] : pages) {
        auto [found, added] = sectionOf.try_emplace(page.section, summary.sections.size());
        if (added)
            summary.sections.push_back({page.section, 0, 0, 0, 0});
        SectionPlan &section = summary.sections[found->second];
        ++section.pages;
        section.placements += page.placements;
        section.weight += page.fill;
        section.forecast += page.forecast;
        summary.totals.forecast += page.forecast;
        summary.pages.push_back(std::move(page));
    }
    summary.totals.pages = int(summary.pages.size());
    return summary;
}

QStringList pageHeaders()
{
    return {QStringLiteral("Page"),       QStringLiteral("Section"),
            QStringLiteral("Placements"), QStringLiteral("Fill"),
            QStringLiteral("Forecast"),   QStringLiteral("Forecast per Full Page")};
}

QList<QStringList> pageRows(const PlanSummary &summary)
{
    QList<QStringList> rows;
    for (const PagePlan &page : summary.pages)
        rows << QStringList{QString::number(page.number),
                            page.sectionText(),
                            QString::number(page.placements),
                            catalog::fillText(page.fill),
                            moneyText(page.forecast),
                            moneyText(page.perFullPage())};
    return rows;
}

QStringList sectionHeaders()
{
    return {QStringLiteral("Section"),          QStringLiteral("Pages"),
            QStringLiteral("Placements"),       QStringLiteral("Space (Pages)"),
            QStringLiteral("Forecast"),         QStringLiteral("Forecast per Page of Space"),
            QStringLiteral("Share of Forecast")};
}

QList<QStringList> sectionRows(const PlanSummary &summary)
{
    QList<QStringList> rows;
    for (const SectionPlan &section : summary.sections)
        rows << QStringList{sectionText(section.section),
                            QString::number(section.pages),
                            QString::number(section.placements),
                            vb::Format(section.space(), QStringLiteral("#,##0.00")),
                            moneyText(section.forecast),
                            moneyText(ratio(section.forecast, section.space())),
                            percentText(ratio(section.forecast, summary.totals.forecast))};
    return rows;
}

QStringList totalHeaders()
{
    return {QStringLiteral("Pages"),    QStringLiteral("Placements"),
            QStringLiteral("Products"), QStringLiteral("Products without Forecast"),
            QStringLiteral("Forecast"), QStringLiteral("Average per Page")};
}

QStringList totalRow(const PlanSummary &summary)
{
    const PlanTotals &t = summary.totals;
    return {QString::number(t.pages),    QString::number(t.placements),
            QString::number(t.products), QString::number(t.productsWithoutForecast),
            moneyText(t.forecast),       moneyText(t.averagePerPage())};
}

} // namespace reports
