#pragma once

#include "reports/MailingCost.h"
#include "reports/frmReport.h"

class FlexGrid;
class QChartView;
class QDateEdit;
class QPushButton;

// Mailing Cost and Response: the ad codes of a mail-date range by catalog, list and package, with
// the cost per expected response of each list, cheapest first.
class frmMailingCost : public frmReport
{
    Q_OBJECT
public:
    explicit frmMailingCost(QWidget *parent = nullptr);

    // Reads the report for the dates in the pickers.
    void ShowReport();
    const reports::MailingReport &report() const { return m_report; }

    // How many lists the chart shows at most.
    static constexpr int kChartedLists = 25;

private:
    void drawChart();

    reports::MailingReport m_report;
    QDateEdit *dtpFrom;
    QDateEdit *dtpTo;
    QPushButton *cmdShow;
    FlexGrid *grdMailing;
    QChartView *chtCostPerResponse;
};
