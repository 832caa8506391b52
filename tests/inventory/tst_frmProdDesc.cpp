// The descriptions window: browsing found products size by size, the missing-descriptions grid,
// the modes with their locks, OK with its questions, Cancel, Delete and the grid menu.
#include "ClientWindows.h"
#include "DescriptionFixtures.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "inventory/frmProdDesc.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "shell/MDIfrmMain.h"
#include "shell/basGeneralDeclarations.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using productdescriptions::Mode;

class tst_frmProdDesc : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmProdDesc *m_window = nullptr;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    template <typename T> T *ctl(const char *name) { return control<T>(*m_window, name); }
    QLineEdit *box(const char *name) { return ctl<QLineEdit>(name); }
    QComboBox *sizes() { return ctl<QComboBox>("cboBlurbSize"); }
    QPlainTextEdit *blurb() { return ctl<QPlainTextEdit>("txtBlurb"); }
    QListWidget *products() { return ctl<QListWidget>("lstProductID"); }
    FlexGrid *grid() { return ctl<FlexGrid>("grdMisProdDesc"); }
    QString label(const char *name) { return ctl<QLabel>(name)->text(); }
    void click(const char *button) { QTest::mouseClick(ctl<QPushButton>(button), Qt::LeftButton); }

    // The entries of a size or product list.
    static QStringList items(const QAbstractItemModel *model)
    {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }
    QStringList missingIDs()
    {
        QStringList ids;
        for (int row = 1; row < grid()->Rows(); ++row)
            ids << grid()->TextMatrix(row, 0);
        return ids;
    }
    // The four fact labels, the ID, the size, the date and the description.
    QStringList panel()
    {
        return {label("lblProdName"),         label("lblActiveProd"),      label("lblMSRP"),
                label("lblOnHand"),           box("txtProductID")->text(), sizes()->currentText(),
                box("txtModifyDate")->text(), blurb()->toPlainText()};
    }
    static QStringList emptyPanel()
    {
        return QStringList{QStringLiteral("Product Name:"), QStringLiteral("Active Product?"),
                           QStringLiteral("MSRP:"), QStringLiteral("On Hand:")} +
               QStringList(4);
    }
    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmProdDesc *>(m_main->openWindow(QStringLiteral("frmProdDesc")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }
    void search(const QString &text)
    {
        box("txtSearch")->setText(text);
        QTest::keyClick(box("txtSearch"), Qt::Key_Return);
    }
    void choose(const QString &id)
    {
        const auto found = products()->findItems(id, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        QTest::mouseClick(products()->viewport(), Qt::LeftButton, {},
                          products()->visualItemRect(found.first()).center());
    }
    void chooseSize(int index)
    {
        sizes()->setCurrentIndex(index);
        Q_EMIT sizes()->activated(index);
    }
    void clickMissing(int row)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->cellRect(row, 0).center());
    }
    // Controls of the table of locks: whether each can be typed into or used.
    void verifyLocks(Mode mode)
    {
        QCOMPARE(m_window->mode(), mode);
        const bool browse = mode == Mode::Browse;
        QCOMPARE(box("txtProductID")->isReadOnly(), mode != Mode::Add);
        QCOMPARE(sizes()->isEnabled(), mode != Mode::Edit);
        QCOMPARE(blurb()->isReadOnly(), browse);
        QVERIFY(box("txtModifyDate")->isReadOnly());
        QCOMPARE(box("txtSearch")->isReadOnly(), !browse);
        QCOMPARE(ctl<QPushButton>("cmdSearch")->isEnabled(), browse);
        QCOMPARE(products()->isEnabled(), browse);
        QCOMPARE(grid()->isEnabled(), browse);
        for (const char *name : {"cmdAdd", "cmdEdit", "cmdDelete"})
            QCOMPARE(ctl<QPushButton>(name)->isVisible(), browse);
        for (const char *name : {"cmdOK", "cmdCancel"})
            QCOMPARE(ctl<QPushButton>(name)->isVisible(), !browse);
        if (!browse)
            QCOMPARE(box("txtModifyDate")->text(),
                     QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
    }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
        gstrUserName = QStringLiteral("tester");
    }

    void cleanup()
    {
        m_main.reset();
        m_window = nullptr;
        QCOMPARE(dialogs().pendingAnswers(), 0);
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void opensInBrowseModeWithTheMissingGrid()
    {
        fixture::Item web{
            QStringLiteral("W1"), QStringLiteral("Web Book"), 0, 1, QVariant(), 12345};
        fixture::item(web);
        fixture::item(QStringLiteral("P1"));
        fixture::item(QStringLiteral("D1"));
        fixture::blurb(QStringLiteral("D1"), QStringLiteral("Long"));
        fixture::item(QStringLiteral("D2")); // two descriptions: not missing either
        fixture::blurb(QStringLiteral("D2"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("D2"), QStringLiteral("25"));
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Product Descriptions"));
        verifyLocks(Mode::Browse);
        QCOMPARE(sizes()->count() + products()->count(), 0);
        QCOMPARE(panel(), emptyPanel());

        QCOMPARE(grid()->FixedRows(), 1);
        QCOMPARE(grid()->TextMatrix(0, 5), QStringLiteral("Active Web"));
        QCOMPARE(missingIDs(), (QStringList{QStringLiteral("P1"), QStringLiteral("W1")}));
        QCOMPARE(grid()->ColAlignment(3), int(FlexGridModel::RightCenter));
        QStringList cells;
        for (int col = 0; col < 6; ++col)
            cells << grid()->TextMatrix(2, col);
        QCOMPARE(cells, (QStringList{QStringLiteral("W1"), QStringLiteral("Web Book"),
                                     QStringLiteral("12,345"), QStringLiteral("$0.00"), QString(),
                                     QStringLiteral("X")}));
        QCOMPARE(grid()->TextMatrix(1, 4), QStringLiteral("X"));
        for (int col = 0; col < 6; ++col) {
            grid()->setCol(col);
            grid()->setRow(1);
            QCOMPARE(grid()->CellBackColor(), 0u);
            grid()->setRow(2);
            QCOMPARE(grid()->CellBackColor(), 0xC0FFFFu);
        }
        // The caption font only where the font database really has it.
        const bool installed = QFontDatabase::families().contains(QStringLiteral("Comic Sans MS"),
                                                                  Qt::CaseInsensitive);
        QCOMPARE(ctl<QLabel>("lblMisProdDesc")->font().family() == QStringLiteral("Comic Sans MS"),
                 installed);
    }

    void searchKeepsTheListWhenNothingIsFound()
    {
        for (const char *id : {"AB100", "ABC"}) {
            fixture::item(QString::fromLatin1(id));
            fixture::blurb(QString::fromLatin1(id), QStringLiteral("Long"));
        }
        open();
        search(QStringLiteral(" A'B "));
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(items(products()->model()),
                 (QStringList{QStringLiteral("AB100"), QStringLiteral("ABC")}));
        QCOMPARE(box("txtSearch")->text(), QString());
        search(QStringLiteral("ZZ"));
        QCOMPARE(dialogs().last().text, QStringLiteral("Your search has returned no results"));
        QCOMPARE(items(products()->model()),
                 (QStringList{QStringLiteral("AB100"), QStringLiteral("ABC")}));
        search(QStringLiteral("   "));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please provide the Product ID to search for."));
    }

    void choosingAProductShowsItsSizesFirstOneFirst()
    {
        fixture::Item book{QStringLiteral("BK1"), QStringLiteral("Night Train")};
        book.msrp = 1234.5;
        book.onHand = 1500;
        fixture::item(book);
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("50"),
                       QStringLiteral("Line one\r\nLine two"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("25"), QStringLiteral("Short"));
        fixture::blurb(QStringLiteral("BK2"), QStringLiteral("Long"), QStringLiteral("Orphan"));
        open();
        search(QStringLiteral("BK"));
        choose(QStringLiteral("BK1"));
        QCOMPARE(items(sizes()->model()),
                 (QStringList{QStringLiteral("25"), QStringLiteral("50")}));
        QCOMPARE(panel(),
                 (QStringList{QStringLiteral("Product Name: Night Train"),
                              QStringLiteral("Active Product? Yes"),
                              QStringLiteral("MSRP: $1,234.50"), QStringLiteral("On Hand: 1,500"),
                              QStringLiteral("BK1"), QStringLiteral("25"),
                              QStringLiteral("03/05/2024 14:07:09"), QStringLiteral("Short")}));
        chooseSize(1);
        QCOMPARE(blurb()->toPlainText(), QStringLiteral("Line one\nLine two"));

        // A product whose master row is gone leaves nothing of the last one beside its ID.
        choose(QStringLiteral("BK2"));
        QCOMPARE(sizes()->count(), 0);
        QStringList expected = emptyPanel();
        expected[4] = QStringLiteral("BK2");
        QCOMPARE(panel(), expected);
        QVERIFY(dialogs().calls().isEmpty());
    }

    void missingProductClickAddsItsFirstDescription()
    {
        fixture::item(QStringLiteral("M1"));
        fixture::item(QStringLiteral("M2"));
        open();
        clickMissing(2);
        verifyLocks(Mode::Add);
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("M2"));
        QCOMPARE(blurb()->toPlainText(), QString());
        QCOMPARE(items(sizes()->model()),
                 (QStringList{QStringLiteral("Long"), QStringLiteral("Medium"),
                              QStringLiteral("Short")}));
        QCOMPARE(sizes()->currentIndex(), -1);

        // No size chosen yet: refused, with the focus on the size list.
        QTest::keyClicks(blurb(), QStringLiteral("  First line"));
        QTest::keyClick(blurb(), Qt::Key_Return);
        QTest::keyClicks(blurb(), QStringLiteral("Second line  "));
        click("cmdOK");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please choose the appropriate Description Size."));
        QVERIFY(sizes()->hasFocus());
        verifyLocks(Mode::Add);

        chooseSize(2);
        click("cmdOK");
        QCOMPARE(dialogs().calls().size(), 1);
        const QStringList stored =
            fixture::storedBlurb(QStringLiteral("M2"), QStringLiteral("Short"));
        QCOMPARE(stored.value(0), QStringLiteral("First line\r\nSecond line"));
        QCOMPARE(stored.value(2), QStringLiteral("tester"));
        QCOMPARE(fixture::blurbCount(), 1);
        verifyLocks(Mode::Browse);
        QCOMPARE(missingIDs(), QStringList{QStringLiteral("M1")});
        QCOMPARE(sizes()->count(), 3);
        QCOMPARE(box("txtProductID")->text(), QString());
    }

    void aFailedSaveKeepsTheModeAndThePanel()
    {
        fixture::item(QStringLiteral("BK1"));
        open();
        click("cmdAdd");
        QTest::keyClicks(box("txtProductID"), QStringLiteral("BK1"));
        chooseSize(1);
        QTest::keyClicks(blurb(), QStringLiteral("Kept as typed"));
        const QStringList typed = panel();
        TestWarehouse::exec(
            QStringLiteral("DROP TABLE tblInvDescriptions") +
            (TestWarehouse::forPostgreSQL() ? QStringLiteral(" CASCADE") : QString()));
        click("cmdOK");
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Critical);
        verifyLocks(Mode::Add);
        QCOMPARE(panel(), typed);

        // Cancel leaves nothing behind, and a size chosen then shows nothing.
        click("cmdCancel");
        verifyLocks(Mode::Browse);
        QCOMPARE(sizes()->count(), 3);
        chooseSize(0);
        QCOMPARE(panel().mid(6), (QStringList{QString(), QString()}));
    }

    void editChangesTheShownDescription()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old long"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"), QStringLiteral("Old short"));
        fixture::item(QStringLiteral("BARE"));
        fixture::blurb(QStringLiteral("BARE"), QStringLiteral("Long"));
        open();
        search(QStringLiteral("B"));
        choose(QStringLiteral("BK1"));
        chooseSize(1);
        click("cmdEdit");
        verifyLocks(Mode::Edit);
        blurb()->setPlainText(QStringLiteral(" New short "));
        click("cmdOK");
        QVERIFY(dialogs().calls().isEmpty());
        const QStringList stored =
            fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        QCOMPARE(stored.value(0), QStringLiteral("New short"));
        QCOMPARE(stored.value(2), QStringLiteral("tester"));
        QVERIFY(stored.value(1) > QStringLiteral("2025"));
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).value(0),
                 QStringLiteral("Old long"));
        verifyLocks(Mode::Browse);

        // A product without descriptions has no size to edit.
        TestWarehouse::exec(
            QStringLiteral("DELETE FROM tblInvDescriptions WHERE ProductID = 'BARE'"));
        choose(QStringLiteral("BARE"));
        QCOMPARE(items(sizes()->model()), QStringList{QString()});
        click("cmdEdit");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please select a valid PRODUCT and BLURB to edit."));
        verifyLocks(Mode::Browse);
    }

    void deleteAsksThenRemovesOneRowAndEmptiesTheLists()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        open();
        search(QStringLiteral("BK"));
        choose(QStringLiteral("BK1"));
        // A product added behind the window's back shows once the grid is reloaded.
        fixture::item(QStringLiteral("LATE"));

        dialogs().answerNo();
        click("cmdDelete");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Attention [BK1 ; Long] will be permenantly\r"
                                "deleted from the database?"));
        QCOMPARE(fixture::blurbCount(), 2);
        QCOMPARE(missingIDs(), QStringList{QStringLiteral("LATE")});

        dialogs().answerYes();
        click("cmdDelete");
        QVERIFY(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).isEmpty());
        QCOMPARE(fixture::blurbCount(), 1);
        QCOMPARE(sizes()->count() + products()->count(), 0);
        QCOMPARE(panel(), emptyPanel());

        // A description removed meanwhile is reported, and the panel stays as it was.
        search(QStringLiteral("BK"));
        choose(QStringLiteral("BK1"));
        TestWarehouse::exec(QStringLiteral("DELETE FROM tblInvDescriptions"));
        dialogs().answerYes();
        click("cmdDelete");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("There were some errors deleting the record. Please\r"
                                "make sure the record still exists."));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Warning);
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("BK1"));
        QCOMPARE(products()->count(), 1);
        QCOMPARE(missingIDs(), (QStringList{QStringLiteral("BK1"), QStringLiteral("LATE")}));
    }

    void rightButtonOpensCopyAndPasteButLeavesWhatIsBeneath()
    {
        fixture::item(QStringLiteral("M1"));
        open();
        QMenu *menu = m_main->menu(QStringLiteral("mnuGridFunctions"));
        for (const bool beneath : {false, true}) {
            for (const char *name :
                 {"mnuGridPaste", "mnuGridCopy", "mnuPasteToGrid", "mnuCopyGrid"})
                m_main->menuItem(QLatin1String(name))->setEnabled(beneath);
            QTest::mousePress(grid()->viewport(), Qt::RightButton, {},
                              grid()->cellRect(1, 1).center());
            QTRY_VERIFY(menu->isVisible());
            QVERIFY(grid()->hasFocus());
            for (const char *name : {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor",
                                     "mnuGridPaste", "mnuGridCopy"})
                QVERIFY2(m_main->menuItem(QLatin1String(name))->isEnabled(), name);
            for (const char *name : {"mnuPasteToGrid", "mnuCopyGrid"})
                QCOMPARE(m_main->menuItem(QLatin1String(name))->isEnabled(), beneath);
            menu->close();
        }
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmProdDesc)
#include "tst_frmProdDesc.moc"
