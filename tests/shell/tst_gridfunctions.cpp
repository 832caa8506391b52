// The grid functions: export to a spreadsheet (read back from the written workbook), search,
// clearing colours, and copy and paste through the clipboard.
#include "GridCells.h"
#include "ScriptedDialogs.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "shell/GridFunctions.h"
#include "shell/SpreadsheetExport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <unzip.h>

using namespace gridcells;

namespace {

constexpr quint32 kMixedColours = 0xFFFFFFFF;

// Back colour of every cell of a row, or kMixedColours when the cells differ.
quint32 rowColour(const FlexGrid &grid, int row)
{
    const quint32 first = grid.gridModel().backColor(row, 0);
    for (int c = 1; c < grid.Cols(); ++c)
        if (grid.gridModel().backColor(row, c) != first)
            return kMixedColours;
    return first;
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

// ---- reading a written workbook back

QByteArray zipEntry(const QString &zipPath, const char *entry)
{
    unzFile zip = unzOpen64(QFile::encodeName(zipPath).constData());
    if (!zip)
        return {};
    QByteArray data;
    if (unzLocateFile(zip, entry, 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[8192];
        int read = 0;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            data.append(buffer, read);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return data;
}

struct SheetCell
{
    QString text;
    int style = 0;
};

struct CellStyle
{
    bool bold = false;
    QString fontSize;
    QStringList borders; // style and colour of the left, right, top and bottom borders
};

struct Workbook
{
    QString sheetName;
    QMap<QString, SheetCell> cells; // by reference, "A1"
    QXmlStreamAttributes pageSetup;
    QList<CellStyle> styles; // by style index
};

QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"si")
            strings << QString();
        else if (reader.name() == u"t" && !strings.isEmpty())
            strings.last() += reader.readElementText();
    }
    return strings;
}

QMap<QString, SheetCell> sheetCells(const QByteArray &xml, const QStringList &shared,
                                    QXmlStreamAttributes &pageSetup)
{
    QMap<QString, SheetCell> cells;
    QXmlStreamReader reader(xml);
    QString ref;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"c") {
            ref = reader.attributes().value(QLatin1String("r")).toString();
            type = reader.attributes().value(QLatin1String("t")).toString();
            cells[ref].style = reader.attributes().value(QLatin1String("s")).toInt();
        } else if (reader.name() == u"t") {
            cells[ref].text += reader.readElementText();
        } else if (reader.name() == u"v") {
            const QString value = reader.readElementText();
            cells[ref].text = type == u"s" ? shared.value(value.toInt()) : value;
        } else if (reader.name() == u"pageSetup") {
            pageSetup = reader.attributes();
        }
    }
    return cells;
}

QList<CellStyle> cellStyles(const QByteArray &xml)
{
    struct Font
    {
        bool bold = false;
        QString size;
    };
    QList<Font> fonts;
    QList<QStringList> borders;
    QList<CellStyle> styles;
    QString section;
    QString side;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto name = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (name == u"fonts" || name == u"borders" || name == u"cellXfs" ||
            name == u"cellStyleXfs") {
            section = name.toString();
        } else if (section == u"fonts") {
            if (name == u"font")
                fonts.append(Font());
            else if (name == u"b")
                fonts.last().bold = true;
            else if (name == u"sz")
                fonts.last().size = attributes.value(QLatin1String("val")).toString();
        } else if (section == u"borders") {
            if (name == u"border") {
                borders.append(QStringList());
            } else if (name == u"left" || name == u"right" || name == u"top" || name == u"bottom") {
                side = name.toString();
                borders.last() << QStringLiteral("%1 %2").arg(
                    side, attributes.value(QLatin1String("style")));
            } else if (name == u"color" && !side.isEmpty()) {
                borders.last().last() +=
                    QStringLiteral(" %1").arg(attributes.value(QLatin1String("rgb")));
            }
        } else if (section == u"cellXfs" && name == u"xf") {
            const Font font = fonts.value(attributes.value(QLatin1String("fontId")).toInt());
            styles.append(
                CellStyle{font.bold, font.size,
                          borders.value(attributes.value(QLatin1String("borderId")).toInt())});
        }
    }
    return styles;
}

Workbook readWorkbook(const QString &path)
{
    Workbook book;
    QXmlStreamReader workbook(zipEntry(path, "xl/workbook.xml"));
    while (!workbook.atEnd())
        if (workbook.readNext() == QXmlStreamReader::StartElement && workbook.name() == u"sheet")
            book.sheetName = workbook.attributes().value(QLatin1String("name")).toString();
    book.cells = sheetCells(zipEntry(path, "xl/worksheets/sheet1.xml"),
                            sharedStrings(zipEntry(path, "xl/sharedStrings.xml")), book.pageSetup);
    book.styles = cellStyles(zipEntry(path, "xl/styles.xml"));
    return book;
}

QString cellRef(int row, int col)
{
    return QString(QChar(u'A' + col)) + QString::number(row + 1);
}

// Replaces the program that opens exported workbooks for the life of the scope.
class RecordingOpener
{
public:
    explicit RecordingOpener(bool opens = true)
    {
        m_previous = spreadsheet::setOpener([this, opens](const QString &path) {
            opened << path;
            return opens;
        });
    }
    ~RecordingOpener() { spreadsheet::setOpener(std::move(m_previous)); }
    QStringList opened;

private:
    spreadsheet::Opener m_previous;
};

} // namespace

class GridFunctionsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp;

    QStringList filesInTemp() const { return QDir(m_temp.path()).entryList(QDir::Files); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        // Exports land in the temporary folder; keep them in this test's own.
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void init()
    {
        for (const QString &file : filesInTemp())
            QFile::remove(QDir(m_temp.path()).filePath(file));
    }

    void headerOnlyGrid()
    {
        ScriptedDialogsScope dialogs;
        RecordingOpener opener;
        FlexGrid grid;
        fill(grid, {split("Product ID\tProduct Name")});
        grid.setCol(1);

        ExportGridToExcel(grid);
        SearchGrid(grid, 0, QStringLiteral("Product"));
        ClearGridBackColor(grid);
        QCOMPARE(dialogs->messages(),
                 (QStringList{QStringLiteral("No Data to Export"),
                              QStringLiteral("No Data inside the specified grid to search."),
                              QStringLiteral("Can't clear the grid back color because the grid "
                                             "has no values.")}));
        for (const ScriptedDialogs::Call &call : dialogs->calls()) {
            QCOMPARE(call.title, QStringLiteral("Folvane"));
            QCOMPARE(call.icon, Dialogs::Icon::Information);
        }
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(rowColour(grid, 0), 0u);

        CopyGridToClipboard(grid);
        QCOMPARE(clipboardText(), QStringLiteral("Product ID\tProduct Name\r\n"));
        CopyCellToClipboard(grid);
        QCOMPARE(clipboardText(), QStringLiteral("Product Name"));
        PasteClipboardToCell(grid);
        setClipboardText(QStringLiteral("pasted"));
        PasteClipboardToCell(grid);
        QCOMPARE(cells(grid), QList<QStringList>{split("Product ID\tProduct Name")});
        QCOMPARE(dialogs->calls().size(), 3);
    }

    void copyRefusesLongGrids_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("copied");
        QTest::newRow("250 rows") << 250 << true;
        QTest::newRow("251 rows") << 251 << false;
    }

    void copyRefusesLongGrids()
    {
        QFETCH(int, rows);
        QFETCH(bool, copied);
        ScriptedDialogsScope dialogs;
        FlexGrid grid;
        fill(grid, {split("A\tB")});
        for (int r = 1; r < rows; ++r)
            grid.AddItem(QStringLiteral("%1\tx").arg(r));
        setClipboardText(QStringLiteral("before"));

        CopyGridToClipboard(grid);
        if (copied) {
            QVERIFY(dialogs->calls().isEmpty());
            QCOMPARE(clipboardText().count(QStringLiteral("\r\n")), rows);
            QVERIFY(clipboardText().endsWith(QStringLiteral("249\tx\r\n")));
        } else {
            QCOMPARE(dialogs->messages(),
                     QStringList{QStringLiteral("Too many rows to copy.  Sorry...")});
            QCOMPARE(clipboardText(), QStringLiteral("before"));
        }
    }

    void copyKeepsEachCellOnItsLine_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("copied");
        QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a b");
        QTest::newRow("line break") << QStringLiteral("a\r\nb") << QStringLiteral("a b");
        QTest::newRow("line feed") << QStringLiteral("a\nb") << QStringLiteral("ab");
        QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringLiteral("a b");
    }

    void copyKeepsEachCellOnItsLine()
    {
        QFETCH(QString, cell);
        QFETCH(QString, copied);
        FlexGrid grid;
        fill(grid, {split("H1\tH2"), split("x\ty")});
        grid.setTextMatrix(1, 0, cell);
        CopyGridToClipboard(grid);
        QCOMPARE(clipboardText(),
                 QStringLiteral("H1\tH2\r\n") + copied + QStringLiteral("\ty\r\n"));
    }

    void copiedGridPastesIntoAnotherGrid()
    {
        FlexGrid source;
        const QList<QStringList> rows{split("Product ID\tName\tPrice"), split("P1\tWidget\t$1.00"),
                                      split("\t\t"), split("P3\t\t$3,000.00")};
        fill(source, rows);
        CopyGridToClipboard(source);

        FlexGrid target;
        fill(target, {split("a\tb\tc\td\te"), split("1\t2\t3\t4\t5")});
        target.setRowsBackColor(1, 1, 0xC0FFC0);
        PasteClipboardToGrid(target);

        QCOMPARE(target.FixedRows(), 1);
        QCOMPARE(target.Cols(), 3);
        QCOMPARE(cells(target), rows + QList<QStringList>{split("\t\t")});
        QCOMPARE(rowColour(target, 1), 0u);
        target.showAppendedRows();
        QCOMPARE(target.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(target.model()->rowCount(), 4);
    }

    void pasteToGrid_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("fixedRows");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("nothing") << QString() << 0 << QList<QStringList>{};
        QTest::newRow("one line") << QStringLiteral("A\tB") << 0
                                  << QList<QStringList>{split("A\tB")};
        QTest::newRow("columns never reduced")
            << QStringLiteral("A\tB\r\n1\r\n1\t2\t3\r\n") << 1
            << QList<QStringList>{split("A\tB\t"), split("1\t\t"), split("1\t2\t3"), split("\t\t")};
        QTest::newRow("line feeds of other programs")
            << QStringLiteral("A\tB\n1\t2") << 1
            << QList<QStringList>{split("A\tB"), split("1\t2")};
    }

    void pasteToGrid()
    {
        QFETCH(QString, clipboard);
        QFETCH(int, fixedRows);
        QFETCH(QList<QStringList>, rows);
        FlexGrid grid;
        fill(grid, {split("old\theader"), split("old\trow")});
        setClipboardText(clipboard);
        PasteClipboardToGrid(grid);
        QCOMPARE(cells(grid), rows);
        QCOMPARE(grid.Cols(), rows.isEmpty() ? 0 : int(rows.first().size()));
        QCOMPARE(grid.FixedRows(), fixedRows);
    }

    void pasteToCellTakesTheWholeText()
    {
        FlexGrid grid;
        fill(grid, {split("A\tB"), split("1\t2"), split("3\t4")});
        grid.setRow(2);
        grid.setCol(1);
        setClipboardText(QStringLiteral("x\ty\r\nz"));
        PasteClipboardToCell(grid);
        QCOMPARE(grid.TextMatrix(2, 1), QStringLiteral("x\ty\r\nz"));
        CopyCellToClipboard(grid);
        QCOMPARE(clipboardText(), QStringLiteral("x\ty\r\nz"));
    }

    void searchHighlightsMatchingRowsUntilCleared()
    {
        ScriptedDialogsScope dialogs;
        FlexGrid grid;
        fill(grid,
             {split("ID\tName\tCategory"), split("1\tRed WIDGET\tToys"), split("2\tGadget\tTools"),
              split("3\tsuperwidgets\tToys"), split("4\tWidget\tx"), split("5\tName\ty")});

        SearchGrid(grid, 1, QStringLiteral("widget"));
        QCOMPARE(rowColour(grid, 0), 0u);
        QCOMPARE(rowColour(grid, 1), kSearchHighlight);
        QCOMPARE(rowColour(grid, 2), 0u);
        QCOMPARE(rowColour(grid, 3), kSearchHighlight);
        QCOMPARE(rowColour(grid, 4), kSearchHighlight);
        QCOMPARE(rowColour(grid, 5), 0u);
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.Col(), 2);

        // A later search adds to the highlights; the header row is never searched.
        SearchGrid(grid, 1, QStringLiteral("name"));
        SearchGrid(grid, 1, QStringLiteral("GADGET"));
        QCOMPARE(rowColour(grid, 0), 0u);
        QCOMPARE(rowColour(grid, 1), kSearchHighlight);
        QCOMPARE(rowColour(grid, 2), kSearchHighlight);
        QCOMPARE(rowColour(grid, 5), kSearchHighlight);
        QCOMPARE(grid.Row(), 2);

        SearchGrid(grid, 0, QStringLiteral("nothing"));
        QCOMPARE(grid.Row(), 2);

        ClearGridBackColor(grid);
        QCOMPARE(rowColour(grid, 0), 0u);
        for (int r = 1; r < grid.Rows(); ++r)
            QCOMPARE(rowColour(grid, r), kClearedBackColor);
        QCOMPARE(grid.Row(), 5);
        QCOMPARE(grid.Col(), 2);
        QVERIFY(dialogs->calls().isEmpty());
    }

    void exportWritesTheWholeGridAndOpensIt()
    {
        ScriptedDialogsScope dialogs;
        RecordingOpener opener;
        FlexGrid grid;
        const QList<QStringList> rows{split("Product ID\tName\tPrice"),
                                      split("P1\tWidget & <Co>\t$1,234.50"), split("\t\t"),
                                      split("0042\tÉtagère\t12.50%")};
        fill(grid, rows);
        grid.setColWidth(0, 0); // hidden columns are exported too

        ExportGridToExcel(grid);
        QVERIFY(dialogs->calls().isEmpty());
        QCOMPARE(opener.opened.size(), 1);
        const QString path = opener.opened.first();
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_temp.path()).absoluteFilePath());
        QVERIFY(path.endsWith(QStringLiteral(".xlsx")));
        QCOMPARE(filesInTemp(), QStringList{QFileInfo(path).fileName()}); // nothing half-written

        const Workbook book = readWorkbook(path);
        QCOMPARE(book.sheetName, QStringLiteral("Quennel Output"));
        QCOMPARE(book.pageSetup.value(QLatin1String("paperSize")).toString(), QStringLiteral("5"));
        QCOMPARE(book.pageSetup.value(QLatin1String("orientation")).toString(),
                 QStringLiteral("landscape"));
        QCOMPARE(book.cells.size(), 12);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < 3; ++c) {
                const QString ref = cellRef(r, c);
                QVERIFY2(book.cells.contains(ref), qPrintable(ref));
                const SheetCell cell = book.cells.value(ref);
                QCOMPARE(cell.text, rows[r][c]);
                const CellStyle style = book.styles.value(cell.style);
                QCOMPARE(style.bold, r == 0);
                QCOMPARE(style.fontSize, QStringLiteral("8"));
                QCOMPARE(style.borders, (QStringList{QStringLiteral("left thin FF050000"),
                                                     QStringLiteral("right thin FF050000"),
                                                     QStringLiteral("top thin FF050000"),
                                                     QStringLiteral("bottom thin FF050000")}));
            }
        }

        // A second export gets a name of its own.
        ExportGridToExcel(grid);
        QCOMPARE(opener.opened.size(), 2);
        QVERIFY(opener.opened[1] != path);
        QCOMPARE(filesInTemp().size(), 2);
    }

    void exportFailuresAreReported()
    {
        ScriptedDialogsScope dialogs;
        FlexGrid grid;
        fill(grid, {split("A"), split("1")});
        {
            RecordingOpener opener(false);
            ExportGridToExcel(grid);
            QCOMPARE(opener.opened.size(), 1);
            QVERIFY(
                dialogs->last().text.startsWith(QStringLiteral("The spreadsheet was saved as ")));
        }
        // A temporary folder that cannot hold files: the error's description, nothing opened.
        const QString notAFolder = m_temp.filePath(QStringLiteral("not a folder"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("TMPDIR", QFile::encodeName(notAFolder));
        RecordingOpener opener;
        dialogs->clear();
        ExportGridToExcel(grid);
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(!dialogs->messages().first().isEmpty());
        QVERIFY(opener.opened.isEmpty());

        // The writer reports the library's own description and leaves no file behind.
        const QString unwritable = m_temp.filePath(QStringLiteral("missing/grid.xlsx"));
        const auto error = spreadsheet::writeWorkbook(unwritable, {1, 1, [](int, int) {
                                                                       return QStringView(u"x");
                                                                   }});
        QVERIFY(error);
        QVERIFY2(error->contains(QStringLiteral("xlsx file")), qPrintable(*error));
        QVERIFY(!QFile::exists(unwritable));
    }

    // The workbook writer on its own: every row reaches the sheet, also past the clipboard's limit.
    void workbookHoldsLargeGrids()
    {
        const QString path = m_temp.filePath(QStringLiteral("large.xlsx"));
        const spreadsheet::SheetCells sheet{3000, 2, [](int r, int c) -> QStringView {
                                                static QString text;
                                                text = QStringLiteral("r%1c%2").arg(r).arg(c);
                                                return text;
                                            }};
        const auto error = spreadsheet::writeWorkbook(path, sheet);
        QVERIFY2(!error, qPrintable(error.value_or(QString())));
        const Workbook book = readWorkbook(path);
        QCOMPARE(book.cells.size(), 6000);
        QCOMPARE(book.cells.value(QStringLiteral("B3000")).text, QStringLiteral("r2999c1"));
    }
};

QTEST_MAIN(GridFunctionsTest)
#include "tst_gridfunctions.moc"
