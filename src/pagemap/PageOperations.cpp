#include "pagemap/PageOperations.h"

#include "catalog/MapRows.h"
#include "catalog/TextLimits.h"
#include "pagemap/PageMap.h"

#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <QCryptographicHash>

#include <algorithm>

namespace catalog {

namespace {

// Beyond any page a map has: "from this page to the end of the book".
constexpr int kEnd = 1 << 29;

bool isMap(const NodeKey &key) { return key.isCatalog() || key.isInsert(); }

// New numbers for the pages from..to (page rows and placements alike): an expression over PageNum
// with the values it binds.
struct Renumbering
{
    QString number;
    QVariantList values;
    int from = 0;
    int to = 0;
    // Where the new numbers lie.
    int newFrom = 0;
    int newTo = 0;
};

void bindAll(Query &query, const QVariantList &values)
{
    for (const QVariant &value : values)
        query.bind(value);
}

void renumber(const NodeKey &map, const Renumbering &change)
{
    const MapRows pages = MapRows::pagesOf(map);
    // The page number is part of a page row's key, and a statement may check the key row by row:
    // the rows pass through negative numbers so that none meets another's number on the way.
    {
        Query away(QStringLiteral("UPDATE ") + pages.table() +
                   QStringLiteral(" SET PageNum = -1 - (") + change.number +
                   QStringLiteral(") WHERE ") + pages.where() +
                   QStringLiteral(" AND PageNum BETWEEN ? AND ?"));
        bindAll(away, change.values);
        pages.bindTo(away).bind(change.from).bind(change.to).exec();
    }
    {
        Query back(QStringLiteral("UPDATE ") + pages.table() +
                   QStringLiteral(" SET PageNum = -1 - PageNum WHERE ") + pages.where() +
                   QStringLiteral(" AND PageNum BETWEEN ? AND ?"));
        pages.bindTo(back).bind(-1 - change.newTo).bind(-1 - change.newFrom).exec();
    }
    const MapRows placements = MapRows::placementsOf(map);
    Query follow(QStringLiteral("UPDATE tblProductsMap SET PageNum = ") + change.number +
                 QStringLiteral(" WHERE ") + placements.where() +
                 QStringLiteral(" AND PageNum BETWEEN ? AND ?"));
    bindAll(follow, change.values);
    placements.bindTo(follow).bind(change.from).bind(change.to).exec();
}

// The number a move of `count` pages from `first` to `to` gives a page of the range it renumbers:
// forward, the pages after the moved ones come down by their number; backward, the pages from the
// new place on go up by it.
int movedNumber(int page, int first, int count, int to)
{
    if (page >= first && page < first + count)
        return page + to - first;
    return to > first ? page - count : page + count;
}

void shiftFrom(const NodeKey &map, int from, int by)
{
    renumber(map, {QStringLiteral("PageNum + ?"), {by}, from, kEnd, from + by, kEnd + by});
}

// What the pages from..to hold as a fingerprint: their numbers and sections, and their
// placements summed rather than read one by one (a page move renumbers thousands): which placement
// is on which page at which position changes the sums.
class Fingerprint
{
public:
    void add(const QString &text)
    {
        m_hash.addData(text.toUtf8());
        m_hash.addData(QByteArrayView("\x1f", 1));
    }
    void addPage(const QString &number, const QString &section)
    {
        add(number);
        add(section);
    }
    QByteArray result() const { return m_hash.result(); }

private:
    QCryptographicHash m_hash{QCryptographicHash::Sha1};
};

// The placements' part of the fingerprint, with their page numbers as an expression gives them.
QString placementSums(const QString &number)
{
    return QStringLiteral("COUNT(*), SUM(CAST(ItemID AS BIGINT) * (") + number +
           QStringLiteral(")), SUM(CAST(ItemID AS BIGINT) * PagePosition)");
}

QByteArray stampOf(const NodeKey &map, int from, int to)
{
    Fingerprint print;
    {
        const MapRows pages = MapRows::pagesOf(map);
        Query query(QStringLiteral("SELECT PageNum, PageSection FROM ") + pages.table() +
                    QStringLiteral(" WHERE ") + pages.where() +
                    QStringLiteral(" AND PageNum BETWEEN ? AND ? ORDER BY PageNum"));
        pages.bindTo(query).bind(from).bind(to).exec();
        while (query.next())
            print.addPage(query.text(0), query.text(1));
    }
    const MapRows placements = MapRows::placementsOf(map);
    Query query(QStringLiteral("SELECT ") + placementSums(QStringLiteral("PageNum")) +
                QStringLiteral(" FROM tblProductsMap WHERE ") + placements.where() +
                QStringLiteral(" AND PageNum BETWEEN ? AND ?"));
    placements.bindTo(query).bind(from).bind(to).exec();
    while (query.next())
        for (int column = 0; column < 3; ++column)
            print.add(query.text(column));
    return print.result();
}

std::optional<QString> sectionOf(const NodeKey &map, int page)
{
    const MapRows pages = MapRows::pagesOf(map);
    Query query(QStringLiteral("SELECT PageSection FROM ") + pages.table() +
                QStringLiteral(" WHERE ") + pages.where() + QStringLiteral(" AND PageNum = ?"));
    pages.bindTo(query).bind(page).exec();
    std::optional<QString> section;
    while (query.next())
        section = query.text(0);
    return section;
}

// ---- The operations inside an open transaction

// Within the book unless replayed: a move back over a gap may reach past the last page. With
// `stamp`, the fingerprint of the pages it renumbers as it leaves them: read with the check, before
// the rows change, in the one statement the move reads (after its updates, a server would sum the
// placements among the versions of the rows the transaction has made).
PageResult movePagesIn(const NodeKey &map, int first, int count, int to, bool withinBook = true,
                       QByteArray *stamp = nullptr)
{
    const int last = first + count - 1;
    // As movedNumber.
    const bool forward = to > first;
    const int from = forward ? first : to;
    const int until = forward ? to + count - 1 : last;
    const Renumbering change{QStringLiteral("CASE WHEN PageNum BETWEEN ? AND ? THEN PageNum + ? "
                                            "ELSE PageNum + ? END"),
                             {first, last, to - first, forward ? -count : count},
                             from,
                             until,
                             from,
                             until};
    // The map's page rows, then the placements of the pages renumbered summed at their new numbers.
    const MapRows pages = MapRows::pagesOf(map);
    const MapRows placements = MapRows::placementsOf(map);
    Query query(QStringLiteral("SELECT 0, PageNum, NULL, NULL, PageSection FROM ") + pages.table() +
                QStringLiteral(" WHERE ") + pages.where() +
                QStringLiteral(" UNION ALL SELECT 1, ") + placementSums(change.number) +
                QStringLiteral(", NULL FROM tblProductsMap WHERE ") + placements.where() +
                QStringLiteral(" AND PageNum BETWEEN ? AND ? ORDER BY 1, 2"));
    pages.bindTo(query);
    bindAll(query, change.values);
    placements.bindTo(query).bind(from).bind(until).exec();
    std::vector<std::pair<int, QString>> renumbered;
    QStringList sums;
    int lowest = INT_MAX;
    int highest = INT_MIN;
    int moving = 0;
    while (query.next()) {
        if (query.value(0).toInt() == 1) {
            sums = {query.text(1), query.text(2), query.text(3)};
            continue;
        }
        const int page = query.value(1).toInt();
        lowest = std::min(lowest, page);
        highest = std::max(highest, page);
        if (page >= first && page <= last)
            ++moving;
        if (page >= from && page <= until)
            renumbered.emplace_back(movedNumber(page, first, count, to), query.text(4));
    }
    if (count < 1 || moving != count)
        return PageResult::NoSuchPage;
    if (withinBook && (to < lowest || to + count - 1 > highest))
        return PageResult::OutsideTheBook;
    if (to == first)
        return PageResult::Unchanged;
    renumber(map, change);
    if (stamp) {
        std::sort(renumbered.begin(), renumbered.end());
        Fingerprint print;
        for (const auto &[page, section] : renumbered)
            print.addPage(QString::number(page), section);
        for (const QString &sum : std::as_const(sums))
            print.add(sum);
        *stamp = print.result();
    }
    return PageResult::Done;
}

PageResult insertPageIn(const NodeKey &map, int &at, const QString &section)
{
    const BookRange book = bookRange(map);
    if (at == kBookEnd)
        at = book.empty ? 1 : book.last + 1;
    if (book.empty ? at != 1 : (at < book.first || at > book.last + 1))
        return PageResult::OutsideTheBook;
    QString description;
    if (map.isInsert()) {
        // An insert without pages has no description to give its first page.
        Query query(QStringLiteral("SELECT InsertDescription FROM tblInsertMap WHERE InsertID = ? "
                                   "ORDER BY PageNum"));
        query.bind(map.insertId()).exec();
        bool first = true;
        while (query.next()) {
            if (first)
                description = query.text(0);
            first = false;
        }
    }
    if (!book.empty && at <= book.last)
        shiftFrom(map, at, 1);
    if (map.isInsert())
        Query(QStringLiteral("INSERT INTO tblInsertMap (InsertID, InsertDescription, PageNum, "
                             "PageSection) VALUES (?, ?, ?, ?)"))
            .bind(map.insertId())
            .bind(description)
            .bind(at)
            .bind(vb::Trim(section))
            .exec();
    else
        Query(QStringLiteral("INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, "
                             "PageSection) VALUES (?, ?, ?, ?, ?)"))
            .bind(map.clubId())
            .bind(map.catalogId())
            .bind(map.testId())
            .bind(at)
            .bind(vb::Trim(section))
            .exec();
    return PageResult::Done;
}

std::vector<RemovedPlacement> placementsOn(const NodeKey &map, int page)
{
    const MapRows placements = MapRows::placementsOf(map);
    Query query(QStringLiteral("SELECT ProductID, PagePosition, PageWeight, DescType, Price, "
                               "Discount, ProductType, ModifyDate, ModifyUser FROM tblProductsMap "
                               "WHERE ") +
                placements.where() + QStringLiteral(" AND PageNum = ? ORDER BY ItemID"));
    placements.bindTo(query).bind(page).exec();
    std::vector<RemovedPlacement> found;
    while (query.next())
        found.push_back({query.text(0), query.value(1).toInt(), query.number(2), query.value(3),
                         query.value(4), query.value(5), query.value(6), query.value(7),
                         query.value(8)});
    return found;
}

PageResult removePageIn(const NodeKey &map, int page, std::optional<int> expected, QString *section,
                        std::vector<RemovedPlacement> *removed)
{
    const std::optional<QString> stored = sectionOf(map, page);
    if (!stored)
        return PageResult::NoSuchPage;
    std::vector<RemovedPlacement> placements = placementsOn(map, page);
    if (expected && *expected != int(placements.size()))
        return PageResult::PlacementsDiffer;
    for (const MapRows &rows : {MapRows::pagesOf(map), MapRows::placementsOf(map)}) {
        Query query(QStringLiteral("DELETE FROM ") + rows.table() + QStringLiteral(" WHERE ") +
                    rows.where() + QStringLiteral(" AND PageNum = ?"));
        rows.bindTo(query).bind(page).exec();
    }
    shiftFrom(map, page + 1, -1);
    if (section)
        *section = *stored;
    if (removed)
        *removed = std::move(placements);
    return PageResult::Done;
}

void restorePlacements(const NodeKey &map, int page, const std::vector<RemovedPlacement> &list)
{
    const QVariantList key = MapRows::placementKeyValues(map);
    for (const RemovedPlacement &placement : list) {
        Query query(QStringLiteral(
            "INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, "
            "PagePosition, PageWeight, DescType, Price, Discount, ProductType, ModifyDate, "
            "ModifyUser) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        bindAll(query, key);
        query.bind(placement.productId)
            .bind(page)
            .bind(placement.position)
            .bind(placement.weight)
            .bind(placement.descType)
            .bind(placement.price)
            .bind(placement.discount)
            .bind(placement.productType)
            .bind(placement.modifyDate)
            .bind(placement.modifyUser)
            .exec();
    }
}

PageResult setSectionIn(const NodeKey &map, int page, const QString &section, QString *before)
{
    const std::optional<QString> stored = sectionOf(map, page);
    if (!stored)
        return PageResult::NoSuchPage;
    const MapRows pages = MapRows::pagesOf(map);
    Query query(QStringLiteral("UPDATE ") + pages.table() +
                QStringLiteral(" SET PageSection = ? WHERE ") + pages.where() +
                QStringLiteral(" AND PageNum = ?"));
    query.bind(vb::Trim(section));
    pages.bindTo(query).bind(page).exec();
    if (before)
        *before = *stored;
    return PageResult::Done;
}

void stampRange(PageEdit &edit)
{
    switch (edit.kind) {
    case PageEdit::Kind::MovePages:
        edit.stampFrom = std::min(edit.page, edit.to);
        edit.stampTo = std::max(edit.page, edit.to) + edit.count - 1;
        break;
    case PageEdit::Kind::EditSection:
        edit.stampFrom = edit.stampTo = edit.page;
        break;
    default:
        edit.stampFrom = edit.page;
        edit.stampTo = kEnd;
        break;
    }
    // A move has read its stamp already.
    if (edit.stamp.isEmpty())
        edit.stamp = stampOf(edit.map, edit.stampFrom, edit.stampTo);
}

// Runs an operation in a transaction of its own; a done one is stamped for its undo, announced
// and committed.
template <typename Operation>
PageResult inTransaction(const NodeKey &map, PageEdit *done, Operation &&operation)
{
    if (!isMap(map))
        return PageResult::NotAMap;
    Transaction transaction;
    const PageResult result = operation();
    if (result != PageResult::Done)
        return result;
    if (done)
        stampRange(*done);
    MapChanges::announcePages(map.key());
    transaction.commit();
    return result;
}

PageEdit edit(PageEdit::Kind kind, const NodeKey &map, int page, int count = 1, int to = 0,
              const QString &section = {})
{
    PageEdit made;
    made.kind = kind;
    made.map = map;
    made.page = page;
    made.count = count;
    made.to = to;
    made.section = section;
    return made;
}

} // namespace

QString PageEdit::description() const
{
    switch (kind) {
    case Kind::MovePages:
        return count == 1 ? QStringLiteral("move of page %1 to %2").arg(page).arg(to)
                          : QStringLiteral("move of pages %1-%2 to %3-%4")
                                .arg(page)
                                .arg(page + count - 1)
                                .arg(to)
                                .arg(to + count - 1);
    case Kind::InsertPage:
        return QStringLiteral("insert of page %1").arg(page);
    case Kind::RemovePage:
        return QStringLiteral("removal of page %1").arg(page);
    case Kind::EditSection:
        return QStringLiteral("section of page %1").arg(page);
    }
    return {};
}

BookRange bookRange(const NodeKey &map)
{
    const MapRows pages = MapRows::pagesOf(map);
    Query query(QStringLiteral("SELECT MIN(PageNum), MAX(PageNum) FROM ") + pages.table() +
                QStringLiteral(" WHERE ") + pages.where());
    pages.bindTo(query).exec();
    BookRange range;
    while (query.next())
        if (!query.isNull(0))
            range = {query.value(0).toInt(), query.value(1).toInt(), false};
    return range;
}

PageResult movePages(const NodeKey &map, int first, int count, int to, PageEdit *done)
{
    const NodeKey key(mapKeyOf(map));
    return inTransaction(key, done, [&] {
        QByteArray stamp;
        const PageResult result = movePagesIn(key, first, count, to, true, &stamp);
        if (done) {
            *done = edit(PageEdit::Kind::MovePages, key, first, count, to);
            done->stamp = stamp;
        }
        return result;
    });
}

PageResult insertPage(const NodeKey &map, int at, const QString &section, PageEdit *done)
{
    refuseTooLong(QStringLiteral("Page Section"), vb::Trim(section), kPageSectionLength);
    const NodeKey key(mapKeyOf(map));
    return inTransaction(key, done, [&] {
        const PageResult result = insertPageIn(key, at, section);
        if (done)
            *done = edit(PageEdit::Kind::InsertPage, key, at, 1, 0, vb::Trim(section));
        return result;
    });
}

PageResult removePage(const NodeKey &map, int page, std::optional<int> placements, PageEdit *done)
{
    const NodeKey key(mapKeyOf(map));
    return inTransaction(key, done, [&] {
        if (page == kBookEnd) {
            const BookRange book = bookRange(key);
            if (book.empty)
                return PageResult::NoSuchPage;
            page = book.last;
        }
        PageEdit removal = edit(PageEdit::Kind::RemovePage, key, page);
        const PageResult result =
            removePageIn(key, page, placements, &removal.section, &removal.placements);
        if (done)
            *done = std::move(removal);
        return result;
    });
}

PageResult editPageSection(const NodeKey &map, int page, const QString &section, PageEdit *done)
{
    refuseTooLong(QStringLiteral("Page Section"), vb::Trim(section), kPageSectionLength);
    const NodeKey key(mapKeyOf(map));
    return inTransaction(key, done, [&] {
        PageEdit change = edit(PageEdit::Kind::EditSection, key, page, 1, 0, vb::Trim(section));
        const PageResult result = setSectionIn(key, page, section, &change.oldSection);
        if (done)
            *done = std::move(change);
        return result;
    });
}

namespace {

PageResult replay(PageEdit &edit, bool undo)
{
    return inTransaction(edit.map, nullptr, [&] {
        if (stampOf(edit.map, edit.stampFrom, edit.stampTo) != edit.stamp)
            return PageResult::Stale;
        PageResult result = PageResult::Done;
        QByteArray moved;
        switch (edit.kind) {
        case PageEdit::Kind::MovePages:
            result = undo ? movePagesIn(edit.map, edit.to, edit.count, edit.page, false, &moved)
                          : movePagesIn(edit.map, edit.page, edit.count, edit.to, false, &moved);
            break;
        case PageEdit::Kind::InsertPage:
            result = undo ? removePageIn(edit.map, edit.page, 0, nullptr, nullptr)
                          : insertPageIn(edit.map, edit.page, edit.section);
            break;
        case PageEdit::Kind::RemovePage:
            if (undo) {
                result = insertPageIn(edit.map, edit.page, edit.section);
                if (result == PageResult::Done)
                    restorePlacements(edit.map, edit.page, edit.placements);
            } else {
                result = removePageIn(edit.map, edit.page, int(edit.placements.size()),
                                      &edit.section, &edit.placements);
            }
            break;
        case PageEdit::Kind::EditSection:
            result =
                setSectionIn(edit.map, edit.page, undo ? edit.oldSection : edit.section, nullptr);
            break;
        }
        // The stamp is unchanged, so anything else means the pages were changed since.
        if (result != PageResult::Done)
            return PageResult::Stale;
        edit.stamp = moved.isEmpty() ? stampOf(edit.map, edit.stampFrom, edit.stampTo) : moved;
        return result;
    });
}

} // namespace

PageResult undoPageEdit(PageEdit &edit) { return replay(edit, true); }
PageResult redoPageEdit(PageEdit &edit) { return replay(edit, false); }

// ---- The map held in memory, following the statements above

namespace {

// The pages from..to take the numbers the renumbering gave their rows; the map stays in page
// order.
template <typename Number> void renumberHeld(PageMap &map, int from, int to, Number &&number)
{
    for (MapPage &page : map.pages)
        if (page.number >= from && page.number <= to)
            page.number = number(page.number);
    std::sort(map.pages.begin(), map.pages.end(),
              [](const MapPage &a, const MapPage &b) { return a.number < b.number; });
}

bool moveHeld(PageMap &map, int first, int count, int to)
{
    const int last = first + count - 1;
    for (int page = first; page <= last; ++page)
        if (!map.page(page) || !map.page(page)->stored)
            return false;
    const bool forward = to > first;
    renumberHeld(map, forward ? first : to, forward ? to + count - 1 : last,
                 [&](int page) { return movedNumber(page, first, count, to); });
    return true;
}

bool removeHeld(PageMap &map, int number)
{
    const MapPage *page = map.page(number);
    if (!page || !page->stored)
        return false;
    map.pages.erase(map.pages.begin() + (page - map.pages.data()));
    renumberHeld(map, number + 1, kEnd, [](int page) { return page - 1; });
    return true;
}

MapPage &insertHeld(PageMap &map, int at, const QString &section)
{
    // As insertPageIn: the pages from `at` on move up while the book has a page row there.
    const auto last = std::find_if(map.pages.rbegin(), map.pages.rend(),
                                   [](const MapPage &page) { return page.stored; });
    if (last != map.pages.rend() && at <= last->number)
        renumberHeld(map, at, kEnd, [](int page) { return page + 1; });
    MapPage *page = map.page(at);
    if (!page) {
        const auto place = std::find_if(map.pages.begin(), map.pages.end(),
                                        [at](const MapPage &other) { return other.number > at; });
        page = &*map.pages.insert(place, MapPage{});
        page->number = at;
    }
    page->stored = true;
    page->section = vb::Trim(section);
    return *page;
}

} // namespace

bool takeInPageEdit(PageMap &map, const PageEdit &edit, bool undone)
{
    bool held = true;
    switch (edit.kind) {
    case PageEdit::Kind::MovePages:
        held = undone ? moveHeld(map, edit.to, edit.count, edit.page)
                      : moveHeld(map, edit.page, edit.count, edit.to);
        break;
    case PageEdit::Kind::InsertPage:
        if (undone)
            held = removeHeld(map, edit.page);
        else
            insertHeld(map, edit.page, edit.section);
        break;
    case PageEdit::Kind::RemovePage:
        if (!undone) {
            held = removeHeld(map, edit.page);
        } else {
            MapPage &page = insertHeld(map, edit.page, edit.section);
            // Made again, the placements have new item IDs.
            if (!edit.placements.empty()) {
                std::optional<MapPage> read = loadMapPage(map.map, edit.page);
                held = read.has_value();
                if (read)
                    page = std::move(*read);
            }
        }
        break;
    case PageEdit::Kind::EditSection:
        if (MapPage *page = map.page(edit.page); page && page->stored)
            page->section = vb::Trim(undone ? edit.oldSection : edit.section);
        else
            held = false;
        break;
    }
    // An insert's name is that of its pages: none without pages.
    if (map.map.isInsert() && std::none_of(map.pages.begin(), map.pages.end(),
                                           [](const MapPage &page) { return page.stored; }))
        map.caption.clear();
    map.listSections();
    return held;
}

} // namespace catalog
