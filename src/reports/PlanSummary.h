#pragma once

#include "catalog/NodeKey.h"
#include "reports/ReportSupport.h"

#include <QStringList>

#include <optional>
#include <vector>

// Catalog Plan Summary: which pages and sections of one map (a catalog version or an insert) earn
// their space, by the forecast sales of what is placed on them.
//
// A product's forecast is its recommendation for the map: the club and catalog of a catalog
// version, the insert's ID (with no club) for an insert; several rows are summed. A product placed
// more than once on the map has its forecast split evenly over its placements, so the pages add
// up to the map's total.
namespace reports {

struct PagePlan
{
    int number = 0;
    QString section;
    int sectionIndex = -1; // in PlanSummary::sections; -1 for a page with placements but no row
    int placements = 0;
    double fill = 0; // summed page weights; 100 fills the page
    double forecast = 0;
    // Forecast over the page's fill, as if the page were full; none for an empty page.
    std::optional<double> perFullPage() const;
    QString sectionText() const; // as the grids show it: "(none)", "(no page row)"
};

struct SectionPlan
{
    QString section; // empty for pages without a section, or without a page row
    int pages = 0;
    int placements = 0;
    double weight = 0;
    double forecast = 0;
    double space() const { return weight / 100; } // in pages
};

struct PlanTotals
{
    int pages = 0;
    int placements = 0;
    int products = 0;                // distinct products placed
    int productsWithoutForecast = 0; // of those, the ones the map has no forecast for
    double forecast = 0;
    std::optional<double> averagePerPage() const;
};

struct PlanSummary
{
    catalog::NodeKey map;
    // Sections of the pages with a row, in the order they first appear, as the page map colours
    // them (catalog::sectionColour).
    QStringList sectionNames;
    std::vector<PagePlan> pages;       // in page order
    std::vector<SectionPlan> sections; // in the order they first appear
    PlanTotals totals;
};

// Throws DbError, or StoppedByOperator when the watch says so.
PlanSummary loadPlanSummary(const catalog::NodeKey &map, const RowRead &watch = {});

// The grids' rows, formatted.
QStringList pageHeaders();
QList<QStringList> pageRows(const PlanSummary &summary);
QStringList sectionHeaders();
QList<QStringList> sectionRows(const PlanSummary &summary);
QStringList totalHeaders();
QStringList totalRow(const PlanSummary &summary);

} // namespace reports
