// The creative export file, compared byte for byte: page headers, the four product lines and the
// separators, the number formats, the sale price rule, Windows-1252, and what happens to the file
// when nothing matches, something fails or the export is stopped.
#include "PackageFixture.h"
#include "TestWarehouse.h"
#include "mailing/CreativeExport.h"
#include "warehouse/DbError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace creativeexport;

namespace {

const QString kPackage = QStringLiteral("202601051015301234");
const QString kInsert = QStringLiteral("12012026101500");

QVariant noNumber()
{
    return QVariant(QMetaType::fromType<double>());
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// Lines joined with CR LF, each ended by one.
QByteArray lines(std::initializer_list<QByteArray> list)
{
    QByteArray bytes;
    for (const QByteArray &line : list)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

class tst_creativeexport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestWarehouse> m_warehouse;
    std::unique_ptr<QTemporaryDir> m_folder;

    QString path(const char *name) const { return m_folder->filePath(QString::fromLatin1(name)); }

    // A catalog of three pages with the number cases on them.
    void threePageCatalog()
    {
        fixture::packageCatalog(kPackage, QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                QStringLiteral("0001"));
        const QString club = QStringLiteral("MYST");
        const QString catalog = QStringLiteral("SPRING");
        const QString test = QStringLiteral("0001");
        fixture::catalogPage(club, catalog, test, 1, QStringLiteral("Fiction"));
        fixture::catalogPage(club, catalog, test, 2, QStringLiteral("Mystery"));
        fixture::catalogPage(club, catalog, test, 3, QStringLiteral("Gifts"));
        fixture::describedProduct(QStringLiteral("M1"), QStringLiteral("  The Quiet Harbor  "),
                                  1234.5, QStringLiteral("A tale of the sea.  "),
                                  QStringLiteral(" 0001234 "));
        fixture::describedProduct(QStringLiteral("M2"), QStringLiteral("Second Book"), 20.0,
                                  QStringLiteral("Caf\u00e9 \u20ac \u2013 \u03a9 \U0001F600"));
        fixture::describedProduct(QStringLiteral("M3"), QStringLiteral("Third"), noNumber(),
                                  QStringLiteral("Third blurb"));
        fixture::describedProduct(QStringLiteral("M4"), QStringLiteral("Fourth"), 20.0,
                                  QStringLiteral("Fourth blurb"));
        fixture::place(club, catalog, test, QStringLiteral("M2"), 1, 2, 12.0, 0.0);
        fixture::place(club, catalog, test, QStringLiteral("M1"), 1, 1, 8.5, 15.0);
        fixture::place(club, catalog, test, QStringLiteral("M3"), 2, 1, 9.99, noNumber());
        fixture::place(club, catalog, test, QStringLiteral("M4"), 3, 1, 5.0, 40.0);
    }

    // A catalog whose last page is 2 and an insert whose first page is 2.
    void itemsMeetingOnOnePage()
    {
        const QString club = QStringLiteral("MYST");
        const QString catalog = QStringLiteral("SPR'NG");
        const QString test = QStringLiteral("0000");
        fixture::packageCatalog(kPackage, club, catalog, test);
        fixture::packageInsert(kPackage, kInsert, QStringLiteral("Winter flyer"));
        fixture::catalogPage(club, catalog, test, 1, QStringLiteral("Fiction"));
        fixture::catalogPage(club, catalog, test, 2, QStringLiteral("Audio"));
        fixture::insertPage(kInsert, QStringLiteral("Winter flyer"), 2, QStringLiteral("Gifts"));
        fixture::describedProduct(QStringLiteral("A1"), QStringLiteral("Alpha"), 10.0,
                                  QStringLiteral("a"));
        fixture::describedProduct(QStringLiteral("B1"), QStringLiteral("Beta"), 10.0,
                                  QStringLiteral("b"));
        fixture::describedProduct(QStringLiteral("C1"), QStringLiteral("Gamma"), 10.0,
                                  QStringLiteral("c"));
        fixture::place(club, catalog, test, QStringLiteral("A1"), 1, 1, 10.0, 0.0);
        fixture::place(club, catalog, test, QStringLiteral("B1"), 2, 1, 10.0, 0.0);
        fixture::place(Query::nullText(), kInsert, Query::nullText(), QStringLiteral("C1"), 2, 1,
                       10.0, 0.0);
    }

    static QByteArray record(const QByteArray &product, const QByteArray &id,
                             const QByteArray &blurb)
    {
        return lines({product + "#####", "0.00%###", blurb + "###",
                      id + "##Fiction / Mystery##$10.00/$0.00###", "###", "###"});
    }

private Q_SLOTS:
    void init()
    {
        m_warehouse = std::make_unique<TestWarehouse>();
        m_folder = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_folder.reset();
        m_warehouse.reset();
    }

    void threePagesWithTheirHeadersAndFormats()
    {
        threePageCatalog();
        const ExportResult result =
            ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("out.txt"));
        QVERIFY2(result.written, qPrintable(result.error));
        QCOMPARE(result.records, 4);
        const QByteArray expected = lines({
            "MYST_SPRING_0001  1  Fiction###",
            "The Quiet Harbor##0001234###",
            "15.00%###",
            "A tale of the sea.  ###",
            "M1##Fiction / Mystery##$1,234.50/$8.50###",
            "###",
            "###",
            "Second Book#####",
            "0.00%###",
            // e acute, euro sign and en dash have their Windows-1252 bytes; omega and the
            // emoji, which it lacks, one "?" each.
            "Caf\xe9 \x80 \x96 ? ?###",
            "M2##Fiction / Mystery##$20.00/$0.00###",
            "###",
            "###",
            "MYST_SPRING_0001  2  Mystery###",
            "Third#####",
            "0.00%###",
            "Third blurb###",
            "M3##Fiction / Mystery##/$9.99###",
            "###",
            "###",
            "MYST_SPRING_0001  3  Gifts###",
            "Fourth#####",
            "40.00%###",
            "Fourth blurb###",
            "M4##Fiction / Mystery##$20.00/$5.00###",
            "###",
            "###",
        });
        QCOMPARE(readAll(path("out.txt")), expected);
    }

    void itemsWhosePagesMeetAndOneItemAlone()
    {
        itemsMeetingOnOnePage();
        const ExportResult result = ExportPackageForCreative(
            kPackage, {QStringLiteral("SPR'NG"), kInsert}, path("both.txt"));
        QVERIFY2(result.written, qPrintable(result.error));
        const QByteArray expected =
            lines({"MYST_SPR'NG_0000  1  Fiction###"}) + record("Alpha", "A1", "a") +
            lines({"MYST_SPR'NG_0000  2  Audio###"}) + record("Beta", "B1", "b") +
            lines({"_12012026101500_  2  Gifts###"}) + record("Gamma", "C1", "c");
        QCOMPARE(readAll(path("both.txt")), expected);

        // One selected item: its records alone.
        QVERIFY(ExportPackageForCreative(kPackage, {kInsert}, path("insert.txt")).written);
        QCOMPARE(readAll(path("insert.txt")),
                 lines({"_12012026101500_  2  Gifts###"}) + record("Gamma", "C1", "c"));
    }

    void noRecordsGiveAnEmptyFileInPlaceOfTheOld()
    {
        threePageCatalog();
        QFile old(path("old.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week's export\r\n");
        old.close();
        const ExportResult result =
            ExportPackageForCreative(kPackage, {QStringLiteral("NOSUCH")}, path("old.txt"));
        QVERIFY(result.written);
        QCOMPARE(result.records, 0);
        QCOMPARE(readAll(path("old.txt")), QByteArray());
    }

    void aStopLeavesTheOldFileAndWritesNothing()
    {
        threePageCatalog();
        const QByteArray lastWeek = "last week's export\r\n\xe9";
        QFile old(path("keep.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(lastWeek);
        old.close();
        int calls = 0;
        const ExportResult stopped =
            ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("keep.txt"),
                                     [&calls] { return ++calls < 2; });
        QVERIFY(stopped.stopped);
        QVERIFY(!stopped.written);
        QCOMPARE(stopped.error, QString());
        QCOMPARE(stopped.records, 2);
        QCOMPARE(calls, 2);
        QCOMPARE(readAll(path("keep.txt")), lastWeek);

        // Stopped at its first record, a new file is not made at all.
        QVERIFY(ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("new.txt"), [] {
                    return false;
                }).stopped);
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("keep.txt")});

        // Let through to the end, the file is the one written without a watch.
        calls = 0;
        const ExportResult whole =
            ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("keep.txt"),
                                     [&calls] { return ++calls > 0; });
        QVERIFY(whole.written && !whole.stopped);
        QCOMPARE(calls, 4);
        QVERIFY(ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("plain.txt"))
                    .written);
        QCOMPARE(readAll(path("keep.txt")), readAll(path("plain.txt")));
    }

    void failuresLeaveTheOldFile()
    {
        threePageCatalog();
        // A folder that does not exist: reported, nothing written.
        const ExportResult missing = ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")},
                                                              path("no/such/folder/out.txt"));
        QVERIFY(!missing.written);
        QVERIFY(!missing.error.isEmpty());
        QVERIFY(!QFile::exists(path("no/such/folder/out.txt")));

        // A failing query: the error reaches the caller and the earlier file is untouched.
        QFile old(path("keep.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("keep me");
        old.close();
        TestWarehouse::exec(QStringLiteral("DROP VIEW viewDataForCreativeExport"));
        QVERIFY_THROWS_EXCEPTION(
            DbError,
            ExportPackageForCreative(kPackage, {QStringLiteral("SPRING")}, path("keep.txt")));
        QCOMPARE(readAll(path("keep.txt")), QByteArray("keep me"));
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("keep.txt")});
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_creativeexport)
#include "tst_creativeexport.moc"
