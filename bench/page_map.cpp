// The page map over the large warehouse: a map of 200 pages with 2,000 placements (made here and
// removed at the end), opened in its window beside the bare queries it needs, the whole-book
// overview and a two-page view repainted, and a page moved from one end of the book to the other
// beside the bare statements that renumber the pages between.
//
//     bench_page_map [warehouse.db]
//     bench_page_map --postgresql
#include "LargeWarehouse.h"
#include "PrintedDialogs.h"
#include "Timing.h"

#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"
#include "pagemap/frmPageMap.h"
#include "pagemap/frmPageMapView.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kPages = 200;
constexpr int kPlacements = 2000;
constexpr int kMoveRounds = 15;
const QString kClub = QStringLiteral("BENCH");
const QString kCatalog = QStringLiteral("PAGEMAP");
const QString kTest = QStringLiteral("0000");

// 200 pages in eight sections, ten placements a page (some pages over or under 100), a forecast
// for every third product.
void makeMap()
{
    for (int page = 1; page <= kPages; ++page)
        Query(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                             "PageSection) VALUES (?, ?, ?, ?, ?)"))
            .bind(kClub)
            .bind(kCatalog)
            .bind(kTest)
            .bind(page)
            .bind(QStringLiteral("Section %1").arg((page - 1) / 25 + 1))
            .exec();
    for (int i = 0; i < kPlacements; ++i) {
        const int page = i / (kPlacements / kPages) + 1;
        const QString product =
            QStringLiteral("P%1").arg(i * 37 % 100000 + 1, 6, 10, QLatin1Char('0'));
        Query(QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, "
                             "PageNum, PagePosition, PageWeight, DescType, Price, Discount, "
                             "ProductType, ModifyUser) VALUES (?, ?, ?, ?, ?, ?, ?, 'Blank', "
                             "9.99, 10, 'A', 'bench')"))
            .bind(kClub)
            .bind(kCatalog)
            .bind(kTest)
            .bind(product)
            .bind(page)
            .bind(i % 10 + 1)
            .bind(page % 7 == 0 ? 12.0 : 10.0)
            .exec();
        if (i % 3 == 0)
            Query(QStringLiteral("INSERT INTO tblInvRecommendations (ClubID, CatalogID, ProductID, "
                                 "FcstSales, ProdRank) VALUES (?, ?, ?, ?, ?)"))
                .bind(kClub)
                .bind(kCatalog)
                .bind(product)
                .bind(100.0 + i)
                .bind(i)
                .exec();
    }
}

// The two statements the page map reads, stepping through every value it uses.
int bareQueries()
{
    int rows = 0;
    Query pages(QStringLiteral("SELECT PageNum, PageSection FROM tblCatalogMap WHERE ClubID = ? "
                               "AND CatalogID = ? AND TestID = ? ORDER BY PageNum"));
    pages.bind(kClub).bind(kCatalog).bind(kTest).exec();
    while (pages.next()) {
        (void)pages.value(0);
        (void)pages.value(1);
        ++rows;
    }
    Query placements(QStringLiteral(
        "SELECT tblProductsMap.ItemID, tblProductsMap.ProductID, tblInvMaster.ProductName, "
        "tblProductsMap.Price, tblProductsMap.PagePosition, tblProductsMap.PageWeight, "
        "tblProductsMap.PageNum, Forecasts.FcstSales FROM tblProductsMap LEFT OUTER JOIN "
        "tblInvMaster ON tblInvMaster.ProductID = tblProductsMap.ProductID LEFT OUTER JOIN "
        "(SELECT ProductID, SUM(FcstSales) AS FcstSales FROM tblInvRecommendations WHERE "
        "ClubID = ? AND CatalogID = ? GROUP BY ProductID) Forecasts ON Forecasts.ProductID = "
        "tblProductsMap.ProductID WHERE tblProductsMap.ClubID = ? AND tblProductsMap.CatalogID = "
        "? AND tblProductsMap.TestID = ? ORDER BY tblProductsMap.PageNum, "
        "tblProductsMap.PagePosition, tblProductsMap.ItemID"));
    placements.bind(kClub).bind(kCatalog).bind(kClub).bind(kCatalog).bind(kTest).exec();
    while (placements.next()) {
        for (int c = 0; c < 8; ++c)
            (void)placements.value(c);
        ++rows;
    }
    return rows;
}

// The statements a move of page 1 to the end (or back) needs, bare: the page rows through
// negative numbers to their new ones, and the placements after them, in one transaction.
void bareMove(bool forward)
{
    const QString where = QStringLiteral(" WHERE ClubID = ? AND CatalogID = ? AND TestID = ?");
    const QString number = forward ? QStringLiteral("CASE WHEN PageNum = 1 THEN 200 ELSE PageNum "
                                                    "- 1 END")
                                   : QStringLiteral("CASE WHEN PageNum = 200 THEN 1 ELSE PageNum "
                                                    "+ 1 END");
    Transaction transaction;
    Query(QStringLiteral("UPDATE tblCatalogMap SET PageNum = -1 - (") + number +
          QStringLiteral(")") + where + QStringLiteral(" AND PageNum BETWEEN 1 AND 200"))
        .bind(kClub)
        .bind(kCatalog)
        .bind(kTest)
        .exec();
    Query(QStringLiteral("UPDATE tblCatalogMap SET PageNum = -1 - PageNum") + where +
          QStringLiteral(" AND PageNum BETWEEN -201 AND -2"))
        .bind(kClub)
        .bind(kCatalog)
        .bind(kTest)
        .exec();
    Query(QStringLiteral("UPDATE tblProductsMap SET PageNum = ") + number + where +
          QStringLiteral(" AND PageNum BETWEEN 1 AND 200"))
        .bind(kClub)
        .bind(kCatalog)
        .bind(kTest)
        .exec();
    transaction.commit();
}

double median(std::vector<double> figures)
{
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

void removeMap()
{
    for (const char *table : {"tblCatalogMap", "tblProductsMap", "tblInvRecommendations"}) {
        Query query(QStringLiteral("DELETE FROM ") + QLatin1String(table) +
                    QStringLiteral(" WHERE ClubID = ? AND CatalogID = ?"));
        query.bind(kClub).bind(kCatalog).exec();
    }
}

} // namespace

int main(int argc, char **argv)
{
    bench::drawOffscreenWithoutDisplay();
    QApplication app(argc, argv);
    try {
        if (argc > 1 && qstrcmp(argv[1], "--postgresql") == 0) {
            Dialogs::install(std::make_unique<PrintedDialogs>());
            bench::openLargePostgresWarehouse();
        } else {
            bench::openFromArguments(argc, argv);
        }

        // Committed, since a page move is a transaction of its own; removed again at the end.
        removeMap();
        {
            Transaction made;
            makeMap();
            made.commit();
        }
        const auto removed = qScopeGuard([] {
            try {
                removeMap();
            } catch (const DbError &) {
            }
        });
        const QString key = catalog::NodeKey::catalogTestKey(kClub, kCatalog, kTest);

        int rows = 0;
        double bare = 1e9;
        double core = 1e9;
        double open = 1e9;
        for (int round = 0; round < bench::kBestOfRuns; ++round) {
            bare = std::min(bare, bench::timed([&rows] { rows = bareQueries(); }));
            core = std::min(
                core, bench::timed([&key] { (void)catalog::loadPageMap(catalog::NodeKey(key)); }));
            open = std::min(open, bench::timed([&key] {
                                frmPageMap window(key);
                                window.resize(1600, 1000);
                                window.show();
                                window.view()->showWholeBook();
                                // The event loop lays the window out and paints it once.
                                QApplication::processEvents();
                            }));
        }
        std::printf("Page map: %d pages, %d placements (%d rows read)\n", kPages, kPlacements,
                    rows);
        bench::printFigure("bare queries, stepping through the rows", bare);
        bench::printFigure("map loaded (catalog::loadPageMap)", core, bare);
        bench::printFigure("window opened and painted (whole book)", open, bare);

        frmPageMap window(key);
        window.resize(1600, 1000);
        window.show();
        QApplication::processEvents();
        frmPageMapView *view = window.view();
        view->showWholeBook();
        QApplication::processEvents();
        const double reload = bench::bestOf([&window, view] {
            window.ReloadMap();
            view->viewport()->repaint();
        });
        const double emptyWindow = bench::bestOf([] {
            QWidget empty;
            empty.resize(1600, 1000);
            empty.show();
            QApplication::processEvents();
        });
        bench::printFigure("map read again and repainted in the open window", reload, bare);
        bench::printFigure("for comparison: an empty top-level window shown", emptyWindow);
        const double overviewZoom = view->zoom();
        const double overview = bench::bestOf([view] { view->viewport()->repaint(); });
        view->showTwoPages(100);
        QApplication::processEvents();
        const double twoPages = bench::bestOf([view] { view->viewport()->repaint(); });
        QImage image(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        view->showWholeBook();
        const double offscreen = bench::bestOf([view, &image] {
            image.fill(Qt::white);
            QPainter painter(&image);
            view->paintAll(painter);
        });
        std::printf("Repaint, view %dx%d, overview zoom %.3f\n", view->viewport()->width(),
                    view->viewport()->height(), overviewZoom);
        bench::printFigure("whole-book overview repainted", overview);
        bench::printFigure("two-page view repainted", twoPages);
        bench::printFigure("whole book painted into an image", offscreen);

        // Page 1 to the end and back: 199 pages and 2,000 placements renumbered each time. The
        // bare statements, the core and the window take turns, so that a busy moment of the
        // machine (or a slow flush of the file) falls on all three; medians of the rounds.
        const catalog::NodeKey map(key);
        QObject::disconnect(&catalog::MapChanges::instance(), nullptr, &window, nullptr);
        frmPageMap moving(key);
        moving.resize(1600, 1000);
        moving.show();
        QApplication::processEvents();
        moving.view()->showWholeBook();
        QApplication::processEvents();
        bool forward = true;
        const auto move = [&forward] {
            const std::pair<int, int> pages = forward ? std::pair(1, kPages) : std::pair(kPages, 1);
            forward = !forward;
            return pages;
        };
        std::vector<double> bareMoves;
        std::vector<double> coreMoves;
        std::vector<double> windowMoves;
        std::vector<double> repaints;
        for (int round = 0; round < kMoveRounds; ++round) {
            bareMoves.push_back(bench::timed([&] { bareMove(move().first == 1); }));
            catalog::PageEdit edit;
            {
                // The core alone: the open window would read the map again after it.
                const QSignalBlocker quiet(&catalog::MapChanges::instance());
                coreMoves.push_back(bench::timed([&] {
                    const auto [from, to] = move();
                    if (catalog::movePages(map, from, 1, to, &edit) != catalog::PageResult::Done)
                        throw DbError(QStringLiteral("bench"),
                                      QStringLiteral("the page did not move"));
                }));
            }
            moving.ReloadMap();
            QApplication::processEvents();
            // As the operator sees it: from the drop until the view shows the new order.
            windowMoves.push_back(bench::timed([&] {
                const auto [from, to] = move();
                moving.MovePages(from, 1, to);
                repaints.push_back(
                    bench::timed([&moving] { moving.view()->viewport()->repaint(); }));
            }));
        }
        const double bareMove = median(bareMoves);
        std::printf("Page move: page 1 to %d and back, %d placements following (median of %d)\n",
                    kPages, kPlacements, kMoveRounds);
        bench::printFigure("bare statements (three updates, one transaction)", bareMove);
        bench::printFigure("page moved (catalog::movePages, with its undo stamp)",
                           median(coreMoves), bareMove);
        bench::printFigure("page moved in the window, view repainted", median(windowMoves),
                           bareMove);
        bench::printFigure("of which the view repainted", median(repaints));
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s %s\n", qPrintable(error.number()),
                     qPrintable(error.description()));
        return 1;
    }
    return 0;
}
