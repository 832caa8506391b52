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

namespace {

QString today()
{
    return QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

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

    QStringList items(const QComboBox *combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    QStringList listed()
    {
        QStringList texts;
        for (int i = 0; i < products()->count(); ++i)
            texts << products()->item(i)->text();
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
            QCOMPARE(box("txtModifyDate")->text(), today());
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
        fixture::Item web{QStringLiteral("W1"), QStringLiteral("Web Book")};
        web.activeWeb = 1;
        web.msrp = QVariant();
        fixture::item(web);
        fixture::item(QStringLiteral("P1"));
        fixture::item(QStringLiteral("D1"));
        fixture::blurb(QStringLiteral("D1"), QStringLiteral("Long"));
        open();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Product Descriptions"));
        verifyLocks(Mode::Browse);
        QCOMPARE(sizes()->count(), 0);
        QCOMPARE(products()->count(), 0);
        QCOMPARE(panel(), (QStringList{QStringLiteral("Product Name:"),
                                       QStringLiteral("Active Product?"),
                                       QStringLiteral("MSRP:"),
                                       QStringLiteral("On Hand:"),
                                       {},
                                       {},
                                       {},
                                       {}}));

        QCOMPARE(grid()->FixedRows(), 1);
        QCOMPARE(grid()->Cols(), 6);
        QCOMPARE(grid()->TextMatrix(0, 5), QStringLiteral("Active Web"));
        QCOMPARE(missingIDs(), (QStringList{QStringLiteral("P1"), QStringLiteral("W1")}));
        QCOMPARE(grid()->ColWidth(1), 2340);
        QCOMPARE(grid()->ColAlignment(3), int(FlexGridModel::RightCenter));
        QCOMPARE(grid()->TextMatrix(2, 3), QStringLiteral("$0.00"));
        for (int col = 0; col < 6; ++col) {
            grid()->setRow(1);
            grid()->setCol(col);
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

    void searchFillsTheListAndKeepsItWhenNothingIsFound()
    {
        for (const char *id : {"AB100", "ABC", "XAB"}) {
            fixture::item(QString::fromLatin1(id));
            fixture::blurb(QString::fromLatin1(id), QStringLiteral("Long"));
        }
        open();
        search(QStringLiteral(" A'B "));
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(listed(), (QStringList{QStringLiteral("AB100"), QStringLiteral("ABC")}));
        QCOMPARE(box("txtSearch")->text(), QString());

        search(QStringLiteral("ZZ"));
        QCOMPARE(dialogs().last().text, QStringLiteral("Your search has returned no results"));
        QCOMPARE(dialogs().last().title, QStringLiteral("Product Descriptions"));
        QCOMPARE(listed(), (QStringList{QStringLiteral("AB100"), QStringLiteral("ABC")}));

        box("txtSearch")->setText(QStringLiteral("   "));
        click("cmdSearch");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please provide the Product ID to search for."));
        QCOMPARE(dialogs().calls().size(), 2);
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
        QCOMPARE(items(sizes()), (QStringList{QStringLiteral("25"), QStringLiteral("50")}));
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
        QCOMPARE(panel(), (QStringList{QStringLiteral("Product Name:"),
                                       QStringLiteral("Active Product?"),
                                       QStringLiteral("MSRP:"),
                                       QStringLiteral("On Hand:"),
                                       QStringLiteral("BK2"),
                                       {},
                                       {},
                                       {}}));
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
        QCOMPARE(items(sizes()), (QStringList{QStringLiteral("Long"), QStringLiteral("Medium"),
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

    void addOverAnExistingDescription()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old"));
        open();
        click("cmdAdd");
        QTest::keyClicks(box("txtProductID"), QStringLiteral("BK1"));
        chooseSize(0);
        QTest::keyClicks(blurb(), QStringLiteral("New"));

        dialogs().answerNo();
        click("cmdOK");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).value(0),
                 QStringLiteral("Old"));
        verifyLocks(Mode::Add);
        QCOMPARE(blurb()->toPlainText(), QStringLiteral("New"));

        dialogs().answerYes();
        click("cmdOK");
        const QStringList stored =
            fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        QCOMPARE(stored.value(0), QStringLiteral("New"));
        QCOMPARE(stored.value(2), QStringLiteral("tester"));
        QCOMPARE(fixture::blurbCount(), 1);
        verifyLocks(Mode::Browse);
    }

    void okRefusesUnknownProductsAndBlankDescriptions()
    {
        fixture::item(QStringLiteral("BK1"));
        open();
        click("cmdAdd");
        QTest::keyClicks(box("txtProductID"), QStringLiteral("NOPE"));
        click("cmdOK");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral(
                     "The Product ID you have entered was not found in the Inventory collection."));
        QVERIFY(box("txtProductID")->hasFocus());
        verifyLocks(Mode::Add);

        box("txtProductID")->setText(QStringLiteral("BK1"));
        chooseSize(0);
        QTest::keyClicks(blurb(), QStringLiteral("    "));
        click("cmdOK");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Description is a required field and can't remain blank."));
        QVERIFY(blurb()->hasFocus());
        QCOMPARE(dialogs().calls().size(), 2);
        QCOMPARE(fixture::blurbCount(), 0);

        // Cancel leaves nothing behind, and a size chosen then shows nothing.
        click("cmdCancel");
        verifyLocks(Mode::Browse);
        QCOMPARE(sizes()->count(), 3);
        chooseSize(0);
        QCOMPARE(blurb()->toPlainText(), QString());
        QCOMPARE(label("lblProdName"), QStringLiteral("Product Name:"));
    }

    void editChangesTheShownDescription()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old long"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"), QStringLiteral("Old short"));
        open();
        click("cmdEdit");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please select a valid PRODUCT and BLURB to edit."));
        verifyLocks(Mode::Browse);

        search(QStringLiteral("BK1"));
        choose(QStringLiteral("BK1"));
        chooseSize(1);
        click("cmdEdit");
        verifyLocks(Mode::Edit);
        QCOMPARE(blurb()->toPlainText(), QStringLiteral("Old short"));
        blurb()->setPlainText(QStringLiteral(" New short "));
        click("cmdOK");
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Short")).value(0),
                 QStringLiteral("New short"));
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).value(0),
                 QStringLiteral("Old long"));
        verifyLocks(Mode::Browse);
        QCOMPARE(sizes()->count(), 3);

        // A product without descriptions has no size to edit.
        fixture::item(QStringLiteral("BARE"));
        fixture::blurb(QStringLiteral("BARE"), QStringLiteral("Long"));
        search(QStringLiteral("BARE"));
        TestWarehouse::exec(
            QStringLiteral("DELETE FROM tblInvDescriptions WHERE ProductID = 'BARE'"));
        choose(QStringLiteral("BARE"));
        QCOMPARE(items(sizes()), QStringList{QString()});
        click("cmdEdit");
        QCOMPARE(dialogs().calls().size(), 2);
        verifyLocks(Mode::Browse);
    }

    void deleteAsksThenRemovesOneRowAndEmptiesTheLists()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        open();
        click("cmdDelete");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Please select a valid product and the blurb size to remove from "
                                "the data warehouse..."));
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
        QCOMPARE(box("txtProductID")->text(), QStringLiteral("BK1"));

        dialogs().answerYes();
        click("cmdDelete");
        QCOMPARE(fixture::blurbCount(), 1);
        QVERIFY(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).isEmpty());
        QCOMPARE(sizes()->count(), 0);
        QCOMPARE(products()->count(), 0);
        QCOMPARE(box("txtProductID")->text(), QString());
        verifyLocks(Mode::Browse);

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
