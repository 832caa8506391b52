// Inventory Maintenance: the list searched by a column, the panel a click loads, and save, copy
// and delete keeping the list in step.
#include "ClientWindows.h"
#include "ProductFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "inventory/frmProdMaint.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

class tst_frmProdMaint : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmProdMaint *m_window = nullptr;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    QLineEdit *box(const char *name) { return control<QLineEdit>(*m_window, name); }
    QCheckBox *check(const char *name) { return control<QCheckBox>(*m_window, name); }
    QComboBox *combo(const char *name) { return control<QComboBox>(*m_window, name); }
    FlexGrid *grid() { return control<FlexGrid>(*m_window, "grdINVItemsList"); }
    void press(const char *name)
    {
        QTest::mouseClick(control<QPushButton>(*m_window, name), Qt::LeftButton);
    }
    QString status() { return m_window->statusBar()->currentMessage(); }
    QStringList listedIds()
    {
        QStringList ids;
        for (int row = 2; row < grid()->Rows(); ++row)
            ids << grid()->TextMatrix(row, 0);
        return ids;
    }
    int productCount()
    {
        return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster"));
    }
    QString storedName(const QString &id)
    {
        return TestWarehouse::scalar(
                   QStringLiteral("SELECT ProductName FROM tblInvMaster WHERE ProductID = ?"), {id})
            .toString();
    }

    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmProdMaint *>(m_main->openWindow(QStringLiteral("frmProdMaint")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }
    // Double-clicks a column's header and answers the input box.
    void search(int column, const QString &criterion)
    {
        dialogs().answerInput(criterion);
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, column).center());
    }
    void clickRow(int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(row, 1).center());
    }
    void ctrlC() { QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier); }
    void typeNewProduct(const QString &id, const QString &name)
    {
        QTest::keyClicks(box("txtProductID"), id);
        QTest::keyClicks(box("txtProductName"), name);
    }
    // Three products listed by ID: P1, P2, P3 in rows 2 to 4.
    void listThree()
    {
        for (const char *id : {"P1", "P2", "P3"})
            fixture::stockProduct(QString::fromLatin1(id),
                                  QStringLiteral("Book ") + QLatin1String(id));
        open();
        search(0, QStringLiteral("P"));
        QCOMPARE(listedIds(),
                 (QStringList{QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")}));
        dialogs().clear();
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

    void opensEmptyAndNew()
    {
        open();
        QVERIFY(m_main->menuItem(QStringLiteral("mnuInventoryMaintenance"))->isEnabled());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Inventory Maintenance"));
        QVERIFY(control<QRadioButton>(*m_window, "optSearchActive")->isChecked());
        QCOMPARE(grid()->Rows(), 2);
        QCOMPARE(grid()->Cols(), 25);
        QCOMPARE(grid()->RowHeight(1), 0);
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));
        QVERIFY(!m_window->isEditing());
        QVERIFY(check("chkActiveProd")->isChecked() && check("chkActiveWeb")->isChecked());
        QVERIFY(!check("chkFeaturedProd")->isChecked());
        QCOMPARE(combo("cboManufacturer")->currentText(), QStringLiteral("Bluefield Publishing"));
        QCOMPARE(combo("cboCategory")->currentIndex(), 0);
    }

    void searchesKindsScopesAndFailures()
    {
        fixture::StockProduct p;
        p.id = QStringLiteral("A1");
        fixture::stockProduct(p);
        p.id = QStringLiteral("A2");
        p.activeProd = 0;
        fixture::stockProduct(p);
        open();

        search(0, QStringLiteral("a"));
        QCOMPARE(dialogs().calls().value(0).text,
                 QStringLiteral("In order to search by [Product ID], please enter your criteria "
                                "below..."));
        QCOMPARE(dialogs().calls().value(0).title, QStringLiteral("Inventory Maintenance"));
        QCOMPARE(listedIds(), QStringList{QStringLiteral("A1")});
        QCOMPARE(grid()->TextMatrix(2, 3), QStringLiteral("True"));
        QCOMPARE(status(), QStringLiteral("Last search found: 1 record(s)."));

        control<QRadioButton>(*m_window, "optSearchWorld")->setChecked(true);
        search(0, QStringLiteral("a"));
        QCOMPARE(listedIds(), (QStringList{QStringLiteral("A1"), QStringLiteral("A2")}));

        // A criterion of the wrong kind asks nothing of the warehouse and keeps the list.
        dialogs().clear();
        search(7, QStringLiteral("abc"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The search field only accepts numeric values. Please try again."));
        QCOMPARE(listedIds().size(), 2);
        // Blanks pass the input box; on a number column they are the kind's message.
        search(17, QStringLiteral("  "));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("The search field only accepts numeric values. Please try again."));
        // Cancel does nothing.
        dialogs().answerCancel();
        QTest::mouseDClick(grid()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           grid()->cellRect(0, 2).center());
        QCOMPARE(listedIds().size(), 2);

        // A search the warehouse cannot run keeps the old rows.
        TestWarehouse::exec(QStringLiteral("DROP TABLE tblManufactrurers"));
        search(0, QStringLiteral("a"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("You have entered an invalid search parameter value. Please try "
                                "again."));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QCOMPARE(listedIds().size(), 2);
        QCOMPARE(status(), QStringLiteral("Searching..."));
    }

    void exportWritesTheList()
    {
        listThree();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("products.xls"));
        dialogs().answerFile(path);
        press("cmdExport");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::SaveFile);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[1], QByteArray(25, '\t') + '\r');
        QVERIFY(lines[4].startsWith("P3\t\tBook P3\tTrue\tFalse\tFiction / Mystery\t"));
        // Cancelled: nothing.
        dialogs().answerFile(QString());
        press("cmdExport");
        QCOMPARE(dialogs().pendingAnswers(), 0);
    }

    void clickLoadsTheProduct()
    {
        listThree();
        TestWarehouse::exec(
            QStringLiteral(
                "UPDATE tblInvMaster SET Comments = ?, ReleaseDate = ?, FeaturedProd = 1 WHERE "
                "ProductID = 'P2'"),
            {QStringLiteral("One\r\nTwo"), sqlvalue::fromDate(QDate(2024, 3, 5))});
        clickRow(3);
        QCOMPARE(grid()->Tag(), QStringLiteral("3"));
        QVERIFY(m_window->isEditing());
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("P2"));
        QCOMPARE(box("txtProductName")->text(), QStringLiteral("Book P2"));
        QCOMPARE(box("txtMSRP")->text(), QStringLiteral("20"));
        QCOMPARE(box("txtReleaseDate")->text(), QStringLiteral("03/05/2024"));
        QCOMPARE(control<QPlainTextEdit>(*m_window, "txtComments")->toPlainText(),
                 QStringLiteral("One\nTwo"));
        QVERIFY(check("chkActiveProd")->isChecked() && !check("chkActiveWeb")->isChecked());
        QVERIFY(check("chkFeaturedProd")->isChecked());
        QCOMPARE(combo("cboCategory")->currentText(), QStringLiteral("Fiction / Mystery"));
        QCOMPARE(combo("cboManufacturer")->currentText(), QStringLiteral("Harbor Lane Press"));

        // Cancel: empty, new, the defaults back, the ID box open for typing.
        press("cmdCancel");
        QVERIFY(!m_window->isEditing());
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));
        QCOMPARE(box("txtProductID")->text(), QString());
        QVERIFY(check("chkActiveWeb")->isChecked() && !check("chkFeaturedProd")->isChecked());

        // A product deleted since the search leaves the panel empty and new.
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblInvMaster WHERE ProductID = 'P3'"));
        clickRow(4);
        QVERIFY(!m_window->isEditing());
        QCOMPARE(box("txtProductID")->text(), QString());
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));
        QVERIFY(dialogs().calls().isEmpty());
    }

    void clickWithoutDataRows()
    {
        open();
        grid()->setRow(1);
        QMetaObject::invokeMethod(grid(), "cellClicked");
        QCOMPARE(grid()->Tag(), QStringLiteral("1"));
        QVERIFY(!m_window->isEditing());
        // A new product saved now appends its row and keeps the hidden row.
        typeNewProduct(QStringLiteral("N1"), QStringLiteral("New"));
        press("cmdSave");
        QCOMPARE(grid()->RowHeight(1), 0);
        QCOMPARE(grid()->TextMatrix(1, 0), QString());
        QCOMPARE(listedIds(), QStringList{QStringLiteral("N1")});
        // Ctrl+C with nothing loaded does nothing.
        grid()->setRow(2);
        ctrlC();
        QVERIFY(dialogs().calls().isEmpty());
    }

    void unknownCategoryAndNoManufacturerAskForAChoice()
    {
        fixture::StockProduct p;
        p.id = QStringLiteral("ODD");
        p.category = 999;
        p.manufacturer = QVariant();
        fixture::stockProduct(p);
        open();
        search(0, QStringLiteral("ODD"));
        clickRow(2);
        QVERIFY(m_window->isEditing());
        QCOMPARE(combo("cboCategory")->currentIndex(), -1);
        QCOMPARE(combo("cboManufacturer")->currentIndex(), -1);
        press("cmdSave");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Missing product categories.\rMissing product Manufacturers.\r"));
        QCOMPARE(TestWarehouse::scalar(
                     QStringLiteral("SELECT Category FROM tblInvMaster WHERE ProductID = 'ODD'"))
                     .toInt(),
                 999);
    }

    void savedEditMovesToTheBottomAndTheNextNewProductKeepsEveryRow()
    {
        listThree();
        clickRow(2);
        box("txtProductName")->setText(QStringLiteral("Book P1, revised"));
        box("txtMSRP")->setText(QStringLiteral("12"));
        press("cmdSave");
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(storedName(QStringLiteral("P1")), QStringLiteral("Book P1, revised"));
        QCOMPARE(listedIds(),
                 (QStringList{QStringLiteral("P2"), QStringLiteral("P3"), QStringLiteral("P1")}));
        QCOMPARE(grid()->TextMatrix(4, 2), QStringLiteral("Book P1, revised"));
        QCOMPARE(grid()->TextMatrix(4, 3), QStringLiteral("1"));
        QCOMPARE(grid()->TextMatrix(4, 4), QStringLiteral("0"));
        QCOMPARE(grid()->TextMatrix(4, 7), QStringLiteral("12"));
        QCOMPARE(status(), QStringLiteral("Save operation completed successfully"));
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));
        QVERIFY(!m_window->isEditing());
        QCOMPARE(box("txtProductName")->text(), QString());

        // The row the old tag named now holds P3: a new product leaves it in place.
        typeNewProduct(QStringLiteral("P4"), QStringLiteral("Book P4"));
        press("cmdSave");
        QCOMPARE(listedIds(), (QStringList{QStringLiteral("P2"), QStringLiteral("P3"),
                                           QStringLiteral("P1"), QStringLiteral("P4")}));
        QCOMPARE(productCount(), 4);
    }

    void overrideRefusedChangesNothing()
    {
        listThree();
        typeNewProduct(QStringLiteral("p2"), QStringLiteral("Replacement"));
        dialogs().answerNo();
        press("cmdSave");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(storedName(QStringLiteral("P2")), QStringLiteral("Book P2"));
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("p2"));
        QCOMPARE(box("txtProductName")->text(), QStringLiteral("Replacement"));
        QVERIFY(!m_window->isEditing());
        QCOMPARE(listedIds().size(), 3);

        dialogs().answerYes();
        press("cmdSave");
        QCOMPARE(storedName(QStringLiteral("P2")), QStringLiteral("Replacement"));
        QCOMPARE(productCount(), 3);
    }

    void copyToANewId()
    {
        listThree();
        clickRow(3);
        // Sixteen characters are refused whole, not cut to fifteen.
        dialogs().answerInput(QStringLiteral(" 1234567890123456 "));
        ctrlC();
        QCOMPARE(dialogs().calls().value(0).text,
                 QStringLiteral("Please provide a new PRODUCT ID to copy this item to..."));
        QCOMPARE(dialogs().last().text, QStringLiteral("Product ID can't exeed 15 characters.\r"));
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("1234567890123456"));
        QCOMPARE(productCount(), 3);
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));

        clickRow(3);
        dialogs().answerInput(QStringLiteral("P2COPY"));
        ctrlC();
        QCOMPARE(storedName(QStringLiteral("P2COPY")), QStringLiteral("Book P2"));
        QCOMPARE(productCount(), 4);
        QCOMPARE(listedIds().size(), 3);
        QVERIFY(!m_window->isEditing());
        QCOMPARE(box("txtProductID")->text(), QString());

        // Copying onto an existing ID asks first.
        clickRow(3);
        dialogs().answerInput(QStringLiteral("P1"));
        dialogs().answerNo();
        ctrlC();
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(storedName(QStringLiteral("P1")), QStringLiteral("Book P1"));
    }

    void deleteAsksAndRemovesTheRow()
    {
        listThree();
        press("cmdDelete");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please select an item from the search grid to be deleted."));

        clickRow(3);
        dialogs().answerNo();
        press("cmdDelete");
        QCOMPARE(dialogs().last().text, QStringLiteral("Delete [P2] from the data warehouse?"));
        QCOMPARE(productCount(), 3);
        QVERIFY(m_window->isEditing());

        dialogs().answerYes();
        press("cmdDelete");
        QCOMPARE(productCount(), 2);
        QCOMPARE(listedIds(), (QStringList{QStringLiteral("P1"), QStringLiteral("P3")}));
        QCOMPARE(status(), QStringLiteral("The record was deleted successfully."));
        QVERIFY(!m_window->isEditing());
        QCOMPARE(grid()->Tag(), QStringLiteral("-1"));
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmProdMaint)
#include "tst_frmProdMaint.moc"
