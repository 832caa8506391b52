-- Folvane data warehouse: tables and views of the embedded SQLite warehouse.
--
-- Kept in step with postgresql.sql and Folvane.sql (SQL Server): same tables, same column names,
-- same keys, views with the same columns and meaning.
--
-- Conventions of this dialect:
-- * Text keys and names are COLLATE NOCASE, as the SQL Server warehouse compares text without
--   regard to case. Lengths are written for the reader; SQLite does not enforce them.
-- * SQLite has no date type. Date columns hold text 'yyyy-mm-dd', date-and-time columns
--   'yyyy-mm-dd hh:mm:ss' (see Query::bindDate). The checks refuse any other form, since a date
--   stored as 'mm/dd/yyyy' would silently compare and sort wrong.
-- * PackageCreateDate and tblAdCodes.ModDate are not dates here: the client writes them as the
--   text 'mm/dd/yyyy', shows them as stored and searches them as text.
-- * Flags are integers 0/1, compared with = 1.
-- * No foreign keys: the client deletes rows that others still name (a product's descriptions and
--   placements outlive the product, a schedule row its maps) and reads them with outer joins.

CREATE TABLE tblMapDefault (
    ClubID      VARCHAR(25) COLLATE NOCASE NOT NULL,
    MapType     VARCHAR(50) COLLATE NOCASE NOT NULL,
    PageNum     INTEGER NOT NULL,
    PageSection VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (ClubID, MapType, PageNum)
);

CREATE TABLE tblMapDefaultPageSections (
    PageSection VARCHAR(50) COLLATE NOCASE NOT NULL PRIMARY KEY
);

CREATE TABLE tblCycleSchedule (
    ClubID                VARCHAR(25) COLLATE NOCASE NOT NULL,
    CatalogID             VARCHAR(25) COLLATE NOCASE NOT NULL,
    Description           VARCHAR(250) NOT NULL,
    MapCopyCreative       TEXT CHECK (MapCopyCreative IS date(MapCopyCreative, '+0 days')),
    FstDraftCreative      TEXT CHECK (FstDraftCreative IS date(FstDraftCreative, '+0 days')),
    CatalogReleaseDate    TEXT CHECK (CatalogReleaseDate IS date(CatalogReleaseDate, '+0 days')),
    AAAddressStartDate    TEXT NOT NULL
                          CHECK (AAAddressStartDate IS date(AAAddressStartDate, '+0 days')),
    AAAddressCompleteDate TEXT
                          CHECK (AAAddressCompleteDate IS date(AAAddressCompleteDate, '+0 days')),
    ReplyDate             TEXT CHECK (ReplyDate IS date(ReplyDate, '+0 days')),
    LabelRunShipDate      TEXT CHECK (LabelRunShipDate IS date(LabelRunShipDate, '+0 days')),
    PRIMARY KEY (ClubID, CatalogID)
);

CREATE TABLE tblCatalogMap (
    ClubID      VARCHAR(25) COLLATE NOCASE NOT NULL,
    CatalogID   VARCHAR(25) COLLATE NOCASE NOT NULL,
    TestID      VARCHAR(4) COLLATE NOCASE NOT NULL,
    PageNum     INTEGER NOT NULL,
    PageSection VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (ClubID, CatalogID, TestID, PageNum)
);

-- InsertID is the creation time 'mmddyyyyhhmmss'.
CREATE TABLE tblInsertMap (
    InsertID          VARCHAR(14) COLLATE NOCASE NOT NULL,
    InsertDescription VARCHAR(100) COLLATE NOCASE NOT NULL,
    PageNum           INTEGER NOT NULL,
    PageSection       VARCHAR(50) COLLATE NOCASE,
    PRIMARY KEY (InsertID, PageNum)
);
CREATE INDEX ixInsertMapDescription ON tblInsertMap (InsertDescription);

-- A placement of an insert has NULL ClubID and TestID and the insert ID in CatalogID.
CREATE TABLE tblProductsMap (
    ItemID       INTEGER PRIMARY KEY AUTOINCREMENT,
    ClubID       VARCHAR(25) COLLATE NOCASE,
    CatalogID    VARCHAR(25) COLLATE NOCASE NOT NULL,
    TestID       VARCHAR(4) COLLATE NOCASE,
    ProductID    VARCHAR(15) COLLATE NOCASE NOT NULL,
    PageNum      INTEGER NOT NULL,
    PagePosition INTEGER NOT NULL,
    PageWeight   REAL NOT NULL,
    DescType     VARCHAR(25) COLLATE NOCASE,
    Price        REAL,
    Discount     REAL,
    ProductType  VARCHAR(5) COLLATE NOCASE,
    ModifyDate   TEXT CHECK (ModifyDate IS datetime(ModifyDate, '+0 days')),
    ModifyUser   VARCHAR(25)
);
-- Serves both the catalog version (ClubID, CatalogID, TestID) and the insert (CatalogID) lookups.
CREATE INDEX ixProductsMapCatalog ON tblProductsMap (CatalogID, ClubID, TestID, PageNum);
CREATE INDEX ixProductsMapProduct ON tblProductsMap (ProductID);

CREATE TABLE tblInvMaster (
    ProductID      VARCHAR(15) COLLATE NOCASE NOT NULL PRIMARY KEY,
    ProductUPC     VARCHAR(25) COLLATE NOCASE,
    ProductName    VARCHAR(150) COLLATE NOCASE NOT NULL,
    ActiveProd     INTEGER NOT NULL DEFAULT 0,
    ActiveWeb      INTEGER NOT NULL DEFAULT 0,
    Category       INTEGER NOT NULL,
    MSRP           REAL DEFAULT 0,
    LastPrice      REAL DEFAULT 0,
    ProdCost       REAL DEFAULT 0,
    ManufacturerID INTEGER,
    ReleaseDate    TEXT CHECK (ReleaseDate IS date(ReleaseDate, '+0 days')),
    DistEndDate    TEXT CHECK (DistEndDate IS date(DistEndDate, '+0 days')),
    FirstUseDate   TEXT CHECK (FirstUseDate IS date(FirstUseDate, '+0 days')),
    FirstUseCycle  VARCHAR(15) COLLATE NOCASE,
    LastUseDate    TEXT CHECK (LastUseDate IS date(LastUseDate, '+0 days')),
    LastUseCycle   VARCHAR(15) COLLATE NOCASE,
    FeaturedProd   INTEGER NOT NULL DEFAULT 0,
    OnHand         INTEGER DEFAULT 0,
    Status         VARCHAR(15) COLLATE NOCASE,
    Comments       VARCHAR(500),
    Source         VARCHAR(50) COLLATE NOCASE,
    Weight         REAL DEFAULT 0,
    Length         REAL DEFAULT 0,
    Height         REAL DEFAULT 0,
    Width          REAL DEFAULT 0,
    ArtSource      VARCHAR(75) COLLATE NOCASE,
    ModifyDate     TEXT CHECK (ModifyDate IS datetime(ModifyDate, '+0 days')),
    ModifyUser     VARCHAR(25),
    Filler1        VARCHAR(25),
    Filler2        VARCHAR(25),
    Filler3        VARCHAR(25)
);
-- A search by product name walks this index in its order, filtering as it goes, so the first rows
-- of a large result reach the window at once instead of after the whole result is sorted, and a
-- search matching few names reads no product row it does not show.
CREATE INDEX ixInvMasterName ON tblInvMaster (ProductName, ProductID);

-- Two levels. Every category names its parent in SubCatID; a top-level category (lvl 1) names
-- itself, so the self-join of the category lists finds a parent row for every category.
CREATE TABLE tblInvCategories (
    CatID    INTEGER NOT NULL PRIMARY KEY,
    CatDesc  VARCHAR(50) COLLATE NOCASE NOT NULL,
    lvl      INTEGER NOT NULL,
    SubCatID INTEGER NOT NULL
);

CREATE TABLE tblManufactrurers (
    ManufacturerID   INTEGER NOT NULL PRIMARY KEY,
    ManufacturerName VARCHAR(75) COLLATE NOCASE NOT NULL
);

CREATE TABLE tblInvDescriptions (
    ProductID  VARCHAR(15) COLLATE NOCASE NOT NULL,
    BlurbSize  VARCHAR(25) COLLATE NOCASE NOT NULL,
    Blurb      TEXT NOT NULL,
    ModifyDate TEXT CHECK (ModifyDate IS datetime(ModifyDate, '+0 days')),
    ModifyUser VARCHAR(25),
    PRIMARY KEY (ProductID, BlurbSize)
);

CREATE TABLE tblInvBlurbSizes (
    BlurbSize VARCHAR(25) COLLATE NOCASE NOT NULL PRIMARY KEY
);

-- For an insert, CatalogID holds the insert ID and ClubID is NULL.
CREATE TABLE tblInvRecommendations (
    ClubID    VARCHAR(25) COLLATE NOCASE,
    CatalogID VARCHAR(25) COLLATE NOCASE NOT NULL,
    ProductID VARCHAR(15) COLLATE NOCASE NOT NULL,
    FcstSales REAL,
    ProdRank  INTEGER
);
CREATE INDEX ixInvRecommendationsCatalog ON tblInvRecommendations (CatalogID, ClubID);

CREATE TABLE tblRecurringCatgProducts (
    ClubID    VARCHAR(25) COLLATE NOCASE NOT NULL,
    CatalogID VARCHAR(25) COLLATE NOCASE NOT NULL,
    ProductID VARCHAR(15) COLLATE NOCASE NOT NULL,
    PRIMARY KEY (ClubID, CatalogID, ProductID)
);

-- One row per item of a package: the main catalog row, and one row per insert, whose CatalogID
-- holds the insert ID and whose ClubID and TestID are NULL.
CREATE TABLE tblMailPackages (
    PackageID          VARCHAR(18) COLLATE NOCASE NOT NULL,
    PackageDescription VARCHAR(250) NOT NULL,
    PackageMailDate    TEXT CHECK (PackageMailDate IS date(PackageMailDate, '+0 days')),
    PackageCreateDate  VARCHAR(10),
    ClubID             VARCHAR(25) COLLATE NOCASE,
    CatalogID          VARCHAR(25) COLLATE NOCASE NOT NULL,
    TestID             VARCHAR(4) COLLATE NOCASE,
    ItemType           VARCHAR(25) COLLATE NOCASE,
    ItemDescription    VARCHAR(250),
    ModifyDate         TEXT CHECK (ModifyDate IS datetime(ModifyDate, '+0 days')),
    ModifyUser         VARCHAR(25),
    PRIMARY KEY (PackageID, CatalogID)
);

CREATE TABLE tblAdCodes (
    AdCode     VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    CatName    VARCHAR(50) COLLATE NOCASE NOT NULL,
    ListDesc   VARCHAR(150) NOT NULL,
    ListCpm    REAL NOT NULL,
    Pkg        VARCHAR(25) COLLATE NOCASE NOT NULL,
    PkgDesc    VARCHAR(150) NOT NULL,
    PkgCpm     REAL NOT NULL,
    Media      VARCHAR(75) COLLATE NOCASE NOT NULL,
    Offer      VARCHAR(75) COLLATE NOCASE NOT NULL,
    MailDate   TEXT CHECK (MailDate IS date(MailDate, '+0 days')),
    QtyMailed  REAL NOT NULL,
    TotalCpm   REAL NOT NULL,
    TargetResp REAL NOT NULL,
    ModUser    VARCHAR(25),
    ModDate    VARCHAR(10)
);

CREATE TABLE tblADMediaTypes (
    MediaTypeID   INTEGER NOT NULL PRIMARY KEY,
    MediaType     VARCHAR(75) COLLATE NOCASE NOT NULL,
    MediaTypeSort INTEGER NOT NULL
);

-- The catalog tree adds a version node when ClubID, CatalogID or TestID change from the previous
-- row, so the rows of one version must come together and in page order. The tree asks for that
-- order itself (SQL Server keeps none of a view); the view gives it to any other reader too. A map
-- whose catalog has no schedule row still shows, with empty schedule data.
CREATE VIEW viewMapCatalogsDisplay AS
SELECT tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID,
       tblCycleSchedule.Description, tblCatalogMap.PageNum, tblCatalogMap.PageSection,
       tblCycleSchedule.AAAddressStartDate, tblCycleSchedule.LabelRunShipDate
FROM tblCatalogMap
LEFT OUTER JOIN tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblCatalogMap.ClubID
   AND tblCycleSchedule.CatalogID = tblCatalogMap.CatalogID
ORDER BY tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID, tblCatalogMap.PageNum;

-- The same for inserts: one insert's pages together and in page order, newest insert first
-- (the insert ID 'mmddyyyyhhmmss' reordered to 'yyyymmddhhmmss'; the ID itself breaks ties, so an
-- insert's rows never part).
CREATE VIEW viewMapInsertsDisplay AS
SELECT InsertID AS InsertId, InsertDescription, PageNum, PageSection
FROM tblInsertMap
ORDER BY substr(InsertID, 5, 4) || substr(InsertID, 1, 4) || substr(InsertID, 9, 6) DESC,
         InsertID, PageNum;

-- Catalog versions a mail package can be made of: versions with a page map whose catalog is in
-- the cycle schedule with an address start date inside the last 365 days or later, the same
-- window as the schedule list. The start date is proposed as the package's mail date.
CREATE VIEW viewCatalogsToBeCombined AS
SELECT DISTINCT tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID,
       tblCycleSchedule.AAAddressStartDate
FROM tblCatalogMap
INNER JOIN tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblCatalogMap.ClubID
   AND tblCycleSchedule.CatalogID = tblCatalogMap.CatalogID
WHERE tblCycleSchedule.AAAddressStartDate > date('now', 'localtime', '-365 days');

-- One row per placement of every package item. Package rows meet placements by catalog, with
-- NULL and empty club and test taken alike, so an insert row (no club, no test) meets the
-- placements stored under its insert ID. The page section comes from the catalog map or, for an
-- insert, from the insert map. The description is the one of the size chosen for the placement
-- (DescType): that is the copy the planner meant for this page; "Blank" has no description row
-- and leaves it empty. Products, categories and descriptions are outer-joined so that a
-- placement whose product lost its master row or category is still exported.
CREATE VIEW viewDataForCreativeExport AS
SELECT tblMailPackages.PackageID, tblMailPackages.ItemType, tblMailPackages.ClubID,
       tblMailPackages.CatalogID, tblMailPackages.TestID, tblProductsMap.PageNum,
       COALESCE(tblCatalogMap.PageSection, tblInsertMap.PageSection) AS PageSection,
       tblProductsMap.PagePosition, tblProductsMap.ProductID, tblInvMaster.ProductName,
       tblInvMaster.ProductUPC,
       CASE WHEN tblInvCategories.lvl = 1 THEN tblInvCategories.CatDesc
            ELSE tblInvCategories_1.CatDesc || ' / ' || tblInvCategories.CatDesc END AS CategoryName,
       tblInvMaster.MSRP, tblProductsMap.Price, tblProductsMap.Discount,
       tblInvDescriptions.Blurb
FROM tblMailPackages
INNER JOIN tblProductsMap
    ON tblProductsMap.CatalogID = tblMailPackages.CatalogID
   AND LTRIM(COALESCE(tblProductsMap.ClubID, '')) = LTRIM(COALESCE(tblMailPackages.ClubID, ''))
   AND LTRIM(COALESCE(tblProductsMap.TestID, '')) = LTRIM(COALESCE(tblMailPackages.TestID, ''))
LEFT OUTER JOIN tblCatalogMap
    ON tblCatalogMap.ClubID = tblProductsMap.ClubID
   AND tblCatalogMap.CatalogID = tblProductsMap.CatalogID
   AND tblCatalogMap.TestID = tblProductsMap.TestID
   AND tblCatalogMap.PageNum = tblProductsMap.PageNum
LEFT OUTER JOIN tblInsertMap
    ON COALESCE(tblProductsMap.ClubID, '') = ''
   AND tblInsertMap.InsertID = tblProductsMap.CatalogID
   AND tblInsertMap.PageNum = tblProductsMap.PageNum
LEFT OUTER JOIN tblInvMaster
    ON tblInvMaster.ProductID = tblProductsMap.ProductID
LEFT OUTER JOIN tblInvCategories
    ON tblInvCategories.CatID = tblInvMaster.Category
LEFT OUTER JOIN tblInvCategories tblInvCategories_1
    ON tblInvCategories_1.CatID = tblInvCategories.SubCatID
LEFT OUTER JOIN tblInvDescriptions
    ON tblInvDescriptions.ProductID = tblProductsMap.ProductID
   AND tblInvDescriptions.BlurbSize = tblProductsMap.DescType;

-- For every scheduled catalog one row with a NULL ProductID, plus one row per product recurring
-- in it. Counting a catalog's rows that are NULL or the chosen product gives 2 exactly when the
-- product recurs there.
CREATE VIEW viewRecurringProducts AS
SELECT tblCycleSchedule.ClubID, tblCycleSchedule.CatalogID, tblCycleSchedule.AAAddressStartDate,
       tblRecurringCatgProducts.ProductID
FROM tblRecurringCatgProducts
INNER JOIN tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblRecurringCatgProducts.ClubID
   AND tblCycleSchedule.CatalogID = tblRecurringCatgProducts.CatalogID
UNION ALL
SELECT ClubID, CatalogID, AAAddressStartDate, NULL
FROM tblCycleSchedule;
