#include "catalog/CatalogBuild.h"

#include "catalog/NodeKey.h"
#include "catalog/TextLimits.h"
#include "pagemap/PageMap.h"
#include "warehouse/Clubs.h"
#include "warehouse/MessageList.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

namespace catalogbuild {

namespace {

// Page numbers come from the default map or the page count and are whole numbers; one that is
// not is passed on as typed, and the column refuses it.
QVariant pageNumber(const QString &text)
{
    const auto number = catalog::parsePageNumber(text);
    return number ? QVariant(*number) : QVariant(text);
}

} // namespace

QString caption()
{
    return QStringLiteral("Create New Catalog/Insert");
}

QList<ClubTypes> LoadClubList()
{
    QList<ClubTypes> clubs;
    for (const QString &club : warehouse::clubIds())
        clubs.append({club, {}});
    for (ClubTypes &club : clubs) {
        Query query(QStringLiteral("SELECT MapType From tblMapDefault WHERE ClubID=? "
                                   "GROUP BY MapType ORDER BY MapType DESC"));
        query.bind(club.clubID).exec();
        while (query.next())
            club.mapTypes << query.text(0);
    }
    return clubs;
}

bool isInsertType(const QString &mapType)
{
    return mapType.contains(QLatin1String("Catalog Insert"), Qt::CaseSensitive);
}

QList<MapPage> LoadDefaultMap(const QString &clubID, const QString &mapType)
{
    Query query(QStringLiteral("SELECT PageNum, PageSection From tblMapDefault "
                               "WHERE ltrim(rtrim(MapType)) = ? AND ltrim(rtrim(ClubID)) = ? "
                               "ORDER BY PageNum"));
    query.bind(vb::Trim(mapType)).bind(vb::Trim(clubID)).exec();
    QList<MapPage> pages;
    while (query.next())
        pages.append({vb::Trim(query.text(0)), vb::Trim(query.text(1))});
    return pages;
}

QStringList LoadSectionList()
{
    Query query(
        QStringLiteral("SELECT PageSection FROM tblMapDefaultPageSections ORDER BY PageSection"));
    query.exec();
    QStringList sections;
    while (query.next())
        sections << query.text(0);
    return sections;
}

QString clampToMaxPages(QList<MapPage> &pages)
{
    if (pages.size() <= kMaxPages)
        return {};
    const qsizetype defaultPages = pages.size();
    pages.resize(kMaxPages);
    return QStringLiteral(
               "The default map of this catalog type has %1 pages. A new map can have at "
               "most %2 pages; only the first %2 were taken.")
        .arg(defaultPages)
        .arg(kMaxPages);
}

QString ValidateNewMap(const NewMap &map)
{
    MessageList messages;
    const QString club = vb::Trim(map.clubID);
    const QString catalog = vb::Trim(map.catalogID);

    for (const MapPage &page : map.pages) {
        const QString tooLong =
            catalog::tooLongMessage(QStringLiteral("Page Section"), vb::Trim(page.pageSection),
                                    catalog::kPageSectionLength);
        if (!tooLong.isEmpty()) {
            messages.add(QStringLiteral("Page %1: ").arg(vb::Trim(page.pageNum)) + tooLong);
            break;
        }
    }
    if (map.insert) {
        if (catalog.isEmpty())
            messages.add("Insert Description is a required field and can't be empty.");
        const QString tooLong = catalog::tooLongMessage(QStringLiteral("Insert Description"),
                                                        catalog, catalog::kInsertNameLength);
        if (!tooLong.isEmpty())
            messages.add(tooLong);
        Query duplicate(
            QStringLiteral("SELECT InsertDescription FROM tblInsertMap WHERE InsertDescription=?"));
        if (duplicate.bind(catalog).exists())
            messages.add(
                "The Insert you have chosen to create already exists. Please choose a different "
                "name for the insert.");
        return messages.text();
    }

    const QString test = vb::Trim(map.testID);
    if (catalog.isEmpty())
        messages.add("Catalog ID is a required field and can't be empty.");
    if (catalog.size() > 25)
        messages.add("Catalog ID can't exeed 25 characters.");
    if (test.isEmpty())
        messages.add("Test ID is a required field and can't be empty.");
    if (!catalog::isDigitsOnly(test))
        messages.add("Test ID mus be in numeric format (0000).");
    if (test.size() != catalog::kTestIdLength)
        messages.add("Test ID must consist of four characters (0000).");

    Query scheduled(QStringLiteral(
        "SELECT ClubID, CatalogID FROM tblCycleSchedule WHERE ClubID=? AND CatalogID=?"));
    if (!scheduled.bind(club).bind(catalog).exists())
        messages.add("Please add the catalog to the Cycle Schedule FIRST.");

    Query duplicate(QStringLiteral("SELECT ClubID, CatalogID, TestID FROM tblCatalogMap "
                                   "WHERE ClubID=? AND CatalogID=? AND TestID=?"));
    if (duplicate.bind(club).bind(catalog).bind(test).exists())
        messages.add("The Catalog  you have chosen to create already exists.");
    return messages.text();
}

QString insertIDAt(const QDateTime &moment)
{
    return vb::FormatDate(moment, QStringLiteral("mmddyyyyhhmmss"));
}

QString freeInsertID(const QDateTime &moment)
{
    // Two inserts made within one second would share an ID and their pages would merge into one
    // insert: take the next free second instead, keeping the form the package window reads.
    for (QDateTime candidate = moment;; candidate = candidate.addSecs(1)) {
        const QString id = insertIDAt(candidate);
        Query taken(QStringLiteral("SELECT InsertID FROM tblInsertMap WHERE InsertID=?"));
        if (!taken.bind(id).exists())
            return id;
    }
}

QString SaveNewMap(const NewMap &map, const QDateTime &now)
{
    // All pages or none: a map missing its later pages would look complete in the editor.
    Transaction transaction;
    QString insertID;
    if (map.insert) {
        insertID = freeInsertID(now);
        const QString name = vb::Trim(map.catalogID);
        for (const MapPage &page : map.pages) {
            Query(QStringLiteral("Insert Into tblInsertMap(InsertID,InsertDescription,PageNum,"
                                 "PageSection)  values(?,?,?,?)"))
                .bind(insertID)
                .bind(name)
                .bind(pageNumber(vb::Trim(page.pageNum)))
                .bind(vb::Trim(page.pageSection))
                .exec();
        }
    } else {
        const QString club = vb::Trim(map.clubID);
        const QString catalog = vb::Trim(map.catalogID);
        const QString test = vb::Trim(map.testID);
        for (const MapPage &page : map.pages) {
            Query(QStringLiteral("Insert Into tblCatalogMap(ClubID,CatalogID,TestID,PageNum,"
                                 "PageSection)  values(?,?,?,?,?)"))
                .bind(club)
                .bind(catalog)
                .bind(test)
                .bind(pageNumber(vb::Trim(page.pageNum)))
                .bind(vb::Trim(page.pageSection))
                .exec();
        }
        catalog::MapChanges::announcePages(catalog::NodeKey::catalogTestKey(club, catalog, test));
    }
    if (map.insert)
        catalog::MapChanges::announcePages(catalog::NodeKey::insertKey(insertID));
    transaction.commit();
    return insertID;
}

} // namespace catalogbuild
