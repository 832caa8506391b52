#pragma once

#include <QString>

#include <vector>

// The maps a report can be asked for: every catalog version and every insert, as the pickers list
// them. Throws DbError.
namespace reports {

struct MapChoice
{
    QString key;  // the catalog editor's map key ("ID|club|catalog|test", "INS|id")
    QString text; // "BOOK  B105 - 0001  Book Club catalog 105", "Insert  Summer Flyer  06012025..."
    QString group; // what the versions of one catalog share ("ID|club|catalog"); the insert's key
};

// Catalog versions by club, catalog and test, then inserts, newest first.
std::vector<MapChoice> loadMapChoices();

// The choice a typed text names: its whole text, or the part after the club ("B105 - 0001"), or
// an insert's ID, compared without regard to case; nullptr when none or several match. Matched in
// the client, so no typed text reaches a statement.
const MapChoice *findMapChoice(const std::vector<MapChoice> &choices, const QString &typed);

// The maps to compare with `key`'s: the other versions of its catalog first, then every other map,
// each in the listed order; the map itself is left out.
std::vector<const MapChoice *> comparableChoices(const std::vector<MapChoice> &choices,
                                                 const QString &key);

} // namespace reports
