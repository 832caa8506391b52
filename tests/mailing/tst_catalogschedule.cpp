// The catalog cycle schedule without its window: the entry checks, the save with its override
// question, the list of the last 365 days and the delete.
#include "ScheduleFixture.h"
#include "ScriptedDialogs.h"
#include "SecondClient.h"
#include "TestWarehouse.h"
#include "mailing/CatalogSchedule.h"
#include "warehouse/Query.h"

#include <QCoreApplication>
#include <QTest>

using namespace catalogschedule;

namespace {

ScheduleEntry validEntry(const QString &club = QStringLiteral("BOOK"),
                         const QString &catalog = QStringLiteral("FALL25"))
{
    ScheduleEntry entry;
    entry.clubID = club;
    entry.catalogID = catalog;
    entry.description = QStringLiteral("Fall catalog");
    entry.aaAddressStartDate = QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    return entry;
}

QString us(const QDate &date) { return date.toString(QStringLiteral("MM/dd/yyyy")); }

void addScheduleRow(const QString &club, const QString &catalog, const QDate &start)
{
    fixture::scheduleRow({club, catalog, catalog + QStringLiteral(" description"), start});
}

// The stored row of a club and catalog: description, then the seven dates ("" for NULL).
QStringList storedRow(const QString &club, const QString &catalog)
{
    Query query(
        QStringLiteral("SELECT Description, MapCopyCreative, FstDraftCreative, CatalogReleaseDate, "
                       "AAAddressStartDate, AAAddressCompleteDate, ReplyDate, LabelRunShipDate "
                       "FROM tblCycleSchedule WHERE ClubID = ? AND CatalogID = ?"));
    query.bind(club).bind(catalog).exec();
    if (!query.next())
        return {};
    QStringList row{query.text(0)};
    for (int column = 1; column < 8; ++column)
        row << (query.isNull(column) ? QString() : query.date(column).toString(Qt::ISODate));
    return row;
}

const QString kOverride =
    QStringLiteral("The record you are trying to add already exists in the database. Would you "
                   "like to override the existing record.");

} // namespace

class tst_catalogschedule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyFailureInCheckOrder_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("expected");
        const QStringList dates = {
            QStringLiteral("Map Copy Creative must be in a date format [mm/dd/yyyy]."),
            QStringLiteral("Fst Draft Creative must be in a date format [mm/dd/yyyy]."),
            QStringLiteral("Catalog Release Date must be in a date format [mm/dd/yyyy]."),
            QStringLiteral("AA Address Start Date is required and must be in a date format "
                           "[mm/dd/yyyy]."),
            QStringLiteral("AA Address Complete Date must be in a date format [mm/dd/yyyy]."),
            QStringLiteral("Reply Date must be in a date format [mm/dd/yyyy]."),
            QStringLiteral("Label Run Ship Date must be in a date format [mm/dd/yyyy]."),
        };
        const QString catalog =
            QStringLiteral("Catalog ID is a required field and can't be empty.");
        // An empty description and an over-long one exclude each other, so every other check
        // fails beside each of them.
        QTest::newRow("empty description")
            << QStringLiteral("   ")
            << (QStringList{catalog,
                            QStringLiteral("Description is a required field and can't be empty.")} +
                dates);
        QTest::newRow("long description")
            << QString(251, u'x')
            << (QStringList{catalog,
                            QStringLiteral("Description must consist of 250 characters OR less.")} +
                dates);
    }

    void everyFailureInCheckOrder()
    {
        QFETCH(QString, description);
        QFETCH(QStringList, expected);
        ScheduleEntry entry;
        entry.catalogID = QStringLiteral("  ");
        entry.description = description;
        entry.mapCopyCreative = QStringLiteral("soon");
        entry.fstDraftCreative = QStringLiteral("13/01/2025");
        entry.catalogReleaseDate = QStringLiteral("02/30/2025");
        entry.aaAddressStartDate = QStringLiteral(" ");
        entry.aaAddressCompleteDate = QStringLiteral("2025");
        entry.replyDate = QStringLiteral("12:30");
        entry.labelRunShipDate = QStringLiteral("x1/01/2025");
        QCOMPARE(ValidateEntry(entry), expected.join(QChar(u'\r')) + QChar(u'\r'));
    }

    void entryChecks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *field, const QString &text,
                            const char *expected) {
            QTest::newRow(name) << QString::fromLatin1(field) << text
                                << QString::fromLatin1(expected);
        };
        row("description of 250", "description", QString(250, u'd'), "");
        row("description of 250 in blanks", "description",
            QStringLiteral("  ") + QString(250, u'd') + QStringLiteral("  "), "");
        row("description of 251", "description", QString(251, u'd'),
            "Description must consist of 250 characters OR less.\r");
        row("blank optional date", "replyDate", QStringLiteral("   "), "");
        row("optional date", "replyDate", QStringLiteral("1/2/24"), "");
        row("optional date not a date", "replyDate", QStringLiteral("1/2/24x"),
            "Reply Date must be in a date format [mm/dd/yyyy].\r");
        row("blank address start", "aaAddressStartDate", QString(),
            "AA Address Start Date is required and must be in a date format [mm/dd/yyyy].\r");
        row("address start with blanks", "aaAddressStartDate", QStringLiteral(" 12/31/2024 "), "");
    }

    void entryChecks()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        ScheduleEntry entry = validEntry();
        if (field == u"description")
            entry.description = text;
        else if (field == u"replyDate")
            entry.replyDate = text;
        else
            entry.aaAddressStartDate = text;
        QCOMPARE(ValidateEntry(entry), expected);
    }

    void newRowStoresTrimmedTextAndNormalisedDates()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        ScriptedDialogsScope dialogs;
        ScheduleEntry entry = validEntry(QStringLiteral(" BOOK "), QStringLiteral(" FALL25 "));
        entry.description = QStringLiteral("  Fall catalog  ");
        entry.mapCopyCreative = QStringLiteral("1/2/24");
        entry.fstDraftCreative = QStringLiteral("  ");
        entry.catalogReleaseDate = QStringLiteral("12/31/2024 10:30 PM");
        entry.aaAddressStartDate = QStringLiteral("02/29/2024");
        entry.aaAddressCompleteDate = QString();
        entry.replyDate = QStringLiteral("Mar 5, 2024");
        entry.labelRunShipDate = QStringLiteral("2024-03-06");
        QVERIFY(SaveScheduleRow(entry));
        QVERIFY(dialogs->calls().isEmpty());
        QCOMPARE(storedRow(QStringLiteral("BOOK"), QStringLiteral("FALL25")),
                 (QStringList{QStringLiteral("Fall catalog"),
                              QStringLiteral("2024-01-02"),
                              {},
                              QStringLiteral("2024-12-31"),
                              QStringLiteral("2024-02-29"),
                              {},
                              QStringLiteral("2024-03-05"),
                              QStringLiteral("2024-03-06")}));
        // The empty boxes are NULL, not empty text or a zero date.
        QCOMPARE(TestWarehouse::count(
                     QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule WHERE ClubID = 'BOOK' "
                                    "AND FstDraftCreative IS NULL AND AAAddressCompleteDate IS "
                                    "NULL")),
                 1);
    }

    void overrideYesReplacesTheWholeRow()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        ScriptedDialogsScope dialogs;
        ScheduleEntry old = validEntry();
        old.description = QStringLiteral("Old");
        old.mapCopyCreative = old.fstDraftCreative = old.catalogReleaseDate =
            QStringLiteral("01/01/2025");
        old.aaAddressCompleteDate = old.replyDate = old.labelRunShipDate =
            QStringLiteral("01/02/2025");
        QVERIFY(SaveScheduleRow(old));

        ScheduleEntry replacement = validEntry(QStringLiteral("book"), QStringLiteral("fall25"));
        replacement.description = QStringLiteral("New");
        replacement.aaAddressStartDate = QStringLiteral("06/15/2025");
        dialogs->answerYes();
        QVERIFY(SaveScheduleRow(replacement));
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(dialogs->last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(dialogs->last().text, kOverride);
        QCOMPARE(dialogs->last().title, QStringLiteral("Catalog Schedule Maintenance"));
        // Keys compare without regard to case: the one row is replaced, nothing of it is kept.
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule")), 1);
        QCOMPARE(
            TestWarehouse::scalar(QStringLiteral("SELECT ClubID FROM tblCycleSchedule")).toString(),
            QStringLiteral("book"));
        QCOMPARE(storedRow(QStringLiteral("BOOK"), QStringLiteral("FALL25")),
                 (QStringList{
                     QStringLiteral("New"), {}, {}, {}, QStringLiteral("2025-06-15"), {}, {}, {}}));
    }

    void overrideNoChangesNothing()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        ScriptedDialogsScope dialogs;
        ScheduleEntry old = validEntry();
        old.replyDate = QStringLiteral("01/02/2025");
        QVERIFY(SaveScheduleRow(old));
        const QStringList before = storedRow(QStringLiteral("BOOK"), QStringLiteral("FALL25"));

        ScheduleEntry replacement = validEntry();
        replacement.description = QStringLiteral("New");
        dialogs->answerNo();
        QVERIFY(!SaveScheduleRow(replacement));
        QCOMPARE(dialogs->calls().size(), 1);
        QCOMPARE(storedRow(QStringLiteral("BOOK"), QStringLiteral("FALL25")), before);
        // The transaction is closed: the next save writes and commits normally.
        QVERIFY(SaveScheduleRow(validEntry(QStringLiteral("BOOK"), QStringLiteral("WIN25"))));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule")), 2);
    }

    // The override question holds nothing open, so another client's write goes through; a change
    // it made to the row asked about is asked about again.
    void overrideQuestionHoldsNoOtherClientUp_data()
    {
        QTest::addColumn<QString>("meanwhile"); // on the catalog saved
        QTest::addColumn<int>("asked");
        QTest::newRow("another row saved")
            << "UPDATE tblCycleSchedule SET Description = 'Theirs' WHERE CatalogID <> ?" << 1;
        QTest::newRow("changed meanwhile")
            << "UPDATE tblCycleSchedule SET Description = 'Theirs' WHERE CatalogID = ?" << 2;
        QTest::newRow("deleted meanwhile")
            << "DELETE FROM tblCycleSchedule WHERE CatalogID = ?" << 1;
    }
    void overrideQuestionHoldsNoOtherClientUp()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, asked);
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("FALL25"), QDate(2025, 1, 2));
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("WIN25"), QDate(2025, 1, 2));
        auto *dialogs = new AnotherClientMeanwhile(
            [&] { TestWarehouse::exec(meanwhile, {QStringLiteral("FALL25")}); });
        std::unique_ptr<Dialogs> previous = Dialogs::install(std::unique_ptr<Dialogs>(dialogs));
        ScheduleEntry entry = validEntry();
        entry.description = QStringLiteral("New");
        entry.aaAddressStartDate = QStringLiteral("06/15/2025");
        const bool saved = SaveScheduleRow(entry);
        const QStringList shown = dialogs->shown;
        const QString secondClient = dialogs->secondClient;
        Dialogs::install(std::move(previous));
        QVERIFY(saved);
        QCOMPARE(secondClient, QString());
        QCOMPARE(shown, QStringList(asked, kOverride));
        QCOMPARE(storedRow(QStringLiteral("BOOK"), QStringLiteral("FALL25")),
                 (QStringList{
                     QStringLiteral("New"), {}, {}, {}, QStringLiteral("2025-06-15"), {}, {}, {}}));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule")), 2);
    }

    void listShowsTheLast365DaysNewestFirst()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        const QDate today = QDate::currentDate();
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("YEAR"), today.addDays(-365));
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("OLD"), today.addDays(-400));
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("EDGE"), today.addDays(-364));
        addScheduleRow(QStringLiteral("KIDS"), QStringLiteral("NEXT"), today.addDays(30));
        addScheduleRow(QStringLiteral("MYST"), QStringLiteral("NOW"), today);
        // A row saved with an old start date is kept, but not listed.
        ScriptedDialogsScope dialogs;
        ScheduleEntry last = validEntry(QStringLiteral("BOOK"), QStringLiteral("LAST"));
        last.aaAddressStartDate = us(today.addDays(-366));
        QVERIFY(SaveScheduleRow(last));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule")), 6);
        QStringList listed;
        for (const ScheduleRow &row : LoadScheduleRows(today))
            listed << row[1];
        QCOMPARE(listed, (QStringList{QStringLiteral("NEXT"), QStringLiteral("NOW"),
                                      QStringLiteral("EDGE")}));
    }

    void gridRowsAreTrimmedTextAndUsDates()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        const QDate start = QDate::currentDate().addDays(-10);
        Query(QStringLiteral("INSERT INTO tblCycleSchedule VALUES (?,?,?,?,?,?,?,?,?,?)"))
            .bind(QStringLiteral("BOOK "))
            .bind(QStringLiteral(" FALL25"))
            .bind(QStringLiteral(" Fall "))
            .bindDate(QDate(2024, 1, 2))
            .bindDate({})
            .bindDate(QDate(2024, 12, 31))
            .bindDate(start)
            .bindDate({})
            .bindDate(QDate(2025, 3, 4))
            .bindDate(QDate(2025, 10, 9))
            .exec();
        const QList<ScheduleRow> rows = LoadScheduleRows();
        QCOMPARE(rows.size(), 1);
        const ScheduleRow expected = {QStringLiteral("BOOK"),
                                      QStringLiteral("FALL25"),
                                      QStringLiteral("Fall"),
                                      QStringLiteral("01/02/2024"),
                                      QString(),
                                      QStringLiteral("12/31/2024"),
                                      us(start),
                                      QString(),
                                      QStringLiteral("03/04/2025"),
                                      QStringLiteral("10/09/2025")};
        QCOMPARE(rows.first(), expected);
        QCOMPARE(gridHeaders().size(), 10);
        QCOMPARE(gridHeaders().last(), QStringLiteral("Label RunShip Date"));
    }

    void deleteRemovesOnlyThatRow()
    {
        TestWarehouse warehouse(TestWarehouse::Content::Empty);
        const QDate today = QDate::currentDate();
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("FALL25"), today);
        addScheduleRow(QStringLiteral("BOOK"), QStringLiteral("WIN25"), today);
        addScheduleRow(QStringLiteral("KIDS"), QStringLiteral("FALL25"), today);
        DeleteScheduleRow(QStringLiteral(" BOOK "), QStringLiteral("FALL25 "));
        QCOMPARE(TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblCycleSchedule")), 2);
        QCOMPARE(TestWarehouse::count(QStringLiteral(
                     "SELECT COUNT(*) FROM tblCycleSchedule WHERE ClubID = 'BOOK' AND "
                     "CatalogID = 'FALL25'")),
                 0);
        QCOMPARE(deleteQuestion(QStringLiteral("BOOK"), QStringLiteral("WIN25")),
                 QStringLiteral("Delete [BOOK - WIN25] from the cycle schedule?"));
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_catalogschedule)
#include "tst_catalogschedule.moc"
