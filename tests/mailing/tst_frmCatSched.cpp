// The schedule maintenance window: its grid, the entry panel's round trip through Save, the row
// click, the double-click delete and the grid menu.
#include "ClientWindows.h"
#include "ScheduleFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "mailing/frmCatSched.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "warehouse/Query.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const char *const kBoxes[] = {"txtCatalogID",
                              "txtDescription",
                              "txtMapCopyCreative",
                              "txtFstDraftCreative",
                              "txtCatalogReleaseDate",
                              "txtAAAddressStartDate",
                              "txtAAAddressCompleteDate",
                              "txtReplyDate",
                              "txtLabelRunShipDate"};

QString us(const QDate &date) { return date.toString(QStringLiteral("MM/dd/yyyy")); }

void addRow(const QString &club, const QString &catalog, int startDaysFromToday)
{
    fixture::scheduleRow({club, catalog, catalog + QStringLiteral(" catalog"),
                          QDate::currentDate().addDays(startDaysFromToday), QDate(2025, 2, 3)});
}

int scheduleRows()
{
    return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule"));
}

} // namespace

class tst_frmCatSched : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmCatSched *m_window = nullptr;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    QLineEdit *box(const char *name) { return control<QLineEdit>(*m_window, name); }
    QComboBox *club() { return control<QComboBox>(*m_window, "cboClubID"); }
    FlexGrid *grid() { return control<FlexGrid>(*m_window, "grdSchedule"); }
    QPushButton *button(const char *name) { return control<QPushButton>(*m_window, name); }
    QStringList gridColumn(int col)
    {
        QStringList cells;
        for (int row = 2; row < grid()->Rows(); ++row)
            cells << grid()->TextMatrix(row, col);
        return cells;
    }
    QStringList panel()
    {
        QStringList texts{club()->currentText()};
        for (const char *name : kBoxes)
            texts << box(name)->text();
        return texts;
    }
    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmCatSched *>(m_main->openWindow(QStringLiteral("frmCatSched")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }

private Q_SLOTS:
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

    void gridLayoutAndClubList()
    {
        addRow(QStringLiteral("BOOK"), QStringLiteral("OLDER"), -30);
        addRow(QStringLiteral("KIDS"), QStringLiteral("NEWER"), 10);
        addRow(QStringLiteral("MYST"), QStringLiteral("GONE"), -366);
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Catalog Schedule Maintenance"));
        QCOMPARE(grid()->Cols(), 10);
        QCOMPARE(grid()->FixedRows(), 1);
        QCOMPARE(grid()->RowHeight(1), 0);
        QCOMPARE(grid()->TextMatrix(0, 9), QStringLiteral("Label RunShip Date"));
        QCOMPARE(grid()->TextMatrix(1, 0), QString());
        QCOMPARE(gridColumn(1), (QStringList{QStringLiteral("NEWER"), QStringLiteral("OLDER")}));
        QCOMPARE(grid()->TextMatrix(2, 8), QStringLiteral("02/03/2025"));
        QCOMPARE(grid()->TextMatrix(2, 7), QString());
        QCOMPARE(club()->count(), 3);
        QCOMPARE(club()->currentText(), QStringLiteral("BOOK"));
        // Every header can be read whole.
        for (int col = 0; col < 10; ++col) {
            const QString header = grid()->TextMatrix(0, col);
            QVERIFY2(grid()->horizontalHeader()->sectionSize(col) >
                         grid()->horizontalHeader()->fontMetrics().horizontalAdvance(header),
                     qPrintable(header));
        }
    }

    void saveWritesThePanelAndReloads()
    {
        open();
        club()->setCurrentText(QStringLiteral("KIDS"));
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral(" SPRING26 "));
        QTest::keyClicks(box("txtDescription"), QStringLiteral("Spring catalog"));
        QTest::keyClicks(box("txtAAAddressStartDate"), us(QDate::currentDate()));
        QTest::keyClicks(box("txtReplyDate"), QStringLiteral("3/4/26"));
        QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCycleSchedule WHERE ClubID = 'KIDS' AND "
                     "CatalogID = 'SPRING26' AND FstDraftCreative IS NULL")),
                 1);
        QCOMPARE(gridColumn(1), QStringList{QStringLiteral("SPRING26")});
        QCOMPARE(grid()->TextMatrix(2, 8), QStringLiteral("03/04/2026"));
        // The panel is empty again, with the first club chosen.
        QCOMPARE(panel(), QStringList{QStringLiteral("BOOK")} + QStringList(9));
    }

    void failedChecksShowOneBoxAndKeepThePanel()
    {
        open();
        // The boxes take no more than their columns hold.
        QTest::keyClicks(box("txtDescription"), QString(251, u'x'));
        QCOMPARE(box("txtDescription")->text().size(), 250);
        QTest::keyClicks(box("txtMapCopyCreative"), QStringLiteral("13/13/2025"));
        const QStringList typed = panel();
        QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().title, QStringLiteral("Catalog Schedule Maintenance"));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Catalog ID is a required field and can't be empty.\r"
                                "Map Copy Creative must be in a date format [mm/dd/yyyy].\r"
                                "AA Address Start Date is required and must be in a date format "
                                "[mm/dd/yyyy].\r"));
        QCOMPARE(panel(), typed);
        QCOMPARE(scheduleRows(), 0);
    }

    void overrideNoKeepsPanelGridAndRow()
    {
        addRow(QStringLiteral("BOOK"), QStringLiteral("FALL25"), -5);
        open();
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("FALL25"));
        QTest::keyClicks(box("txtDescription"), QStringLiteral("Changed"));
        QTest::keyClicks(box("txtAAAddressStartDate"), us(QDate::currentDate()));
        const QStringList typed = panel();
        dialogs().answerNo();
        QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(panel(), typed);
        QCOMPARE(gridColumn(2), QStringList{QStringLiteral("FALL25 catalog")});
        QCOMPARE(TestWarehouse::scalar(QStringLiteral("SELECT Description FROM tblCycleSchedule"))
                     .toString(),
                 QStringLiteral("FALL25 catalog"));
    }

    void rowClickFillsThePanelHeaderAndHiddenRowDoNothing()
    {
        addRow(QStringLiteral("KIDS"), QStringLiteral("FALL25"), -5);
        addRow(QStringLiteral("MYST"), QStringLiteral("WIN25"), -50);
        open();
        const QStringList empty = panel();

        QTest::mouseClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(0, 1).center());
        QCOMPARE(panel(), empty);
        grid()->setRow(1);
        QMetaObject::invokeMethod(grid(), "clicked");
        QCOMPARE(panel(), empty);

        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(3, 4).center());
        const QString start = us(QDate::currentDate().addDays(-50));
        QCOMPARE(panel(), (QStringList{QStringLiteral("MYST"),
                                       QStringLiteral("WIN25"),
                                       QStringLiteral("WIN25 catalog"),
                                       {},
                                       {},
                                       {},
                                       start,
                                       {},
                                       QStringLiteral("02/03/2025"),
                                       {}}));
        // Saving the row as loaded asks before it replaces it.
        dialogs().answerYes();
        QTest::mouseClick(button("cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(scheduleRows(), 2);
    }

    void doubleClickDeletesOnlyThatRow()
    {
        addRow(QStringLiteral("BOOK"), QStringLiteral("FIRST"), -1);
        addRow(QStringLiteral("BOOK"), QStringLiteral("SECOND"), -2);
        addRow(QStringLiteral("BOOK"), QStringLiteral("THIRD"), -3);
        open();
        // Rows added behind the window's back stay unseen: the grid is not read again.
        addRow(QStringLiteral("KIDS"), QStringLiteral("LATER"), 0);

        dialogs().answerNo();
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(3, 0).center());
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Delete [BOOK - SECOND] from the cycle schedule?"));
        QCOMPARE(scheduleRows(), 4);
        QCOMPARE(grid()->Rows(), 5);

        dialogs().answerYes();
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(3, 0).center());
        QCOMPARE(dialogs().last().title, QStringLiteral("Catalog Schedule Maintenance"));
        QCOMPARE(scheduleRows(), 3);
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCycleSchedule WHERE CatalogID = 'SECOND'")),
                 0);
        QCOMPARE(gridColumn(1), (QStringList{QStringLiteral("FIRST"), QStringLiteral("THIRD")}));
        QCOMPARE(panel(), QStringList{QStringLiteral("BOOK")} + QStringList(9));

        // The header and an empty grid offer nothing to delete.
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, 0).center());
        QCOMPARE(dialogs().calls().size(), 2);
        QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblCycleSchedule"));
        QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
        QCOMPARE(grid()->Rows(), 2);
        grid()->setRow(1);
        QMetaObject::invokeMethod(grid(), "doubleClicked");
        QCOMPARE(dialogs().calls().size(), 2);
    }

    void rightButtonOffersTheGridMenuWithoutPaste()
    {
        addRow(QStringLiteral("BOOK"), QStringLiteral("FIRST"), -1);
        open();
        QMenu *menu = m_main->menu(QStringLiteral("mnuGridFunctions"));
        m_main->menuItem(QStringLiteral("mnuGridPaste"))->setEnabled(true);
        QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, grid()->cellRect(2, 1).center());
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(grid()->hasFocus());
        for (const char *name : {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor",
                                 "mnuGridCopy", "mnuCopyGrid", "mnuCopyGridCell"})
            QVERIFY2(m_main->menuItem(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"mnuGridPaste", "mnuPasteToGrid", "mnuPasteToGridCell"})
            QVERIFY2(!m_main->menuItem(QLatin1String(name))->isEnabled(), name);
        menu->close();
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmCatSched)
#include "tst_frmCatSched.moc"
