#pragma once

#include "TestWarehouse.h"
#include "warehouse/Query.h"
#include "warehouse/Vb.h"

#include <QDate>
#include <QStringList>

#include <initializer_list>

// Ad code rows for the ad code tests, and a stored row read back as comparable text.
namespace fixture {

struct AdCodeRow
{
    QString adCode;
    QString offer = QStringLiteral("5 books for 99 cents");
    double listCpm = 85;
    double pkgCpm = 310;
    QDate mailDate = QDate(2024, 3, 15);
    double targetResp = 2.5;
    QString media = QStringLiteral("Catalog");
    QString modUser = QStringLiteral("demo");
    QString modDate = QStringLiteral("01/02/2024");
};

inline void adCode(const AdCodeRow &row)
{
    TestWarehouse::exec(
        QStringLiteral("INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, "
                       "PkgCpm, Media, Offer, MailDate, QtyMailed, TotalCpm, TargetResp, ModUser, "
                       "ModDate) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {row.adCode, QStringLiteral("Book Club 104"), QStringLiteral("Active members"), row.listCpm,
         QStringLiteral("CAT32"), QStringLiteral("32-page catalog"), row.pkgCpm, row.media,
         row.offer, sqlvalue::fromDate(row.mailDate), 120000.0, row.listCpm + row.pkgCpm,
         row.targetResp, row.modUser, row.modDate});
}

// Every column of a stored code in table order, numbers plainly and the mail date ISO; empty when
// there is no such code.
inline QStringList storedAdCode(const QString &code)
{
    Query query(QStringLiteral(
        "SELECT AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, PkgCpm, Media, Offer, MailDate, "
        "QtyMailed, TotalCpm, TargetResp, ModUser, ModDate FROM tblAdCodes WHERE AdCode = ?"));
    query.bind(code).exec();
    if (!query.next())
        return {};
    QStringList row;
    for (int column = 0; column < 15; ++column) {
        if (query.isNull(column))
            row << QString();
        else if (column == 9)
            row << query.date(column).toString(Qt::ISODate);
        else if (column == 3 || column == 6 || column == 10 || column == 11 || column == 12)
            row << vb::CStr(query.number(column));
        else
            row << query.text(column);
    }
    return row;
}

// A list of texts written as literals.
inline QStringList texts(std::initializer_list<const char *> literals)
{
    QStringList list;
    for (const char *literal : literals)
        list << QString::fromUtf8(literal);
    return list;
}

inline int adCodeCount()
{
    return TestWarehouse::count(QStringLiteral("SELECT COUNT(*) FROM tblAdCodes"));
}

} // namespace fixture
