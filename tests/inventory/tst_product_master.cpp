// The product master behind Inventory Maintenance: the list's search over all or active products,
// its export, the flag texts, the panel's checks, and save, override and delete in one
// transaction each.
#include "ProductFixture.h"
#include "ScriptedDialogs.h"
#include "SecondClient.h"
#include "inventory/ProductMaster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace inventory;
using catalog::InventoryScope;

namespace {

QStringList idsFound(int column, const QString &criterion,
                     InventoryScope scope = InventoryScope::AllProducts)
{
    QStringList ids;
    const auto found = searchProductList(column, criterion, scope,
                                         [&ids](QStringList &&row) { ids << row.at(0); });
    if (!found || *found != ids.size())
        qFatal("search failed or miscounted");
    return ids;
}

QList<QStringList> rowsFound(int column, const QString &criterion)
{
    QList<QStringList> rows;
    searchProductList(column, criterion, InventoryScope::AllProducts,
                      [&rows](QStringList &&row) { rows << row; });
    return rows;
}

// A panel ready to save: ID, name and both lists chosen.
ProductEntry entry(const QString &id)
{
    ProductEntry e;
    e.productId = id;
    e.productName = QStringLiteral("The Quiet Harbor");
    e.categoryId = QStringLiteral("11");
    e.manufacturerId = QStringLiteral("2");
    return e;
}

QVariant stored(const QString &column, const QString &id)
{
    return TestWarehouse::scalar(QStringLiteral("SELECT ") + column +
                                     QStringLiteral(" FROM tblInvMaster WHERE ProductID=?"),
                                 {id});
}

const QDateTime kNow(QDate(2024, 6, 1), QTime(9, 30));

} // namespace

class ProductMasterTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchKindsScopesAndOrders()
    {
        TestWarehouse warehouse;
        fixture::StockProduct p;
        p.id = QStringLiteral("X12");
        p.msrp = 19.95;
        fixture::stockProduct(p);
        p.id = QStringLiteral("A120");
        p.activeProd = 0; // neither active nor web-active
        p.msrp = 19.9;
        p.manufacturer = 2; // Northwind Books
        fixture::stockProduct(p);
        p.id = QStringLiteral("B12");
        p.activeWeb = 1;    // web only
        p.manufacturer = 3; // Bluefield Publishing
        fixture::stockProduct(p);
        fixture::stockProduct(QStringLiteral("C9"));

        // Text: contains; the ID column by ID alone, across every product or the active ones.
        QCOMPARE(
            idsFound(0, QStringLiteral("12")),
            (QStringList{QStringLiteral("A120"), QStringLiteral("B12"), QStringLiteral("X12")}));
        QCOMPARE(idsFound(0, QStringLiteral("12"), InventoryScope::ActiveOnly),
                 (QStringList{QStringLiteral("B12"), QStringLiteral("X12")}));
        // Manufacturer by name, then ID.
        QCOMPARE(idsFound(9, QStringLiteral("b")),
                 (QStringList{QStringLiteral("B12"), QStringLiteral("C9"), QStringLiteral("X12"),
                              QStringLiteral("A120")}));
        // Number: exact.
        QCOMPARE(idsFound(7, QStringLiteral("19.95")), QStringList{QStringLiteral("X12")});
        // Active = 0 among active products: the web-only ones.
        QCOMPARE(idsFound(3, QStringLiteral("0"), InventoryScope::ActiveOnly),
                 QStringList{QStringLiteral("B12")});
        QCOMPARE(idsFound(3, QStringLiteral("0")),
                 (QStringList{QStringLiteral("A120"), QStringLiteral("B12")}));
        // Flags read True/False.
        const QList<QStringList> rows = rowsFound(0, QStringLiteral("B12"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].size(), 25);
        QCOMPARE(rows[0].at(3), QStringLiteral("False"));
        QCOMPARE(rows[0].at(4), QStringLiteral("True"));
        QCOMPARE(rows[0].at(7), QStringLiteral("19.9"));
        QCOMPARE(rows[0].at(9), QStringLiteral("Bluefield Publishing"));
        // Nothing found is a count of 0.
        QCOMPARE(idsFound(2, QStringLiteral("nothing like this")), QStringList());
        QCOMPARE(foundMessage(0), QStringLiteral("Last search found: 0 record(s)."));
    }

    void categoriesAndBlankCriteria()
    {
        TestWarehouse warehouse;
        fixture::category(100, QStringLiteral("Toys"), 1, 100);
        fixture::category(101, QStringLiteral("Dolls"), 2, 100);
        fixture::category(102, QStringLiteral("Games"), 1, 102);
        fixture::category(103, QStringLiteral("Toys"), 2, 102);
        fixture::category(104, QStringLiteral("Puzzles"), 2, 102);
        int n = 0;
        for (int category : {100, 101, 103, 104}) {
            fixture::StockProduct p;
            p.id = QStringLiteral("T%1").arg(++n);
            p.category = category;
            fixture::stockProduct(p);
        }
        // No such category, no manufacturer: listed, with both cells empty.
        fixture::StockProduct orphan;
        orphan.id = QStringLiteral("T9");
        orphan.category = 999;
        orphan.manufacturer = QVariant();
        fixture::stockProduct(orphan);
        TestWarehouse::exec(
            QStringLiteral("UPDATE tblInvMaster SET ProductUPC = '0042' WHERE ProductID = 'T1'"));

        QCOMPARE(idsFound(5, QStringLiteral(" toys ")),
                 (QStringList{QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3")}));
        QCOMPARE(idsFound(5, QStringLiteral("Games / Toys")), QStringList{QStringLiteral("T3")});
        QCOMPARE(idsFound(5, QStringLiteral("x' OR '1'='1")), QStringList());
        const QList<QStringList> orphanRows = rowsFound(0, QStringLiteral("T9"));
        QCOMPARE(orphanRows.size(), 1);
        QCOMPARE(orphanRows[0].at(5), QString());
        QCOMPARE(orphanRows[0].at(9), QString());

        // Blanks: every value on a text column (not the NULLs), the kind's message on the others.
        QCOMPARE(idsFound(1, QStringLiteral("   ")), QStringList{QStringLiteral("T1")});
        QCOMPARE(idsFound(0, QStringLiteral("   ")).size(), 5);
        QCOMPARE(catalog::inventorySearchRefusal(7, QStringLiteral("   ")),
                 QStringLiteral("The search field only accepts numeric values. Please try again."));
        QCOMPARE(catalog::inventorySearchRefusal(10, QStringLiteral("  ")),
                 QStringLiteral("The search field only accepts date values. Please try again."));
    }

    void exportWritesTabbedLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.xls"));
        QList<QStringList> rows{catalog::inventoryHeaders(), QStringList(25, QString())};
        for (const QString &id :
             {QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3")}) {
            QStringList row(25, QString());
            row[0] = id;
            row[2] = QStringLiteral("Caf\u00e9 Stories");
            rows << row;
        }
        const auto cell = [&rows](int r, int c) {
            return QStringView(rows.at(r).at(c));
        };
        QCOMPARE(exportList(path, int(rows.size()), 25, cell), std::nullopt);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 6); // five lines and nothing after the last line end
        QVERIFY(lines.last().isEmpty());
        QVERIFY(lines[0].startsWith("Product ID\tUPC Code\tProduct Name\t"));
        QCOMPARE(lines[1], QByteArray(25, '\t') + '\r');
        QCOMPARE(lines[2], QByteArray("P1\t\tCaf\xe9 Stories") + QByteArray(23, '\t') + '\r');
        for (int i = 0; i < 5; ++i)
            QVERIFY(lines[i].endsWith("\t\r"));
        // A file that cannot be written is reported, not passed over.
        QVERIFY(exportList(dir.filePath(QStringLiteral("no/such/folder/list.xls")),
                           int(rows.size()), 25, cell));
        // Stopped after two rows: no failure, and the file written before is as it was.
        file.close();
        const QByteArray before = [&path] {
            QFile written(path);
            return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
        }();
        int written = 0;
        QCOMPARE(exportList(path, int(rows.size()), 25, cell, [&written] { return ++written < 2; }),
                 std::nullopt);
        QCOMPARE(written, 2);
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("list.xls")});
    }

    void flagTexts()
    {
        for (const char *one : {"True", "Y", "Yes", "1", " 1 "})
            QCOMPARE(ParseFlagText(QString::fromLatin1(one)), 1);
        for (const char *zero : {"", "False", "N", "No", "0", "yes", "true", "2", "-1"})
            QCOMPARE(ParseFlagText(QString::fromLatin1(zero)), 0);
    }

    void checksInOrder()
    {
        ProductEntry e;
        e.categoryId = QStringLiteral("11");
        e.manufacturerId = QStringLiteral("1");
        QCOMPARE(
            validateProduct(e),
            QStringLiteral("Product ID is a required field.\rProduct Name is a required field.\r"));

        e = entry(QStringLiteral(" 1234567890123456 "));
        QCOMPARE(validateProduct(e), QStringLiteral("Product ID can't exeed 15 characters.\r"));
        e.productId = QStringLiteral("  123456789012345  ");
        QCOMPARE(validateProduct(e), QString());

        e.categoryId.clear();
        e.manufacturerId.clear();
        e.msrp = QStringLiteral("abc");
        e.releaseDate = QStringLiteral("31/12/2024");
        e.onHand = QStringLiteral("1,234");
        e.filler3 = QString(26, QLatin1Char('x'));
        QCOMPARE(validateProduct(e),
                 QStringLiteral("Missing product categories.\rMSRP field must be in NUMERIC "
                                "format.\rMissing product Manufacturers.\rRelease Date field must "
                                "be in DATE (mm/dd/yyyy) format.\rFiller3 can't exeed 25 "
                                "characters.\r"));

        // Comments count as stored: 250 line breaks are 500 characters with their text.
        e = entry(QStringLiteral("P1"));
        e.comments = QString(250, QLatin1Char('\n'));
        QCOMPARE(validateProduct(e), QString());
        e.comments += QLatin1Char('x');
        QCOMPARE(validateProduct(e), QStringLiteral("Comments can't exeed 500 characters.\r"));
    }

    void saveConvertsTypedValues()
    {
        TestWarehouse warehouse;
        ScriptedDialogsScope dialogs;
        ProductEntry e = entry(QStringLiteral(" NEW1 "));
        e.msrp = QStringLiteral("12");
        e.lastPrice = QString();
        e.prodCost = QStringLiteral("1,234.567");
        e.releaseDate = QStringLiteral("3/5/2024");
        e.onHand = QStringLiteral(" 7 ");
        e.comments = QStringLiteral("First line\nSecond line");
        e.activeWeb = false;
        e.featuredProd = true;
        QCOMPARE(saveProduct(e, true, kNow, QStringLiteral("jdoe")), SaveResult::Saved);
        const QString id = QStringLiteral("NEW1");
        QCOMPARE(stored(QStringLiteral("MSRP"), id).toDouble(), 12.0);
        QCOMPARE(stored(QStringLiteral("LastPrice"), id).toDouble(), 0.0);
        QCOMPARE(stored(QStringLiteral("ProdCost"), id).toDouble(), 1234.57);
        QVERIFY(stored(QStringLiteral("ProductUPC"), id).isNull());
        QVERIFY(stored(QStringLiteral("Status"), id).isNull());
        QCOMPARE(sqlvalue::date(stored(QStringLiteral("ReleaseDate"), id)), QDate(2024, 3, 5));
        QVERIFY(stored(QStringLiteral("DistEndDate"), id).isNull());
        QCOMPARE(stored(QStringLiteral("OnHand"), id).toInt(), 7);
        QCOMPARE(stored(QStringLiteral("Comments"), id).toString(),
                 QStringLiteral("First line\r\nSecond line"));
        QCOMPARE(stored(QStringLiteral("ActiveWeb"), id).toInt(), 0);
        QCOMPARE(stored(QStringLiteral("FeaturedProd"), id).toInt(), 1);
        QCOMPARE(stored(QStringLiteral("Category"), id).toInt(), 11);
        QCOMPARE(stored(QStringLiteral("ModifyUser"), id).toString(), QStringLiteral("jdoe"));
        QVERIFY(dialogs->calls().isEmpty());

        // Read back as the panel shows it.
        const auto loaded = loadProduct(QStringLiteral("new1 "));
        QVERIFY(loaded);
        QCOMPARE(loaded->productId, id);
        QCOMPARE(loaded->msrp, QStringLiteral("12"));
        QCOMPARE(loaded->releaseDate, QStringLiteral("03/05/2024"));
        QCOMPARE(loaded->comments, QStringLiteral("First line\nSecond line"));
        QCOMPARE(loaded->manufacturerId, QStringLiteral("2"));
        QVERIFY(loaded->activeProd && !loaded->activeWeb && loaded->featuredProd);
        QVERIFY(!loadProduct(QStringLiteral("GONE")));
    }

    void overrideDeclinedOrAccepted()
    {
        TestWarehouse warehouse;
        ScriptedDialogsScope dialogs;
        fixture::stockProduct(QStringLiteral("P1"), QStringLiteral("Old Name"));
        ProductEntry e = entry(QStringLiteral("p1"));
        dialogs->answerNo();
        QCOMPARE(saveProduct(e, true, kNow, QStringLiteral("jdoe")), SaveResult::Declined);
        QCOMPARE(dialogs->last().text,
                 QStringLiteral("The record you are trying to add already exists in the "
                                "database. Would you like to override the existing record."));
        QCOMPARE(dialogs->last().title, QStringLiteral("Inventory Maintenance"));
        QCOMPARE(stored(QStringLiteral("ProductName"), QStringLiteral("P1")).toString(),
                 QStringLiteral("Old Name"));

        dialogs->answerYes();
        QCOMPARE(saveProduct(e, true, kNow, QStringLiteral("jdoe")), SaveResult::Saved);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")), 1);
        QCOMPARE(stored(QStringLiteral("ProductName"), QStringLiteral("P1")).toString(),
                 QStringLiteral("The Quiet Harbor"));

        // An edit asks nothing.
        const int asked = int(dialogs->calls().size());
        e.productName = QStringLiteral("Edited");
        QCOMPARE(saveProduct(e, false, kNow, QStringLiteral("jdoe")), SaveResult::Saved);
        QCOMPARE(int(dialogs->calls().size()), asked);
    }

    // The override question holds nothing open, so another client's write goes through; a change
    // it made to the product asked about is asked about again.
    void overrideQuestionHoldsNoOtherClientUp_data()
    {
        QTest::addColumn<QString>("meanwhile"); // on the product saved
        QTest::addColumn<int>("asked");
        QTest::newRow("another product saved")
            << "UPDATE tblInvMaster SET ProductName = 'Theirs' WHERE ProductID <> ?" << 1;
        QTest::newRow("changed meanwhile")
            << "UPDATE tblInvMaster SET ProductName = 'Theirs' WHERE ProductID = ?" << 2;
        QTest::newRow("deleted meanwhile") << "DELETE FROM tblInvMaster WHERE ProductID = ?" << 1;
    }
    void overrideQuestionHoldsNoOtherClientUp()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, asked);
        TestWarehouse warehouse;
        fixture::stockProduct(QStringLiteral("P1"));
        fixture::stockProduct(QStringLiteral("P2"));
        auto *dialogs = new AnotherClientMeanwhile(
            [&] { TestWarehouse::exec(meanwhile, {QStringLiteral("P1")}); });
        std::unique_ptr<Dialogs> previous = Dialogs::install(std::unique_ptr<Dialogs>(dialogs));
        const SaveResult saved =
            saveProduct(entry(QStringLiteral("P1")), true, kNow, QStringLiteral("jdoe"));
        const QStringList shown = dialogs->shown;
        const QString secondClient = dialogs->secondClient;
        Dialogs::install(std::move(previous));
        QCOMPARE(saved, SaveResult::Saved);
        QCOMPARE(secondClient, QString());
        QCOMPARE(shown, QStringList(asked, QStringLiteral("The record you are trying to add "
                                                          "already exists in the database. Would "
                                                          "you like to override the existing "
                                                          "record.")));
        QCOMPARE(stored(QStringLiteral("ProductName"), QStringLiteral("P1")).toString(),
                 QStringLiteral("The Quiet Harbor"));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")), 2);
    }

    void failedSaveAndDeleteKeepTheRow()
    {
        TestWarehouse warehouse;
        fixture::stockProduct(QStringLiteral("P1"), QStringLiteral("Kept"));
        TestWarehouse::exec(QStringLiteral("INSERT INTO tblInvDescriptions (ProductID, BlurbSize, "
                                           "Blurb) VALUES ('P1', 'Small', 'Words')"));
        // The insert fails after the delete ran (no category): the delete is undone too.
        ProductEntry e = entry(QStringLiteral("P1"));
        e.categoryId.clear();
        QCOMPARE(saveProduct(e, false, kNow, QStringLiteral("jdoe")), SaveResult::Failed);
        QCOMPARE(stored(QStringLiteral("ProductName"), QStringLiteral("P1")).toString(),
                 QStringLiteral("Kept"));

        QVERIFY(deleteProduct(QStringLiteral(" P1 ")));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvMaster")), 0);
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblInvDescriptions")),
                 1);
        QCOMPARE(deleteQuestion(QStringLiteral(" P1 ")),
                 QStringLiteral("Delete [P1] from the data warehouse?"));
    }

    void lookupLists()
    {
        TestWarehouse warehouse;
        // A category whose parent is missing is not listed.
        fixture::category(200, QStringLiteral("Strays"), 2, 999);
        const QList<LookupEntry> categories = loadCategories();
        QVERIFY(!categories.isEmpty());
        QStringList names;
        for (const LookupEntry &c : categories)
            names << c.name;
        QVERIFY(names.contains(QStringLiteral("Fiction / Mystery")));
        QVERIFY(!names.contains(QStringLiteral("Strays")));
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(names, sorted);
        const QList<LookupEntry> makers = loadManufacturers();
        QCOMPARE(makers.first().name, QStringLiteral("Bluefield Publishing"));
        QCOMPARE(makers.first().id, QStringLiteral("3"));
    }
};

FOLVANE_DATABASE_TEST_MAIN(ProductMasterTest)
#include "tst_product_master.moc"
