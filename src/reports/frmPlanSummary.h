#pragma once

#include "reports/MapChoices.h"
#include "reports/PlanSummary.h"
#include "reports/frmReport.h"

class FlexGrid;
class QChartView;
class QComboBox;
class QPushButton;

// Catalog Plan Summary: one map's pages and sections by the forecast sales placed on them, with
// the forecast of each page as a bar in its section's colour against the map's average.
class frmPlanSummary : public frmReport
{
    Q_OBJECT
public:
    explicit frmPlanSummary(QWidget *parent = nullptr);

    // Shows the summary of the map a catalog editor key belongs to.
    void ShowMap(const QString &mapKey);
    // Shows the map the picker's text names; a text that names none is said so.
    void ShowTyped(const QString &typed);
    const reports::PlanSummary &summary() const { return m_summary; }

private:
    // Reads and shows the summary of a map; the picker is left as it is.
    void readSummary(const catalog::NodeKey &key);
    void showSummary();
    void drawChart();

    std::vector<reports::MapChoice> m_choices;
    reports::PlanSummary m_summary;
    QComboBox *cboMap;
    QPushButton *cmdShow;
    FlexGrid *grdTotals;
    FlexGrid *grdPages;
    FlexGrid *grdSections;
    QChartView *chtForecast;
};
