#include "catalog/MapRows.h"

#include "warehouse/Query.h"

namespace catalog {

namespace {

QString columns(const QString &table, std::initializer_list<const char *> names,
                const char *tail = nullptr)
{
    const QString prefix = table.isEmpty() ? QString() : table + QLatin1Char('.');
    QStringList parts;
    for (const char *name : names)
        parts << prefix + QLatin1String(name) + QStringLiteral(" = ?");
    if (tail)
        parts << QString::fromLatin1(tail).arg(prefix);
    return parts.join(QStringLiteral(" AND "));
}

} // namespace

MapRows MapRows::placementsOf(const NodeKey &key, bool qualified)
{
    MapRows rows;
    rows.m_table = QStringLiteral("tblProductsMap");
    const QString table = qualified ? rows.m_table : QString();
    if (key.isCatalog()) {
        rows.m_where = columns(table, {"ClubID", "CatalogID", "TestID"});
        rows.m_values = {key.clubId(), key.catalogId(), key.testId()};
    } else if (key.isInsert()) {
        rows.m_where = columns(table, {"CatalogID"}, "%1ClubID IS NULL AND %1TestID IS NULL");
        rows.m_values = {key.insertId()};
    } else {
        rows.m_where = QStringLiteral("1 = 0");
    }
    return rows;
}

MapRows MapRows::pagesOf(const NodeKey &key)
{
    MapRows rows;
    if (key.isCatalog()) {
        rows.m_table = QStringLiteral("tblCatalogMap");
        rows.m_where = columns({}, {"ClubID", "CatalogID", "TestID"});
        rows.m_values = {key.clubId(), key.catalogId(), key.testId()};
    } else {
        rows.m_table = QStringLiteral("tblInsertMap");
        rows.m_where = key.isInsert() ? columns({}, {"InsertID"}) : QStringLiteral("1 = 0");
        if (key.isInsert())
            rows.m_values = {key.insertId()};
    }
    return rows;
}

Query &MapRows::bindTo(Query &query) const
{
    for (const QVariant &value : m_values)
        query.bind(value);
    return query;
}

QVariantList MapRows::placementKeyValues(const NodeKey &key)
{
    if (key.isInsert())
        return {Query::nullText(), key.insertId(), Query::nullText()};
    return {key.clubId(), key.catalogId(), key.testId()};
}

} // namespace catalog
