// The hostile text corpus typed into every free-text input of the windows (text boxes, the section
// cell of the map builder, input boxes answered through the dialogs) and the request made: no
// table changes but the one the write is for, the text is stored as the control held it (trimmed
// where the field trims), or it is refused with a message; no failure from the warehouse.
#include "../catalog/CatalogEditFixtures.h"
#include "../mailing/AdCodeFixture.h"
#include "../mailing/PackageFixture.h"
#include "ClientWindows.h"
#include "HostileCorpus.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WarehouseSnapshot.h"
#include "WindowDriving.h"
#include "WindowHarness.h"

#include "catalog/NodeKey.h"
#include "inventory/ProductDescriptions.h"
#include "inventory/ProductMaster.h"
#include "inventory/frmProdDesc.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

using catalog::NodeKey;

namespace {

const QString kSpring = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
const QString kInsertId = QStringLiteral("01022026120000");

void seed()
{
    for (const char *id : {"P1", "P2", "P3"}) {
        fixture::product(QString::fromLatin1(id));
        fixture::description(QString::fromLatin1(id), QStringLiteral("Short"));
    }
    fixture::scheduleRow({QStringLiteral("MYST"), QStringLiteral("SPRING"),
                          QStringLiteral("Spring"), QDate::currentDate().addDays(30)});
    for (int page = 1; page <= 3; ++page) {
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page);
        fixture::placement(QStringLiteral("P%1").arg(page), page, 1);
    }
    fixture::insertPage(kInsertId, QStringLiteral("Winter Flyer"), 1);
    fixture::insertPage(fixture::insertIdOn(QDate::currentDate()), QStringLiteral("Gift Flyer"), 1);
    fixture::adCode({QStringLiteral("AC1")});
}

// Sends the text key by key, each character (a surrogate pair as one) as the text of a key press
// and release, as a keyboard or input method hands it over; the control keeps what it accepts.
// QTest::keyClicks takes Latin-1 only.
void typeKeys(QWidget *control, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString unit = text.mid(i, length);
        i += length - 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, unit);
        QApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, unit);
        QApplication::sendEvent(control, &release);
    }
}

// Puts text into a line edit as the operator does: typed key by key, or pasted when it is long.
QString typeInto(QLineEdit *box, const QString &text)
{
    box->clear();
    if (text.size() > 300)
        box->insert(text);
    else
        typeKeys(box, text);
    return box->text();
}

QString typeInto(QPlainTextEdit *box, const QString &text)
{
    box->clear();
    if (text.size() > 300)
        box->insertPlainText(text);
    else
        typeKeys(box, text);
    return box->toPlainText();
}

QString stored(const char *sql)
{
    return TestWarehouse::scalar(QString::fromLatin1(sql)).toString();
}

// One free-text input: enters the text and makes the request, returning what the control held
// (the answer itself for an input box); reads back what was stored, where the request writes.
struct Input
{
    QString name;
    QString window;
    std::function<QString(const Context &, const QString &text)> enter;
    std::function<QString()> stored = {};
    std::function<QString(const QString &held)> expected = [](const QString &held) {
        return vb::Trim(held);
    };
};

QList<Input> inputs()
{
    QList<Input> list;
    const auto add = [&list](const char *window, const char *name,
                             std::function<QString(const Context &, const QString &)> enter,
                             std::function<QString()> read = {}) {
        list << Input{QString::fromLatin1(window) + QStringLiteral(" ") + QString::fromLatin1(name),
                      QString::fromLatin1(window), std::move(enter), std::move(read)};
    };
    const auto answer = [](const Context &c, const QString &text) {
        c.dialogs.answerInput(text);
        return text;
    };

    // Catalog schedule.
    add(
        "frmCatSched", "txtDescription",
        [](const Context &c, const QString &text) {
            c.retype("txtCatalogID", QStringLiteral("FALL"));
            const QString held = typeInto(c.box("txtDescription"), text);
            c.retype("txtAAAddressStartDate",
                     QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
            c.press("cmdSave");
            return held;
        },
        [] { return stored("SELECT Description FROM tblCycleSchedule WHERE CatalogID = 'FALL'"); });
    add(
        "frmCatSched", "txtCatalogID",
        [](const Context &c, const QString &text) {
            const QString held = typeInto(c.box("txtCatalogID"), text);
            c.retype("txtDescription", QStringLiteral("Hostile"));
            c.retype("txtAAAddressStartDate",
                     QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
            c.press("cmdSave");
            return held;
        },
        [] {
            return stored("SELECT CatalogID FROM tblCycleSchedule WHERE Description = 'Hostile'");
        });

    // Catalog editor: the placement's product type, the inventory search and the Catalog Edit
    // menu's input boxes.
    add(
        "frmCatEdit", "txtProductType",
        [](const Context &c, const QString &text) {
            c.clickNode(NodeKey::pageKey(kSpring, 2));
            c.retype("txtProductID", QStringLiteral("P3"));
            c.retype("txtPrice", QStringLiteral("12"));
            const QString held = typeInto(c.box("txtProductType"), text);
            c.dialogs.answerYes();
            QTest::keyClick(c.box("txtPrice"), Qt::Key_Return);
            return held;
        },
        [] {
            return stored("SELECT ProductType FROM tblProductsMap WHERE ProductID = 'P3' AND "
                          "PageNum = 2");
        });
    list.last().expected = [](const QString &held) {
        return vb::Trim(held).toUpper();
    };
    add("frmCatEdit", "inventory search", [answer](const Context &c, const QString &text) {
        c.get<QTabWidget>("tabHelpInfo")->setCurrentIndex(1);
        answer(c, text);
        FlexGrid *inventory = c.get<FlexGrid>("grdInventoryMaster");
        QTest::mouseDClick(inventory->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           inventory->cellRect(0, 2).center());
        return text;
    });
    add(
        "frmCatEdit", "insert name",
        [answer](const Context &c, const QString &text) {
            c.clickNode(NodeKey::insertKey(kInsertId));
            answer(c, text);
            QTest::keyClick(c.get<QTreeView>("tvCatalogTree"), Qt::Key_N, Qt::ControlModifier);
            return text;
        },
        [] {
            return stored("SELECT InsertDescription FROM tblInsertMap WHERE InsertID = "
                          "'01022026120000'");
        });
    // The insert's new name is stored as answered, blanks too.
    list.last().expected = [](const QString &held) {
        return held;
    };
    add(
        "frmCatEdit", "new page section",
        [answer](const Context &c, const QString &text) {
            answer(c, text);
            c.menu("mnuCtgEditAddPage", kSpring);
            return text;
        },
        [] { return stored("SELECT PageSection FROM tblCatalogMap WHERE PageNum = 4"); });
    add(
        "frmCatEdit", "page section",
        [answer](const Context &c, const QString &text) {
            answer(c, text);
            c.menu("mnuCtgEditPageSection", NodeKey::pageKey(kSpring, 2));
            return text;
        },
        [] { return stored("SELECT PageSection FROM tblCatalogMap WHERE PageNum = 2"); });
    add("frmCatEdit", "new catalog ID", [answer](const Context &c, const QString &text) {
        answer(c, text);
        c.menu("mnuCtgEditCopyMaps", kSpring);
        return text;
    });
    add("frmCatEdit", "test IDs", [answer](const Context &c, const QString &text) {
        answer(c, text);
        c.menu("mnuCtgEditCopyCatalog", kSpring);
        return text;
    });
    add("frmCatEdit", "page number", [answer](const Context &c, const QString &text) {
        answer(c, text);
        c.menu("mnuCtgEditPageNumSwitch", NodeKey::pageKey(kSpring, 1));
        return text;
    });

    // Map builder: the insert's name, and a page's section typed into the grid's cell editor.
    const QString builtInsert = QStringLiteral(
        "SELECT MIN(InsertDescription) FROM tblInsertMap WHERE InsertID <> '01022026120000' AND "
        "InsertDescription <> 'Gift Flyer'");
    add(
        "frmCatBuild", "txtCatalogID",
        [](const Context &c, const QString &text) {
            const QString held = typeInto(c.box("txtCatalogID"), text);
            c.press("cmdSave");
            return held;
        },
        [builtInsert] { return TestWarehouse::scalar(builtInsert).toString(); });
    add(
        "frmCatBuild", "page section",
        [](const Context &c, const QString &text) {
            c.retype("txtCatalogID", QStringLiteral("Hostile Sale"));
            c.clickCell("grdPageAlloc", 2, 1);
            QLineEdit *editor = c.get<QComboBox>("cboPageGenre")->lineEdit();
            editor->selectAll();
            const QString held = typeInto(editor, text);
            c.press("cmdSave");
            return held;
        },
        [] {
            return stored("SELECT PageSection FROM tblInsertMap WHERE InsertDescription = "
                          "'Hostile Sale' AND PageNum = 2");
        });

    // Packages.
    add(
        "frmCatPkg", "txtDescription",
        [](const Context &c, const QString &text) {
            c.get<QListWidget>("lstMainCatalogs")->setCurrentRow(0);
            const QString held = typeInto(c.box("txtDescription"), text);
            c.box("txtMailDate")->setText(QStringLiteral("11/20/2026"));
            c.press("cmdAdd");
            return held;
        },
        [] { return stored("SELECT MIN(PackageDescription) FROM tblMailPackages"); });

    // Ad codes: every text box of the panel, and the search.
    for (const char *box : {"txtCatName", "txtListDesc", "txtPkg", "txtPkgDesc", "txtOffer"}) {
        static const QMap<QString, QString> columns{
            {QStringLiteral("txtCatName"), QStringLiteral("CatName")},
            {QStringLiteral("txtListDesc"), QStringLiteral("ListDesc")},
            {QStringLiteral("txtPkg"), QStringLiteral("Pkg")},
            {QStringLiteral("txtPkgDesc"), QStringLiteral("PkgDesc")},
            {QStringLiteral("txtOffer"), QStringLiteral("Offer")}};
        const QString column = columns.value(QLatin1String(box));
        add(
            "frmAdCodes", box,
            [box](const Context &c, const QString &text) {
                c.retype("txtSourceCode", QStringLiteral("AC2"));
                for (const char *other :
                     {"txtCatName", "txtListDesc", "txtPkg", "txtPkgDesc", "txtOffer"})
                    c.retype(other, QStringLiteral("New"));
                const QString held = typeInto(c.box(box), text);
                c.dialogs.answerYes();
                c.press("cmdSave");
                return held;
            },
            [column] {
                return TestWarehouse::scalar(
                           QStringLiteral("SELECT ") + column +
                           QStringLiteral(" FROM tblAdCodes WHERE AdCode = 'AC2'"))
                    .toString();
            });
    }
    add(
        "frmAdCodes", "txtSourceCode",
        [](const Context &c, const QString &text) {
            const QString held = typeInto(c.box("txtSourceCode"), text);
            for (const char *other : {"txtCatName", "txtListDesc", "txtPkg", "txtPkgDesc"})
                c.retype(other, QStringLiteral("New"));
            c.retype("txtOffer", QStringLiteral("Hostile"));
            c.dialogs.answerYes();
            c.press("cmdSave");
            return held;
        },
        [] { return stored("SELECT AdCode FROM tblAdCodes WHERE Offer = 'Hostile'"); });
    add("frmAdCodes", "search", [](const Context &c, const QString &text) {
        c.search("grdKeymastDisp", 8, text);
        return text;
    });

    // Recurring products: the product search.
    add("frmCatProdSchedule", "search", [](const Context &c, const QString &text) {
        c.search("grdProducts", 2, text);
        return text;
    });

    // Inventory maintenance: the name and comments of a product, the search, the copy's new ID.
    add(
        "frmProdMaint", "txtProductName",
        [](const Context &c, const QString &text) {
            c.search("grdINVItemsList", 0, QStringLiteral("P1"));
            c.clickCell("grdINVItemsList", 2, 1);
            const QString held = typeInto(c.box("txtProductName"), text);
            c.press("cmdSave");
            return held;
        },
        [] { return stored("SELECT ProductName FROM tblInvMaster WHERE ProductID = 'P1'"); });
    add(
        "frmProdMaint", "txtComments",
        [](const Context &c, const QString &text) {
            c.search("grdINVItemsList", 0, QStringLiteral("P1"));
            c.clickCell("grdINVItemsList", 2, 1);
            const QString held = typeInto(c.get<QPlainTextEdit>("txtComments"), text);
            c.press("cmdSave");
            return held;
        },
        [] { return stored("SELECT Comments FROM tblInvMaster WHERE ProductID = 'P1'"); });
    add("frmProdMaint", "search", [](const Context &c, const QString &text) {
        c.search("grdINVItemsList", 2, text);
        return text;
    });
    add(
        "frmProdMaint", "new product ID",
        [answer](const Context &c, const QString &text) {
            c.search("grdINVItemsList", 0, QStringLiteral("P1"));
            c.clickCell("grdINVItemsList", 2, 1);
            answer(c, text);
            c.dialogs.answerYes();
            QTest::keyClick(c.get<FlexGrid>("grdINVItemsList"), Qt::Key_C, Qt::ControlModifier);
            return text;
        },
        [] {
            return stored("SELECT MIN(ProductID) FROM tblInvMaster WHERE ProductID NOT IN ('P1', "
                          "'P2', 'P3')");
        });

    // Descriptions: the search box and an edited description.
    add("frmProdDesc", "txtSearch", [](const Context &c, const QString &text) {
        const QString held = typeInto(c.box("txtSearch"), text);
        QTest::keyClick(c.box("txtSearch"), Qt::Key_Return);
        return held;
    });
    add(
        "frmProdDesc", "txtBlurb",
        [](const Context &c, const QString &text) {
            c.box("txtSearch")->setText(QStringLiteral("P2"));
            QTest::keyClick(c.box("txtSearch"), Qt::Key_Return);
            auto *products = c.get<QListWidget>("lstProductID");
            QTest::mouseClick(products->viewport(), Qt::LeftButton, {},
                              products->visualItemRect(products->item(0)).center());
            auto *sizes = c.get<QComboBox>("cboBlurbSize");
            const int shortSize = sizes->findText(QStringLiteral("Short"));
            sizes->setCurrentIndex(shortSize);
            Q_EMIT sizes->activated(shortSize);
            c.press("cmdEdit");
            const QString held = typeInto(c.get<QPlainTextEdit>("txtBlurb"), text);
            c.dialogs.answerYes();
            c.press("cmdOK");
            return held;
        },
        [] {
            return stored("SELECT Blurb FROM tblInvDescriptions WHERE ProductID = 'P2' AND "
                          "BlurbSize = 'Short'");
        });
    list.last().expected = [](const QString &held) {
        return productdescriptions::storedText(vb::Trim(held));
    };
    return list;
}

} // namespace

class tst_window_hostile_text : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    std::optional<TestWarehouse> m_warehouse;
    snapshot::Tables m_seeded;
    int m_tried = 0;
    int m_stored = 0;

private Q_SLOTS:
    void initTestCase()
    {
        useScratchSettings(m_config.path());
        gstrUserName = QStringLiteral("planner");
    }

    void typedIntoEveryInput_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("text");
        const QList<Input> list = inputs();
        const QList<Hostile> texts = corpus();
        QVERIFY(texts.size() >= 15);
        for (int i = 0; i < list.size(); ++i)
            for (const Hostile &hostile : texts)
                QTest::addRow("%s: %s", qPrintable(list[i].name), qPrintable(hostile.name))
                    << i << hostile.text;
    }

    void typedIntoEveryInput()
    {
        QFETCH(int, input);
        QFETCH(QString, text);
        const Input in = inputs().at(input);
        // A fresh warehouse, seeded; rebuilt only when an earlier text left something behind.
        if (!m_warehouse || snapshot::take() != m_seeded) {
            m_warehouse.reset();
            m_warehouse.emplace();
            seed();
            m_seeded = snapshot::take();
        }
        ScriptedDialogsScope dialogs;
        // Not every path asks what another asks: answers left over are no fault here.
        const auto forgetAnswers = qScopeGuard([&dialogs] { dialogs->clear(); });
        MDIfrmMain main(clientWindows());
        main.show();
        QPointer<QWidget> window = main.openWindow(in.window);
        QVERIFY(window);
        QCoreApplication::processEvents();
        dialogs->clear();

        const snapshot::Tables before = snapshot::take();
        const QString held = in.enter(Context{main, *window, *dialogs}, text);
        QCoreApplication::processEvents();
        ++m_tried;

        // A failure from the warehouse means the text got past the field to the statement; the
        // query layer's own refusal of NUL is a message for the operator, in its words or in the
        // words the window has for a save that did not happen.
        const bool nul = text.contains(QChar(0));
        for (const ScriptedDialogs::Call &call : dialogs->calls())
            QVERIFY2(call.icon != Dialogs::Icon::Critical ||
                         call.text.contains(QLatin1String(Query::kNulDescription)) ||
                         (nul && call.text == QLatin1String(inventory::kSaveFailed)),
                     qPrintable(QStringLiteral("the warehouse failed: ") + call.text.left(300)));
        const snapshot::Tables after = snapshot::take();
        if (!in.stored) {
            QVERIFY2(after == before, qPrintable(snapshot::difference(before, after)));
            return;
        }
        // The write touched its own table only.
        const QMap<QString, int> countsBefore = snapshot::rowCounts(before);
        const QMap<QString, int> countsAfter = snapshot::rowCounts(after);
        QStringList changed;
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (after.value(it.key()) != it.value())
                changed << it.key();
        QVERIFY2(changed.size() <= 1, qPrintable(changed.join(u',')));
        if (after == before) {
            // Refused: the operator was told.
            QVERIFY2(!dialogs->messages().isEmpty(), "refused without a word");
            return;
        }
        ++m_stored;
        const QString expected = in.expected(held);
        QCOMPARE(in.stored(), expected);
        QVERIFY(countsAfter.size() == countsBefore.size());
    }

    void cleanupTestCase()
    {
        m_warehouse.reset();
        qInfo("hostile inputs tried through the windows: %d, stored exactly: %d", m_tried,
              m_stored);
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_window_hostile_text)
#include "tst_window_hostile_text.moc"
