#pragma once

#include "reports/ProductHistory.h"
#include "reports/frmReport.h"

class FlexGrid;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowHost;

// Product History: every placement of one product in every map, newest first, its forecasts and
// the recurring catalogs that list it.
class frmProductHistory : public frmReport
{
    Q_OBJECT
public:
    explicit frmProductHistory(QWidget *parent = nullptr);

    void ShowProduct(const QString &productId);
    const reports::ProductHistory &history() const { return m_history; }

    // The history of the product in the current row of the grid the Grid Functions pop-up was
    // opened over: its column headed "Product ID" (or "ProductID", "Product").
    static void openFromGrid(WindowHost &host);

private:
    reports::ProductHistory m_history;
    QLineEdit *txtProductID;
    QPushButton *cmdShow;
    QLabel *lblProductName;
    FlexGrid *grdPlacements;
    FlexGrid *grdRecommendations;
    FlexGrid *grdRecurring;
};
