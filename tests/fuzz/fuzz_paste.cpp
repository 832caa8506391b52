// Paste Grid over any clipboard text: the grid takes one row per line, enough columns for the
// widest line, and copies back without a failure.
#include "FuzzInput.h"

#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"

#include <QApplication>
#include <QClipboard>

namespace {
// Kept for the life of the process: destroying a QApplication among the exit handlers, after
// Qt's own statics are gone, crashes.
QApplication *application = nullptr;
FlexGrid *grid = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_paste";
    static char *argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
    grid = new FlexGrid;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Long inputs say nothing shorter ones do not, and a grid of thousands of rows is slow.
    if (size > 4096)
        return 0;
    const QString text = fuzzText(data, size);
    QGuiApplication::clipboard()->setText(text);
    PasteClipboardToGrid(*grid);

    const QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty()) {
        FUZZ_CHECK(grid->Rows() == 0);
    } else {
        const QStringList lines = pasted.contains(QLatin1String("\r\n"))
                                      ? pasted.split(QLatin1String("\r\n"))
                                      : pasted.split(QLatin1Char('\n'));
        FUZZ_CHECK(grid->Rows() == lines.size());
        for (const QString &line : lines)
            FUZZ_CHECK(line.isEmpty() || grid->Cols() >= line.count(QLatin1Char('\t')) + 1);
    }
    gridClipboardText(*grid);
    return 0;
}
