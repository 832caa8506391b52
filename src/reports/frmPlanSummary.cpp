#include "reports/frmPlanSummary.h"

#include "pagemap/PageMap.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QValueAxis>

#include <algorithm>

using catalog::NodeKey;

frmPlanSummary::frmPlanSummary(QWidget *parent)
    : frmReport(QStringLiteral("frmPlanSummary"), QStringLiteral("Catalog Plan Summary"), parent)
{
    cboMap = named(new QComboBox(this), "cboMap");
    cboMap->setEditable(true);
    cboMap->setInsertPolicy(QComboBox::NoInsert);
    cboMap->setMinimumContentsLength(40);
    cboMap->completer()->setFilterMode(Qt::MatchContains);
    cboMap->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cmdShow = newButton(this, "cmdShow", QStringLiteral("Show"));
    pickerRow()->addWidget(newLabel(this, "lblMap", QStringLiteral("Map:"), cboMap));
    pickerRow()->addWidget(cboMap);
    pickerRow()->addWidget(cmdShow);

    grdTotals = addGrid("grdTotals", QStringLiteral("Totals"));
    grdTotals->setMaximumHeight(52);
    grdSections = addGrid("grdSections", QStringLiteral("Sections"));
    grdPages = addGrid("grdPages", QStringLiteral("Pages"));
    chtForecast = addChart("chtForecast");

    auto *grids = new QSplitter(Qt::Horizontal, this);
    grids->addWidget(grdPages);
    grids->addWidget(grdSections);
    grids->setStretchFactor(0, 1);
    grids->setStretchFactor(1, 1);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(chtForecast);
    split->addWidget(grids);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    body()->addWidget(grdTotals);
    body()->addWidget(split, 1);

    connect(cmdShow, &QPushButton::clicked, this, [this] { ShowTyped(cboMap->currentText()); });
    showOnReturn(*cboMap, [this] { ShowTyped(cboMap->currentText()); });
    connect(cboMap, &QComboBox::activated, this,
            [this](int index) { ShowMap(cboMap->itemData(index).toString()); });

    setFocusProxy(cboMap);
    showSummary();
    attempt([this] {
        m_choices = reports::loadMapChoices();
        for (const reports::MapChoice &choice : m_choices)
            cboMap->addItem(choice.text, choice.key);
    });
    cboMap->setCurrentIndex(-1);
    setStatusText(QStringLiteral("Choose a catalog version or an insert."));
}

void frmPlanSummary::ShowTyped(const QString &typed)
{
    if (const reports::MapChoice *choice = reports::findMapChoice(m_choices, typed))
        ShowMap(choice->key);
    else
        inform(QStringLiteral("No catalog version or insert is listed as \"") + typed.trimmed() +
               QStringLiteral("\"."));
}

void frmPlanSummary::ShowMap(const QString &mapKey)
{
    const NodeKey key(catalog::mapKeyOf(NodeKey(mapKey)));
    if (!key.isCatalog() && !key.isInsert())
        return;
    const int index = cboMap->findData(key.key());
    cboMap->setCurrentIndex(index);
    if (index < 0)
        cboMap->setEditText(key.isCatalog()
                                ? key.clubId() + QStringLiteral("  ") +
                                      catalog::catalogTestText(key.catalogId(), key.testId())
                                : key.insertId());
    setSubject(cboMap->currentText());
    readSummary(key);
}

void frmPlanSummary::readSummary(const NodeKey &key)
{
    BusyPointer busy;
    reports::PlanSummary summary;
    const bool read = readReport(
        [&](const reports::RowRead &watch) { summary = reports::loadPlanSummary(key, watch); });
    m_summary = read ? std::move(summary) : reports::PlanSummary();
    showSummary();
    followMaps(read ? QStringList{key.key()} : QStringList(), [this, key] { readSummary(key); });
    if (read)
        setStatusText(QStringLiteral("%1 pages, %2 sections, %3 placements")
                          .arg(m_summary.pages.size())
                          .arg(m_summary.sections.size())
                          .arg(m_summary.totals.placements));
}

void frmPlanSummary::showSummary()
{
    showRows(*grdTotals, reports::totalHeaders(),
             m_summary.map.isRoot() ? QList<QStringList>()
                                    : QList<QStringList>{reports::totalRow(m_summary)});
    showRows(*grdSections, reports::sectionHeaders(), reports::sectionRows(m_summary));
    showRows(*grdPages, reports::pageHeaders(), reports::pageRows(m_summary));
    // Each section in its colour, as on the page map and in the chart, which the grids explain:
    // a legend beside the chart had no room for a book's twenty sections.
    std::vector<quint32> colours;
    colours.reserve(m_summary.pages.size());
    for (const reports::PagePlan &page : m_summary.pages)
        colours.push_back(reports::bgr(catalog::sectionColour(page.sectionIndex)));
    grdPages->setColBackColors(1, 1, colours);
    colours.clear();
    for (const reports::SectionPlan &section : m_summary.sections)
        colours.push_back(reports::bgr(
            catalog::sectionColour(int(m_summary.sectionNames.indexOf(section.section)))));
    grdSections->setColBackColors(0, 1, colours);
    drawChart();
}

void frmPlanSummary::drawChart()
{
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("Forecast per page"));
    chart->legend()->hide();
    const auto &pages = m_summary.pages;
    if (!pages.empty()) {
        // Each section's pages as one filled outline of bars, page i standing at i: a chart of
        // one item a section draws many times faster than one of a bar item a page and section.
        std::vector<QLineSeries *> outlines;
        const auto outlineOf = [&](int sectionIndex) {
            const std::size_t slot = std::size_t(sectionIndex + 1);
            if (outlines.size() <= slot)
                outlines.resize(slot + 1, nullptr);
            if (!outlines[slot])
                outlines[slot] = new QLineSeries;
            return outlines[slot];
        };
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const double x = double(i);
            const double height = pages[i].forecast;
            *outlineOf(pages[i].sectionIndex) << QPointF(x - 0.4, 0) << QPointF(x - 0.4, height)
                                              << QPointF(x + 0.4, height) << QPointF(x + 0.4, 0);
        }
        auto *axisX = new QCategoryAxis;
        axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axisX->setTitleText(QStringLiteral("Page"));
        axisX->setGridLineVisible(false);
        axisX->setRange(-0.5, double(pages.size()) - 0.5);
        // Every page numbered in a short book; in a long one every few pages, so numbers stay
        // upright and apart.
        const std::size_t every = pages.size() <= 40 ? 1 : (pages.size() + 24) / 25;
        for (std::size_t i = 0; i < pages.size(); i += every)
            axisX->append(QString::number(pages[i].number), double(i));
        chart->addAxis(axisX, Qt::AlignBottom);
        double highest = 0;
        for (const reports::PagePlan &page : pages)
            highest = std::max(highest, page.forecast);
        auto *axisY = new QValueAxis;
        // Whole dollars, but for a map forecast to sell next to nothing: its steps are cents,
        // and whole dollars would label them "$0, $0, $1, $1".
        axisY->setLabelFormat(highest >= 10 ? QStringLiteral("$%.0f") : QStringLiteral("$%.2f"));
        chart->addAxis(axisY, Qt::AlignLeft);
        axisY->setRange(0, highest > 0 ? highest : 1);

        for (std::size_t slot = 0; slot < outlines.size(); ++slot) {
            if (!outlines[slot])
                continue;
            const int sectionIndex = int(slot) - 1;
            auto *bars = new QAreaSeries(outlines[slot]);
            const QColor colour = reports::rgb(catalog::sectionColour(sectionIndex));
            bars->setColor(colour);
            bars->setBorderColor(colour);
            chart->addSeries(bars);
            bars->attachAxis(axisX);
            bars->attachAxis(axisY);
            // The page under the pointer names its section and forecast.
            connect(bars, &QAreaSeries::hovered, chart,
                    [this, chart](const QPointF &point, bool over) {
                        const auto i = std::size_t(std::lround(point.x()));
                        if (!over || i >= m_summary.pages.size()) {
                            chart->setToolTip(QString());
                            return;
                        }
                        const reports::PagePlan &page = m_summary.pages[i];
                        chart->setToolTip(QStringLiteral("Page %1, %2: %3")
                                              .arg(page.number)
                                              .arg(page.sectionText(),
                                                   reports::moneyText(page.forecast)));
                    });
        }

        auto *average = new QLineSeries;
        const double level = m_summary.totals.averagePerPage().value_or(0);
        average->append(-0.5, level);
        average->append(double(pages.size()) - 0.5, level);
        QPen pen(Qt::black);
        pen.setWidth(2);
        pen.setStyle(Qt::DashLine);
        average->setPen(pen);
        chart->addSeries(average);
        average->attachAxis(axisX);
        average->attachAxis(axisY);
        chart->setTitle(QStringLiteral("Forecast per page (dashed: the average, ") +
                        reports::moneyText(m_summary.totals.averagePerPage()) +
                        QStringLiteral(")"));
        axisY->applyNiceNumbers();
    }
    QChart *old = chtForecast->chart();
    chtForecast->setChart(chart);
    delete old;
}
