-- Folvane reference data: the lists the client reads but cannot edit. Plain INSERTs that run
-- unchanged on SQLite and PostgreSQL; Folvane.sql carries the very same statements for SQL Server.

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

INSERT INTO tblManufactrurers (ManufacturerID, ManufacturerName) VALUES
    (1, 'Harbor Lane Press'),
    (2, 'Northwind Books'),
    (3, 'Bluefield Publishing'),
    (4, 'Granite Hill Media'),
    (5, 'Maple Court Editions'),
    (6, 'Silverline Audio'),
    (7, 'Three Rivers Kids'),
    (8, 'Oakmont Gifts');

-- Description sizes. "Blank" is not one: the placement editor offers it for "no description".
INSERT INTO tblInvBlurbSizes (BlurbSize) VALUES
    ('Long'),
    ('Medium'),
    ('Short');

INSERT INTO tblADMediaTypes (MediaTypeID, MediaType, MediaTypeSort) VALUES
    (1, 'Catalog', 1),
    (2, 'Direct Mail', 2),
    (3, 'Package Insert', 3),
    (4, 'Co-op Mailing', 4),
    (5, 'Statement Stuffer', 5),
    (6, 'Space Ad', 6),
    (7, 'E-mail', 7),
    (8, 'Web', 8);
