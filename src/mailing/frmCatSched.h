#pragma once

#include "mailing/CatalogSchedule.h"
#include "shell/WorkingWindow.h"

class FlexGrid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Catalog Schedule Maintenance: the entry panel of one schedule row above the grid of the rows of
// the last 365 days. A click on a grid row loads it into the panel, Save writes the panel, a
// double-click deletes the row.
class frmCatSched : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmCatSched(QWidget *parent = nullptr);

    void LoadClubList();
    void InitScheduleGrid();
    void LoadScheduleGrid();
    void ClearEntryFields();
    void ShowRowInFields(int row);
    bool ValidateEntry();
    bool SaveScheduleRow();

    // The entry panel as typed.
    catalogschedule::ScheduleEntry entry() const;

private:
    void cmdSave_Click();
    void cmdClear_Click();
    void grdSchedule_Click();
    void grdSchedule_DblClick();

    QWidget *picContainer;
    QComboBox *cboClubID;
    QLineEdit *txtCatalogID;
    QLineEdit *txtDescription;
    QLineEdit *txtMapCopyCreative;
    QLineEdit *txtFstDraftCreative;
    QLineEdit *txtCatalogReleaseDate;
    QLineEdit *txtAAAddressStartDate;
    QLineEdit *txtAAAddressCompleteDate;
    QLineEdit *txtReplyDate;
    QLineEdit *txtLabelRunShipDate;
    QPushButton *cmdSave;
    QPushButton *cmdClear;
    FlexGrid *grdSchedule;
};
