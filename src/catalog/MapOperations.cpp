#include "catalog/MapOperations.h"

#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"

#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

namespace catalog {
namespace {

// The pages and the placements of a catalog test, copied under another catalog and test ID. The
// copied placements carry the time and user of the copy; everything else is kept.
void copyCatalogTest(const QString &clubId, const QString &catalogId, const QString &testId,
                     const QString &newCatalogId, const QString &newTestId, const QDateTime &now,
                     const QString &user)
{
    Query(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                         "PageSection) SELECT ClubID, ?, ?, PageNum, PageSection FROM "
                         "tblCatalogMap WHERE ClubID = ? AND CatalogID = ? AND TestID = ?"))
        .bind(newCatalogId)
        .bind(newTestId)
        .bind(clubId)
        .bind(catalogId)
        .bind(testId)
        .exec();
    Query(QStringLiteral("INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, "
                         "PageNum, PagePosition, PageWeight, DescType, Price, Discount, "
                         "ProductType, ModifyDate, ModifyUser) SELECT ClubID, ?, ?, ProductID, "
                         "PageNum, PagePosition, PageWeight, DescType, Price, Discount, "
                         "ProductType, ?, ? FROM tblProductsMap WHERE ClubID = ? AND "
                         "CatalogID = ? AND TestID = ?"))
        .bind(newCatalogId)
        .bind(newTestId)
        .bindDateTime(now)
        .bind(user)
        .bind(clubId)
        .bind(catalogId)
        .bind(testId)
        .exec();
}

} // namespace

CopyToNewCatalogResult copyMapToNewCatalog(const QString &clubId, const QString &catalogId,
                                           const QString &testId, const QString &newCatalogId,
                                           const QDateTime &now, const QString &user)
{
    // The new catalog must be in the schedule, under any club.
    // Checks made before a transaction end with their statement: on the embedded file a read left
    // open would make a second client's write fail at once instead of waiting its turn.
    if (!Query(QStringLiteral("SELECT * FROM tblCycleSchedule WHERE CatalogID=?"))
             .bind(newCatalogId)
             .exists())
        return CopyToNewCatalogResult::NotScheduled;

    Transaction transaction;
    Query mapped(QStringLiteral(
        "SELECT * FROM tblCatalogMap WHERE ClubID=? AND  CatalogID=? AND TestID='0000'"));
    if (mapped.bind(clubId).bind(newCatalogId).exists())
        return CopyToNewCatalogResult::AlreadyOnRecord;
    copyCatalogTest(clubId, catalogId, testId, newCatalogId, QStringLiteral("0000"), now, user);
    MapChanges::announcePages(
        NodeKey::catalogTestKey(clubId, newCatalogId, QStringLiteral("0000")));
    transaction.commit();
    return CopyToNewCatalogResult::Copied;
}

QString copyMapToTestIds(const NodeKey &source, const QString &testIdList, const QDateTime &now,
                         const QString &user)
{
    QString refused;
    const QStringList entries = testIdList.split(QLatin1Char(','));
    for (const QString &entry : entries) {
        const QString testId = vb::Trim(entry);
        if (!isTestId(testId)) {
            refused += QStringLiteral("The format of the Test ID:") + testId +
                       QStringLiteral(" is invalid the process will skip this Test ID.\r");
            continue;
        }
        if (Query(QStringLiteral(
                      "SELECT * FROM tblCatalogMap WHERE ClubID=? AND CatalogID=? AND TestID=?"))
                .bind(source.clubId())
                .bind(source.catalogId())
                .bind(testId)
                .exists()) {
            refused += QStringLiteral("The Test ID:") + testId +
                       QStringLiteral(" is already plesent. Skipping the process for this "
                                      "Test ID.\r");
            continue;
        }
        // Pages and placements of one test ID go together or not at all.
        Transaction transaction;
        copyCatalogTest(source.clubId(), source.catalogId(), source.testId(), source.catalogId(),
                        testId, now, user);
        MapChanges::announcePages(
            NodeKey::catalogTestKey(source.clubId(), source.catalogId(), testId));
        transaction.commit();
    }
    return refused;
}

bool deleteMap(const NodeKey &key)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    Transaction transaction;
    for (const MapRows &rows : {MapRows::pagesOf(key), MapRows::placementsOf(key)}) {
        Query query(QStringLiteral("DELETE FROM ") + rows.table() + QStringLiteral(" WHERE ") +
                    rows.where());
        rows.bindTo(query).exec();
    }
    MapChanges::announcePages(mapKeyOf(key));
    transaction.commit();
    return true;
}

bool addPageToMap(const NodeKey &key, const QString &section)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    insertPage(key, kBookEnd, section);
    return true;
}

bool removePageFromMap(const NodeKey &key)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    removePage(key, kBookEnd);
    return true;
}

bool editSectionOfPage(const NodeKey &key, const QString &section, PageEdit *done)
{
    if (!key.isPage() || (!key.isCatalog() && !key.isInsert()))
        return false;
    editPageSection(key, key.pageNumber(), section, done);
    return true;
}

SwitchPagesResult switchPageNumbers(const NodeKey &key, int otherPage)
{
    if (!key.isPage() || (!key.isCatalog() && !key.isInsert()))
        return SwitchPagesResult::NotAPage;
    const int current = key.pageNumber();
    const MapRows pages = MapRows::pagesOf(key);
    Query page(QStringLiteral("SELECT * FROM ") + pages.table() + QStringLiteral(" WHERE ") +
               pages.where() + QStringLiteral(" AND PageNum = ?"));
    if (!pages.bindTo(page).bind(otherPage).exists())
        return SwitchPagesResult::InvalidPage;

    // Both numbers are whole numbers checked above, so they may stand in the statement itself;
    // one statement moves both pages' placements at once.
    const MapRows placements = MapRows::placementsOf(key);
    // One statement, in a transaction all the same: the other clients hear of it with its commit.
    Transaction transaction;
    Query swap(QStringLiteral("UPDATE ") + placements.table() +
               QStringLiteral(" SET PageNum = CASE WHEN PageNum=") + QString::number(otherPage) +
               QStringLiteral(" THEN ") + QString::number(current) + QStringLiteral(" ELSE ") +
               QString::number(otherPage) + QStringLiteral(" END WHERE ") + placements.where() +
               QStringLiteral(" AND PageNum IN(?,?)"));
    placements.bindTo(swap).bind(current).bind(otherPage).exec();
    MapChanges::announce(mapKeyOf(key));
    transaction.commit();
    return SwitchPagesResult::Switched;
}

} // namespace catalog
