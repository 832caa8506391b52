#include "reports/VersionCompare.h"

#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "warehouse/Query.h"

#include <algorithm>
#include <map>
#include <tuple>

using catalog::MapRows;
using catalog::NodeKey;

namespace reports {

namespace {

struct Placed
{
    QString productId;
    QString productName;
    MapPlacement at;
};

// Keyed as the warehouse compares product IDs and sections: without case.
using ByProduct = std::map<QString, std::vector<Placed>>;

ByProduct readPlacements(const NodeKey &map, const RowRead &watch)
{
    const MapRows placements = MapRows::placementsOf(map, true);
    Query query(QStringLiteral(
                    "SELECT tblProductsMap.ProductID, tblProductsMap.PageNum, "
                    "tblProductsMap.PagePosition, tblProductsMap.Price, tblProductsMap.Discount, "
                    "tblInvMaster.ProductName FROM tblProductsMap LEFT OUTER JOIN tblInvMaster ON "
                    "tblInvMaster.ProductID = tblProductsMap.ProductID WHERE ") +
                placements.where() +
                QStringLiteral(" ORDER BY tblProductsMap.PageNum, tblProductsMap.PagePosition"));
    placements.bindTo(query).exec();
    ByProduct byProduct;
    while (query.next()) {
        rowRead(watch);
        Placed p{query.text(0), query.text(5), {}};
        p.at.page = query.value(1).toInt();
        p.at.position = query.value(2).toInt();
        if (!query.isNull(3))
            p.at.price = query.number(3);
        if (!query.isNull(4))
            p.at.discount = query.number(4);
        byProduct[p.productId.toCaseFolded()].push_back(std::move(p));
    }
    return byProduct;
}

std::map<int, QString> readSections(const NodeKey &map, const RowRead &watch)
{
    const MapRows pages = MapRows::pagesOf(map);
    Query query(QStringLiteral("SELECT PageNum, PageSection FROM ") + pages.table() +
                QStringLiteral(" WHERE ") + pages.where());
    pages.bindTo(query).exec();
    std::map<int, QString> sections;
    while (query.next()) {
        rowRead(watch);
        sections[query.value(0).toInt()] = query.text(1);
    }
    return sections;
}

// Money to the hundredth of a cent, so that a figure stored through another float path compares
// equal.
std::optional<qint64> amount(const std::optional<double> &value)
{
    return value ? std::optional<qint64>(qRound64(*value * 10000)) : std::nullopt;
}

bool samePlace(const MapPlacement &a, const MapPlacement &b)
{
    return a.page == b.page && a.position == b.position;
}

bool repriced(const MapPlacement &a, const MapPlacement &b)
{
    return amount(a.price) != amount(b.price) || amount(a.discount) != amount(b.discount);
}

// Pairs one product's placements in the two maps.
void pairPlacements(std::vector<Placed> first, std::vector<Placed> second,
                    std::vector<ProductChange> &changes)
{
    const auto change = [](const Placed &any, const Placed *a, const Placed *b) {
        ProductChange c;
        c.productId = any.productId;
        c.productName = any.productName;
        if (a)
            c.first = a->at;
        if (b)
            c.second = b->at;
        c.repriced = a && b && repriced(a->at, b->at);
        c.status = !a                         ? ChangeStatus::Added
                   : !b                       ? ChangeStatus::Removed
                   : !samePlace(a->at, b->at) ? ChangeStatus::Moved
                   : c.repriced               ? ChangeStatus::Repriced
                                              : ChangeStatus::Unchanged;
        return c;
    };
    // The same page and position first, so that a product placed twice keeps its unmoved one.
    for (auto a = first.begin(); a != first.end();) {
        const auto b = std::find_if(second.begin(), second.end(),
                                    [&](const Placed &p) { return samePlace(p.at, a->at); });
        if (b == second.end()) {
            ++a;
            continue;
        }
        changes.push_back(change(*a, &*a, &*b));
        second.erase(b);
        a = first.erase(a);
    }
    // Both lists are in page and position order, as read.
    const std::size_t paired = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < paired; ++i)
        changes.push_back(change(first[i], &first[i], &second[i]));
    for (std::size_t i = paired; i < first.size(); ++i)
        changes.push_back(change(first[i], &first[i], nullptr));
    for (std::size_t i = paired; i < second.size(); ++i)
        changes.push_back(change(second[i], nullptr, &second[i]));
}

QString pageText(const std::optional<MapPlacement> &at, int MapPlacement::*field)
{
    return at ? QString::number((*at).*field) : QString();
}

QString moneyOf(const std::optional<MapPlacement> &at)
{
    return at ? moneyText(at->price) : QString();
}

QString discountOf(const std::optional<MapPlacement> &at)
{
    return at && at->discount ? countText(*at->discount) : QString();
}

QString sectionText(const std::optional<QString> &section)
{
    if (!section)
        return QStringLiteral("(no page)");
    return section->isEmpty() ? QStringLiteral("(none)") : *section;
}

} // namespace

QString statusText(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::Added:
        return QStringLiteral("Added");
    case ChangeStatus::Removed:
        return QStringLiteral("Removed");
    case ChangeStatus::Moved:
        return QStringLiteral("Moved");
    case ChangeStatus::Repriced:
        return QStringLiteral("Repriced");
    case ChangeStatus::Unchanged:
        break;
    }
    return QStringLiteral("Unchanged");
}

VersionComparison compareVersions(const NodeKey &first, const NodeKey &second, const RowRead &watch)
{
    VersionComparison comparison;
    comparison.first = NodeKey(catalog::mapKeyOf(first));
    comparison.second = NodeKey(catalog::mapKeyOf(second));
    const auto isMap = [](const NodeKey &key) {
        return key.isCatalog() || key.isInsert();
    };
    if (!isMap(comparison.first) || !isMap(comparison.second))
        return comparison;

    // Each statement read to its end before the next starts.
    ByProduct before = readPlacements(comparison.first, watch);
    ByProduct after = readPlacements(comparison.second, watch);
    const std::map<int, QString> sectionsBefore = readSections(comparison.first, watch);
    const std::map<int, QString> sectionsAfter = readSections(comparison.second, watch);

    for (auto &[product, placed] : before) {
        auto found = after.find(product);
        pairPlacements(std::move(placed),
                       found == after.end() ? std::vector<Placed>() : std::move(found->second),
                       comparison.products);
        if (found != after.end())
            after.erase(found);
    }
    for (auto &[product, placed] : after)
        pairPlacements({}, std::move(placed), comparison.products);
    const auto place = [](const ProductChange &c) {
        const MapPlacement &at = c.first ? *c.first : *c.second;
        return std::tuple(at.page, at.position, !c.first, c.productId.toCaseFolded());
    };
    std::stable_sort(
        comparison.products.begin(), comparison.products.end(),
        [&](const ProductChange &a, const ProductChange &b) { return place(a) < place(b); });
    for (const ProductChange &change : comparison.products) {
        ++comparison.counts[std::size_t(change.status)];
        if (change.repriced && change.status == ChangeStatus::Moved)
            ++comparison.counts[std::size_t(ChangeStatus::Repriced)];
    }

    std::map<int, SectionChange> pages;
    for (const auto &[page, section] : sectionsBefore)
        pages[page].first = section;
    for (const auto &[page, section] : sectionsAfter)
        pages[page].second = section;
    for (auto &[page, change] : pages) {
        change.page = page;
        if (!change.first || !change.second ||
            change.first->compare(*change.second, Qt::CaseInsensitive) != 0)
            comparison.sections.push_back(change);
    }
    return comparison;
}

QStringList countHeaders()
{
    QStringList headers;
    for (int status = 0; status < kChangeStatuses; ++status)
        headers << statusText(ChangeStatus(status));
    return headers << QStringLiteral("Pages with Another Section");
}

QStringList countRow(const VersionComparison &comparison)
{
    QStringList row;
    for (const int count : comparison.counts)
        row << countText(count);
    return row << countText(double(comparison.sections.size()));
}

QStringList changeHeaders()
{
    return {QStringLiteral("Status"),       QStringLiteral("Product ID"),
            QStringLiteral("Product Name"), QStringLiteral("1st Page"),
            QStringLiteral("1st Position"), QStringLiteral("1st Price"),
            QStringLiteral("1st Discount"), QStringLiteral("2nd Page"),
            QStringLiteral("2nd Position"), QStringLiteral("2nd Price"),
            QStringLiteral("2nd Discount")};
}

std::vector<const ProductChange *> listedChanges(const VersionComparison &comparison,
                                                 bool withUnchanged)
{
    std::vector<const ProductChange *> listed;
    for (const ProductChange &change : comparison.products)
        if (withUnchanged || change.status != ChangeStatus::Unchanged)
            listed.push_back(&change);
    return listed;
}

QList<QStringList> changeRows(const VersionComparison &comparison, bool withUnchanged)
{
    QList<QStringList> rows;
    for (const ProductChange *c : listedChanges(comparison, withUnchanged))
        rows << QStringList{c->repriced && c->status == ChangeStatus::Moved
                                ? QStringLiteral("Moved, repriced")
                                : statusText(c->status),
                            c->productId,
                            c->productName,
                            pageText(c->first, &MapPlacement::page),
                            pageText(c->first, &MapPlacement::position),
                            moneyOf(c->first),
                            discountOf(c->first),
                            pageText(c->second, &MapPlacement::page),
                            pageText(c->second, &MapPlacement::position),
                            moneyOf(c->second),
                            discountOf(c->second)};
    return rows;
}

QStringList sectionChangeHeaders()
{
    return {QStringLiteral("Page"), QStringLiteral("1st Section"), QStringLiteral("2nd Section")};
}

QList<QStringList> sectionChangeRows(const VersionComparison &comparison)
{
    QList<QStringList> rows;
    for (const SectionChange &change : comparison.sections)
        rows << QStringList{QString::number(change.page), sectionText(change.first),
                            sectionText(change.second)};
    return rows;
}

} // namespace reports
