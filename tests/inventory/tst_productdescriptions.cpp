// The product descriptions without their window: the search, the checks, and the save with its two
// questions.
#include "DescriptionFixtures.h"
#include "ScriptedDialogs.h"
#include "SecondClient.h"
#include "TestWarehouse.h"
#include "inventory/ProductDescriptions.h"

#include <QCoreApplication>
#include <QTest>

using namespace productdescriptions;

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(9, 5, 3));
const QString kStoredNow = QStringLiteral("2026-12-07 09:05:03");

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
        const Verdict verdict = ValidateDescription({id, size, text});
        QCOMPARE(int(verdict.field), field);
        QCOMPARE(verdict.message, message);
    }

    void lineBreaksAreStoredAsCrLf()
    {
        QCOMPARE(storedText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\r\nb\r\nc\r\nd"));
        QCOMPARE(editorText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    }

    void addOverAnExistingDescriptionAsks()
    {
        fixture::item(QStringLiteral("BK1"));
        fixture::blurb(QStringLiteral("BK1"), QStringLiteral("Long"), QStringLiteral("Old"));
        const QStringList before =
            fixture::storedBlurb(QStringLiteral("BK1"), QStringLiteral("Long"));
        const DescriptionEntry typed{QStringLiteral("BK1 "), QStringLiteral("Long"),
                                     QStringLiteral("New")};
        Mode mode = Mode::Add;
        dialogs().answerNo();
        QVERIFY(!SaveDescription(typed, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Add);
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
                 (QStringList{QStringLiteral("New"), kStoredNow, QStringLiteral("tester")}));
    }

    void editOfAVanishedDescriptionAsksBeforeAddingIt()
    {
        fixture::item(QStringLiteral("BK1"));
        const DescriptionEntry vanished{QStringLiteral("BK1"), QStringLiteral("Medium"),
                                        QStringLiteral("Back again")};
        Mode mode = Mode::Edit;
        dialogs().answerNo();
        QVERIFY(!SaveDescription(vanished, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Edit);
        QCOMPARE(dialogs().last().text,
                 QStringLiteral("[BK1 ; Medium] no longer exists in the\r"
                                "database.  Would you like to add it again?"));
        QCOMPARE(fixture::blurbCount(), 0);
        dialogs().answerYes();
        QVERIFY(SaveDescription(vanished, mode, kNow, QStringLiteral("tester")));
        QCOMPARE(mode, Mode::Add);
        QCOMPARE(fixture::blurbCount(), 1);
    }

    // Nothing is held open while a question is on screen, so another client's write goes through;
    // what it changed about the description asked about is asked about again.
    void aQuestionHoldsNoOtherClientUp_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("meanwhile"); // on the product and size bound
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("asked"); // o: overwrite, v: no longer exists
        QTest::addColumn<int>("modeAfter");
        const int add = int(Mode::Add);
        const int edit = int(Mode::Edit);
        const QString insert = QStringLiteral(
            "INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb) VALUES (?, ?, 'Theirs')");
        const QString where = QStringLiteral(" WHERE ProductID = ? AND BlurbSize = ?");
        QTest::newRow("overwrite") << add << true << insert << "BK2"
                                   << "o" << edit;
        QTest::newRow("add again") << edit << false << insert << "BK2"
                                   << "v" << add;
        QTest::newRow("changed meanwhile")
            << add << true << QStringLiteral("UPDATE tblInvDescriptions SET Blurb = 'x'") + where
            << "BK1"
            << "oo" << edit;
        QTest::newRow("deleted meanwhile")
            << add << true << QStringLiteral("DELETE FROM tblInvDescriptions") + where << "BK1"
            << "ov" << add;
        QTest::newRow("added meanwhile") << edit << false << insert << "BK1"
                                         << "vo" << edit;
    }
    void aQuestionHoldsNoOtherClientUp()
    {
        QFETCH(int, mode);
        QFETCH(bool, stored);
        QFETCH(QString, meanwhile);
        QFETCH(QString, product);
        QFETCH(QString, asked);
        QFETCH(int, modeAfter);
        const QString id = QStringLiteral("BK1");
        const QString size = QStringLiteral("Long");
        fixture::item(id);
        if (stored)
            fixture::blurb(id, size, QStringLiteral("Old"));
        auto *dialogs = new AnotherClientMeanwhile([&] {
            TestWarehouse::exec(meanwhile, {product, size});
        });
        std::unique_ptr<Dialogs> scripted = Dialogs::install(std::unique_ptr<Dialogs>(dialogs));
        Mode current = Mode(mode);
        const bool saved =
            SaveDescription({id, size, QStringLiteral("New")}, current, kNow, QStringLiteral("me"));
        QStringList expected;
        for (QChar question : asked)
            expected << (question == u'o' ? overwriteQuestion(id, size)
                                          : vanishedQuestion(id, size));
        const QStringList questions = dialogs->shown;
        const QString secondClient = dialogs->secondClient;
        Dialogs::install(std::move(scripted));
        QVERIFY(saved);
        QCOMPARE(secondClient, QString());
        QCOMPARE(questions, expected);
        QCOMPARE(int(current), modeAfter);
        QCOMPARE(fixture::storedBlurb(id, size),
                 (QStringList{QStringLiteral("New"), kStoredNow, QStringLiteral("me")}));
        QCOMPARE(fixture::blurbCount(), product == id ? 1 : 2);
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_productdescriptions)
#include "tst_productdescriptions.moc"
