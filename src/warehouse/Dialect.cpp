#include "warehouse/Dialect.h"

#include "warehouse/Warehouse.h"

namespace dialect {
namespace {

thread_local std::optional<Dialect> t_speaking;

Dialect current() { return t_speaking.value_or(warehouse::dialect()); }

// The bound value of a LIKE pattern.
QString boundPattern()
{
    return current() == Dialect::SqlServer
               ? QStringLiteral("REPLACE(CAST(? AS nvarchar(max)), '[', '[[]')")
               : QStringLiteral("?");
}

} // namespace

std::optional<Dialect> ofDbmsName(const QString &dbmsName)
{
    if (dbmsName.contains(QLatin1String("Microsoft SQL Server"), Qt::CaseInsensitive))
        return Dialect::SqlServer;
    if (dbmsName.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        return Dialect::PostgreSQL;
    return std::nullopt;
}

Speaking::Speaking(Dialect dialect)
    : m_previous(t_speaking)
{
    t_speaking = dialect;
}

Speaking::~Speaking() { t_speaking = m_previous; }

QString concat(const QStringList &expressions)
{
    return expressions.join(current() == Dialect::SqlServer ? QStringLiteral(" + ")
                                                            : QStringLiteral(" || "));
}

QString substring(const QString &expression, int start, int length)
{
    return (current() == Dialect::SqlServer ? QStringLiteral("SUBSTRING(")
                                            : QStringLiteral("substr(")) +
           expression + QStringLiteral(", %1, %2)").arg(start).arg(length);
}

QString like()
{
    return current() == Dialect::PostgreSQL ? QStringLiteral("ILIKE") : QStringLiteral("LIKE");
}

QString containsParameter(const QString &expression)
{
    return expression + QLatin1Char(' ') + like() + QLatin1Char(' ') +
           concat({QStringLiteral("'%'"), boundPattern(), QStringLiteral("'%'")});
}

QString likeParameter(const QString &expression)
{
    return expression + QLatin1Char(' ') + like() + QLatin1Char(' ') + boundPattern();
}

QString equalsNumber(const QString &expression)
{
    return expression + QStringLiteral(" = CAST(? AS DOUBLE PRECISION)");
}

QString asWritten(const QString &column)
{
    switch (current()) {
    case Dialect::SQLite:
        return column + QStringLiteral(" COLLATE BINARY");
    case Dialect::PostgreSQL: // citext as text
        return QStringLiteral("CAST(%1 AS TEXT)").arg(column);
    case Dialect::SqlServer:
        return column + QStringLiteral(" COLLATE Latin1_General_BIN2");
    }
    return column;
}

QString dateText(const QString &column)
{
    switch (current()) {
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
