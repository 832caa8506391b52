#include "mailing/CreativeExport.h"

#include "warehouse/AnsiTextFile.h"
#include "warehouse/Query.h"
#include "warehouse/StatementWatch.h"
#include "warehouse/Vb.h"

namespace creativeexport {

namespace {

const QString kMoney = QStringLiteral("$#,##0.00");
const QString kRate = QStringLiteral("#0.00%");
const QString kEndOfField = QStringLiteral("###");
const QString kSeparator = QStringLiteral("##");
const QString kLineEnd = QStringLiteral("\r\n");

enum Column {
    ClubID,
    CatalogID,
    TestID,
    PageNum,
    PageSection,
    ProductName,
    ProductUPC,
    Blurb,
    ProductID,
    CategoryName,
    MSRP,
    Discount,
    Price,
};

QString exportSql(qsizetype catalogs)
{
    QString marks;
    for (qsizetype i = 0; i < catalogs; ++i)
        marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    return QStringLiteral("SELECT ClubID, CatalogID, TestID, PageNum, PageSection, ProductName, "
                          "ProductUPC, Blurb, ProductID, CategoryName, MSRP, Discount, Price "
                          "FROM viewDataForCreativeExport WHERE (PackageID=?) and CatalogID in (") +
           marks +
           QStringLiteral(") ORDER BY ItemType, CatalogID, PageNum, PagePosition, ProductName");
}

// The four product lines and the two separator lines of one placement.
void appendRecord(QString &out, const Query &row)
{
    const QString discount = row.text(Discount);
    const std::optional<double> discountValue = vb::ToNumber(discount);
    const double rate = discountValue ? *discountValue / 100 : 0;
    // The sale price is 0 only for a discount that is 0; a missing discount leaves the price.
    const QString salePrice = discountValue && *discountValue == 0
                                  ? vb::Format(0, kMoney)
                                  : vb::FormatText(row.text(Price), kMoney);

    out += vb::Trim(row.text(ProductName)) + kSeparator + vb::Trim(row.text(ProductUPC)) +
           kEndOfField + kLineEnd;
    out += vb::Format(rate, kRate) + kEndOfField + kLineEnd;
    out += row.text(Blurb) + kEndOfField + kLineEnd;
    out += vb::Trim(row.text(ProductID)) + kSeparator + vb::Trim(row.text(CategoryName)) +
           kSeparator + vb::FormatText(row.text(MSRP), kMoney) + QLatin1Char('/') + salePrice +
           kEndOfField + kLineEnd;
    out += kEndOfField + kLineEnd;
    out += kEndOfField + kLineEnd;
}

} // namespace

QString fileFilter() { return QStringLiteral("Text Files (*.txt)"); }

ExportResult ExportPackageForCreative(const QString &packageID, const QStringList &catalogIDs,
                                      const QString &path, const Progress &progress)
{
    ExportResult result;
    AnsiTextFile file(path);
    if (!file.open()) {
        result.error = file.errorString();
        return result;
    }
    try {
        if (!catalogIDs.isEmpty()) {
            // The IDs are bound, one parameter each, so no ID can change the statement.
            Query query(exportSql(catalogIDs.size()));
            query.bind(packageID);
            for (const QString &id : catalogIDs)
                query.bind(id);
            query.exec();

            QString previousItem;
            QString previousPage;
            QString record;
            while (query.next()) {
                record.clear();
                // A new page header for a new page number, and also for a new item whose first
                // page has the number the previous item's last page had: its products belong under
                // its own header.
                const QString item = query.text(ClubID) + QLatin1Char('_') + query.text(CatalogID) +
                                     QLatin1Char('_') + query.text(TestID);
                const QString page = query.text(PageNum);
                if (result.records == 0 || page != previousPage || item != previousItem) {
                    record += item + QStringLiteral("  ") + page + QStringLiteral("  ") +
                              query.text(PageSection) + kEndOfField + kLineEnd;
                    previousItem = item;
                    previousPage = page;
                }
                appendRecord(record, query);
                file.write(record);
                ++result.records;
                if (progress && !progress()) {
                    // Not committed, the file is dropped when it goes out of scope.
                    result.stopped = true;
                    return result;
                }
            }
        }
    } catch (const StoppedByOperator &) {
        // Esc while the statement was still reading; not committed, the file is dropped.
        result.stopped = true;
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.written = true;
    return result;
}

} // namespace creativeexport
