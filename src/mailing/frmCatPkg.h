#pragma once

#include "mailing/CatalogPackage.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Create Catalog Package: a main catalog and any recent inserts put together under a description
// and a mail date; the grid of existing packages, the contents and duplicated products of the one
// clicked, its deletion, and its export for the creative department.
class frmCatPkg : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmCatPkg(QWidget *parent = nullptr);

    void LoadInsertList();
    void LoadCatalogsAndPackages();
    void InitPackageGrid();
    void InitDupesGrid();
    bool ValidatePackage();
    bool CreatePackage();
    void ShowPackageContents();
    bool DeletePackage();
    bool ExportPackageForCreative();
    QString AskExportFileName();

    // The package as chosen and typed.
    catalogpackage::PackageEntry entry() const;

private:
    void lstMainCatalogs_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdSend_Click();
    void grdPackages_Click();
    QListWidget *addList(const char *name, bool multiSelect);

    QWidget *picContainer;
    QListWidget *lstMainCatalogs;
    QListWidget *lstInserts;
    QLineEdit *txtDescription;
    QLineEdit *txtMailDate;
    QPushButton *cmdAdd;
    FlexGrid *grdPackages;
    QListWidget *lstPackageContents;
    FlexGrid *grdDupes;
    QPushButton *cmdDelete;
    QPushButton *cmdSend;

    // Beside each item of the three lists, at the item's index.
    QList<catalogpackage::CatalogListEntry> CatalogListEntries;
    QList<catalogpackage::InsertListEntry> InsertListEntries;
    QStringList ContentCatalogIDs;
    // The package lstPackageContents shows.
    QString m_contentsPackageID;
};
