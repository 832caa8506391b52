// The main window: its menu tree, one instance per working window, the About box and the stored
// window placement.
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/MDIfrmMain.h"
#include "shell/WindowPlacement.h"
#include "shell/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    static QSettings settings()
    {
        return QSettings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    }

private Q_SLOTS:
    void initTestCase() { useScratchSettings(m_config.path()); }

    void init() { settings().clear(); }

    void menuTree_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("parentMenu");
        QTest::addColumn<bool>("enabled");
        const auto row = [](const char *name, const char *caption, const char *parent,
                            bool enabled) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption)
                                << QString::fromLatin1(parent) << enabled;
        };
        row("mnuFile", "&File", "", true);
        row("mnuExit", "Exit", "mnuFile", true);
        row("mnuEdit", "&Edit", "", true);
        row("mnuTools", "&Tools", "", true);
        row("mnuCatalogMaintenance", "Catalog Maintenance", "mnuTools", true);
        row("mnuMaintainProducts", "Maintain Products", "mnuTools", true);
        row("mnuCustomerMaintenance", "Customer Maintenance", "mnuTools", true);
        row("mnuCustomerLookup", "Customer Lookup", "mnuCustomerMaintenance", false);
        row("mnuBillingAccounts", "Billing Accounts", "mnuCustomerMaintenance", false);
        row("mnuReports", "&Reports", "", true);
        row("mnuWindow", "&Window", "", true);
        row("mnuWindowCascade", "Cascade", "mnuWindow", true);
        row("mnuWindowTileHorizontal", "Tile Horizontal", "mnuWindow", true);
        row("mnuWindowTileVertical", "Tile Vertical", "mnuWindow", true);
        row("mnuHelp", "&Help", "", true);
        row("mnuAboutFolvane", "About Folvane", "mnuHelp", true);
        row("mnuExportGrid", "Export Grid To Excel", "mnuGridFunctions", true);
        row("mnuSearchGrid", "Search Grid For Value", "mnuGridFunctions", true);
        row("mnuClearGridBackColor", "Clear Back Color", "mnuGridFunctions", true);
        row("mnuGridPaste", "Paste", "mnuGridFunctions", true);
        row("mnuPasteToGrid", "Paste To Grid", "mnuGridPaste", true);
        row("mnuPasteToGridCell", "Paste To Grid Cell", "mnuGridPaste", true);
        row("mnuGridCopy", "Copy", "mnuGridFunctions", true);
        row("mnuCopyGrid", "Copy Grid", "mnuGridCopy", true);
        row("mnuCopyGridCell", "Copy Grid Cell", "mnuGridCopy", true);
        row("mnuCtgEditCopyMaps", "Copy Map To New", "mnuCtgEdit", true);
        row("mnuCtgEditDeleteMap", "Delete Map", "mnuCtgEdit", true);
        row("mnuCtgEditCopyCatalog", "Copy Catalog To New Test ID", "mnuCtgEdit", true);
        row("mnuCtgEditAddPage", "Add Page", "mnuCtgEdit", true);
        row("mnuCtgEditRemovePage", "Remove Page", "mnuCtgEdit", true);
        row("mnuCtgEditPageNumSwitch", "Switch Page Numbers", "mnuCtgEdit", true);
        row("mnuCtgEditPageSection", "Edit Page Section", "mnuCtgEdit", true);
        row("mnuCtgEditCopyToFile", "Export Map To File", "mnuCtgEdit", true);
        row("mnuCtgEditPageMap", "View Page Map", "mnuCtgEdit", true);
        row("mnuCtgEditPlanSummary", "Plan Summary", "mnuCtgEdit", true);
        row("mnuCatalogPlanSummary", "Catalog Plan Summary", "mnuReports", true);
        row("mnuCompareVersions", "Compare Versions", "mnuReports", true);
        row("mnuMailingCost", "Mailing Cost and Response", "mnuReports", true);
        row("mnuProductHistory", "Product History", "mnuReports", true);
        row("mnuGridProductHistory", "Product History", "mnuGridFunctions", true);
        row("mnuPrint", "Print...", "mnuFile", true);
    }

    void menuTree()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, parentMenu);
        QFETCH(bool, enabled);
        MDIfrmMain main(clientWindows());
        QAction *item = main.menuItem(name);
        QVERIFY2(item, qPrintable(name));
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->isEnabled(), enabled);
        if (parentMenu.isEmpty()) {
            QVERIFY(main.menuBar()->actions().contains(item));
        } else {
            QMenu *owner = main.menu(parentMenu);
            QVERIFY2(owner, qPrintable(parentMenu));
            QVERIFY(owner->actions().contains(item));
        }
    }

    void menuBarOrderSeparatorsAndShortcut()
    {
        MDIfrmMain main(clientWindows());
        QStringList bar;
        for (QAction *action : main.menuBar()->actions())
            bar << action->objectName();
        // The two hidden menus are never on the bar.
        QCOMPARE(bar, (QStringList{QStringLiteral("mnuFile"), QStringLiteral("mnuEdit"),
                                   QStringLiteral("mnuTools"), QStringLiteral("mnuReports"),
                                   QStringLiteral("mnuWindow"), QStringLiteral("mnuHelp")}));
        QStringList file;
        // Back Up Warehouse shows on the embedded warehouse only; none is open here.
        for (QAction *action : main.menu(QStringLiteral("mnuFile"))->actions())
            if (action->isVisible())
                file << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(file,
                 (QStringList{QStringLiteral("Create New Catalog"), QStringLiteral("Edit Catalog"),
                              QStringLiteral("Create Catalog Package"), QStringLiteral("Print..."),
                              QStringLiteral("-"), QStringLiteral("Exit")}));
        QStringList tools;
        for (QAction *action : main.menu(QStringLiteral("mnuTools"))->actions())
            tools << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(tools, (QStringList{QStringLiteral("Catalog Maintenance"), QStringLiteral("-"),
                                     QStringLiteral("Maintain Products"), QStringLiteral("-"),
                                     QStringLiteral("Customer Maintenance"), QStringLiteral("-"),
                                     QStringLiteral("Ad Codes Maintenance")}));
        QCOMPARE(main.menuItem(QStringLiteral("mnuExit"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Q));
        QVERIFY(main.menuItem(QStringLiteral("mnuViewLine3"))->isSeparator());
        QVERIFY(main.menu(QStringLiteral("mnuEdit"))->actions().isEmpty());
        QStringList reports;
        for (QAction *action : main.menu(QStringLiteral("mnuReports"))->actions())
            reports << action->text();
        QCOMPARE(reports, (QStringList{QStringLiteral("Catalog Plan Summary"),
                                       QStringLiteral("Compare Versions"),
                                       QStringLiteral("Product History"),
                                       QStringLiteral("Mailing Cost and Response")}));
    }

    void aWindowIsOpenedOnce()
    {
        MDIfrmMain main(clientWindows());
        main.show();
        main.menuItem(QStringLiteral("mnuAboutFolvane"))->trigger();
        auto *about = main.window<frmAbout>();
        QVERIFY(about);
        about->setProperty("marker", 42);
        main.menuItem(QStringLiteral("mnuAboutFolvane"))->trigger();
        QCOMPARE(main.loadedWindows().size(), 1);
        QCOMPARE(main.window<frmAbout>(), about);
        QCOMPARE(about->property("marker").toInt(), 42);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
    }

    void aboutBox()
    {
        MDIfrmMain main(clientWindows());
        main.show();
        auto *about = qobject_cast<frmAbout *>(main.openWindow(QStringLiteral("frmAbout")));
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About Folvane"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version ") + QStringLiteral(FOLVANE_VERSION));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Folvane"));

        // No system information program on an empty PATH.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "");
        {
            ScriptedDialogsScope dialogs;
            about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
            QCOMPARE(dialogs->messages(),
                     QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
            QCOMPARE(dialogs->last().icon, Dialogs::Icon::None);
        }
        qputenv("PATH", path);

        about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QTRY_COMPARE(main.loadedWindows().size(), 0);
    }

    void placementIsSavedOnCloseWithLeadingBlanks()
    {
        {
            auto *main = new MDIfrmMain(clientWindows());
            main->show();
            main->move(40, 30);
            main->resize(800, 600);
            main->close();
        }
        QSettings stored = settings();
        stored.beginGroup(QStringLiteral("MDIfrmMain Display Settings"));
        QCOMPARE(stored.value(QStringLiteral("Width")).toString(), QStringLiteral(" 12000"));
        QCOMPARE(stored.value(QStringLiteral("Height")).toString(), QStringLiteral(" 9000"));
        QCOMPARE(stored.childKeys().size(), 4);

        MDIfrmMain again(clientWindows());
        QCOMPARE(again.size(), QSize(800, 600));
    }

    void minimisedCloseKeepsStoredPlacement()
    {
        savePlacementValues(QStringLiteral("MDIfrmMain"), {300, 450, 7500, 9000});
        auto *main = new MDIfrmMain(clientWindows());
        main->show();
        main->showMinimized();
        QTRY_VERIFY(main->isMinimized());
        main->close();
        const WindowPlacementValues stored =
            restorePlacementValues(QStringLiteral("MDIfrmMain"), {});
        QCOMPARE(stored.top, 300);
        QCOMPARE(stored.left, 450);
        QCOMPARE(stored.height, 7500);
        QCOMPARE(stored.width, 9000);
    }

    void aPlaceFromALargerScreenComesOntoThisOne()
    {
        // 3,000 by 2,000 pixels, reaching 150 pixels above and left of the screen.
        savePlacementValues(QStringLiteral("MDIfrmMain"), {-2250, -2250, 30000, 45000});
        MDIfrmMain main(clientWindows());
        const QRect room = main.screen()->availableGeometry();
        QVERIFY(room.contains(QRect(main.pos(), main.size())));
        QCOMPARE(main.size(), room.size());
    }

    void extraKeysAndBlanksAreHandled()
    {
        {
            QSettings stored = settings();
            stored.beginGroup(QStringLiteral("MDIfrmMain Display Settings"));
            stored.setValue(QStringLiteral("Top"), QStringLiteral(" 1500"));
            stored.setValue(QStringLiteral("Width"), QStringLiteral("   9000"));
            stored.setValue(QStringLiteral("Colour"), QStringLiteral("blue"));
            stored.setValue(QStringLiteral("width"), QStringLiteral(" 1"));
        }
        const WindowPlacementValues values =
            restorePlacementValues(QStringLiteral("MDIfrmMain"), {1, 2, 3, 4});
        QCOMPARE(values.top, 1500);
        QCOMPARE(values.left, 2);
        QCOMPARE(values.height, 3);
        QCOMPARE(values.width, 9000);
    }

    void gridCommandsActOnTheFocusedGridOfTheActiveChild()
    {
        MDIfrmMain main(clientWindows());
        main.show();
        auto *child = new QWidget;
        child->setWindowTitle(QStringLiteral("Some Child"));
        auto *grid = new FlexGrid(child);
        grid->setCols(2);
        grid->setRows(1);
        grid->setTextMatrix(0, 0, QStringLiteral("Product ID"));
        grid->setTextMatrix(0, 1, QStringLiteral("Name"));
        main.mdiArea()->addSubWindow(child)->show();
        main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(child->parentWidget()));
        grid->setFocus();

        ScriptedDialogsScope dialogs;
        // Only the header: nothing is asked at all.
        main.menuItem(QStringLiteral("mnuSearchGrid"))->trigger();
        QVERIFY(dialogs->calls().isEmpty());

        grid->AddItem(QStringLiteral("A1\tapple"));
        grid->AddItem(QStringLiteral("B2\tAPPLE PIE"));
        grid->AddItem(QStringLiteral("C3\tpear"));
        grid->setCol(1);
        dialogs->answerInput(QStringLiteral("  apple "));
        main.menuItem(QStringLiteral("mnuSearchGrid"))->trigger();
        QCOMPARE(dialogs->last().kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(dialogs->last().text,
                 QStringLiteral(
                     "Please enter the search criteria for [Name] in the space provided below."));
        QCOMPARE(dialogs->last().title, QStringLiteral("Some Child"));
        const auto colourOf = [grid](int row) {
            grid->setRow(row);
            grid->setCol(0);
            return grid->CellBackColor();
        };
        QCOMPARE(colourOf(1), kSearchHighlight);
        QCOMPARE(colourOf(2), kSearchHighlight);
        QVERIFY(colourOf(3) != kSearchHighlight);

        // A blank answer or Cancel searches nothing.
        main.menuItem(QStringLiteral("mnuClearGridBackColor"))->trigger();
        dialogs->answerInput(QStringLiteral("   "));
        main.menuItem(QStringLiteral("mnuSearchGrid"))->trigger();
        dialogs->answerCancel();
        main.menuItem(QStringLiteral("mnuSearchGrid"))->trigger();
        QVERIFY(colourOf(1) != kSearchHighlight);

        main.menuItem(QStringLiteral("mnuCopyGrid"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Product ID\tName\r\nA1\tapple\r\nB2\tAPPLE PIE\r\nC3\tpear\r\n"));
    }

    void gridMenuItemsFollowThePopup()
    {
        MDIfrmMain main(clientWindows());
        FlexGrid grid;
        main.popupGridFunctions(grid, QPoint(10, 10), false);
        QVERIFY(main.menuItem(QStringLiteral("mnuExportGrid"))->isEnabled());
        QVERIFY(main.menuItem(QStringLiteral("mnuCopyGridCell"))->isEnabled());
        QVERIFY(!main.menuItem(QStringLiteral("mnuGridPaste"))->isEnabled());
        QVERIFY(!main.menuItem(QStringLiteral("mnuPasteToGridCell"))->isEnabled());
        main.menu(QStringLiteral("mnuGridFunctions"))->hide();
        main.popupGridFunctions(grid, QPoint(10, 10), true);
        QVERIFY(main.menuItem(QStringLiteral("mnuPasteToGrid"))->isEnabled());
        main.menu(QStringLiteral("mnuGridFunctions"))->hide();
    }

    void exitClosesWindowsInTheOrderTheyWereLoaded()
    {
        TestWarehouse warehouse;
        auto *main = new MDIfrmMain(clientWindows());
        main->show();
        QStringList closed;
        const QStringList names = {QStringLiteral("frmCatSched"), QStringLiteral("frmAbout"),
                                   QStringLiteral("frmCatBuild")};
        for (const QString &name : names) {
            QWidget *window = main->openWindow(name);
            QVERIFY2(window, qPrintable(name));
            connect(window, &QObject::destroyed, this, [&closed, name] { closed << name; });
        }
        QPointer<MDIfrmMain> alive(main);
        main->menuItem(QStringLiteral("mnuExit"))->trigger();
        QTRY_VERIFY(alive.isNull());
        QCOMPARE(closed, names);
    }

    void noSectionKeepsDesignedPlacement()
    {
        const WindowPlacementValues values =
            restorePlacementValues(QStringLiteral("frmNeverPlaced"), {10, 20, 30, 40});
        QCOMPARE(values.top, 10);
        QCOMPARE(values.width, 40);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
