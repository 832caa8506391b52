#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Advertising codes: one row of tblAdCodes per mailed promotion, with its list and package costs
// per thousand pieces (CPM). The maintenance window reads its entry panel into an AdCodeEntry and
// hands it here; the search and the import of pasted rows use the same entry.
namespace adcodes {

// Caption of the maintenance window; every message of the ad codes carries it as its title.
QString caption();

// The key master grid: 15 columns, in this order.
inline constexpr int kGridCols = 15;
const QStringList &gridHeaders();
// The column of tblAdCodes behind each grid column.
const QStringList &columnNames();
// Number columns are searched by equality, the others by containment.
bool isEqualsColumn(int column);

// The entry panel as typed; the mail date is the picker's text ("mm/dd/yyyy", empty for none).
struct AdCodeEntry
{
    QString sourceCode;
    QString catName;
    QString listDesc;
    QString listCpm;
    QString pkg;
    QString pkgDesc;
    QString pkgCpm;
    QString media;
    QString offer;
    QString mailDate;
    QString qtyMailed;
    QString targetResp;
};

// The media types, in their display order.
QStringList LoadMediaList();

// The live total CPM after a key release in one CPM box: `own` is that box's text, `other` the
// other box's.
struct TotalCpm
{
    enum class Outcome {
        Total,           // show the total
        Cleared,         // both boxes empty: "Total CPM: $0.00", tag "0"
        OwnNotNumeric,   // the box typed in holds no number: its message, label unchanged
        OtherNotNumeric, // the other box holds no number: the other box's message
    };
    Outcome outcome;
    double total = 0;
};
TotalCpm RecalcTotalCpm(const QString &own, const QString &other);
QString totalCpmCaption(double total);
QString totalCpmTag(double total);
// The message of a CPM box holding no number.
enum class CpmBox { List, Package };
QString cpmNotNumericMessage(CpmBox box);

// Every failing check of the entry, in check order, each message followed by a carriage return;
// empty when the entry may be saved.
QString ValidateAdCode(const AdCodeEntry &entry);
// The same checks for an imported row, stopping at the first failure: its message, or empty when
// the row may be saved. A row without a mail date takes 1/1/1990.
QString ValidateImportRow(AdCodeEntry &entry);
// The date standing in for a missing or unreadable mail date.
QDate defaultMailDate();

// Writes a validated entry as the row of its code, in one transaction, with the user and day of
// the change. A new entry (`editing` false) replaces an existing row only when the operator answers
// Yes to the override question, asked before the transaction begins (and again should another
// client change the row meanwhile); false when the answer is No, and then nothing has changed.
// Throws DbError (after rolling back) when a statement fails.
bool SaveAdCode(const AdCodeEntry &entry, bool editing, const QString &user, const QDate &today);
// Writes an imported row, replacing any row of its code without a question, in one transaction:
// empty on success, else the failure's description (nothing changed).
QString SaveImportRow(const AdCodeEntry &entry, const QString &user, const QDate &today);
// Removes the row of a code in one transaction; false when that failed (nothing changed).
bool DeleteAdCode(const QString &sourceCode);

QString overrideQuestion();
QString deleteQuestion(const QString &sourceCode);
QString deleteFailedMessage(const QString &sourceCode);

// The rows of one column's search, each as the 15 grid cells in grid order: text as stored, numbers
// plainly, the mail date "mm/dd/yyyy", NULL empty. Nothing when the search failed, also when an
// equals column is given something that is not a number.
std::optional<QList<QStringList>> SearchAdCodes(int column, const QString &criteria);

} // namespace adcodes
