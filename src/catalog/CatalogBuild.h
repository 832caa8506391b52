#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Building the page map of a new catalog version or insert from a club's default map. The builder
// window reads its controls into a NewMap and hands it here.
namespace catalogbuild {

// Caption of the builder window; every message of the builder carries it as its title.
QString caption();

// The page count the builder offers: the range of its scroll bar.
inline constexpr int kMinPages = 1;
inline constexpr int kMaxPages = 100;

// A club with its catalog types (MapType of its default maps), types in descending order.
struct ClubTypes
{
    QString clubID;
    QStringList mapTypes;
};

// One page of a map as the grid holds it.
struct MapPage
{
    QString pageNum;
    QString pageSection;

    bool operator==(const MapPage &) const = default;
};

// The clubs of the default maps, ascending, each with its types.
QList<ClubTypes> LoadClubList();

// A type whose name holds "Catalog Insert" (in exactly those capitals) builds an insert.
bool isInsertType(const QString &mapType);

// The default map of a club and type, trimmed, in page order.
QList<MapPage> LoadDefaultMap(const QString &clubID, const QString &mapType);

// The known page sections, ascending.
QStringList LoadSectionList();

// Cuts a map down to the most pages the builder offers. Returns the message telling the operator
// so, or empty text when the map already fits.
QString clampToMaxPages(QList<MapPage> &pages);

// What the operator has chosen.
struct NewMap
{
    bool insert = false;
    QString clubID;
    QString catalogID; // the insert's name in insert mode
    QString testID;    // catalog mode only
    QList<MapPage> pages;
};

// Every failing check, in check order, each message followed by a carriage return; empty when the
// map may be saved. Reads the cycle schedule and the existing maps.
QString ValidateNewMap(const NewMap &map);

// The insert ID of an insert created at that moment: "mmddyyyyhhmmss".
QString insertIDAt(const QDateTime &moment);

// An insert ID no insert holds yet: the one of that moment, or of the first second after it that is
// still free. Call inside the transaction that writes the insert.
QString freeInsertID(const QDateTime &moment);

// Writes every page of the map in one transaction: all pages or none. Returns the insert ID for an
// insert, empty text for a catalog. Throws DbError (after rolling back) when a write fails.
QString SaveNewMap(const NewMap &map, const QDateTime &now = QDateTime::currentDateTime());

} // namespace catalogbuild
