// The package window: its lists and grids, creating a package from them and what each list keeps
// afterwards, the package click, delete with its question, and Send To Creative with its stop by
// Esc.
#include "PackageFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WindowHarness.h"
#include "mailing/frmCatPkg.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kCaption = QStringLiteral("Create Catalog Package");

QString us(const QDate &date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QStringList texts(const QListWidget &list)
{
    QStringList items;
    for (int row = 0; row < list.count(); ++row)
        items << list.item(row)->text();
    return items;
}

int packageRows()
{
    return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblMailPackages"));
}

} // namespace

class tst_frmCatPkg : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    std::unique_ptr<MDIfrmMain> m_main;
    frmCatPkg *m_window = nullptr;
    QString m_recentInsert;
    QString m_olderInsert;

    ScriptedDialogs &dialogs() { return **m_dialogs; }
    QLineEdit *box(const char *name) { return control<QLineEdit>(*m_window, name); }
    QListWidget *list(const char *name) { return control<QListWidget>(*m_window, name); }
    FlexGrid *grid(const char *name) { return control<FlexGrid>(*m_window, name); }
    void click(const char *name)
    {
        QTest::mouseClick(control<QPushButton>(*m_window, name), Qt::LeftButton);
    }
    void clickPackage(int row)
    {
        FlexGrid *packages = grid("grdPackages");
        QTest::mouseClick(packages->viewport(), Qt::LeftButton, {},
                          packages->cellRect(row, 2).center());
    }

    void open()
    {
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = qobject_cast<frmCatPkg *>(m_main->openWindow(QStringLiteral("frmCatPkg")));
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCoreApplication::processEvents();
    }

    // Two versions of a scheduled catalog, an insert of this month, one of last month, one too old;
    // a product placed in the catalog and in the recent insert.
    void someCatalogsAndInserts()
    {
        const QDate today = QDate::currentDate();
        fixture::scheduleRow({QStringLiteral("MYST"), QStringLiteral("SPRING"),
                              QStringLiteral("Spring"), today.addDays(30)});
        for (const QString &test : {QStringLiteral("0000"), QStringLiteral("0001")})
            fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"), test, 1);
        m_recentInsert = fixture::insertIdOn(today);
        m_olderInsert = fixture::insertIdOn(today.addMonths(-1));
        fixture::insertPage(m_recentInsert, QStringLiteral("Winter flyer"), 1);
        fixture::insertPage(m_olderInsert, QStringLiteral("Autumn flyer"), 1);
        fixture::insertPage(fixture::insertIdOn(today.addMonths(-7)), QStringLiteral("Too old"), 1);
        // An ID that is not a date is passed over, not a failure of the whole list.
        fixture::insertPage(QStringLiteral("99999999999999"), QStringLiteral("Broken"), 1);
        fixture::describedProduct(QStringLiteral("B1"), QStringLiteral("Twice"), 10.0,
                                  QStringLiteral("Both places."));
        fixture::place(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0001"),
                       QStringLiteral("B1"), 1, 1, 9.0, 10.0);
        fixture::place(Query::nullText(), m_recentInsert, Query::nullText(), QStringLiteral("B1"),
                       1, 1, 9.0, 10.0);
    }

    // Fills the panel: the catalog version, the inserts by description, the description.
    void choose(int catalogRow, const QStringList &inserts, const QString &description)
    {
        list("lstMainCatalogs")->setCurrentRow(catalogRow);
        for (int row = 0; row < list("lstInserts")->count(); ++row)
            list("lstInserts")
                ->item(row)
                ->setSelected(inserts.contains(list("lstInserts")->item(row)->text()));
        box("txtDescription")->setText(description);
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

    void listsGridsAndTheProposedMailDate()
    {
        someCatalogsAndInserts();
        fixture::packageCatalog(QStringLiteral("LATER"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0000"), QDate(2026, 9, 1),
                                QStringLiteral("Later"));
        fixture::packageCatalog(QStringLiteral("EARLIER"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0001"), QDate(2026, 4, 1),
                                QStringLiteral("Earlier"));
        open();
        QCOMPARE(m_window->windowTitle(), kCaption);
        QCOMPARE(texts(*list("lstMainCatalogs")),
                 (QStringList{QStringLiteral("SPRING - MYST - 0000"),
                              QStringLiteral("SPRING - MYST - 0001")}));
        QCOMPARE(texts(*list("lstInserts")),
                 (QStringList{QStringLiteral("Autumn flyer"), QStringLiteral("Winter flyer")}));
        FlexGrid *packages = grid("grdPackages");
        QCOMPARE(packages->Cols(), 7);
        QCOMPARE(packages->ColWidth(0), 0);
        QCOMPARE(packages->ColWidth(6), 2415);
        QCOMPARE(packages->Rows(), 3);
        QCOMPARE(packages->TextMatrix(1, 0), QStringLiteral("EARLIER"));
        QCOMPARE(packages->TextMatrix(1, 4), QStringLiteral("04/01/2026"));
        QCOMPARE(packages->TextMatrix(2, 6), QStringLiteral("Later"));
        QCOMPARE(grid("grdDupes")->Cols(), 8);
        QCOMPARE(grid("grdDupes")->Rows(), 1);

        list("lstMainCatalogs")->setCurrentRow(1);
        QCOMPARE(box("txtMailDate")->text(), us(QDate::currentDate().addDays(30)));
    }

    void createKeepsTheInsertsAndRefreshesTheRest()
    {
        someCatalogsAndInserts();
        open();
        // Nothing chosen: every message in one box, nothing written.
        click("cmdAdd");
        QCOMPARE(dialogs().messages(),
                 QStringList{QStringLiteral(
                     "One catalog item must be selected in order to save.\r"
                     "Description is a required field.\rMail date is a reqired field.\r"
                     "Mail date must be in date format [mm/dd/yy].\r")});
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(packageRows(), 0);

        choose(1, {QStringLiteral("Winter flyer"), QStringLiteral("Autumn flyer")},
               QStringLiteral(" Holiday "));
        box("txtMailDate")->setText(QStringLiteral("11/20/2026"));
        click("cmdAdd");
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(packageRows(), 3);
        const QString id =
            TestWarehouse::scalar(QStringLiteral("SELECT PackageID FROM tblMailPackages "
                                                 "WHERE ItemType = 'General Catalog'"))
                .toString();
        QCOMPARE(id.size(), 18);
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QStringLiteral("Package ") + id + QStringLiteral(" created."));
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblMailPackages WHERE PackageID = ? "
                                    "AND PackageMailDate = ? AND PackageDescription = 'Holiday'"),
                     {id, sqlvalue::fromDate(QDate(2026, 11, 20))}),
                 3);

        QCOMPARE(box("txtDescription")->text(), QString());
        QCOMPARE(box("txtMailDate")->text(), QString());
        QCOMPARE(list("lstMainCatalogs")->selectedItems().size(), 0);
        QCOMPARE(list("lstInserts")->selectedItems().size(), 2);
        QCOMPARE(grid("grdPackages")->Rows(), 2);
        QCOMPARE(grid("grdPackages")->TextMatrix(1, 0), id);
        QCOMPARE(grid("grdPackages")->TextMatrix(1, 3), QStringLiteral("0001"));

        // The package's contents and its product placed in the catalog and in an insert.
        clickPackage(1);
        QCOMPARE(
            texts(*list("lstPackageContents")),
            (QStringList{
                QStringLiteral("General Catalog | SPRING - MYST - 0001"),
                QStringLiteral("Package Insert | ") + m_olderInsert + QStringLiteral(" -  - "),
                QStringLiteral("Package Insert | ") + m_recentInsert + QStringLiteral(" -  - ")}));
        FlexGrid *dupes = grid("grdDupes");
        QCOMPARE(dupes->Rows(), 3);
        QCOMPARE(dupes->TextMatrix(1, 1), QStringLiteral("SPRING"));
        QCOMPARE(dupes->TextMatrix(2, 1), m_recentInsert);
        QCOMPARE(dupes->TextMatrix(2, 5), QStringLiteral("Winter flyer"));

        // A second package: the contents list stays, the duplicates grid is cleared.
        choose(0, {}, QStringLiteral("Plain"));
        box("txtMailDate")->setText(QStringLiteral("12/01/2026"));
        click("cmdAdd");
        QCOMPARE(packageRows(), 4);
        QCOMPARE(list("lstPackageContents")->count(), 3);
        QCOMPARE(dupes->Rows(), 1);
    }

    void deleteAsksAndRemovesThePackage()
    {
        someCatalogsAndInserts();
        fixture::packageCatalog(QStringLiteral("P1"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0001"));
        fixture::packageInsert(QStringLiteral("P1"), m_recentInsert, QStringLiteral("Winter"));
        fixture::packageCatalog(QStringLiteral("P2"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0000"),
                                QDate(2026, 5, 1));
        open();
        click("cmdDelete");
        QCOMPARE(
            dialogs().messages(),
            QStringList{QStringLiteral("Please select a map to be removed from the database.")});

        clickPackage(1);
        QCOMPARE(list("lstPackageContents")->count(), 2);
        dialogs().answerNo();
        click("cmdDelete");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("Delete MYST - SPRING - 0001 from the Database?"));
        QCOMPARE(dialogs().last().title, kCaption);
        QCOMPARE(packageRows(), 3);

        dialogs().answerYes();
        click("cmdDelete");
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblMailPackages WHERE PackageID = 'P1'")),
                 0);
        QCOMPARE(packageRows(), 1);
        QCOMPARE(list("lstPackageContents")->count(), 0);
        QCOMPARE(grid("grdPackages")->Rows(), 2);
        QCOMPARE(grid("grdPackages")->TextMatrix(1, 0), QStringLiteral("P2"));

        // A failed delete says so and leaves the window as it was.
        clickPackage(1);
        TestWarehouse::exec(TestWarehouse::forPostgreSQL()
                                ? QStringLiteral("DROP TABLE tblMailPackages CASCADE")
                                : QStringLiteral("DROP TABLE tblMailPackages"));
        dialogs().answerYes();
        click("cmdDelete");
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("There was an error deleting the selected package."));
        QCOMPARE(dialogs().last().icon, Dialogs::Icon::Information);
        QCOMPARE(grid("grdPackages")->Rows(), 2);
        QCOMPARE(list("lstPackageContents")->count(), 1);
    }

    void sendToCreativeWritesTheChosenItems()
    {
        someCatalogsAndInserts();
        fixture::packageCatalog(QStringLiteral("P1"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0001"));
        fixture::packageInsert(QStringLiteral("P1"), m_recentInsert, QStringLiteral("Winter"));
        open();
        clickPackage(1);
        click("cmdSend");
        QCOMPARE(dialogs().messages(),
                 QStringList{QStringLiteral("Please select a package contents to be exported.")});

        list("lstPackageContents")->item(1)->setSelected(true);
        dialogs().answerFile(QString());
        click("cmdSend");
        QCOMPARE(dialogs().last().text, QStringLiteral("Please select a filename and try again."));

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("creative.txt"));
        dialogs().answerFile(path);
        click("cmdSend");
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QStringLiteral("1 product written to ") + path + QStringLiteral("."));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("_") + m_recentInsert.toLatin1() +
                                     "_  1  Fiction###\r\nTwice#####\r\n10.00%###\r\n"
                                     "Both places.###\r\nB1##Fiction / Mystery##$10.00/$9.00###"
                                     "\r\n###\r\n###\r\n");
    }

    void escapeStopsALongExportAndTheNextWritesItWhole()
    {
        // Enough placements on one page for the export to run past its first repaint.
        constexpr int kPlacements = 20000;
        fixture::packageCatalog(QStringLiteral("P1"), QStringLiteral("MYST"),
                                QStringLiteral("SPRING"), QStringLiteral("0001"));
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, "
                           "PageNum, PagePosition, PageWeight, DescType, Price, Discount) "
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < ?) SELECT 'MYST', 'SPRING', '0001', 'P' || i, 1, i, 1, "
                           "'Short', 10, 25 FROM n"),
            {kPlacements});
        open();
        clickPackage(1);
        list("lstPackageContents")->item(0)->setSelected(true);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("creative.txt"));

        // Esc waiting in the queue is found at the export's first repaint.
        dialogs().answerFile(path);
        QCoreApplication::postEvent(
            m_window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        QVERIFY(!m_window->ExportPackageForCreative());
        QCOMPARE(dialogs().messages(), QStringList());
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QStringLiteral("Export stopped; no file written."));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());

        dialogs().answerFile(path);
        QVERIFY(m_window->ExportPackageForCreative());
        QCOMPARE(dialogs().messages(), QStringList());
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 QStringLiteral("20,000 products written to ") + path + QStringLiteral("."));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QCOMPARE(written.count("\r\n"), 1 + 6 * kPlacements); // the page header and each record
        QVERIFY(written.contains("\r\nP20000##"));
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_frmCatPkg)
#include "tst_frmCatPkg.moc"
