// The embedded file under a client killed in the middle of a long write (SIGKILL at random
// moments), and under two client processes writing it at once: the file stays sound and every
// copied map is whole or absent.
#include "TestWarehouse.h"

#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Warehouse.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

const int kPages = 100;
const int kPlacementsPerPage = 25;
const int kCopies = 12;
const int kKills = 50;

QString testId(int id) { return QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0')); }

int count(const QString &sql, const QVariant &value = {})
{
    Query query(sql);
    if (value.isValid())
        query.bind(value);
    query.exec();
    return query.next() ? query.value(0).toInt() : -1;
}

// A writer process started on the file, copying the map to test IDs first .. first+kCopies-1;
// returns once it has started writing.
bool startWriter(QProcess &process, const QString &file, int first)
{
    process.start(QStringLiteral(FOLVANE_LONG_WRITE),
                  {file, QString::number(first), QString::number(kCopies)});
    while (process.waitForReadyRead(10000))
        if (process.canReadLine() && process.readLine().startsWith("writing"))
            return true;
    return false;
}

} // namespace

class tst_embedded_kill : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    QString m_file;

    // Checks the file as a client opening it next would find it: sound, every copy whole or
    // absent. Returns the number of whole copies among the test IDs first .. last; -1 on failure.
    int wholeCopies(int first, int last)
    {
        if (warehouse::openSQLiteFile(m_file))
            return -1;
        const auto closing = qScopeGuard([] { warehouse::close(); });
        Query check(QStringLiteral("PRAGMA integrity_check"));
        if (!check.execFirst() || check.text(0) != QLatin1String("ok")) {
            qWarning("integrity_check: %s", qPrintable(check.text(0)));
            return -1;
        }
        int whole = 0;
        for (int id = first; id <= last; ++id) {
            const int pages = count(
                QStringLiteral("SELECT COUNT(*) FROM tblCatalogMap WHERE TestID = ?"), testId(id));
            const int placements = count(
                QStringLiteral("SELECT COUNT(*) FROM tblProductsMap WHERE TestID = ?"), testId(id));
            if (pages == kPages && placements == kPages * kPlacementsPerPage)
                ++whole;
            else if (pages != 0 || placements != 0) {
                qWarning("test ID %d: %d pages, %d placements", id, pages, placements);
                return -1;
            }
        }
        return whole;
    }

    void removeCopies()
    {
        QVERIFY(!warehouse::openSQLiteFile(m_file));
        Query(QStringLiteral("DELETE FROM tblCatalogMap WHERE TestID <> '0000'")).exec();
        Query(QStringLiteral("DELETE FROM tblProductsMap WHERE TestID <> '0000'")).exec();
        warehouse::close();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_file = m_folder.filePath(QStringLiteral("Folvane.db"));
        QVERIFY(!warehouse::openEmbedded(m_file, false));
        Transaction transaction;
        Query page(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                                  "PageSection) VALUES ('MYST', 'SPRING', '0000', ?, 'Fiction')"));
        Query placement(QStringLiteral(
            "INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
            "PagePosition, PageWeight, Price) VALUES ('MYST', 'SPRING', '0000', ?, ?, ?, 1, "
            "9.99)"));
        for (int p = 1; p <= kPages; ++p) {
            page.bind(p).exec();
            for (int position = 1; position <= kPlacementsPerPage; ++position)
                placement.bind(QStringLiteral("P%1").arg(position)).bind(p).bind(position).exec();
        }
        transaction.commit();
        warehouse::close();
    }

    void killedAtRandomMoments()
    {
        // Once without a kill: how long the write takes, and that it is whole.
        QProcess writer;
        QElapsedTimer clock;
        QVERIFY(startWriter(writer, m_file, 1));
        clock.start();
        QVERIFY(writer.waitForFinished(60000));
        const qint64 writeMs = qMax<qint64>(clock.elapsed(), 10);
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(wholeCopies(1, kCopies), kCopies);
        removeCopies();

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int killedWriting = 0;
        int wholeSeen = 0;
        for (int kill = 1; kill <= kKills; ++kill) {
            QProcess victim;
            QVERIFY(startWriter(victim, m_file, 1));
            QThread::usleep(random.bounded(quint32(writeMs * 1000)));
            const bool running = victim.state() == QProcess::Running;
            victim.kill();
            QVERIFY(victim.waitForFinished(10000));
            killedWriting += running;
            const int whole = wholeCopies(1, kCopies);
            QVERIFY2(whole >= 0,
                     qPrintable(QStringLiteral("kill %1 (seed %2)").arg(kill).arg(seed)));
            wholeSeen += whole;
            removeCopies();
        }
        qInfo("%d kills, %d of them while writing; %d whole copies, the rest absent (seed %u)",
              kKills, killedWriting, wholeSeen, seed);
        QVERIFY(killedWriting >= kKills / 2);
    }

    // Two clients write the file at once: the second waits its turn, neither fails, both whole.
    void twoClientProcessesOnOneFile()
    {
        QProcess first;
        QProcess second;
        first.start(QStringLiteral(FOLVANE_LONG_WRITE),
                    {m_file, QStringLiteral("1"), QString::number(kCopies)});
        second.start(QStringLiteral(FOLVANE_LONG_WRITE),
                     {m_file, QString::number(kCopies + 1), QString::number(kCopies)});
        QVERIFY(first.waitForFinished(60000));
        QVERIFY(second.waitForFinished(60000));
        QVERIFY2(first.exitCode() == 0, first.readAllStandardError().constData());
        QVERIFY2(second.exitCode() == 0, second.readAllStandardError().constData());
        QCOMPARE(wholeCopies(1, 2 * kCopies), 2 * kCopies);
        removeCopies();
    }
};

QTEST_GUILESS_MAIN(tst_embedded_kill)

#include "tst_embedded_kill.moc"
