#include "shell/SpreadsheetExport.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>

#include <xlsxwriter.h>

namespace spreadsheet {

namespace {

// The longest text a spreadsheet cell holds.
constexpr qsizetype kMaxCellText = 32767;

Opener &installedOpener()
{
    static Opener opener;
    return opener;
}

QString describe(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

lxw_format *cellFormat(lxw_workbook *workbook, bool bold)
{
    lxw_format *format = workbook_add_format(workbook);
    format_set_font_size(format, kFontSize);
    format_set_border(format, LXW_BORDER_THIN);
    format_set_border_color(format, kBorderColour);
    if (bold)
        format_set_bold(format);
    return format;
}

QStringView fitInCell(QStringView text)
{
    if (text.size() <= kMaxCellText)
        return text;
    qsizetype length = kMaxCellText;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

std::optional<QString> writeWorkbook(const QString &path, const SheetCells &cells)
{
    const QByteArray fileName = QFile::encodeName(path);
    // The sheet is written row by row, so the library need not hold it in memory.
    QByteArray scratch = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = scratch.isEmpty() ? nullptr : scratch.data();
    options.use_zip64 = LXW_TRUE;
    lxw_workbook *workbook = workbook_new_opt(fileName.constData(), &options);
    if (!workbook)
        return QStringLiteral("The spreadsheet %1 could not be created.").arg(path);

    lxw_worksheet *sheet = workbook_add_worksheet(workbook, kSheetName);
    lxw_format *header = cellFormat(workbook, true);
    lxw_format *body = cellFormat(workbook, false);
    worksheet_set_paper(sheet, kLegalPaper);
    worksheet_set_landscape(sheet);

    lxw_error failure = LXW_NO_ERROR;
    for (int r = 0; r < cells.rows && failure == LXW_NO_ERROR; ++r) {
        lxw_format *format = r == 0 ? header : body;
        for (int c = 0; c < cells.cols; ++c) {
            const QByteArray text = fitInCell(cells.text(r, c)).toUtf8();
            failure =
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), text.constData(), format);
            if (failure != LXW_NO_ERROR)
                break;
        }
    }
    // Closing writes the file and frees the workbook, also after a failed cell.
    const lxw_error closed = workbook_close(workbook);
    if (failure == LXW_NO_ERROR)
        failure = closed;
    if (failure == LXW_NO_ERROR)
        return std::nullopt;
    QFile::remove(path);
    return describe(failure);
}

SavedWorkbook saveInTemporaryFolder(const SheetCells &cells)
{
    // An unusable TMPDIR gives an empty path, which would mean the current folder.
    const QString folderPath = QDir::tempPath();
    if (folderPath.isEmpty() || !QFileInfo(folderPath).isDir())
        return {QString(), QStringLiteral("The temporary folder could not be found.")};
    const QDir folder(folderPath);
    QTemporaryFile part(folder.filePath(QStringLiteral("Quennel Output XXXXXX.part")));
    if (!part.open())
        return {QString(), part.errorString()};
    part.close();
    if (auto error = writeWorkbook(part.fileName(), cells))
        return {QString(), *error};

    const QString base =
        QStringLiteral("Quennel Output ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    for (int attempt = 1;; ++attempt) {
        const QString name = attempt == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(attempt);
        const QString path = folder.filePath(name + QStringLiteral(".xlsx"));
        // Renaming never replaces an existing file: a name already taken means try the next.
        QFile written(part.fileName());
        if (written.rename(path))
            return {path, QString()};
        if (!QFile::exists(path) || attempt >= 1000)
            return {QString(), written.errorString()};
    }
}

Opener setOpener(Opener opener)
{
    std::swap(installedOpener(), opener);
    return opener;
}

bool openWorkbook(const QString &path)
{
    if (const Opener &opener = installedOpener())
        return opener(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace spreadsheet
