// Placing a product on a page: the validation with its messages and question, the pricing rule,
// the rows written, editing as one replacement, loading and deleting.
#include "CatalogEditFixtures.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "catalog/Placement.h"
#include "warehouse/DbError.h"
#include "warehouse/Query.h"

#include <QCoreApplication>
#include <QTest>

using namespace catalog;

namespace {

const QString kCaption = QStringLiteral("Edit Existing Catalog/Insert");

QString msg(const char *text) { return QString::fromUtf8(text) + QStringLiteral("\r"); }

const char *const kProductId = "Product ID is a required field and can't be empty and must be less "
                               "than or equal to 15 characters.";
const char *const kNotInInventory =
    "The item you are trying to add does not exists in the Inventory Database. Please make certain "
    "you have the right Product ID number, or add this item to Inventory data warehouse first.";
const char *const kPage = "Please enter a page number for the product.";
const char *const kPositionEmpty = "Product Position is a required field and can't be empty.";
const char *const kPositionFormat = "Product Position must be in numeric format I.E. 1,2,3...";
const char *const kWeightEmpty = "Product Page Weight is a required field and can't be empty";
const char *const kWeightFormat = "Product Page Weight must be in numeric format I.E. 1,2,3...";
const char *const kBlurbEmpty = "Product Blurb Size is a required field and can't be empty.";
const char *const kBlurbMissing = "The Description Size for an item you are trying to set does not "
                                  "exists. Please choose another Blurb Size or choose Blank.";
const char *const kPrice = "Product Price must be in numeric format I.E. 1,2,3...";
const char *const kDiscount = "Product Percentage must be in numeric format I.E. 1,2,3...";
const char *const kType = "Product Type can't exceed five characters.";
const char *const kAlreadyPresent =
    "The product you are trying to insert is already present... Would you like to continue?";

PlacementEntry entry(const QString &key = QStringLiteral("ID|MYST|SPRING|0000|003"))
{
    PlacementEntry e;
    e.target = NodeKey(key);
    e.productId = QStringLiteral("B1");
    e.pageNumber = QStringLiteral("3");
    e.position = QStringLiteral("1");
    e.weight = QStringLiteral("11.11");
    e.blurbSize = QStringLiteral("Blank");
    return e;
}

void products()
{
    fixture::Product p;
    p.id = QStringLiteral("B1");
    p.msrp = 60.0;
    p.lastPrice = 50.0;
    fixture::product(p);
    p.id = QStringLiteral("B2");
    fixture::product(p);
    fixture::description(QStringLiteral("B1"), QStringLiteral("Short"));
}

struct Row
{
    QVariant club, catalog, test, product, page, position, weight, descType, price, discount, type,
        user;
    QDateTime modified;
};

QList<Row> storedRows()
{
    Query q(QStringLiteral("SELECT ClubID, CatalogID, TestID, ProductID, PageNum, PagePosition, "
                           "PageWeight, DescType, Price, Discount, ProductType, ModifyUser, "
                           "ModifyDate FROM tblProductsMap ORDER BY ItemID"));
    q.exec();
    QList<Row> rows;
    while (q.next())
        rows << Row{q.value(0),
                    q.value(1),
                    q.value(2),
                    q.value(3),
                    q.value(4),
                    q.value(5),
                    q.value(6),
                    q.value(7),
                    q.value(8),
                    q.value(9),
                    q.value(10),
                    q.value(11),
                    q.value(12).typeId() == QMetaType::QDateTime
                        ? q.value(12).toDateTime()
                        : QDateTime::fromString(q.text(12), QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
    return rows;
}

QDateTime saveTime() { return QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53)); }

} // namespace

class PlacementTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validationMessages_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("messages");
        const auto row = [](const char *name, const char *field, const char *value,
                            QStringList messages) {
            QTest::newRow(name) << QString::fromLatin1(field) << QString::fromUtf8(value)
                                << messages.join(QString());
        };
        row("valid", "", "", {});
        row("16-character ID", "productId", "B123456789012345", {msg(kProductId)});
        row("15-character unknown ID", "productId", "B12345678901234", {msg(kNotInInventory)});
        row("blank ID", "productId", "   ", {msg(kProductId)});
        row("no page", "pageNumber", "", {msg(kPage)});
        row("page not a number", "pageNumber", "three", {msg(kPage)});
        row("no position", "position", "", {msg(kPositionEmpty)});
        row("position a word", "position", "first", {msg(kPositionFormat)});
        row("position beyond 16 bits", "position", "40000", {msg(kPositionFormat)});
        row("empty weight", "weight", " ", {msg(kWeightEmpty), msg(kWeightFormat)});
        row("weight a word", "weight", "half", {msg(kWeightFormat)});
        row("empty blurb size", "blurbSize", "", {msg(kBlurbEmpty), msg(kBlurbMissing)});
        row("blurb size without description", "blurbSize", "Long", {msg(kBlurbMissing)});
        row("blurb size with description", "blurbSize", "short", {});
        row("blank in lower case", "blurbSize", "blank", {});
        row("blank in capitals", "blurbSize", "BLANK", {});
        row("price a word", "price", "cheap", {msg(kPrice)});
        row("price with separators", "price", "$1,234.50", {});
        row("discount a word", "discount", "some", {msg(kDiscount)});
        row("five-letter type", "productType", "abcde", {});
        row("six-letter type", "productType", "abcdef", {msg(kType)});
    }
    void validationMessages()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, messages);
        TestWarehouse warehouse;
        products();
        ScriptedDialogsScope dialogs;
        PlacementEntry e = entry();
        if (!field.isEmpty())
            e.*(field == QLatin1String("productId")    ? &PlacementEntry::productId
                : field == QLatin1String("pageNumber") ? &PlacementEntry::pageNumber
                : field == QLatin1String("position")   ? &PlacementEntry::position
                : field == QLatin1String("weight")     ? &PlacementEntry::weight
                : field == QLatin1String("blurbSize")  ? &PlacementEntry::blurbSize
                : field == QLatin1String("price")      ? &PlacementEntry::price
                : field == QLatin1String("discount")   ? &PlacementEntry::discount
                                                       : &PlacementEntry::productType) = value;
        const PlacementValidation result = validatePlacement(e, kCaption);
        QCOMPARE(result.messages, messages);
        QCOMPARE(result.outcome, messages.isEmpty() ? PlacementValidation::Outcome::Valid
                                                    : PlacementValidation::Outcome::Refused);
        QVERIFY(dialogs->calls().isEmpty());
    }

    // Everything wrong at once: every message, in check order, one per line.
    void everyMessageInOrder()
    {
        TestWarehouse warehouse;
        products();
        fixture::placement(QStringLiteral("B2"), 3, 4);
        ScriptedDialogsScope dialogs;
        PlacementEntry e = entry();
        e.productId = QStringLiteral("NOPE");
        e.position = QStringLiteral("4");
        e.weight.clear();
        e.blurbSize.clear();
        e.price = QStringLiteral("x");
        e.discount = QStringLiteral("y");
        e.productType = QStringLiteral("TOOLONG");
        QCOMPARE(validatePlacement(e, kCaption).messages,
                 msg(kNotInInventory) +
                     QStringLiteral("The position for an item you are trying to set already "
                                    "taken by [B2]. Please choose another position.\r") +
                     msg(kWeightEmpty) + msg(kWeightFormat) + msg(kBlurbEmpty) +
                     msg(kBlurbMissing) + msg(kPrice) + msg(kDiscount) + msg(kType));
    }

    // The position check looks at this page of this test only; an insert's placements are found
    // with their empty club and test.
    void freePositionCheck()
    {
        TestWarehouse warehouse;
        products();
        fixture::placement(QStringLiteral("B2"), 3, 1);
        ScriptedDialogsScope dialogs;
        QVERIFY(validatePlacement(entry(), kCaption).messages.contains(QLatin1String("[B2]")));
        QCOMPARE(
            validatePlacement(entry(QStringLiteral("ID|MYST|SPRING|0001|003")), kCaption).outcome,
            PlacementValidation::Outcome::Valid);
        PlacementEntry otherPage = entry();
        otherPage.pageNumber = QStringLiteral("4");
        QCOMPARE(validatePlacement(otherPage, kCaption).outcome,
                 PlacementValidation::Outcome::Valid);

        fixture::Placement onInsert;
        onInsert.club = QVariant();
        onInsert.test = QVariant();
        onInsert.catalog = QStringLiteral("01152024093000");
        onInsert.product = QStringLiteral("B2");
        onInsert.page = 3;
        fixture::placement(onInsert);
        QVERIFY(validatePlacement(entry(QStringLiteral("INS|01152024093000|003")), kCaption)
                    .messages.contains(QLatin1String("[B2]")));
    }

    // A product already on the test (any page) asks; No ends the validation without showing the
    // collected messages, Yes goes on to them.
    void productAlreadyOnTheMap()
    {
        TestWarehouse warehouse;
        products();
        fixture::placement(QStringLiteral("B1"), 7, 1);
        ScriptedDialogsScope dialogs;
        PlacementEntry e = entry();
        e.price = QStringLiteral("abc");

        dialogs->answerNo();
        const PlacementValidation no = validatePlacement(e, kCaption);
        QCOMPARE(no.outcome, PlacementValidation::Outcome::Cancelled);
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(dialogs->last().text, QString::fromUtf8(kAlreadyPresent));
        QCOMPARE(dialogs->last().title, kCaption);
        QCOMPARE(dialogs->last().icon, Dialogs::Icon::Information);

        dialogs->answerYes();
        const PlacementValidation yes = validatePlacement(e, kCaption);
        QCOMPARE(yes.outcome, PlacementValidation::Outcome::Refused);
        QCOMPARE(yes.messages, msg(kPrice));

        // Another test of the same catalog does not hold it.
        dialogs->clear();
        QCOMPARE(
            validatePlacement(entry(QStringLiteral("ID|MYST|SPRING|0002|003")), kCaption).outcome,
            PlacementValidation::Outcome::Valid);
        QVERIFY(dialogs->calls().isEmpty());
    }

    void editModeSkipsPositionAndDuplicateChecks()
    {
        TestWarehouse warehouse;
        products();
        fixture::placement(QStringLiteral("B1"), 3, 1);
        fixture::placement(QStringLiteral("B2"), 3, 2);
        ScriptedDialogsScope dialogs;
        PlacementEntry e = entry();
        e.mode = PlacementMode::Edit;
        e.position = QStringLiteral("2");
        QCOMPARE(validatePlacement(e, kCaption).outcome, PlacementValidation::Outcome::Valid);
        QVERIFY(dialogs->calls().isEmpty());
    }

    void pricing_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<double>("msrp");
        QTest::addColumn<double>("lastPrice");
        QTest::addColumn<double>("storedPrice");
        QTest::addColumn<double>("storedDiscount");
        QTest::newRow("price below MSRP")
            << QStringLiteral("45") << QString() << 60.0 << 50.0 << 45.0 << 25.0;
        QTest::newRow("price without MSRP")
            << QStringLiteral("45") << QString() << 0.0 << 0.0 << 45.0 << -4400.0;
        QTest::newRow("price wins over discount")
            << QStringLiteral("45") << QStringLiteral("50") << 60.0 << 0.0 << 45.0 << 25.0;
        QTest::newRow("price to the cent")
            << QStringLiteral("$1,234.567") << QString() << 0.0 << 0.0 << 1234.57 << -123357.0;
        QTest::newRow("discount only")
            << QString() << QStringLiteral("20") << 50.0 << 0.0 << 40.0 << 20.0;
        QTest::newRow("neither: last price")
            << QString() << QString() << 30.0 << 30.0 << 30.0 << 0.0;
        QTest::newRow("neither: lower last price")
            << QString() << QString() << 40.0 << 30.0 << 30.0 << 25.0;
    }
    void pricing()
    {
        QFETCH(QString, price);
        QFETCH(QString, discount);
        QFETCH(double, msrp);
        QFETCH(double, lastPrice);
        QFETCH(double, storedPrice);
        QFETCH(double, storedDiscount);
        const PlacementPrice result = priceOfPlacement(price, discount, msrp, lastPrice);
        QCOMPARE(result.price, storedPrice);
        QCOMPARE(result.discount, storedDiscount);
    }

    // A catalog page placement: trimmed values, numbers stored as numbers, the product type in
    // capitals, the time and user of the save; the price from the product's last price (its MSRP
    // when it has none).
    void saveWritesOneRow()
    {
        TestWarehouse warehouse;
        fixture::Product p;
        p.id = QStringLiteral("B9");
        p.msrp = 30.0;
        p.lastPrice = QVariant();
        fixture::product(p);
        PlacementEntry e = entry();
        e.productId = QStringLiteral(" B9 ");
        e.pageNumber = QStringLiteral(" 3 ");
        e.position = QStringLiteral("12");
        e.weight = QStringLiteral("1,000.5");
        e.productType = QStringLiteral(" fb ");
        savePlacement(e, saveTime(), QStringLiteral("jdoe"));

        const QList<Row> rows = storedRows();
        QCOMPARE(rows.size(), 1);
        const Row &r = rows[0];
        QCOMPARE(r.club.toString(), QStringLiteral("MYST"));
        QCOMPARE(r.catalog.toString(), QStringLiteral("SPRING"));
        QCOMPARE(r.test.toString(), QStringLiteral("0000"));
        QCOMPARE(r.product.toString(), QStringLiteral("B9"));
        QCOMPARE(r.page.toInt(), 3);
        QCOMPARE(r.position.toInt(), 12);
        QCOMPARE(r.weight.toDouble(), 1000.5);
        QCOMPARE(r.descType.toString(), QStringLiteral("Blank"));
        QCOMPARE(r.price.toDouble(), 30.0);
        QCOMPARE(r.discount.toDouble(), 0.0);
        QCOMPARE(r.type.toString(), QStringLiteral("FB"));
        QCOMPARE(r.user.toString(), QStringLiteral("jdoe"));
        QCOMPARE(r.modified, saveTime());
    }

    void insertPlacementHasNoClubOrTest()
    {
        TestWarehouse warehouse;
        products();
        PlacementEntry e = entry(QStringLiteral("INS|01152024093000|002"));
        e.pageNumber = QStringLiteral("2");
        e.price = QStringLiteral("45");
        savePlacement(e, saveTime(), QStringLiteral("jdoe"));
        const Row r = storedRows().value(0);
        QVERIFY(r.club.isNull());
        QVERIFY(r.test.isNull());
        QCOMPARE(r.catalog.toString(), QStringLiteral("01152024093000"));
        QCOMPARE(r.page.toInt(), 2);
        QCOMPARE(r.price.toDouble(), 45.0);
        QCOMPARE(r.discount.toDouble(), 25.0);
        // No type is stored as empty text, as the box says, not as NULL.
        QVERIFY(!r.type.isNull());
        QCOMPARE(r.type.toString(), QString());
    }

    // A catalog may carry an insert's ID: its placements neither take the insert's positions nor
    // count as the insert's products.
    void insertChecksIgnoreACatalogOfTheSameId()
    {
        TestWarehouse warehouse;
        products();
        fixture::Placement onCatalog;
        onCatalog.catalog = QStringLiteral("01152024093000");
        onCatalog.product = QStringLiteral("B1");
        onCatalog.page = 3;
        fixture::placement(onCatalog);
        ScriptedDialogsScope dialogs;
        QCOMPARE(
            validatePlacement(entry(QStringLiteral("INS|01152024093000|003")), kCaption).outcome,
            PlacementValidation::Outcome::Valid);
        QVERIFY(dialogs->calls().isEmpty());
    }

    // Editing replaces the placement by a new row; when the new row cannot be written the old
    // placement stays.
    void editReplacesInOneTransaction()
    {
        TestWarehouse warehouse;
        products();
        const qlonglong old = fixture::placement(QStringLiteral("B1"), 3, 1);
        PlacementEntry e = entry();
        e.mode = PlacementMode::Edit;
        e.itemId = QString::number(old);
        e.position = QStringLiteral("5");
        savePlacement(e, saveTime(), QStringLiteral("jdoe"));
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE ItemID = ?"), {old}),
                 0);
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE PagePosition = 5")),
                 1);
        const qlonglong replaced =
            TestWarehouse::scalar(QStringLiteral("SELECT ItemID FROM tblProductsMap")).toLongLong();
        QVERIFY(replaced != old);

        refuseNewPlacements();
        e.itemId = QString::number(replaced);
        e.position = QStringLiteral("6");
        QVERIFY_THROWS_EXCEPTION(DbError, savePlacement(e, saveTime(), QStringLiteral("jdoe")));
        QCOMPARE(
            TestWarehouse::count(
                QStringLiteral(
                    "SELECT COUNT(*) FROM tblProductsMap WHERE ItemID = ? AND PagePosition = 5"),
                {replaced}),
            1);
    }

    void loadAndDeletePlacement()
    {
        TestWarehouse warehouse;
        products();
        PlacementEntry e = entry();
        e.blurbSize = QStringLiteral("Short");
        e.price = QStringLiteral("45");
        e.productType = QStringLiteral("x");
        savePlacement(e, saveTime(), QStringLiteral("jdoe"));
        const QString itemId =
            TestWarehouse::scalar(QStringLiteral("SELECT ItemID FROM tblProductsMap")).toString();
        const auto stored = loadPlacement(itemId);
        QVERIFY(stored);
        QCOMPARE(stored->itemId, itemId);
        QCOMPARE(stored->productId, QStringLiteral("B1"));
        QCOMPARE(stored->pageNumber, QStringLiteral("3"));
        QCOMPARE(stored->position, QStringLiteral("1"));
        QCOMPARE(stored->weight, QStringLiteral("11.11"));
        QCOMPARE(stored->blurbSize, QStringLiteral("Short"));
        QCOMPARE(stored->productType, QStringLiteral("X"));
        QCOMPARE(stored->price, QStringLiteral("45"));
        QCOMPARE(stored->discount, QStringLiteral("25"));
        QCOMPARE(stored->modifyDate, QStringLiteral("03/14/2025 09:26:53"));

        fixture::placement(QStringLiteral("B2"), 3, 2);
        deletePlacement(itemId);
        QVERIFY(!loadPlacement(itemId));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblProductsMap")), 1);
    }

private:
    // Makes every new placement fail, as a full disk or a lost connection would.
    static void refuseNewPlacements()
    {
        if (TestWarehouse::forPostgreSQL()) {
            TestWarehouse::exec(QStringLiteral(
                "CREATE OR REPLACE FUNCTION refuse_placement() RETURNS trigger AS $$ BEGIN RAISE "
                "EXCEPTION 'placements refused'; END $$ LANGUAGE plpgsql"));
            TestWarehouse::exec(QStringLiteral(
                "CREATE TRIGGER refuse_placement BEFORE INSERT ON tblProductsMap FOR EACH ROW "
                "EXECUTE FUNCTION refuse_placement()"));
        } else {
            TestWarehouse::exec(QStringLiteral(
                "CREATE TRIGGER refuse_placement BEFORE INSERT ON tblProductsMap BEGIN SELECT "
                "RAISE(ABORT, 'placements refused'); END"));
        }
    }
};

FOLVANE_DATABASE_TEST_MAIN(PlacementTest)
#include "tst_placement.moc"
