// The catalog editor window under the main window: the typical request from the tree to a new
// placement, node clicks and their states, the Catalog Edit menu, renaming an insert, the
// placement editor's keys, modes and delete, the grid menu, and the hand-over from the builder.
#include "CatalogEditFixtures.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "pagemap/PageMap.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Query.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

const QString kPage2 = QStringLiteral("ID|MYST|SPRING|0000|002");
const QString kTest = QStringLiteral("ID|MYST|SPRING|0000");
const QString kInsert = QStringLiteral("INS|01152024093000");
const QString kInsertPage = QStringLiteral("INS|01152024093000|001");

void mapsAndProducts()
{
    for (int page = 1; page <= 3; ++page)
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page, QStringLiteral("Thrillers"));
    fixture::insertPage(QStringLiteral("01152024093000"), QStringLiteral("Mini"), 1);
    fixture::insertPage(QStringLiteral("01152024093000"), QStringLiteral("Mini"), 2);
    fixture::Product p;
    p.id = QStringLiteral("B1");
    p.name = QStringLiteral("Murder at the Lighthouse");
    p.msrp = 60.0;
    fixture::product(p);
    p.id = QStringLiteral("B2");
    p.name = QStringLiteral("Quiet Harbour");
    fixture::product(p);
    fixture::description(QStringLiteral("B1"), QStringLiteral("Short"));
    fixture::placement(QStringLiteral("B2"), 2, 4);
}

} // namespace

class frmCatEditTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    std::unique_ptr<TestWarehouse> m_warehouse;
    MDIfrmMain *m_main = nullptr;
    frmCatEdit *m_editor = nullptr;

    template <typename T> T *control(const char *name) const
    {
        return ::control<T>(*m_editor, name);
    }
    QTreeView *tree() const { return control<QTreeView>("tvCatalogTree"); }
    FlexGrid *grid(const char *name) const { return control<FlexGrid>(name); }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    QString caption() const { return control<QLabel>("lblNodePressed")->text(); }
    QMenu *catalogEditMenu() const { return m_main->menu(QStringLiteral("mnuCtgEdit")); }

    QModelIndex nodeIndex(const QString &key) const
    {
        auto *model = static_cast<frmCatEditTreeModel *>(tree()->model());
        const QModelIndex index = model->indexOfKey(key);
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            tree()->expand(up);
        tree()->scrollTo(index);
        return index;
    }
    void clickNode(const QString &key, Qt::MouseButton button = Qt::LeftButton) const
    {
        const QModelIndex index = nodeIndex(key);
        QVERIFY2(index.isValid(), qPrintable(key));
        QTest::mouseClick(tree()->viewport(), button, {}, tree()->visualRect(index).center());
    }
    void openEditor()
    {
        m_main = new MDIfrmMain(clientWindows());
        m_main->show();
        m_main->menuItem(QStringLiteral("mnuEditCatalog"))->trigger();
        m_editor = m_main->window<frmCatEdit>();
        QVERIFY(m_editor);
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }
    // Enabled items of the Catalog Edit menu, by name.
    QStringList enabledMenuItems() const
    {
        QStringList names;
        for (QAction *item : catalogEditMenu()->actions())
            if (item->isEnabled())
                names << item->objectName();
        return names;
    }

private Q_SLOTS:
    void initTestCase()
    {
        useScratchSettings(m_config.path());
        gstrUserName = QStringLiteral("planner7");
    }

    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        mapsAndProducts();
        if (qstrcmp(QTest::currentTestFunction(), "builderSaveOpensTheEditor") != 0)
            openEditor();
    }

    void cleanup()
    {
        if (m_main && catalogEditMenu())
            catalogEditMenu()->hide();
        delete m_main;
        m_main = nullptr;
        m_editor = nullptr;
        m_warehouse.reset();
    }

    void openingState()
    {
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("Edit Existing Catalog/Insert"));
        QVERIFY(m_editor->parentWidget()->isMaximized());
        QCOMPARE(caption(), QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));
        QCOMPARE(m_editor->Tag(), QString());
        QCOMPARE(m_editor->property("Tag").toString(), QString());
        QVERIFY(!control<QGroupBox>("fraSaveInfo")->isEnabled());
        QVERIFY(control<QRadioButton>("optAdd")->isChecked());
        QCOMPARE(box("txtWeight")->text(), QStringLiteral("11.11"));
        QCOMPARE(box("txtModifyDate")->text(),
                 QDate::currentDate().toString(QStringLiteral("MM/dd/yy")));
        QCOMPARE(control<QComboBox>("cboBlurbSize")->currentText(), QStringLiteral("Blank"));
        QCOMPARE(control<QComboBox>("cboBlurbSize")->count(), 4);
        QCOMPARE(grid("grdChosenProducts")->Rows(), 1);
        QCOMPARE(grid("grdChosenProducts")->Cols(), 19);
        QCOMPARE(grid("grdChosenProducts")->ColWidth(3), 0);
        QVERIFY(grid("grdChosenProducts")->ColWidth(4) > 0);
        QCOMPARE(grid("grdInventoryMaster")->Rows(), 2);
        QCOMPARE(grid("grdInventoryMaster")->Cols(), 25);
        QVERIFY(nodeIndex(kPage2).isValid());
        QCOMPARE(nodeIndex(kPage2).data().toString(), QStringLiteral("Page: 02 - Thrillers"));
    }

    // The typical request: click a page, find the product in the inventory by a column, place it,
    // and see it in the reloaded placements, written with the operator's name and the time.
    void placeAProductOnAPage()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kPage2);
        QCOMPARE(m_editor->Tag(), kPage2);
        QCOMPARE(caption(),
                 QStringLiteral("Regular Catalog | Club -MYST | Catalog Number - SPRING | "
                                "Test ID - 0000 | Page: 02 - Thrillers"));
        QVERIFY(control<QGroupBox>("fraSaveInfo")->isEnabled());
        FlexGrid *placements = grid("grdChosenProducts");
        QCOMPARE(placements->Rows(), 2);
        QCOMPARE(placements->TextMatrix(1, 4), QStringLiteral("B2"));
        QCOMPARE(box("txtPageNumber")->text(), QStringLiteral("2"));
        QVERIFY(box("txtPageNumber")->isReadOnly());
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("5"));

        control<QTabWidget>("tabHelpInfo")->setCurrentIndex(1);
        FlexGrid *inventory = grid("grdInventoryMaster");
        dialogs->answerInput(QStringLiteral("lighthouse"));
        QTest::mouseDClick(inventory->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           inventory->cellRect(0, 2).center());
        QCOMPARE(dialogs->last().kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(dialogs->last().text,
                 QStringLiteral("In order to search by [Product Name], please "
                                "enter your criteria below..."));
        QCOMPARE(dialogs->last().title, m_editor->windowTitle());
        QCOMPARE(inventory->Rows(), 3);
        QCOMPARE(inventory->TextMatrix(2, 0), QStringLiteral("B1"));

        QTest::keyClicks(box("txtProductID"), inventory->TextMatrix(2, 0));
        control<QComboBox>("cboBlurbSize")->setCurrentText(QStringLiteral("Short"));
        QTest::keyClicks(box("txtPrice"), QStringLiteral("45"));
        QTest::keyClicks(box("txtProductType"), QStringLiteral("fb"));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QTest::keyClick(box("txtPrice"), Qt::Key_Return);
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        QCOMPARE(dialogs->calls().size(), 1); // no message: saved
        QCOMPARE(placements->Rows(), 3);
        QCOMPARE(placements->TextMatrix(2, 4), QStringLiteral("B1"));
        QCOMPARE(placements->TextMatrix(2, 6), QStringLiteral("5"));
        QCOMPARE(placements->TextMatrix(2, 9), QStringLiteral("$45.00"));
        QCOMPARE(placements->TextMatrix(2, 10), QStringLiteral("25.00%"));
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("6"));
        QCOMPARE(box("txtProductID")->text(), QString());
        QVERIFY(box("txtProductID")->hasFocus());

        Query row(QStringLiteral("SELECT ModifyUser, ModifyDate, ProductType, PageNum FROM "
                                 "tblProductsMap WHERE ProductID = 'B1'"));
        row.exec();
        QVERIFY(row.next());
        QCOMPARE(row.text(0), QStringLiteral("planner7"));
        const QDateTime written =
            row.value(1).typeId() == QMetaType::QDateTime
                ? row.value(1).toDateTime()
                : QDateTime::fromString(row.text(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY2(written >= before && written <= after, qPrintable(written.toString()));
        QCOMPARE(row.text(2), QStringLiteral("FB"));
        QCOMPARE(row.value(3).toInt(), 2);
    }

    // A move made in the page map reaches the editor: the placements it shows of that map are read
    // again, and an untouched position proposal follows them.
    void followsMovesMadeInThePageMap_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("placements"); // product/page/position, as listed after
        QTest::addColumn<QString>("proposal");
        QTest::newRow("the page it left") << kPage2 << QString() << QStringLiteral("1");
        QTest::newRow("the page it joined")
            << kTest + QStringLiteral("|003") << QStringLiteral("B2/3/1") << QStringLiteral("2");
        QTest::newRow("the whole map") << kTest << QStringLiteral("B2/3/1") << QString();
    }
    void followsMovesMadeInThePageMap()
    {
        QFETCH(QString, shown);
        QFETCH(QString, placements);
        QFETCH(QString, proposal);
        clickNode(shown);
        const qlonglong b2 =
            TestWarehouse::scalar(QStringLiteral("SELECT ItemID FROM tblProductsMap WHERE "
                                                 "ProductID = 'B2'"))
                .toLongLong();
        QCOMPARE(catalog::movePlacement(catalog::NodeKey(kTest), b2, 2, 3,
                                        QDateTime::currentDateTime(), gstrUserName),
                 catalog::MoveResult::Moved);
        FlexGrid *grid = this->grid("grdChosenProducts");
        const auto listed = [grid] {
            QStringList rows;
            for (int row = 1; row < grid->Rows(); ++row)
                rows << QStringList{grid->TextMatrix(row, 4), grid->TextMatrix(row, 5),
                                    grid->TextMatrix(row, 6)}
                            .join(QLatin1Char('/'));
            return rows.join(QLatin1Char(' '));
        };
        QTRY_COMPARE(listed(), placements);
        QCOMPARE(box("txtPosition")->text(), proposal);
    }

    // Another client's change, or a notice of one that changed nothing here, leaves the operator
    // on the placement they were on and keeps what they typed.
    void keepsTheOperatorsPlaceOnARefresh_data()
    {
        QTest::addColumn<bool>("earlierDeleted");
        QTest::newRow("map unchanged") << false;
        QTest::newRow("a placement listed before it deleted") << true;
    }
    void keepsTheOperatorsPlaceOnARefresh()
    {
        QFETCH(bool, earlierDeleted);
        fixture::placement(QStringLiteral("B1"), 1, 1);
        fixture::placement(QStringLiteral("B1"), 3, 1);
        clickNode(kTest);
        FlexGrid *grid = this->grid("grdChosenProducts");
        QCOMPARE(grid->Rows(), 4);
        grid->setRow(3);
        const QString item = grid->TextMatrix(3, 0);
        box("txtProductID")->setText(QStringLiteral("TYPED"));
        if (earlierDeleted)
            TestWarehouse::exec(
                QStringLiteral("DELETE FROM tblProductsMap WHERE ProductID = 'B2'"));
        Q_EMIT catalog::MapChanges::instance().changed(kTest);
        QTest::qWait(50);
        QTRY_COMPARE(grid->Rows(), earlierDeleted ? 3 : 4);
        QCOMPARE(grid->Row(), earlierDeleted ? 2 : 3);
        QCOMPARE(grid->TextMatrix(grid->Row(), 0), item);
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("TYPED"));
    }

    void nodeClicks()
    {
        clickNode(kTest);
        QCOMPARE(m_editor->Tag(), kTest);
        QCOMPARE(caption(),
                 QStringLiteral("Regular Catalog | Club -MYST | Catalog Number - SPRING | "
                                "Test ID - 0000 "));
        QVERIFY(!box("txtPageNumber")->isReadOnly());
        QCOMPARE(grid("grdChosenProducts")->Rows(), 2);

        clickNode(kInsertPage);
        QCOMPARE(caption(),
                 QStringLiteral("Package Insert | Insert ID -01152024093000 | Page: 01 - Fiction"));
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("1"));
        QCOMPARE(grid("grdChosenProducts")->Rows(), 1);

        clickNode(QStringLiteral("CTG"));
        QCOMPARE(m_editor->Tag(), QString());
        QCOMPARE(caption(), QStringLiteral("Welcome to the Catalog Edit"));
        QVERIFY(!control<QGroupBox>("fraSaveInfo")->isEnabled());
        QCOMPARE(box("txtPageNumber")->text(), QString());
        clickNode(QStringLiteral("SRT"));
        QCOMPARE(caption(), QStringLiteral("Welcome to the Insert Edit"));

        // The keyboard selects too.
        clickNode(kTest);
        tree()->expand(nodeIndex(kTest));
        tree()->setFocus();
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(m_editor->Tag(), kTest + QStringLiteral("|001"));
    }

    void catalogEditMenuStates_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QStringList>("enabled");
        const QStringList always{
            QStringLiteral("mnuCtgEditDeleteMap"),  QStringLiteral("mnuCtgEditAddPage"),
            QStringLiteral("mnuCtgEditRemovePage"), QStringLiteral("mnuCtgEditCopyToFile"),
            QStringLiteral("mnuCtgEditPageMap"),    QStringLiteral("mnuCtgEditPlanSummary")};
        const QStringList copies{QStringLiteral("mnuCtgEditCopyMaps"),
                                 QStringLiteral("mnuCtgEditCopyCatalog")};
        const QStringList pages{QStringLiteral("mnuCtgEditPageNumSwitch"),
                                QStringLiteral("mnuCtgEditPageSection")};
        QTest::newRow("catalog test") << kTest << always + copies;
        QTest::newRow("catalog page") << kPage2 << always + copies + pages;
        QTest::newRow("insert") << kInsert << always;
        QTest::newRow("insert page") << kInsertPage << always + pages;
    }
    // The menu is the one of the node last clicked, whichever node the right button is over.
    void catalogEditMenuStates()
    {
        QFETCH(QString, clicked);
        QFETCH(QStringList, enabled);
        clickNode(clicked);
        clickNode(clicked == kTest ? kInsertPage : kTest, Qt::RightButton);
        QVERIFY(catalogEditMenu()->isVisible());
        QStringList shown = enabledMenuItems();
        shown.sort();
        enabled.sort();
        QCOMPARE(shown, enabled);
        QCOMPARE(m_editor->Tag(), clicked);
        QCOMPARE(tree()->currentIndex(), nodeIndex(clicked));
    }

    // From the keyboard: the menu key and Shift+F10 on the tree.
    void catalogEditMenuFromTheKeyboard()
    {
        clickNode(kPage2);
        tree()->setFocus();
        QTest::keyClick(tree(), Qt::Key_Menu);
        QVERIFY(catalogEditMenu()->isVisible());
        QVERIFY(enabledMenuItems().contains(QStringLiteral("mnuCtgEditPageSection")));
        catalogEditMenu()->hide();
        QTest::keyClick(tree(), Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(catalogEditMenu()->isVisible());
        catalogEditMenu()->hide();
        QCOMPARE(m_editor->Tag(), kPage2);
    }

    void noMenuWithoutASelection()
    {
        clickNode(kTest, Qt::RightButton);
        QVERIFY(!catalogEditMenu()->isVisible());
        clickNode(QStringLiteral("CTG"));
        clickNode(kTest, Qt::RightButton);
        QVERIFY(!catalogEditMenu()->isVisible());
    }

    void renameInsertWithCtrlN()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kTest);
        tree()->setFocus();
        QTest::keyClick(tree(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(dialogs->calls().isEmpty());

        clickNode(kInsertPage);
        dialogs->answerInput(QStringLiteral("Spring Sampler"));
        QTest::keyClick(tree(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(dialogs->last().text, QStringLiteral("Please enter a new name for the insert..."));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInsertMap WHERE "
                                                     "InsertDescription = 'Spring Sampler'")),
                 2);
        QCOMPARE(nodeIndex(kInsert).data().toString(), QStringLiteral("Spring Sampler"));
        QCOMPARE(m_editor->Tag(), QString());
        QCOMPARE(caption(), QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));

        // Cancelled: nothing.
        clickNode(kInsert);
        dialogs->answerCancel();
        QTest::keyClick(tree(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_editor->Tag(), kInsert);
    }

    // Enter saves from the price box, not from the product type box; a refused entry shows its
    // messages and keeps the typing.
    void enterKeyAndMessages()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kPage2);
        QTest::keyClicks(box("txtProductID"), QStringLiteral("B1"));
        QTest::keyClick(box("txtProductType"), Qt::Key_Return);
        QVERIFY(dialogs->calls().isEmpty());
        QCOMPARE(grid("grdChosenProducts")->Rows(), 2);

        box("txtWeight")->clear();
        QTest::keyClick(box("txtPrice"), Qt::Key_Return);
        QCOMPARE(dialogs->messages(),
                 QStringList{QStringLiteral("Product Page Weight is a required field and can't be "
                                            "empty\rProduct Page Weight must be in numeric format "
                                            "I.E. 1,2,3...\r")});
        QCOMPARE(dialogs->last().title, m_editor->windowTitle());
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("B1"));

        box("txtWeight")->setText(QStringLiteral("5"));
        control<QPushButton>("cmdAdd")->click();
        QCOMPARE(grid("grdChosenProducts")->Rows(), 3);
    }

    // Edit mode: a row click loads the placement, a save replaces it; a double-click deletes.
    void editAndDeletePlacements()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kPage2);
        FlexGrid *placements = grid("grdChosenProducts");
        control<QRadioButton>("optEdit")->click();
        QVERIFY(box("txtProductID")->isReadOnly());
        const QString oldItem = placements->TextMatrix(1, 0);
        QTest::mouseClick(placements->viewport(), Qt::LeftButton, {},
                          placements->cellRect(1, 5).center());
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("B2"));
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("4"));
        QCOMPARE(box("txtProductID")->property("Tag").toString(), oldItem);
        box("txtPosition")->setText(QStringLiteral("9"));
        QTest::keyClick(box("txtPosition"), Qt::Key_Enter);
        QVERIFY(dialogs->calls().isEmpty());
        QCOMPARE(placements->Rows(), 2);
        QVERIFY(placements->TextMatrix(1, 0) != oldItem);
        QCOMPARE(placements->TextMatrix(1, 6), QStringLiteral("9"));
        QVERIFY(control<QRadioButton>("optEdit")->isChecked());

        dialogs->answerNo();
        QTest::mouseDClick(placements->viewport(), Qt::LeftButton, {},
                           placements->cellRect(1, 5).center());
        QCOMPARE(dialogs->last().text, QStringLiteral("Delete [B2] from the catalog?"));
        QCOMPARE(placements->Rows(), 2);
        dialogs->answerYes();
        QTest::mouseDClick(placements->viewport(), Qt::LeftButton, {},
                           placements->cellRect(1, 5).center());
        QCOMPARE(placements->Rows(), 1);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 0);
    }

    // A node whose placements cannot be read leaves nothing selected: no caption, Tag, placement
    // editor or side grid still speaks of the node clicked before.
    void failedNodeClickSelectsNothing()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kTest);
        TestWarehouse::exec(
            QStringLiteral("ALTER TABLE tblProductsMap RENAME TO tblProductsMapGone"));
        clickNode(kInsertPage);
        TestWarehouse::exec(
            QStringLiteral("ALTER TABLE tblProductsMapGone RENAME TO tblProductsMap"));

        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Critical);
        QCOMPARE(m_editor->Tag(), QString());
        QCOMPARE(caption(), QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));
        QVERIFY(!control<QGroupBox>("fraSaveInfo")->isEnabled());
        QCOMPARE(grid("grdChosenProducts")->Rows(), 1);
        QCOMPARE(grid("grdRecomendedItems")->Rows(), 1);
        QCOMPARE(grid("grdRecurringProducts")->Rows(), 1);
        clickNode(kTest, Qt::RightButton);
        QVERIFY(!catalogEditMenu()->isVisible());
    }

    // From a page of a catalog test straight to an insert: the page and position of that page do
    // not follow into the insert's unlocked boxes.
    void noStalePageAfterAJumpToAnInsert()
    {
        clickNode(kPage2);
        QCOMPARE(box("txtPageNumber")->text(), QStringLiteral("2"));
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("5"));
        clickNode(kInsert);
        QCOMPARE(m_editor->Tag(), kInsert);
        QCOMPARE(box("txtPageNumber")->text(), QString());
        QCOMPARE(box("txtPosition")->text(), QString());
        QVERIFY(!box("txtPageNumber")->isReadOnly());
        clickNode(kInsertPage);
        QCOMPARE(box("txtPageNumber")->text(), QStringLiteral("1"));
        QCOMPARE(box("txtPosition")->text(), QStringLiteral("1"));
    }

    // Deleting the placement being edited ends Edit mode: a later save does not bring it back.
    void deletedPlacementStaysDeleted()
    {
        ScriptedDialogsScope dialogs;
        clickNode(kPage2);
        FlexGrid *placements = grid("grdChosenProducts");
        control<QRadioButton>("optEdit")->click();
        QTest::mouseClick(placements->viewport(), Qt::LeftButton, {},
                          placements->cellRect(1, 5).center());
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("B2"));
        dialogs->answerYes();
        QTest::mouseDClick(placements->viewport(), Qt::LeftButton, {},
                           placements->cellRect(1, 5).center());
        QCOMPARE(placements->Rows(), 1);
        QVERIFY(control<QRadioButton>("optAdd")->isChecked());
        QCOMPARE(box("txtProductID")->text(), QString());

        control<QPushButton>("cmdAdd")->click();
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 0);
        QCOMPARE(placements->Rows(), 1);
    }

    void gridMenu()
    {
        FlexGrid *placements = grid("grdChosenProducts");
        QTest::mousePress(placements->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        QMenu *functions = m_main->menu(QStringLiteral("mnuGridFunctions"));
        QVERIFY(functions->isVisible());
        QVERIFY(!m_main->menuItem(QStringLiteral("mnuPasteToGrid"))->isEnabled());
        QVERIFY(m_main->menuItem(QStringLiteral("mnuCopyGrid"))->isEnabled());
        functions->hide();
    }

    // A map saved in the new map builder opens in the editor, in its tree; the builder goes.
    void builderSaveOpensTheEditor()
    {
        ScriptedDialogsScope dialogs;
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        m_main = new MDIfrmMain(clientWindows());
        m_main->show();
        QPointer<QWidget> builder = m_main->openWindow(QStringLiteral("frmCatBuild"));
        QVERIFY(builder);
        auto *type = builder->findChild<QComboBox *>(QStringLiteral("cboCatalogType"));
        type->setCurrentIndex(type->findText(QStringLiteral("Regular Catalog")));
        QTest::keyClicks(builder->findChild<QLineEdit *>(QStringLiteral("txtCatalogID")),
                         QStringLiteral("FALL25"));
        QTest::keyClicks(builder->findChild<QLineEdit *>(QStringLiteral("txtTestID")),
                         QStringLiteral("0001"));
        QTest::mouseClick(builder->findChild<QPushButton *>(QStringLiteral("cmdSave")),
                          Qt::LeftButton);
        QVERIFY(dialogs->calls().isEmpty());
        QTRY_VERIFY(!builder);
        m_editor = m_main->window<frmCatEdit>();
        QVERIFY(m_editor);
        QCOMPARE(m_main->mdiArea()->activeSubWindow()->widget(), m_editor);
        const QModelIndex saved = nodeIndex(QStringLiteral("ID|BOOK|FALL25|0001"));
        QVERIFY(saved.isValid());
        QCOMPARE(saved.data().toString(), QStringLiteral("FALL25 - 0001"));
        QCOMPARE(tree()->model()->rowCount(saved), 32);
    }
};

FOLVANE_WINDOW_TEST_MAIN(frmCatEditTest)
#include "tst_frmCatEdit.moc"
