#include "reports/PlanSummary.h"

#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <map>
#include <set>

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

struct PlacedProduct
{
    int page = 0;
    QString productId;
    double weight = 0;
    std::optional<double> forecast;
};

QString sectionText(const QString &section)
{
    return section.isEmpty() ? QStringLiteral("(none)") : section;
}

} // namespace

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

    // An insert's recommendations are those under its ID with no club: a catalog with the same ID
    // keeps its own.
    const MapRows placements = MapRows::placementsOf(key, true);
    Query query(
        QStringLiteral("SELECT tblProductsMap.PageNum, tblProductsMap.ProductID, "
                       "tblProductsMap.PageWeight, Forecasts.FcstSales FROM tblProductsMap LEFT "
                       "OUTER JOIN (SELECT ProductID, SUM(FcstSales) AS FcstSales FROM "
                       "tblInvRecommendations WHERE ") +
        (key.isCatalog() ? QStringLiteral("ClubID = ? AND CatalogID = ?")
                         : QStringLiteral("ClubID IS NULL AND CatalogID = ?")) +
        QStringLiteral(" GROUP BY ProductID) Forecasts ON Forecasts.ProductID = "
                       "tblProductsMap.ProductID WHERE ") +
        placements.where());
    if (key.isCatalog())
        query.bind(key.clubId()).bind(key.catalogId());
    else
        query.bind(key.insertId());
    placements.bindTo(query).exec();
    std::vector<PlacedProduct> placed;
    std::map<QString, int> placementsOfProduct; // keyed as the warehouse compares: without case
    while (query.next()) {
        rowRead(watch);
        PlacedProduct p{query.value(0).toInt(), query.text(1), query.number(2), std::nullopt};
        if (!query.isNull(3))
            p.forecast = query.number(3);
        ++placementsOfProduct[p.productId.toCaseFolded()];
        placed.push_back(std::move(p));
    }

    std::set<QString> withoutForecast;
    for (const PlacedProduct &p : placed) {
        auto [found, added] = pages.try_emplace(p.page);
        if (added)
            found->second.number = p.page;
        PagePlan &page = found->second;
        ++page.placements;
        page.fill += p.weight;
        if (p.forecast)
            page.forecast += *p.forecast / placementsOfProduct[p.productId.toCaseFolded()];
        else
            withoutForecast.insert(p.productId.toCaseFolded());
    }

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
    summary.totals.placements = int(placed.size());
    summary.totals.products = int(placementsOfProduct.size());
    summary.totals.productsWithoutForecast = int(withoutForecast.size());
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
                            page.sectionIndex < 0 ? QStringLiteral("(no page row)")
                                                  : sectionText(page.section),
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
