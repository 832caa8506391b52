CREATE TABLE tblCycleSchedule (ClubID citext NOT NULL, CatalogID citext NOT NULL, d date, PRIMARY KEY (ClubID, CatalogID));
INSERT INTO tblCycleSchedule VALUES ('ABC','Cat1','2024-01-02');
