#include "warehouse/AskedWrite.h"

#include "warehouse/Dialogs.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"

namespace warehouse {

SeenRow seenRow(const QString &sql, const QVariantList &values, const QStringList &columns)
{
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    query.exec();
    if (!query.next())
        return std::nullopt;
    QStringList row;
    row.reserve(columns.size());
    for (const QString &column : columns)
        row << query.text(column);
    return row;
}

bool writeAfterAsking(const std::function<SeenRow()> &look, const QString &question,
                      const QString &caption, const std::function<void(bool stored)> &write)
{
    for (;;) {
        const SeenRow seen = look();
        if (seen && !Dialogs::instance().question(question, caption))
            return false;
        Transaction transaction;
        if (look() != seen) {
            transaction.rollback();
            continue;
        }
        write(seen.has_value());
        transaction.commit();
        return true;
    }
}

} // namespace warehouse
