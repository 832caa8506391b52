#include "inventory/ProductDescriptions.h"

#include "warehouse/DbError.h"
#include "warehouse/Dialect.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Vb.h"

#include <optional>

namespace productdescriptions {

namespace {

const QString kMoney = QStringLiteral("$#,##0.00");
const QString kCount = QStringLiteral("#,##0");

QString modifyDateText(const Query &query, int column)
{
    // SQLite hands the stored text back, the servers a date and time; both read the same as text.
    return vb::FormatDate(vb::ToDateTime(query.text(column)),
                          QStringLiteral("mm/dd/yyyy hh:nn:ss"));
}

// A stored description as a look at it saw it: its text, time and user of change; nothing when
// there is none. The statement ends here, before any transaction begins.
using Stored = std::optional<QStringList>;
Stored storedDescription(const QString &productID, const QString &blurbSize)
{
    Query query(QStringLiteral("SELECT Blurb, ModifyDate, ModifyUser FROM tblInvDescriptions "
                               "WHERE ProductID=? AND BlurbSize=?"));
    query.bind(productID).bind(blurbSize).exec();
    if (!query.next())
        return std::nullopt;
    return QStringList{query.text(0), query.text(1), query.text(2)};
}

} // namespace

QString caption() { return QStringLiteral("Product Descriptions"); }

QStringList SearchDescribedProducts(const QString &text)
{
    // The pattern is bound, so a quote could do no harm; it is dropped as it always was, and the
    // operator's "%" and "_" keep working as wildcards.
    QString pattern = text;
    pattern.remove(QLatin1Char('\''));
    Query query(QStringLiteral("SELECT DISTINCT ProductID FROM tblInvDescriptions WHERE ") +
                dialect::likeParameter(QStringLiteral("ProductID")) +
                QStringLiteral(" ORDER BY ProductID"));
    query.bind(QString(pattern + QLatin1Char('%'))).exec();
    QStringList ids;
    while (query.next())
        ids << query.text(0);
    return ids;
}

QList<DescriptionRecord> LoadProductDescriptions(const QString &productID)
{
    // The condition on the product master keeps only the master's rows of the full join: a product
    // without descriptions gives one row with an empty size, a product not in the master none.
    Query query(QStringLiteral(
        "SELECT tblInvMaster.ProductID, tblInvDescriptions.BlurbSize, tblInvDescriptions.Blurb, "
        "tblInvDescriptions.ModifyDate, tblInvMaster.ProductName, tblInvMaster.ActiveProd, "
        "tblInvMaster.MSRP, tblInvMaster.OnHand "
        "FROM tblInvDescriptions FULL OUTER JOIN tblInvMaster "
        "ON tblInvDescriptions.ProductID = tblInvMaster.ProductID "
        "WHERE tblInvMaster.ProductID = ? ORDER BY tblInvDescriptions.BlurbSize"));
    query.bind(vb::Trim(productID)).exec();
    QList<DescriptionRecord> records;
    while (query.next()) {
        DescriptionRecord record;
        record.productID = vb::Trim(query.text(0));
        record.blurbSize = vb::Trim(query.text(1));
        record.blurb = query.text(2);
        record.modifyDate = modifyDateText(query, 3);
        record.productName = query.text(4);
        record.activeText = query.number(5) == 1 ? QStringLiteral("Yes") : QStringLiteral("No");
        record.msrp = vb::Format(query.number(6), kMoney);
        record.onHand = vb::Format(query.number(7), kCount);
        records << record;
    }
    return records;
}

QStringList LoadBlurbSizes()
{
    Query query(QStringLiteral("SELECT BlurbSize FROM tblInvBlurbSizes ORDER BY BlurbSize"));
    query.exec();
    QStringList sizes;
    while (query.next())
        sizes << vb::Trim(query.text(0));
    return sizes;
}

const QStringList &missingGridHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Product ID"), QStringLiteral("Product Name"), QStringLiteral("On Hand"),
        QStringLiteral("MSRP"),       QStringLiteral("Active"),       QStringLiteral("Active Web"),
    };
    return headers;
}

void LoadMissingDescriptions(const std::function<void(MissingProduct &&)> &sink)
{
    // The products no description names. Asked as such rather than by grouping every product
    // with a count of its descriptions, the database hands the first rows over at once.
    Query query(QStringLiteral(
        "SELECT ProductID, ProductName, OnHand, MSRP, ActiveProd, ActiveWeb FROM tblInvMaster "
        "WHERE NOT EXISTS (SELECT 1 FROM tblInvDescriptions WHERE tblInvMaster.ProductID = "
        "tblInvDescriptions.ProductID) ORDER BY ProductID"));
    query.exec();
    const QString mark = QStringLiteral("X");
    while (query.next()) {
        MissingProduct product;
        product.cells = QStringList{query.text(0),
                                    query.text(1),
                                    vb::Format(query.number(2), kCount),
                                    vb::Format(query.number(3), kMoney),
                                    query.number(4) == 1 ? mark : QString(),
                                    query.number(5) == 1 ? mark : QString()};
        product.activeWeb = query.number(5) != 0;
        sink(std::move(product));
    }
}

Verdict ValidateDescription(const DescriptionEntry &entry)
{
    using Field = Verdict::Field;
    const QString productID = vb::Trim(entry.productID);
    if (productID.isEmpty())
        return {QStringLiteral("Please enter a valid Product ID."), Field::ProductID};
    if (!Query(QStringLiteral("SELECT * FROM tblInvMaster WHERE ProductID = ?"))
             .bind(productID)
             .exists())
        return {QStringLiteral(
                    "The Product ID you have entered was not found in the Inventory collection."),
                Field::ProductID};
    if (vb::Trim(entry.blurbSize).isEmpty())
        return {QStringLiteral("Please choose the appropriate Description Size."),
                Field::BlurbSize};
    if (isBlank(entry.blurb))
        return {QStringLiteral("Description is a required field and can't remain blank."),
                Field::Blurb};
    return {};
}

bool SaveDescription(const DescriptionEntry &entry, Mode &mode, const QDateTime &now,
                     const QString &user)
{
    const QString productID = vb::Trim(entry.productID);
    const QString blurbSize = vb::Trim(entry.blurbSize);
    const QString blurb = storedText(vb::Trim(entry.blurb));

    // The questions are asked with no transaction open, so the warehouse is never held while one
    // is on screen. The write then checks, in a short transaction, that the description is still
    // as the last look saw it; if another client changed it meanwhile, it is looked at again and
    // any answer given about it no longer counts.
    bool answered = false;
    for (;;) {
        const Stored seen = storedDescription(productID, blurbSize);
        if (seen && (mode == Mode::Add || answered)) {
            if (!Dialogs::instance().question(overwriteQuestion(entry.productID, entry.blurbSize),
                                              caption()))
                return false;
            mode = Mode::Edit;
            answered = true;
        } else if (!seen && mode == Mode::Edit) {
            if (!Dialogs::instance().question(vanishedQuestion(entry.productID, entry.blurbSize),
                                              caption()))
                return false;
            mode = Mode::Add;
            answered = true;
        }
        Transaction transaction;
        if (storedDescription(productID, blurbSize) != seen) {
            transaction.rollback();
            continue;
        }
        if (mode == Mode::Add) {
            Query(QStringLiteral("INSERT INTO tblInvDescriptions(ProductID, BlurbSize, Blurb, "
                                 "ModifyDate, ModifyUser) VALUES(?,?,?,?,?)"))
                .bind(productID)
                .bind(blurbSize)
                .bind(blurb)
                .bindDateTime(now)
                .bind(user)
                .exec();
        } else {
            Query(QStringLiteral("UPDATE tblInvDescriptions SET Blurb = ?, ModifyDate = ?, "
                                 "ModifyUser = ? WHERE ProductID = ? AND BlurbSize = ?"))
                .bind(blurb)
                .bindDateTime(now)
                .bind(user)
                .bind(productID)
                .bind(blurbSize)
                .exec();
        }
        transaction.commit();
        return true;
    }
}

bool DeleteDescription(const QString &productID, const QString &blurbSize)
{
    return unlessFailed([&] {
               Transaction transaction;
               Query remove(QStringLiteral(
                   "DELETE FROM tblInvDescriptions where ProductID = ? and BlurbSize = ?"));
               remove.bind(vb::Trim(productID)).bind(vb::Trim(blurbSize)).exec();
               // A description someone else removed meanwhile is not reported as deleted.
               if (remove.numRowsAffected() < 1)
                   return false;
               transaction.commit();
               return true;
           })
        .value_or(false);
}

QString overwriteQuestion(const QString &productID, const QString &blurbSize)
{
    return QStringLiteral("[") + productID + QStringLiteral(" ; ") + blurbSize +
           QStringLiteral("] already exist in the\rdatabase.  Would you like to overwrite???");
}

QString vanishedQuestion(const QString &productID, const QString &blurbSize)
{
    return QStringLiteral("[") + productID + QStringLiteral(" ; ") + blurbSize +
           QStringLiteral("] no longer exists in the\rdatabase.  Would you like to add it again?");
}

QString deleteQuestion(const QString &productID, const QString &blurbSize)
{
    return QStringLiteral("Attention [") + productID + QStringLiteral(" ; ") + blurbSize +
           QStringLiteral("] will be permenantly\rdeleted from the database?");
}

QString deleteFailedMessage()
{
    return QStringLiteral(
        "There were some errors deleting the record. Please\rmake sure the record still exists.");
}

QString storedText(const QString &editorText)
{
    QString text = editorText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString editorText(const QString &storedText)
{
    QString text = storedText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

bool isBlank(const QString &text) { return text.trimmed().isEmpty(); }

} // namespace productdescriptions
