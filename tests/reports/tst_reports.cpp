// The reports' figures on a small fixture worked out by hand (ReportFixture.h), on both
// warehouses.
#include "ReportFixture.h"
#include "reports/MailingCost.h"
#include "reports/MapChoices.h"
#include "reports/PlanSummary.h"
#include "reports/ProductHistory.h"
#include "reports/VersionCompare.h"
#include "warehouse/StatementWatch.h"
#include "warehouse/Vb.h"

#include <QTest>

using namespace reports;
using catalog::NodeKey;

namespace {

QString joined(const QList<QStringList> &rows)
{
    QStringList lines;
    for (const QStringList &row : rows)
        lines << row.join(QLatin1Char('|'));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class ReportsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_warehouse.emplace();
        fixture::reportMaps();
    }
    void cleanup() { m_warehouse.reset(); }

    void planSummaryAddsUp_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("totals");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QString>("sections");
        // A1 (150) is placed twice: 75 on page 1 and 75 on page 4. B1 has only another club's
        // forecast; page 3 has nothing, so no forecast per full page.
        QTest::newRow("catalog")
            << "ID|MYST|SPRING|0000|003"
            << "4|4|3|1|$175.00|$43.75"
            << "1|Cover|2|100|$100.00|$100.00\n2|Fiction|1|120|$0.00|$0.00\n"
               "3|Fiction|0|0|$0.00|\n4|Mystery|1|30|$75.00|$250.00"
            << "Cover|1|2|1.00|$100.00|$100.00|57.14%\nFiction|2|1|1.20|$0.00|$0.00|0.00%\n"
               "Mystery|1|1|0.30|$75.00|$250.00|42.86%";
        // The insert's own forecasts only: A2's 25 for the catalog of the same ID is not its.
        QTest::newRow("insert with the catalog's ID") << "INS|SPRING"
                                                      << "1|2|2|1|$40.00|$40.00"
                                                      << "1|Front|2|100|$40.00|$40.00"
                                                      << "Front|1|2|1.00|$40.00|$40.00|100.00%";
        QTest::newRow("no map") << "CTG"
                                << "0|0|0|0|$0.00|"
                                << ""
                                << "";
    }
    void planSummaryAddsUp()
    {
        QFETCH(QString, map);
        QFETCH(QString, totals);
        QFETCH(QString, pages);
        QFETCH(QString, sections);
        const PlanSummary summary = loadPlanSummary(NodeKey(map));
        QCOMPARE(totalRow(summary).join(QLatin1Char('|')), totals);
        QCOMPARE(joined(pageRows(summary)), pages);
        QCOMPARE(joined(sectionRows(summary)), sections);
        // The pages add up to the map's forecast.
        double pageForecasts = 0;
        for (const PagePlan &page : summary.pages)
            pageForecasts += page.forecast;
        QCOMPARE(pageForecasts, summary.totals.forecast);
        // A stop by the operator ends the reading.
        if (!summary.pages.empty())
            QVERIFY_THROWS_EXCEPTION(StoppedByOperator,
                                     loadPlanSummary(NodeKey(map), [] { return false; }));
    }

    void mailingCostAddsUp_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("cheapestFirst");
        // Spring and spring are one catalog, CAT and cat one package; three costs of 1.005 make
        // $3.02 for CAT. Renters expect nothing back: no cost per response, and not charted.
        QTest::newRow("March") << QDate(2026, 3, 1) << QDate(2026, 3, 31)
                               << "Fall|All lists and packages|500|$150.00|10|$15.00\n"
                                  "Fall|List: Members|500|$150.00|10|$15.00\n"
                                  "Fall|Package: CAT  Package|500|$150.00|10|$15.00\n"
                                  "Spring|All lists and packages|4,000|$4.02|30|$0.13\n"
                                  "Spring|List: Members|2,000|$2.01|30|$0.07\n"
                                  "Spring|List: Renters|2,000|$2.01|0|\n"
                                  "Spring|Package: CAT  Package|3,000|$3.02|25|$0.12\n"
                                  "Spring|Package: SOLO  Package|1,000|$1.01|5|$0.20\n"
                                  "Total||4,500|$154.02|40|$3.85"
                               << "Members";
        QTest::newRow("one day, both ends included")
            << QDate(2026, 3, 31) << QDate(2026, 3, 31)
            << "spring|All lists and packages|2,000|$2.01|0|\nspring|List: Renters|2,000|$2.01|0|\n"
               "spring|Package: cat  Package|2,000|$2.01|0|\nTotal||2,000|$2.01|0|"
            << "";
        QTest::newRow("nothing mailed") << QDate(2026, 4, 1) << QDate(2026, 4, 30) << ""
                                        << "";
    }
    void mailingCostAddsUp()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, rows);
        QFETCH(QString, cheapestFirst);
        fixture::adCodes();
        const MailingReport report = loadMailingReport(from, to);
        QCOMPARE(joined(mailingRows(report)), rows);
        QStringList lists;
        for (const MailingLine &line : report.listsByCostPerResponse)
            lists << line.name;
        QCOMPARE(lists.join(QLatin1Char(',')), cheapestFirst);
    }

    void productHistoryAcrossMaps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("placements");
        QTest::addColumn<QString>("recommendations");
        QTest::addColumn<QString>("recurring");
        const QString today = vb::FormatDate(QDate::currentDate(), QStringLiteral("mm/dd/yyyy"));
        // Newest first: the catalog (addresses start today), the insert made 03/01/2026, then the
        // insert whose ID is no date.
        const QString a2 = QStringLiteral("MYST|SPRING|0000|1|2|40|$15.00|25|") + today +
                           QStringLiteral("\nInsert|Dated Flyer|03012026101010|1|3|20|$15.00|25|"
                                          "03/01/2026\nInsert|Spring Flyer|SPRING|1|1|50|$15.00|"
                                          "25|");
        const QString recurring = QStringLiteral("MYST|SPRING|Catalog|") + today;
        QTest::newRow("catalog and inserts")
            << "A2" << a2 << "MYST|SPRING|$25.00|3\nInsert|SPRING|$40.00|1" << recurring;
        QTest::newRow("typed in lower case with blanks")
            << "  a2 " << a2 << "MYST|SPRING|$25.00|3\nInsert|SPRING|$40.00|1" << recurring;
        QTest::newRow("insert only, no forecast") << "C1"
                                                  << "Insert|Spring Flyer|SPRING|1|2|50|$15.00|25|"
                                                  << "Insert|SPRING||2"
                                                  << "";
        for (const char *hostile : {"A2' OR '1'='1", "A%", "A_"})
            QTest::newRow(hostile) << hostile << ""
                                   << ""
                                   << "";
        QTest::newRow("very long") << QString(5000, QLatin1Char('A')) << ""
                                   << ""
                                   << "";
        QTest::newRow("non-ASCII") << QStringLiteral("Ä2 ✓") << ""
                                   << ""
                                   << "";
    }
    void productHistoryAcrossMaps()
    {
        QFETCH(QString, typed);
        QFETCH(QString, placements);
        QFETCH(QString, recommendations);
        QFETCH(QString, recurring);
        fixture::insertPage(QStringLiteral("03012026101010"), QStringLiteral("Dated Flyer"), 1);
        fixture::Placement dated;
        dated.club = QVariant();
        dated.test = QVariant();
        dated.catalog = QStringLiteral("03012026101010");
        dated.product = QStringLiteral("A2");
        dated.position = 3;
        TestWarehouse::exec(QStringLiteral("UPDATE tblProductsMap SET PageWeight = 20 WHERE "
                                           "ItemID = ?"),
                            {fixture::placement(dated)});
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, "
                           "CatalogID, ProductID) VALUES ('MYST', 'SPRING', 'A2')"));
        const ProductHistory history = loadProductHistory(typed);
        QCOMPARE(joined(history.placements), placements);
        QCOMPARE(joined(history.recommendations), recommendations);
        QCOMPARE(joined(history.recurring), recurring);
    }

    void compareVersionsStatuses_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("withUnchanged");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("sections");
        // A1 is placed twice: the placement on the same page and position pairs first, so only
        // the other one moved (and, repriced too, counts under both).
        const QString changes =
            QStringLiteral("Repriced|A2|Book A2|1|2|$15.00|25|1|2|$12.00|25\n"
                           "Removed|B1|Book B1|2|1|$15.00|25||||\n"
                           "Added|C1|Book C1|||||2|1|$15.00|25\n"
                           "Moved, repriced|A1|Book A1|4|1|$15.00|25|3|2|$13.00|25");
        const QString sections = QStringLiteral("2|Fiction|Mystery\n4|Mystery|(no page)");
        QTest::newRow("versions") << "ID|MYST|SPRING|0000"
                                  << "ID|MYST|SPRING|0001|002" << false << "1|1|1|2|1|2" << changes
                                  << sections;
        QTest::newRow("with unchanged")
            << "ID|MYST|SPRING|0000"
            << "ID|MYST|SPRING|0001" << true << "1|1|1|2|1|2"
            << QStringLiteral("Unchanged|A1|Book A1|1|1|$15.00|25|1|1|$15.00|25\n") + changes
            << sections;
        QTest::newRow("the other way round")
            << "ID|MYST|SPRING|0001"
            << "ID|MYST|SPRING|0000" << false << "1|1|1|2|1|2"
            << "Repriced|A2|Book A2|1|2|$12.00|25|1|2|$15.00|25\n"
               "Removed|C1|Book C1|2|1|$15.00|25||||\n"
               "Added|B1|Book B1|||||2|1|$15.00|25\n"
               "Moved, repriced|A1|Book A1|3|2|$13.00|25|4|1|$15.00|25"
            << "2|Mystery|Fiction\n4|(no page)|Mystery";
        // The insert SPRING holds only its own placements, none of the catalog of its ID.
        QTest::newRow("insert with the catalog's ID")
            << "INS|SPRING"
            << "ID|MYST|SPRING|0000" << false << "3|1|1|0|0|4"
            << "Moved|A2|Book A2|1|1|$15.00|25|1|2|$15.00|25\n"
               "Added|A1|Book A1|||||1|1|$15.00|25\n"
               "Removed|C1|Book C1|1|2|$15.00|25||||\n"
               "Added|B1|Book B1|||||2|1|$15.00|25\n"
               "Added|A1|Book A1|||||4|1|$15.00|25"
            << "1|Front|Cover\n2|(no page)|Fiction\n3|(no page)|Fiction\n4|(no page)|Mystery";
        QTest::newRow("no map") << "CTG"
                                << "ID|MYST|SPRING|0000" << false << "0|0|0|0|0|0"
                                << ""
                                << "";
    }
    void compareVersionsStatuses()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, withUnchanged);
        QFETCH(QString, counts);
        QFETCH(QString, rows);
        QFETCH(QString, sections);
        fixture::secondVersion();
        const VersionComparison comparison = compareVersions(NodeKey(first), NodeKey(second));
        QCOMPARE(countRow(comparison).join(QLatin1Char('|')), counts);
        QCOMPARE(joined(changeRows(comparison, withUnchanged)), rows);
        QCOMPARE(joined(sectionChangeRows(comparison)), sections);
        if (!comparison.products.empty())
            QVERIFY_THROWS_EXCEPTION(
                StoppedByOperator,
                compareVersions(NodeKey(first), NodeKey(second), [] { return false; }));
    }

    void productsTellApartWithoutCase_data()
    {
        QTest::addColumn<QString>("respelled");
        QTest::addColumn<bool>("compare");
        QTest::addColumn<QString>("figures");
        // The figures of the IDs as first written: A1 is still one product placed twice.
        QTest::newRow("summary, A1's second placement as a1")
            << "UPDATE tblProductsMap SET ProductID = 'a1' WHERE TestID = '0000' AND PageNum = 4"
            << false << "4|4|3|1|$175.00|$43.75";
        QTest::newRow("versions, the second's IDs in lower case")
            << "UPDATE tblProductsMap SET ProductID = LOWER(ProductID) WHERE TestID = '0001'"
            << true << "1|1|1|2|1|2";
    }
    void productsTellApartWithoutCase()
    {
        QFETCH(QString, respelled);
        QFETCH(bool, compare);
        QFETCH(QString, figures);
        fixture::secondVersion();
        TestWarehouse::exec(respelled);
        const NodeKey first(QStringLiteral("ID|MYST|SPRING|0000"));
        const QStringList row =
            compare
                ? countRow(compareVersions(first, NodeKey(QStringLiteral("ID|MYST|SPRING|0001"))))
                : totalRow(loadPlanSummary(first));
        QCOMPARE(row.join(QLatin1Char('|')), figures);
    }

    void pickersMatchOnlyListedMaps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::newRow("short name") << " spring - 0000 "
                                    << "ID|MYST|SPRING|0000";
        QTest::newRow("insert ID") << "spring"
                                   << "INS|SPRING";
        QTest::newRow("listed text") << "Insert  Spring Flyer  SPRING"
                                     << "INS|SPRING";
        QTest::newRow("quote") << "SPRING' OR '1'='1"
                               << "";
        QTest::newRow("wildcard") << "SPR%"
                                  << "";
        QTest::newRow("very long") << QString(5000, QLatin1Char('S')) << "";
        QTest::newRow("non-ASCII") << QStringLiteral("SPRİNG - 0000 ✓") << "";
    }
    void pickersMatchOnlyListedMaps()
    {
        QFETCH(QString, typed);
        QFETCH(QString, key);
        const std::vector<MapChoice> choices = loadMapChoices();
        QCOMPARE(choices.size(), std::size_t(2));
        const MapChoice *found = findMapChoice(choices, typed);
        QCOMPARE(found ? found->key : QString(), key);
    }

private:
    std::optional<TestWarehouse> m_warehouse;
};

FOLVANE_DATABASE_TEST_MAIN(ReportsTest)
#include "tst_reports.moc"
