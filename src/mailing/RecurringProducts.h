#pragma once

#include "warehouse/RowSink.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

// The recurring products calendar: in which scheduled catalogs (club and catalog of the cycle
// schedule) a product recurs, one row of tblRecurringCatgProducts per catalog. The window lists
// the calendar of one product as "Club | Catalog" items and moves them between "Available
// Schedule" and "Product Recurrence Calendar"; every move is one statement of its own.
namespace recurring {

// Caption of the window; its messages carry it as their title.
QString caption();

// The product search and its grid, shared with the catalog editor's inventory grid.
QStringList productHeaders();
inline constexpr int kProductColumns = 25;
// Why a criterion cannot be searched in that column (the message to show), or nothing.
std::optional<QString> searchRefusal(int column, const QString &criterion);
// Shown when the search statement fails, whatever the database said.
QString searchFailureMessage();
// Searches the active products by one column and hands the rows to the sink. Returns the message
// to show instead: the refusal of the criterion (nothing searched), or the failure message when
// the database refused the statement (the rows handed over so far stay).
std::optional<QString> searchProducts(int column, const QString &criterion, const RowSink &sink);

// Every product that recurs in at least one scheduled catalog, once each, by product ID; the
// cells as the catalog editor's recurring products grid shows them.
void loadAllRecurringProducts(const RowSink &sink);

// A list item: club and catalog as the lists show them, and back.
QString itemText(const QString &clubId, const QString &catalogId);
// Splits at the first " | " and trims both parts; a text without one gives an empty catalog.
std::pair<QString, QString> splitItem(const QString &item);
// Where an item belongs in a list kept in club and catalog order (case as the warehouse
// compares keys): the index of the first item that sorts after it.
int sortedPosition(const QStringList &items, const QString &item);

// The calendar of one product: the scheduled catalogs without it and those with it, each in club
// and catalog order. Both empty for an empty product ID.
struct Calendar
{
    QStringList available;
    QStringList scheduled;
};
Calendar loadProductCalendar(const QString &productId);

// Writes (Add) or deletes (Remove) the recurrence rows of the items, one statement each, in the
// order given, and calls `moved` after each statement that succeeded. The first failure ends the
// transfer with DbError, leaving the rows written before it. Nothing happens for an empty product
// ID, so no recurrence row ever lacks its product.
enum class Transfer { Add, Remove };
void transfer(Transfer direction, const QString &productId, const QStringList &items,
              const std::function<void(const QString &item)> &moved = {});

} // namespace recurring
