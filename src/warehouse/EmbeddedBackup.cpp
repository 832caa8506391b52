// The online backup of the embedded warehouse, through SQLite's backup API on the client's own
// connection: pages are copied a batch at a time, so the copy is consistent even while another
// connection writes, and the operator sees it progress.
#include "warehouse/ConnectionLock.h"
#include "warehouse/DbError.h"
#include "warehouse/Warehouse.h"

#include <QFile>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>

namespace warehouse {
namespace {

constexpr int kPagesPerStep = 256;

[[noreturn]] void fail(const QString &description)
{
    throw DbError(QStringLiteral("0"), description);
}

sqlite3 *embeddedHandle()
{
    if (!isEmbedded())
        fail(QStringLiteral("Only the embedded warehouse can be backed up here."));
    sqlite3 *handle = sqliteHandle();
    if (!handle)
        fail(QStringLiteral("The embedded warehouse gives no access to its file."));
    return handle;
}

// Whether two paths name one file, by any path, symbolic or hard link.
bool sameFile(const QString &one, const QString &other)
{
    std::error_code missing;
    return std::filesystem::equivalent(QFile::encodeName(one).toStdString(),
                                       QFile::encodeName(other).toStdString(), missing);
}

} // namespace

void backUpEmbedded(const QString &targetPath, const std::function<void(int, int)> &progress)
{
    sqlite3 *source = embeddedHandle();
    // Replaced under the open connection, the warehouse would refuse every later save.
    if (sameFile(targetPath, QString::fromUtf8(sqlite3_db_filename(source, "main"))))
        fail(QStringLiteral("%1 is the warehouse in use and cannot be its own backup. Choose "
                            "another file.")
                 .arg(targetPath));
    // The copy is made under a temporary name and takes its own only when whole.
    const QString partial = targetPath + QStringLiteral(".part");
    QFile::remove(partial);
    sqlite3 *target = nullptr;
    QString error;
    if (sqlite3_open(QFile::encodeName(partial).constData(), &target) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(target));
    } else if (sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main")) {
        int step = SQLITE_OK;
        do {
            {
                const ConnectionLock lock(source);
                step = sqlite3_backup_step(backup, kPagesPerStep);
            }
            if (progress)
                progress(sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup),
                         sqlite3_backup_pagecount(backup));
            if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED);
        {
            const ConnectionLock lock(source);
            sqlite3_backup_finish(backup);
        }
        if (step != SQLITE_DONE)
            error = QString::fromUtf8(sqlite3_errstr(step));
    } else {
        error = QString::fromUtf8(sqlite3_errmsg(target));
    }
    sqlite3_close(target);
    // One replacing rename: an earlier backup of that name stays until the new one takes its place.
    if (error.isEmpty() && std::rename(QFile::encodeName(partial).constData(),
                                       QFile::encodeName(targetPath).constData()) != 0)
        error = QStringLiteral("The copy could not be named %1.").arg(targetPath);
    if (!error.isEmpty()) {
        QFile::remove(partial);
        fail(error);
    }
}

} // namespace warehouse
