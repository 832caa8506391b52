-- Folvane demo data: enough of everything for every window to show something real. Runs unchanged
-- on SQLite and PostgreSQL after the reference data.
--
-- Dated relative to the day the warehouse is made: {DATE:-30} becomes the date 30 days ago as
-- 'yyyy-mm-dd', {DATE:+30} the date 30 days ahead, {INSERTID:-30} the ID of an insert made 30 days
-- ago. A token may stand only where its literal is stored as it is (VALUES, SET, comparisons):
-- PostgreSQL takes a quoted literal computed in a SELECT list as text, not as a date.

-- Products: 15 x 20 titles, BK10001 to BK10300, spread over categories and publishers. Every
-- ninth is inactive (half of those still sold on the web), every 25th featured.
INSERT INTO tblInvMaster (ProductID, ProductUPC, ProductName, ActiveProd, ActiveWeb, Category,
                          MSRP, LastPrice, ProdCost, ManufacturerID, FeaturedProd, OnHand, Status,
                          Weight, Length, Height, Width, ModifyDate, ModifyUser)
SELECT 'BK' || (10000 + n), '0' || (712345000000 + n), title,
       CASE WHEN n % 9 = 0 THEN 0 ELSE 1 END,
       CASE WHEN n % 18 = 0 OR n % 9 <> 0 THEN 1 ELSE 0 END,
       category.column2,
       7.99 + (n % 12) * 2, CASE WHEN n % 3 = 0 THEN 6.99 + (n % 12) * 2 ELSE 7.99 + (n % 12) * 2 END,
       3.20 + (n % 12) * 0.8, 1 + n % 8,
       CASE WHEN n % 25 = 0 THEN 1 ELSE 0 END,
       (n * 37) % 500,
       CASE WHEN n % 9 = 0 THEN 'Discontinued' WHEN (n * 37) % 500 < 25 THEN 'Backorder'
            ELSE 'In Stock' END,
       0.5 + (n % 6) * 0.25, 9, 6, 1 + (n % 3) * 0.5, CURRENT_TIMESTAMP, 'demo'
FROM (SELECT (adjective.column1 - 1) * 20 + noun.column1 AS n,
             'The ' || adjective.column2 || ' ' || noun.column2 AS title
      FROM (VALUES (1, 'Silent'), (2, 'Hidden'), (3, 'Golden'), (4, 'Broken'), (5, 'Midnight'),
                   (6, 'Winter'), (7, 'Crimson'), (8, 'Forgotten'), (9, 'Distant'),
                   (10, 'Painted'), (11, 'Secret'), (12, 'Quiet'), (13, 'Wandering'),
                   (14, 'Burning'), (15, 'Last')) adjective
      CROSS JOIN (VALUES (1, 'Harbor'), (2, 'Garden'), (3, 'Letter'), (4, 'Orchard'),
                         (5, 'Lighthouse'), (6, 'River'), (7, 'Promise'), (8, 'Kingdom'),
                         (9, 'Voyage'), (10, 'Cottage'), (11, 'Map'), (12, 'Bridge'),
                         (13, 'Station'), (14, 'Island'), (15, 'Mirror'), (16, 'Clockmaker'),
                         (17, 'Meadow'), (18, 'Compass'), (19, 'Lantern'), (20, 'Canyon')) noun
     ) titles
JOIN (VALUES (0, 11), (1, 12), (2, 13), (3, 14), (4, 21), (5, 22), (6, 23), (7, 31), (8, 32),
             (9, 33), (10, 41), (11, 42), (12, 51), (13, 52), (14, 1), (15, 2)) category
    ON category.column1 = n % 16;

UPDATE tblInvMaster SET ReleaseDate = {DATE:-900}, DistEndDate = {DATE:+500}
WHERE ProductID <= 'BK10100';
UPDATE tblInvMaster SET ReleaseDate = {DATE:-400}, DistEndDate = {DATE:+700}
WHERE ProductID > 'BK10100' AND ProductID <= 'BK10250';
UPDATE tblInvMaster SET ReleaseDate = {DATE:-60}
WHERE ProductID > 'BK10250';
UPDATE tblInvMaster SET DistEndDate = {DATE:-30}, Comments = 'Out of print, remaining stock only.'
WHERE ActiveProd = 0;

-- Descriptions: every fifth product has none (the missing-descriptions list), the others a long
-- and a short one, every third also a medium one.
INSERT INTO tblInvDescriptions (ProductID, BlurbSize, Blurb, ModifyDate, ModifyUser)
SELECT ProductID, size.column1,
       CASE size.column1
           WHEN 'Long' THEN ProductName || ' is the story the whole club is talking about. Richly '
                || 'told and hard to put down, it makes a perfect companion for long evenings and '
                || 'a welcome gift for any reader.'
           WHEN 'Medium' THEN ProductName || ': a richly told story that is hard to put down.'
           ELSE ProductName || ', a club favorite.'
       END,
       CURRENT_TIMESTAMP, 'demo'
FROM tblInvMaster
CROSS JOIN (VALUES ('Long'), ('Medium'), ('Short')) size
WHERE CAST(substr(ProductID, 3) AS INTEGER) % 5 <> 0
  AND (size.column1 <> 'Medium' OR CAST(substr(ProductID, 3) AS INTEGER) % 3 = 0);

-- Cycle schedule: catalogs of the last year, older ones (hidden from the schedule list) and
-- coming ones.
INSERT INTO tblCycleSchedule (ClubID, CatalogID, Description, MapCopyCreative, FstDraftCreative,
                              CatalogReleaseDate, AAAddressStartDate, AAAddressCompleteDate,
                              ReplyDate, LabelRunShipDate) VALUES
    ('BOOK', 'B101', 'Book Club catalog 101', {DATE:-560}, {DATE:-545}, {DATE:-514}, {DATE:-500}, {DATE:-495}, {DATE:-470}, {DATE:-490}),
    ('BOOK', 'B102', 'Book Club catalog 102', {DATE:-360}, {DATE:-345}, {DATE:-314}, {DATE:-300}, {DATE:-295}, {DATE:-270}, {DATE:-290}),
    ('BOOK', 'B103', 'Book Club catalog 103', {DATE:-260}, {DATE:-245}, {DATE:-214}, {DATE:-200}, {DATE:-195}, {DATE:-170}, {DATE:-190}),
    ('BOOK', 'B104', 'Book Club catalog 104', {DATE:-150}, {DATE:-135}, {DATE:-104}, {DATE:-90}, {DATE:-85}, {DATE:-60}, {DATE:-80}),
    ('BOOK', 'B105', 'Book Club catalog 105', {DATE:-80}, {DATE:-65}, {DATE:-34}, {DATE:-20}, {DATE:-15}, {DATE:+10}, {DATE:-10}),
    ('BOOK', 'B106', 'Book Club catalog 106', {DATE:-20}, {DATE:-5}, {DATE:+26}, {DATE:+40}, {DATE:+45}, {DATE:+70}, {DATE:+50}),
    ('BOOK', 'B107', 'Book Club catalog 107', {DATE:+40}, NULL, NULL, {DATE:+100}, NULL, NULL, NULL),
    ('MYST', 'M201', 'Mystery Guild catalog 201', {DATE:-480}, {DATE:-465}, {DATE:-434}, {DATE:-420}, {DATE:-415}, {DATE:-390}, {DATE:-410}),
    ('MYST', 'M202', 'Mystery Guild catalog 202', {DATE:-310}, {DATE:-295}, {DATE:-264}, {DATE:-250}, {DATE:-245}, {DATE:-220}, {DATE:-240}),
    ('MYST', 'M203', 'Mystery Guild catalog 203', {DATE:-180}, {DATE:-165}, {DATE:-134}, {DATE:-120}, {DATE:-115}, {DATE:-90}, {DATE:-110}),
    ('MYST', 'M204', 'Mystery Guild holiday catalog 204', {DATE:-70}, {DATE:-55}, {DATE:-24}, {DATE:-10}, {DATE:-5}, {DATE:+20}, {DATE:0}),
    ('MYST', 'M205', 'Mystery Guild catalog 205', {DATE:0}, {DATE:+15}, {DATE:+46}, {DATE:+60}, NULL, NULL, {DATE:+70}),
    ('KIDS', 'K301', 'Young Readers catalog 301', {DATE:-440}, {DATE:-425}, {DATE:-394}, {DATE:-380}, {DATE:-375}, {DATE:-350}, {DATE:-370}),
    ('KIDS', 'K302', 'Young Readers catalog 302', {DATE:-210}, {DATE:-195}, {DATE:-164}, {DATE:-150}, {DATE:-145}, {DATE:-120}, {DATE:-140}),
    ('KIDS', 'K303', 'Young Readers catalog 303', {DATE:-105}, {DATE:-90}, {DATE:-59}, {DATE:-45}, {DATE:-40}, {DATE:-15}, {DATE:-35}),
    ('KIDS', 'K304', 'Young Readers catalog 304', {DATE:+15}, NULL, NULL, {DATE:+75}, NULL, NULL, NULL);

-- Main versions of the catalogs from their clubs' default maps; B107 and K304 are still to be
-- built. B099 is an old map whose schedule row is gone.
INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, PageSection)
SELECT tblMapDefault.ClubID, tblCycleSchedule.CatalogID, '0000', PageNum, PageSection
FROM tblMapDefault
INNER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = tblMapDefault.ClubID
WHERE (MapType = 'Regular Catalog' AND CatalogID NOT IN ('B107', 'K304', 'M204'))
   OR (MapType = 'Holiday Catalog' AND CatalogID = 'M204');
INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, PageSection)
SELECT ClubID, 'B099', '0000', PageNum, PageSection
FROM tblMapDefault WHERE ClubID = 'BOOK' AND MapType = 'Regular Catalog' AND PageNum <= 16;

-- Test versions copied from the main versions.
INSERT INTO tblCatalogMap (ClubID, CatalogID, TestID, PageNum, PageSection)
SELECT ClubID, CatalogID, test.column1, PageNum, PageSection
FROM tblCatalogMap
CROSS JOIN (VALUES ('0001'), ('0002')) test
WHERE TestID = '0000'
  AND (CatalogID = 'B105' OR (CatalogID IN ('B106', 'M204', 'K303') AND test.column1 = '0001'));

-- Inserts: three of the last six months (offered for packages) and two older ones.
INSERT INTO tblInsertMap (InsertID, InsertDescription, PageNum, PageSection)
SELECT made.column1, made.column2, PageNum, PageSection
FROM tblMapDefault
INNER JOIN (VALUES ({INSERTID:-20}, 'Summer Reading Flyer', 'BOOK', 'Standard Catalog Insert'),
                   ({INSERTID:-75}, 'Mystery Bonus Insert', 'MYST', 'Mini Catalog Insert'),
                   ({INSERTID:-150}, 'Kids Activity Sheet', 'KIDS', 'Catalog Insert - Activities'),
                   ({INSERTID:-250}, 'Holiday Gift Guide', 'MYST', 'Mini Catalog Insert'),
                   ({INSERTID:-400}, 'Clearance Flyer', 'BOOK', 'Standard Catalog Insert')) made
    ON made.column3 = tblMapDefault.ClubID AND made.column4 = tblMapDefault.MapType;

-- Placements: four products a page (none on the order form), spread over the product list by a
-- different offset per catalog; the test versions change the odd pages. M205 is not laid out yet.
-- The featured product takes 40 of the page and the others 20 each, so most pages are full; every
-- seventh page is overfilled and some are left short, as a plan in progress is.
INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, PagePosition,
                            PageWeight, DescType, Price, Discount, ProductType, ModifyDate,
                            ModifyUser)
SELECT ClubID, CatalogID, TestID,
       'BK' || (10001 + (spread.column2 + (PageNum - 1) * 4 + position.column1 - 1
                         + CAST(TestID AS INTEGER) * 7 * (PageNum % 2)) % 300),
       PageNum, position.column1,
       CASE WHEN position.column1 > 1 THEN 20 WHEN PageNum % 7 = 0 THEN 55
            WHEN PageNum % 5 = 3 THEN 25 ELSE 40 END,
       'Blank', NULL, position.column2,
       CASE position.column1 WHEN 1 THEN 'FEAT' ELSE 'REG' END, CURRENT_TIMESTAMP, 'demo'
FROM tblCatalogMap
INNER JOIN (VALUES ('B099', 250), ('B101', 17), ('B102', 41), ('B103', 73), ('B104', 101),
                   ('B105', 131), ('B106', 163), ('M201', 197), ('M202', 223), ('M203', 251),
                   ('M204', 5), ('K301', 29), ('K302', 59), ('K303', 89)) spread
    ON spread.column1 = tblCatalogMap.CatalogID
CROSS JOIN (VALUES (1, 0), (2, 15), (3, 20), (4, 0)) position
WHERE PageSection <> 'Order Form';

-- Insert placements: two a page, NULL club and test, the insert ID in CatalogID.
INSERT INTO tblProductsMap (ClubID, CatalogID, TestID, ProductID, PageNum, PagePosition,
                            PageWeight, DescType, Price, Discount, ProductType, ModifyDate,
                            ModifyUser)
SELECT NULL, InsertID, NULL,
       'BK' || (10001 + (CAST(substr(InsertID, 3, 2) AS INTEGER) * 9 + PageNum * 2
                         + position.column1) % 300),
       PageNum, position.column1, 50, 'Blank', NULL, position.column2, 'INS', CURRENT_TIMESTAMP,
       'demo'
FROM tblInsertMap
CROSS JOIN (VALUES (1, 10), (2, 0)) position
WHERE PageSection <> 'Order Form';

-- Description sizes where the product has them (the rest stay "Blank"), and prices after the
-- discount.
UPDATE tblProductsMap SET DescType = 'Long'
WHERE PagePosition = 1 AND EXISTS (SELECT 1 FROM tblInvDescriptions
                                   WHERE tblInvDescriptions.ProductID = tblProductsMap.ProductID
                                     AND BlurbSize = 'Long');
UPDATE tblProductsMap SET DescType = 'Short'
WHERE PagePosition > 1 AND EXISTS (SELECT 1 FROM tblInvDescriptions
                                   WHERE tblInvDescriptions.ProductID = tblProductsMap.ProductID
                                     AND BlurbSize = 'Short');
UPDATE tblProductsMap
SET Price = (SELECT ROUND(CAST(MSRP * (100 - tblProductsMap.Discount) / 100 AS NUMERIC), 2)
             FROM tblInvMaster WHERE tblInvMaster.ProductID = tblProductsMap.ProductID);

-- First and last use of the products in catalogs already mailed.
UPDATE tblInvMaster
SET FirstUseDate = (SELECT MIN(AAAddressStartDate) FROM tblProductsMap
                    INNER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = tblProductsMap.ClubID
                        AND tblCycleSchedule.CatalogID = tblProductsMap.CatalogID
                    WHERE tblProductsMap.ProductID = tblInvMaster.ProductID
                      AND AAAddressStartDate <= {DATE:0}),
    LastUseDate = (SELECT MAX(AAAddressStartDate) FROM tblProductsMap
                   INNER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = tblProductsMap.ClubID
                       AND tblCycleSchedule.CatalogID = tblProductsMap.CatalogID
                   WHERE tblProductsMap.ProductID = tblInvMaster.ProductID
                     AND AAAddressStartDate <= {DATE:0});
UPDATE tblInvMaster
SET FirstUseCycle = (SELECT MIN(tblCycleSchedule.CatalogID) FROM tblProductsMap
                     INNER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = tblProductsMap.ClubID
                         AND tblCycleSchedule.CatalogID = tblProductsMap.CatalogID
                     WHERE tblProductsMap.ProductID = tblInvMaster.ProductID
                       AND AAAddressStartDate = tblInvMaster.FirstUseDate),
    LastUseCycle = (SELECT MAX(tblCycleSchedule.CatalogID) FROM tblProductsMap
                    INNER JOIN tblCycleSchedule ON tblCycleSchedule.ClubID = tblProductsMap.ClubID
                        AND tblCycleSchedule.CatalogID = tblProductsMap.CatalogID
                    WHERE tblProductsMap.ProductID = tblInvMaster.ProductID
                      AND AAAddressStartDate = tblInvMaster.LastUseDate);

-- Recommendations for the coming catalogs and one insert, about a ninth of the active products
-- each.
INSERT INTO tblInvRecommendations (ClubID, CatalogID, ProductID, FcstSales, ProdRank)
SELECT ClubID, CatalogID, ProductID,
       250 + (CAST(substr(ProductID, 3) AS INTEGER) * 37 % 900) * 12.5,
       1 + CAST(substr(ProductID, 3) AS INTEGER) * 13 % 100
FROM tblCycleSchedule
CROSS JOIN tblInvMaster
WHERE CatalogID IN ('B105', 'B106', 'B107', 'M204', 'M205', 'K303', 'K304')
  AND ActiveProd = 1
  AND (CAST(substr(ProductID, 3) AS INTEGER) + CAST(substr(CatalogID, 2) AS INTEGER)) % 9 = 0;
INSERT INTO tblInvRecommendations (ClubID, CatalogID, ProductID, FcstSales, ProdRank)
SELECT NULL, {INSERTID:-20}, ProductID, 180 + CAST(substr(ProductID, 3) AS INTEGER) % 40 * 20, 50
FROM tblInvMaster WHERE ActiveProd = 1 AND CAST(substr(ProductID, 3) AS INTEGER) % 15 = 1;

-- Recurring products: a few titles in every catalog of their club, one in a single catalog.
INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, ProductID)
SELECT ClubID, CatalogID, title.column2
FROM tblCycleSchedule
INNER JOIN (VALUES ('BOOK', 'BK10005'), ('BOOK', 'BK10012'), ('BOOK', 'BK10040'),
                   ('MYST', 'BK10021'), ('MYST', 'BK10061'), ('KIDS', 'BK10130'),
                   ('KIDS', 'BK10131')) title
    ON title.column1 = tblCycleSchedule.ClubID
WHERE AAAddressStartDate > {DATE:-365};
INSERT INTO tblRecurringCatgProducts (ClubID, CatalogID, ProductID) VALUES
    ('BOOK', 'B106', 'BK10077');

-- Mail packages: a catalog row plus its inserts. The ID is the creation time followed by four
-- digits; the creation date is written as text 'mm/dd/yyyy' (converted below).
INSERT INTO tblMailPackages (PackageID, PackageDescription, PackageMailDate, PackageCreateDate,
                             ClubID, CatalogID, TestID, ItemType, ItemDescription, ModifyDate,
                             ModifyUser) VALUES
    (replace({DATE:-40}, '-', '') || '1015224711', 'Book Club 105 with the summer flyer', {DATE:-20}, {DATE:-40},
     'BOOK', 'B105', '0000', 'General Catalog', '', CURRENT_TIMESTAMP, 'demo'),
    (replace({DATE:-40}, '-', '') || '1015224711', 'Book Club 105 with the summer flyer', {DATE:-20}, {DATE:-40},
     NULL, {INSERTID:-20}, NULL, 'Package Insert', 'Summer Reading Flyer', CURRENT_TIMESTAMP, 'demo'),
    (replace({DATE:-30}, '-', '') || '0940115302', 'Mystery Guild holiday test 0001', {DATE:-10}, {DATE:-30},
     'MYST', 'M204', '0001', 'General Catalog', '', CURRENT_TIMESTAMP, 'demo'),
    (replace({DATE:-30}, '-', '') || '0940115302', 'Mystery Guild holiday test 0001', {DATE:-10}, {DATE:-30},
     NULL, {INSERTID:-75}, NULL, 'Package Insert', 'Mystery Bonus Insert', CURRENT_TIMESTAMP, 'demo'),
    (replace({DATE:-30}, '-', '') || '0940115302', 'Mystery Guild holiday test 0001', {DATE:-10}, {DATE:-30},
     NULL, {INSERTID:-20}, NULL, 'Package Insert', 'Summer Reading Flyer', CURRENT_TIMESTAMP, 'demo'),
    (replace({DATE:-60}, '-', '') || '1402338806', 'Young Readers 303, catalog only', {DATE:-45}, {DATE:-60},
     'KIDS', 'K303', '0000', 'General Catalog', '', CURRENT_TIMESTAMP, 'demo');
UPDATE tblMailPackages
SET PackageCreateDate = substr(PackageCreateDate, 6, 2) || '/' || substr(PackageCreateDate, 9, 2)
                        || '/' || substr(PackageCreateDate, 1, 4);

-- Ad codes of the mailings; the total CPM is the sum of list and package CPM, the save day is
-- written as text 'mm/dd/yyyy' (converted below).
INSERT INTO tblAdCodes (AdCode, CatName, ListDesc, ListCpm, Pkg, PkgDesc, PkgCpm, Media, Offer,
                        MailDate, QtyMailed, TotalCpm, TargetResp, ModUser, ModDate) VALUES
    ('B104HF01', 'Book Club 104', 'Active members, 0-12 months', 85, 'CAT32', '32-page catalog with order form', 310, 'Catalog', '5 books for 99 cents', {DATE:-90}, 120000, 0, 2.5, 'demo', {DATE:-120}),
    ('B104HF02', 'Book Club 104', 'Lapsed members, 13-24 months', 95, 'CAT32', '32-page catalog with order form', 310, 'Catalog', '5 books for 99 cents', {DATE:-90}, 45000, 0, 1.2, 'demo', {DATE:-120}),
    ('B105HF01', 'Book Club 105', 'Active members, 0-12 months', 85, 'CAT32', '32-page catalog with order form', 315.5, 'Catalog', '4 books for 1 dollar', {DATE:-20}, 118500, 0, 2.6, 'demo', {DATE:-50}),
    ('B105RN01', 'Book Club 105', 'Rented list, readers of mystery magazines', 120, 'SOLO', 'Solo mailer with reply card', 210, 'Direct Mail', '4 books for 1 dollar', {DATE:-20}, 60000, 0, 0.8, 'demo', {DATE:-50}),
    ('B105PI01', 'Book Club 105', 'Package insert program, garden retailer', 45, 'INS4', '4-page package insert', 95, 'Package Insert', 'Free tote bag', {DATE:-18}, 200000, 0, 0.35, 'demo', {DATE:-45}),
    ('M204HF01', 'Mystery Guild 204', 'Active members, 0-12 months', 85, 'CAT20', '20-page holiday catalog', 260, 'Catalog', 'Holiday gift set', {DATE:-10}, 64000, 0, 2.2, 'demo', {DATE:-35}),
    ('M204CO01', 'Mystery Guild 204', 'Co-op mailing, fiction readers', 60, 'CARD', 'Co-op card', 40, 'Co-op Mailing', '3 books for 1 dollar', {DATE:-12}, 300000, 0, 0.25, 'demo', {DATE:-35}),
    ('K303HF01', 'Young Readers 303', 'Active members, 0-12 months', 85, 'CAT16', '16-page catalog', 240, 'Catalog', 'Free activity book', {DATE:-45}, 38000, 0, 1.9, 'demo', {DATE:-70}),
    ('K303SA01', 'Young Readers 303', 'Parenting magazine, full page', 0, 'AD1', 'Full-page space ad', 55, 'Space Ad', 'Free activity book', {DATE:-40}, 250000, 0, 0.1, 'demo', {DATE:-70}),
    ('B106HF01', 'Book Club 106', 'Active members, 0-12 months', 85, 'CAT32', '32-page catalog with order form', 320, 'Catalog', '6 books for 2 dollars', {DATE:+40}, 125000, 0, 2.5, 'demo', {DATE:-5});
UPDATE tblAdCodes
SET TotalCpm = ListCpm + PkgCpm,
    ModDate = substr(ModDate, 6, 2) || '/' || substr(ModDate, 9, 2) || '/' || substr(ModDate, 1, 4);
