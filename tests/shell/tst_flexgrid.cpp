// The grid widget every window uses: its text matrix, fixed header row, current cell, colours,
// sizes, the batched announcement of appended rows, and the mouse and key signals.
#include "GridCells.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using namespace gridcells;

class FlexGridTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelStaysConsistentThroughEveryChange()
    {
        FlexGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(grid, {split("Id\tName\tPrice"), split("1\tOne\t$1.00"), split("2\tTwo\t$2.00")});
        QCoreApplication::processEvents();
        for (int i = 0; i < 500; ++i)
            grid.AddItem(QStringLiteral("%1\tItem\t$0.00").arg(i));
        grid.setTextMatrix(3, 1, QStringLiteral("pending row"));
        QCoreApplication::processEvents();
        grid.setTextMatrix(0, 1, QStringLiteral("Product Name"));
        grid.setRowsBackColor(1, 40, 0xC0FFC0);
        grid.setRow(5);
        grid.setCol(2);
        grid.setCellBackColor(0x0000FF);
        grid.RemoveItem(3);
        grid.AddItem(QStringLiteral("x\ty"), 2);
        grid.setCols(5);
        grid.setCols(1);
        grid.setFixedRows(0);
        grid.setFixedRows(1);
        grid.setColAlignment(0, FlexGridModel::RightCenter);
        grid.setFixedCols(1);
        grid.setRows(10);
        grid.setRows(1);
        grid.setRows(0);
        grid.setCols(0);
        grid.AddItem(QString());
        QCoreApplication::processEvents();
        QCOMPARE(grid.model()->rowCount(), 1);
    }

    void newGridHasHeaderAndOneDataRow()
    {
        FlexGrid grid;
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(grid.Cols(), 2);
        QCOMPARE(grid.FixedRows(), 1);
        QCOMPARE(grid.Row(), 1);
        QCOMPARE(grid.Col(), 0);
        QCOMPARE(grid.Tag(), QStringLiteral("-1"));
    }

    void rowsAndColumnsKeepOrDropCells()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB\tC"), split("a1\tb1\tc1"), split("a2\tb2\tc2")});

        grid.setCols(2);
        grid.setCols(3);
        QCOMPARE(cells(grid),
                 (QList<QStringList>{split("A\tB\t"), split("a1\tb1\t"), split("a2\tb2\t")}));
        grid.setRows(2);
        grid.setRows(4);
        QCOMPARE(cells(grid), (QList<QStringList>{split("A\tB\t"), split("a1\tb1\t"), split("\t\t"),
                                                  split("\t\t")}));

        grid.setTextMatrix(3, 1, QStringLiteral("late"));
        grid.setTextMatrix(3, 0, QStringLiteral("early"));
        grid.setTextMatrix(1, 0, QString());
        QCOMPARE(cells(grid)[3], split("early\tlate\t"));
        QCOMPARE(cells(grid)[1], split("\tb1\t"));

        // Writing outside the grid changes nothing.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no cell")));
        grid.setTextMatrix(4, 0, QStringLiteral("x"));
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.TextMatrix(4, 0), QString());

        grid.setRows(0);
        QCOMPARE(grid.FixedRows(), 0);
        QCOMPARE(grid.Row(), 0);
    }

    void addItemSplitsAtTabs_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("all cells") << QStringLiteral("1\t2\t3") << split("1\t2\t3");
        QTest::newRow("fewer cells") << QStringLiteral("1") << split("1\t\t");
        QTest::newRow("more cells dropped") << QStringLiteral("1\t2\t3\t4") << split("1\t2\t3");
        QTest::newRow("empty cells") << QStringLiteral("\t\t3") << split("\t\t3");
        QTest::newRow("empty text") << QString() << split("\t\t");
    }

    void addItemSplitsAtTabs()
    {
        QFETCH(QString, item);
        QFETCH(QStringList, row);
        FlexGrid grid;
        fill(grid, {split("A\tB\tC")});
        grid.AddItem(item);
        QCOMPARE(grid.Rows(), 2);
        QCOMPARE(cells(grid)[1], row);
    }

    void addItemInsertsAndRemoveItemKeepsTheCursorOnItsRow()
    {
        FlexGrid grid;
        fill(grid, {split("H"), split("r1"), split("r2"), split("r3")});
        grid.setRow(3);
        grid.AddItem(QStringLiteral("new"), 1);
        QCOMPARE(grid.TextMatrix(1, 0), QStringLiteral("new"));
        QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("r3"));

        grid.RemoveItem(2);
        QCOMPARE(grid.TextMatrix(grid.Row(), 0), QStringLiteral("r3"));
        grid.RemoveItem(0); // the header stays
        QCOMPARE(cells(grid),
                 (QList<QStringList>{split("H"), split("new"), split("r2"), split("r3")}));
        grid.RemoveItem(3);
        QCOMPARE(grid.Row(), 2);
        grid.RemoveItem(1);
        grid.RemoveItem(1);
        QCOMPARE(grid.Rows(), 1);
        QCOMPARE(grid.Row(), 0);
    }

    void rowZeroIsTheHeaderOnlyWithAFixedRow()
    {
        FlexGrid grid;
        fill(grid, {split("Club\tCatalog"), split("C1\tK1"), split("C2\tK2")});
        QCoreApplication::processEvents();
        const QAbstractItemModel *model = grid.model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Catalog"));
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("C1"));
        QVERIFY(!grid.horizontalHeader()->isHidden());

        QSignalSpy headerChanged(model, &QAbstractItemModel::headerDataChanged);
        grid.setTextMatrix(0, 1, QStringLiteral("Catalog ID"));
        QCOMPARE(headerChanged.count(), 1);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Catalog ID"));

        grid.setFixedRows(0);
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Catalog ID"));
        QVERIFY(grid.horizontalHeader()->isHidden());

        grid.setFixedRows(5); // never more than the rows there are
        QCOMPARE(grid.FixedRows(), 3);
    }

    void appendedRowsReachTheViewInBatches()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB")});
        QCoreApplication::processEvents();
        QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 1000; ++i) {
            grid.setRows(grid.Rows() + 1);
            grid.setTextMatrix(grid.Rows() - 1, 0, QString::number(i));
            grid.setTextMatrix(grid.Rows() - 1, 1, QStringLiteral("row %1").arg(i));
        }
        QCOMPARE(grid.Rows(), 1001);
        QCOMPARE(grid.TextMatrix(1000, 1), QStringLiteral("row 999"));
        grid.showAppendedRows();
        QCOMPARE(grid.model()->rowCount(), 1000);
        QVERIFY(inserted.count() < 10);
        QCOMPARE(grid.model()->index(999, 1).data().toString(), QStringLiteral("row 999"));

        grid.AddItem(QStringLiteral("x\ty"));
        QTRY_COMPARE(grid.model()->rowCount(), 1001);
    }

    void backColoursAreBgrValues()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB\tC"), split("1\t2\t3"), split("4\t5\t6")});
        grid.setRow(1);
        grid.setCol(2);
        grid.setCellBackColor(0x0000FF); // red in blue-green-red order
        QCOMPARE(grid.CellBackColor(), 0x0000FFu);
        grid.showAppendedRows();
        const QAbstractItemModel *model = grid.model();
        QCOMPARE(model->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(255, 0, 0));
        QVERIFY(!model->index(0, 1).data(Qt::BackgroundRole).isValid());

        grid.setRowsBackColor(2, 2, 0xC0FFC0);
        QCOMPARE(model->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(0xC0, 0xFF, 0xC0));
        // New columns start without colour, whether the row was painted whole or by cell.
        grid.setCols(4);
        grid.setCol(3);
        QCOMPARE(grid.CellBackColor(), 0u);
        grid.setRow(2);
        QCOMPARE(grid.CellBackColor(), 0u);
        grid.setCol(1);
        QCOMPARE(grid.CellBackColor(), 0xC0FFC0u);
        grid.setRow(1);
        grid.setCol(2);
        QCOMPARE(grid.CellBackColor(), 0x0000FFu);

        // A column painted a colour a row, the rest of each row as it was; colours past the last
        // row are left.
        QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
        grid.setColBackColors(0, 1, {0x00FF00, 0xFF0000, 0x123456});
        QCOMPARE(changed.count(), 1);
        const auto colourAt = [&](int row, int col) {
            grid.setRow(row);
            grid.setCol(col);
            return grid.CellBackColor();
        };
        QCOMPARE(colourAt(1, 0), 0x00FF00u);
        QCOMPARE(colourAt(1, 2), 0x0000FFu);
        QCOMPARE(colourAt(2, 0), 0xFF0000u);
        QCOMPARE(colourAt(2, 1), 0xC0FFC0u);
        QCOMPARE(grid.Rows(), 3);
        // Text is black on a light cell, white on a dark one.
        grid.setColBackColors(1, 1, {0x4D5A00});
        const auto textColour = [&](int row, int col) {
            return model->index(row - 1, col).data(Qt::ForegroundRole).value<QBrush>().color();
        };
        QCOMPARE(textColour(1, 1), QColor(Qt::white));
        QCOMPARE(textColour(2, 1), QColor(Qt::black));
    }

    void sizesAreInTwipsAndZeroHides()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB\tC"), QStringList(3), split("1\t2\t3")});
        grid.setRowHeightTwips(1, 0);
        grid.setColWidth(0, 0);
        grid.setColWidth(1, 1230);
        grid.showAppendedRows();
        QVERIFY(grid.isRowHidden(0));
        QVERIFY(!grid.isRowHidden(1));
        QCOMPARE(grid.RowHeight(1), 0);
        QVERIFY(grid.isColumnHidden(0));
        QCOMPARE(grid.ColWidth(0), 0);
        QCOMPARE(grid.columnWidth(1), 82);
        QCOMPARE(grid.ColWidth(1), 1230);

        // The hidden row stays hidden when the header row comes and goes.
        grid.setFixedRows(0);
        QVERIFY(grid.isRowHidden(1));
        grid.setFixedRows(1);
        QVERIFY(grid.isRowHidden(0));
        QVERIFY(grid.isColumnHidden(0));

        // A hidden row set before its row reaches the view.
        grid.setRows(4);
        grid.setRowHeightTwips(3, 0);
        grid.showAppendedRows();
        QVERIFY(grid.isRowHidden(2));

        grid.setRowHeightTwips(1, -1);
        QVERIFY(!grid.isRowHidden(0));
        grid.setColWidth(0, -1);
        QVERIFY(!grid.isColumnHidden(0));
    }

    void currentCellMovesTheCursor()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB"), split("1\t2"), split("3\t4")});
        grid.setRow(2);
        grid.setCol(1);
        QCOMPARE(grid.Text(), QStringLiteral("4"));
        QCoreApplication::processEvents();
        QCOMPARE(grid.currentIndex(), grid.model()->index(1, 1));
        QVERIFY(grid.selectionModel()->isRowSelected(1, {}));

        grid.setRow(0); // the header: no cursor in the rows
        QCoreApplication::processEvents();
        QVERIFY(!grid.currentIndex().isValid());
        QCOMPARE(grid.Text(), QStringLiteral("B"));

        grid.setRow(7); // no such row
        QCOMPARE(grid.Row(), 0);
    }

    void mouseAndKeysReachTheWindow()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB\tC"), split("1\t2\t3"), split("4\t5\t6")});
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy clicked(&grid, &FlexGrid::cellClicked);
        QSignalSpy doubleClicked(&grid, &FlexGrid::cellDoubleClicked);
        QSignalSpy rightPressed(&grid, &FlexGrid::rightButtonPressed);
        QSignalSpy keyPressed(&grid, &FlexGrid::keyPressed);

        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(2, 1).center());
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.MouseRow(), 2);

        const QPoint onCell = grid.cellRect(1, 2).center();
        QTest::mousePress(grid.viewport(), Qt::RightButton, {}, onCell);
        QCOMPARE(rightPressed.count(), 1);
        QCOMPARE(rightPressed.first().first().toPoint(), grid.viewport()->mapToGlobal(onCell));
        QCOMPARE(grid.Row(), 2); // the right button does not move the cursor
        QVERIFY(grid.hasFocus());
        QTest::mouseRelease(grid.viewport(), Qt::RightButton, {}, onCell);

        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(keyPressed.count(), 1);
        QCOMPARE(keyPressed.first().first().toInt(), int(Qt::Key_Up));
        QCOMPARE(grid.Row(), 1);

        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(2, 0).center());
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 0);
    }

    // A grid with only its header row can still be searched by a column: a click on the header
    // makes that column current.
    void headerClicksMakeTheColumnCurrent()
    {
        FlexGrid grid;
        fill(grid, {split("Product ID\tUPC Code\tProduct Name")});
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QSignalSpy clicked(&grid, &FlexGrid::cellClicked);
        QSignalSpy doubleClicked(&grid, &FlexGrid::cellDoubleClicked);
        QSignalSpy rightPressed(&grid, &FlexGrid::rightButtonPressed);
        QWidget *header = grid.horizontalHeader()->viewport();

        QTest::mouseDClick(header, Qt::LeftButton, {}, grid.cellRect(0, 2).center());
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Row(), 0);
        QCOMPARE(grid.MouseRow(), 0);

        // With data rows the cursor goes to the first row below the header.
        grid.AddItem(QStringLiteral("1\t2\t3"));
        grid.AddItem(QStringLiteral("4\t5\t6"));
        grid.setRow(2);
        const auto clicksBefore = clicked.count();
        QTest::mouseClick(header, Qt::LeftButton, {}, grid.cellRect(0, 1).center());
        QCOMPARE(clicked.count(), clicksBefore + 1);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Row(), 1);

        QTest::mousePress(header, Qt::RightButton, {}, grid.cellRect(0, 0).center());
        QCOMPARE(rightPressed.count(), 1);
        QCOMPARE(grid.Col(), 1);
    }

    // Each cell's text stands where a painter puts one line in the cell, whatever its alignment,
    // and a text wider than its cell stays inside it.
    void cellsShowTheirTextInPlace()
    {
        FlexGrid grid;
        grid.resize(700, 200);
        grid.setFixedCols(0);
        fill(grid, {split("Name\tPrice\tCode\tNote\tNext"),
                    split("Widget\t$1,234.50\tAB\tA note far wider than its narrow column\t"),
                    split("Widget\t$7.00\tC\ttwo\nlines\t")});
        grid.setColAlignment(1, FlexGridModel::RightCenter);
        grid.setColAlignment(2, FlexGridModel::CenterCenter);
        grid.setColWidth(3, 600);
        grid.setRow(0);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCoreApplication::processEvents();
        const QImage shown = grid.viewport()->grab().toImage();
        const int margin =
            grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
        // Where the ink of a cell lies, the grid lines on its right and bottom left out.
        const auto inkOf = [](const QImage &image, const QRect &cell) {
            QRect ink;
            for (int y = cell.top(); y < cell.bottom(); ++y)
                for (int x = cell.left(); x < cell.right(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        ink |= QRect(x, y, 1, 1);
            return ink.translated(-cell.topLeft());
        };
        for (int row = 1; row <= 2; ++row) {
            for (int col = 0; col < 4; ++col) {
                const QRect cell = grid.visualRect(grid.model()->index(row - 1, col));
                QImage expected(cell.size(), QImage::Format_RGB32);
                expected.fill(Qt::white);
                QPainter painter(&expected);
                painter.setFont(grid.font());
                painter.drawText(
                    QRect(QPoint(0, 0), cell.size()).adjusted(margin, 0, -margin, 0),
                    grid.model()->index(row - 1, col).data(Qt::TextAlignmentRole).toInt() |
                        Qt::TextSingleLine,
                    grid.TextMatrix(row, col));
                painter.end();
                const QRect want = inkOf(expected, expected.rect());
                const QRect got = inkOf(shown, cell);
                QVERIFY2(!want.isEmpty(), qPrintable(grid.TextMatrix(row, col)));
                // Within a pixel of it on every side.
                const QRect grown = want.adjusted(-1, -1, 1, 1);
                const QRect shrunk = want.adjusted(1, 1, -1, -1);
                QVERIFY2(grown.contains(got) && got.contains(shrunk),
                         qPrintable(grid.TextMatrix(row, col)));
            }
            const QRect next = grid.visualRect(grid.model()->index(row - 1, 4));
            QVERIFY(inkOf(shown, next).isEmpty());
        }
    }
};

QTEST_MAIN(FlexGridTest)
#include "tst_flexgrid.moc"
