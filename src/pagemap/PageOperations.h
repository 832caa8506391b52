#pragma once

#include "catalog/NodeKey.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <climits>
#include <optional>
#include <vector>

// The operations on the pages of a catalog test's or insert's map that the page map and the
// catalog editor's Catalog Edit commands share: pages moved, inserted, removed and given a new
// section. The pages after an inserted, removed or moved page are renumbered, and the placements
// follow their page. Each operation is one transaction, touches no other map and announces its map
// through MapChanges once committed; each throws DbError on a database failure.
namespace catalog {

struct PageMap;

// The prompt of the section's input box, wherever a page's section is edited.
inline const QString kPageSectionPrompt =
    QStringLiteral("Please enter in the box below the new section name of the page.");

// A placement as a removed page took it, to be made again when the removal is undone.
struct RemovedPlacement
{
    QString productId;
    int position = 0;
    double weight = 0;
    QVariant descType;
    QVariant price;
    QVariant discount;
    QVariant productType;
    QVariant modifyDate;
    QVariant modifyUser;
};

// One change of a map's pages, as much as undoing and redoing it needs.
struct PageEdit
{
    enum class Kind { MovePages, InsertPage, RemovePage, EditSection };
    Kind kind = Kind::MovePages;
    NodeKey map;
    int page = 0;    // the page moved (the first of a spread), inserted, removed or given a section
    int count = 1;   // MovePages: pages moved together
    int to = 0;      // MovePages: where the first of them went
    QString section; // the inserted page's, the removed page's, or the new one
    QString oldSection;                       // EditSection: the section before
    std::vector<RemovedPlacement> placements; // RemovePage: what went with the page
    // The pages the change touched (from..to), as it left them: an undo or redo applies only while
    // they are still so.
    int stampFrom = 0;
    int stampTo = INT_MAX;
    QByteArray stamp;

    // "Move of page 3 to 7", for the status bar and the undo button's tip.
    QString description() const;
};

enum class PageResult {
    Done,
    Unchanged,        // the page is already where it was asked to go
    NoSuchPage,       // a page it needs is not on the map
    OutsideTheBook,   // a move or an insert beyond the book's first or last page
    PlacementsDiffer, // a removal whose page has other placements than the operator agreed to
    Stale,            // an undo or redo whose pages have been changed since
    NotAMap,          // the key is neither a catalog test nor an insert
};

// The pages the map has, from the lowest to the highest number; nothing on a map without pages.
struct BookRange
{
    int first = 0;
    int last = 0;
    bool empty = true;
};
BookRange bookRange(const NodeKey &map);

// As the page of an insert or a removal: the end of the book (one after the last page, the last
// page; page 1 on a map without pages).
inline constexpr int kBookEnd = INT_MIN;

// Moves `count` pages from `first` on (one page, or the two of a spread) so that the first of them
// becomes page `to`; the pages in between move up or down by `count`.
PageResult movePages(const NodeKey &map, int first, int count, int to, PageEdit *done = nullptr);

// A section longer than the maps' column is refused with DbError naming the limit, before anything
// is written (insert and section edit alike).
// A new page `at` with a section (trimmed); the pages from `at` on move one up. `at` may be one
// after the last page; an insert's new page takes the insert's description.
PageResult insertPage(const NodeKey &map, int at, const QString &section, PageEdit *done = nullptr);

// Removes a page with its placements; the pages after it move one down. With `placements` given,
// only while the page has exactly that many (the number the operator was asked about).
PageResult removePage(const NodeKey &map, int page, std::optional<int> placements = std::nullopt,
                      PageEdit *done = nullptr);

// Gives a page a new section (trimmed).
PageResult editPageSection(const NodeKey &map, int page, const QString &section,
                           PageEdit *done = nullptr);

// Takes a change back, or makes it again, while its pages are as it left them; the edit is
// brought up to date for the next undo or redo.
PageResult undoPageEdit(PageEdit &edit);
PageResult redoPageEdit(PageEdit &edit);

// A map held in memory brought up to date with a change just made, undone (`undone`) or made
// again, as its statements left the rows: renumbered, inserted and removed pages with their
// placements, without reading the map again. Only a removed page put back is read, to have its
// placements as they were made again. False when the map held does not have the pages the change
// was made on (it is older than the change): read it again. Throws DbError.
bool takeInPageEdit(PageMap &map, const PageEdit &edit, bool undone);

} // namespace catalog
