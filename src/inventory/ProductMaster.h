#pragma once

#include "catalog/ProductGrids.h"
#include "warehouse/RowSink.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The product master behind Inventory Maintenance: the product list's search and export, the two
// lookup lists of the record panel, reading one product, and saving, copying and deleting it.
// Every operation that reads or writes throws DbError unless it says otherwise.
namespace inventory {

QString caption();

// --- The product list ---

// Searches every product or the active ones only (the catalog editor's search, shared). Rows go to
// the sink as the query delivers them; nothing reaches the sink when the search fails before its
// first row. The number of rows found, or nothing when the search failed (any database error).
std::optional<int> searchProductList(int column, const QString &criterion,
                                     catalog::InventoryScope scope, const RowSink &sink);
inline constexpr const char *kSearchFailed =
    "You have entered an invalid search parameter value. Please try again.";
QString foundMessage(int count);

// Writes the list's rows (header and placeholder rows included) as tab-separated Windows-1252
// text: every cell followed by a TAB, every line by CR LF. The reason it failed, or nothing.
// `cell(row, column)` gives each of the rows' cells, read once, in order. `rowDone`, when given,
// hears of each row written; false from it stops the writing, which leaves no file (an old one as
// it was) and is no failure.
using ListCell = std::function<QStringView(int row, int column)>;
std::optional<QString> exportList(const QString &path, int rows, int columns, const ListCell &cell,
                                  const std::function<bool()> &rowDone = {});

// --- The record panel ---

// One entry of a lookup list: the key as text and the name the combo box shows.
struct LookupEntry
{
    QString id;
    QString name;
};
// Manufacturers by name.
QList<LookupEntry> loadManufacturers();
// Categories with a parent row, by display name (the parent's description, " / ", their own).
QList<LookupEntry> loadCategories();

// The panel as typed (texts untrimmed), with the IDs behind the two combo boxes (empty when
// nothing is selected).
struct ProductEntry
{
    QString productId;
    QString productUpc;
    QString productName;
    bool activeProd = true;
    bool activeWeb = true;
    QString categoryId;
    QString msrp;
    QString lastPrice;
    QString prodCost;
    QString manufacturerId;
    QString releaseDate;
    QString distEndDate;
    QString firstUseDate;
    QString firstUseCycle;
    QString lastUseDate;
    QString lastUseCycle;
    bool featuredProd = false;
    QString onHand;
    QString status;
    QString comments;
    QString source;
    QString weight;
    QString length;
    QString height;
    QString width;
    QString artSource;
    QString filler1;
    QString filler2;
    QString filler3;
};

// A stored product as the panel shows it: numbers as plain text, dates mm/dd/yyyy, comments with
// their line breaks as "\n"; nothing when no product has that ID.
std::optional<ProductEntry> loadProduct(const QString &productId);

// A flag read as text: "True", "Y", "Yes" and "1" (exactly, after trimming) are 1, anything else 0.
int ParseFlagText(const QString &text);

// --- Save, copy and delete ---

// Every failing check of the panel, in order, each message followed by a carriage return; empty
// when the product can be saved.
QString validateProduct(const ProductEntry &entry);

// Comments as stored: every line break CR LF.
QString storedComments(const QString &comments);

enum class SaveResult { Saved, Declined, Failed };
inline constexpr const char *kSaveFailed =
    "The program has encountered an unknown error while saving.";
// Replaces the product's row (delete, then insert) in one transaction, with the time and user of
// the change. A new product whose ID exists asks whether to override it, before the transaction
// begins (and again should another client change the row meanwhile); No is Declined. Any database
// failure rolls everything back and gives Failed. Does not throw.
SaveResult saveProduct(const ProductEntry &entry, bool isNew, const QDateTime &now,
                       const QString &user);

// Deletes the product's row in one transaction (its descriptions stay); false when the database
// refused, with nothing changed. Does not throw.
bool deleteProduct(const QString &productId);
QString deleteQuestion(const QString &productId);
QString deleteFailedMessage(const QString &productId);

// The list row of a saved product, from the panel's texts as they stand: flags "0"/"1", the
// combo boxes' shown texts.
QStringList productListRow(const ProductEntry &entry, const QString &categoryText,
                           const QString &manufacturerText);

} // namespace inventory
