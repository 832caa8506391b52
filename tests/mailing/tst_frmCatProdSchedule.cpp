// The recurring products calendar window: opened from its menu item, choosing a product from
// either grid, moving catalogs between the two lists, the search messages, a click outside the
// data rows, and an Add another workstation made first.
#include "../catalog/CatalogEditFixtures.h"
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "mailing/frmCatProdSchedule.h"
#include "shell/FlexGrid.h"
#include "warehouse/Warehouse.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

const QString kCaption = QStringLiteral("Recurring Products Calendar");

void recurs(const QString &club, const QString &catalog, const QString &product)
{
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, "
                                       "ProductID) VALUES (?, ?, ?)"),
                        {club, catalog, product});
}

int recurrences(const QString &product)
{
    return TestWarehouse::count(
        QStringLiteral("SELECT COUNT(*) FROM tblRecurringCatgProducts WHERE ProductID = ?"),
        {product});
}

void scheduleFour()
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("WINTER"));
    fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("SPRING"));
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("AUTUMN"));
    fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL"));
}

QStringList texts(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

class tst_frmCatProdSchedule : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmCatProdSchedule *m_window = nullptr;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    FlexGrid *products() { return control<FlexGrid>(*m_window, "grdProducts"); }
    FlexGrid *recurring() { return control<FlexGrid>(*m_window, "grdRecurringProducts"); }
    QListWidget *available() { return control<QListWidget>(*m_window, "lstAvailSched"); }
    QListWidget *calendar() { return control<QListWidget>(*m_window, "lstProdCalendar"); }
    QPushButton *add() { return control<QPushButton>(*m_window, "cmdAdd"); }
    QPushButton *remove() { return control<QPushButton>(*m_window, "cmdRemove"); }

    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        QAction *item = m_main->menuItem(QStringLiteral("mnuRecurringProducts"));
        QVERIFY(item->isEnabled());
        item->trigger();
        m_window = m_main->findChild<frmCatProdSchedule *>(QStringLiteral("frmCatProdSchedule"));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }
    QStringList column0(FlexGrid *grid, int firstDataRow)
    {
        QStringList cells;
        for (int row = firstDataRow; row < grid->Rows(); ++row)
            cells << grid->TextMatrix(row, 0);
        return cells;
    }
    void clickCell(FlexGrid *grid, int row, int col = 0)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, col).center());
    }
    void clickHeader(FlexGrid *grid, int col)
    {
        QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          grid->cellRect(0, col).center());
    }
    // Searches by double-clicking a column's header and typing the criterion.
    void search(int col, const QString &criterion)
    {
        dialogs().answerInput(criterion);
        QTest::mouseDClick(products()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           products()->cellRect(0, col).center());
        QCOMPARE(dialogs().pendingAnswers(), 0);
    }
    // Adds the items to the selection with Ctrl held, as the operator picks several.
    void pick(QListWidget *list, const QStringList &items)
    {
        for (const QString &text : items) {
            const auto found = list->findItems(text, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(found.first()).center());
        }
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }

    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
    }

    void cleanup()
    {
        m_main.reset();
        m_window = nullptr;
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void opensWithItsGridsAndRecurringProducts()
    {
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL"));
        fixture::product(QStringLiteral("P2"));
        fixture::product(QStringLiteral("P1"));
        recurs(QStringLiteral("BOOK"), QStringLiteral("FALL"), QStringLiteral("P2"));
        recurs(QStringLiteral("BOOK"), QStringLiteral("FALL"), QStringLiteral("P1"));
        open();
        QCOMPARE(m_window->windowTitle(), kCaption);
        QCOMPARE(products()->Cols(), 25);
        QCOMPARE(products()->Rows(), 2);
        QCOMPARE(products()->RowHeight(1), 0);
        QCOMPARE(products()->TextMatrix(0, 17), QStringLiteral("Units On Hand"));
        QCOMPARE(recurring()->Cols(), 7);
        QCOMPARE(recurring()->ColWidth(2), 2115);
        QCOMPARE(column0(recurring(), 1),
                 (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));
        QVERIFY(!add()->isEnabled());
        QVERIFY(!remove()->isEnabled());
        QCOMPARE(available()->count() + calendar()->count(), 0);

        // The grid menu on the search grid only.
        QMenu *menu = m_main->menu(QStringLiteral("mnuGridFunctions"));
        QTest::mousePress(recurring()->viewport(), Qt::RightButton, {},
                          recurring()->cellRect(1, 0).center());
        QCoreApplication::processEvents();
        QVERIFY(!menu->isVisible());
        QTest::mousePress(products()->horizontalHeader()->viewport(), Qt::RightButton, {},
                          products()->cellRect(0, 0).center());
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void choosingAProductAndMovingCatalogs()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        fixture::product(QStringLiteral("P2"));
        recurs(QStringLiteral("MYST"), QStringLiteral("AUTUMN"), QStringLiteral("P1"));
        // A catalog gone from the schedule counts nowhere.
        recurs(QStringLiteral("GONE"), QStringLiteral("OLD"), QStringLiteral("P2"));
        open();
        QCOMPARE(column0(recurring(), 1), QStringList{QStringLiteral("P1")});
        search(0, QStringLiteral(" P2 "));
        QCOMPARE(column0(products(), 2), QStringList{QStringLiteral("P2")});

        // Recurring nowhere: every scheduled catalog is available, in club and catalog order.
        clickCell(products(), 2, 3);
        QCOMPARE(m_window->productTag(), QStringLiteral("P2"));
        const QStringList all{QStringLiteral("BOOK | FALL"), QStringLiteral("BOOK | SPRING"),
                              QStringLiteral("MYST | AUTUMN"), QStringLiteral("MYST | WINTER")};
        QCOMPARE(texts(available()), all);
        QCOMPARE(texts(calendar()), QStringList());
        QVERIFY(!add()->isEnabled());

        pick(available(), {QStringLiteral("MYST | WINTER"), QStringLiteral("BOOK | SPRING")});
        QVERIFY(add()->isEnabled());
        QVERIFY(!remove()->isEnabled());
        QTest::mouseClick(add(), Qt::LeftButton);
        QVERIFY(dialogs().calls().size() == 1); // the search's input box only
        QCOMPARE(recurrences(QStringLiteral("P2")), 3);
        QCOMPARE(texts(available()),
                 (QStringList{QStringLiteral("BOOK | FALL"), QStringLiteral("MYST | AUTUMN")}));
        QCOMPARE(texts(calendar()),
                 (QStringList{QStringLiteral("BOOK | SPRING"), QStringLiteral("MYST | WINTER")}));
        QCOMPARE(column0(recurring(), 1),
                 (QStringList{QStringLiteral("P1"), QStringLiteral("P2")}));
        QVERIFY(!add()->isEnabled());

        // Removing the last entries drops the product from the recurring products.
        pick(calendar(), {QStringLiteral("BOOK | SPRING"), QStringLiteral("MYST | WINTER")});
        QVERIFY(remove()->isEnabled());
        QTest::mouseClick(remove(), Qt::LeftButton);
        QCOMPARE(recurrences(QStringLiteral("P2")), 1);
        QCOMPARE(texts(available()), all);
        QCOMPARE(texts(calendar()), QStringList());
        QCOMPARE(column0(recurring(), 1), QStringList{QStringLiteral("P1")});

        // The recurring products grid chooses too.
        clickCell(recurring(), 1, 2);
        QCOMPARE(m_window->productTag(), QStringLiteral("P1"));
        QCOMPARE(texts(calendar()), QStringList{QStringLiteral("MYST | AUTUMN")});
        QCOMPARE(control<QLabel>(*m_window, "lblChosenProduct")->text(), QStringLiteral("P1"));
    }

    void aClickOutsideTheDataRowsLeavesNothingToMove()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        recurs(QStringLiteral("MYST"), QStringLiteral("AUTUMN"), QStringLiteral("P1"));
        open();
        clickCell(recurring(), 1);
        pick(available(), {QStringLiteral("BOOK | FALL")});
        pick(calendar(), {QStringLiteral("MYST | AUTUMN")});
        QVERIFY(add()->isEnabled() && remove()->isEnabled());

        clickHeader(recurring(), 0);
        QCOMPARE(m_window->productTag(), QString());
        QCOMPARE(available()->count() + calendar()->count(), 0);
        QVERIFY(!add()->isEnabled() && !remove()->isEnabled());
        m_window->AddToCalendar();
        m_window->RemoveFromCalendar();
        QCOMPARE(
            TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblRecurringCatgProducts "
                                                "WHERE ProductID = '' OR ProductID IS NULL")),
            0);
        QCOMPARE(recurrences(QStringLiteral("P1")), 1);

        // So does a click on the search grid's header.
        clickCell(recurring(), 1);
        QCOMPARE(available()->count(), 3);
        clickHeader(products(), 2);
        QCOMPARE(available()->count() + calendar()->count(), 0);
    }

    void searchMessages()
    {
        fixture::product(QStringLiteral("P1"));
        open();
        search(0, QStringLiteral("P"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("In order to search by [Product ID], please enter your criteria "
                                "below..."));
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(products()->Rows(), 3);

        // Refused criteria leave the grid as it was.
        search(17, QStringLiteral("many"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The search field only accepts numeric values. Please try again."));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(products()->Rows(), 3);

        // An empty answer does nothing.
        const auto shown = dialogs().calls().size();
        search(0, QStringLiteral("  "));
        QCOMPARE(dialogs().calls().size(), shown + 1);
        QCOMPARE(products()->Rows(), 3);

        // A failing statement is reported, never passed over in silence.
        TestWarehouse::exec(QStringLiteral("ALTER TABLE tblManufactrurers RENAME TO tblGone"));
        search(2, QStringLiteral("Book"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral(
                     "You have entered an invalid search parameter value. Please try again."));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QCOMPARE(dialogs().last().title, kCaption);
    }

    void anAddAnotherWorkstationMadeFirst()
    {
        scheduleFour();
        fixture::product(QStringLiteral("P1"));
        open();
        search(0, QStringLiteral("P1"));
        clickCell(products(), 2);
        pick(available(), {QStringLiteral("BOOK | FALL"), QStringLiteral("MYST | WINTER")});

        // The other workstation adds the first of the two; this one writes the last one first.
        {
            QSqlDatabase other =
                QSqlDatabase::cloneDatabase(gcnWarehouse(), QStringLiteral("otherWorkstation"));
            QVERIFY2(other.open(), qPrintable(other.lastError().text()));
            QSqlQuery insert(other);
            QVERIFY(insert.prepare(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, "
                                                  "CatalogID, ProductID) VALUES (?, ?, ?)")));
            insert.addBindValue(QStringLiteral("BOOK"));
            insert.addBindValue(QStringLiteral("FALL"));
            insert.addBindValue(QStringLiteral("P1"));
            QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
            insert.finish();
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("otherWorkstation"));

        QTest::mouseClick(add(), Qt::LeftButton);
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Critical);
        QCOMPARE(dialogs().last().title, kCaption);
        QVERIFY(dialogs().last().text.endsWith(
            QStringLiteral("The lists now show the calendar as it is stored.")));
        // The row written before the failure stays; the lists show what is stored.
        QCOMPARE(recurrences(QStringLiteral("P1")), 2);
        QCOMPARE(texts(calendar()),
                 (QStringList{QStringLiteral("BOOK | FALL"), QStringLiteral("MYST | WINTER")}));
        QCOMPARE(texts(available()),
                 (QStringList{QStringLiteral("BOOK | SPRING"), QStringLiteral("MYST | AUTUMN")}));
        QCOMPARE(column0(recurring(), 1), QStringList{QStringLiteral("P1")});
        QVERIFY(!add()->isEnabled());
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmCatProdSchedule)
#include "tst_frmCatProdSchedule.moc"
