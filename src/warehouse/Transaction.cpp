#include "warehouse/Transaction.h"

#include "warehouse/ChangeNotices.h"
#include "warehouse/ConnectionLock.h"
#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"
#include "warehouse/LostConnection.h"
#include "warehouse/OpenResult.h"
#include "warehouse/Warehouse.h"

#include <QSqlError>
#include <QSqlQuery>

Transaction::Transaction()
{
    QSqlDatabase db = gcnWarehouse();
    OpenResult::statementStarting(db.driver(), QStringLiteral("BEGIN TRANSACTION"));
    const ConnectionLock lock(warehouse::sqliteHandle());
    if (db.driverName() == QLatin1String("QSQLITE")) {
        // The embedded file's write lock is taken at once, so a second client waits its turn (the
        // busy timeout) rather than failing when both have read and then both want to write.
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            throw DbError(begin.lastError());
    } else if (!db.transaction()) {
        throw DbError(db.lastError());
    }
    m_open = true;
    warehouse::lostconnection::transactionBegun();
    ChangeNotices::transactionBegun();
}

Transaction::~Transaction() { rollback(); }

void Transaction::commit()
{
    // A failed commit rolls back at once, not only when the transaction goes out of scope.
    try {
        ChangeNotices::beforeCommit();
        QSqlDatabase db = gcnWarehouse();
        OpenResult::statementStarting(db.driver(), QStringLiteral("COMMIT"));
        faults::beforeStatement(QStringLiteral("COMMIT"));
        warehouse::lostconnection::commitStarting();
        const ConnectionLock lock(warehouse::sqliteHandle());
        if (!db.commit())
            throw DbError(db.lastError());
    } catch (const DbError &) {
        rollback();
        throw;
    }
    m_open = false;
    warehouse::lostconnection::transactionEnded();
    ChangeNotices::transactionEnded(true);
}

void Transaction::rollback()
{
    if (m_open) {
        m_open = false;
        const ConnectionLock lock(warehouse::sqliteHandle());
        gcnWarehouse().rollback();
        warehouse::lostconnection::transactionEnded();
        ChangeNotices::transactionEnded(false);
    }
}
