#pragma once

// The reports' fixture, worked out by hand (the figures each test expects are in its table):
//
// MYST SPRING 0000, pages 1 Cover, 2-3 Fiction, 4 Mystery:
//   page 1: A1 (weight 60), A2 (40); page 2: B1 (120); page 3 empty; page 4: A1 (30).
//   Forecasts for MYST SPRING: A1 100 + 50 (two rows), A2 25; B1 has none (only another club's).
// The insert "SPRING" (same ID as the catalog), page 1 Front: A2 (50), C1 (50); its forecasts
//   (no club): A2 40, C1 NULL.
#include "../catalog/CatalogEditFixtures.h"

namespace fixture {

inline void weightedPlacement(const QVariant &club, const QVariant &test, const QString &product,
                              int page, int position, double weight)
{
    Placement p;
    p.club = club;
    p.test = test;
    p.product = product;
    p.page = page;
    p.position = position;
    const qlonglong id = placement(p);
    TestWarehouse::exec(QStringLiteral("UPDATE tblProductsMap SET PageWeight = ? WHERE ItemID = ?"),
                        {weight, id});
}

inline void reportMaps()
{
    schedule(QStringLiteral("MYST"), QStringLiteral("SPRING"));
    const QStringList sections = {QStringLiteral("Cover"), QStringLiteral("Fiction"),
                                  QStringLiteral("Fiction"), QStringLiteral("Mystery")};
    for (int page = 1; page <= 4; ++page)
        catalogPage(QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000"), page,
                    sections[page - 1]);
    insertPage(QStringLiteral("SPRING"), QStringLiteral("Spring Flyer"), 1,
               QStringLiteral("Front"));
    for (const char *id : {"A1", "A2", "B1", "C1"})
        product(QString::fromLatin1(id), QStringLiteral("Book ") + QString::fromLatin1(id));
    const QString myst = QStringLiteral("MYST");
    const QString main = QStringLiteral("0000");
    weightedPlacement(myst, main, QStringLiteral("A1"), 1, 1, 60);
    weightedPlacement(myst, main, QStringLiteral("A2"), 1, 2, 40);
    weightedPlacement(myst, main, QStringLiteral("B1"), 2, 1, 120);
    weightedPlacement(myst, main, QStringLiteral("A1"), 4, 1, 30);
    weightedPlacement(QVariant(), QVariant(), QStringLiteral("A2"), 1, 1, 50);
    weightedPlacement(QVariant(), QVariant(), QStringLiteral("C1"), 1, 2, 50);
    TestWarehouse::exec(QStringLiteral(
        "INSERT INTO tblInvRecommendations (ClubID, CatalogID, ProductID, FcstSales, ProdRank) "
        "VALUES ('MYST', 'SPRING', 'A1', 100, 1), ('MYST', 'SPRING', 'A1', 50, 2), "
        "('MYST', 'SPRING', 'A2', 25, 3), ('OTHER', 'SPRING', 'B1', 999, 1), "
        "(NULL, 'SPRING', 'A2', 40, 1), (NULL, 'SPRING', 'C1', NULL, 2)"));
}

// MYST SPRING 0001 beside 0000, pages 1 Cover, 2 Mystery (Fiction in 0000), 3 Fiction, no page 4:
//   A1 on 1/1 as in 0000 (unchanged), its second placement on 3/2 at $13.00 (4/1 at $15.00 in
//   0000: moved and repriced), A2 on 1/2
//   at $12.00 ($15.00 in 0000: repriced), C1 on 2/1 (added); B1 is not placed (removed).
inline void secondVersion()
{
    const QString myst = QStringLiteral("MYST");
    const QString test = QStringLiteral("0001");
    const QStringList sections = {QStringLiteral("Cover"), QStringLiteral("Mystery"),
                                  QStringLiteral("Fiction")};
    for (int page = 1; page <= 3; ++page)
        catalogPage(myst, QStringLiteral("SPRING"), test, page, sections[page - 1]);
    weightedPlacement(myst, test, QStringLiteral("A1"), 1, 1, 60);
    weightedPlacement(myst, test, QStringLiteral("A1"), 3, 2, 30);
    TestWarehouse::exec(QStringLiteral("UPDATE tblProductsMap SET Price = 13 WHERE TestID = "
                                       "'0001' AND PageNum = 3"));
    weightedPlacement(myst, test, QStringLiteral("C1"), 2, 1, 50);
    Placement repriced;
    repriced.test = test;
    repriced.product = QStringLiteral("A2");
    repriced.position = 2;
    repriced.price = 12.0;
    placement(repriced);
}

// Ad codes of March 2026 (and one of May). A total CPM of 1.005 is a hair below it in binary, so
// the costs round up only when worked on their decimal form:
//   SP01 Spring, list Members, package CAT:  1,000 at 1.005, 2.5 %  -> $1.005, 25 responses
//   SP02 Spring, list Members, package SOLO: 1,000 at 1.005, 0.5 %  -> $1.005, 5
//   SP03 spring, list Renters, package cat:  2,000 at 1.005, 0 %    -> $2.01, none
//   FA01 Fall,   list Members, package CAT:    500 at 300,   2 %    -> $150, 10
//   OUT1 Spring, mailed in May.
inline void adCodes()
{
    const auto code = [](const char *adCode, const char *catalog, const char *list,
                         const char *package, double quantity, double cpm, double rate,
                         const QDate &mailDate) {
        TestWarehouse::exec(
            QStringLiteral("INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, "
                           "PkgDesc, PkgCpm, Media, Offer, MailDate, QtyMailed, TotalCpm, "
                           "TargetResp) VALUES (?, ?, ?, ?, ?, 'Package', 0, 'Catalog', 'Offer', "
                           "?, ?, ?, ?)"),
            {QString::fromLatin1(adCode), QString::fromLatin1(catalog), QString::fromLatin1(list),
             cpm, QString::fromLatin1(package), sqlvalue::fromDate(mailDate), quantity, cpm, rate});
    };
    code("SP01", "Spring", "Members", "CAT", 1000, 1.005, 2.5, QDate(2026, 3, 1));
    code("SP02", "Spring", "Members", "SOLO", 1000, 1.005, 0.5, QDate(2026, 3, 2));
    code("SP03", "spring", "Renters", "cat", 2000, 1.005, 0, QDate(2026, 3, 31));
    code("FA01", "Fall", "Members", "CAT", 500, 300, 2, QDate(2026, 3, 15));
    code("OUT1", "Spring", "Members", "CAT", 9000, 1, 1, QDate(2026, 5, 1));
}

} // namespace fixture
