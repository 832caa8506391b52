// The ad codes window: the live total CPM, save and delete of the entry panel, the search by
// double-clicking a column, a row click loading the panel, and the import of pasted rows.
#include "AdCodeFixture.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "mailing/frmAdCodes.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/basGeneralDeclarations.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

namespace {

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}

// One pasted line: the 15 cells of an ad code in grid order.
QString line(const QString &code, const QString &media, const QString &mailDate,
             const QString &qty = QStringLiteral("1000"))
{
    return QStringList{code,
                       QStringLiteral("Name\tList\t10\tPKG\tPackage\t2.5"),
                       media,
                       QStringLiteral("Offer"),
                       mailDate,
                       qty,
                       QStringLiteral("1.5\t999\tsomeone\t01/01/2000")}
        .join(u'\t');
}

} // namespace

class tst_frmAdCodes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<WindowHarness<frmAdCodes>> m_harness;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    frmAdCodes &window() { return m_harness->window(); }
    QLineEdit *box(const char *name) { return m_harness->control<QLineEdit>(name); }
    QLabel *total() { return m_harness->control<QLabel>("lblTotalCPM"); }
    FlexGrid *grid() { return m_harness->control<FlexGrid>("grdKeymastDisp"); }
    QPushButton *importButton() { return m_harness->control<QPushButton>("cmdCheckSaveGridData"); }
    void click(const char *name)
    {
        QTest::mouseClick(m_harness->control<QPushButton>(name), Qt::LeftButton);
    }
    QString status() { return window().statusBar()->currentMessage(); }
    void retype(const char *name, const QString &text)
    {
        box(name)->clear();
        QTest::keyClicks(box(name), text);
    }
    void search(int column, const QString &criteria)
    {
        dialogs().answerInput(criteria);
        grid()->setCol(column);
        QMetaObject::invokeMethod(grid(), "cellDoubleClicked");
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

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
        fixture::adCode({QStringLiteral("A1"), QStringLiteral("5 books"), 12.5, 7});
        fixture::AdCodeRow row{
            QStringLiteral("A2"), QStringLiteral("Tote bag"), 85, 7, QDate(2025, 7, 1), 0.35};
        row.media = QStringLiteral("Space Ad");
        row.modUser = gstrUserName;
        row.modDate = today();
        fixture::adCode(row);
        fixture::adCode({QStringLiteral("A3"), QStringLiteral("3 Books"), 12.5, 9});
        m_harness = std::make_unique<WindowHarness<frmAdCodes>>();
    }

    void cleanup()
    {
        m_harness.reset();
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void totalCpmFollowsEveryKeyRelease()
    {
        QVERIFY(m_harness->main().menuItem(QStringLiteral("mnuAdCodesMaintenance"))->isEnabled());
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: 0"));
        retype("txtListCpm", QStringLiteral("12.5"));
        retype("txtPkgCpm", QStringLiteral("7"));
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $19.50"));
        QCOMPARE(window().totalCpmTag(), QStringLiteral("19.5"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(box("txtListCpm"), Qt::Key_Backspace);
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $7.00"));
        QVERIFY(dialogs().calls().isEmpty());
        // A letter, in this box or the other: the list CPM message, the label as it was.
        QTest::keyClicks(box("txtListCpm"), QStringLiteral("x"));
        QTest::keyClicks(box("txtPkgCpm"), QStringLiteral("5"));
        QCOMPARE(dialogs().messages(),
                 QStringList(2, QStringLiteral("List CPM must be in numeric format")));
        QCOMPARE(dialogs().last().title, QStringLiteral("Advertising Codes Maintenance"));
        QCOMPARE(total()->text(), QStringLiteral("Total CPM: $7.00"));
    }

    void saveAsksOnlyForANewEntryAndKeepsALoadedRow()
    {
        const QStringList before = fixture::storedAdCode(QStringLiteral("A2"));
        search(0, QStringLiteral("a"));
        clickRow(3);
        QVERIFY(box("txtSourceCode")->isReadOnly());
        QCOMPARE(box("txtTargetResp")->text(), QStringLiteral("0.35"));
        click("cmdSave");
        QCOMPARE(dialogs().calls().size(), 1); // the criteria; no override question
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A2")), before);
        QCOMPARE(status(), QStringLiteral("Save operation completed successfully"));
        QVERIFY(!box("txtSourceCode")->isReadOnly());
        QCOMPARE(grid()->Rows(), 5);

        // The same code typed as a new entry: asked, and No keeps the panel and the row.
        clickRow(3);
        click("cmdCancel");
        QTest::keyClicks(box("txtSourceCode"), QStringLiteral("A2"));
        for (const char *name : {"txtCatName", "txtListDesc", "txtPkg", "txtPkgDesc", "txtOffer"})
            QTest::keyClicks(box(name), QStringLiteral("New"));
        // A CPM put into its box without a key: the save adds the two CPMs itself.
        box("txtPkgCpm")->setText(QStringLiteral("8"));
        dialogs().answerNo();
        click("cmdSave");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(box("txtOffer")->text(), QStringLiteral("New"));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A2")), before);
        dialogs().answerYes();
        click("cmdSave");
        const QStringList saved = fixture::storedAdCode(QStringLiteral("A2"));
        QCOMPARE(saved.value(7), QStringLiteral("Catalog"));
        QCOMPARE(saved.mid(10, 3), fixture::texts({"0", "8", "0"}));
    }

    void deleteNeedsALoadedRowAndThePassword()
    {
        click("cmdDelete");
        QCOMPARE(dialogs().messages(),
                 QStringList(QStringLiteral("Please select an item from the search grid to be "
                                            "deleted.")));
        search(0, QStringLiteral("A1"));
        clickRow(2);
        dialogs().clear();
        dialogs().answerYes();
        dialogs().answerInput(QStringLiteral("Brantoke"));
        click("cmdDelete");
        QCOMPARE(dialogs().calls().at(0).text,
                 QStringLiteral("Delete [A1] from the data warehouse?"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The password you have provided is incorrect."));
        QCOMPARE(fixture::adCodeCount(), 3);
        dialogs().answerYes();
        dialogs().answerInput(QStringLiteral("brantoke"));
        click("cmdDelete");
        QCOMPARE(dialogs().calls().size(), 5);
        QVERIFY(fixture::storedAdCode(QStringLiteral("A1")).isEmpty());
        QCOMPARE(status(), QStringLiteral("The record was deleted successfully."));
        QVERIFY(!box("txtSourceCode")->isReadOnly());
        QCOMPARE(grid()->TextMatrix(2, 0), QStringLiteral("A1")); // the grid is left as it was
    }

    void searchByDoubleClickingAColumn()
    {
        dialogs().answerCancel();
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, 3).center());
        QCOMPARE(dialogs().last().text, QStringLiteral("In order to search by [List CPM], please "
                                                       "enter your criteria below..."));
        search(3, QStringLiteral("12.5"));
        QCOMPARE(grid()->TextMatrix(3, 0), QStringLiteral("A3"));
        QCOMPARE(grid()->TextMatrix(3, 12), QStringLiteral("21.5"));
        QCOMPARE(status(), QStringLiteral("Last search found: 2 record(s)."));
        search(8, QStringLiteral("books"));
        QCOMPARE(grid()->TextMatrix(2, 8), QStringLiteral("3 Books"));
        QCOMPARE(grid()->TextMatrix(3, 8), QStringLiteral("5 books"));
        search(9, QStringLiteral("07/01/2"));
        QCOMPARE(grid()->Rows(), 3);
        QCOMPARE(grid()->TextMatrix(2, 9), QStringLiteral("07/01/2025"));
        // A letter for a number fails and leaves the grid; no match empties it.
        search(10, QStringLiteral("lots"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Unforceen error, please contact your administrator."));
        QCOMPARE(grid()->Rows(), 3);
        search(8, QStringLiteral("nothing like it"));
        QCOMPARE(grid()->Rows(), 2);
        QCOMPARE(status(), QStringLiteral("Last search found: 0 record(s)."));
        QVERIFY(!QApplication::overrideCursor());
    }

    void importSavesTheGoodRowsAndColoursTheBadOnes()
    {
        const QString header = adcodes::gridHeaders().join(u'\t');
        paste({header + QStringLiteral("\tExtra"), line(QStringLiteral("N1"), {}, {})});
        search(15, QStringLiteral("x"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please double click on the column to search for the items."));
        QVERIFY(!QApplication::overrideCursor());
        paste({header.section(u'\t', 0, 13), QStringLiteral("N1")});
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().last().text, QStringLiteral("The number of columns to import does not "
                                                       "match the preset parameters."));
        QCOMPARE(importButton()->text(), QStringLiteral("Check Grid Data"));

        fixture::adCode({QStringLiteral("B104HF01X9")});
        const QStringList cutCode = fixture::storedAdCode(QStringLiteral("B104HF01X9"));
        paste({header, line(QStringLiteral("N1"), {}, QStringLiteral("soon")),
               line(QStringLiteral("A1"), QStringLiteral("e-mail"), QStringLiteral("2/3/2025")),
               line(QStringLiteral("B104HF01X99"), QStringLiteral("Web"), {}),
               line(QStringLiteral("N4"), QStringLiteral("Web"), {}, QStringLiteral("many"))});
        // An over-long cell clicked into the panel is refused, not cut to another code.
        clickRow(3);
        click("cmdSave");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Source Code can't exceed 10 characters.\r"));
        click("cmdCheckSaveGridData");
        QCOMPARE(importButton()->text(), QStringLiteral("Save Grid Data"));
        dialogs().clear();
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().messages(),
                 QStringList(QStringLiteral(
                     "These rows were not saved and are coloured in the grid:\rRow 3: Source Code "
                     "can't exceed 10 characters.\rRow 4: Quantity Mailed field must be in "
                     "NUMERIC format.\r")));
        QCOMPARE(importButton()->text(), QStringLiteral("Check Grid Data"));
        // Row 1 is imported: no media is the first type, no date 1/1/1990, the total computed.
        QCOMPARE(fixture::storedAdCode(QStringLiteral("N1")),
                 fixture::texts({"N1", "Name", "List", "10", "PKG", "Package", "2.5", "Catalog",
                                 "Offer", "1990-01-01", "1000", "12.5", "1.5"})
                     << gstrUserName << today());
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A1")).mid(7, 3),
                 fixture::texts({"E-mail", "Offer", "2025-02-03"}));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01X9")), cutCode);
        QCOMPARE(fixture::adCodeCount(), 5);
        QList<quint32> colours;
        for (int row = 1; row < grid()->Rows(); ++row) {
            grid()->setRow(row);
            colours << grid()->CellBackColor();
        }
        QCOMPARE(colours, (QList<quint32>{0, 0, 0x8080FF, 0x8080FF, 0}));

        // A search result keeps its hidden row out of the import.
        search(0, QStringLiteral("A3"));
        click("cmdCheckSaveGridData");
        click("cmdCheckSaveGridData");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Input);
        QCOMPARE(fixture::storedAdCode(QStringLiteral("A3")).value(14), today());
    }

    // A row clicked between Check and Save locks the panel; the save still leaves a new entry. A
    // clicked row without a code names nothing to delete.
    void importSaveLeavesANewEntry()
    {
        paste({adcodes::gridHeaders().join(u'\t'), line(QStringLiteral("N1"), {}, {}),
               line({}, {}, {})});
        click("cmdCheckSaveGridData");
        clickRow(1);
        QVERIFY(box("txtSourceCode")->isReadOnly());
        click("cmdCheckSaveGridData");
        QCOMPARE(fixture::adCodeCount(), 4);
        QVERIFY(!box("txtSourceCode")->isReadOnly());
        QTest::keyClicks(box("txtSourceCode"), QStringLiteral("N9"));
        QCOMPARE(box("txtSourceCode")->text(), QStringLiteral("N9"));

        clickRow(2);
        QVERIFY(box("txtSourceCode")->isReadOnly());
        dialogs().clear();
        window().setStatusText({});
        click("cmdDelete");
        QCOMPARE(dialogs().calls().size(), 0);
        QCOMPARE(status(), QString());
        QCOMPARE(fixture::adCodeCount(), 4);
    }

    void rightButtonOffersTheGridMenuWithPaste()
    {
        QMenu *menu = m_harness->main().menu(QStringLiteral("mnuGridFunctions"));
        m_harness->main().show();
        QVERIFY(grid()->y() > m_harness->control<QWidget>("picContain1")->geometry().bottom());
        QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QTRY_VERIFY(menu->isVisible());
        for (const char *name : {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor",
                                 "mnuGridCopy", "mnuGridPaste"})
            QVERIFY2(m_harness->main().menuItem(QLatin1String(name))->isEnabled(), name);
        menu->close();
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmAdCodes)
#include "tst_frmAdCodes.moc"
