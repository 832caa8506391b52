// Ad codes without their window: the live total CPM, the entry checks, the save with its override
// question, the import row's save, the delete and the search by one column.
#include "AdCodeFixture.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "mailing/AdCodes.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QTest>

using namespace adcodes;

namespace {

AdCodeEntry validEntry(const QString &code = QStringLiteral("B104HF01"))
{
    AdCodeEntry entry;
    entry.sourceCode = code;
    entry.catName = QStringLiteral("Book Club 104");
    entry.listDesc = QStringLiteral("Active members, 0-12 months");
    entry.listCpm = QStringLiteral("12.5");
    entry.pkg = QStringLiteral("CAT32");
    entry.pkgDesc = QStringLiteral("32-page catalog with order form");
    entry.pkgCpm = QStringLiteral("7");
    entry.media = QStringLiteral("Direct Mail");
    entry.offer = QStringLiteral("5 books for 99 cents");
    entry.mailDate = QStringLiteral("03/15/2024");
    entry.qtyMailed = QStringLiteral("120,000");
    entry.targetResp = QStringLiteral("2.5");
    return entry;
}

const QDate kToday(2026, 12, 7);

QStringList codes(const QList<QStringList> &rows)
{
    QStringList found;
    for (const QStringList &row : rows)
        found << row.value(0);
    return found;
}

// Makes the warehouse refuse inserting an ad code with that offer, as a failing server would.
void refuseInsertOf(const QString &offer)
{
    if (TestWarehouse::forPostgreSQL()) {
        TestWarehouse::exec(
            QStringLiteral("CREATE OR REPLACE FUNCTION refuse_adcode() RETURNS trigger LANGUAGE "
                           "plpgsql AS 'BEGIN IF NEW.Offer = ''%1'' THEN RAISE EXCEPTION "
                           "''refused''; END IF; RETURN NEW; END'")
                .arg(offer));
        TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblAdCodes FOR "
                                           "EACH ROW EXECUTE FUNCTION refuse_adcode()"));
    } else {
        TestWarehouse::exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblAdCodes WHEN "
                                           "NEW.Offer = '%1' BEGIN SELECT RAISE(ABORT, "
                                           "'refused'); END")
                                .arg(offer));
    }
}

} // namespace

class tst_adcodes : public QObject
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
        m_dialogs.reset();
        m_warehouse.reset();
    }

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
        QTest::newRow("own only") << " 12.5 "
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
        QTest::newRow("other letter") << "12.5"
                                      << "x" << int(TotalCpm::Outcome::OtherNotNumeric) << ""
                                      << "";
        QTest::newRow("own empty, other letter")
            << ""
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

    void validationMessagesInOrder()
    {
        QCOMPARE(ValidateAdCode(validEntry()), QString());

        AdCodeEntry empty;
        empty.sourceCode = QStringLiteral("   ");
        QCOMPARE(ValidateAdCode(empty), QStringLiteral("Source Code is a required field.\r"
                                                       "Catalog Name is a required field.\r"
                                                       "List Description is a required field.\r"
                                                       "Package is a required field.\r"
                                                       "Package Description is a required field.\r"
                                                       "Media is a required field.\r"
                                                       "Offer is a required field.\r"
                                                       "Quantity Mailed is a required field.\r"
                                                       "Target Responce Rate is a required field.\r"
                                                       "Package CPM is a required field.\r"
                                                       "List CPM is a required field.\r"));

        AdCodeEntry bad;
        bad.sourceCode = QStringLiteral(" ") + QString(11, u'S') + QStringLiteral(" ");
        bad.catName = QString(51, u'C');
        bad.listDesc = QString(151, u'L');
        bad.pkg = QString(26, u'P');
        bad.pkgDesc = QString(151, u'D');
        bad.media = QString(76, u'M');
        bad.offer = QString(76, u'O');
        bad.mailDate = QStringLiteral("13/45/2024");
        bad.qtyMailed = QStringLiteral("many");
        bad.targetResp = QStringLiteral("2.5%x");
        bad.pkgCpm = QStringLiteral("seven");
        bad.listCpm = QStringLiteral("1.2.3");
        QCOMPARE(ValidateAdCode(bad),
                 QStringLiteral("Source Code can't exceed 10 characters.\r"
                                "Catalog Name can't exceed 50 characters.\r"
                                "List Description can't exceed 150 characters.\r"
                                "Package can't exceed 25 characters.\r"
                                "Package Description can't exceed 150 characters.\r"
                                "Media can't exceed 75 characters.\r"
                                "Offer can't exceed 75 characters.\r"
                                "Mail Date field must be in a DATE format.\r"
                                "Quantity Mailed field must be in NUMERIC format.\r"
                                "Target Responce Rate field must be in NUMERIC format.\r"
                                "Package CPM field must be in NUMERIC format.\r"
                                "List CPM field must be in NUMERIC format.\r"));

        // Limits hold exactly at their length, after trimming.
        AdCodeEntry full =
            validEntry(QStringLiteral(" ") + QString(10, u'S') + QStringLiteral(" "));
        full.offer = QString(75, u'O');
        QCOMPARE(ValidateAdCode(full), QString());
    }

    void importRowStopsAtFirstFailure()
    {
        AdCodeEntry entry = validEntry();
        entry.mailDate.clear();
        QCOMPARE(ValidateImportRow(entry), QString());
        QCOMPARE(entry.mailDate, QStringLiteral("01/01/1990"));

        entry.sourceCode = QStringLiteral("B104HF01X99");
        entry.listCpm = QStringLiteral("x");
        QCOMPARE(ValidateImportRow(entry),
                 QStringLiteral("Source Code can't exceed 10 characters."));
        entry.sourceCode = QStringLiteral("B104");
        QCOMPARE(ValidateImportRow(entry),
                 QStringLiteral("List CPM field must be in NUMERIC format."));
    }

    void saveWritesEveryColumnWithTheComputedTotal()
    {
        QVERIFY(SaveAdCode(validEntry(QStringLiteral(" B104HF01 ")), false, QStringLiteral(" ann "),
                           kToday));
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")),
                 (fixture::texts({"B104HF01", "Book Club 104", "Active members, 0-12 months",
                                  "12.5", "CAT32", "32-page catalog with order form", "7",
                                  "Direct Mail", "5 books for 99 cents", "2024-03-15", "120000",
                                  "19.5", "2.5", "ann", "12/07/2026"})));
    }

    void overrideAskedOnlyForANewEntry()
    {
        fixture::adCode({QStringLiteral("B104HF01")});
        AdCodeEntry changed = validEntry();
        changed.offer = QStringLiteral("Changed offer");

        dialogs().answerNo();
        QVERIFY(!SaveAdCode(changed, false, QStringLiteral("ann"), kToday));
        QCOMPARE(dialogs().calls().size(), 1);
        QCOMPARE(dialogs().last().text, overrideQuestion());
        QCOMPARE(dialogs().last().title, QStringLiteral("Advertising Codes Maintenance"));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")).value(8),
                 QStringLiteral("5 books for 99 cents"));

        dialogs().answerYes();
        QVERIFY(SaveAdCode(changed, false, QStringLiteral("ann"), kToday));
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")).value(8), changed.offer);

        // An entry loaded from the grid replaces its row without asking.
        changed.offer = QStringLiteral("Edited offer");
        QVERIFY(SaveAdCode(changed, true, QStringLiteral("ann"), kToday));
        QCOMPARE(dialogs().calls().size(), 2);
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")).value(8), changed.offer);
        QCOMPARE(fixture::adCodeCount(), 1);
    }

    void importRowReplacesAndAFailedInsertKeepsTheStoredCode()
    {
        fixture::adCode({QStringLiteral("B104HF01")});
        fixture::adCode({QStringLiteral("B104HF02")});
        AdCodeEntry imported = validEntry();
        imported.offer = QStringLiteral("Imported");
        QCOMPARE(SaveImportRow(imported, QStringLiteral("ann"), kToday), QString());
        QVERIFY(dialogs().calls().isEmpty());
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF01")).value(8), imported.offer);

        refuseInsertOf(QStringLiteral("REFUSED"));
        const QStringList before = fixture::storedAdCode(QStringLiteral("B104HF02"));
        AdCodeEntry refused = validEntry(QStringLiteral("B104HF02"));
        refused.offer = QStringLiteral("REFUSED");
        QVERIFY(!SaveImportRow(refused, QStringLiteral("ann"), kToday).isEmpty());
        QCOMPARE(fixture::storedAdCode(QStringLiteral("B104HF02")), before);
        QCOMPARE(fixture::adCodeCount(), 2);
    }

    void deleteRemovesOnlyThatCode()
    {
        fixture::adCode({QStringLiteral("B104HF01")});
        fixture::adCode({QStringLiteral("B104HF02")});
        QVERIFY(DeleteAdCode(QStringLiteral(" b104hf01 ")));
        QVERIFY(fixture::storedAdCode(QStringLiteral("B104HF01")).isEmpty());
        QCOMPARE(fixture::adCodeCount(), 1);
        QCOMPARE(deleteQuestion(QStringLiteral(" B104HF02 ")),
                 QStringLiteral("Delete [B104HF02] from the data warehouse?"));
        QCOMPARE(deleteFailedMessage(QStringLiteral("B104HF02 ")),
                 QStringLiteral("There was a problem deleting [B104HF02] from the database."));
    }

    void search_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("list CPM equals") << 3 << "12.5" << fixture::texts({"A2", "A4"});
        QTest::newRow("list CPM as typed") << 3 << " 12.50 " << fixture::texts({"A2", "A4"});
        QTest::newRow("target response") << 11 << "0.35" << fixture::texts({"A3"});
        QTest::newRow("offer word, by offer then code")
            << 8 << " BOOKS " << fixture::texts({"A4", "A1", "A3"});
        QTest::newRow("code contains") << 0 << "a" << fixture::texts({"A1", "A2", "A3", "A4"});
        QTest::newRow("part of a mail date") << 9 << "03/1" << fixture::texts({"A3", "A1"});
        QTest::newRow("year of a mail date") << 9 << "/2025" << fixture::texts({"A2"});
        QTest::newRow("modify date text")
            << 14 << "02/2024" << fixture::texts({"A1", "A2", "A3", "A4"});
        QTest::newRow("no match") << 8 << "nothing like it" << QStringList();
    }

    void search()
    {
        QFETCH(int, column);
        QFETCH(QString, criteria);
        QFETCH(QStringList, expected);
        fixture::adCode({QStringLiteral("A1"), QStringLiteral("5 books for 99 cents"), 85, 310,
                         QDate(2024, 3, 15)});
        fixture::adCode(
            {QStringLiteral("A2"), QStringLiteral("Free tote bag"), 12.5, 7, QDate(2025, 7, 1)});
        fixture::adCode({QStringLiteral("A3"), QStringLiteral("6 books for 2 dollars"), 60, 40,
                         QDate(2024, 3, 10), 0.35});
        fixture::adCode({QStringLiteral("A4"), QStringLiteral("3 Books for 1 dollar"), 12.5, 9,
                         QDate(2024, 4, 1)});
        const auto rows = SearchAdCodes(column, criteria);
        QVERIFY(rows);
        QCOMPARE(codes(*rows), expected);
    }

    void searchCellsFollowTheGridsColumns()
    {
        fixture::AdCodeRow row{QStringLiteral("A2"),
                               QStringLiteral("Free tote bag"),
                               12.5,
                               7,
                               QDate(2025, 7, 1),
                               0.35};
        row.modUser = QStringLiteral("ann");
        fixture::adCode(row);
        TestWarehouse::exec(QStringLiteral("UPDATE tblAdCodes SET MailDate = NULL"));
        const auto rows = SearchAdCodes(0, QStringLiteral("A2"));
        QVERIFY(rows);
        QCOMPARE(rows->size(), 1);
        QCOMPARE(rows->first(),
                 (fixture::texts({"A2", "Book Club 104", "Active members", "12.5", "CAT32",
                                  "32-page catalog", "7", "Catalog", "Free tote bag", "", "120000",
                                  "0.35", "19.5", "ann", "01/02/2024"})));
        QCOMPARE(gridHeaders().size(), kGridCols);
        QCOMPARE(gridHeaders().at(11), QStringLiteral("Target Response"));
        QCOMPARE(gridHeaders().at(13), QStringLiteral("Modify User"));
    }

    void searchRefusesWhatItCannotAsk()
    {
        fixture::adCode({QStringLiteral("A1")});
        QVERIFY(!SearchAdCodes(3, QStringLiteral("twelve")));
        QVERIFY(!SearchAdCodes(15, QStringLiteral("A1")));
        const auto mailDate = SearchAdCodes(9, QStringLiteral("2024-03"));
        QVERIFY(mailDate);
        QVERIFY(mailDate->isEmpty());
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_adcodes)
#include "tst_adcodes.moc"
