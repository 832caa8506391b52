#include "catalog/TextLimits.h"

#include "warehouse/DbError.h"

namespace catalog {

QString tooLongMessage(const QString &field, const QString &text, int limit)
{
    if (text.size() <= limit)
        return {};
    return QStringLiteral("%1 can't exceed %2 characters.").arg(field).arg(limit);
}

void refuseTooLong(const QString &field, const QString &text, int limit)
{
    const QString message = tooLongMessage(field, text, limit);
    if (!message.isEmpty())
        throw DbError(QStringLiteral("0"), message);
}

} // namespace catalog
