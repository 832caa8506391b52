#include "mailing/CatalogSchedule.h"

#include "warehouse/AskedWrite.h"
#include "warehouse/Clubs.h"
#include "warehouse/MessageList.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

namespace catalogschedule {

namespace {

const QString kDateFormat = QStringLiteral("mm/dd/yyyy");
// Every column of a schedule row, in the order a save writes them.
const QString kColumns =
    QStringLiteral("ClubID, CatalogID, Description, MapCopyCreative, FstDraftCreative, "
                   "CatalogReleaseDate, AAAddressStartDate, AAAddressCompleteDate, ReplyDate, "
                   "LabelRunShipDate");

bool isBlank(const QString &text)
{
    return vb::Trim(text).isEmpty();
}

// Optional date boxes: blank is fine, anything else has to read as a date.
bool badOptionalDate(const QString &text)
{
    return !isBlank(text) && !vb::IsDate(vb::Trim(text));
}

QString gridDate(const Query &query, int column)
{
    return vb::FormatDate(query.date(column), kDateFormat);
}

} // namespace

QString caption()
{
    return QStringLiteral("Catalog Schedule Maintenance");
}

const QStringList &gridHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Club ID"),
        QStringLiteral("Catalog ID"),
        QStringLiteral("Description"),
        QStringLiteral("Map Copy Creative"),
        QStringLiteral("Fst Draft Creative"),
        QStringLiteral("Catalog Release Date"),
        QStringLiteral("AA Address Start Date"),
        QStringLiteral("AA Address Complete Date"),
        QStringLiteral("Reply Date"),
        QStringLiteral("Label RunShip Date"),
    };
    return headers;
}

QStringList LoadClubList()
{
    return warehouse::clubIds();
}

QList<ScheduleRow> LoadScheduleRows(const QDate &today)
{
    // The server's "GETDATE() - 365" carries the time of day, so a start date exactly 365 days
    // back is already outside; a bound date compared with ">" draws the same line.
    Query query(
        QStringLiteral("SELECT ClubID, CatalogID, Description, MapCopyCreative, FstDraftCreative, "
                       "CatalogReleaseDate, AAAddressStartDate, AAAddressCompleteDate, ReplyDate, "
                       "LabelRunShipDate From tblCycleSchedule Where AAAddressStartDate > ? "
                       "Order By AAAddressStartDate DESC"));
    query.bindDate(today.addDays(-365)).exec();
    QList<ScheduleRow> rows;
    while (query.next()) {
        ScheduleRow row;
        for (int column = 0; column < 3; ++column)
            row[size_t(column)] = vb::Trim(query.text(column));
        for (int column = 3; column < 10; ++column)
            row[size_t(column)] = gridDate(query, column);
        rows << row;
    }
    return rows;
}

QString ValidateEntry(const ScheduleEntry &entry)
{
    MessageList messages;
    if (isBlank(entry.catalogID))
        messages.add("Catalog ID is a required field and can't be empty.");
    if (isBlank(entry.description))
        messages.add("Description is a required field and can't be empty.");
    if (vb::Trim(entry.description).size() > 250)
        messages.add("Description must consist of 250 characters OR less.");
    if (badOptionalDate(entry.mapCopyCreative))
        messages.add("Map Copy Creative must be in a date format [mm/dd/yyyy].");
    if (badOptionalDate(entry.fstDraftCreative))
        messages.add("Fst Draft Creative must be in a date format [mm/dd/yyyy].");
    if (badOptionalDate(entry.catalogReleaseDate))
        messages.add("Catalog Release Date must be in a date format [mm/dd/yyyy].");
    if (!vb::IsDate(vb::Trim(entry.aaAddressStartDate)))
        messages.add(
            "AA Address Start Date is required and must be in a date format [mm/dd/yyyy].");
    if (badOptionalDate(entry.aaAddressCompleteDate))
        messages.add("AA Address Complete Date must be in a date format [mm/dd/yyyy].");
    if (badOptionalDate(entry.replyDate))
        messages.add("Reply Date must be in a date format [mm/dd/yyyy].");
    if (badOptionalDate(entry.labelRunShipDate))
        messages.add("Label Run Ship Date must be in a date format [mm/dd/yyyy].");
    return messages.text();
}

QDate entryDate(const QString &text)
{
    const QString trimmed = vb::Trim(text);
    if (!vb::IsDate(trimmed))
        return {};
    // Through the displayed form and back, so a typed time of day never reaches the column.
    return vb::ToDate(vb::FormatDate(vb::ToDate(trimmed), kDateFormat));
}

bool SaveScheduleRow(const ScheduleEntry &entry)
{
    const QString club = vb::Trim(entry.clubID);
    const QString catalog = vb::Trim(entry.catalogID);
    const auto look = [&] {
        return warehouse::seenRow(
            QStringLiteral("SELECT * From tblCycleSchedule WHERE (ClubID=?) AND (CatalogID = ?)"),
            {club, catalog}, kColumns.split(QStringLiteral(", ")));
    };
    return warehouse::writeAfterAsking(
        look,
        QStringLiteral("The record you are trying to add already exists in the database. "
                       "Would you like to override the existing record."),
        caption(), [&](bool) {
            DeleteScheduleRow(club, catalog);
            Query(QStringLiteral("INSERT INTO tblCycleSchedule( ") + kColumns +
                  QStringLiteral(") Values (?,?,?,?,?,?,?,?,?,?)"))
                .bind(club)
                .bind(catalog)
                .bind(vb::Trim(entry.description))
                .bindDate(entryDate(entry.mapCopyCreative))
                .bindDate(entryDate(entry.fstDraftCreative))
                .bindDate(entryDate(entry.catalogReleaseDate))
                .bindDate(entryDate(entry.aaAddressStartDate))
                .bindDate(entryDate(entry.aaAddressCompleteDate))
                .bindDate(entryDate(entry.replyDate))
                .bindDate(entryDate(entry.labelRunShipDate))
                .exec();
        });
}

void DeleteScheduleRow(const QString &clubID, const QString &catalogID)
{
    Query(QStringLiteral("DELETE FROM tblCycleSchedule WHERE (ClubID=?) AND (CatalogID = ?)"))
        .bind(vb::Trim(clubID))
        .bind(vb::Trim(catalogID))
        .exec();
}

QString deleteQuestion(const QString &clubID, const QString &catalogID)
{
    return QStringLiteral("Delete [") + clubID + QStringLiteral(" - ") + catalogID +
           QStringLiteral("] from the cycle schedule?");
}

} // namespace catalogschedule
