#pragma once

#include "catalog/NodeKey.h"

#include <QDateTime>
#include <QString>

// Whole-map and page operations on the map of a catalog test or insert, as the main window's
// Catalog Edit menu offers them through the catalog editor. Each works on the key of the node last
// clicked, writes in one transaction (all or nothing) and throws DbError on a database failure.
namespace catalog {

struct PageEdit;

// Copies a catalog test's pages and placements to a new catalog as its main version "0000".
enum class CopyToNewCatalogResult { Copied, NotScheduled, AlreadyOnRecord };
CopyToNewCatalogResult copyMapToNewCatalog(const QString &clubId, const QString &catalogId,
                                           const QString &testId, const QString &newCatalogId,
                                           const QDateTime &now, const QString &user);

// Copies the selected catalog test to each test ID of a comma-separated list. Returns the lines
// (each ended by a carriage return) naming the entries that were refused; the others are copied.
QString copyMapToTestIds(const NodeKey &source, const QString &testIdList, const QDateTime &now,
                         const QString &user);

// Deletes the whole map (pages and placements) of the selected catalog test or insert; false for
// any other key.
bool deleteMap(const NodeKey &key);

// The page operations of the page map (PageOperations.h), as the Catalog Edit commands make them.
// Appends a page after the highest one (page 1 on a map without pages); false when the key is
// neither a catalog test nor an insert.
bool addPageToMap(const NodeKey &key, const QString &section);
// Removes the highest page with its placements; false when the key is neither.
bool removePageFromMap(const NodeKey &key);
// Gives the selected page a new section; false when the key is no page key. The page map passes
// `done` to undo it.
bool editSectionOfPage(const NodeKey &key, const QString &section, PageEdit *done = nullptr);

// Swaps the placements of the selected page with those of another page of the same map; the page
// rows and their sections stay.
enum class SwitchPagesResult { Switched, InvalidPage, NotAPage };
SwitchPagesResult switchPageNumbers(const NodeKey &key, int otherPage);

} // namespace catalog
