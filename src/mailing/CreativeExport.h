#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The creative export: the product copy of chosen items of one mail package, page by page, as the
// text file the creative department lays its pages out from. Fields are separated by "##", lines
// end in "###" and CR LF, the file is in Windows-1252.
namespace creativeexport {

// The save dialog's filter.
QString fileFilter();

struct ExportResult
{
    bool written = false;
    // Product records written.
    int records = 0;
    // Why the file could not be written, when it was not and was not stopped.
    QString error;
    // The caller stopped the export; no file was written.
    bool stopped = false;
};

// Called after each record written; false stops the export.
using Progress = std::function<bool()>;

// Writes the placements of the package's items whose catalog (or insert) ID is listed into the
// file at `path`, replacing what it held; no placements give an empty file. The file takes its
// name only when it is complete, so a failure leaves any earlier file as it was. Throws DbError
// when the query fails; a file that cannot be written is reported in the result. A stop through
// `progress` likewise leaves any earlier file as it was.
ExportResult ExportPackageForCreative(const QString &packageID, const QStringList &catalogIDs,
                                      const QString &path, const Progress &progress = {});

} // namespace creativeexport
