#pragma once

#include "catalog/NodeKey.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// Placing a product on a page: one row of tblProductsMap. The placement editor of the catalog
// editor reads its boxes into a PlacementEntry, validates it here and saves it here.
namespace catalog {

enum class PlacementMode { Add, Edit };

// The placement editor's boxes as typed, and where the placement goes.
struct PlacementEntry
{
    NodeKey target; // the selected catalog test, insert or page
    PlacementMode mode = PlacementMode::Add;
    QString itemId; // the placement being edited (Edit mode)
    QString productId;
    QString pageNumber;
    QString position;
    QString weight;
    QString blurbSize;
    QString price;
    QString discount;
    QString productType;
};

struct PlacementValidation
{
    enum class Outcome { Valid, Refused, Cancelled };
    Outcome outcome = Outcome::Valid;
    // The failed checks' messages, each followed by a carriage return.
    QString messages;
};

// Checks an entry as the editor does before a save, in order, collecting every failure. In Add
// mode a product already on the map asks the operator (Dialogs, titled windowCaption) whether to
// go on; No ends the validation at once (Cancelled). Throws DbError.
PlacementValidation validatePlacement(const PlacementEntry &entry, const QString &windowCaption);

// Price and discount of a placement from the typed boxes and the product's prices. D is the MSRP,
// or 1 when the MSRP is 0:
//  - a typed price is rounded to cents; discount = 100 - price / D * 100;
//  - else a typed discount gives price = MSRP * (100 - discount) / 100 and is kept;
//  - else the last price (the MSRP when it has none) with discount = 100 - price / D * 100.
struct PlacementPrice
{
    double price = 0;
    double discount = 0;
};
PlacementPrice priceOfPlacement(const QString &priceText, const QString &discountText, double msrp,
                                double lastPrice);

// Writes a validated entry with the time and user of the change. In Edit mode the edited
// placement is replaced by a new row (a new ItemID) in one transaction, so a failed write keeps
// the old placement; a placement that another client replaced or deleted meanwhile is refused with
// kPlacementGone. Throws DbError.
inline constexpr const char *kPlacementGoneNumber = "0";
inline constexpr const char *kPlacementGoneDescription =
    "This placement was changed or deleted by another user while you edited it, so nothing was "
    "saved. Select it again to see it as it is now.";
void savePlacement(const PlacementEntry &entry, const QDateTime &now, const QString &user);

// One stored placement, each value as the placement editor shows it.
struct StoredPlacement
{
    QString itemId;
    QString productId;
    QString pageNumber;
    QString position;
    QString weight;
    QString blurbSize;
    QString productType;
    QString modifyDate;
    QString price;
    QString discount;
};
std::optional<StoredPlacement> loadPlacement(const QString &itemId);

void deletePlacement(const QString &itemId);

// "Blank" followed by the description sizes, as the size box offers them.
QStringList placementBlurbSizes();

// Renames an insert on all its pages.
void renameInsert(const QString &insertId, const QString &newName);

} // namespace catalog
