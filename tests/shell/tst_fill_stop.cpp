// A long fill the operator stops with Esc: the rows read so far stay, nothing is reported as
// failed or as found, and the next search fills the grid whole; a fill past half a second shows its
// rows so far in the status bar.
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "inventory/frmProdMaint.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "shell/WorkingWindow.h"
#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QKeyEvent>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kProducts = 30000;

// A window whose grid fills from a series of numbers the warehouse counts out.
class SeriesWindow : public WorkingWindow
{
public:
    SeriesWindow()
        : WorkingWindow(QStringLiteral("frmSeries"), QStringLiteral("Series"))
    {
        grid = new FlexGrid(createPanel(6000, 4000, true));
        grid->setRows(0);
        grid->setCols(1);
    }

    bool fill(int count, const QString &order = {})
    {
        return fillGrid(*grid, [count, order](const RowSink &sink) {
            Query query(QStringLiteral("SELECT i FROM (WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                       "SELECT i + 1 FROM n WHERE i < ?) SELECT i FROM n) series") +
                        order);
            query.bind(count).exec();
            while (query.next())
                sink({query.text(0)});
        });
    }

    FlexGrid *grid;
};

void pressEscape(QWidget *target)
{
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
}

} // namespace

class tst_fill_stop : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    QMetaObject::Connection m_escapeOnce;

    static void insertProducts()
    {
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblInvMaster (ProductID, ProductName, ActiveProd, "
                           "ActiveWeb, Category) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                           "SELECT i + 1 FROM n WHERE i < ?) SELECT 'P' || (100000 + i), "
                           "'Book ' || i, 1, 1, 1 FROM n"),
            {kProducts});
    }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
    }

    void cleanup()
    {
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void escapeStopsASearchKeepingItsRowsAndTheNextSearchFillsWhole()
    {
        insertProducts();
        WindowHarness<frmProdMaint> harness;
        harness.main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&harness.main()));
        auto *grid = harness.control<FlexGrid>("grdINVItemsList");
        const auto listed = [grid] {
            return grid->Rows() - 2;
        }; // header and hidden row

        // Esc pressed as the first rows show is found at the next repaint of the fill.
        m_escapeOnce =
            connect(grid->model(), &QAbstractItemModel::rowsInserted, grid, [grid, this] {
                pressEscape(grid);
                disconnect(m_escapeOnce);
            });
        harness->SearchInventory(0, QStringLiteral("P"));
        const int kept = listed();
        QVERIFY2(kept > 0 && kept < kProducts, qPrintable(QString::number(kept)));
        QCOMPARE(grid->TextMatrix(2, 0), QStringLiteral("P100001"));
        QCOMPARE(grid->TextMatrix(kept + 1, 0), QStringLiteral("P%1").arg(100000 + kept));
        QCOMPARE((*m_dialogs)->messages(), QStringList());
        // The rows so far are no count of what the search would have found.
        QCOMPARE(harness->statusBar()->currentMessage(), QStringLiteral("Search stopped."));
        QCoreApplication::processEvents();
        QCOMPARE(listed(), kept); // Esc was the fill's, and left nothing to come after

        harness->SearchInventory(0, QStringLiteral("P"));
        QCOMPARE(listed(), kProducts);
        QCOMPARE(grid->TextMatrix(kProducts + 1, 0), QStringLiteral("P%1").arg(100000 + kProducts));
        QCOMPARE((*m_dialogs)->messages(), QStringList());
    }

    // The main window closed from the event loop (its close box, the window manager) while a
    // search fills its grid: the search stops as by Esc, and then the main window and its windows
    // close as usual, with no failure reported.
    void closingTheMainWindowStopsASearchFirst()
    {
        insertProducts();
        auto *main = new MDIfrmMain(clientWindows());
        const QPointer<MDIfrmMain> alive(main);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        auto *window =
            qobject_cast<frmProdMaint *>(main->openWindow(QStringLiteral("frmProdMaint")));
        QVERIFY(window);
        auto *grid = control<FlexGrid>(*window, "grdINVItemsList");
        m_escapeOnce =
            connect(grid->model(), &QAbstractItemModel::rowsInserted, main, [main, this] {
                QTimer::singleShot(0, main, &QWidget::close);
                disconnect(m_escapeOnce);
            });
        window->SearchInventory(0, QStringLiteral("P"));
        const int listed = grid->Rows() - 2;
        QVERIFY2(listed > 0 && listed < kProducts, qPrintable(QString::number(listed)));
        QVERIFY(alive); // still there when the search has ended
        QCOMPARE((*m_dialogs)->messages(), QStringList());
        QTRY_VERIFY(alive.isNull());
    }

    void aLongFillShowsItsRowsSoFarAndKeepsOtherKeysForAfter()
    {
        SeriesWindow window;
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setStatusText(QStringLiteral("Ready"));
        QStringList progress;
        int keysAfter = 0;
        connect(window.grid, &FlexGrid::keyPressed, &window, [&keysAfter] { ++keysAfter; });
        // Watches the status bar while the fill runs, and stops it once it has shown progress.
        QTimer watcher;
        watcher.setInterval(20);
        connect(&watcher, &QTimer::timeout, &window, [&] {
            const QString text = window.statusBar()->currentMessage();
            // Once rows have come: on the server the first progress comes while it executes.
            if (text.contains(QStringLiteral("rows so far")) &&
                !text.startsWith(QStringLiteral("0 ")) && progress.isEmpty()) {
                progress << text;
                QCoreApplication::postEvent(
                    window.grid, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
                pressEscape(window.grid);
            }
        });
        watcher.start();
        const int kSeries = 3000000; // more than a fill reads before the stop
        QVERIFY(window.fill(kSeries));
        watcher.stop();
        QCOMPARE(progress.size(), 1);
        const int rows = window.grid->Rows();
        QVERIFY(rows > 0 && rows < kSeries);
        QCOMPARE(window.grid->TextMatrix(rows - 1, 0), QString::number(rows));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Ready"));
        QCOMPARE((*m_dialogs)->messages(), QStringList());
        // The key pressed during the fill reaches the grid once the fill is over.
        QCOMPARE(keysAfter, 0);
        QCoreApplication::processEvents();
        QCOMPARE(keysAfter, 1);
    }

    void escapeWhileTheWarehouseSortsStopsBeforeTheFirstRow()
    {
        SeriesWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int kSeries = 500000; // sorted for far longer than a slice
        pressEscape(window.grid);
        QVERIFY(window.fill(kSeries, QStringLiteral(" ORDER BY i DESC")));
        QCOMPARE((*m_dialogs)->messages(), QStringList());
        // The event loop ran, and Esc was taken, before the first row: on the server while its
        // driver read the result.
        QCOMPARE(window.grid->Rows(), 0);
        window.grid->setRows(0);
        QVERIFY(window.fill(1000, QStringLiteral(" ORDER BY i DESC")));
        QCOMPARE(window.grid->Rows(), 1000);
        QCOMPARE(window.grid->TextMatrix(0, 0), QStringLiteral("1000"));
    }

    void aFailedFillIsReportedOnceAndKeepsItsRows()
    {
        SeriesWindow window;
        QVERIFY(!window.fillGrid(*window.grid, [](const RowSink &sink) {
            sink({QStringLiteral("1")});
            Query(QStringLiteral("SELECT * FROM tblNoSuchTable")).exec();
        }));
        QCOMPARE(window.grid->Rows(), 1); // the row read before the failure
        QCOMPARE((*m_dialogs)->messages().size(), 1);
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_fill_stop)
#include "tst_fill_stop.moc"
