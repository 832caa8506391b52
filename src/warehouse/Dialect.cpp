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

QString equalsNumber(const QString &expression)
{
    return expression + QStringLiteral(" = CAST(? AS DOUBLE PRECISION)");
}

QString dateText(const QString &column)
{
    switch (warehouse::dialect()) {
    case Dialect::SQLite: // kept as 'yyyy-mm-dd'
        return concat({QStringLiteral("substr(%1, 6, 2)").arg(column), QStringLiteral("'/'"),
                       QStringLiteral("substr(%1, 9, 2)").arg(column), QStringLiteral("'/'"),
                       QStringLiteral("substr(%1, 1, 4)").arg(column)});
    case Dialect::PostgreSQL:
        return QStringLiteral("to_char(%1, 'MM/DD/YYYY')").arg(column);
    case Dialect::SqlServer: // style 101 is mm/dd/yyyy
        return QStringLiteral("CONVERT(varchar(10), %1, 101)").arg(column);
    }
    return column;
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
