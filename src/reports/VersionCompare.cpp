#include "reports/VersionCompare.h"

#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "warehouse/Query.h"

#include <algorithm>
#include <map>
#include <numeric>
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

QString pageText(const std::optional<MapPlacement> &at, int MapPlacement::*field,
                 FigureTexts &texts)
{
    return at ? texts.number((*at).*field) : QString();
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

    // Both maps' placements in one result, each product's together (as the warehouse tells
    // products apart: without case), the first map's before the second's, each in page and
    // position order: every product is paired as soon as its rows are read.
    const MapRows firstRows = MapRows::placementsOf(comparison.first, true);
    const MapRows secondRows = MapRows::placementsOf(comparison.second, true);
    const QString columns =
        QStringLiteral("tblProductsMap.ProductID AS ProductID, tblProductsMap.PageNum AS PageNum, "
                       "tblProductsMap.PagePosition AS PagePosition, tblProductsMap.Price, "
                       "tblProductsMap.Discount, tblInvMaster.ProductName FROM "
                       "tblProductsMap LEFT OUTER JOIN tblInvMaster ON tblInvMaster.ProductID = "
                       "tblProductsMap.ProductID WHERE ");
    Query query(QStringLiteral("SELECT 1 AS Side, ") + columns + firstRows.where() +
                QStringLiteral(" UNION ALL SELECT 2 AS Side, ") + columns + secondRows.where() +
                QStringLiteral(" ORDER BY ProductID, Side, PageNum, PagePosition"));
    firstRows.bindTo(query);
    secondRows.bindTo(query).exec();
    std::vector<Placed> before;
    std::vector<Placed> after;
    const auto pairProduct = [&] {
        pairPlacements(std::move(before), std::move(after), comparison.products);
        before.clear();
        after.clear();
    };
    bool started = false;
    QString product; // as the row before spelled it
    QString productName;
    while (query.next()) {
        rowRead(watch);
        // A row of the same product as the row before makes no texts anew.
        if (!started || !query.textIs(1, product)) {
            QString id = query.text(1);
            if (!started || id.compare(product, Qt::CaseInsensitive) != 0) {
                pairProduct();
                productName = query.text(6);
                started = true;
            }
            product = std::move(id);
        }
        Placed p{product, productName, {}};
        p.at.page = query.value(2).toInt();
        p.at.position = query.value(3).toInt();
        if (!query.isNull(4))
            p.at.price = query.number(4);
        if (!query.isNull(5))
            p.at.discount = query.number(5);
        (query.value(0).toInt() == 1 ? before : after).push_back(std::move(p));
    }
    pairProduct();
    const std::map<int, QString> sectionsBefore = readSections(comparison.first, watch);
    const std::map<int, QString> sectionsAfter = readSections(comparison.second, watch);

    // By page and position, the first map's before the second's, then by product. Sorted as
    // positions in the list, the changes themselves moved once.
    auto &products = comparison.products;
    const auto place = [&](std::size_t i) {
        const MapPlacement &at = products[i].first ? *products[i].first : *products[i].second;
        return std::tuple(at.page, at.position, !products[i].first);
    };
    std::vector<std::size_t> order(products.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto placeA = place(a);
        const auto placeB = place(b);
        if (placeA != placeB)
            return placeA < placeB;
        return products[a].productId.compare(products[b].productId, Qt::CaseInsensitive) < 0;
    });
    std::vector<ProductChange> sorted;
    sorted.reserve(products.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(products[i]));
    products = std::move(sorted);
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

QStringList changeRow(const ProductChange &c, FigureTexts &texts)
{
    const auto money = [&](const std::optional<MapPlacement> &at) {
        return at ? texts.money(at->price) : QString();
    };
    const auto discount = [&](const std::optional<MapPlacement> &at) {
        return at && at->discount ? texts.count(*at->discount) : QString();
    };
    return {c.repriced && c.status == ChangeStatus::Moved ? QStringLiteral("Moved, repriced")
                                                          : statusText(c.status),
            c.productId,
            c.productName,
            pageText(c.first, &MapPlacement::page, texts),
            pageText(c.first, &MapPlacement::position, texts),
            money(c.first),
            discount(c.first),
            pageText(c.second, &MapPlacement::page, texts),
            pageText(c.second, &MapPlacement::position, texts),
            money(c.second),
            discount(c.second)};
}

QList<QStringList> changeRows(const VersionComparison &comparison, bool withUnchanged)
{
    FigureTexts texts;
    QList<QStringList> rows;
    for (const ProductChange *c : listedChanges(comparison, withUnchanged))
        rows << changeRow(*c, texts);
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
