// The catalog editor's placement editor `fraSaveInfo`: its defaults, Add and Edit modes, loading a
// placement from the grid, deleting one, and saving.
#include "catalog/Placement.h"
#include "catalog/ProductGrids.h"
#include "catalog/frmCatEdit.h"
#include "shell/BusyPointer.h"
#include "shell/FlexGrid.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

using catalog::NodeKey;
using catalog::PlacementValidation;

namespace {
// txtProductID keeps the ItemID of the placement being edited here.
constexpr auto kEditedItem = "Tag";
} // namespace

void frmCatEdit::ResetPlacementEditor()
{
    txtProductID->clear();
    txtProductID->setProperty(kEditedItem, QString());
    txtWeight->setText(QStringLiteral("11.11"));
    txtPrice->clear();
    txtPercentage->clear();
    txtProductType->clear();
    txtModifyDate->setText(vb::FormatDate(QDate::currentDate(), QStringLiteral("mm/dd/yy")));
    txtModifyDate->setEnabled(false);

    const NodeKey node(Tag());
    if (node.isPage()) {
        txtPageNumber->setText(QString::number(node.pageNumber()));
        proposeNextPosition();
    } else {
        txtPageNumber->clear();
        txtPosition->clear();
    }

    cboBlurbSize->clear();
    if (const auto sizes = attempt(&catalog::placementBlurbSizes))
        cboBlurbSize->addItems(*sizes);
    else
        cboBlurbSize->addItem(QStringLiteral("Blank"));
    cboBlurbSize->setCurrentIndex(0);
}

QString frmCatEdit::positionProposal() const
{
    const int rows = grdChosenProducts->Rows();
    return catalog::nextFreePosition(rows > 1
                                         ? std::optional<QString>(grdChosenProducts->TextMatrix(
                                               rows - 1, catalog::kChosenPositionColumn))
                                         : std::nullopt);
}

void frmCatEdit::proposeNextPosition() { txtPosition->setText(positionProposal()); }

void frmCatEdit::optAdd_Click()
{
    txtProductID->setReadOnly(false);
    ResetPlacementEditor();
}

void frmCatEdit::optEdit_Click()
{
    txtProductID->setReadOnly(true);
    ResetPlacementEditor();
}

catalog::PlacementEntry frmCatEdit::placementEntry() const
{
    catalog::PlacementEntry entry;
    entry.target = NodeKey(Tag());
    entry.mode = optEdit->isChecked() ? catalog::PlacementMode::Edit : catalog::PlacementMode::Add;
    entry.itemId = txtProductID->property(kEditedItem).toString();
    entry.productId = txtProductID->text();
    entry.pageNumber = txtPageNumber->text();
    entry.position = txtPosition->text();
    entry.weight = txtWeight->text();
    entry.blurbSize = cboBlurbSize->currentText();
    entry.price = txtPrice->text();
    entry.discount = txtPercentage->text();
    entry.productType = txtProductType->text();
    return entry;
}

void frmCatEdit::grdChosenProducts_Click()
{
    const int row = grdChosenProducts->Row();
    // A click on the header moves no placement into the editor.
    if (!optEdit->isChecked() || row < 1 || grdChosenProducts->MouseRow() < 1)
        return;
    const auto loaded = attempt([&] {
        return catalog::loadPlacement(
            vb::Trim(grdChosenProducts->TextMatrix(row, catalog::kChosenItemIdColumn)));
    });
    if (const auto &placement = loaded.value_or(std::nullopt)) {
        txtProductID->setProperty(kEditedItem, placement->itemId);
        txtProductID->setText(placement->productId);
        txtPageNumber->setText(placement->pageNumber);
        txtPosition->setText(placement->position);
        txtWeight->setText(placement->weight);
        cboBlurbSize->setEditText(placement->blurbSize);
        txtProductType->setText(placement->productType);
        txtModifyDate->setText(placement->modifyDate);
        txtPrice->setText(placement->price);
        txtPercentage->setText(placement->discount);
    }
}

void frmCatEdit::grdChosenProducts_DblClick()
{
    const int row = grdChosenProducts->Row();
    // Only a placement row: a double-click on the header deletes nothing.
    if (grdChosenProducts->Rows() <= 1 || row < 1 || grdChosenProducts->MouseRow() < 1)
        return;
    if (!Dialogs::instance().question(
            QStringLiteral("Delete [") +
                grdChosenProducts->TextMatrix(row, catalog::kChosenProductIdColumn) +
                QStringLiteral("] from the catalog?"),
            windowTitle(), Dialogs::Icon::Question))
        return;
    const QString itemId =
        vb::Trim(grdChosenProducts->TextMatrix(row, catalog::kChosenItemIdColumn));
    if (!attempt([&] { catalog::deletePlacement(itemId); }))
        return;
    if (grdChosenProducts->Rows() == 2)
        grdChosenProducts->setRows(1);
    else
        grdChosenProducts->RemoveItem(row);
    // The placement being edited is gone: Edit mode ends, so that no save writes it back.
    if (optEdit->isChecked() && itemId == vb::Trim(txtProductID->property(kEditedItem).toString()))
        optAdd->setChecked(true);
}

bool frmCatEdit::ValidatePlacement()
{
    const auto validation =
        attempt([&] { return catalog::validatePlacement(placementEntry(), windowTitle()); });
    if (!validation)
        return false;
    const PlacementValidation &result = *validation;
    switch (result.outcome) {
    case PlacementValidation::Outcome::Valid:
        return true;
    case PlacementValidation::Outcome::Cancelled:
        txtProductID->setFocus();
        return false;
    case PlacementValidation::Outcome::Refused:
        if (!result.messages.isEmpty())
            Dialogs::instance().message(result.messages, windowTitle(), Dialogs::Icon::Information);
        return false;
    }
    return false;
}

bool frmCatEdit::SavePlacement()
{
    return attempt(
        [&] {
            catalog::savePlacement(placementEntry(), QDateTime::currentDateTime(), gstrUserName);
        },
        {}, QStringLiteral(" Please contact the systems Administrator."));
}

void frmCatEdit::cmdAdd_Click()
{
    if (!fraSaveInfo->isEnabled())
        return;
    if (!ValidatePlacement() || !SavePlacement())
        return;
    BusyPointer busy;
    ResetPlacementEditor();
    attempt([&] { LoadPageProducts(Tag()); });
    txtProductID->setFocus();
}
