#include "warehouse/Clubs.h"

#include "warehouse/Query.h"

namespace warehouse {

QStringList clubIds()
{
    Query query(QStringLiteral("SELECT ClubID From tblMapDefault GROUP BY ClubID ORDER BY ClubID"));
    query.exec();
    QStringList clubs;
    while (query.next())
        clubs << query.text(0);
    return clubs;
}

} // namespace warehouse
