#include "warehouse/Transaction.h"

#include "warehouse/DbError.h"
#include "warehouse/FaultInjection.h"
#include "warehouse/Warehouse.h"

#include <QSqlError>

Transaction::Transaction()
{
    QSqlDatabase db = gcnWarehouse();
    if (!db.transaction())
        throw DbError(db.lastError());
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        gcnWarehouse().rollback();
}

void Transaction::commit()
{
    QSqlDatabase db = gcnWarehouse();
    try {
        faults::beforeStatement(QStringLiteral("COMMIT"));
    } catch (const DbError &) {
        rollback();
        throw;
    }
    if (!db.commit()) {
        const DbError error(db.lastError());
        rollback();
        throw error;
    }
    m_open = false;
}

void Transaction::rollback()
{
    if (m_open) {
        m_open = false;
        gcnWarehouse().rollback();
    }
}
