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
    insertPage(QStringLiteral("SPRING"), QStringLiteral("Spring Flyer"), 1, QStringLiteral("Front"));
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

} // namespace fixture
