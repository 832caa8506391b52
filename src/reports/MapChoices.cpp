#include "reports/MapChoices.h"

#include "catalog/NodeKey.h"
#include "warehouse/Query.h"

#include <algorithm>

using catalog::NodeKey;

std::vector<reports::MapChoice> reports::loadMapChoices()
{
    std::vector<MapChoice> choices;
    {
        Query query(QStringLiteral(
            "SELECT tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID, "
            "MIN(tblCycleSchedule.Description) FROM tblCatalogMap LEFT OUTER JOIN tblCycleSchedule "
            "ON tblCycleSchedule.ClubID = tblCatalogMap.ClubID AND tblCycleSchedule.CatalogID = "
            "tblCatalogMap.CatalogID GROUP BY tblCatalogMap.ClubID, tblCatalogMap.CatalogID, "
            "tblCatalogMap.TestID ORDER BY tblCatalogMap.ClubID, tblCatalogMap.CatalogID, "
            "tblCatalogMap.TestID"));
        query.exec();
        while (query.next()) {
            const QString club = query.text(0);
            const QString catalogId = query.text(1);
            const QString test = query.text(2);
            QString text = club + QStringLiteral("  ") + catalog::catalogTestText(catalogId, test);
            if (!query.isNull(3))
                text += QStringLiteral("  ") + query.text(3);
            choices.push_back({NodeKey::catalogTestKey(club, catalogId, test), text,
                               QStringLiteral("ID|") + club + QLatin1Char('|') + catalogId});
        }
    }
    // The view lists an insert's pages together, newest insert first.
    Query query(QStringLiteral("SELECT InsertId, InsertDescription FROM viewMapInsertsDisplay"));
    query.exec();
    QString last;
    while (query.next()) {
        const QString id = query.text(0);
        if (id == last)
            continue;
        last = id;
        const QString key = NodeKey::insertKey(id);
        choices.push_back(
            {key, QStringLiteral("Insert  ") + query.text(1) + QStringLiteral("  ") + id, key});
    }
    return choices;
}

const reports::MapChoice *reports::findMapChoice(const std::vector<MapChoice> &choices,
                                                 const QString &typed)
{
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty())
        return nullptr;
    for (const MapChoice &choice : choices)
        if (choice.text.compare(wanted, Qt::CaseInsensitive) == 0)
            return &choice;
    const MapChoice *found = nullptr;
    for (const MapChoice &choice : choices) {
        const NodeKey key(choice.key);
        const QString shortName = key.isCatalog()
                                      ? catalog::catalogTestText(key.catalogId(), key.testId())
                                      : key.insertId();
        if (shortName.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            return nullptr; // "B105 - 0001" of two clubs
        found = &choice;
    }
    return found;
}

std::vector<const reports::MapChoice *>
reports::comparableChoices(const std::vector<MapChoice> &choices, const QString &key)
{
    const auto chosen = std::find_if(choices.begin(), choices.end(),
                                     [&](const MapChoice &choice) { return choice.key == key; });
    const QString group = chosen == choices.end() ? QString() : chosen->group;
    std::vector<const MapChoice *> sameCatalog;
    std::vector<const MapChoice *> others;
    for (const MapChoice &choice : choices)
        if (choice.key != key)
            (choice.group == group ? sameCatalog : others).push_back(&choice);
    sameCatalog.insert(sameCatalog.end(), others.begin(), others.end());
    return sameCatalog;
}
