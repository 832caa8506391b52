#pragma once

#include "inventory/ProductDescriptions.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Product Descriptions: a search of the products that have descriptions, the descriptions of one
// product size by size with a few facts of the product, and the grid of products without any
// description. Add, Edit, OK, Cancel and Delete change the descriptions; Add and Edit unlock the
// description panel and lock the browsing controls until OK or Cancel.
class frmProdDesc : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmProdDesc(QWidget *parent = nullptr);

    productdescriptions::Mode mode() const { return m_mode; }

    void ResetDescriptionPanel(bool reloadSizes);
    void SearchDescribedProducts(const QString &text);
    void LoadProductDescriptions(const QString &productID);
    void InitMissingDescGrid();
    void LoadMissingDescGrid();
    void ShowBrowseButtons(bool show);
    void SetDescriptionLocks(bool browse);
    bool ValidateDescription();
    bool SaveDescription();
    void DeleteDescription(const QString &productID, const QString &blurbSize);

    // The description panel as typed.
    productdescriptions::DescriptionEntry entry() const;

private:
    void cmdSearch_Click();
    void lstProductID_Click();
    void cboBlurbSize_Click();
    void grdMisProdDesc_Click();
    void grdMisProdDesc_MouseDown(const QPoint &globalPos);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();

    QLabel *addCaption(const char *name, const char *text);
    QLabel *addFact(const char *name);
    void layOut();

    productdescriptions::Mode m_mode = productdescriptions::Mode::Browse;
    // The descriptions of the loaded product, entry by entry of the size list; empty when no
    // product is loaded.
    QList<productdescriptions::DescriptionRecord> DescriptionRecords;

    QWidget *picContainer;
    QLineEdit *txtSearch;
    QPushButton *cmdSearch;
    QListWidget *lstProductID;
    QLineEdit *txtProductID;
    QComboBox *cboBlurbSize;
    QPlainTextEdit *txtBlurb;
    QLineEdit *txtModifyDate;
    QLabel *lblProdName;
    QLabel *lblActiveProd;
    QLabel *lblMSRP;
    QLabel *lblOnHand;
    FlexGrid *grdMisProdDesc;
    QPushButton *cmdAdd;
    QPushButton *cmdEdit;
    QPushButton *cmdDelete;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QList<QLabel *> m_captions;
};
