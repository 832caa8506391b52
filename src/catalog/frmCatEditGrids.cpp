// The catalog editor's four product grids: their set-up, their loaders, the inventory search by
// column and the grid menu.
#include "catalog/ProductGrids.h"
#include "catalog/frmCatEdit.h"
#include "shell/BusyPointer.h"
#include "shell/FlexGrid.h"
#include "shell/MDIfrmMain.h"
#include "shell/Twips.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>

#include <algorithm>

using catalog::NodeKey;

void frmCatEdit::setupGrid(FlexGrid *grid, int rows, const QStringList &headers)
{
    grid->setRows(rows);
    grid->setCols(int(headers.size()));
    grid->setFixedRows(1);
    for (int col = 0; col < headers.size(); ++col)
        grid->setTextMatrix(0, col, headers.at(col));
}

void frmCatEdit::SetupChosenProductsGrid()
{
    setupGrid(grdChosenProducts, 1, catalog::chosenProductsHeaders());
    for (int col = 0; col < catalog::kChosenHiddenColumns; ++col)
        grdChosenProducts->setColWidth(col, 0);
}

void frmCatEdit::SetupRecommendedGrid()
{
    setupGrid(grdRecomendedItems, 1, catalog::recommendedHeaders());
}

void frmCatEdit::SetupInventoryGrid()
{
    // The header and one empty row, kept out of sight; the products follow from row 2.
    setupGrid(grdInventoryMaster, 2, catalog::inventoryHeaders());
    for (int col = 0; col < grdInventoryMaster->Cols(); ++col)
        grdInventoryMaster->setTextMatrix(1, col, QString());
    grdInventoryMaster->setRowHeight(1, 0);
}

void frmCatEdit::fitGridColumns()
{
    // Every column shows its header; names and categories get room for their usual length.
    const auto fit = [](FlexGrid *grid, const QHash<int, int> &wideTwips) {
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int col = 0; col < grid->Cols(); ++col) {
            if (grid->ColWidth(col) == 0)
                continue;
            const int header = toTwips(metrics.horizontalAdvance(grid->TextMatrix(0, col)) + 18);
            grid->setColWidth(col, std::max({header, 900, wideTwips.value(col)}));
        }
    };
    fit(grdChosenProducts, {{7, 2700}, {17, 2500}});
    fit(grdRecomendedItems, {{1, 2700}, {8, 2500}});
    fit(grdInventoryMaster, {{1, 1700}, {2, 2700}, {5, 2500}, {9, 1900}});
}

void frmCatEdit::SetupRecurringGrid()
{
    setupGrid(grdRecurringProducts, 1, catalog::recurringHeaders());
    const QList<int> widths = catalog::recurringColumnWidthsTwips();
    for (int col = 0; col < widths.size(); ++col)
        grdRecurringProducts->setColWidth(col, widths.at(col));
}

void frmCatEdit::LoadPageProducts(const QString &key)
{
    const NodeKey node(key);
    if (node.isRoot())
        return;
    if (node.isPage()) {
        txtPageNumber->setText(QString::number(node.pageNumber()));
        txtPageNumber->setReadOnly(true);
    } else {
        txtPageNumber->setReadOnly(false);
    }
    SetupChosenProductsGrid();
    catalog::loadPageProducts(node,
                              [this](QStringList &&row) { grdChosenProducts->appendRow(row); });
    grdChosenProducts->showAppendedRows();
    if (node.isPage())
        proposeNextPosition();
}

void frmCatEdit::LoadRecommendations()
{
    const NodeKey node(Tag());
    if (!node.isCatalog() && !node.isInsert())
        return;
    SetupRecommendedGrid();
    catalog::loadRecommendations(node,
                                 [this](QStringList &&row) { grdRecomendedItems->appendRow(row); });
    grdRecomendedItems->showAppendedRows();
}

void frmCatEdit::LoadRecurringProducts(const QString &clubId, const QString &catalogId)
{
    SetupRecurringGrid();
    catalog::loadRecurringProducts(
        clubId, catalogId, [this](QStringList &&row) { grdRecurringProducts->appendRow(row); });
    grdRecurringProducts->showAppendedRows();
}

void frmCatEdit::SearchInventoryMaster(int column, const QString &criterion)
{
    if (const auto refusal = catalog::inventorySearchRefusal(column, criterion)) {
        Dialogs::instance().message(*refusal, windowTitle(), Dialogs::Icon::Information);
        return;
    }
    BusyPointer busy;
    SetupInventoryGrid();
    try {
        catalog::searchInventoryMaster(
            column, criterion, [this](QStringList &&row) { grdInventoryMaster->appendRow(row); });
    } catch (const DbError &) {
        // The search ends where it failed, with what it found so far.
    }
    grdInventoryMaster->showAppendedRows();
}

void frmCatEdit::grdInventoryMaster_DblClick()
{
    const int column = grdInventoryMaster->Col();
    const QString header = grdInventoryMaster->TextMatrix(0, column);
    const auto answer =
        Dialogs::instance().inputBox(QStringLiteral("In order to search by [") + header +
                                         QStringLiteral("], please enter your criteria below..."),
                                     windowTitle(), QString());
    if (!answer || vb::Trim(*answer).isEmpty())
        return;
    SearchInventoryMaster(column, *answer);
}

void frmCatEdit::popupGridFunctions(FlexGrid *grid, const QPoint &globalPos)
{
    if (MDIfrmMain *main = MDIfrmMain::instance())
        main->popupGridFunctions(grid, globalPos, false);
}
