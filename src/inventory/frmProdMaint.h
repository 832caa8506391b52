#pragma once

#include "inventory/ProductMaster.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Inventory Maintenance: the product list, searched by double-clicking a column, above the record
// panel of one product. A click on a listed product loads it into the panel; Save writes the
// panel, Delete removes the loaded product, Ctrl+C in the list copies it to a new product ID.
class frmProdMaint : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmProdMaint(QWidget *parent = nullptr);

    // The product list.
    void InitInventoryGrid();
    void SearchInventory(int column, const QString &criterion);
    bool ExportInventoryList(const QString &path);

    // The record panel.
    void ClearProductFields();
    void LoadProductLookups();
    // False when the product of the current row is no longer stored (the panel stays empty-new).
    bool ShowProductInFields();
    bool ValidateProduct();
    bool SaveProduct();
    void RefreshProductRow();
    bool DeleteProduct();

    // The panel as typed, with the IDs behind the two combo boxes.
    inventory::ProductEntry entry() const;
    // The panel edits a product read from the list (the ID box is locked).
    bool isEditing() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void grdINVItemsList_Click();
    void grdINVItemsList_DblClick();
    // Ctrl+C in the list copies the loaded product to a new product ID.
    void grdINVItemsList_CopyKey();
    void cmdExport_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void setEditing(bool editing);
    // Puts text into a box whole: a box's limit is for typing, never cuts what the window puts in.

    QList<QString> CategoryIDs;
    QList<QString> ManufacturerIDs;

    QWidget *picContainer;
    FlexGrid *grdINVItemsList;
    QRadioButton *optSearchActive;
    QRadioButton *optSearchWorld;
    QLabel *lblSearchMSG;
    QPushButton *cmdExport;

    QLineEdit *txtProductID;
    QLineEdit *txtProductUPC;
    QLineEdit *txtProductName;
    QCheckBox *chkActiveProd;
    QCheckBox *chkActiveWeb;
    QComboBox *cboCategory;
    QLineEdit *txtMSRP;
    QLineEdit *txtLastPrice;
    QLineEdit *txtProdCost;
    QComboBox *cboManufacturer;
    QLineEdit *txtReleaseDate;
    QLineEdit *txtDistEndDate;
    QLineEdit *txtFirstUseDate;
    QLineEdit *txtFirstUseCycle;
    QLineEdit *txtLastUseDate;
    QLineEdit *txtLastUseCycle;
    QCheckBox *chkFeaturedProd;
    QLineEdit *txtOnHand;
    QLineEdit *txtStatus;
    QPlainTextEdit *txtComments;
    QLineEdit *txtSource;
    QLineEdit *txtWeight;
    QLineEdit *txtLength;
    QLineEdit *txtHeight;
    QLineEdit *txtWidth;
    QLineEdit *txtArtSource;
    QLineEdit *txtFiller1;
    QLineEdit *txtFiller2;
    QLineEdit *txtFiller3;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QPushButton *cmdDelete;
};
