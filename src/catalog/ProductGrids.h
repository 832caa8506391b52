#pragma once

#include "catalog/NodeKey.h"
#include "warehouse/RowSink.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

// The four product lists of the catalog editor: the placements of the selected map or page, the
// recommendations for its catalog, the inventory search and the recurring products of the
// catalog. Each loader hands its rows, already formatted as the grid shows them, to a sink in the
// order the query delivers them, so a grid fills as the rows come. Loaders throw DbError.
namespace catalog {

// Headers of the four grids, in column order.
QStringList chosenProductsHeaders();
QStringList recommendedHeaders();
QStringList inventoryHeaders();
QStringList recurringHeaders();
// Widths of the recurring products grid, in twips.
QList<int> recurringColumnWidthsTwips();
// Columns of the placement grid the placement editor reads back.
inline constexpr int kChosenItemIdColumn = 0;
inline constexpr int kChosenProductIdColumn = 4;
inline constexpr int kChosenPositionColumn = 6;
// Columns of the placement grid kept out of sight (identity, catalog, test, club).
inline constexpr int kChosenHiddenColumns = 4;

// A stored value as a grid shows it "as text": numbers without trailing zeros, dates as
// yyyy-mm-dd, NULL as empty text. Both warehouses give the same text for the same value.
QString cellText(const QVariant &value);
// Money "$#,##0.00", NULL as 0.
QString moneyText(const QVariant &value);
// A stored percentage number (20 means 20 %) as "##0.00%", NULL as 0.
QString percentText(const QVariant &value);
// A count "#,##0", NULL as 0.
QString countText(const QVariant &value);
// A date column "mm/dd/yyyy", as the client shows every date; NULL as empty text.
QString dateText(const QVariant &value);

// The placements of a catalog test, insert or page (nothing for a root key).
void loadPageProducts(const NodeKey &key, const RowSink &sink);
// The position proposed for the next placement of a page: one after the last listed placement's
// position, 1 on an empty page.
QString nextFreePosition(const std::optional<QString> &lastListedPosition);

// The recommendations for the catalog (or insert) of the key, best forecast first.
void loadRecommendations(const NodeKey &key, const RowSink &sink);

// The products recurring in a scheduled catalog.
void loadRecurringProducts(const QString &clubId, const QString &catalogId, const RowSink &sink);

// Searching the inventory by one of its 25 columns: one search for the catalog editor's inventory
// grid and the inventory maintenance list, so the same product reads the same in both.
inline constexpr int kInventoryColumns = 25;
enum class SearchKind { Text, Number, Date, Category };
// The editor finds active products (shop or web) only; inventory maintenance may search them all.
enum class InventoryScope { ActiveOnly, AllProducts };
SearchKind inventorySearchKind(int column);
// Why a criterion cannot be searched in that column (the message to show), or nothing when it
// can. The criterion is trimmed first.
std::optional<QString> inventorySearchRefusal(int column, const QString &criterion);
// Active products (shop or web) matching the criterion in that column; the criterion must have
// passed inventorySearchRefusal.
void searchInventoryMaster(int column, const QString &criterion, const RowSink &sink);
void searchInventoryMaster(int column, const QString &criterion, InventoryScope scope,
                           const RowSink &sink);
// The statement the search runs, for the column's kind.
QString inventorySearchStatement(int column, InventoryScope scope = InventoryScope::ActiveOnly);
// A searched value as its column shows it: flags "True"/"False", dates mm/dd/yyyy, everything
// else as text; NULL as empty text.
QString inventoryCellText(int column, const QVariant &value);

} // namespace catalog
