// The catalog editor's four product grids: their set-up, their loaders, the inventory search by
// column and the grid menu.
#include "catalog/ProductGrids.h"
#include "catalog/frmCatEdit.h"
#include "pagemap/PageMap.h"
#include "shell/BusyPointer.h"
#include "shell/DeferredRefresh.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>

using catalog::NodeKey;

void frmCatEdit::SetupChosenProductsGrid()
{
    setupGrid(*grdChosenProducts, catalog::chosenProductsHeaders(), GridKind::Plain);
    for (int col = 0; col < catalog::kChosenHiddenColumns; ++col)
        grdChosenProducts->setColWidth(col, 0);
}

void frmCatEdit::SetupRecommendedGrid()
{
    setupGrid(*grdRecomendedItems, catalog::recommendedHeaders(), GridKind::Plain);
}

void frmCatEdit::SetupInventoryGrid()
{
    // The header and one empty row, kept out of sight; the products follow from row 2.
    setupGrid(*grdInventoryMaster, catalog::inventoryHeaders(), GridKind::List);
}

void frmCatEdit::fitGridColumns()
{
    // Every column shows its header; names and categories get room for their usual length.
    fitColumnsToHeaders(*grdChosenProducts, {{7, 2700}, {17, 2500}}, 900);
    fitColumnsToHeaders(*grdRecomendedItems, {{1, 2700}, {8, 2500}}, 900);
    fitColumnsToHeaders(*grdInventoryMaster, {{1, 1700}, {2, 2700}, {5, 2500}, {9, 1900}}, 900);
}

void frmCatEdit::SetupRecurringGrid()
{
    setupGrid(*grdRecurringProducts, catalog::recurringHeaders(), GridKind::Plain);
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
    fillChosenProducts(node);
    if (node.isPage())
        proposeNextPosition();
}

void frmCatEdit::fillChosenProducts(const NodeKey &node)
{
    SetupChosenProductsGrid();
    ++m_placementLoads;
    catalog::loadPageProducts(node,
                              [this](QStringList &&row) { grdChosenProducts->appendRow(row); });
    grdChosenProducts->showAppendedRows();
}

void frmCatEdit::mapChanged(const QString &mapKey)
{
    const QString shown = catalog::mapKeyOf(NodeKey(Tag()));
    if (shown.isEmpty() || (!mapKey.isEmpty() && mapKey != shown))
        return;
    // Once the writer's work is done: the editor's own writes reload or reset it themselves.
    QMetaObject::invokeMethod(
        this,
        [this, loads = m_placementLoads, tag = Tag()] {
            if (loads == m_placementLoads && tag == Tag())
                m_placementsRefresh->request();
        },
        Qt::QueuedConnection);
}

void frmCatEdit::ReloadShownPlacements()
{
    const NodeKey node(Tag());
    if (!node.isCatalog() && !node.isInsert())
        return;
    // A proposal the operator has left as it was follows the page's placements as they are now.
    const bool proposalKept = txtPosition->text() == positionProposal();
    BusyPointer busy;
    QList<QStringList> rows;
    if (!attempt([&] {
            catalog::loadPageProducts(node,
                                      [&rows](QStringList &&row) { rows.append(std::move(row)); });
        }))
        return;
    FlexGrid &grid = *grdChosenProducts;
    const auto same = [&] {
        if (grid.Rows() - 1 != rows.size())
            return false;
        for (int row = 1; row < grid.Rows(); ++row)
            for (int col = 0; col < grid.Cols(); ++col)
                if (grid.cellText(row, col) != rows[row - 1].value(col))
                    return false;
        return true;
    };
    if (same())
        return;
    // The placement the operator was on stays current where it is still listed.
    const QString current =
        grid.Row() >= 1 ? grid.TextMatrix(grid.Row(), catalog::kChosenItemIdColumn) : QString();
    const int scrolled = grid.verticalScrollBar()->value();
    SetupChosenProductsGrid();
    ++m_placementLoads;
    grid.appendRows(rows);
    grid.showAppendedRows();
    for (int row = 1; row < grid.Rows() && !current.isEmpty(); ++row)
        if (grid.TextMatrix(row, catalog::kChosenItemIdColumn) == current)
            grid.setRow(row);
    grid.verticalScrollBar()->setValue(scrolled);
    if (node.isPage() && optAdd->isChecked() && proposalKept)
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
    // A failure ends the search where it stopped, with what it found so far, and is reported.
    fillGrid(*grdInventoryMaster,
             [&](const RowSink &sink) { catalog::searchInventoryMaster(column, criterion, sink); });
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
