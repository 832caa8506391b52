#include "reports/MailingCost.h"

#include "warehouse/Dialect.h"
#include "warehouse/Query.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace reports {

void MailingFigures::add(const MailingFigures &other)
{
    quantity += other.quantity;
    cost += other.cost;
    responses += other.responses;
}

namespace {

// Lines in the order their keys sort, each key as the warehouse compares it; each spelling a row
// has is looked up once, as a report's thousands of ad codes spell a few names.
struct Lines
{
    std::map<QString, MailingLine> byKey;
    QHash<QString, MailingLine *> bySpelling;
    // The line of a spelling, named by `name` when added.
    template <typename Key, typename Name>
    MailingLine &line(const QString &spelling, Key key, Name name)
    {
        auto spelled = bySpelling.constFind(spelling);
        if (spelled == bySpelling.constEnd()) {
            auto [found, added] = byKey.try_emplace(key(spelling));
            if (added)
                found->second.name = name();
            spelled = bySpelling.insert(spelling, &found->second);
        }
        return **spelled;
    }
    std::vector<MailingLine> sorted() const
    {
        std::vector<MailingLine> lines;
        for (const auto &[key, line] : byKey)
            lines.push_back(line);
        return lines;
    }
};

struct CatalogLines
{
    QString name;
    MailingFigures figures;
    Lines lists;
    Lines packages;
};

QString unchanged(const QString &text) { return text; }
QString folded(const QString &text) { return text.toCaseFolded(); }

QStringList rowOf(const QString &catalogName, const QString &line, const MailingFigures &f)
{
    return {catalogName,
            line,
            countText(f.quantity),
            moneyText(f.cost),
            countText(f.responses),
            moneyText(f.costPerResponse())};
}

} // namespace

MailingReport loadMailingReport(const QDate &from, const QDate &to, const RowRead &watch)
{
    // The warehouse adds up the ad codes of each catalog, list and package as spelled; those come
    // in the order they were first mailed, so a name the warehouse compares without case shows as
    // first mailed.
    const QString catalogColumn = dialect::asWritten(QStringLiteral("CatName"));
    const QString packageColumn = dialect::asWritten(QStringLiteral("Pkg"));
    Query query(QStringLiteral("SELECT ") + catalogColumn + QStringLiteral(", ListDesc, ") +
                packageColumn +
                QStringLiteral(", PkgDesc, SUM(QtyMailed), SUM(QtyMailed * TotalCpm / 1000), "
                               "SUM(QtyMailed * TargetResp / 100) FROM tblAdCodes WHERE MailDate "
                               ">= ? AND MailDate <= ? GROUP BY ") +
                catalogColumn + QStringLiteral(", ListDesc, ") + packageColumn +
                QStringLiteral(", PkgDesc ORDER BY MIN(MailDate), MIN(AdCode)"));
    query.bindDate(from).bindDate(to).exec();
    std::map<QString, CatalogLines> catalogs;
    QHash<QString, CatalogLines *> catalogBySpelling;
    Lines lists;
    while (query.next()) {
        rowRead(watch);
        const QString catalogName = query.text(0);
        const QString list = query.text(1);
        const QString package = query.text(2);
        const MailingFigures figures{query.number(4), query.number(5), query.number(6)};
        // Catalog names and package codes compare without regard to case, as the warehouse keys
        // them, and show as first mailed; list descriptions as written.
        auto spelled = catalogBySpelling.constFind(catalogName);
        if (spelled == catalogBySpelling.constEnd()) {
            auto [found, added] = catalogs.try_emplace(catalogName.toCaseFolded());
            if (added)
                found->second.name = catalogName;
            spelled = catalogBySpelling.insert(catalogName, &found->second);
        }
        CatalogLines &catalog = **spelled;
        catalog.figures.add(figures);
        catalog.lists.line(list, unchanged, [&] { return list; }).figures.add(figures);
        catalog.packages
            .line(package, folded,
                  [&]() -> QString { return package + QStringLiteral("  ") + query.text(3); })
            .figures.add(figures);
        lists.line(list, unchanged, [&] { return list; }).figures.add(figures);
    }

    MailingReport report;
    for (const auto &[key, catalog] : catalogs) {
        report.catalogs.push_back(
            {catalog.name, catalog.figures, catalog.lists.sorted(), catalog.packages.sorted()});
        report.total.add(catalog.figures);
    }
    for (const MailingLine &line : lists.sorted())
        if (line.figures.costPerResponse())
            report.listsByCostPerResponse.push_back(line);
    std::stable_sort(report.listsByCostPerResponse.begin(), report.listsByCostPerResponse.end(),
                     [](const MailingLine &a, const MailingLine &b) {
                         return *a.figures.costPerResponse() < *b.figures.costPerResponse();
                     });
    return report;
}

QStringList mailingHeaders()
{
    return {QStringLiteral("Catalog"),
            QStringLiteral("List / Package"),
            QStringLiteral("Quantity Mailed"),
            QStringLiteral("Cost"),
            QStringLiteral("Expected Responses"),
            QStringLiteral("Cost per Response")};
}

QList<QStringList> mailingRows(const MailingReport &report)
{
    QList<QStringList> rows;
    for (const MailingCatalog &catalog : report.catalogs) {
        rows << rowOf(catalog.catalogName, QStringLiteral("All lists and packages"),
                      catalog.figures);
        for (const MailingLine &list : catalog.lists)
            rows << rowOf(catalog.catalogName, QStringLiteral("List: ") + list.name, list.figures);
        for (const MailingLine &package : catalog.packages)
            rows << rowOf(catalog.catalogName, QStringLiteral("Package: ") + package.name,
                          package.figures);
    }
    if (!report.catalogs.empty())
        rows << rowOf(QStringLiteral("Total"), QString(), report.total);
    return rows;
}

} // namespace reports
