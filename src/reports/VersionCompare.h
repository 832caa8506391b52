#pragma once

#include "catalog/NodeKey.h"
#include "reports/ReportSupport.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// Compare Versions: what changed between two maps (two versions of a catalog, or any two maps).
//
// Placements are matched by product: a product's placements on the same page and position in both
// maps first, then the rest of them in page and position order; a placement left over in the
// first map is removed, in the second added. A matched pair is moved when its page or position
// differs, else repriced when its price or discount differs, else unchanged. A moved pair whose
// price or discount differs too is listed as moved and repriced, and counted under both.
namespace reports {

enum class ChangeStatus { Added, Removed, Moved, Repriced, Unchanged };
inline constexpr int kChangeStatuses = 5;
QString statusText(ChangeStatus status);

struct MapPlacement
{
    int page = 0;
    int position = 0;
    std::optional<double> price;
    std::optional<double> discount;
};

struct ProductChange
{
    ChangeStatus status = ChangeStatus::Unchanged;
    bool repriced = false; // price or discount differs, whether moved or not
    QString productId;
    QString productName;
    std::optional<MapPlacement> first;  // none for an added product
    std::optional<MapPlacement> second; // none for a removed one
};

// A page whose section differs, or that only one map has.
struct SectionChange
{
    int page = 0;
    std::optional<QString> first;
    std::optional<QString> second;
};

struct VersionComparison
{
    catalog::NodeKey first;
    catalog::NodeKey second;
    std::vector<ProductChange>
        products; // by page and position, the first map's before the second's
    std::vector<SectionChange> sections; // by page
    std::array<int, kChangeStatuses> counts{};
};

// Throws DbError, or StoppedByOperator when the watch says so.
VersionComparison compareVersions(const catalog::NodeKey &first, const catalog::NodeKey &second,
                                  const RowRead &watch = {});

// The grids' rows, formatted; the unchanged products only when asked for.
QStringList countHeaders();
QStringList countRow(const VersionComparison &comparison);
QStringList changeHeaders();
// The first of changeHeaders()' columns of the second map; those of the first map are before it.
inline constexpr int kSecondMapColumn = 7;
QList<QStringList> changeRows(const VersionComparison &comparison, bool withUnchanged);
// One of them, its figures' texts kept in `texts` for the rows after.
QStringList changeRow(const ProductChange &change, FigureTexts &texts);
// The changes changeRows() lists, in its order.
std::vector<const ProductChange *> listedChanges(const VersionComparison &comparison,
                                                 bool withUnchanged);
QStringList sectionChangeHeaders();
QList<QStringList> sectionChangeRows(const VersionComparison &comparison);

} // namespace reports
