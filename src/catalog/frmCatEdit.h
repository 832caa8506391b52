#pragma once

#include "catalog/Placement.h"
#include "pagemap/PageMap.h"
#include "shell/WorkingWindow.h"

#include <QModelIndex>
#include <QString>

#include <optional>

class DeferredRefresh;
class FlexGrid;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeView;
class frmCatEditTreeModel;
class WindowRegistry;

namespace catalog {
// The main window's Catalog Edit commands, which work on the editor's selection.
void registerCatalogEditCommands(WindowRegistry &registry);
} // namespace catalog

// Edit Existing Catalog/Insert: the tree of every catalog test and insert with their pages on the
// left; on the right what is selected, the placements of the selection, the placement editor and
// three tabs of products to choose from (recommendations, inventory search, recurring products).
//
// The window's Tag holds the key of the tree node last clicked (catalog/NodeKey.h); the editor and
// the main window's Catalog Edit commands work on it. The window lays its controls out to its own
// size rather than on a centred panel.
//
// Split by concern: frmCatEdit.cpp (controls, opening, layout, reset), frmCatEditTree.cpp (tree,
// node click, Catalog Edit menu, insert rename), frmCatEditGrids.cpp (the four product grids and
// the inventory search), frmCatEditPlacement.cpp (the placement editor).
class frmCatEdit : public WorkingWindow
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)

public:
    explicit frmCatEdit(QWidget *parent = nullptr);

    // The key of the node last clicked; empty when nothing (or a root) is selected.
    QString Tag() const { return m_tag; }
    void setTag(const QString &tag);

    // ---- Window and tree (frmCatEdit.cpp, frmCatEditTree.cpp)

    // Rebuilds the whole tree from the warehouse; a failure is shown and leaves the two roots.
    void LoadCatalogTree();
    // Back to the opening state (nothing selected, side grids emptied) with the tree rebuilt.
    // The map and page operations call it after their work.
    void ResetEditorAndReloadTree();
    // Nothing selected: the welcome caption, an empty Tag, the placements emptied, the placement
    // editor reset to Add and disabled. The tree and the side grids stay as they are.
    void ResetSelectionState();
    // Sizes the controls to the window.
    void LayoutEditor();
    // Selects the node of a key (a map or a page) as a click on it would; false when the tree has
    // no such node.
    bool SelectNode(const QString &key);

    // ---- Map and page operations of the main window's Catalog Edit menu (frmCatEditMaps.cpp)
    // Each acts on Tag() (CreateCopyOfRegCatg on its arguments), reports a database failure
    // itself and returns the editor to its opening state with the tree rebuilt after its work.

    // Copies a catalog test's map to a new catalog as its main version "0000".
    void CreateCopyOfRegCatg(const QString &clubId, const QString &regCatgId,
                             const QString &regTestId, const QString &regNewCatgId);
    // Copies the selected catalog test to each test ID of a comma-separated list; the refused
    // entries are listed in one message. False when a database failure stopped it.
    bool CopyCatalogTotTestIds(const QString &testIdString);
    // Deletes the selected map: true when deleted, false when the selection is no map, nothing
    // when a database failure stopped it (already reported).
    std::optional<bool> DeleteMap();
    // Appends a page after the last one; false when the selection is no map.
    bool AddPageToMap(const QString &section);
    // Removes the last page with its placements; false when the selection is no map.
    bool RemovePageFromMap();
    // Gives the selected page a new section: true when updated, false when no page is selected,
    // nothing when a database failure stopped it (already reported).
    std::optional<bool> EditSectionOfPage(const QString &newSection);
    // Swaps the placements of the selected page with those of another page of its map.
    void SwitchPageNumbers(qint16 newPageNumber);

    // ---- Product grids (frmCatEditGrids.cpp)

    void SetupChosenProductsGrid();
    void SetupRecommendedGrid();
    void SetupInventoryGrid();
    void SetupRecurringGrid();
    // Fills the placements of a node key and proposes its page and position to the editor.
    // Throws DbError.
    void LoadPageProducts(const QString &key);
    // Reads the placements shown again after another window (the page map) changed their map;
    // the placement editor keeps what it holds, but an unchanged position proposal is made anew.
    // A grid whose rows are as they were is left as it is: its row, scroll position and focus.
    void ReloadShownPlacements();
    // The tree read again after pages changed: nodes open, scroll position and selected node are
    // kept, and so is whatever the placement editor holds; a node that is gone resets the editor.
    void ReloadTreeKeepingWork();
    // Throws DbError.
    void LoadRecommendations();
    void LoadRecurringProducts(const QString &clubId, const QString &catalogId);
    // Fills the inventory grid with the active products matching the criterion in that column;
    // a criterion the column cannot take is refused with a message; a database failure is reported
    // and leaves what was found before it.
    void SearchInventoryMaster(int column, const QString &criterion);

    // ---- Placement editor (frmCatEditPlacement.cpp)

    void ResetPlacementEditor();
    bool ValidatePlacement();
    bool SavePlacement();
    // The placement editor's boxes as typed, aimed at Tag().
    catalog::PlacementEntry placementEntry() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createPlacementEditor();
    void openingSequence();

    // Tree events.
    void tvCatalogTree_NodeClick(const QModelIndex &index);
    void tvCatalogTree_RightButtonDown(const QPoint &globalPos);
    void tvCatalogTree_CtrlN();

    // Grid events.
    void grdChosenProducts_Click();
    void grdChosenProducts_DblClick();
    void grdInventoryMaster_DblClick();
    void fitGridColumns();
    void mapChanged(const QString &mapKey);

    // Placement editor events.
    void optAdd_Click();
    void optEdit_Click();
    void cmdAdd_Click();
    // The position after the last placement listed, 1 on an empty page.
    QString positionProposal() const;
    void proposeNextPosition();
    // The placements of a node into grdChosenProducts. Throws DbError.
    void fillChosenProducts(const catalog::NodeKey &node);
    // lblNodePressed's text for a catalog or insert node.
    QString nodePressedText(const catalog::NodeKey &node, const QModelIndex &index) const;
    QStringList expandedKeys(const QModelIndex &parent = {}) const;

    QString m_tag;
    bool m_treeKeyNavigation = false;
    // Counts the loads of the placement grid, so that a change the editor made itself and then
    // reloaded for is not read a second time.
    int m_placementLoads = 0;
    // The same for the tree, which follows pages changed in the page map.
    int m_treeLoads = 0;
    // Other clients' changes to the map shown, applied when the operator is not in the middle of
    // something.
    catalog::MapChanges::Watch m_watch;
    DeferredRefresh *m_placementsRefresh;
    DeferredRefresh *m_treeRefresh;

    QTreeView *tvCatalogTree;
    frmCatEditTreeModel *m_treeModel;
    QLabel *lblNodePressed;
    FlexGrid *grdChosenProducts;
    QTabWidget *tabHelpInfo;
    FlexGrid *grdRecomendedItems;
    FlexGrid *grdInventoryMaster;
    FlexGrid *grdRecurringProducts;

    QGroupBox *fraSaveInfo;
    QLineEdit *txtProductID;
    QLineEdit *txtPageNumber;
    QLineEdit *txtPosition;
    QLineEdit *txtWeight;
    QComboBox *cboBlurbSize;
    QLineEdit *txtPrice;
    QLineEdit *txtPercentage;
    QLineEdit *txtProductType;
    QLineEdit *txtModifyDate;
    QRadioButton *optAdd;
    QRadioButton *optEdit;
    QPushButton *cmdAdd;
};
