#pragma once

#include "mailing/AdCodes.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Advertising Codes Maintenance: the entry panel of one ad code above the key master grid. The
// grid shows a search by one column (double-click the column), hands a clicked row to the panel,
// and imports rows pasted into it from a spreadsheet (check, then save).
class frmAdCodes : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmAdCodes(QWidget *parent = nullptr);

    void InitKeyGrid();
    void LoadMediaList();
    void ClearAdCodeEntry();
    void RecalcTotalCpm(adcodes::CpmBox box);
    bool ValidateAdCode();
    bool SaveAdCode();
    bool DeleteAdCode();
    void SearchAdCodes(int column, const QString &criteria);
    void ShowKeyRowInFields(int row);
    bool SaveGridRows();

    // The entry panel as it stands.
    adcodes::AdCodeEntry entry() const;
    // The plain number text the total CPM label carries.
    QString totalCpmTag() const;
    // The first row of the grid that holds an ad code: row 2 below the hidden row of a search
    // result, row 1 of a pasted block.
    int firstDataRow() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdDelete_Click();
    void cmdCheckSaveGridData_Click();
    void grdKeymastDisp_Click();
    void grdKeymastDisp_DblClick();
    void setTotalCpm(const QString &caption, const QString &tag);
    void setLocked(bool locked);
    void layOut();

    QWidget *picContain1;
    QLineEdit *txtSourceCode;
    QLineEdit *txtCatName;
    QLineEdit *txtListDesc;
    QLineEdit *txtListCpm;
    QLineEdit *txtPkg;
    QLineEdit *txtPkgDesc;
    QLineEdit *txtPkgCpm;
    QComboBox *cboMedia;
    QLineEdit *txtOffer;
    QDateEdit *dtpMailDate;
    QLineEdit *txtQtyMailed;
    QLineEdit *txtTargetResp;
    QLabel *lblTotalCPM;
    QPushButton *cmdSave;
    QPushButton *cmdCancel;
    QPushButton *cmdDelete;
    QPushButton *cmdCheckSaveGridData;
    FlexGrid *grdKeymastDisp;
};
