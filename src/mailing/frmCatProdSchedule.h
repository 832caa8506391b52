#pragma once

#include "shell/WorkingWindow.h"

class FlexGrid;
class QLabel;
class QListWidget;
class QPushButton;

// Recurring Products Calendar: a product found by searching the product master, or one of the
// products that already recur, is chosen from either grid; its calendar shows the scheduled
// catalogs it is not in and those it recurs in, and Add >> / << Remove move the selected catalogs
// across, writing each move at once.
class frmCatProdSchedule : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmCatProdSchedule(QWidget *parent = nullptr);

    void ClearProductSelection();
    void UpdateCalendarButtons();
    void InitProductsGrid();
    void InitRecurringGrid();
    void LoadAllRecurringProducts();
    void LoadProductCalendar();
    void AddToCalendar();
    void RemoveFromCalendar();
    void SearchProducts(int column, const QString &criteria);

    // The chosen product (the tag of lblProductID); empty when none.
    QString productTag() const;

private:
    void setProductTag(const QString &productId);
    void chooseProduct(FlexGrid &grid, int firstDataRow);
    void grdProducts_DblClick();
    void transfer(bool add);

    QWidget *picContainer;
    FlexGrid *grdProducts;
    FlexGrid *grdRecurringProducts;
    QLabel *lblProductID;
    QLabel *lblChosenProduct;
    QListWidget *lstAvailSched;
    QListWidget *lstProdCalendar;
    QPushButton *cmdAdd;
    QPushButton *cmdRemove;
};
