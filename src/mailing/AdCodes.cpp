#include "mailing/AdCodes.h"

#include "warehouse/AskedWrite.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <functional>

namespace adcodes {

namespace {

const QString kDateFormat = QStringLiteral("mm/dd/yyyy");
const QString kMailDate = QStringLiteral("MailDate");

// One check of the entry, in the order the operator reads the panel.
struct Check
{
    enum class Kind { Text, Date, Number };
    Kind kind;
    QString AdCodeEntry::*field;
    const char *required;
    const char *invalid; // too long for a text, not of its type otherwise
    int limit = 0;
};

const Check kChecks[] = {
    {Check::Kind::Text, &AdCodeEntry::sourceCode, "Source Code is a required field.",
     "Source Code can't exceed 10 characters.", 10},
    {Check::Kind::Text, &AdCodeEntry::catName, "Catalog Name is a required field.",
     "Catalog Name can't exceed 50 characters.", 50},
    {Check::Kind::Text, &AdCodeEntry::listDesc, "List Description is a required field.",
     "List Description can't exceed 150 characters.", 150},
    {Check::Kind::Text, &AdCodeEntry::pkg, "Package is a required field.",
     "Package can't exceed 25 characters.", 25},
    {Check::Kind::Text, &AdCodeEntry::pkgDesc, "Package Description is a required field.",
     "Package Description can't exceed 150 characters.", 150},
    {Check::Kind::Text, &AdCodeEntry::media, "Media is a required field.",
     "Media can't exceed 75 characters.", 75},
    {Check::Kind::Text, &AdCodeEntry::offer, "Offer is a required field.",
     "Offer can't exceed 75 characters.", 75},
    {Check::Kind::Date, &AdCodeEntry::mailDate, nullptr,
     "Mail Date field must be in a DATE format."},
    {Check::Kind::Number, &AdCodeEntry::qtyMailed, "Quantity Mailed is a required field.",
     "Quantity Mailed field must be in NUMERIC format."},
    {Check::Kind::Number, &AdCodeEntry::targetResp, "Target Responce Rate is a required field.",
     "Target Responce Rate field must be in NUMERIC format."},
    {Check::Kind::Number, &AdCodeEntry::pkgCpm, "Package CPM is a required field.",
     "Package CPM field must be in NUMERIC format."},
    {Check::Kind::Number, &AdCodeEntry::listCpm, "List CPM is a required field.",
     "List CPM field must be in NUMERIC format."},
};

// The message of a failing check; empty when it holds.
QString failure(const Check &check, const AdCodeEntry &entry)
{
    const QString value = vb::Trim(entry.*check.field);
    if (value.isEmpty())
        return check.required ? QString::fromLatin1(check.required) : QString();
    bool holds = true;
    switch (check.kind) {
    case Check::Kind::Text:
        holds = value.size() <= check.limit;
        break;
    case Check::Kind::Date:
        holds = vb::IsDate(value);
        break;
    case Check::Kind::Number:
        holds = vb::IsNumeric(value);
        break;
    }
    return holds ? QString() : QString::fromLatin1(check.invalid);
}

double number(const QString &text) { return vb::ToNumber(vb::Trim(text)).value_or(0); }

// A CPM as the money it is: four decimals, as the servers' columns keep it, so that the stored
// total is the sum a search for it names (19.95 + 5.10 is 25.05, not 25.049999999999997).
double money(double value)
{
    return vb::ToNumber(vb::Format(value, QStringLiteral("0.0000"))).value_or(0);
}
double money(const QString &text) { return money(number(text)); }

QDate mailDateOf(const AdCodeEntry &entry) { return vb::ToDate(vb::Trim(entry.mailDate)); }

// A stored code's row as a look at it saw it, every column as text; nothing when there is none.
warehouse::SeenRow storedCode(const QString &sourceCode)
{
    return warehouse::seenRow(QStringLiteral("SELECT * From tblAdCodes WHERE (AdCode = ?)"),
                              {vb::Trim(sourceCode)}, columnNames());
}

void deleteCode(const QString &sourceCode)
{
    Query(QStringLiteral("DELETE FROM tblAdCodes WHERE (AdCode = ?)"))
        .bind(vb::Trim(sourceCode))
        .exec();
}

// The stored total is always the sum of the two CPMs, whatever the panel's label last showed: a
// CPM pasted into its box, or a pasted total cell, never reaches the column.
void insertCode(const AdCodeEntry &entry, const QString &user, const QDate &today)
{
    Query(QStringLiteral("INSERT INTO  tblAdCodes(AdCode, CatName,  ListDesc, ListCpm, Pkg, "
                         "PkgDesc, PkgCpm, Media, Offer, MailDate, QtyMailed, TotalCpm, ModUser, "
                         "ModDate, TargetResp) Values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"))
        .bind(vb::Trim(entry.sourceCode))
        .bind(vb::Trim(entry.catName))
        .bind(vb::Trim(entry.listDesc))
        .bind(money(entry.listCpm))
        .bind(vb::Trim(entry.pkg))
        .bind(vb::Trim(entry.pkgDesc))
        .bind(money(entry.pkgCpm))
        .bind(vb::Trim(entry.media))
        .bind(vb::Trim(entry.offer))
        .bindDate(mailDateOf(entry))
        .bind(number(entry.qtyMailed))
        .bind(money(money(entry.listCpm) + money(entry.pkgCpm)))
        .bind(vb::Trim(user))
        .bind(vb::FormatDate(today, kDateFormat))
        .bind(number(entry.targetResp))
        .exec();
}

// The expression a contains-search compares: the column trimmed, or a date as it is shown.
QString containsExpression(const QString &column)
{
    if (column == kMailDate)
        return dialect::dateText(column);
    return QStringLiteral("LTRIM(RTRIM(") + column + QStringLiteral("))");
}

// The grid's column `column`, read from the result's column `position`.
QString gridCell(const Query &query, int column, int position)
{
    if (query.isNull(position))
        return {};
    static const qsizetype mailDate = columnNames().indexOf(kMailDate);
    if (column == mailDate)
        return vb::FormatDate(query.date(position), kDateFormat);
    if (isEqualsColumn(column))
        return vb::CStr(query.number(position));
    return query.text(position);
}

} // namespace

QString caption() { return QStringLiteral("Advertising Codes Maintenance"); }

const QStringList &gridHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Source Code"), QStringLiteral("Catalog Name"),
        QStringLiteral("ListDesc"),    QStringLiteral("List CPM"),
        QStringLiteral("Pkg"),         QStringLiteral("Pkg Desc"),
        QStringLiteral("Pkg CPM"),     QStringLiteral("Media"),
        QStringLiteral("Offer"),       QStringLiteral("Mail Date"),
        QStringLiteral("Qty Mailed"),  QStringLiteral("Target Response"),
        QStringLiteral("Total CPM"),   QStringLiteral("Modify User"),
        QStringLiteral("Modify Date"),
    };
    return headers;
}

const QStringList &columnNames()
{
    static const QStringList names =
        QString(QStringLiteral("AdCode,CatName,ListDesc,ListCpm,Pkg,PkgDesc,PkgCpm,Media,Offer,") +
                QStringLiteral("MailDate,QtyMailed,TargetResp,TotalCpm,ModUser,ModDate"))
            .split(QLatin1Char(','));
    return names;
}

bool isEqualsColumn(int column)
{
    switch (column) {
    case 3:  // ListCpm
    case 6:  // PkgCpm
    case 10: // QtyMailed
    case 11: // TargetResp
    case 12: // TotalCpm
        return true;
    default:
        return false;
    }
}

QStringList LoadMediaList()
{
    Query query(QStringLiteral("SELECT MediaTypeID, MediaType FROM tblADMediaTypes ORDER BY "
                               "MediaTypeSort"));
    query.exec();
    QStringList media;
    while (query.next())
        media << query.text(1);
    return media;
}

TotalCpm RecalcTotalCpm(const QString &own, const QString &other)
{
    const QString mine = vb::Trim(own);
    const QString theirs = vb::Trim(other);
    if (!mine.isEmpty() && !vb::IsNumeric(mine))
        return {TotalCpm::Outcome::OwnNotNumeric};
    if (mine.isEmpty() && theirs.isEmpty())
        return {TotalCpm::Outcome::Cleared};
    if (!theirs.isEmpty() && !vb::IsNumeric(theirs))
        return {TotalCpm::Outcome::OtherNotNumeric};
    return {TotalCpm::Outcome::Total, number(mine) + number(theirs)};
}

QString totalCpmCaption(double total)
{
    return QStringLiteral("Total CPM: ") + vb::Format(total, QStringLiteral("$#,##0.00"));
}

QString totalCpmTag(double total) { return vb::CStr(total); }

QString cpmNotNumericMessage(CpmBox box)
{
    return box == CpmBox::List ? QStringLiteral("List CPM must be in numeric format")
                               : QStringLiteral("Package CPM must be in numeric format");
}

QString ValidateAdCode(const AdCodeEntry &entry)
{
    QString message;
    for (const Check &check : kChecks) {
        const QString failed = failure(check, entry);
        if (!failed.isEmpty())
            message += failed + QChar(u'\r');
    }
    return message;
}

QString ValidateImportRow(AdCodeEntry &entry)
{
    if (vb::Trim(entry.mailDate).isEmpty())
        entry.mailDate = vb::FormatDate(defaultMailDate(), kDateFormat);
    for (const Check &check : kChecks) {
        const QString failed = failure(check, entry);
        if (!failed.isEmpty())
            return failed;
    }
    return {};
}

QDate defaultMailDate() { return QDate(1990, 1, 1); }

bool SaveAdCode(const AdCodeEntry &entry, bool editing, const QString &user, const QDate &today)
{
    // An edit replaces the row it loaded unasked; only a new entry's code is looked for.
    return warehouse::writeAfterAsking(
        [&] { return editing ? warehouse::SeenRow() : storedCode(entry.sourceCode); },
        overrideQuestion(), caption(),
        [&](bool) {
            deleteCode(entry.sourceCode);
            insertCode(entry, user, today);
        });
}

QString SaveImportRow(const AdCodeEntry &entry, const QString &user, const QDate &today)
{
    try {
        Transaction transaction;
        deleteCode(entry.sourceCode);
        insertCode(entry, user, today);
        transaction.commit();
    } catch (const DbError &error) {
        return error.description();
    }
    return {};
}

bool DeleteAdCode(const QString &sourceCode)
{
    return unlessFailed([&] {
        Transaction transaction;
        Query(QStringLiteral("DELETE FROM tblAdCodes WHERE AdCode=?"))
            .bind(vb::Trim(sourceCode))
            .exec();
        transaction.commit();
    });
}

QString overrideQuestion()
{
    return QStringLiteral("The record you are trying to add already exists in the database. "
                          "Would you like to override the existing record.");
}

QString deleteQuestion(const QString &sourceCode)
{
    return QStringLiteral("Delete [") + vb::Trim(sourceCode) +
           QStringLiteral("] from the data warehouse?");
}

QString deleteFailedMessage(const QString &sourceCode)
{
    return QStringLiteral("There was a problem deleting [") + vb::Trim(sourceCode) +
           QStringLiteral("] from the database.");
}

std::optional<QList<QStringList>> SearchAdCodes(int column, const QString &criteria)
{
    if (column < 0 || column >= kGridCols)
        return std::nullopt;
    const QString &name = columnNames()[column];
    QString sql = QStringLiteral(
        " SELECT AdCode, CatName, ListDesc, ListCpm, Pkg,PkgDesc, PkgCpm, Media, Offer, MailDate, "
        "QtyMailed, TotalCpm, TargetResp, ModDate, ModUser FROM tblAdCodes WHERE 1=1");
    // Number columns take a number: text that is not one could only fail on the server.
    std::optional<double> value;
    if (isEqualsColumn(column)) {
        value = vb::ToNumber(criteria);
        if (!value)
            return std::nullopt;
        sql += QStringLiteral(" AND ") + dialect::equalsNumber(name);
    } else {
        sql += QStringLiteral(" AND ") + dialect::containsParameter(containsExpression(name));
    }
    sql += QStringLiteral(" ORDER BY ") + name;
    if (column != 0)
        sql += QStringLiteral(",AdCode");

    return unlessFailed([&] {
        Query query(sql);
        if (value)
            query.bind(*value);
        else
            query.bind(vb::Trim(criteria));
        query.exec();
        QList<int> positions; // looked up once for all the rows
        for (int col = 0; col < kGridCols; ++col)
            positions << query.indexOf(columnNames()[col]);
        QList<QStringList> rows;
        while (query.next()) {
            QStringList cells;
            cells.reserve(kGridCols);
            for (int col = 0; col < kGridCols; ++col)
                cells << gridCell(query, col, positions.at(col));
            rows << cells;
        }
        return rows;
    });
}

} // namespace adcodes
