-- Folvane data warehouse: the creation script for SQL Server, run by the set-up tool's batch file
-- MakeDB.bat through osql against the data source "Folvane", or from Linux by
-- folvane-create-server-warehouse --sqlserver. Needs SQL Server 2016 SP1 or later (CREATE OR
-- ALTER VIEW).
--
-- Kept in step with sqlite.sql and postgresql.sql: same tables, same column names, same keys,
-- views with the same columns and meaning, and the reference data of reference-data.sql (the very
-- same INSERT statements). It can run again on an existing warehouse: tables and indexes are made
-- only where missing, the views are altered in place (keeping the permissions granted on them),
-- and reference rows go only into empty tables.
--
-- Text compares without regard to case through the database's case-insensitive collation, which
-- the script checks before it makes anything.
-- PackageCreateDate and tblAdCodes.ModDate are not dates: the client writes them as the text
-- 'mm/dd/yyyy', shows them as stored and searches them as text. Flags are integers 0/1, compared
-- with = 1. No foreign keys: the client deletes rows that others still name (a product's
-- descriptions and placements outlive the product, a schedule row its maps) and reads them with
-- outer joins.

SET NOCOUNT ON
SET ANSI_NULLS ON
SET QUOTED_IDENTIFIER ON
GO

USE master
GO
-- A Windows collation: the client's drivers send every text parameter as nvarchar, and only under
-- a Windows collation can SQL Server seek a varchar key's index through that conversion (under a
-- SQL collation every lookup by key scans). Case-insensitive and accent-sensitive, as the other
-- warehouses compare.
IF DB_ID(N'Folvane') IS NULL
    CREATE DATABASE Folvane COLLATE Latin1_General_100_CI_AS
GO
USE Folvane
GO

-- A database made beforehand keeps the collation it was made with. The client's keys and names
-- must compare without regard to case, so a case-sensitive database stops the script here, as
-- does a database that could not be made or opened: SET NOEXEC ON leaves every later batch unrun.
DECLARE @collation sysname = CAST(DATABASEPROPERTYEX(DB_NAME(), 'Collation') AS sysname)
IF DB_NAME() <> N'Folvane'
BEGIN
    RAISERROR('The database Folvane could not be created or opened, so nothing was made in it.', 16, 1)
    SET NOEXEC ON
END
ELSE IF ISNULL(CAST(COLLATIONPROPERTY(@collation, 'ComparisonStyle') AS int), 0) & 1 = 0
BEGIN
    RAISERROR('Folvane needs a case-insensitive database, but %s has the collation %s. Create the database with a case-insensitive collation such as Latin1_General_100_CI_AS and run this script again.', 16, 1, N'Folvane', @collation)
    SET NOEXEC ON
END
ELSE IF @collation LIKE N'SQL[_]%'
    PRINT 'Note: the database has the SQL collation ' + @collation + N'; under a Windows collation such as Latin1_General_100_CI_AS lookups by key can use their indexes.'
GO

IF OBJECT_ID(N'dbo.tblMapDefault', N'U') IS NULL
CREATE TABLE dbo.tblMapDefault (
    ClubID      varchar(25) NOT NULL,
    MapType     varchar(50) NOT NULL,
    PageNum     int NOT NULL,
    PageSection varchar(50),
    PRIMARY KEY CLUSTERED (ClubID, MapType, PageNum)
)
GO

IF OBJECT_ID(N'dbo.tblMapDefaultPageSections', N'U') IS NULL
CREATE TABLE dbo.tblMapDefaultPageSections (
    PageSection varchar(50) NOT NULL PRIMARY KEY
)
GO

IF OBJECT_ID(N'dbo.tblCycleSchedule', N'U') IS NULL
CREATE TABLE dbo.tblCycleSchedule (
    ClubID                varchar(25) NOT NULL,
    CatalogID             varchar(25) NOT NULL,
    Description           varchar(250) NOT NULL,
    MapCopyCreative       date,
    FstDraftCreative      date,
    CatalogReleaseDate    date,
    AAAddressStartDate    date NOT NULL,
    AAAddressCompleteDate date,
    ReplyDate             date,
    LabelRunShipDate      date,
    PRIMARY KEY CLUSTERED (ClubID, CatalogID)
)
GO

IF OBJECT_ID(N'dbo.tblCatalogMap', N'U') IS NULL
CREATE TABLE dbo.tblCatalogMap (
    ClubID      varchar(25) NOT NULL,
    CatalogID   varchar(25) NOT NULL,
    TestID      varchar(4) NOT NULL,
    PageNum     int NOT NULL,
    PageSection varchar(50),
    PRIMARY KEY CLUSTERED (ClubID, CatalogID, TestID, PageNum)
)
GO

-- InsertID is the creation time 'mmddyyyyhhmmss'.
IF OBJECT_ID(N'dbo.tblInsertMap', N'U') IS NULL
CREATE TABLE dbo.tblInsertMap (
    InsertID          varchar(14) NOT NULL,
    InsertDescription varchar(100) NOT NULL,
    PageNum           int NOT NULL,
    PageSection       varchar(50),
    PRIMARY KEY CLUSTERED (InsertID, PageNum)
)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ixInsertMapDescription')
    CREATE INDEX ixInsertMapDescription ON dbo.tblInsertMap (InsertDescription)
GO

-- A placement of an insert has NULL ClubID and TestID and the insert ID in CatalogID.
IF OBJECT_ID(N'dbo.tblProductsMap', N'U') IS NULL
CREATE TABLE dbo.tblProductsMap (
    ItemID       int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    ClubID       varchar(25),
    CatalogID    varchar(25) NOT NULL,
    TestID       varchar(4),
    ProductID    varchar(15) NOT NULL,
    PageNum      int NOT NULL,
    PagePosition int NOT NULL,
    PageWeight   float NOT NULL,
    DescType     varchar(25),
    Price        money,
    Discount     float,
    ProductType  varchar(5),
    ModifyDate   datetime,
    ModifyUser   varchar(25)
)
GO
-- Serves both the catalog version (ClubID, CatalogID, TestID) and the insert (CatalogID) lookups.
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ixProductsMapCatalog')
    CREATE INDEX ixProductsMapCatalog ON dbo.tblProductsMap (CatalogID, ClubID, TestID, PageNum)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ixProductsMapProduct')
    CREATE INDEX ixProductsMapProduct ON dbo.tblProductsMap (ProductID)
GO

IF OBJECT_ID(N'dbo.tblInvMaster', N'U') IS NULL
CREATE TABLE dbo.tblInvMaster (
    ProductID      varchar(15) NOT NULL PRIMARY KEY,
    ProductUPC     varchar(25),
    ProductName    varchar(150) NOT NULL,
    ActiveProd     int NOT NULL DEFAULT 0,
    ActiveWeb      int NOT NULL DEFAULT 0,
    Category       int NOT NULL,
    MSRP           money DEFAULT 0,
    LastPrice      money DEFAULT 0,
    ProdCost       money DEFAULT 0,
    ManufacturerID int,
    ReleaseDate    date,
    DistEndDate    date,
    FirstUseDate   date,
    FirstUseCycle  varchar(15),
    LastUseDate    date,
    LastUseCycle   varchar(15),
    FeaturedProd   int NOT NULL DEFAULT 0,
    OnHand         int DEFAULT 0,
    Status         varchar(15),
    Comments       varchar(500),
    Source         varchar(50),
    Weight         float DEFAULT 0,
    Length         float DEFAULT 0,
    Height         float DEFAULT 0,
    Width          float DEFAULT 0,
    ArtSource      varchar(75),
    ModifyDate     datetime,
    ModifyUser     varchar(25),
    Filler1        varchar(25),
    Filler2        varchar(25),
    Filler3        varchar(25)
)
GO

-- Two levels. Every category names its parent in SubCatID; a top-level category (lvl 1) names
-- itself, so the self-join of the category lists finds a parent row for every category.
IF OBJECT_ID(N'dbo.tblInvCategories', N'U') IS NULL
CREATE TABLE dbo.tblInvCategories (
    CatID    int NOT NULL PRIMARY KEY,
    CatDesc  varchar(50) NOT NULL,
    lvl      int NOT NULL,
    SubCatID int NOT NULL
)
GO

IF OBJECT_ID(N'dbo.tblManufactrurers', N'U') IS NULL
CREATE TABLE dbo.tblManufactrurers (
    ManufacturerID   int NOT NULL PRIMARY KEY,
    ManufacturerName varchar(75) NOT NULL
)
GO

IF OBJECT_ID(N'dbo.tblInvDescriptions', N'U') IS NULL
CREATE TABLE dbo.tblInvDescriptions (
    ProductID  varchar(15) NOT NULL,
    BlurbSize  varchar(25) NOT NULL,
    Blurb      varchar(max) NOT NULL,
    ModifyDate datetime,
    ModifyUser varchar(25),
    PRIMARY KEY CLUSTERED (ProductID, BlurbSize)
)
GO

IF OBJECT_ID(N'dbo.tblInvBlurbSizes', N'U') IS NULL
CREATE TABLE dbo.tblInvBlurbSizes (
    BlurbSize varchar(25) NOT NULL PRIMARY KEY
)
GO

-- For an insert, CatalogID holds the insert ID and ClubID is NULL.
IF OBJECT_ID(N'dbo.tblInvRecommendations', N'U') IS NULL
CREATE TABLE dbo.tblInvRecommendations (
    ClubID    varchar(25),
    CatalogID varchar(25) NOT NULL,
    ProductID varchar(15) NOT NULL,
    FcstSales money,
    ProdRank  int
)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'ixInvRecommendationsCatalog')
    CREATE INDEX ixInvRecommendationsCatalog ON dbo.tblInvRecommendations (CatalogID, ClubID)
GO

IF OBJECT_ID(N'dbo.tblRecurringCatgProducts', N'U') IS NULL
CREATE TABLE dbo.tblRecurringCatgProducts (
    ClubID    varchar(25) NOT NULL,
    CatalogID varchar(25) NOT NULL,
    ProductID varchar(15) NOT NULL,
    PRIMARY KEY CLUSTERED (ClubID, CatalogID, ProductID)
)
GO

-- One row per item of a package: the main catalog row, and one row per insert, whose CatalogID
-- holds the insert ID and whose ClubID and TestID are NULL.
IF OBJECT_ID(N'dbo.tblMailPackages', N'U') IS NULL
CREATE TABLE dbo.tblMailPackages (
    PackageID          varchar(18) NOT NULL,
    PackageDescription varchar(250) NOT NULL,
    PackageMailDate    date,
    PackageCreateDate  varchar(10),
    ClubID             varchar(25),
    CatalogID          varchar(25) NOT NULL,
    TestID             varchar(4),
    ItemType           varchar(25),
    ItemDescription    varchar(250),
    ModifyDate         datetime,
    ModifyUser         varchar(25),
    PRIMARY KEY CLUSTERED (PackageID, CatalogID)
)
GO

IF OBJECT_ID(N'dbo.tblAdCodes', N'U') IS NULL
CREATE TABLE dbo.tblAdCodes (
    AdCode     varchar(10) NOT NULL PRIMARY KEY,
    CatName    varchar(50) NOT NULL,
    ListDesc   varchar(150) NOT NULL,
    ListCpm    money NOT NULL,
    Pkg        varchar(25) NOT NULL,
    PkgDesc    varchar(150) NOT NULL,
    PkgCpm     money NOT NULL,
    Media      varchar(75) NOT NULL,
    Offer      varchar(75) NOT NULL,
    MailDate   date,
    QtyMailed  decimal(15,2) NOT NULL,
    TotalCpm   money NOT NULL,
    TargetResp float NOT NULL,
    ModUser    varchar(25),
    ModDate    varchar(10)
)
GO

IF OBJECT_ID(N'dbo.tblADMediaTypes', N'U') IS NULL
CREATE TABLE dbo.tblADMediaTypes (
    MediaTypeID   int NOT NULL PRIMARY KEY,
    MediaType     varchar(75) NOT NULL,
    MediaTypeSort int NOT NULL
)
GO


-- The catalog tree's rows: one per page of every catalog version. SQL Server keeps no order of a
-- view, so the tree asks for its order (club, catalog, test, page) itself; the clustered key of
-- tblCatalogMap has that very order, so the scan delivers it without a sort. A map whose catalog
-- has no schedule row still shows, with empty schedule data.
CREATE OR ALTER VIEW dbo.viewMapCatalogsDisplay AS
SELECT tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID,
       tblCycleSchedule.Description, tblCatalogMap.PageNum, tblCatalogMap.PageSection,
       tblCycleSchedule.AAAddressStartDate, tblCycleSchedule.LabelRunShipDate
FROM dbo.tblCatalogMap
LEFT OUTER JOIN dbo.tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblCatalogMap.ClubID
   AND tblCycleSchedule.CatalogID = tblCatalogMap.CatalogID
GO

-- The same for inserts: one row per page of every insert. The tree orders them itself, newest
-- insert first (the insert ID 'mmddyyyyhhmmss' read as 'yyyymmddhhmmss').
CREATE OR ALTER VIEW dbo.viewMapInsertsDisplay AS
SELECT InsertID AS InsertId, InsertDescription, PageNum, PageSection
FROM dbo.tblInsertMap
GO

-- Catalog versions a mail package can be made of: versions with a page map whose catalog is in
-- the cycle schedule with an address start date inside the last 365 days or later, the same
-- window as the schedule list. The start date is proposed as the package's mail date.
CREATE OR ALTER VIEW dbo.viewCatalogsToBeCombined AS
SELECT DISTINCT tblCatalogMap.ClubID, tblCatalogMap.CatalogID, tblCatalogMap.TestID,
       tblCycleSchedule.AAAddressStartDate
FROM dbo.tblCatalogMap
INNER JOIN dbo.tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblCatalogMap.ClubID
   AND tblCycleSchedule.CatalogID = tblCatalogMap.CatalogID
WHERE tblCycleSchedule.AAAddressStartDate > DATEADD(day, -365, CAST(GETDATE() AS date))
GO

-- One row per placement of every package item. Package rows meet placements by catalog, with
-- NULL and empty club and test taken alike, so an insert row (no club, no test) meets the
-- placements stored under its insert ID. The page section comes from the catalog map or, for an
-- insert, from the insert map. The description is the one of the size chosen for the placement
-- (DescType): that is the copy the planner meant for this page; "Blank" has no description row
-- and leaves it empty. Products, categories and descriptions are outer-joined so that a
-- placement whose product lost its master row or category is still exported.
CREATE OR ALTER VIEW dbo.viewDataForCreativeExport AS
SELECT tblMailPackages.PackageID, tblMailPackages.ItemType, tblMailPackages.ClubID,
       tblMailPackages.CatalogID, tblMailPackages.TestID, tblProductsMap.PageNum,
       COALESCE(tblCatalogMap.PageSection, tblInsertMap.PageSection) AS PageSection,
       tblProductsMap.PagePosition, tblProductsMap.ProductID, tblInvMaster.ProductName,
       tblInvMaster.ProductUPC,
       CASE WHEN tblInvCategories.lvl = 1 THEN tblInvCategories.CatDesc
            ELSE tblInvCategories_1.CatDesc + ' / ' + tblInvCategories.CatDesc END AS CategoryName,
       tblInvMaster.MSRP, tblProductsMap.Price, tblProductsMap.Discount,
       tblInvDescriptions.Blurb
FROM dbo.tblMailPackages
INNER JOIN dbo.tblProductsMap
    ON tblProductsMap.CatalogID = tblMailPackages.CatalogID
   AND LTRIM(ISNULL(tblProductsMap.ClubID, '')) = LTRIM(ISNULL(tblMailPackages.ClubID, ''))
   AND LTRIM(ISNULL(tblProductsMap.TestID, '')) = LTRIM(ISNULL(tblMailPackages.TestID, ''))
LEFT OUTER JOIN dbo.tblCatalogMap
    ON tblCatalogMap.ClubID = tblProductsMap.ClubID
   AND tblCatalogMap.CatalogID = tblProductsMap.CatalogID
   AND tblCatalogMap.TestID = tblProductsMap.TestID
   AND tblCatalogMap.PageNum = tblProductsMap.PageNum
LEFT OUTER JOIN dbo.tblInsertMap
    ON ISNULL(tblProductsMap.ClubID, '') = ''
   AND tblInsertMap.InsertID = tblProductsMap.CatalogID
   AND tblInsertMap.PageNum = tblProductsMap.PageNum
LEFT OUTER JOIN dbo.tblInvMaster
    ON tblInvMaster.ProductID = tblProductsMap.ProductID
LEFT OUTER JOIN dbo.tblInvCategories
    ON tblInvCategories.CatID = tblInvMaster.Category
LEFT OUTER JOIN dbo.tblInvCategories tblInvCategories_1
    ON tblInvCategories_1.CatID = tblInvCategories.SubCatID
LEFT OUTER JOIN dbo.tblInvDescriptions
    ON tblInvDescriptions.ProductID = tblProductsMap.ProductID
   AND tblInvDescriptions.BlurbSize = tblProductsMap.DescType
GO

-- For every scheduled catalog one row with a NULL ProductID, plus one row per product recurring
-- in it. Counting a catalog's rows that are NULL or the chosen product gives 2 exactly when the
-- product recurs there.
CREATE OR ALTER VIEW dbo.viewRecurringProducts AS
SELECT tblCycleSchedule.ClubID, tblCycleSchedule.CatalogID, tblCycleSchedule.AAAddressStartDate,
       tblRecurringCatgProducts.ProductID
FROM dbo.tblRecurringCatgProducts
INNER JOIN dbo.tblCycleSchedule
    ON tblCycleSchedule.ClubID = tblRecurringCatgProducts.ClubID
   AND tblCycleSchedule.CatalogID = tblRecurringCatgProducts.CatalogID
UNION ALL
SELECT ClubID, CatalogID, AAAddressStartDate, CAST(NULL AS varchar(15))
FROM dbo.tblCycleSchedule
GO

-- The client's login: the client always connects as Folvaneuser with its own fixed password.
-- Made here where it is missing and the one running the script may make logins (a site's DBA may
-- make it instead, as the README shows). The policy check is off because that fixed password
-- meets no complexity rule.
IF NOT EXISTS (SELECT * FROM sys.server_principals WHERE name = N'Folvaneuser')
BEGIN
    IF HAS_PERMS_BY_NAME(NULL, NULL, 'ALTER ANY LOGIN') = 1
        CREATE LOGIN Folvaneuser WITH PASSWORD = N'3v8q1m6z', DEFAULT_DATABASE = Folvane,
            CHECK_POLICY = OFF
    ELSE
        PRINT 'The login Folvaneuser does not exist, and this login may not create it: a DBA creates it, with a user in Folvane in the roles db_datareader and db_datawriter.'
END
GO

-- Its user in the database, reading and writing every table and view through the fixed roles,
-- which no view made again can take away. A login that owns the database is its dbo already.
DECLARE @user sysname =
    (SELECT name FROM sys.database_principals WHERE sid = SUSER_SID(N'Folvaneuser'))
IF @user IS NULL AND SUSER_SID(N'Folvaneuser') IS NOT NULL
BEGIN
    CREATE USER Folvaneuser FOR LOGIN Folvaneuser
    SET @user = N'Folvaneuser'
END
IF @user IS NOT NULL AND @user <> N'dbo'
BEGIN
    DECLARE @grant nvarchar(400) = N''
    IF IS_ROLEMEMBER(N'db_datareader', @user) = 0
        SET @grant += N'ALTER ROLE db_datareader ADD MEMBER ' + QUOTENAME(@user) + N'; '
    IF IS_ROLEMEMBER(N'db_datawriter', @user) = 0
        SET @grant += N'ALTER ROLE db_datawriter ADD MEMBER ' + QUOTENAME(@user) + N'; '
    EXEC sp_executesql @grant
END
GO

-- Reference data: the rows of reference-data.sql, statement for statement.
IF NOT EXISTS (SELECT * FROM dbo.tblMapDefaultPageSections)
BEGIN
-- Page sections offered when a map is built.
INSERT INTO tblMapDefaultPageSections (PageSection) VALUES
    ('Activity Books'),
    ('Audiobooks'),
    ('Back Cover'),
    ('Bargain Books'),
    ('Bestsellers'),
    ('Biography'),
    ('Children'),
    ('Cooking'),
    ('Editors Choice'),
    ('Fiction'),
    ('Front Cover'),
    ('Gift Ideas'),
    ('History'),
    ('Inside Back Cover'),
    ('Inside Front Cover'),
    ('Mystery & Suspense'),
    ('New Releases'),
    ('Order Form'),
    ('Picture Books'),
    ('Romance'),
    ('Science Fiction'),
    ('Thrillers'),
    ('Young Readers');
END
GO

IF NOT EXISTS (SELECT * FROM dbo.tblMapDefault)
BEGIN
-- Default page maps per club and catalog type. A type whose name contains "Catalog Insert" builds
-- an insert.
-- BOOK, Regular Catalog: 32 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('BOOK', 'Regular Catalog', 1, 'Front Cover'),
    ('BOOK', 'Regular Catalog', 2, 'Inside Front Cover'),
    ('BOOK', 'Regular Catalog', 3, 'Editors Choice'),
    ('BOOK', 'Regular Catalog', 4, 'Bestsellers'),
    ('BOOK', 'Regular Catalog', 5, 'Bestsellers'),
    ('BOOK', 'Regular Catalog', 6, 'New Releases'),
    ('BOOK', 'Regular Catalog', 7, 'New Releases'),
    ('BOOK', 'Regular Catalog', 8, 'New Releases'),
    ('BOOK', 'Regular Catalog', 9, 'Fiction'),
    ('BOOK', 'Regular Catalog', 10, 'Fiction'),
    ('BOOK', 'Regular Catalog', 11, 'Fiction'),
    ('BOOK', 'Regular Catalog', 12, 'Fiction'),
    ('BOOK', 'Regular Catalog', 13, 'Mystery & Suspense'),
    ('BOOK', 'Regular Catalog', 14, 'Mystery & Suspense'),
    ('BOOK', 'Regular Catalog', 15, 'Mystery & Suspense'),
    ('BOOK', 'Regular Catalog', 16, 'Romance'),
    ('BOOK', 'Regular Catalog', 17, 'Romance'),
    ('BOOK', 'Regular Catalog', 18, 'Science Fiction'),
    ('BOOK', 'Regular Catalog', 19, 'Science Fiction'),
    ('BOOK', 'Regular Catalog', 20, 'Biography'),
    ('BOOK', 'Regular Catalog', 21, 'Biography'),
    ('BOOK', 'Regular Catalog', 22, 'History'),
    ('BOOK', 'Regular Catalog', 23, 'History'),
    ('BOOK', 'Regular Catalog', 24, 'Cooking'),
    ('BOOK', 'Regular Catalog', 25, 'Cooking'),
    ('BOOK', 'Regular Catalog', 26, 'Children'),
    ('BOOK', 'Regular Catalog', 27, 'Children'),
    ('BOOK', 'Regular Catalog', 28, 'Bargain Books'),
    ('BOOK', 'Regular Catalog', 29, 'Gift Ideas'),
    ('BOOK', 'Regular Catalog', 30, 'Order Form'),
    ('BOOK', 'Regular Catalog', 31, 'Inside Back Cover'),
    ('BOOK', 'Regular Catalog', 32, 'Back Cover');
-- BOOK, Standard Catalog Insert: 12 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('BOOK', 'Standard Catalog Insert', 1, 'Front Cover'),
    ('BOOK', 'Standard Catalog Insert', 2, 'New Releases'),
    ('BOOK', 'Standard Catalog Insert', 3, 'New Releases'),
    ('BOOK', 'Standard Catalog Insert', 4, 'Bestsellers'),
    ('BOOK', 'Standard Catalog Insert', 5, 'Bestsellers'),
    ('BOOK', 'Standard Catalog Insert', 6, 'Fiction'),
    ('BOOK', 'Standard Catalog Insert', 7, 'Fiction'),
    ('BOOK', 'Standard Catalog Insert', 8, 'Bargain Books'),
    ('BOOK', 'Standard Catalog Insert', 9, 'Bargain Books'),
    ('BOOK', 'Standard Catalog Insert', 10, 'Gift Ideas'),
    ('BOOK', 'Standard Catalog Insert', 11, 'Order Form'),
    ('BOOK', 'Standard Catalog Insert', 12, 'Back Cover');
-- KIDS, Regular Catalog: 16 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('KIDS', 'Regular Catalog', 1, 'Front Cover'),
    ('KIDS', 'Regular Catalog', 2, 'Inside Front Cover'),
    ('KIDS', 'Regular Catalog', 3, 'New Releases'),
    ('KIDS', 'Regular Catalog', 4, 'New Releases'),
    ('KIDS', 'Regular Catalog', 5, 'Picture Books'),
    ('KIDS', 'Regular Catalog', 6, 'Picture Books'),
    ('KIDS', 'Regular Catalog', 7, 'Picture Books'),
    ('KIDS', 'Regular Catalog', 8, 'Young Readers'),
    ('KIDS', 'Regular Catalog', 9, 'Young Readers'),
    ('KIDS', 'Regular Catalog', 10, 'Young Readers'),
    ('KIDS', 'Regular Catalog', 11, 'Activity Books'),
    ('KIDS', 'Regular Catalog', 12, 'Activity Books'),
    ('KIDS', 'Regular Catalog', 13, 'Audiobooks'),
    ('KIDS', 'Regular Catalog', 14, 'Order Form'),
    ('KIDS', 'Regular Catalog', 15, 'Inside Back Cover'),
    ('KIDS', 'Regular Catalog', 16, 'Back Cover');
-- KIDS, Catalog Insert - Activities: 12 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('KIDS', 'Catalog Insert - Activities', 1, 'Front Cover'),
    ('KIDS', 'Catalog Insert - Activities', 2, 'Activity Books'),
    ('KIDS', 'Catalog Insert - Activities', 3, 'Activity Books'),
    ('KIDS', 'Catalog Insert - Activities', 4, 'Activity Books'),
    ('KIDS', 'Catalog Insert - Activities', 5, 'Activity Books'),
    ('KIDS', 'Catalog Insert - Activities', 6, 'Picture Books'),
    ('KIDS', 'Catalog Insert - Activities', 7, 'Picture Books'),
    ('KIDS', 'Catalog Insert - Activities', 8, 'Young Readers'),
    ('KIDS', 'Catalog Insert - Activities', 9, 'Young Readers'),
    ('KIDS', 'Catalog Insert - Activities', 10, 'Gift Ideas'),
    ('KIDS', 'Catalog Insert - Activities', 11, 'Order Form'),
    ('KIDS', 'Catalog Insert - Activities', 12, 'Back Cover');
-- MYST, Regular Catalog: 24 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('MYST', 'Regular Catalog', 1, 'Front Cover'),
    ('MYST', 'Regular Catalog', 2, 'Inside Front Cover'),
    ('MYST', 'Regular Catalog', 3, 'Editors Choice'),
    ('MYST', 'Regular Catalog', 4, 'New Releases'),
    ('MYST', 'Regular Catalog', 5, 'New Releases'),
    ('MYST', 'Regular Catalog', 6, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 7, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 8, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 9, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 10, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 11, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 12, 'Mystery & Suspense'),
    ('MYST', 'Regular Catalog', 13, 'Thrillers'),
    ('MYST', 'Regular Catalog', 14, 'Thrillers'),
    ('MYST', 'Regular Catalog', 15, 'Thrillers'),
    ('MYST', 'Regular Catalog', 16, 'Audiobooks'),
    ('MYST', 'Regular Catalog', 17, 'Audiobooks'),
    ('MYST', 'Regular Catalog', 18, 'Bargain Books'),
    ('MYST', 'Regular Catalog', 19, 'Bargain Books'),
    ('MYST', 'Regular Catalog', 20, 'Bestsellers'),
    ('MYST', 'Regular Catalog', 21, 'Order Form'),
    ('MYST', 'Regular Catalog', 22, 'Inside Back Cover'),
    ('MYST', 'Regular Catalog', 23, 'Back Cover'),
    ('MYST', 'Regular Catalog', 24, 'Back Cover');
-- MYST, Holiday Catalog: 20 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('MYST', 'Holiday Catalog', 1, 'Front Cover'),
    ('MYST', 'Holiday Catalog', 2, 'Inside Front Cover'),
    ('MYST', 'Holiday Catalog', 3, 'Gift Ideas'),
    ('MYST', 'Holiday Catalog', 4, 'Gift Ideas'),
    ('MYST', 'Holiday Catalog', 5, 'Gift Ideas'),
    ('MYST', 'Holiday Catalog', 6, 'Gift Ideas'),
    ('MYST', 'Holiday Catalog', 7, 'Mystery & Suspense'),
    ('MYST', 'Holiday Catalog', 8, 'Mystery & Suspense'),
    ('MYST', 'Holiday Catalog', 9, 'Mystery & Suspense'),
    ('MYST', 'Holiday Catalog', 10, 'Mystery & Suspense'),
    ('MYST', 'Holiday Catalog', 11, 'Mystery & Suspense'),
    ('MYST', 'Holiday Catalog', 12, 'Thrillers'),
    ('MYST', 'Holiday Catalog', 13, 'Thrillers'),
    ('MYST', 'Holiday Catalog', 14, 'Thrillers'),
    ('MYST', 'Holiday Catalog', 15, 'Audiobooks'),
    ('MYST', 'Holiday Catalog', 16, 'Audiobooks'),
    ('MYST', 'Holiday Catalog', 17, 'Bargain Books'),
    ('MYST', 'Holiday Catalog', 18, 'Order Form'),
    ('MYST', 'Holiday Catalog', 19, 'Inside Back Cover'),
    ('MYST', 'Holiday Catalog', 20, 'Back Cover');
-- MYST, Mini Catalog Insert: 12 pages
INSERT INTO tblMapDefault (ClubID, MapType, PageNum, PageSection) VALUES
    ('MYST', 'Mini Catalog Insert', 1, 'Front Cover'),
    ('MYST', 'Mini Catalog Insert', 2, 'New Releases'),
    ('MYST', 'Mini Catalog Insert', 3, 'New Releases'),
    ('MYST', 'Mini Catalog Insert', 4, 'New Releases'),
    ('MYST', 'Mini Catalog Insert', 5, 'Mystery & Suspense'),
    ('MYST', 'Mini Catalog Insert', 6, 'Mystery & Suspense'),
    ('MYST', 'Mini Catalog Insert', 7, 'Mystery & Suspense'),
    ('MYST', 'Mini Catalog Insert', 8, 'Mystery & Suspense'),
    ('MYST', 'Mini Catalog Insert', 9, 'Thrillers'),
    ('MYST', 'Mini Catalog Insert', 10, 'Thrillers'),
    ('MYST', 'Mini Catalog Insert', 11, 'Order Form'),
    ('MYST', 'Mini Catalog Insert', 12, 'Back Cover');
END
GO

IF NOT EXISTS (SELECT * FROM dbo.tblInvCategories)
BEGIN
-- Two levels of categories. A top-level category (lvl 1) names itself as its parent, so that the
-- category lists, which join every category with its parent, list it too (under its own name).
INSERT INTO tblInvCategories (CatID, CatDesc, lvl, SubCatID) VALUES
    (1, 'Fiction', 1, 1),
    (2, 'Nonfiction', 1, 2),
    (3, 'Children', 1, 3),
    (4, 'Audio', 1, 4),
    (5, 'Gifts', 1, 5),
    (11, 'Mystery', 2, 1),
    (12, 'Thrillers', 2, 1),
    (13, 'Romance', 2, 1),
    (14, 'Science Fiction', 2, 1),
    (21, 'Biography', 2, 2),
    (22, 'History', 2, 2),
    (23, 'Cooking', 2, 2),
    (31, 'Picture Books', 2, 3),
    (32, 'Young Readers', 2, 3),
    (33, 'Activity Books', 2, 3),
    (41, 'Audiobooks', 2, 4),
    (42, 'Music', 2, 4),
    (51, 'Calendars', 2, 5),
    (52, 'Book Accessories', 2, 5);
END
GO

IF NOT EXISTS (SELECT * FROM dbo.tblManufactrurers)
BEGIN
INSERT INTO tblManufactrurers (ManufacturerID, ManufacturerName) VALUES
    (1, 'Harbor Lane Press'),
    (2, 'Northwind Books'),
    (3, 'Bluefield Publishing'),
    (4, 'Granite Hill Media'),
    (5, 'Maple Court Editions'),
    (6, 'Silverline Audio'),
    (7, 'Three Rivers Kids'),
    (8, 'Oakmont Gifts');
END
GO

IF NOT EXISTS (SELECT * FROM dbo.tblInvBlurbSizes)
BEGIN
-- Description sizes. "Blank" is not one: the placement editor offers it for "no description".
INSERT INTO tblInvBlurbSizes (BlurbSize) VALUES
    ('Long'),
    ('Medium'),
    ('Short');
END
GO

IF NOT EXISTS (SELECT * FROM dbo.tblADMediaTypes)
BEGIN
INSERT INTO tblADMediaTypes (MediaTypeID, MediaType, MediaTypeSort) VALUES
    (1, 'Catalog', 1),
    (2, 'Direct Mail', 2),
    (3, 'Package Insert', 3),
    (4, 'Co-op Mailing', 4),
    (5, 'Statement Stuffer', 5),
    (6, 'Space Ad', 6),
    (7, 'E-mail', 7),
    (8, 'Web', 8);
END
GO
