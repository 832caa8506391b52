// The product descriptions without their window: the search, a product's descriptions, the products
// without any, the checks, the save with its two questions and the delete.
#include "DescriptionFixtures.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "inventory/ProductDescriptions.h"

#include <QCoreApplication>
#include <QTest>

using namespace productdescriptions;

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(9, 5, 3));

DescriptionEntry entry(const QString &id, const QString &size, const QString &text)
{
    return {id, size, text};
}

} // namespace

class tst_productdescriptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<ScriptedDialogsScope> m_dialogs;
    ScriptedDialogs &dialogs() { return **m_dialogs; }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_dialogs = std::make_unique<ScriptedDialogsScope>();
    }

    void cleanup()
    {
        QCOMPARE(dialogs().pendingAnswers(), 0);
        m_dialogs.reset();
        m_warehouse.reset();
    }

    void searchIsAPrefixMatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const QStringList both{QStringLiteral("AB100"), QStringLiteral("ABC")};
        QTest::newRow("prefix") << "AB" << both;
        QTest::newRow("any case") << "ab" << both;
        QTest::newRow("quote dropped") << "A'B" << both;
        QTest::newRow("underscore wildcard") << "A_C" << QStringList{QStringLiteral("ABC")};
        QTest::newRow("percent wildcard")
            << "%B"
            << QStringList{QStringLiteral("AB100"), QStringLiteral("ABC"), QStringLiteral("XAB")};
        QTest::newRow("nothing") << "ZZ" << QStringList();
        QTest::newRow("described only") << "NODESC" << QStringList();
    }
    void searchIsAPrefixMatch()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        for (const char *id : {"AB100", "ABC", "XAB"})
            fixture::item(QString::fromLatin1(id));
        fixture::item(QStringLiteral("NODESC"));
        // Two sizes of one product list it once.
        fixture::blurb(QStringLiteral("AB100"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("AB100"), QStringLiteral("Short"));
        fixture::blurb(QStringLiteral("ABC"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("XAB"), QStringLiteral("Long"));
        QCOMPARE(SearchDescribedProducts(text), found);
    }

    void descriptionsComeInSizeOrderWithTheProductsFacts()
    {
        fixture::Item product{QStringLiteral("BK1")};
        product.msrp = 1234.5;
        product.onHand = 2345;
        fixture::item(product);
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("50"),
                       QStringLiteral("Fifty\r\nwords"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("25"), QStringLiteral("Short one"),
                       QDateTime(QDate(2025, 11, 30), QTime(23, 59, 58)));
        const auto records = LoadProductDescriptions(QStringLiteral(" BK1 "));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].blurbSize, QStringLiteral("25"));
        QCOMPARE(records[0].blurb, QStringLiteral("Short one"));
        QCOMPARE(records[0].modifyDate, QStringLiteral("11/30/2025 23:59:58"));
        QCOMPARE(records[0].productID, QStringLiteral("BK1"));
        QCOMPARE(records[0].productName, QStringLiteral("A Book"));
        QCOMPARE(records[0].activeText, QStringLiteral("Yes"));
        QCOMPARE(records[0].msrp, QStringLiteral("$1,234.50"));
        QCOMPARE(records[0].onHand, QStringLiteral("2,345"));
        QCOMPARE(records[1].blurbSize, QStringLiteral("50"));
        QCOMPARE(records[1].blurb, QStringLiteral("Fifty\r\nwords"));
        QCOMPARE(records[1].modifyDate, QStringLiteral("03/05/2024 14:07:09"));
    }

    void productWithoutDescriptionsOrMasterRow()
    {
        fixture::Item product{QStringLiteral("BARE")};
        product.activeProd = 0;
        product.msrp = QVariant();
        fixture::item(product);
        const auto bare = LoadProductDescriptions(QStringLiteral("BARE"));
        QCOMPARE(bare.size(), 1);
        QCOMPARE(bare[0].blurbSize, QString());
        QCOMPARE(bare[0].blurb, QString());
        QCOMPARE(bare[0].modifyDate, QString());
        QCOMPARE(bare[0].activeText, QStringLiteral("No"));
        QCOMPARE(bare[0].msrp, QStringLiteral("$0.00"));

        // Descriptions outlive a deleted product, but the load shows none of them.
        fixture::blurb(QStringLiteral("GONE"), QStringLiteral("Long"));
        QVERIFY(LoadProductDescriptions(QStringLiteral("GONE")).isEmpty());
    }

    void missingListsProductsWithoutAnyDescription()
    {
        fixture::Item web{QStringLiteral("M2")};
        web.activeProd = 0;
        web.activeWeb = 1;
        web.msrp = QVariant();
        web.onHand = QVariant();
        fixture::item(web);
        fixture::Item plain{QStringLiteral("M1"), QStringLiteral("Plain Book")};
        plain.msrp = 1999.99;
        plain.onHand = 12000;
        fixture::item(plain);
        fixture::item(QStringLiteral("D1"));
        fixture::blurb(QStringLiteral("D1"), QStringLiteral("Long"));
        QList<MissingProduct> rows;
        LoadMissingDescriptions([&rows](MissingProduct &&row) { rows << row; });
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].cells, (QStringList{QStringLiteral("M1"), QStringLiteral("Plain Book"),
                                             QStringLiteral("12,000"), QStringLiteral("$1,999.99"),
                                             QStringLiteral("X"), QString()}));
        QVERIFY(!rows[0].activeWeb);
        QCOMPARE(rows[1].cells,
                 (QStringList{QStringLiteral("M2"), QStringLiteral("A Book"), QStringLiteral("0"),
                              QStringLiteral("$0.00"), QString(), QStringLiteral("X")}));
        QVERIFY(rows[1].activeWeb);
    }

    void validationStopsAtTheFirstFailure_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        using F = Verdict::Field;
        QTest::newRow("blank id") << "  "
                                  << ""
                                  << "" << int(F::ProductID) << "Please enter a valid Product ID.";
        QTest::newRow("unknown id")
            << "NOPE"
            << ""
            << "" << int(F::ProductID)
            << "The Product ID you have entered was not found in the Inventory collection.";
        QTest::newRow("no size") << " BK1 "
                                 << ""
                                 << "text" << int(F::BlurbSize)
                                 << "Please choose the appropriate Description Size.";
        QTest::newRow("blanks only")
            << "BK1"
            << "Long"
            << "   " << int(F::Blurb) << "Description is a required field and can't remain blank.";
        QTest::newRow("line breaks only")
            << "BK1"
            << "Long"
            << " \n \n"
            << int(F::Blurb) << "Description is a required field and can't remain blank.";
        QTest::newRow("fine") << "bk1"
                              << "Long"
                              << " x " << int(F::None) << "";
    }
    void validationStopsAtTheFirstFailure()
    {
        QFETCH(QString, id);
        QFETCH(QString, size);
        QFETCH(QString, text);
        QFETCH(int, field);
        QFETCH(QString, message);
        fixture::item(QStringLiteral("BK1"));
        const Verdict verdict = ValidateDescription(entry(id, size, text));
        QCOMPARE(int(verdict.field), field);
        QCOMPARE(verdict.message, message);
    }

    void addInsertsOneTrimmedRowWithCrLf()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        Mode mode = Mode::Add;
        QVERIFY(SaveDescription(entry(QStringLiteral(" BK1 "), QStringLiteral("Long"),
                                      QStringLiteral("  First line\nSecond line  ")),
                                mode, kNow, QStringLiteral("tester")));
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(mode, Mode::Add);
        QCOMPARE(fixture::blurbCount(), 2);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")),
                 (QStringList{QStringLiteral("First line\r\nSecond line"),
                              QStringLiteral("2026-12-07 09:05:03"), QStringLiteral("tester")}));
        // Read back, the line break is still CR LF, and the editor gets LF.
        const auto records = LoadProductDescriptions(QStringLiteral("BK1"));
        QCOMPARE(records[0].blurb, QStringLiteral("First line\r\nSecond line"));
        QCOMPARE(editorText(records[0].blurb), QStringLiteral("First line\nSecond line"));
        QCOMPARE(storedText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\r\nb\r\nc\r\nd"));
    }

    void addOverAnExistingDescriptionAsks()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old"));
        const QStringList before =
            fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        Mode mode = Mode::Add;
        const DescriptionEntry typed =
            entry(QStringLiteral("BK1 "), QStringLiteral("Long"), QStringLiteral("New"));

        dialogs().answerNo();
        QVERIFY(!SaveDescription(typed, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Add);
        QCOMPARE(dialogs().last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(dialogs().last().title, QStringLiteral("Product Descriptions"));
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("[BK1  ; Long] already exist in the\r"
                                "database.  Would you like to overwrite???"));
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")), before);

        dialogs().answerYes();
        QVERIFY(SaveDescription(typed, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Edit);
        QCOMPARE(fixture::blurbCount(), 1);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")),
                 (QStringList{QStringLiteral("New"), QStringLiteral("2026-12-07 09:05:03"),
                              QStringLiteral("tester")}));
    }

    void editChangesOnlyTheShownRow()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::item(QStringLiteral("BK2"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"), QStringLiteral("Kept"));
        fixture::blurb(QStringLiteral("BK2"), QStringLiteral("Long"), QStringLiteral("Kept too"));
        const QStringList shortBefore =
            fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        const QStringList otherBefore =
            fixture::storedBlurb(QStringLiteral("BK2"), QStringLiteral("Long"));
        Mode mode = Mode::Edit;
        QVERIFY(SaveDescription(
            entry(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Changed")), mode,
            kNow, QStringLiteral("tester")));
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")),
                 (QStringList{QStringLiteral("Changed"), QStringLiteral("2026-12-07 09:05:03"),
                              QStringLiteral("tester")}));
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Short")), shortBefore);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK2"), QStringLiteral("Long")), otherBefore);
        QCOMPARE(fixture::blurbCount(), 3);
    }

    void editOfAVanishedDescriptionAsksBeforeAddingIt()
    {
        fixture::item(QStringLiteral("BK1"));
        Mode mode = Mode::Edit;
        const DescriptionEntry typed =
            entry(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Back again"));
        dialogs().answerNo();
        QVERIFY(!SaveDescription(typed, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Edit);
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("[BK1 ; Long] no longer exists in the\r"
                                "database.  Would you like to add it again?"));
        QCOMPARE(fixture::blurbCount(), 0);
        dialogs().answerYes();
        QVERIFY(SaveDescription(typed, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Add);
        QCOMPARE(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).value(0),
                 QStringLiteral("Back again"));
    }

    void deleteRemovesOneRowAndReportsNothingToDelete()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Short"));
        QVERIFY(DeleteDescription(QStringLiteral("BK1"), QStringLiteral("Long")));
        QCOMPARE(fixture::blurbCount(), 1);
        QVERIFY(fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long")).isEmpty());
        // Gone meanwhile: not a success.
        QVERIFY(!DeleteDescription(QStringLiteral("BK1"), QStringLiteral("Long")));
        QCOMPARE(fixture::blurbCount(), 1);
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_productdescriptions)
#include "tst_productdescriptions.moc"
