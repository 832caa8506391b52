// The page map window: opening one per map, dragging a product to another page, undo, following
// the editor's changes, and the PDF.
#include "../catalog/CatalogEditFixtures.h"
#include "ClientWindows.h"
#include "MapText.h"
#include "ScriptedDialogs.h"
#include "SecondClient.h"
#include "WindowHarness.h"
#include "catalog/MapOperations.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "pagemap/frmPageMap.h"
#include "pagemap/frmPageMapView.h"
#include "shell/MDIfrmMain.h"
#include "shell/PrinterChoice.h"
#include "warehouse/ChangeNotices.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace catalog;

namespace {

const QString kMap = QStringLiteral("ID|MYST|SPRING|0000");

QString pageAndPosition(const QString &product)
{
    Query query(QStringLiteral("SELECT PageNum, PagePosition FROM tblProductsMap WHERE "
                               "CatalogID = 'SPRING' AND ProductID = ? ORDER BY ItemID"));
    query.bind(product).exec();
    QStringList places;
    while (query.next())
        places << query.text(0) + QLatin1Char('/') + query.text(1);
    return places.join(QLatin1Char(' '));
}

// MYST SPRING 0000: pages 1-5 with a gap at 4; A1, A2 on page 1, B1 on page 2, A1 again on 3.
void springMap()
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    for (int page : {1, 2, 3, 5})
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page,
                             page == 1 ? QStringLiteral("Cover") : QStringLiteral("Fiction"));
    for (const QString &id : {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1")})
        fixture::product(id, QStringLiteral("Book ") + id);
    fixture::placement(QStringLiteral("A1"), 1, 1);
    fixture::placement(QStringLiteral("A2"), 1, 2);
    fixture::placement(QStringLiteral("B1"), 2, 1);
    fixture::placement(QStringLiteral("A1"), 3, 1);
}

} // namespace

class frmPageMapTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_warehouse.emplace();
        springMap();
        m_harness.emplace(frmPageMap::kWindowNamePrefix + kMap);
        m_harness->main().resize(1200, 900);
        m_harness->main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_harness->main()));
        view()->showTwoPages(1);
    }
    void cleanup()
    {
        m_harness.reset();
        m_warehouse.reset();
    }

    void opensOneWindowPerMap()
    {
        frmPageMap &window = m_harness->window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Page Map - SPRING - 0000"));
        QCOMPARE(window.pageMap().pages.size(), std::size_t(4));
        QVERIFY(m_harness->control<QLabel>("lblSummary")
                    ->text()
                    .contains(QStringLiteral("Products placed twice: 1")));
        QVERIFY(m_harness->control<QLabel>("lblLegend")->text().contains(QStringLiteral("Cover")));

        // From the editor's menu, for a page of the same map: the same window. Another test of
        // the catalog gets a window of its own.
        MDIfrmMain &main = m_harness->main();
        auto *editor = qobject_cast<frmCatEdit *>(main.openWindow(QStringLiteral("frmCatEdit")));
        QVERIFY(editor);
        editor->setTag(kMap + QStringLiteral("|002"));
        main.menuItem(QStringLiteral("mnuCtgEditPageMap"))->trigger();
        QCOMPARE(main.loadedWindows().size(), 2);
        QCOMPARE(main.findWindow(frmPageMap::kWindowNamePrefix + kMap), &window);
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0001"), 1);
        editor->setTag(QStringLiteral("ID|MYST|SPRING|0001"));
        main.menuItem(QStringLiteral("mnuCtgEditPageMap"))->trigger();
        QCOMPARE(main.loadedWindows().size(), 3);
        // A root selected: nothing opens.
        editor->setTag(QString());
        main.menuItem(QStringLiteral("mnuCtgEditPageMap"))->trigger();
        QCOMPARE(main.loadedWindows().size(), 3);

        // File > Print prints the page map in front; the editor has nothing to print.
        ScriptedDialogsScope dialogs;
        main.openWindow(QStringLiteral("frmCatEdit"));
        QVERIFY(main.menuItem(QStringLiteral("mnuPrint"))->isEnabled());
        main.menuItem(QStringLiteral("mnuPrint"))->trigger();
        QCOMPARE(dialogs->messages(),
                 QStringList{QStringLiteral("There is nothing to print in this window.")});
    }

    // Shift+double-click on a page node opens its map's page map; a plain double-click does not.
    void opensFromTheEditorsTree()
    {
        MDIfrmMain &main = m_harness->main();
        m_harness->window().closeWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!main.findWindow(frmPageMap::kWindowNamePrefix + kMap));
        auto *editor = qobject_cast<frmCatEdit *>(main.openWindow(QStringLiteral("frmCatEdit")));
        auto *tree = control<QTreeView>(*editor, "tvCatalogTree");
        auto *model = static_cast<frmCatEditTreeModel *>(tree->model());
        const QModelIndex page = model->indexOfKey(kMap + QStringLiteral("|003"));
        QVERIFY(page.isValid());
        tree->expand(page.parent());
        tree->scrollTo(page);
        const QPoint at = tree->visualRect(page).center();
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!main.findWindow(frmPageMap::kWindowNamePrefix + kMap));
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
        auto *opened =
            qobject_cast<frmPageMap *>(main.findWindow(frmPageMap::kWindowNamePrefix + kMap));
        QVERIFY(opened);
        QCOMPARE(opened->windowTitle(), QStringLiteral("Page Map - SPRING - 0000"));
    }

    void dragsAProductToAnotherPageAndUndoes()
    {
        ScriptedDialogsScope dialogs;
        // B1 from page 2 onto page 3: after page 3's last placement.
        drag(QStringLiteral("B1"), 3);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("3/2"));
        QCOMPARE(m_harness->window().pageMap().page(3)->placements.size(), std::size_t(2));
        QVERIFY(dialogs->messages().isEmpty());
        QCOMPARE(statusText(), QStringLiteral("Moved B1 from page 2 to page 3, position 2."));

        // A1 onto page 3, where it already is: refused with a word, nothing written.
        drag(QStringLiteral("A1"), 3);
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(dialogs->messages().at(0).contains(QStringLiteral("already on page 3")));
        QCOMPARE(pageAndPosition(QStringLiteral("A1")), QStringLiteral("1/1 3/1"));

        // Ctrl+Z takes B1 back to its page and position; a second has nothing left to undo.
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("2/1"));
        QCOMPARE(m_harness->window().pageMap().page(2)->placements.size(), std::size_t(1));
        QCOMPARE(statusText(), QStringLiteral("B1 is back on page 2, position 1."));
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("2/1"));
        QCOMPARE(dialogs->messages().size(), 1);

        // Another client moves B1 on to page 5, unseen here: a drag from page 2 moves nothing,
        // says so and shows the map as it is.
        TestWarehouse::exec(QStringLiteral(
            "UPDATE tblProductsMap SET PageNum = 5, PagePosition = 1 WHERE ProductID = 'B1'"));
        drag(QStringLiteral("B1"), 3);
        QCOMPARE(dialogs->messages().size(), 2);
        QVERIFY(dialogs->messages().at(1).contains(QStringLiteral("read again")));
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("5/1"));
        QCOMPARE(m_harness->window().pageMap().page(5)->placements.size(), std::size_t(1));
    }

    void dragsInAnOverviewSketch()
    {
        view()->setZoom(0.4);
        QVERIFY(pagemap::kTileHeight * view()->zoom() < 200);
        drag(QStringLiteral("A2"), 5);
        QCOMPARE(pageAndPosition(QStringLiteral("A2")), QStringLiteral("5/1"));
    }

    void aFailedMoveIsShownAndChangesNothing()
    {
        ScriptedDialogsScope dialogs;
        if (TestWarehouse::forPostgreSQL()) {
            TestWarehouse::exec(QStringLiteral(
                "CREATE OR REPLACE FUNCTION refuse_update() RETURNS trigger AS $$ BEGIN RAISE "
                "EXCEPTION 'placements locked'; END $$ LANGUAGE plpgsql"));
            TestWarehouse::exec(QStringLiteral(
                "CREATE TRIGGER refuse_update BEFORE UPDATE ON tblProductsMap FOR EACH ROW "
                "EXECUTE FUNCTION refuse_update()"));
        } else {
            TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse_update BEFORE UPDATE ON "
                                               "tblProductsMap BEGIN SELECT RAISE(ABORT, "
                                               "'placements locked'); END"));
        }
        drag(QStringLiteral("B1"), 3);
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Critical);
        QVERIFY(dialogs->last().text.contains(QStringLiteral("placements locked")));
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("2/1"));
        QCOMPARE(m_harness->window().pageMap().page(2)->placements.size(), std::size_t(1));
        QVERIFY(m_harness->window().isVisible());
    }

    // Another client's change while a product is being dragged waits for the drop: the drag goes
    // on, and the map shows both moves after it.
    void anotherClientsChangeWaitsForTheDrop()
    {
        ScriptedDialogsScope dialogs;
        const qlonglong a2 =
            TestWarehouse::scalar(QStringLiteral("SELECT ItemID FROM tblProductsMap WHERE "
                                                 "ProductID = 'A2'"))
                .toLongLong();
        drag(QStringLiteral("B1"), 3, [&] {
            QCOMPARE(asSecondClient([&] {
                         movePlacement(NodeKey(kMap), a2, 1, 5, QDateTime::currentDateTime(),
                                       QStringLiteral("other"));
                     }),
                     QString());
            QTest::qWait(3 * ChangeNotices::kCheckMs);
            QVERIFY(view()->pressed());
            QCOMPARE(m_harness->window().pageMap().page(5)->placements.size(), std::size_t(0));
        });
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("3/2"));
        QTRY_COMPARE(m_harness->window().pageMap().page(5)->placements.size(), std::size_t(1));
        QCOMPARE(m_harness->window().pageMap().page(3)->placements.size(), std::size_t(2));
        QVERIFY(dialogs->messages().isEmpty());
    }

    void followsTheEditorsChanges()
    {
        frmPageMap &window = m_harness->window();
        QVERIFY(addPageToMap(NodeKey(kMap), QStringLiteral("Index")));
        QCOMPARE(window.pageMap().pages.size(), std::size_t(5));
        QVERIFY(window.pageMap().page(6));
        // Another map's change leaves this one alone (no reload: the page stays as read).
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblCatalogMap WHERE PageNum = 6"));
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("OTHER"),
                             QStringLiteral("0000"), 1);
        QVERIFY(addPageToMap(NodeKey(QStringLiteral("ID|MYST|OTHER|0000")), QString()));
        QVERIFY(window.pageMap().page(6));
    }

    void zoomsFromTheWholeBookToTwoPages()
    {
        frmPageMapView *pages = view();
        pages->showWholeBook();
        const double whole = pages->zoom();
        QVERIFY(pages->pageRect(5).bottom() <= pages->viewport()->height());
        QTest::keyClick(pages, Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(pages->zoom() > whole);
        QTest::keyClick(pages, Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(qAbs(pages->zoom() - whole) < 1e-6);
        pages->showTwoPages(2);
        // Pages 2 and 3 side by side across the view.
        const QRect left = pages->pageRect(2);
        const QRect right = pages->pageRect(3);
        QCOMPARE(left.top(), right.top());
        QVERIFY(left.right() < right.left() + 2);
        QVERIFY(right.right() <= pages->viewport()->width());
        QVERIFY(left.width() > pages->viewport()->width() / 3);
    }

    void writesAPdfOfTwoSpreadsAPage()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("map.pdf"));
        ScriptedDialogsScope dialogs;
        dialogs->answerFile(file);
        m_harness->control<QPushButton>("cmdExportPdf")->click();
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        // Pages 1 to 5 make three spreads: two PDF pages.
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), qsizetype(2));
        QVERIFY(titleOf(bytes).contains(QStringLiteral("Page Map - SPRING - 0000")));
        QCOMPARE(statusText(),
                 QStringLiteral("The page map has been written to ") + file + QStringLiteral("."));
    }

    // A PDF that cannot be written whole is reported, and the file there before is kept as it
    // was, with nothing left beside it.
    void aFailedPdfKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("no such folder") << QStringLiteral("folder");
        QTest::newRow("a folder that cannot be written") << QStringLiteral("read-only");
        QTest::newRow("the disk full halfway") << QStringLiteral("full");
    }
    void aFailedPdfKeepsTheOldFile()
    {
        QFETCH(QString, failure);
        QTemporaryDir folder;
        QDir out(folder.path());
        QVERIFY(out.mkdir(QStringLiteral("out")) && out.cd(QStringLiteral("out")));
        const QString file = out.filePath(QStringLiteral("map.pdf"));
        const QByteArray before("the map of last week");
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
        }
        ScriptedDialogsScope dialogs;
        dialogs->answerFile(failure == QLatin1String("folder")
                                ? out.filePath(QStringLiteral("gone/map.pdf"))
                                : file);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const auto signal = std::signal(SIGXFSZ, SIG_IGN);
        if (failure == QLatin1String("read-only")) {
            // The old file could be written in place, its folder not; root's file access is an
            // ordinary user's meanwhile.
            ::chmod(qPrintable(folder.path()), 0755);
            ::chmod(qPrintable(out.path()), 0555);
            ::chmod(qPrintable(file), 0666);
            setfsgid(65534);
            setfsuid(65534);
        } else if (failure == QLatin1String("full")) {
            const rlimit small{4096, limit.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        }
        m_harness->control<QPushButton>("cmdExportPdf")->click();
        setfsuid(geteuid());
        setfsgid(getegid());
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, signal);
        ::chmod(qPrintable(out.path()), 0755);
        QCOMPARE(dialogs->calls().size(), 2);
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Critical);
        QVERIFY(
            dialogs->last().text.startsWith(QStringLiteral("The page map could not be written")));
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
        QCOMPARE(out.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("map.pdf")});
        QCOMPARE(statusText(), QString());
    }

    // A page holding more products than its tile has lines: every one can be read on screen (on
    // hover) and every one is in the PDF.
    void everyProductOfAFullPageIsShown()
    {
        QStringList products;
        for (int i = 1; i <= 20; ++i) {
            products << QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0'));
            fixture::product(products.last(), QStringLiteral("Title ") + products.last());
            fixture::placement(products.last(), 5, i);
        }
        frmPageMap &window = m_harness->window();
        window.ReloadMap();
        const MapPage &page = *window.pageMap().page(5);
        const int shown = pagemap::productsShown(page, pagemap::Detail::Full);
        QVERIFY(shown < 20);

        // Full detail: the "+ N more" line lists the rest.
        view()->showTwoPages(5);
        const QRect tile = view()->pageRect(5);
        const double scale = view()->zoom();
        const QPoint more(
            tile.left() + int(60 * scale),
            tile.top() +
                int((pagemap::kHeaderHeight + 4 + (shown + 0.5) * pagemap::kLineHeight) * scale));
        const QString rest = view()->toolTipAt(more);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(rest.contains(products.at(i)), i >= shown);
        // An overview: the whole page's products on its tile.
        view()->setZoom(0.4);
        const QString all = view()->toolTipAt(view()->pageRect(5).center());
        for (const QString &product : products)
            QVERIFY2(all.contains(product), qPrintable(product));

        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils, scripts/install-deps)");
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("map.pdf"));
        QVERIFY(!frmPageMap::writePdf(file, window.pageMap(), window.windowTitle(), QDate()));
        QProcess text;
        text.start(pdftotext, {file, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000) && text.exitCode() == 0);
        const QString printed = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &product : products)
            QVERIFY2(printed.contains(product), qPrintable(product));
    }

    // File > Print asks for a printer and prints the same document; a cancelled dialog prints
    // nothing.
    void printsThroughThePrintDialog()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("printed.pdf"));
        QStringList asked;
        bool accept = false;
        shell::setPrinterChooser([&](QPrinter &printer, const QString &title, QWidget *) {
            asked << title;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            return accept;
        });
        const auto restore = qScopeGuard([] { shell::setPrinterChooser({}); });
        QAction *print = m_harness->main().menuItem(QStringLiteral("mnuPrint"));
        print->trigger();
        QCOMPARE(asked, QStringList{QStringLiteral("Page Map - SPRING - 0000")});
        QVERIFY(!QFile::exists(file));

        accept = true;
        print->trigger();
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), qsizetype(2));
        QVERIFY(titleOf(bytes).contains(QStringLiteral("Page Map - SPRING - 0000")));
    }

    // A page dragged by its number band, or a spread by its gutter: the pages in between
    // renumbered with their placements; Ctrl+Z and Ctrl+Shift+Z take the move back and make it
    // again.
    void dragsPagesAndSpreads_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("spread");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("b1");
        QTest::addColumn<QString>("a2");
        QTest::newRow("page forward")
            << 2 << false << 5 << QStringLiteral("5/1") << QStringLiteral("1/2");
        QTest::newRow("last page to the first")
            << 5 << false << 1 << QStringLiteral("3/1") << QStringLiteral("2/2");
        QTest::newRow("spread to the end")
            << 2 << true << 5 << QStringLiteral("4/1") << QStringLiteral("1/2");
    }
    void dragsPagesAndSpreads()
    {
        QFETCH(int, page);
        QFETCH(bool, spread);
        QFETCH(int, target);
        QFETCH(QString, b1);
        QFETCH(QString, a2);
        ScriptedDialogsScope dialogs;
        view()->showWholeBook();
        const QRect tile = view()->pageRect(page);
        const QPoint from = spread ? QPoint(tile.right(), tile.center().y())
                                   : QPoint(tile.center().x(), tile.top() + 3);
        QVERIFY(view()->pagesAt(from).has_value());
        QWidget *area = view()->viewport();
        const QPoint to = view()->pageRect(target).center();
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        for (const QPoint &point : {from + QPoint(15, 15), to}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(point), area->mapToGlobal(QPointF(point)),
                             Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(area, &move);
        }
        // Before it is let go, the view knows where the pages will go.
        QVERIFY(view()->pageDropAt(page, spread ? 2 : 1, to).has_value());
        QTest::mouseRelease(area, Qt::LeftButton, {}, to);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), b1);
        QCOMPARE(pageAndPosition(QStringLiteral("A2")), a2);
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("2/1"));
        QCOMPARE(pageAndPosition(QStringLiteral("A2")), QStringLiteral("1/2"));
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), b1);
        QVERIFY(dialogs->calls().isEmpty());
    }

    // The page menu's commands, each undone with the Undo button.
    void pageMenuCommands_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("b1");
        QTest::addColumn<QString>("sections");
        QTest::newRow("insert before")
            << QStringLiteral("mnuPageInsertBefore") << QStringLiteral("") << QStringLiteral("3/1")
            << QStringLiteral("1C 2F 3F 4F 6F");
        QTest::newRow("insert after") << QStringLiteral("mnuPageInsertAfter") << QStringLiteral("")
                                      << QStringLiteral("2/1") << QStringLiteral("1C 2F 3F 4F 6F");
        QTest::newRow("remove, agreed") << QStringLiteral("mnuPageRemove") << QStringLiteral("yes")
                                        << QStringLiteral("") << QStringLiteral("1C 2F 4F");
        QTest::newRow("remove, declined") << QStringLiteral("mnuPageRemove") << QStringLiteral("no")
                                          << QStringLiteral("2/1") << QStringLiteral("1C 2F 3F 5F");
        QTest::newRow("section") << QStringLiteral("mnuPageSection") << QStringLiteral("  Gifts ")
                                 << QStringLiteral("2/1") << QStringLiteral("1C 2G 3F 5F");
    }
    void pageMenuCommands()
    {
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QFETCH(QString, b1);
        QFETCH(QString, sections);
        ScriptedDialogsScope dialogs;
        if (answer == QLatin1String("yes"))
            dialogs->answerYes();
        else if (answer == QLatin1String("no"))
            dialogs->answerNo();
        else if (!answer.isEmpty())
            dialogs->answerInput(answer);
        frmPageMap &window = m_harness->window();
        std::unique_ptr<QMenu> menu(window.pageMenu(2));
        menu->findChild<QAction *>(action)->trigger();
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), b1);
        const auto sectionsShown = [&window] {
            QStringList list;
            for (const MapPage &page : window.pageMap().pages)
                list << QString::number(page.number) + page.section.left(1);
            return list.join(QLatin1Char(' '));
        };
        QCOMPARE(sectionsShown(), sections);
        if (action == QLatin1String("mnuPageRemove"))
            QVERIFY(dialogs->calls().at(0).text.contains(QStringLiteral("1 placement")));
        auto *undo = m_harness->control<QToolButton>("cmdUndo");
        QCOMPARE(undo->isEnabled(), answer != QLatin1String("no"));
        undo->click();
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("2/1"));
        QCOMPARE(sectionsShown(), QStringLiteral("1C 2F 3F 5F"));
    }

    // An undo another client has overtaken is refused with a word and the map read again.
    void anOvertakenUndoIsRefused()
    {
        ScriptedDialogsScope dialogs;
        m_harness->window().MovePages(2, 1, 3);
        TestWarehouse::exec(QStringLiteral("UPDATE tblCatalogMap SET PageSection = 'Gifts' WHERE "
                                           "PageNum = 3"));
        m_harness->control<QToolButton>("cmdUndo")->click();
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(dialogs->messages().at(0).contains(QStringLiteral("changed since")));
        QCOMPARE(m_harness->window().pageMap().page(3)->section, QStringLiteral("Gifts"));
        QVERIFY(!m_harness->control<QToolButton>("cmdUndo")->isEnabled());
    }

    // After a change made in the window, its undo and its redo, the map the window holds is the
    // map as stored, taken in without the whole map read again (a product renamed behind the
    // window's back keeps its old name there).
    void heldMapFollowsItsOwnChanges_data()
    {
        using Change = std::function<void(frmPageMap &)>;
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("answer");
        const auto row = [](const char *name, Change change, const QString &answer = {}) {
            QTest::newRow(name) << change << answer;
        };
        row("page forward, over the gap", [](frmPageMap &w) { w.MovePages(2, 1, 5); });
        row("page backward", [](frmPageMap &w) { w.MovePages(5, 1, 2); });
        row("spread", [](frmPageMap &w) { w.MovePages(2, 2, 4); });
        row("first to last", [](frmPageMap &w) { w.MovePages(1, 1, 5); });
        row("last to first", [](frmPageMap &w) { w.MovePages(5, 1, 1); });
        row("insert", [](frmPageMap &w) { w.InsertPage(2, false); });
        row("insert after the last", [](frmPageMap &w) { w.InsertPage(5, true); });
        row(
            "remove with its placement", [](frmPageMap &w) { w.RemovePage(2); },
            QStringLiteral("yes"));
        row(
            "section", [](frmPageMap &w) { w.EditPageSection(3); }, QStringLiteral("Gifts"));
        row("product", [](frmPageMap &w) {
            w.MovePlacement(w.pageMap().page(2)->placements.at(0).itemId, 3);
        });
    }
    void heldMapFollowsItsOwnChanges()
    {
        using Change = std::function<void(frmPageMap &)>;
        QFETCH(Change, change);
        QFETCH(QString, answer);
        ScriptedDialogsScope dialogs;
        frmPageMap &window = m_harness->window();
        // Placed in the gap, on no page's row.
        fixture::product(QStringLiteral("C1"), QStringLiteral("Book C1"));
        fixture::placement(QStringLiteral("C1"), 4, 1);
        window.ReloadMap();
        const auto rename = [](const char *name) {
            TestWarehouse::exec(
                QStringLiteral("UPDATE tblInvMaster SET ProductName = ? WHERE ProductID = 'A2'"),
                {QString::fromLatin1(name)});
        };
        for (int step = 0; step < 3; ++step) {
            rename("Unread");
            if (step == 0) {
                if (answer == QLatin1String("yes"))
                    dialogs->answerYes();
                else if (!answer.isEmpty())
                    dialogs->answerInput(answer);
                change(window);
            }
            if (step == 1)
                window.Undo();
            if (step == 2)
                window.Redo();
            QVERIFY(window.canUndo() == (step != 1));
            QVERIFY(!mapText(window.pageMap()).contains(QStringLiteral("Unread")));
            rename("Book A2");
            QCOMPARE(mapText(window.pageMap()), mapText(loadPageMap(NodeKey(kMap))));
        }
        QVERIFY(dialogs->messages().isEmpty());
    }

    // Arrows move the focus frame, Ctrl+arrow the page, Enter opens it in the editor; the view
    // names the focused page.
    void keyboard()
    {
        view()->setFocus();
        view()->setFocusPage(1);
        QTest::keyClick(view(), Qt::Key_Right);
        QCOMPARE(view()->focusPage(), 2);
        QCOMPARE(view()->accessibleName(),
                 QStringLiteral("Page 2, Fiction, 1 product, 11.11 % filled"));
        QAccessibleInterface *tiles = QAccessible::queryAccessibleInterface(view());
        QCOMPARE(tiles->childCount(), 4);
        QCOMPARE(tiles->child(3)->text(QAccessible::Name),
                 QStringLiteral("Page 5, Fiction, 0 products, 0 % filled"));
        QTest::keyClick(view(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(pageAndPosition(QStringLiteral("B1")), QStringLiteral("3/1"));
        QCOMPARE(view()->focusPage(), 3);
        QTest::keyClick(view(), Qt::Key_Return);
        auto *editor =
            qobject_cast<frmCatEdit *>(m_harness->main().findWindow(QStringLiteral("frmCatEdit")));
        QVERIFY(editor);
        QCOMPARE(editor->Tag(), kMap + QStringLiteral("|003"));
    }

    // The editor's tree follows pages inserted in the page map, its node still selected.
    void editorTreeFollowsPageChanges()
    {
        auto *editor =
            qobject_cast<frmCatEdit *>(m_harness->main().openWindow(QStringLiteral("frmCatEdit")));
        QVERIFY(editor->SelectNode(kMap + QStringLiteral("|003")));
        auto *tree = static_cast<frmCatEditTreeModel *>(
            editor->findChild<QTreeView *>(QStringLiteral("tvCatalogTree"))->model());
        QVERIFY(!tree->indexOfKey(kMap + QStringLiteral("|006")).isValid());
        m_harness->window().InsertPage(2, false);
        QTRY_VERIFY(tree->indexOfKey(kMap + QStringLiteral("|006")).isValid());
        QCOMPARE(editor->Tag(), kMap + QStringLiteral("|003"));
    }

    // The summary says how the pages fill the signatures; another version compared page
    // against page.
    void signaturesAndComparison()
    {
        frmPageMap &window = m_harness->window();
        window.setSignatureSize(4);
        auto *summary = m_harness->control<QLabel>("lblSummary");
        QVERIFY(summary->text().contains(QStringLiteral("5 pages: 3 missing for 2 signatures")));
        window.setSignatureSize(8);
        QVERIFY(summary->text().contains(QStringLiteral("3 missing for 1 signature of 8")));
        for (int page : {1, 2, 3, 5})
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                 QStringLiteral("0001"), page);
        window.CompareWith(QStringLiteral("ID|MYST|SPRING|0001"));
        QVERIFY(window.compareView()->isVisible());
        // Cover against Fiction; the products of pages 1-3 on this side only.
        QCOMPARE(window.comparison().pages.size(), std::size_t(3));
        QVERIFY(window.comparison().pages.at(1).section);
        QCOMPARE(window.comparison().ours.size(), 4);
        window.CompareWith({});
        QVERIFY(!window.compareView()->isVisible());
    }

private:
    frmPageMapView *view() const { return m_harness->window().view(); }
    QString statusText() const
    {
        return m_harness->control<QStatusBar>("sbStatusBar")->currentMessage();
    }

    // Drags a product's line (on the first page it is on) to the middle of a page tile.
    // `meanwhile` runs while the product is held over the target page, before the drop.
    void drag(const QString &product, int toPage, const std::function<void()> &meanwhile = {})
    {
        frmPageMapView *pages = view();
        const catalog::PageMap &map = m_harness->window().pageMap();
        QPoint from;
        // Lines start lower in the overview's sketch, under its taller band.
        const bool sketch = pagemap::kTileHeight * pages->zoom() < 200;
        const double firstLine =
            sketch ? pagemap::kSketchHeaderHeight + 6 : pagemap::kHeaderHeight + 4;
        for (const MapPage &page : map.pages) {
            for (std::size_t line = 0; line < page.placements.size(); ++line)
                if (from.isNull() && page.placements[line].productId == product) {
                    const QRect tile = pages->pageRect(page.number);
                    const double scale = pages->zoom();
                    from = QPoint(
                        tile.left() + int(60 * scale),
                        tile.top() +
                            int((firstLine + (double(line) + 0.5) * pagemap::kLineHeight) * scale));
                }
        }
        QVERIFY(!from.isNull());
        QCOMPARE(pages->placementAt(from).has_value(), true);
        const QPoint to = pages->pageRect(toPage).center();
        QWidget *area = pages->viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(20, 20)),
                         area->mapToGlobal(QPointF(from + QPoint(20, 20))), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(area, &move);
        QMouseEvent over(QEvent::MouseMove, QPointF(to), area->mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(area, &over);
        if (meanwhile)
            meanwhile();
        QTest::mouseRelease(area, Qt::LeftButton, {}, to);
    }

    // The document title of a PDF: a string, in UTF-16 after a byte-order mark or in Latin-1,
    // with backslash escapes.
    static QString titleOf(const QByteArray &pdf)
    {
        const qsizetype at = pdf.indexOf("/Title");
        const qsizetype open = pdf.indexOf('(', at);
        if (at < 0 || open < 0)
            return {};
        QByteArray raw;
        for (qsizetype i = open + 1; i < pdf.size() && pdf[i] != ')'; ++i)
            raw += pdf[i] == '\\' && i + 1 < pdf.size() ? pdf[++i] : pdf[i];
        if (!raw.startsWith("\xFE\xFF"))
            return QString::fromLatin1(raw);
        QString text;
        for (qsizetype i = 2; i + 1 < raw.size(); i += 2)
            text += QChar(char16_t((uchar(raw[i]) << 8) | uchar(raw[i + 1])));
        return text;
    }

    std::optional<TestWarehouse> m_warehouse;
    std::optional<WindowHarness<frmPageMap>> m_harness;
};

FOLVANE_WINDOW_TEST_MAIN(frmPageMapTest)
#include "tst_frmPageMap.moc"
