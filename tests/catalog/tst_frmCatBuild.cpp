// The new map builder window: the type switching catalog and insert mode, the page count, the
// floating section editor, the checks shown in one box and the save that hands over to the editor.
#include "ClientWindows.h"
#include "ScheduleFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "catalog/frmCatBuild.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "warehouse/Query.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class tst_frmCatBuild : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    QPointer<frmCatBuild> m_window;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    template <typename T> T *control(const char *name) { return ::control<T>(*m_window, name); }
    QComboBox *combo(const char *name) { return control<QComboBox>(name); }
    QLineEdit *box(const char *name) { return control<QLineEdit>(name); }
    FlexGrid *grid() { return control<FlexGrid>("grdPageAlloc"); }
    QScrollBar *pages() { return control<QScrollBar>("scrPages"); }

    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmCatBuild *>(m_main->openWindow(QStringLiteral("frmCatBuild")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }
    void choose(const char *comboName, const QString &text)
    {
        QComboBox *box = combo(comboName);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
    }
    QStringList row(int r) { return {grid()->TextMatrix(r, 0), grid()->TextMatrix(r, 1)}; }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
    }

    void cleanup()
    {
        m_main.reset();
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void typeSwitchesBetweenCatalogAndInsert()
    {
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Create New Catalog/Insert"));
        QCOMPARE(combo("cboClub")->currentText(), QStringLiteral("BOOK"));
        // Types in descending order: the insert type of BOOK comes first.
        QCOMPARE(combo("cboCatalogType")->currentText(), QStringLiteral("Standard Catalog Insert"));
        QVERIFY(m_window->insertMode());
        QCOMPARE(control<QLabel>("lblID")->text(), QStringLiteral("Insert Name"));
        QVERIFY(control<QLabel>("lblTestID")->isHidden());
        QVERIFY(box("txtTestID")->isHidden());
        QCOMPARE(grid()->Rows(), 13);

        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("typed"));
        choose("cboCatalogType", QStringLiteral("Regular Catalog"));
        QVERIFY(!m_window->insertMode());
        QCOMPARE(control<QLabel>("lblID")->text(), QStringLiteral("Catalog ID"));
        QVERIFY(!box("txtTestID")->isHidden());
        QVERIFY(!control<QLabel>("lblTestID")->isHidden());
        QCOMPARE(box("txtCatalogID")->text(), QString());
        // The default map, trimmed, in page order, with its count on both page controls.
        QCOMPARE(grid()->Rows(), 33);
        QCOMPARE(row(1), (QStringList{QStringLiteral("1"), QStringLiteral("Front Cover")}));
        QCOMPARE(grid()->TextMatrix(32, 0), QStringLiteral("32"));
        QCOMPARE(box("txtPages")->text(), QStringLiteral("32"));
        QCOMPARE(pages()->value(), 32);
        QCOMPARE(grid()->ColWidth(0), 1530);
        QCOMPARE(grid()->ColWidth(1), 3930);

        choose("cboClub", QStringLiteral("KIDS"));
        QCOMPARE(combo("cboCatalogType")->currentText(), QStringLiteral("Regular Catalog"));
        QVERIFY(!m_window->insertMode());
        QCOMPARE(grid()->Rows(), 17);
        choose("cboCatalogType", QStringLiteral("Catalog Insert - Activities"));
        QVERIFY(m_window->insertMode());
    }

    void scrollBarAddsAndRemovesTheLastPage()
    {
        open();
        QCOMPARE(pages()->value(), 12);
        pages()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(grid()->Rows(), 14);
        QCOMPARE(row(13), (QStringList{QStringLiteral("13"), QString()}));
        QCOMPARE(box("txtPages")->text(), QStringLiteral("13"));
        pages()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(grid()->Rows(), 13);
        QCOMPARE(row(12), (QStringList{QStringLiteral("12"), QStringLiteral("Back Cover")}));
        QCOMPARE(box("txtPages")->text(), QStringLiteral("12"));

        // A jump of several pages numbers every new page; the range ends at 1 and 100.
        pages()->setValue(15);
        QCOMPARE(grid()->TextMatrix(13, 0), QStringLiteral("13"));
        QCOMPARE(grid()->TextMatrix(15, 0), QStringLiteral("15"));
        pages()->setValue(500);
        QCOMPARE(grid()->Rows(), 101);
        pages()->setValue(0);
        QCOMPARE(grid()->Rows(), 2);
        QCOMPARE(box("txtPages")->text(), QStringLiteral("1"));

        // A number typed into the page count moves the scroll bar; anything else is put back.
        box("txtPages")->setFocus();
        box("txtPages")->selectAll();
        QTest::keyClicks(box("txtPages"), QStringLiteral("3"));
        QTest::keyClick(box("txtPages"), Qt::Key_Return);
        QCOMPARE(pages()->value(), 3);
        QCOMPARE(grid()->Rows(), 4);
        box("txtPages")->selectAll();
        QTest::keyClicks(box("txtPages"), QStringLiteral("x"));
        QTest::keyClick(box("txtPages"), Qt::Key_Return);
        QCOMPARE(box("txtPages")->text(), QStringLiteral("3"));
    }

    void sectionEditorFloatsOverTheClickedRow()
    {
        open();
        QComboBox *editor = combo("cboPageGenre");
        QVERIFY(editor->isHidden());
        QCOMPARE(editor->findText(QStringLiteral("Young Readers")), editor->count() - 1);

        const QRect cell = grid()->cellRect(3, 1);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(3, 0).center());
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->geometry().topLeft(),
                 grid()->viewport()->mapTo(editor->parentWidget(), cell.topLeft()));
        QCOMPARE(editor->width(), cell.width());
        QCOMPARE(editor->currentText(), QStringLiteral("New Releases"));
        QTRY_VERIFY(editor->hasFocus());

        // Typed text goes into the grid as it is typed, known section or not.
        editor->lineEdit()->selectAll();
        QTest::keyClicks(editor->lineEdit(), QStringLiteral("Cat Calendars"));
        QCOMPARE(grid()->TextMatrix(3, 1), QStringLiteral("Cat Calendars"));
        editor->setCurrentIndex(editor->findText(QStringLiteral("Fiction")));
        QCOMPARE(grid()->TextMatrix(3, 1), QStringLiteral("Fiction"));
        QTest::keyClicks(editor->lineEdit(), QStringLiteral(" Extra"));
        QCOMPARE(grid()->TextMatrix(3, 1), QStringLiteral("Fiction Extra"));

        // Leaving it hides it and writes nothing more.
        box("txtCatalogID")->setFocus();
        QTRY_VERIFY(editor->isHidden());
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("Spring"));
        QCOMPARE(grid()->TextMatrix(3, 1), QStringLiteral("Fiction Extra"));
        QCOMPARE(grid()->TextMatrix(4, 1), QStringLiteral("Bestsellers"));

        // A click on the header opens no editor.
        QTest::mouseClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(0, 1).center());
        QVERIFY(editor->isHidden());
    }

    void checksShowTogetherAndNothingIsWritten_data()
    {
        QTest::addColumn<QString>("catalog");
        QTest::addColumn<QString>("testID");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty test ID")
            << QStringLiteral("FALL25") << QString()
            << QStringLiteral("Test ID is a required field and can't be empty.\r"
                              "Test ID mus be in numeric format (0000).\r"
                              "Test ID must consist of four characters (0000).\r");
        QTest::newRow("not scheduled and short")
            << QStringLiteral("WIN25") << QStringLiteral("000")
            << QStringLiteral("Test ID must consist of four characters (0000).\r"
                              "Please add the catalog to the Cycle Schedule FIRST.\r");
    }

    void checksShowTogetherAndNothingIsWritten()
    {
        QFETCH(QString, catalog);
        QFETCH(QString, testID);
        QFETCH(QString, expected);
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        open();
        choose("cboCatalogType", QStringLiteral("Regular Catalog"));
        QTest::keyClicks(box("txtCatalogID"), catalog);
        QTest::keyClicks(box("txtTestID"), testID);
        QTest::mouseClick(control<QPushButton>("cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().text, expected);
        QCOMPARE(dialogs().last().title, QStringLiteral("Create New Catalog/Insert"));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QVERIFY(m_window);
        QCOMPARE(box("txtCatalogID")->text(), catalog);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 0);
    }

    void savedCatalogClosesTheBuilder()
    {
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        open();
        choose("cboCatalogType", QStringLiteral("Regular Catalog"));
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("FALL25"));
        QTest::keyClicks(box("txtTestID"), QStringLiteral("0001"));
        pages()->setValue(33);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(2, 1).center());
        QComboBox *editor = combo("cboPageGenre");
        editor->lineEdit()->selectAll();
        QTest::keyClicks(editor->lineEdit(), QStringLiteral("Cat Calendars"));
        QTest::mouseClick(control<QPushButton>("cmdSave"), Qt::LeftButton);
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCatalogMap WHERE ClubID = 'BOOK' AND CatalogID = "
                     "'FALL25' AND TestID = '0001'")),
                 33);
        QCOMPARE(TestWarehouse::scalar(
                     QStringLiteral("SELECT PageSection FROM tblCatalogMap WHERE PageNum = 2"))
                     .toString(),
                 QStringLiteral("Cat Calendars"));
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCatalogMap WHERE PageNum = 33 AND PageSection = ''")),
                 1);
        QTRY_VERIFY(!m_window);
        QVERIFY(!m_main->findWindow(QStringLiteral("frmCatBuild")));
    }

    void savedInsertRows()
    {
        open();
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("Spring Sale"));
        QTest::mouseClick(control<QPushButton>("cmdSave"), Qt::LeftButton);
        QVERIFY(dialogs().calls().isEmpty());
        QTRY_VERIFY(!m_window);
        const QString id =
            TestWarehouse::scalar(QStringLiteral("SELECT InsertID FROM tblInsertMap")).toString();
        QCOMPARE(id.size(), 14);
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblInsertMap WHERE InsertID = ? AND "
                                    "InsertDescription = 'Spring Sale'"),
                     {id}),
                 12);
    }

    void overlongDefaultMapIsCutWithAMessage()
    {
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblMapDefault"));
        for (int page = 1; page <= 105; ++page)
            TestWarehouse::exec(QStringLiteral("INSERT INTO tblMapDefault VALUES ('BIG', "
                                               "'Jumbo Catalog', ?, 'Fiction')"),
                                {page});
        open();
        QCOMPARE(dialogs().calls().size(), 1);
        QVERIFY(dialogs().last().text.contains(QLatin1String("105 pages")));
        QCOMPARE(grid()->Rows(), 101);
        QCOMPARE(pages()->value(), 100);
        QCOMPARE(box("txtPages")->text(), QStringLiteral("100"));
    }

    void failedPageWriteReportsAndKeepsTheWindow()
    {
        fixture::schedule(QStringLiteral("BOOK"), QStringLiteral("FALL25"));
        open();
        choose("cboCatalogType", QStringLiteral("Regular Catalog"));
        QTest::keyClicks(box("txtCatalogID"), QStringLiteral("FALL25"));
        QTest::keyClicks(box("txtTestID"), QStringLiteral("0000"));
        // Two pages with one number: the second write is refused.
        grid()->setTextMatrix(5, 0, QStringLiteral("4"));
        QTest::mouseClick(control<QPushButton>("cmdSave"), Qt::LeftButton);
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Critical);
        QVERIFY(dialogs().last().text.startsWith(
            QLatin1String("The new map was not saved; none of its pages was written.")));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 0);
        QVERIFY(m_window);
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmCatBuild)
#include "tst_frmCatBuild.moc"
