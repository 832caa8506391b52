// The main window's Catalog Edit commands: their prompts and refusals, and the catalog editor's
// map and page operations they call.
#include "CatalogEditFixtures.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "catalog/NodeKey.h"
#include "catalog/frmCatEdit.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTreeView>

using catalog::NodeKey;

namespace {

const QString kSpring = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));

// MYST SPRING 0000 with pages 1..n and one product on each of pages 2 and 4.
void springMap(int pageCount)
{
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    for (int page = 1; page <= pageCount; ++page)
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page, QStringLiteral("Section %1").arg(page));
    fixture::product(QStringLiteral("B2"));
    fixture::product(QStringLiteral("B4"));
    fixture::placement(QStringLiteral("B2"), 2, 1);
    fixture::placement(QStringLiteral("B4"), 4, 1);
}

// True when the editor's tree shows a node with this text anywhere.
bool treeShows(frmCatEdit &editor, const QString &text)
{
    const QAbstractItemModel *model =
        editor.findChild<QTreeView *>(QStringLiteral("tvCatalogTree"))->model();
    return !model
                ->match(model->index(0, 0), Qt::DisplayRole, text, 1,
                        Qt::MatchExactly | Qt::MatchRecursive | Qt::MatchWrap)
                .isEmpty();
}

int productPage(const QString &product)
{
    return TestWarehouse::count(
        QStringLiteral("SELECT PageNum FROM tblProductsMap WHERE ProductID = ?"), {product});
}

} // namespace

class CatalogEditCommandsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestWarehouse> m_warehouse;
    MDIfrmMain *m_main = nullptr;

    frmCatEdit &editor(const QString &selectedKey)
    {
        auto *window = qobject_cast<frmCatEdit *>(m_main->openWindow(QStringLiteral("frmCatEdit")));
        window->setTag(selectedKey);
        return *window;
    }
    void trigger(const char *item) { m_main->menuItem(QString::fromLatin1(item))->trigger(); }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_main = new MDIfrmMain(clientWindows());
        m_main->show();
    }

    void cleanup()
    {
        delete m_main;
        m_warehouse.reset();
    }

    void copyCommandsNeedACatalogSelection_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("refusal");
        const QString general =
            QStringLiteral("This operation can only be performed on General Catalogs.");
        const QString regular =
            QStringLiteral("This operation can only be performed on regular catalogs.");
        QTest::newRow("copy map, insert") << QStringLiteral("INS|01022026120000")
                                          << QStringLiteral("mnuCtgEditCopyMaps") << general;
        QTest::newRow("copy map, nothing")
            << QString() << QStringLiteral("mnuCtgEditCopyMaps") << general;
        QTest::newRow("copy test, root")
            << QStringLiteral("CTG") << QStringLiteral("mnuCtgEditCopyCatalog") << regular;
        QTest::newRow("copy test, insert page")
            << QStringLiteral("INS|01022026120000|002") << QStringLiteral("mnuCtgEditCopyCatalog")
            << regular;
    }

    void copyCommandsNeedACatalogSelection()
    {
        QFETCH(QString, key);
        QFETCH(QString, item);
        QFETCH(QString, refusal);
        editor(key);
        ScriptedDialogsScope dialogs;
        m_main->menuItem(item)->trigger();
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(dialogs->last().text, refusal);
        QCOMPARE(dialogs->last().title, QStringLiteral("Folvane"));
    }

    void copyMapToNewTakesAtMost26Characters()
    {
        springMap(2);
        editor(kSpring);
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral(" ") + QString(27, QLatin1Char('X')) +
                             QStringLiteral(" "));
        trigger("mnuCtgEditCopyMaps");
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(dialogs->last().text,
                 QStringLiteral("Please enter the NEW Catalog ID to copy the current catalog to."));

        // 26 characters go on to the editor, which finds no such catalog in the schedule.
        dialogs->answerInput(QString(26, QLatin1Char('X')));
        trigger("mnuCtgEditCopyMaps");
        QCOMPARE(dialogs->messages(),
                 QStringList{QStringLiteral("The Catalog you are trying to add does not exist "
                                            "within the Catalog Schedule.")});
        QCOMPARE(dialogs->last().title, QStringLiteral("Edit Existing Catalog/Insert"));
    }

    void copyMapToNewCopiesAndRebuildsTheTree()
    {
        springMap(3);
        fixture::schedule(QStringLiteral("OTHER"), QStringLiteral("AUTUMN"));
        frmCatEdit &window = editor(kSpring);
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral("  AUTUMN  "));
        trigger("mnuCtgEditCopyMaps");
        QVERIFY(dialogs->messages().isEmpty());
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap WHERE "
                                                     "CatalogID = 'AUTUMN' AND TestID = '0000'")),
                 3);
        QVERIFY(treeShows(window, QStringLiteral("AUTUMN - 0000")));
        QVERIFY(window.Tag().isEmpty());

        // Once more: the map is on record now.
        window.setTag(kSpring);
        dialogs->answerInput(QStringLiteral("AUTUMN"));
        trigger("mnuCtgEditCopyMaps");
        QCOMPARE(dialogs->messages().last(),
                 QStringLiteral("The Catalog you are trying to add is already on record."));
    }

    void aFailedCopyIsReportedAndLeavesNothing()
    {
        springMap(2);
        fixture::schedule(QStringLiteral("OTHER"), QStringLiteral("AUTUMN"));
        frmCatEdit &window = editor(kSpring);
        TestWarehouse::exec(QStringLiteral("ALTER TABLE tblProductsMap RENAME TO tblProductsGone"));
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral("AUTUMN"));
        trigger("mnuCtgEditCopyMaps");
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Critical);
        QCOMPARE(dialogs->last().title, QStringLiteral("Edit Existing Catalog/Insert"));
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCatalogMap WHERE CatalogID = 'AUTUMN'")),
                 0);
        // The editor stays as it was, its selection too.
        QCOMPARE(window.Tag(), kSpring);
    }

    void copyToTestIdsListsTheRefusedEntries()
    {
        springMap(2);
        frmCatEdit &window = editor(NodeKey::pageKey(kSpring, 2));
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral(" 1, 0002,abc,12345"));
        trigger("mnuCtgEditCopyCatalog");
        QCOMPARE(dialogs->calls().at(0).text,
                 QStringLiteral(
                     "Please enter Test IDs Separated by a comma to copy the current catalog to."));
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().at(0).count(QLatin1Char('\r')), 3);
        QVERIFY(treeShows(window, QStringLiteral("SPRING - 0002")));
        QVERIFY(window.Tag().isEmpty());

        // A blank answer copies nothing and says nothing.
        window.setTag(kSpring);
        dialogs->answerInput(QStringLiteral("   "));
        trigger("mnuCtgEditCopyCatalog");
        QCOMPARE(dialogs->messages().size(), 1);
    }

    void deleteMapAsksAndReports()
    {
        springMap(2);
        frmCatEdit &window = editor(kSpring);
        ScriptedDialogsScope dialogs;
        dialogs->answerNo();
        trigger("mnuCtgEditDeleteMap");
        QCOMPARE(dialogs->last().text, QStringLiteral("Delete the currently selected map?"));
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Question);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 2);

        dialogs->answerYes();
        trigger("mnuCtgEditDeleteMap");
        QCOMPARE(dialogs->messages(),
                 QStringList{QStringLiteral("The map has been removed successfully.")});
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap")), 0);
        QVERIFY(!treeShows(window, QStringLiteral("SPRING - 0000")));

        // Nothing selected now.
        dialogs->answerYes();
        trigger("mnuCtgEditDeleteMap");
        QCOMPARE(dialogs->messages().last(), QStringLiteral("Invalid map specified."));
    }

    void addAndRemovePagesShowInTheTree()
    {
        springMap(12);
        frmCatEdit &window = editor(NodeKey::pageKey(kSpring, 3));
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral("  Gifts "));
        trigger("mnuCtgEditAddPage");
        QCOMPARE(dialogs->last().text,
                 QStringLiteral("Please enter the page section into the text box below."));
        QVERIFY(treeShows(window, QStringLiteral("Page: 13 - Gifts")));
        QVERIFY(window.Tag().isEmpty());

        // Cancel adds nothing.
        window.setTag(kSpring);
        dialogs->answerCancel();
        trigger("mnuCtgEditAddPage");
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT MAX(PageNum) FROM tblCatalogMap")),
                 13);

        window.setTag(NodeKey::pageKey(kSpring, 3));
        trigger("mnuCtgEditRemovePage");
        QVERIFY(!treeShows(window, QStringLiteral("Page: 13 - Gifts")));
        QVERIFY(treeShows(window, QStringLiteral("Page: 03 - Section 3")));
        QVERIFY(dialogs->messages().isEmpty());
    }

    void switchPageNumbersChecksTheNumber_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pageOfB2");
        const QString numeric =
            QStringLiteral("Page number can NOT be empty and must be in numeric format");
        const QString invalid =
            QStringLiteral("You have specified an invalid page number. Please try again.");
        QTest::newRow("blank") << QStringLiteral(" ") << numeric << 2;
        QTest::newRow("letters") << QStringLiteral("abc") << numeric << 2;
        QTest::newRow("beyond 16 bits") << QStringLiteral("40000") << numeric << 2;
        QTest::newRow("no such page") << QStringLiteral("12") << invalid << 2;
        QTest::newRow("page 4") << QStringLiteral(" 4 ") << QString() << 4;
    }

    void switchPageNumbersChecksTheNumber()
    {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, pageOfB2);
        springMap(4);
        editor(NodeKey::pageKey(kSpring, 2));
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(answer);
        trigger("mnuCtgEditPageNumSwitch");
        QCOMPARE(dialogs->calls().at(0).text,
                 QStringLiteral("Please provide a page number to copy items to. Thank You."));
        QCOMPARE(dialogs->messages(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(productPage(QStringLiteral("B2")), pageOfB2);
        QCOMPARE(productPage(QStringLiteral("B4")), pageOfB2 == 4 ? 2 : 4);
    }

    void editPageSectionNeedsAPage()
    {
        springMap(2);
        frmCatEdit &window = editor(kSpring);
        ScriptedDialogsScope dialogs;
        dialogs->answerInput(QStringLiteral("Sale"));
        trigger("mnuCtgEditPageSection");
        QCOMPARE(dialogs->messages(),
                 QStringList{QStringLiteral("Could not update page section because the specific "
                                            "page was not selected.")});

        window.setTag(NodeKey::pageKey(kSpring, 2));
        dialogs->answerInput(QStringLiteral("  Sale  "));
        trigger("mnuCtgEditPageSection");
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(treeShows(window, QStringLiteral("Page: 02 - Sale")));
    }

    void exportMapToFileExportsThePlacementGrid()
    {
        editor(QString());
        ScriptedDialogsScope dialogs;
        trigger("mnuCtgEditCopyToFile");
        QCOMPARE(dialogs->messages(), QStringList{QStringLiteral("No Data to Export")});
    }
};

FOLVANE_WINDOW_TEST_MAIN(CatalogEditCommandsTest)
#include "tst_catalog_edit_commands.moc"
