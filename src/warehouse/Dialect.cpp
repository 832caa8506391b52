#include "warehouse/Dialect.h"

#include "warehouse/Warehouse.h"

namespace dialect {

QString concat(const QStringList &expressions)
{
    return expressions.join(warehouse::dialect() == Dialect::SqlServer ? QStringLiteral(" + ")
                                                                       : QStringLiteral(" || "));
}

QString substring(const QString &expression, int start, int length)
{
    return (warehouse::dialect() == Dialect::SqlServer ? QStringLiteral("SUBSTRING(")
                                                       : QStringLiteral("substr(")) +
           expression + QStringLiteral(", %1, %2)").arg(start).arg(length);
}

QString like()
{
    return warehouse::dialect() == Dialect::PostgreSQL ? QStringLiteral("ILIKE")
                                                       : QStringLiteral("LIKE");
}

QString containsParameter(const QString &expression)
{
    return expression + QLatin1Char(' ') + like() + QLatin1Char(' ') +
           concat({QStringLiteral("'%'"), QStringLiteral("?"), QStringLiteral("'%'")});
}

QString categoryName()
{
    return QStringLiteral(
               "CASE WHEN tblInvCategories.lvl = 1 THEN tblInvCategories.CatDesc ELSE ") +
           concat({QStringLiteral("tblInvCategories_1.CatDesc"), QStringLiteral("' / '"),
                   QStringLiteral("tblInvCategories.CatDesc")}) +
           QStringLiteral(" END");
}

} // namespace dialect
