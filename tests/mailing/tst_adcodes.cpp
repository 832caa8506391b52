// Ad codes without their window: the live total CPM, the entry checks in their order, and an
// import row whose insert fails.
#include "AdCodeFixture.h"
#include "SecondClient.h"
#include "TestWarehouse.h"
#include "mailing/AdCodes.h"

#include <QCoreApplication>
#include <QTest>

using namespace adcodes;

namespace {

AdCodeEntry entryOf(const QString &code, const QString &listCpm = QStringLiteral("1"),
                    const QString &pkgCpm = QStringLiteral("2"))
{
    return {code,
            QStringLiteral("N"),
            QStringLiteral("L"),
            listCpm,
            QStringLiteral("P"),
            QStringLiteral("D"),
            pkgCpm,
            QStringLiteral("Web"),
            QStringLiteral("Mine"),
            QStringLiteral("01/02/2025"),
            QStringLiteral("5"),
            QStringLiteral("1")};
}

} // namespace

class tst_adcodes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void totalCpm_data()
    {
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tag");
        const int total = int(TotalCpm::Outcome::Total);
        QTest::newRow("both") << "12.5"
                              << "7" << total << "Total CPM: $19.50"
                              << "19.5";
        QTest::newRow("other empty") << " 12.5 "
                                     << "" << total << "Total CPM: $12.50"
                                     << "12.5";
        QTest::newRow("own cleared") << ""
                                     << "7" << total << "Total CPM: $7.00"
                                     << "7";
        QTest::newRow("separators") << "1,000"
                                    << "$0.25" << total << "Total CPM: $1,000.25"
                                    << "1000.25";
        QTest::newRow("both empty") << " "
                                    << "" << int(TotalCpm::Outcome::Cleared) << ""
                                    << "";
        QTest::newRow("letter") << "12a"
                                << "7" << int(TotalCpm::Outcome::OwnNotNumeric) << ""
                                << "";
        QTest::newRow("other letter") << ""
                                      << "x" << int(TotalCpm::Outcome::OtherNotNumeric) << ""
                                      << "";
    }

    void totalCpm()
    {
        QFETCH(QString, own);
        QFETCH(QString, other);
        QFETCH(int, outcome);
        QFETCH(QString, caption);
        QFETCH(QString, tag);
        const TotalCpm total = RecalcTotalCpm(own, other);
        QCOMPARE(int(total.outcome), outcome);
        if (total.outcome == TotalCpm::Outcome::Total) {
            QCOMPARE(totalCpmCaption(total.total), caption);
            QCOMPARE(totalCpmTag(total.total), tag);
        }
    }

    void checksInOrder()
    {
        AdCodeEntry entry;
        entry.sourceCode = QStringLiteral("   ");
        QCOMPARE(
            ValidateAdCode(entry),
            QStringLiteral("Source Code is a required field.\rCatalog Name is a required "
                           "field.\rList Description is a required field.\rPackage is a "
                           "required field.\rPackage Description is a required field.\rMedia "
                           "is a required field.\rOffer is a required field.\rQuantity Mailed "
                           "is a required field.\rTarget Responce Rate is a required field.\r"
                           "Package CPM is a required field.\rList CPM is a required field.\r"));
        // Limits count the trimmed text.
        entry = {QStringLiteral(" 0123456789 "),
                 QString(50, u'C'),
                 QString(150, u'L'),
                 QStringLiteral("1"),
                 QString(25, u'P'),
                 QString(150, u'D'),
                 QStringLiteral("1"),
                 QString(75, u'M'),
                 QString(75, u'O'),
                 {},
                 QStringLiteral("1"),
                 QStringLiteral("1")};
        QCOMPARE(ValidateAdCode(entry), QString());
        entry = {QString(11, u'S'),       QString(51, u'C'),
                 QString(151, u'L'),      QStringLiteral("1.2.3"),
                 QString(26, u'P'),       QString(151, u'D'),
                 QStringLiteral("seven"), QString(76, u'M'),
                 QString(76, u'O'),       QStringLiteral("13/45/2024"),
                 QStringLiteral("many"),  QStringLiteral("2.5%x")};
        QCOMPARE(ValidateAdCode(entry),
                 QStringLiteral("Source Code can't exceed 10 characters.\rCatalog Name can't "
                                "exceed 50 characters.\rList Description can't exceed 150 "
                                "characters.\rPackage can't exceed 25 characters.\rPackage "
                                "Description can't exceed 150 characters.\rMedia can't exceed 75 "
                                "characters.\rOffer can't exceed 75 characters.\rMail Date field "
                                "must be in a DATE format.\rQuantity Mailed field must be in "
                                "NUMERIC format.\rTarget Responce Rate field must be in NUMERIC "
                                "format.\rPackage CPM field must be in NUMERIC format.\rList CPM "
                                "field must be in NUMERIC format.\r"));
        // An import row stops at its first failure.
        QCOMPARE(ValidateImportRow(entry),
                 QStringLiteral("Source Code can't exceed 10 characters."));
    }

    // CPMs that are not exact in binary are stored as the money they are, and found by the number
    // typed, on every warehouse.
    void cpmSearchFindsTheSavedMoney_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("found");
        const QStringList first{QStringLiteral("S1")};
        QTest::newRow("list") << 3 << "19.95" << first;
        QTest::newRow("package") << 6 << "5.10" << first;
        QTest::newRow("total") << 12 << "25.05" << first;
        QTest::newRow("total $") << 12 << "$25.05" << first;
        QTest::newRow("four decimals") << 12 << "0.6668" << QStringList{QStringLiteral("S2")};
        QTest::newRow("not the sum") << 12 << "25.049999999999997" << QStringList();
    }
    void cpmSearchFindsTheSavedMoney()
    {
        QFETCH(int, column);
        QFETCH(QString, criteria);
        QFETCH(QStringList, found);
        TestWarehouse warehouse;
        const QDate today(2026, 1, 2);
        QVERIFY(SaveAdCode(
            entryOf(QStringLiteral("S1"), QStringLiteral("19.95"), QStringLiteral("5.10")), false,
            QStringLiteral("ann"), today));
        // Kept to four decimals, as the server's columns keep them: 0.3334 + 0.3334.
        const QString fifthDecimal = QStringLiteral("0.33335");
        QVERIFY(SaveAdCode(entryOf(QStringLiteral("S2"), fifthDecimal, fifthDecimal), false,
                           QStringLiteral("ann"), today));
        const auto rows = SearchAdCodes(column, criteria);
        QVERIFY(rows);
        QStringList codes;
        for (const QStringList &row : *rows)
            codes << row.first();
        QCOMPARE(codes, found);
    }

    // The override question holds nothing open, so another client's write goes through; a change
    // it made to the code asked about is asked about again.
    void overrideQuestionHoldsNoOtherClientUp_data()
    {
        QTest::addColumn<QString>("meanwhile"); // on the code bound
        QTest::addColumn<int>("asked");
        QTest::newRow("another code saved")
            << "UPDATE tblAdCodes SET Offer = 'Theirs' WHERE AdCode <> ?" << 1;
        QTest::newRow("changed meanwhile")
            << "UPDATE tblAdCodes SET Offer = 'Theirs' WHERE AdCode = ?" << 2;
        QTest::newRow("deleted meanwhile") << "DELETE FROM tblAdCodes WHERE AdCode = ?" << 1;
    }
    void overrideQuestionHoldsNoOtherClientUp()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, asked);
        TestWarehouse warehouse;
        fixture::adCode({QStringLiteral("S1")});
        fixture::adCode({QStringLiteral("S2")});
        auto *dialogs = new AnotherClientMeanwhile(
            [&] { TestWarehouse::exec(meanwhile, {QStringLiteral("S1")}); });
        std::unique_ptr<Dialogs> previous = Dialogs::install(std::unique_ptr<Dialogs>(dialogs));
        const bool saved = SaveAdCode(entryOf(QStringLiteral("S1")), false, QStringLiteral("ann"),
                                      QDate(2026, 1, 2));
        const QStringList shown = dialogs->shown;
        const QString secondClient = dialogs->secondClient;
        Dialogs::install(std::move(previous));
        QVERIFY(saved);
        QCOMPARE(secondClient, QString());
        QCOMPARE(shown, QStringList(asked, overrideQuestion()));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("S1")).value(8), QStringLiteral("Mine"));
    }

    void failedImportInsertKeepsTheStoredCode()
    {
        TestWarehouse warehouse;
        fixture::adCode({QStringLiteral("B104HF02")});
        const QStringList before = fixture::storedAdCode(QStringLiteral("B104HF02"));
        // The warehouse refuses the new row, as a failing server would.
        if (TestWarehouse::forPostgreSQL()) {
            TestWarehouse::exec(QStringLiteral(
                "CREATE OR REPLACE FUNCTION refuse_adcode() RETURNS trigger LANGUAGE plpgsql AS "
                "'BEGIN RAISE EXCEPTION ''refused''; END'"));
            TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblAdCodes "
                                               "FOR EACH ROW EXECUTE FUNCTION refuse_adcode()"));
        } else {
            TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblAdCodes "
                                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
        const AdCodeEntry entry{
            QStringLiteral("B104HF02"),   QStringLiteral("N"),   QStringLiteral("L"),
            QStringLiteral("1"),          QStringLiteral("P"),   QStringLiteral("D"),
            QStringLiteral("2"),          QStringLiteral("Web"), QStringLiteral("O"),
            QStringLiteral("01/02/2025"), QStringLiteral("5"),   QStringLiteral("1")};
        QVERIFY(!SaveImportRow(entry, QStringLiteral("ann"), QDate(2026, 1, 2)).isEmpty());
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF02")), before);
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_adcodes)
#include "tst_adcodes.moc"
