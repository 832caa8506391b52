// The report windows' wiring: the Reports menu, the pop-up entry points, the pickers, the PDF and
// File > Print. The figures themselves are tst_reports'.
#include "ReportFixture.h"
#include "ScriptedDialogs.h"
#include "WindowHarness.h"
#include "catalog/frmCatEdit.h"
#include "reports/frmCompareVersions.h"
#include "reports/frmMailingCost.h"
#include "reports/frmPlanSummary.h"
#include "reports/frmProductHistory.h"
#include "shell/FlexGrid.h"
#include "shell/PrinterChoice.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool isPdf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

class FrmReportsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useScratchSettings(m_config.path()); }
    void init()
    {
        m_warehouse.emplace();
        fixture::reportMaps();
    }
    void cleanup() { m_warehouse.reset(); }

    void planSummaryFromTheEditorPdfAndPrint()
    {
        ScriptedDialogsScope dialogs;
        WindowHarness<QWidget> harness(QStringLiteral("frmCatEdit"));
        harness->setProperty("Tag", QStringLiteral("INS|SPRING|001"));
        harness.main().menuItem(QStringLiteral("mnuCtgEditPlanSummary"))->trigger();
        auto *summary = harness.main().window<frmPlanSummary>();
        QVERIFY(summary);
        QCOMPARE(harness.main().activeChild(), summary);
        auto *totals = control<FlexGrid>(*summary, "grdTotals");
        QCOMPARE(totals->TextMatrix(1, 4), QStringLiteral("$40.00"));

        // The picker: a listed name shows its map; any other text is told and runs nothing.
        auto *map = control<QComboBox>(*summary, "cboMap");
        map->setEditText(QStringLiteral("SPRING - 0000"));
        QTest::keyClick(map->lineEdit(), Qt::Key_Return);
        QTest::qWait(0);
        QCOMPARE(totals->TextMatrix(1, 4), QStringLiteral("$175.00"));
        auto *pages = control<FlexGrid>(*summary, "grdPages");
        QCOMPARE(pages->Rows(), 5);
        // The sections grid is the chart's key: each section in its pages' colour, printed too.
        auto *sections = control<FlexGrid>(*summary, "grdSections");
        for (int page = 1; page < pages->Rows(); ++page) {
            int row = 1;
            while (row < sections->Rows() &&
                   sections->TextMatrix(row, 0) != pages->TextMatrix(page, 1))
                ++row;
            QVERIFY(row < sections->Rows());
            QVERIFY(pages->cellBackColor(page, 1) != 0);
            QCOMPARE(sections->cellBackColor(row, 0), pages->cellBackColor(page, 1));
            QVERIFY(summary->documentHtml().contains(
                QStringLiteral("<td bgcolor=\"%1\">%2</td>")
                    .arg(reports::rgb(reports::bgr(pages->cellBackColor(page, 1))).name(),
                         pages->TextMatrix(page, 1).toHtmlEscaped())));
        }
        map->setEditText(QStringLiteral("SPRING' OR 1=1 --"));
        QTest::keyClick(map->lineEdit(), Qt::Key_Return);
        QTest::qWait(0);
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(totals->TextMatrix(1, 4), QStringLiteral("$175.00"));

        // Export PDF: the file is whole and nothing else is left in its folder.
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("summary.pdf"));
        dialogs->answerFile(pdf);
        control<QPushButton>(*summary, "cmdExportPdf")->click();
        QVERIFY(isPdf(pdf));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("summary.pdf")});
        QVERIFY(summary->documentHtml().contains(QStringLiteral("Mystery")));

        // File > Print prints the report in front.
        const QString printed = folder.filePath(QStringLiteral("printed.pdf"));
        shell::setPrinterChooser([&](QPrinter &printer, const QString &, QWidget *) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            return true;
        });
        const auto restore = qScopeGuard([] { shell::setPrinterChooser({}); });
        harness.main().menuItem(QStringLiteral("mnuPrint"))->trigger();
        QVERIFY(isPdf(printed));
        QCOMPARE(dialogs->messages().size(), 1);
    }

    void compareVersionsFromTheMenuToTheEditor()
    {
        fixture::secondVersion();
        ScriptedDialogsScope dialogs;
        WindowHarness<QWidget> harness(QStringLiteral("frmAbout"));
        harness.main().menuItem(QStringLiteral("mnuCompareVersions"))->trigger();
        auto *compare = harness.main().window<frmCompareVersions>();
        QVERIFY(compare);
        // The first map chosen, the second picker offers its catalog's other version first.
        auto *first = control<QComboBox>(*compare, "cboFirst");
        first->setEditText(QStringLiteral("SPRING - 0000"));
        QTest::keyClick(first->lineEdit(), Qt::Key_Return);
        QTest::qWait(0);
        auto *second = control<QComboBox>(*compare, "cboSecond");
        QCOMPARE(second->itemData(0).toString(), QStringLiteral("ID|MYST|SPRING|0001"));
        QCOMPARE(second->count(), 2);
        second->setEditText(QStringLiteral("spring - 0001"));
        QTest::keyClick(second->lineEdit(), Qt::Key_Return);
        QTest::qWait(0);
        auto *changes = control<FlexGrid>(*compare, "grdChanges");
        QCOMPARE(changes->Rows(), 5);
        control<QCheckBox>(*compare, "chkUnchanged")->setChecked(true);
        QCOMPARE(changes->Rows(), 6);
        QCOMPARE(control<FlexGrid>(*compare, "grdCounts")->TextMatrix(1, 4), QStringLiteral("1"));

        // A double-click on the second map's side of the moved A1 opens the editor on its page
        // there; on the first map's side, on its page in the first map.
        changes->setRow(5);
        changes->setCol(reports::kSecondMapColumn);
        Q_EMIT changes->cellDoubleClicked();
        auto *editor = harness.main().window<frmCatEdit>();
        QVERIFY(editor);
        QCOMPARE(editor->Tag(), QStringLiteral("ID|MYST|SPRING|0001|003"));
        changes->setCol(1);
        Q_EMIT changes->cellDoubleClicked();
        QCOMPARE(editor->Tag(), QStringLiteral("ID|MYST|SPRING|0000|004"));
        QVERIFY(dialogs->messages().isEmpty());
    }

    void mailingCostFromTheMenu()
    {
        fixture::adCodes();
        ScriptedDialogsScope dialogs;
        WindowHarness<QWidget> harness(QStringLiteral("frmAbout"));
        harness.main().menuItem(QStringLiteral("mnuMailingCost"))->trigger();
        auto *mailing = harness.main().window<frmMailingCost>();
        QVERIFY(mailing);
        control<QDateEdit>(*mailing, "dtpFrom")->setDate(QDate(2026, 3, 1));
        control<QDateEdit>(*mailing, "dtpTo")->setDate(QDate(2026, 3, 31));
        control<QPushButton>(*mailing, "cmdShow")->click();
        auto *grid = control<FlexGrid>(*mailing, "grdMailing");
        QCOMPARE(grid->TextMatrix(grid->Rows() - 1, 3), QStringLiteral("$154.02"));
        QCOMPARE(control<QChartView>(*mailing, "chtCostPerResponse")->chart()->series().size(), 1);
        QVERIFY(dialogs->messages().isEmpty());
    }

    void productHistoryTypedAndFromAGrid()
    {
        ScriptedDialogsScope dialogs;
        WindowHarness<frmProductHistory> harness;
        auto *productId = harness.control<QLineEdit>("txtProductID");
        productId->setText(QStringLiteral("a2"));
        QTest::keyClick(productId, Qt::Key_Return);
        QCOMPARE(harness.control<FlexGrid>("grdPlacements")->Rows(), 3);
        QCOMPARE(harness.control<QLabel>("lblProductName")->text(), QStringLiteral("Book A2"));

        // From the Grid Functions pop-up: a grid without a product column says so.
        auto *recurring = harness.control<FlexGrid>("grdRecurring");
        recurring->setFocus();
        harness.main().menuItem(QStringLiteral("mnuGridProductHistory"))->trigger();
        QCOMPARE(dialogs->messages().size(), 1);
    }

private:
    QTemporaryDir m_config;
    std::optional<TestWarehouse> m_warehouse;
};

FOLVANE_WINDOW_TEST_MAIN(FrmReportsTest)
#include "tst_frmReports.moc"
