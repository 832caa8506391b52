// Hostile text through the free-text fields of the writes: quotes, statements, wildcards,
// backslashes, NUL and control characters, long, right-to-left, combining and emoji text, bytes
// that are no UTF-8. Each is stored exactly as the field stores it (blanks trimmed where the field
// trims) or refused with a message; no other table changes.
#include "../catalog/CatalogEditFixtures.h"
#include "../mailing/AdCodeFixture.h"
#include "../mailing/PackageFixture.h"
#include "HostileCorpus.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WarehouseSnapshot.h"

#include "catalog/CatalogBuild.h"
#include "catalog/MapOperations.h"
#include "catalog/Placement.h"
#include "catalog/TextLimits.h"
#include "inventory/ProductDescriptions.h"
#include "inventory/ProductMaster.h"
#include "mailing/AdCodes.h"
#include "mailing/CatalogPackage.h"
#include "mailing/CatalogSchedule.h"
#include "warehouse/DbError.h"
#include "warehouse/Vb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QtTest>

#include <functional>

namespace {

const QDateTime kNow(QDate(2026, 3, 4), QTime(10, 20, 30));
const QString kUser = QStringLiteral("planner");
const QString kInsert = QStringLiteral("01022026120000");

void seed()
{
    fixture::product(QStringLiteral("P1"));
    fixture::description(QStringLiteral("P1"), QStringLiteral("Short"));
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000"),
                         1);
    fixture::placement(QStringLiteral("P1"), 1, 1);
    fixture::insertPage(kInsert, QStringLiteral("Winter Flyer"), 1);
    fixture::adCode({QStringLiteral("AC1")});
}

// One free-text field: writes the text through the core as the window does (validation first,
// returning its message), and reads back what was stored.
struct Field
{
    QString name;
    // The message of a refusal; empty when the text was written.
    std::function<QString(const QString &text)> write;
    std::function<QString()> stored;
    // What the field keeps of the text typed.
    std::function<QString(const QString &text)> expected = [](const QString &text) {
        return vb::Trim(text);
    };
};

QString storedText(const char *sql)
{
    return TestWarehouse::scalar(QString::fromLatin1(sql)).toString();
}

QList<Field> fields()
{
    QList<Field> list;
    list << Field{QStringLiteral("schedule description"),
                  [](const QString &text) {
                      catalogschedule::ScheduleEntry e;
                      e.clubID = QStringLiteral("MYST");
                      e.catalogID = QStringLiteral("FALL");
                      e.description = text;
                      e.aaAddressStartDate = QStringLiteral("09/01/2026");
                      const QString refused = catalogschedule::ValidateEntry(e);
                      if (refused.isEmpty())
                          catalogschedule::SaveScheduleRow(e);
                      return refused;
                  },
                  [] {
                      return storedText(
                          "SELECT Description FROM tblCycleSchedule WHERE CatalogID = 'FALL'");
                  }};
    list << Field{QStringLiteral("insert name"),
                  [](const QString &text) {
                      const QString refused = catalog::tooLongMessage(
                          QStringLiteral("Insert Description"), text, catalog::kInsertNameLength);
                      if (refused.isEmpty())
                          catalog::renameInsert(kInsert, text);
                      return refused;
                  },
                  [] { return storedText("SELECT InsertDescription FROM tblInsertMap"); },
                  [](const QString &text) {
                      return text;
                  }};
    list << Field{QStringLiteral("page section"),
                  [](const QString &text) {
                      const QString refused =
                          catalog::tooLongMessage(QStringLiteral("Page Section"), vb::Trim(text),
                                                  catalog::kPageSectionLength);
                      if (refused.isEmpty())
                          catalog::editSectionOfPage(
                              catalog::NodeKey(QStringLiteral("ID|MYST|SPRING|0000|001")), text);
                      return refused;
                  },
                  [] {
                      return storedText("SELECT PageSection FROM tblCatalogMap");
                  }};
    list << Field{QStringLiteral("new insert map name"),
                  [](const QString &text) {
                      catalogbuild::NewMap map;
                      map.insert = true;
                      map.catalogID = text;
                      map.pages = {{QStringLiteral("1"), QStringLiteral("Fiction")}};
                      const QString refused = catalogbuild::ValidateNewMap(map);
                      if (refused.isEmpty())
                          catalogbuild::SaveNewMap(map, kNow);
                      return refused;
                  },
                  [] {
                      return storedText("SELECT InsertDescription FROM tblInsertMap WHERE "
                                        "InsertID <> '01022026120000'");
                  }};
    list << Field{QStringLiteral("package description"),
                  [](const QString &text) {
                      catalogpackage::PackageEntry e;
                      e.catalog = catalogpackage::CatalogListEntry{
                          QStringLiteral("SPRING"),     QStringLiteral("MYST"),
                          QStringLiteral("0000"),       QStringLiteral("General Catalog"),
                          QStringLiteral("03/02/2026"), QString()};
                      e.description = text;
                      e.mailDate = QStringLiteral("06/01/2026");
                      const QString refused = catalogpackage::ValidatePackage(e);
                      if (refused.isEmpty())
                          catalogpackage::CreatePackage(e, kNow, kUser);
                      return refused;
                  },
                  [] {
                      return storedText("SELECT PackageDescription FROM tblMailPackages");
                  }};
    list << Field{QStringLiteral("ad code offer"),
                  [](const QString &text) {
                      adcodes::AdCodeEntry e;
                      e.sourceCode = QStringLiteral("AC2");
                      e.catName = QStringLiteral("Book Club 104");
                      e.listDesc = QStringLiteral("Lapsed");
                      e.listCpm = QStringLiteral("85");
                      e.pkg = QStringLiteral("CAT32");
                      e.pkgDesc = QStringLiteral("32-page catalog");
                      e.pkgCpm = QStringLiteral("310");
                      e.media = QStringLiteral("Catalog");
                      e.offer = text;
                      e.mailDate = QStringLiteral("03/15/2026");
                      e.qtyMailed = QStringLiteral("1000");
                      e.targetResp = QStringLiteral("2.5");
                      const QString refused = adcodes::ValidateAdCode(e);
                      if (refused.isEmpty())
                          adcodes::SaveAdCode(e, false, kUser, QDate(2026, 3, 4));
                      return refused;
                  },
                  [] {
                      return storedText("SELECT Offer FROM tblAdCodes WHERE AdCode = 'AC2'");
                  }};
    list << Field{QStringLiteral("product name"),
                  [](const QString &text) {
                      inventory::ProductEntry e;
                      e.productId = QStringLiteral("P9");
                      e.productName = text;
                      e.categoryId = QStringLiteral("11");
                      e.msrp = QStringLiteral("20");
                      e.manufacturerId = QStringLiteral("1");
                      const QString refused = inventory::validateProduct(e);
                      // A failed save is reported with the window's one message for it.
                      if (refused.isEmpty() && inventory::saveProduct(e, true, kNow, kUser) !=
                                                   inventory::SaveResult::Saved)
                          return QString::fromLatin1(inventory::kSaveFailed);
                      return refused;
                  },
                  [] {
                      return storedText("SELECT ProductName FROM tblInvMaster WHERE ProductID = "
                                        "'P9'");
                  }};
    list << Field{
        QStringLiteral("description"),
        [](const QString &text) {
            const productdescriptions::DescriptionEntry e{QStringLiteral("P1"),
                                                          QStringLiteral("Long"), text};
            const productdescriptions::Verdict verdict =
                productdescriptions::ValidateDescription(e);
            if (!verdict.passed())
                return verdict.message;
            productdescriptions::Mode mode = productdescriptions::Mode::Add;
            productdescriptions::SaveDescription(e, mode, kNow, kUser);
            return QString();
        },
        [] { return storedText("SELECT Blurb FROM tblInvDescriptions WHERE BlurbSize = 'Long'"); },
        [](const QString &text) {
            return productdescriptions::storedText(vb::Trim(text));
        }};
    return list;
}

} // namespace

class tst_hostile_text : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storedExactlyOrRefused_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        const QList<Field> list = fields();
        const QList<Hostile> texts = corpus();
        QVERIFY(texts.size() >= 15);
        for (int f = 0; f < list.size(); ++f)
            for (const Hostile &hostile : texts)
                QTest::addRow("%s: %s", qPrintable(list[f].name), qPrintable(hostile.name))
                    << f << hostile.text;
    }

    void storedExactlyOrRefused()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        const Field f = fields().at(field);
        TestWarehouse warehouse;
        seed();
        ScriptedDialogsScope dialogs;
        const auto forgetAnswers = qScopeGuard([&dialogs] { dialogs->clear(); });
        dialogs->answerYes();

        const QMap<QString, int> before = snapshot::rowCounts(snapshot::take());
        QString refused;
        try {
            refused = f.write(text);
        } catch (const DbError &error) {
            // The query layer's own refusal is a message the operator is shown; anything else
            // came from the warehouse, after the text had been let through.
            refused = error.number() == QLatin1String(Query::kNulNumber)
                          ? error.description()
                          : QStringLiteral("the warehouse: ") + error.description();
        }
        const QMap<QString, int> after = snapshot::rowCounts(snapshot::take());
        if (!refused.isEmpty()) {
            qInfo("refused: %s", qPrintable(refused.left(200)));
            QCOMPARE(after, before);
            QVERIFY2(!refused.startsWith(QLatin1String("the warehouse: ")),
                     qPrintable(QStringLiteral("refused by the warehouse, not by the field: ") +
                                refused));
            return;
        }
        // The write added at most one row, to its own table; every other count stands.
        int changed = 0;
        for (auto it = before.begin(); it != before.end(); ++it)
            changed += std::abs(after.value(it.key()) - it.value());
        QVERIFY2(changed <= 1, "more rows changed than the write makes");
        QCOMPARE(f.stored(), f.expected(text));
    }
};

FOLVANE_DATABASE_TEST_MAIN(tst_hostile_text)
#include "tst_hostile_text.moc"
