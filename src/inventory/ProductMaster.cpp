#include "inventory/ProductMaster.h"

#include "warehouse/AnsiTextFile.h"
#include "warehouse/AskedWrite.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialect.h"
#include "warehouse/MessageList.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <cmath>

namespace inventory {

namespace {

// Every column of a product's row, in the order a save writes them.
const QString kColumns = QStringLiteral(
    "ProductID, ProductUPC, ProductName, ActiveProd, ActiveWeb, Category, MSRP, LastPrice, "
    "ProdCost, ManufacturerID, ReleaseDate, DistEndDate, FirstUseDate, FirstUseCycle, LastUseDate, "
    "LastUseCycle, FeaturedProd, OnHand, Status, Comments, Source, Weight, Length, Height, Width, "
    "ArtSource, ModifyDate, ModifyUser, Filler1, Filler2, Filler3");

// An optional number as stored: 0 when left empty (validation has refused anything else).
double numberOrZero(const QString &text) { return vb::ToNumber(vb::Trim(text)).value_or(0); }

// Prices to the cent, as the original's "#,##0.00" text reached the server.
double cents(const QString &text)
{
    return vb::ToNumber(vb::Format(numberOrZero(text), QStringLiteral("0.00"))).value_or(0);
}

// Units on hand are whole units.
qlonglong wholeUnits(const QString &text)
{
    return static_cast<qlonglong>(std::round(numberOrZero(text)));
}

QVariant idOrNull(const QString &id)
{
    return id.isEmpty() ? QVariant() : QVariant(id.toLongLong());
}

void checkLength(MessageList &messages, const QString &text, int limit, const char *message)
{
    if (text.size() > limit)
        messages.add(message);
}

void checkNumber(MessageList &messages, const QString &text, const char *message)
{
    if (!text.isEmpty() && !vb::IsNumeric(text))
        messages.add(message);
}

void checkDate(MessageList &messages, const QString &text, const char *message)
{
    if (!text.isEmpty() && !vb::IsDate(text))
        messages.add(message);
}

QList<LookupEntry> lookup(const QString &sql)
{
    QList<LookupEntry> entries;
    Query query(sql);
    query.exec();
    while (query.next())
        entries.append({catalog::cellText(query.value(0)), query.text(1)});
    return entries;
}

} // namespace

QString caption() { return QStringLiteral("Inventory Maintenance"); }

std::optional<int> searchProductList(int column, const QString &criterion,
                                     catalog::InventoryScope scope, const RowSink &sink)
{
    int count = 0;
    if (!unlessFailed([&] {
            catalog::searchInventoryMaster(column, criterion, scope, [&](QStringList &&row) {
                ++count;
                sink(std::move(row));
            });
        }))
        return std::nullopt;
    return count;
}

QString foundMessage(int count)
{
    return QStringLiteral("Last search found: ") + QString::number(count) +
           QStringLiteral(" record(s).");
}

std::optional<QString> exportList(const QString &path, int rows, int columns, const ListCell &cell,
                                  const std::function<bool()> &rowDone)
{
    AnsiTextFile file(path);
    if (!file.open())
        return file.errorString();
    // Cell by cell from where the list keeps them: 100,000 rows are three million cells.
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            file.write(cell(r, c));
            file.write(u"\t");
        }
        file.write(u"\r\n");
        if (rowDone && !rowDone())
            return std::nullopt; // never committed: the file keeps no line of it
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

QList<LookupEntry> loadManufacturers()
{
    return lookup(QStringLiteral("SELECT ManufacturerID, ManufacturerName FROM tblManufactrurers "
                                 "ORDER BY ManufacturerName"));
}

QList<LookupEntry> loadCategories()
{
    return lookup(QStringLiteral("SELECT tblInvCategories.CatID, ") + dialect::categoryName() +
                  QStringLiteral(" AS CategoryName FROM tblInvCategories INNER JOIN "
                                 "tblInvCategories tblInvCategories_1 ON "
                                 "tblInvCategories.SubCatID = tblInvCategories_1.CatID ORDER BY ") +
                  dialect::categoryName());
}

std::optional<ProductEntry> loadProduct(const QString &productId)
{
    Query query(QStringLiteral("SELECT * FROM tblInvMaster WHERE ProductID=?"));
    if (!query.bind(vb::Trim(productId)).execFirst())
        return std::nullopt;
    const auto text = [&query](const char *column) {
        return catalog::cellText(query.value(QString::fromLatin1(column)));
    };
    const auto date = [&query](const char *column) {
        return catalog::dateText(query.value(QString::fromLatin1(column)));
    };
    ProductEntry p;
    p.productId = text("ProductID");
    p.productUpc = text("ProductUPC");
    p.productName = text("ProductName");
    p.activeProd = ParseFlagText(text("ActiveProd")) == 1;
    p.activeWeb = ParseFlagText(text("ActiveWeb")) == 1;
    p.categoryId = text("Category");
    p.msrp = text("MSRP");
    p.lastPrice = text("LastPrice");
    p.prodCost = text("ProdCost");
    p.manufacturerId = text("ManufacturerID");
    p.releaseDate = date("ReleaseDate");
    p.distEndDate = date("DistEndDate");
    p.firstUseDate = date("FirstUseDate");
    p.firstUseCycle = text("FirstUseCycle");
    p.lastUseDate = date("LastUseDate");
    p.lastUseCycle = text("LastUseCycle");
    p.featuredProd = ParseFlagText(text("FeaturedProd")) == 1;
    p.onHand = text("OnHand");
    p.status = text("Status");
    p.comments = text("Comments").replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    p.source = text("Source");
    p.weight = text("Weight");
    p.length = text("Length");
    p.height = text("Height");
    p.width = text("Width");
    p.artSource = text("ArtSource");
    p.filler1 = text("Filler1");
    p.filler2 = text("Filler2");
    p.filler3 = text("Filler3");
    return p;
}

int ParseFlagText(const QString &text)
{
    const QString t = vb::Trim(text);
    return t == QLatin1String("True") || t == QLatin1String("Y") || t == QLatin1String("Yes") ||
                   t == QLatin1String("1")
               ? 1
               : 0;
}

QString storedComments(const QString &comments)
{
    QString text = comments;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString validateProduct(const ProductEntry &entry)
{
    MessageList m;
    const QString id = vb::Trim(entry.productId);
    if (id.isEmpty())
        m.add("Product ID is a required field.");
    checkLength(m, id, 15, "Product ID can't exeed 15 characters.");
    checkLength(m, vb::Trim(entry.productUpc), 25, "Product UPC can't exeed 25 characters.");
    const QString name = vb::Trim(entry.productName);
    if (name.isEmpty())
        m.add("Product Name is a required field.");
    else
        checkLength(m, name, 150, "Product Name can't exeed 150 characters.");
    if (entry.categoryId.isEmpty())
        m.add("Missing product categories.");
    checkNumber(m, vb::Trim(entry.prodCost), "Product Cost field must be in NUMERIC format.");
    checkNumber(m, vb::Trim(entry.msrp), "MSRP field must be in NUMERIC format.");
    checkNumber(m, vb::Trim(entry.lastPrice), "Last Price field must be in NUMERIC format.");
    if (entry.manufacturerId.isEmpty())
        m.add("Missing product Manufacturers.");
    checkDate(m, vb::Trim(entry.releaseDate),
              "Release Date field must be in DATE (mm/dd/yyyy) format.");
    checkDate(m, vb::Trim(entry.distEndDate),
              "Distribution End Date field must be in DATE (mm/dd/yyyy) format.");
    checkDate(m, vb::Trim(entry.firstUseDate),
              "First Use Date field must be in DATE (mm/dd/yyyy) format.");
    checkLength(m, vb::Trim(entry.firstUseCycle), 15, "First Use Cycle can't exeed 15 characters.");
    checkDate(m, vb::Trim(entry.lastUseDate),
              "Last Use Date field must be in DATE (mm/dd/yyyy) format.");
    checkLength(m, vb::Trim(entry.lastUseCycle), 15, "Last Use Cycle can't exeed 15 characters.");
    checkNumber(m, vb::Trim(entry.onHand), "Units On Hand field must be in NUMERIC format.");
    checkLength(m, vb::Trim(entry.status), 15, "Status can't exeed 15 characters.");
    // Counted as stored, each line break two characters.
    checkLength(m, storedComments(vb::Trim(entry.comments)), 500,
                "Comments can't exeed 500 characters.");
    checkLength(m, vb::Trim(entry.source), 50, "Source can't exeed 50 characters.");
    checkNumber(m, vb::Trim(entry.weight), "Weight field must be in NUMERIC format.");
    checkNumber(m, vb::Trim(entry.length), "Length field must be in NUMERIC format.");
    checkNumber(m, vb::Trim(entry.height), "Height field must be in NUMERIC format.");
    checkNumber(m, vb::Trim(entry.width), "Width field must be in NUMERIC format.");
    checkLength(m, vb::Trim(entry.artSource), 75, "Art Source can't exeed 75 characters.");
    checkLength(m, vb::Trim(entry.filler1), 25, "Filler1 can't exeed 25 characters.");
    checkLength(m, vb::Trim(entry.filler2), 25, "Filler2 can't exeed 25 characters.");
    checkLength(m, vb::Trim(entry.filler3), 25, "Filler3 can't exeed 25 characters.");
    return m.text();
}

SaveResult saveProduct(const ProductEntry &entry, bool isNew, const QDateTime &now,
                       const QString &user)
{
    const QString id = vb::Trim(entry.productId);
    const auto date = [](const QString &text) {
        return vb::ToDate(vb::Trim(text));
    };
    // An edit replaces the row it loaded unasked; only a new product's ID is looked for.
    const auto look = [&] {
        return isNew ? warehouse::seenRow(
                           QStringLiteral("SELECT * FROM tblInvMaster WHERE ProductID=?"), {id},
                           kColumns.split(QStringLiteral(", ")))
                     : warehouse::SeenRow();
    };
    const auto write = [&](bool stored) {
        // A new product found absent is only inserted: should another client add it after the
        // last look, the key refuses this one rather than overwrite theirs unasked.
        if (!isNew || stored)
            Query(QStringLiteral("DELETE FROM tblInvMaster WHERE ProductID=?")).bind(id).exec();
        Query(QStringLiteral("INSERT INTO tblInvMaster(") + kColumns +
              QStringLiteral(") VALUES "
                             "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"))
            .bind(id)
            .bindTextOrNull(vb::Trim(entry.productUpc))
            .bindTextOrNull(vb::Trim(entry.productName))
            .bind(entry.activeProd ? 1 : 0)
            .bind(entry.activeWeb ? 1 : 0)
            .bind(idOrNull(entry.categoryId))
            .bind(cents(entry.msrp))
            .bind(cents(entry.lastPrice))
            .bind(cents(entry.prodCost))
            .bind(idOrNull(entry.manufacturerId))
            .bindDate(date(entry.releaseDate))
            .bindDate(date(entry.distEndDate))
            .bindDate(date(entry.firstUseDate))
            .bindTextOrNull(vb::Trim(entry.firstUseCycle))
            .bindDate(date(entry.lastUseDate))
            .bindTextOrNull(vb::Trim(entry.lastUseCycle))
            .bind(entry.featuredProd ? 1 : 0)
            .bind(wholeUnits(entry.onHand))
            .bindTextOrNull(vb::Trim(entry.status))
            .bindTextOrNull(storedComments(vb::Trim(entry.comments)))
            .bindTextOrNull(vb::Trim(entry.source))
            .bind(numberOrZero(entry.weight))
            .bind(numberOrZero(entry.length))
            .bind(numberOrZero(entry.height))
            .bind(numberOrZero(entry.width))
            .bindTextOrNull(vb::Trim(entry.artSource))
            .bindDateTime(now)
            .bind(user)
            .bindTextOrNull(vb::Trim(entry.filler1))
            .bindTextOrNull(vb::Trim(entry.filler2))
            .bindTextOrNull(vb::Trim(entry.filler3))
            .exec();
    };
    return unlessFailed([&] {
               return warehouse::writeAfterAsking(
                          look,
                          QStringLiteral(
                              "The record you are trying to add already exists in the database. "
                              "Would you like to override the existing record."),
                          caption(), write)
                          ? SaveResult::Saved
                          : SaveResult::Declined;
           })
        .value_or(SaveResult::Failed);
}

bool deleteProduct(const QString &productId)
{
    return unlessFailed([&] {
        Transaction transaction;
        Query(QStringLiteral("DELETE FROM tblInvMaster WHERE ProductID=?"))
            .bind(vb::Trim(productId))
            .exec();
        transaction.commit();
    });
}

QString deleteQuestion(const QString &productId)
{
    return QStringLiteral("Delete [") + vb::Trim(productId) +
           QStringLiteral("] from the data warehouse?");
}

QString deleteFailedMessage(const QString &productId)
{
    return QStringLiteral("There was a problem deleting [") + vb::Trim(productId) +
           QStringLiteral("] from the database.");
}

QStringList productListRow(const ProductEntry &e, const QString &categoryText,
                           const QString &manufacturerText)
{
    const auto flag = [](bool on) {
        return on ? QStringLiteral("1") : QStringLiteral("0");
    };
    return {e.productId,
            e.productUpc,
            e.productName,
            flag(e.activeProd),
            flag(e.activeWeb),
            categoryText,
            e.prodCost,
            e.msrp,
            e.lastPrice,
            manufacturerText,
            e.releaseDate,
            e.distEndDate,
            e.firstUseDate,
            e.firstUseCycle,
            e.lastUseDate,
            e.lastUseCycle,
            flag(e.featuredProd),
            e.onHand,
            e.status,
            e.source,
            e.weight,
            e.length,
            e.height,
            e.width,
            e.artSource};
}

} // namespace inventory
