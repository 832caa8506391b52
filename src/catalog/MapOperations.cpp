#include "catalog/MapOperations.h"

#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <QRegularExpression>

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

bool exists(Query &query)
{
    query.exec();
    return query.next();
}

// The highest page of a map, or nothing on a map without pages.
std::optional<int> lastPage(const NodeKey &key)
{
    Query query(key.isInsert()
                    ? QStringLiteral("SELECT Max(PageNum) AS LastPage FROM tblInsertMap "
                                     "WHERE InsertId = ?")
                    : QStringLiteral("SELECT Max(PageNum) AS LastPage FROM tblCatalogMap "
                                     "WHERE ClubID = ? AND CatalogID = ? AND TestID = ?"));
    if (key.isInsert())
        query.bind(key.insertId());
    else
        query.bind(key.clubId()).bind(key.catalogId()).bind(key.testId());
    query.exec();
    if (!query.next() || query.isNull(0))
        return std::nullopt;
    return query.value(0).toInt();
}

} // namespace

CopyToNewCatalogResult copyMapToNewCatalog(const QString &clubId, const QString &catalogId,
                                           const QString &testId, const QString &newCatalogId,
                                           const QDateTime &now, const QString &user)
{
    // The new catalog must be in the schedule, under any club.
    Query scheduled(QStringLiteral("SELECT * FROM tblCycleSchedule WHERE CatalogID=?"));
    scheduled.bind(newCatalogId);
    if (!exists(scheduled))
        return CopyToNewCatalogResult::NotScheduled;

    Transaction transaction;
    Query mapped(QStringLiteral(
        "SELECT * FROM tblCatalogMap WHERE ClubID=? AND  CatalogID=? AND TestID='0000'"));
    mapped.bind(clubId).bind(newCatalogId);
    if (exists(mapped))
        return CopyToNewCatalogResult::AlreadyOnRecord;
    copyCatalogTest(clubId, catalogId, testId, newCatalogId, QStringLiteral("0000"), now, user);
    transaction.commit();
    return CopyToNewCatalogResult::Copied;
}

QString copyMapToTestIds(const NodeKey &source, const QString &testIdList, const QDateTime &now,
                         const QString &user)
{
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    QString refused;
    const QStringList entries = testIdList.split(QLatin1Char(','));
    for (const QString &entry : entries) {
        const QString testId = vb::Trim(entry);
        if (!fourDigits.match(testId).hasMatch()) {
            refused += QStringLiteral("The format of the Test ID:") + testId
                       + QStringLiteral(" is invalid the process will skip this Test ID.\r");
            continue;
        }
        Query taken(QStringLiteral(
            "SELECT * FROM tblCatalogMap WHERE ClubID=? AND CatalogID=? AND TestID=?"));
        taken.bind(source.clubId()).bind(source.catalogId()).bind(testId);
        if (exists(taken)) {
            refused += QStringLiteral("The Test ID:") + testId
                       + QStringLiteral(" is already plesent. Skipping the process for this "
                                        "Test ID.\r");
            continue;
        }
        // Pages and placements of one test ID go together or not at all.
        Transaction transaction;
        copyCatalogTest(source.clubId(), source.catalogId(), source.testId(), source.catalogId(),
                        testId, now, user);
        transaction.commit();
    }
    return refused;
}

bool deleteMap(const NodeKey &key)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    Transaction transaction;
    if (key.isCatalog()) {
        for (const char *table : {"tblCatalogMap", "tblProductsMap"})
            Query(QStringLiteral("DELETE FROM ") + QLatin1String(table)
                  + QStringLiteral(" WHERE ClubID=? AND CatalogID=? AND TestID=?"))
                .bind(key.clubId())
                .bind(key.catalogId())
                .bind(key.testId())
                .exec();
    } else {
        Query(QStringLiteral("DELETE FROM tblInsertMap WHERE InsertID=?"))
            .bind(key.insertId())
            .exec();
        Query(QStringLiteral("DELETE FROM tblProductsMap WHERE CatalogID=?"))
            .bind(key.insertId())
            .exec();
    }
    transaction.commit();
    return true;
}

bool addPageToMap(const NodeKey &key, const QString &section)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    Transaction transaction;
    if (key.isInsert()) {
        Query last(QStringLiteral("SELECT InsertDescription,  Max(PageNum)+1 AS MaxPageNum FROM "
                                  "tblInsertMap WHERE InsertId=? Group By InsertDescription"));
        last.bind(key.insertId()).exec();
        // An insert without pages has no description to give its first page.
        const bool found = last.next();
        const QString description = found ? last.text(0) : QString();
        const int page = found && !last.isNull(1) ? last.value(1).toInt() : 1;
        Query(QStringLiteral("Insert INTO tblInsertMap(InsertId, InsertDescription, PageNum, "
                             "PageSection) Values (?, ?, ?, ?)"))
            .bind(key.insertId())
            .bind(description)
            .bind(page)
            .bind(vb::Trim(section))
            .exec();
    } else {
        Query last(QStringLiteral("SELECT Max(PageNum)+1 AS MaxPageNum FROM tblCatalogMap "
                                  "WHERE ClubID=? AND CatalogID=? AND TestID=?"));
        last.bind(key.clubId()).bind(key.catalogId()).bind(key.testId()).exec();
        const int page = last.next() && !last.isNull(0) ? last.value(0).toInt() : 1;
        Query(QStringLiteral("Insert INTO tblCatalogMap(ClubID, CatalogID, TestID, PageNum, "
                             "PageSection) Values (?, ?, ?, ?, ?)"))
            .bind(key.clubId())
            .bind(key.catalogId())
            .bind(key.testId())
            .bind(page)
            .bind(vb::Trim(section))
            .exec();
    }
    transaction.commit();
    return true;
}

bool removePageFromMap(const NodeKey &key)
{
    if (!key.isCatalog() && !key.isInsert())
        return false;
    Transaction transaction;
    if (const auto page = lastPage(key)) {
        if (key.isInsert()) {
            Query(QStringLiteral("DELETE FROM tblInsertMap WHERE InsertID=? AND PageNum=?"))
                .bind(key.insertId())
                .bind(*page)
                .exec();
            Query(QStringLiteral("DELETE FROM tblProductsMap WHERE CatalogID=? AND PageNum=?"))
                .bind(key.insertId())
                .bind(*page)
                .exec();
        } else {
            for (const char *table : {"tblCatalogMap", "tblProductsMap"})
                Query(QStringLiteral("DELETE FROM ") + QLatin1String(table)
                      + QStringLiteral(" WHERE ClubID=? AND CatalogID=? AND TestID=? AND "
                                       "PageNum=?"))
                    .bind(key.clubId())
                    .bind(key.catalogId())
                    .bind(key.testId())
                    .bind(*page)
                    .exec();
        }
    }
    transaction.commit();
    return true;
}

bool editSectionOfPage(const NodeKey &key, const QString &section)
{
    if (!key.isPage() || (!key.isCatalog() && !key.isInsert()))
        return false;
    Transaction transaction;
    if (key.isCatalog())
        Query(QStringLiteral("UPDATE tblCatalogMap SET PageSection = ? WHERE ClubID = ? AND "
                             "CatalogID = ? AND TestID = ? AND PageNum = ?"))
            .bind(vb::Trim(section))
            .bind(key.clubId())
            .bind(key.catalogId())
            .bind(key.testId())
            .bind(key.pageNumber())
            .exec();
    else
        Query(QStringLiteral(
                  "UPDATE tblInsertMap SET PageSection = ? WHERE InsertID = ? AND PageNum = ?"))
            .bind(vb::Trim(section))
            .bind(key.insertId())
            .bind(key.pageNumber())
            .exec();
    transaction.commit();
    return true;
}

SwitchPagesResult switchPageNumbers(const NodeKey &key, int otherPage)
{
    if (!key.isPage() || (!key.isCatalog() && !key.isInsert()))
        return SwitchPagesResult::NotAPage;
    const int current = key.pageNumber();
    Query page(key.isCatalog()
                   ? QStringLiteral("SELECT * FROM tblCatalogMap WHERE ClubID = ? AND "
                                    "CatalogID = ? AND TestID = ? AND PageNum = ?")
                   : QStringLiteral("SELECT * From tblInsertMap WHERE InsertId = ? AND "
                                    "PageNum = ?"));
    if (key.isCatalog())
        page.bind(key.clubId()).bind(key.catalogId()).bind(key.testId());
    else
        page.bind(key.insertId());
    page.bind(otherPage);
    if (!exists(page))
        return SwitchPagesResult::InvalidPage;

    // Both numbers are whole numbers checked above, so they may stand in the statement itself;
    // one statement moves both pages' placements at once.
    const QString swap = QStringLiteral("UPDATE tblProductsMap SET PageNum = CASE WHEN PageNum=")
                         + QString::number(otherPage) + QStringLiteral(" THEN ")
                         + QString::number(current) + QStringLiteral(" ELSE ")
                         + QString::number(otherPage) + QStringLiteral(" END");
    if (key.isCatalog())
        Query(swap + QStringLiteral(" WHERE ClubID=? AND CatalogID=? AND TestID=? AND "
                                    "PageNum in(?,?)"))
            .bind(key.clubId())
            .bind(key.catalogId())
            .bind(key.testId())
            .bind(current)
            .bind(otherPage)
            .exec();
    else
        Query(swap + QStringLiteral(" WHERE CatalogID = ? AND PageNum IN(?,?)"))
            .bind(key.insertId())
            .bind(current)
            .bind(otherPage)
            .exec();
    return SwitchPagesResult::Switched;
}

} // namespace catalog
