#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The product descriptions (blurbs): one text of tblInvDescriptions per product and description
// size. The descriptions window reads its panel into a DescriptionEntry and hands it here; the
// lists it shows come from here already formatted.
namespace productdescriptions {

// Caption of the descriptions window; every message of the window carries it as its title.
QString caption();

// The window's modes: browsing, adding a description, editing the one shown.
enum class Mode { Browse, Add, Edit };

// One description of the loaded product with the product's facts, every value as the panel shows
// it: the date "mm/dd/yyyy hh:nn:ss", MSRP "$#,##0.00", units "#,##0", the active text "Yes" or
// "No", the description with CR LF line breaks as stored.
struct DescriptionRecord
{
    QString productName;
    QString activeText;
    QString msrp;
    QString onHand;
    QString productID;
    QString blurbSize;
    QString blurb;
    QString modifyDate;
};

// A product without any description, as a row of the missing-descriptions grid: the six cells and
// whether the product is active on the web (its row is then painted pale yellow).
struct MissingProduct
{
    QStringList cells;
    bool activeWeb = false;
};

// The pale yellow of a web-active product's row (0x00BBGGRR).
inline constexpr quint32 kWebActiveBackColor = 0xC0FFFF;

// The description panel as typed.
struct DescriptionEntry
{
    QString productID;
    QString blurbSize;
    QString blurb;
};

// The product IDs having descriptions that start with the text, in order. Single quotes are
// dropped from the text; "%" and "_" in it act as wildcards.
QStringList SearchDescribedProducts(const QString &text);

// One record per description of the product, in size order; one record with an empty size and
// description for a product without any; none for a product missing from the product master.
QList<DescriptionRecord> LoadProductDescriptions(const QString &productID);

// Every description size, ascending.
QStringList LoadBlurbSizes();

// Hands every product without a description, in product order, to the sink.
void LoadMissingDescriptions(const std::function<void(MissingProduct &&)> &sink);

// The grid's headers, in column order.
const QStringList &missingGridHeaders();

// The first failing check of a description, with the control that has to take the focus.
struct Verdict
{
    enum class Field { None, ProductID, BlurbSize, Blurb };
    QString message;
    Field field = Field::None;
    bool passed() const { return field == Field::None; }
};
// Checks the entry in order and stops at the first failure. Throws DbError when the product
// master cannot be read.
Verdict ValidateDescription(const DescriptionEntry &entry);

// Writes the entry as the description of its product and size, with the time and user given, in
// one short transaction opened after any question is answered. In Add mode an existing description
// is replaced only when the operator answers Yes to the overwrite question, and the mode becomes
// Edit; in Edit mode a description that has vanished meanwhile is added again only on a Yes, and
// the mode becomes Add. A description another client changed while a question was open is asked
// about again. False when an answer was No: nothing is written then. Throws DbError (after rolling
// back) when a statement fails.
bool SaveDescription(const DescriptionEntry &entry, Mode &mode, const QDateTime &now,
                     const QString &user);

// Removes the description of a product and size in one transaction. False, with everything rolled
// back, when the statement fails or there was no such description.
bool DeleteDescription(const QString &productID, const QString &blurbSize);

// The questions and messages of the window.
QString overwriteQuestion(const QString &productID, const QString &blurbSize);
QString vanishedQuestion(const QString &productID, const QString &blurbSize);
QString deleteQuestion(const QString &productID, const QString &blurbSize);
QString deleteFailedMessage();

// Line breaks as stored (CR LF) and as an editor holds them (LF).
QString storedText(const QString &editorText);
QString editorText(const QString &storedText);

// True when the text holds nothing but white space.
bool isBlank(const QString &text);

} // namespace productdescriptions
