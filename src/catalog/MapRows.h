#pragma once

#include "catalog/NodeKey.h"

#include <QString>
#include <QVariantList>

class Query;

namespace catalog {

// The rows of one map, for a statement on the catalog test or insert a NodeKey names: a WHERE
// condition with "?" placeholders and the values that go with them, in order.
//
//     const MapRows placements = MapRows::placementsOf(key);
//     Query query(QStringLiteral("DELETE FROM tblProductsMap WHERE ") + placements.where() +
//                 QStringLiteral(" AND PageNum = ?"));
//     placements.bindTo(query).bind(page).exec();
//
// A key that names neither selects no row.
class MapRows
{
public:
    // Placements in tblProductsMap: a catalog test's by club, catalog and test; an insert's by its
    // ID under CatalogID with neither club nor test, so that a catalog whose ID happens to equal an
    // insert's is never touched. Qualified: columns named with their table, for joins.
    static MapRows placementsOf(const NodeKey &key, bool qualified = false);
    // Page rows: tblCatalogMap by club, catalog and test, or tblInsertMap by insert ID.
    static MapRows pagesOf(const NodeKey &key);

    // The table the rows are in.
    const QString &table() const { return m_table; }
    const QString &where() const { return m_where; }
    Query &bindTo(Query &query) const;

    // ClubID, CatalogID and TestID of a new placement on the key's map: NULL club and test for
    // an insert.
    static QVariantList placementKeyValues(const NodeKey &key);

private:
    QString m_table;
    QString m_where;
    QVariantList m_values;
};

} // namespace catalog
