#pragma once

#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// Every row of every table of the warehouse as text, rows sorted, tables by lower-case name: two
// snapshots are equal when no write left a trace between them.
namespace snapshot {

using Tables = QMap<QString, QStringList>;

inline Tables take()
{
    Tables tables;
    for (const QString &table : gcnWarehouse().tables(QSql::Tables)) {
        if (table.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            continue;
        // Read beside the query layer, so that taking a snapshot counts as no statement.
        QSqlQuery query(gcnWarehouse());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT * FROM ") + table))
            qFatal("snapshot of %s failed", qPrintable(table));
        const int columns = query.record().count();
        QStringList rows;
        while (query.next()) {
            QStringList cells;
            for (int column = 0; column < columns; ++column) {
                const QVariant value = query.value(column);
                cells << (value.isNull() ? QStringLiteral("<NULL>") : sqlvalue::text(value));
            }
            rows << cells.join(QChar(0x1f));
        }
        rows.sort();
        tables.insert(table.toLower(), rows);
    }
    return tables;
}

// The first difference between two snapshots, for a failure message; empty when equal.
inline QString difference(const Tables &before, const Tables &after)
{
    QStringList names = before.keys() + after.keys();
    names.removeDuplicates();
    for (const QString &name : names) {
        const QStringList a = before.value(name);
        const QStringList b = after.value(name);
        if (a == b)
            continue;
        for (const QString &row : b)
            if (!a.contains(row))
                return name + QStringLiteral(": row added or changed: ") + row;
        for (const QString &row : a)
            if (!b.contains(row))
                return name + QStringLiteral(": row removed: ") + row;
        return name + QStringLiteral(": rows differ in number");
    }
    return {};
}

// Rows per table.
inline QMap<QString, int> rowCounts(const Tables &tables)
{
    QMap<QString, int> counts;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it)
        counts.insert(it.key(), int(it.value().size()));
    return counts;
}

} // namespace snapshot
