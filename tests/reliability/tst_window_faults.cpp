// A representative write of each window, driven as the operator drives it, failed at each of its
// statements in turn: the window shows the failure under its caption, stays open, the warehouse is
// as it was (or, for a failure after the commit, holds the whole write), and the same request
// made again without a fault goes through.
#include "../catalog/CatalogEditFixtures.h"
#include "../mailing/AdCodeFixture.h"
#include "../mailing/PackageFixture.h"
#include "ClientWindows.h"
#include "ScriptedDialogs.h"
#include "TestWarehouse.h"
#include "WarehouseSnapshot.h"
#include "WindowDriving.h"
#include "WindowHarness.h"

#include "catalog/NodeKey.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "inventory/frmProdDesc.h"
#include "mailing/AdCodes.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/MDIfrmMain.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/FaultInjection.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <optional>

using catalog::NodeKey;

namespace {

const QString kSpring = NodeKey::catalogTestKey(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                                                QStringLiteral("0000"));
const QString kInsertId = QStringLiteral("01022026120000");

QString insertOfToday() { return fixture::insertIdOn(QDate::currentDate()); }

// Products with descriptions, a scheduled catalog with a three-page map and placements, an insert,
// a package, an ad code and a recurring product: something for every window's write.
void seed()
{
    for (const char *id : {"P1", "P2", "P3"}) {
        fixture::product(QString::fromLatin1(id));
        fixture::description(QString::fromLatin1(id), QStringLiteral("Short"));
    }
    fixture::scheduleRow({QStringLiteral("MYST"), QStringLiteral("SPRING"),
                          QStringLiteral("Spring"), QDate::currentDate().addDays(30)});
    fixture::schedule(QStringLiteral("MYST"), QStringLiteral("SUMMER"));
    for (int page = 1; page <= 3; ++page) {
        fixture::catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"),
                             QStringLiteral("0000"), page);
        fixture::placement(QStringLiteral("P%1").arg(page), page, 1);
    }
    for (int page = 1; page <= 2; ++page) {
        fixture::insertPage(kInsertId, QStringLiteral("Winter Flyer"), page);
        fixture::insertPage(insertOfToday(), QStringLiteral("Gift Flyer"), page);
    }
    fixture::packageCatalog(QStringLiteral("PKG1"), QStringLiteral("MYST"),
                            QStringLiteral("SPRING"), QStringLiteral("0000"));
    fixture::packageInsert(QStringLiteral("PKG1"), kInsertId, QStringLiteral("Winter Flyer"));
    fixture::adCode({QStringLiteral("AC1")});
    TestWarehouse::exec(QStringLiteral("INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, "
                                       "ProductID) VALUES ('MYST', 'SPRING', 'P1')"));
}

struct WindowWrite
{
    QString name;
    QString window;
    std::function<void(const Context &)> drive;
    // The window's own words for a failure, where it has them instead of the driver's.
    QStringList ownFailures = {};
    // A window the write opens, whose caption its failures may carry.
    QString opens = {};
};

// A failed search, in the words of the windows that search.
const QString kSearchFailed =
    QStringLiteral("You have entered an invalid search parameter value. Please try again.");
const QString kAdCodeSearchFailed =
    QStringLiteral("Unforceen error, please contact your administrator.");

QList<WindowWrite> windowWrites()
{
    QList<WindowWrite> list;
    const auto add = [&list](const char *name, const char *window,
                             std::function<void(const Context &)> drive,
                             const QStringList &ownFailures = {}) {
        list << WindowWrite{QString::fromLatin1(name), QString::fromLatin1(window),
                            std::move(drive), ownFailures};
    };

    // Catalog editor: a placement added from the panel and one deleted from its grid, and the map
    // operations of the Catalog Edit menu.
    add("frmCatEdit placement save", "frmCatEdit", [](const Context &c) {
        c.clickNode(NodeKey::pageKey(kSpring, 2));
        c.retype("txtProductID", QStringLiteral("P3"));
        c.retype("txtPrice", QStringLiteral("12"));
        c.dialogs.answerYes(); // P3 is on page 3 already
        QTest::keyClick(c.box("txtPrice"), Qt::Key_Return);
    });
    add("frmCatEdit placement delete", "frmCatEdit", [](const Context &c) {
        c.clickNode(NodeKey::pageKey(kSpring, 2));
        c.dialogs.answerYes();
        c.doubleClickCell("grdChosenProducts", 1, 5);
    });
    add("frmCatEdit map delete", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerYes();
        c.menu("mnuCtgEditDeleteMap", kSpring);
    });
    add("frmCatEdit page add", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerInput(QStringLiteral("Gifts"));
        c.menu("mnuCtgEditAddPage", kSpring);
    });
    add("frmCatEdit page remove", "frmCatEdit",
        [](const Context &c) { c.menu("mnuCtgEditRemovePage", NodeKey::pageKey(kSpring, 2)); });
    add("frmCatEdit page numbers switch", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerInput(QStringLiteral("3"));
        c.menu("mnuCtgEditPageNumSwitch", NodeKey::pageKey(kSpring, 1));
    });
    add("frmCatEdit page section edit", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerInput(QStringLiteral("Gifts"));
        c.menu("mnuCtgEditPageSection", NodeKey::pageKey(kSpring, 2));
    });
    add("frmCatEdit map copy to a new catalog", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerInput(QStringLiteral("SUMMER"));
        c.menu("mnuCtgEditCopyMaps", kSpring);
    });
    add("frmCatEdit map copy to a test ID", "frmCatEdit", [](const Context &c) {
        c.dialogs.answerInput(QStringLiteral("0001"));
        c.menu("mnuCtgEditCopyCatalog", kSpring);
    });

    // Map builder: a new insert map of the default pages.
    add("frmCatBuild save", "frmCatBuild", [](const Context &c) {
        c.retype("txtCatalogID", QStringLiteral("Spring Sale"));
        c.press("cmdSave");
    });
    list.last().opens = QStringLiteral("Edit Existing Catalog/Insert");

    // Catalog schedule.
    add("frmCatSched save", "frmCatSched", [](const Context &c) {
        c.get<QComboBox>("cboClubID")->setCurrentText(QStringLiteral("MYST"));
        c.retype("txtCatalogID", QStringLiteral("FALL"));
        c.retype("txtDescription", QStringLiteral("Autumn catalog"));
        c.retype("txtAAAddressStartDate",
                 QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
        c.dialogs.answerYes();
        c.press("cmdSave");
    });
    add("frmCatSched delete", "frmCatSched", [](const Context &c) {
        c.dialogs.answerYes();
        c.doubleClickCell("grdSchedule", 2, 0);
    });

    // Packages.
    add("frmCatPkg create", "frmCatPkg", [](const Context &c) {
        c.get<QListWidget>("lstMainCatalogs")->setCurrentRow(0);
        auto *inserts = c.get<QListWidget>("lstInserts");
        for (int row = 0; row < inserts->count(); ++row)
            inserts->item(row)->setSelected(true);
        c.box("txtDescription")->setText(QStringLiteral("Holiday"));
        c.box("txtMailDate")->setText(QStringLiteral("11/20/2026"));
        c.press("cmdAdd");
    });
    add("frmCatPkg delete", "frmCatPkg",
        [](const Context &c) {
            c.clickCell("grdPackages", 1, 2);
            c.dialogs.answerYes();
            c.press("cmdDelete");
        },
        {QStringLiteral("There was an error deleting the selected package.")});

    // Ad codes: save, delete with the password, and the import of a pasted row.
    add("frmAdCodes save", "frmAdCodes", [](const Context &c) {
        c.press("cmdCancel");
        c.retype("txtSourceCode", QStringLiteral("AC2"));
        for (const char *name : {"txtCatName", "txtListDesc", "txtPkg", "txtPkgDesc", "txtOffer"})
            c.retype(name, QStringLiteral("New"));
        c.dialogs.answerYes();
        c.press("cmdSave");
    });
    add("frmAdCodes delete", "frmAdCodes", [](const Context &c) {
        c.search("grdKeymastDisp", 0, QStringLiteral("AC1"));
        c.clickCell("grdKeymastDisp", 2, 1);
        c.dialogs.answerYes();
        c.dialogs.answerInput(QStringLiteral("brantoke"));
        c.press("cmdDelete");
    });
    add("frmAdCodes import row", "frmAdCodes", [](const Context &c) {
        const QString row = QStringList{QStringLiteral("N1\tName\tList\t10\tPKG\tPackage\t2.5"),
                                        QStringLiteral("Catalog\tOffer\t03/15/2026\t1000"),
                                        QStringLiteral("1.5\t999\tsomeone\t01/01/2000")}
                                .join(u'\t');
        QGuiApplication::clipboard()->setText(adcodes::gridHeaders().join(u'\t') +
                                              QStringLiteral("\r\n") + row +
                                              QStringLiteral("\r\n"));
        PasteClipboardToGrid(*c.get<FlexGrid>("grdKeymastDisp"));
        c.press("cmdCheckSaveGridData");
        c.press("cmdCheckSaveGridData");
    });

    // Recurring products: one catalog added, one removed.
    add("frmCatProdSchedule add", "frmCatProdSchedule", [](const Context &c) {
        c.search("grdProducts", 0, QStringLiteral("P2"));
        c.clickCell("grdProducts", 2, 3);
        c.pick("lstAvailSched", QStringLiteral("MYST | SUMMER"));
        c.press("cmdAdd");
    });
    add("frmCatProdSchedule remove", "frmCatProdSchedule", [](const Context &c) {
        c.clickCell("grdRecurringProducts", 1, 2);
        c.pick("lstProdCalendar", QStringLiteral("MYST | SPRING"));
        c.press("cmdRemove");
    });

    // Inventory maintenance.
    add("frmProdMaint save", "frmProdMaint", [](const Context &c) {
        c.search("grdINVItemsList", 0, QStringLiteral("P"));
        c.clickCell("grdINVItemsList", 2, 1);
        c.box("txtProductName")->setText(QStringLiteral("A Book, revised"));
        c.dialogs.answerYes();
        c.press("cmdSave");
    });
    add("frmProdMaint copy", "frmProdMaint", [](const Context &c) {
        c.search("grdINVItemsList", 0, QStringLiteral("P"));
        c.clickCell("grdINVItemsList", 3, 1);
        c.dialogs.answerInput(QStringLiteral("P2COPY"));
        QTest::keyClick(c.get<FlexGrid>("grdINVItemsList"), Qt::Key_C, Qt::ControlModifier);
    });
    add("frmProdMaint delete", "frmProdMaint", [](const Context &c) {
        c.search("grdINVItemsList", 0, QStringLiteral("P"));
        c.clickCell("grdINVItemsList", 3, 1);
        c.dialogs.answerYes();
        c.press("cmdDelete");
    });

    // Descriptions: an edited description saved, and one deleted.
    const auto chooseP2 = [](const Context &c) {
        if (static_cast<frmProdDesc &>(c.window).mode() != productdescriptions::Mode::Browse)
            c.press("cmdCancel");
        c.box("txtSearch")->setText(QStringLiteral("P2"));
        QTest::keyClick(c.box("txtSearch"), Qt::Key_Return);
        auto *products = c.get<QListWidget>("lstProductID");
        const auto found = products->findItems(QStringLiteral("P2"), Qt::MatchExactly);
        if (!found.isEmpty())
            QTest::mouseClick(products->viewport(), Qt::LeftButton, {},
                              products->visualItemRect(found.first()).center());
        auto *sizes = c.get<QComboBox>("cboBlurbSize");
        const int shortSize = sizes->findText(QStringLiteral("Short"));
        sizes->setCurrentIndex(shortSize);
        Q_EMIT sizes->activated(shortSize);
    };
    add("frmProdDesc save", "frmProdDesc", [chooseP2](const Context &c) {
        chooseP2(c);
        c.press("cmdEdit");
        c.get<QPlainTextEdit>("txtBlurb")->setPlainText(QStringLiteral("Other words."));
        c.dialogs.answerYes();
        c.press("cmdOK");
    });
    add("frmProdDesc delete", "frmProdDesc",
        [chooseP2](const Context &c) {
            chooseP2(c);
            c.dialogs.answerYes();
            c.press("cmdDelete");
        },
        {QStringLiteral("There were some errors deleting the record. Please\r"
                        "make sure the record still exists.")});

    // A failed search before the write is told in the searching window's own words.
    for (WindowWrite &write : list) {
        if (write.window == QLatin1String("frmProdMaint") ||
            write.window == QLatin1String("frmCatProdSchedule"))
            write.ownFailures << kSearchFailed;
        else if (write.window == QLatin1String("frmAdCodes"))
            write.ownFailures << kAdCodeSearchFailed;
        if (write.window == QLatin1String("frmProdMaint"))
            write.ownFailures << QStringLiteral(
                "The program has encountered an unknown error while saving.");
        if (write.name.endsWith(QLatin1String("delete")))
            write.ownFailures
                << QStringLiteral("There was a problem deleting [P2] from the database.")
                << QStringLiteral("There was a problem deleting [AC1] from the database.");
    }
    return list;
}

// The tables with the times and the IDs made of the time masked: a whole write may differ from the
// counted run in those only.
snapshot::Tables timeless(snapshot::Tables tables)
{
    static const QRegularExpression time(
        QStringLiteral("\\d{4}-\\d\\d-\\d\\d[T ]\\d\\d:\\d\\d:\\d\\d(\\.\\d+)?"));
    static const QRegularExpression id(QStringLiteral("\\b\\d{12,}\\b"));
    for (QStringList &rows : tables) {
        for (QString &row : rows)
            row.replace(time, QStringLiteral("<time>")).replace(id, QStringLiteral("<id>"));
        rows.sort();
    }
    return tables;
}

} // namespace

class tst_window_faults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    std::optional<TestWarehouse> m_warehouse;
    std::unique_ptr<MDIfrmMain> m_main;
    QPointer<QWidget> m_window;
    int m_faulted = 0;
    int m_wholeAfterCommit = 0;

    void restore(const QString &windowName)
    {
        m_main.reset();
        m_warehouse.reset();
        m_warehouse.emplace();
        seed();
        m_main = std::make_unique<MDIfrmMain>(clientWindows());
        m_main->show();
        m_window = m_main->openWindow(windowName);
        QVERIFY2(m_window, qPrintable(windowName));
        QCoreApplication::processEvents();
    }
    // Runs the write through the window with a fresh set of answers; leftover answers are dropped.
    void drive(const WindowWrite &write, ScriptedDialogs &dialogs)
    {
        dialogs.clear();
        write.drive(Context{*m_main, *m_window, dialogs});
        QCoreApplication::processEvents();
    }
    static QStringList criticals(const ScriptedDialogs &dialogs)
    {
        QStringList texts;
        for (const ScriptedDialogs::Call &call : dialogs.calls())
            if (call.kind == ScriptedDialogs::Kind::Message && call.icon == Dialogs::Icon::Critical)
                texts << call.text;
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        useScratchSettings(m_config.path());
        gstrUserName = QStringLiteral("planner");
    }

    void cleanup()
    {
        m_main.reset();
        m_warehouse.reset();
    }

    void everyStatementOfAWindowWrite_data()
    {
        QTest::addColumn<int>("index");
        const QList<WindowWrite> list = windowWrites();
        for (int i = 0; i < list.size(); ++i)
            QTest::newRow(qPrintable(list[i].name)) << i;
    }

    void everyStatementOfAWindowWrite()
    {
        QFETCH(int, index);
        const WindowWrite write = windowWrites().at(index);
        ScriptedDialogsScope dialogs;
        // Not every path asks what the unfaulted one asks: answers left over are no fault here.
        const auto forgetAnswers = qScopeGuard([&dialogs] { dialogs->clear(); });

        // Once without a fault: the number of statements and what a whole write leaves.
        restore(write.window);
        const snapshot::Tables seeded = snapshot::take();
        const QString caption = m_window->windowTitle();
        const int statements = faults::countStatements([&] { drive(write, *dialogs); });
        QVERIFY2(criticals(*dialogs).isEmpty(), qPrintable(criticals(*dialogs).join(u'|')));
        const snapshot::Tables wholeTables = timeless(snapshot::take());
        const QMap<QString, int> whole = snapshot::rowCounts(wholeTables);
        QVERIFY2(snapshot::take() != seeded, "the write changed nothing");
        qInfo("%s: %d statements", qPrintable(write.name), statements);

        for (int k = 1; k <= statements; ++k) {
            const QString at = QStringLiteral("statement %1 of %2").arg(k).arg(statements);
            restore(write.window);
            const snapshot::Tables before = snapshot::take();
            {
                faults::ArmedFault fault = faults::ArmedFault::atStatement(k);
                drive(write, *dialogs);
            }
            ++m_faulted;
            // The failure is told under the window's caption, in the driver's words or the
            // window's own.
            bool told = false;
            for (const ScriptedDialogs::Call &call : dialogs->calls()) {
                if (call.kind != ScriptedDialogs::Kind::Message)
                    continue;
                const bool failure =
                    call.text.contains(QLatin1String(faults::kInjectedDescription)) ||
                    write.ownFailures.contains(call.text);
                if (!failure && call.icon != Dialogs::Icon::Critical)
                    continue;
                QVERIFY2(call.title == caption || call.title == write.opens,
                         qPrintable(at + QStringLiteral(": titled ") + call.title +
                                    QStringLiteral(": ") + call.text));
                told = told || failure;
            }
            QVERIFY2(told, qPrintable(at + QStringLiteral(": no failure shown: ") +
                                      dialogs->messages().join(u'|')));
            QVERIFY2(criticals(*dialogs).size() <= 1,
                     qPrintable(at + QStringLiteral(": told more than once: ") +
                                criticals(*dialogs).join(u'|')));
            const snapshot::Tables after = snapshot::take();
            if (after != before) {
                // Failed after the commit (a list read again): the write is whole.
                QVERIFY2(timeless(after) == wholeTables,
                         qPrintable(at + QStringLiteral(": partly written: ") +
                                    snapshot::difference(before, after)));
                ++m_wholeAfterCommit;
                continue;
            }
            QVERIFY2(m_window && m_window->isVisible(),
                     qPrintable(at + QStringLiteral(": the window closed")));

            // The same request again, without a fault, goes through in the same window.
            drive(write, *dialogs);
            QVERIFY2(criticals(*dialogs).isEmpty(),
                     qPrintable(at + QStringLiteral(": the second attempt failed: ") +
                                criticals(*dialogs).join(u'|')));
            QVERIFY2(snapshot::rowCounts(snapshot::take()) == whole && snapshot::take() != before,
                     qPrintable(at + QStringLiteral(": the second attempt wrote otherwise")));
        }
    }

    void cleanupTestCase()
    {
        qInfo("statements faulted through the windows: %d, of them after the commit: %d", m_faulted,
              m_wholeAfterCommit);
    }
};

FOLVANE_WINDOW_TEST_MAIN(tst_window_faults)
#include "tst_window_faults.moc"
