#include "reports/frmMailingCost.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "warehouse/Vb.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

QDateEdit *datePicker(QWidget *parent, const char *name, const QDate &date)
{
    auto *picker = named(new QDateEdit(date, parent), name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    return picker;
}

constexpr quint32 kCatalogRowColour = 0xF0E8E0; // pale blue-grey, as BGR
constexpr quint32 kTotalRowColour = 0xD8D8D8;

} // namespace

frmMailingCost::frmMailingCost(QWidget *parent)
    : frmReport(QStringLiteral("frmMailingCost"), QStringLiteral("Mailing Cost and Response"),
                parent)
{
    // The last twelve months and the mailings planned for the coming three.
    const QDate today = QDate::currentDate();
    dtpFrom = datePicker(this, "dtpFrom", today.addYears(-1));
    dtpTo = datePicker(this, "dtpTo", today.addMonths(3));
    cmdShow = newButton(this, "cmdShow", QStringLiteral("Show"));
    pickerRow()->addWidget(newLabel(this, "lblFrom", QStringLiteral("Mailed from:"), dtpFrom));
    pickerRow()->addWidget(dtpFrom);
    pickerRow()->addWidget(newLabel(this, "lblTo", QStringLiteral("to:"), dtpTo));
    pickerRow()->addWidget(dtpTo);
    pickerRow()->addWidget(cmdShow);

    grdMailing = addGrid("grdMailing", QString());
    chtCostPerResponse = addChart("chtCostPerResponse");
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grdMailing);
    split->addWidget(chtCostPerResponse);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    body()->addWidget(split, 1);
    setFocusProxy(dtpFrom);

    connect(cmdShow, &QPushButton::clicked, this, &frmMailingCost::ShowReport);
    ShowReport();
}

void frmMailingCost::ShowReport()
{
    const QDate from = dtpFrom->date();
    const QDate to = dtpTo->date();
    setSubject(QStringLiteral("Mailed from ") + vb::FormatDate(from, QStringLiteral("mm/dd/yyyy")) +
               QStringLiteral(" to ") + vb::FormatDate(to, QStringLiteral("mm/dd/yyyy")));
    BusyPointer busy;
    reports::MailingReport report;
    const bool read = readReport([&](const reports::RowRead &watch) {
        report = reports::loadMailingReport(from, to, watch);
    });
    m_report = read ? std::move(report) : reports::MailingReport();
    showRows(*grdMailing, reports::mailingHeaders(), reports::mailingRows(m_report));
    for (int row = 1; row < grdMailing->Rows(); ++row) {
        if (grdMailing->cellText(row, 1) == QLatin1String("All lists and packages"))
            grdMailing->setRowsBackColor(row, row, kCatalogRowColour);
    }
    if (grdMailing->Rows() > 1)
        grdMailing->setRowsBackColor(grdMailing->Rows() - 1, grdMailing->Rows() - 1,
                                     kTotalRowColour);
    drawChart();
    if (read)
        setStatusText(m_report.catalogs.empty()
                          ? QStringLiteral("Nothing was mailed in these dates.")
                          : QStringLiteral("%1 catalogs, %2 lists")
                                .arg(m_report.catalogs.size())
                                .arg(m_report.listsByCostPerResponse.size()));
}

void frmMailingCost::drawChart()
{
    auto *chart = new QChart;
    const auto &lists = m_report.listsByCostPerResponse;
    const int shown = std::min<int>(int(lists.size()), kChartedLists);
    chart->setTitle(int(lists.size()) > shown
                        ? QStringLiteral("Cost per expected response: the %1 cheapest of %2 lists")
                              .arg(shown)
                              .arg(lists.size())
                        : QStringLiteral("Cost per expected response per list"));
    chart->legend()->hide();
    if (shown > 0) {
        auto *set = new QBarSet(QStringLiteral("Cost per response"));
        set->setColor(QColor(0x2E, 0x86, 0xAB));
        QStringList names;
        // A horizontal chart draws its first category at the bottom: the cheapest goes last.
        for (int i = shown - 1; i >= 0; --i) {
            set->append(*lists[std::size_t(i)].figures.costPerResponse());
            names << lists[std::size_t(i)].name;
        }
        auto *bars = new QHorizontalBarSeries;
        bars->append(set);
        bars->setLabelsVisible(true);
        bars->setLabelsFormat(QStringLiteral("$@value"));
        bars->setLabelsPrecision(4);
        chart->addSeries(bars);
        auto *axisY = new QBarCategoryAxis;
        axisY->append(names);
        chart->addAxis(axisY, Qt::AlignLeft);
        bars->attachAxis(axisY);
        auto *axisX = new QValueAxis;
        axisX->setLabelFormat(QStringLiteral("$%.2f"));
        axisX->setMin(0);
        chart->addAxis(axisX, Qt::AlignBottom);
        bars->attachAxis(axisX);
        axisX->applyNiceNumbers();
    }
    QChart *old = chtCostPerResponse->chart();
    chtCostPerResponse->setChart(chart);
    delete old;
}
