// The ad codes window: the live total CPM, save, cancel and delete of the entry panel, the search
// by double-clicking a column, a row click loading the panel, and the import of pasted rows.
#include "AdCodeFixture.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "mailing/frmAdCodes.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/MDIfrmMain.h"
#include "shell/basGeneralDeclarations.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

const QString kCaption = QStringLiteral("Advertising Codes Maintenance");
const QString kHeaderLine =
    QStringLiteral("Source Code\tCatalog Name\tListDesc\tList CPM\tPkg\tPkg Desc\tPkg CPM\tMedia\t"
                   "Offer\tMail Date\tQty Mailed\tTarget Response\tTotal CPM\tModify User\t"
                   "Modify Date");

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}

// One pasted line: the 15 cells of an ad code in grid order.
QString line(const QString &code, const QString &media, const QString &mailDate,
             const QString &qty = QStringLiteral("1000"),
             const QString &total = QStringLiteral("0"))
{
    return QStringList{code,
                       QStringLiteral("Pasted name"),
                       QStringLiteral("Pasted list"),
                       QStringLiteral("10"),
                       QStringLiteral("PKG"),
                       QStringLiteral("Pasted package"),
                       QStringLiteral("2.5"),
                       media,
                       QStringLiteral("Pasted offer"),
                       mailDate,
                       qty,
                       QStringLiteral("1.5"),
                       total,
                       QStringLiteral("someone"),
                       QStringLiteral("01/01/2000")}
        .join(u'\t');
}

} // namespace

class tst_frmAdCodes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmAdCodes *m_window = nullptr;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    QLineEdit *box(const char *name) { return control<QLineEdit>(*m_window, name); }
    QComboBox *media() { return control<QComboBox>(*m_window, "cboMedia"); }
    QDateEdit *mailDate() { return control<QDateEdit>(*m_window, "dtpMailDate"); }
    QLabel *total() { return control<QLabel>(*m_window, "lblTotalCPM"); }
    FlexGrid *grid() { return control<FlexGrid>(*m_window, "grdKeymastDisp"); }
    QPushButton *button(const char *name) { return control<QPushButton>(*m_window, name); }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    QString status() { return m_window->statusBar()->currentMessage(); }

    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmAdCodes *>(m_main->openWindow(QStringLiteral("frmAdCodes")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }
    void retype(const char *name, const QString &text)
    {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void fillPanel(const QString &code)
    {
        QTest::keyClicks(box("txtSourceCode"), code);
        QTest::keyClicks(box("txtCatName"), QStringLiteral("Book Club 104"));
        QTest::keyClicks(box("txtListDesc"), QStringLiteral("Active members"));
        QTest::keyClicks(box("txtPkg"), QStringLiteral("CAT32"));
        QTest::keyClicks(box("txtPkgDesc"), QStringLiteral("32-page catalog"));
        QTest::keyClicks(box("txtOffer"), QStringLiteral("Free tote bag"));
        media()->setCurrentIndex(2);
        retype("txtListCpm", QStringLiteral("12.5"));
        retype("txtPkgCpm", QStringLiteral("7"));
        mailDate()->setDate(QDate(2025, 7, 1));
    }
    // Searches one column by double-clicking its header and answering the criteria.
    void search(int column, const QString &criteria)
    {
        dialogs().answerInput(criteria);
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, column).center());
    }
    void clickRow(int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(row, 1).center());
    }
    void paste(const QStringList &lines)
    {
        QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")) +
                                              QStringLiteral("\r\n"));
        PasteClipboardToGrid(*grid());
    }
    quint32 rowColor(int row)
    {
        grid()->setRow(row);
        grid()->setCol(5);
        return grid()->CellBackColor();
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

    void opensWithAnEmptyEntryAndAnEmptyGrid()
    {
        open();
        QVERIFY(m_main->menuItem(QStringLiteral("mnuAdCodesMaintenance"))->isEnabled());
        QCOMPARE(m_window->windowTitle(), kCaption);
        QCOMPARE(grid()->Cols(), 15);
        QCOMPARE(grid()->Rows(), 2);
        QCOMPARE(grid()->RowHeight(1), 0);
        QCOMPARE(grid()->TextMatrix(0, 14), QStringLiteral("Modify Date"));
        QCOMPARE(media()->count(), 8);
        QCOMPARE(media()->currentText(), QStringLiteral("Catalog"));
        QCOMPARE(box("txtSourceCode")->maxLength(), 10);
        QCOMPARE(box("txtListCpm")->text(), QStringLiteral("0"));
        QCOMPARE(mailDate()->date(), QDate::currentDate());
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: 0"));
        QCOMPARE(button("cmdCheckSaveGridData")->text(), QStringLiteral("Check Grid Data"));
        // Laid out to the window: panel on top, grid below it, status bar at the bottom.
        const QWidget *panel = control<QWidget>(*m_window, "picContain1");
        QVERIFY(grid()->geometry().top() > panel->geometry().bottom());
        QVERIFY(grid()->geometry().bottom() < m_window->statusBar()->geometry().top());
        QVERIFY(panel->width() > m_window->width() / 2);
    }

    void totalCpmFollowsEveryKeyRelease()
    {
        open();
        retype("txtListCpm", QStringLiteral("12.5"));
        retype("txtPkgCpm", QStringLiteral("7"));
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $19.50"));
        QCOMPARE(m_window->totalCpmTag(), QStringLiteral("19.5"));

        for (int i = 0; i < 4; ++i)
            QTest::keyClick(box("txtListCpm"), Qt::Key_Backspace);
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $7.00"));
        QCOMPARE(m_window->totalCpmTag(), QStringLiteral("7"));
        QVERIFY(dialogs().calls().isEmpty());

        // A letter: the box's message, the label as it was.
        QTest::keyClicks(box("txtListCpm"), QStringLiteral("x"));
        QCOMPARE(dialogs().messages(),
                 QStringList{QStringLiteral("List CPM must be in numeric format")});
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $7.00"));
        // Typing in the other box while this one holds no number names this box.
        QTest::keyClicks(box("txtPkgCpm"), QStringLiteral("5"));
        QCOMPARE(dialogs().last().text, QStringLiteral("List CPM must be in numeric format"));
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $7.00"));

        box("txtPkgCpm")->clear();
        retype("txtListCpm", QString());
        QTest::keyClick(box("txtListCpm"), Qt::Key_Backspace);
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $0.00"));
        QCOMPARE(m_window->totalCpmTag(), QStringLiteral("0"));
    }

    void saveAsksBeforeReplacingOnlyForANewEntry()
    {
        open();
        fillPanel(QStringLiteral("B104HF01"));
        // A CPM put into its box without a key leaves the label behind; the save adds them anew.
        box("txtPkgCpm")->setText(QStringLiteral("8"));
        click("cmdSave");
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(status(), QStringLiteral("Save operation completed successfully"));
        const QStringList stored = fixture::storedAdCode(QStringLiteral("B104HF01"));
        QCOMPARE(stored.value(7), QStringLiteral("Package Insert"));
        QCOMPARE(stored.value(9), QStringLiteral("2025-07-01"));
        QCOMPARE(stored.value(11), QStringLiteral("20.5"));
        QCOMPARE(stored.value(14), today());
        QCOMPARE(box("txtSourceCode")->text(), QString());
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: 0"));

        // The same code as a new entry: asked, and No keeps the panel and the row.
        fillPanel(QStringLiteral("B104HF01"));
        QTest::keyClicks(box("txtOffer"), QStringLiteral(" changed"));
        m_window->statusBar()->clearMessage();
        dialogs().answerNo();
        click("cmdSave");
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(box("txtOffer")->text(), QStringLiteral("Free tote bag changed"));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")), stored);
        QCOMPARE(status(), QString());

        // Every failing check in one box; nothing written.
        click("cmdCancel");
        box("txtQtyMailed")->clear();
        click("cmdSave");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Source Code is a required field.\rCatalog Name is a required "
                                "field.\rList Description is a required field.\rPackage is a "
                                "required field.\rPackage Description is a required field.\rOffer "
                                "is a required field.\rQuantity Mailed is a required field.\r"));
        QCOMPARE(fixture::adCodeCount(), 1);
    }

    void rowLoadedAndSavedUnchangedKeepsEveryColumn()
    {
        fixture::AdCodeRow row{QStringLiteral("A2"),
                               QStringLiteral("Free tote bag"),
                               12.5,
                               7,
                               QDate(2025, 7, 1),
                               0.35};
        row.media = QStringLiteral("Space Ad");
        row.modUser = gstrUserName;
        row.modDate = today();
        fixture::adCode(row);
        fixture::adCode({QStringLiteral("A1")});
        const QStringList before = fixture::storedAdCode(QStringLiteral("A2"));
        open();
        search(0, QStringLiteral("A"));
        QCOMPARE(grid()->Rows(), 4);
        clickRow(3);
        QVERIFY(box("txtSourceCode")->isReadOnly());
        QCOMPARE(box("txtSourceCode")->text(), QStringLiteral("A2"));
        QCOMPARE(box("txtTargetResp")->text(), QStringLiteral("0.35"));
        QCOMPARE(media()->currentText(), QStringLiteral("Space Ad"));
        QCOMPARE(mailDate()->date(), QDate(2025, 7, 1));
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: 19.5"));
        // Header and hidden row load nothing.
        click("cmdCancel");
        grid()->setRow(1);
        QMetaObject::invokeMethod(grid(), "cellClicked");
        QCOMPARE(box("txtSourceCode")->text(), QString());

        clickRow(3);
        click("cmdSave");
        QVERIFY(dialogs().calls().size() == 1); // the search's criteria, no override question
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A2")), before);
        QVERIFY(!box("txtSourceCode")->isReadOnly());
        // The grid is left as it was.
        QCOMPARE(grid()->Rows(), 4);
    }

    void deleteNeedsALoadedRowAndThePassword()
    {
        fixture::adCode({QStringLiteral("A1")});
        open();
        click("cmdDelete");
        QCOMPARE(dialogs().messages(),
                 QStringList{QStringLiteral("Please select an item from the search grid to be "
                                            "deleted.")});
        search(0, QStringLiteral("A1"));
        clickRow(2);
        dialogs().clear();

        dialogs().answerYes();
        dialogs().answerInput(QStringLiteral("Brantoke"));
        click("cmdDelete");
        QCOMPARE(dialogs().calls().size(), 3);
        QCOMPARE(dialogs().calls().at(0).text,
                 QStringLiteral("Delete [A1] from the data warehouse?"));
        QCOMPARE(dialogs().calls().at(1).text,
                 QStringLiteral("In order to delete an item please provide a password."));
        QCOMPARE(dialogs().calls().at(1).title, kCaption);
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The password you have provided is incorrect."));
        QCOMPARE(fixture::adCodeCount(), 1);

        dialogs().answerNo();
        click("cmdDelete");
        QCOMPARE(dialogs().calls().size(), 4);
        QCOMPARE(fixture::adCodeCount(), 1);

        dialogs().answerYes();
        dialogs().answerInput(QStringLiteral("brantoke"));
        click("cmdDelete");
        QCOMPARE(dialogs().calls().size(), 6);
        QCOMPARE(fixture::adCodeCount(), 0);
        QCOMPARE(status(), QStringLiteral("The record was deleted successfully."));
        QCOMPARE(box("txtSourceCode")->text(), QString());
        QVERIFY(!box("txtSourceCode")->isReadOnly());
        QCOMPARE(grid()->TextMatrix(2, 0), QStringLiteral("A1"));
    }

    void searchByDoubleClickingAColumn()
    {
        fixture::adCode({QStringLiteral("A1"), QStringLiteral("5 books"), 12.5, 7});
        fixture::adCode({QStringLiteral("A2"), QStringLiteral("Tote bag"), 85, 7});
        fixture::adCode({QStringLiteral("A3"), QStringLiteral("3 Books"), 12.5, 9});
        open();
        search(3, QStringLiteral("12.5"));
        QCOMPARE(dialogs().calls().first().text,
                 QStringLiteral("In order to search by [List CPM], please enter your criteria "
                                "below..."));
        QCOMPARE(dialogs().calls().first().title, kCaption);
        QCOMPARE(grid()->Rows(), 4);
        QCOMPARE(grid()->TextMatrix(2, 0), QStringLiteral("A1"));
        QCOMPARE(grid()->TextMatrix(3, 0), QStringLiteral("A3"));
        QCOMPARE(grid()->TextMatrix(3, 12), QStringLiteral("21.5"));
        QCOMPARE(status(), QStringLiteral("Last search found: 2 record(s)."));

        search(8, QStringLiteral("books"));
        QCOMPARE(grid()->TextMatrix(2, 8), QStringLiteral("3 Books"));
        QCOMPARE(grid()->TextMatrix(3, 8), QStringLiteral("5 books"));

        search(9, QStringLiteral("/15/"));
        QCOMPARE(grid()->Rows(), 5);

        // A cancelled or empty answer does nothing; a letter for a number column fails.
        dialogs().answerCancel();
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, 8).center());
        search(8, QString());
        QCOMPARE(grid()->Rows(), 5);
        search(10, QStringLiteral("lots"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Unforceen error, please contact your administrator."));
        QCOMPARE(grid()->Rows(), 5);
        QVERIFY(!QApplication::overrideCursor());

        search(8, QStringLiteral("nothing like it"));
        QCOMPARE(grid()->Rows(), 2);
        QCOMPARE(grid()->RowHeight(1), 0);
        QCOMPARE(status(), QStringLiteral("Last search found: 0 record(s)."));
    }

    void searchRefusesAColumnBeyondTheGrid()
    {
        open();
        paste({kHeaderLine + QStringLiteral("\tExtra"), line(QStringLiteral("N1"), {}, {})});
        QCOMPARE(grid()->Cols(), 16);
        dialogs().answerInput(QStringLiteral("x"));
        grid()->setCol(15);
        QMetaObject::invokeMethod(grid(), "cellDoubleClicked");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please double click on the column to search for the items."));
        QVERIFY(!QApplication::overrideCursor());
        // A pasted block of the wrong width is not imported.
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The number of columns to import does not match the preset "
                                "parameters."));
        QStringList narrow = kHeaderLine.split(u'\t');
        narrow.removeLast();
        paste({narrow.join(u'\t'), QStringLiteral("N1")});
        QCOMPARE(grid()->Cols(), 14);
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The number of columns to import does not match the preset "
                                "parameters."));
        QCOMPARE(button("cmdCheckSaveGridData")->text(), QStringLiteral("Check Grid Data"));
        QCOMPARE(fixture::adCodeCount(), 0);
    }

    void importSavesTheGoodRowsAndColoursTheBadOnes()
    {
        fixture::adCode({QStringLiteral("E1")});
        fixture::adCode({QStringLiteral("B104HF01X9")});
        const QStringList cutCode = fixture::storedAdCode(QStringLiteral("B104HF01X9"));
        open();
        paste({kHeaderLine,
               line(QStringLiteral("N1"), {}, QStringLiteral("soon"), QStringLiteral("1000"),
                    QStringLiteral("999")),
               line(QStringLiteral("E1"), QStringLiteral("e-mail"), QStringLiteral("2/3/2025")),
               line(QStringLiteral("B104HF01X99"), QStringLiteral("Web"), {}),
               line(QStringLiteral("N4"), QStringLiteral("Web"), {}, QStringLiteral("many"))});
        QCOMPARE(grid()->Rows(), 6); // the trailing empty line of the paste included
        fillPanel(QStringLiteral("X"));
        click("cmdCheckSaveGridData");
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(button("cmdCheckSaveGridData")->text(), QStringLiteral("Save Grid Data"));
        QCOMPARE(box("txtSourceCode")->text(), QString());

        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().messages(),
                 QStringList{
                     QStringLiteral("These rows were not saved and are coloured in the grid:\r"
                                    "Row 3: Source Code can't exceed 10 characters.\r"
                                    "Row 4: Quantity Mailed field must be in NUMERIC format.\r")});
        QCOMPARE(button("cmdCheckSaveGridData")->text(), QStringLiteral("Check Grid Data"));
        QCOMPARE(box("txtSourceCode")->maxLength(), 10);
        QCOMPARE(status(), QStringLiteral("Save operation completed successfully"));

        // Row 1, the first pasted line, is imported: empty media is the first type, a mail date
        // that is no date is 1/1/1990, and the total is the sum of the CPMs, not the pasted cell.
        QCOMPARE(
            fixture::storedAdCode(QStringLiteral("N1")),
            (fixture::texts({"N1", "Pasted name", "Pasted list", "10", "PKG", "Pasted package",
                             "2.5", "Catalog", "Pasted offer", "1990-01-01", "1000", "12.5", "1.5"})
             << gstrUserName << today()));
        // An existing code replaced without a question.
        QCOMPARE(fixture::storedAdCode(QStringLiteral("E1")).value(7), QStringLiteral("E-mail"));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("E1")).value(9),
                 QStringLiteral("2025-02-03"));
        // The over-long code neither saved nor cut onto another code.
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01X9")), cutCode);
        QVERIFY(fixture::storedAdCode(QStringLiteral("N4")).isEmpty());
        QCOMPARE(fixture::adCodeCount(), 3);

        QCOMPARE(rowColor(3), 0x8080FFu);
        QCOMPARE(rowColor(4), 0x8080FFu);
        for (int row : {1, 2, 5})
            QVERIFY(rowColor(row) != 0x8080FFu);
    }

    void searchResultImportSkipsTheHiddenRow()
    {
        fixture::adCode({QStringLiteral("A1")});
        open();
        search(0, QStringLiteral("A1"));
        click("cmdCheckSaveGridData");
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().calls().size(), 1); // the criteria only: the hidden row is no failure
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A1")).value(14), today());
    }

    void rightButtonOffersTheGridMenuWithPaste()
    {
        open();
        QMenu *menu = m_main->menu(QStringLiteral("mnuGridFunctions"));
        QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(grid()->hasFocus());
        for (const char *name : {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor",
                                 "mnuGridCopy", "mnuGridPaste"})
            QVERIFY2(m_main->menuItem(QLatin1String(name))->isEnabled(), name);
        menu->close();
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmAdCodes)
#include "tst_frmAdCodes.moc"
