#pragma once

#include "catalog/CatalogBuild.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// Create New Catalog/Insert: the operator picks a club and a catalog type, adjusts the proposed
// default map (page count and sections) and saves it as a new catalog version or insert, which
// then opens in the catalog editor.
class frmCatBuild : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmCatBuild(QWidget *parent = nullptr);

    // True while the chosen type builds an insert.
    bool insertMode() const { return m_insertMode; }
    // The map as the controls hold it.
    catalogbuild::NewMap newMap() const;

private:
    void loadLists();
    void selectClub(int index);
    void applyType();
    void setupGrid();
    void scrPages_Change(int value);
    void txtPages_EditingFinished();
    void grdPageAlloc_Click();
    void showSectionEditor(int row);
    void hideSectionEditor();
    void focusChanged(QWidget *now);
    void copySectionToGrid(const QString &text);
    void cmdSave_Click();
    int pageRows() const;

    QList<catalogbuild::ClubTypes> m_clubs;
    bool m_insertMode = false;
    int m_sectionRow = -1; // grid row the section editor writes into

    QWidget *picContainer;
    QLabel *lblClub;
    QComboBox *cboClub;
    QLabel *lblCatalogType;
    QComboBox *cboCatalogType;
    QLabel *lblID;
    QLineEdit *txtCatalogID;
    QLabel *lblTestID;
    QLineEdit *txtTestID;
    QLabel *lblPages;
    QLineEdit *txtPages;
    QScrollBar *scrPages;
    FlexGrid *grdPageAlloc;
    QComboBox *cboPageGenre;
    QPushButton *cmdSave;
};
