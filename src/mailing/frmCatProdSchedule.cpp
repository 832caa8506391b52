#include "mailing/frmCatProdSchedule.h"

#include "catalog/ProductGrids.h"
#include "mailing/RecurringProducts.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr int kPanelWidthTwips = 17400;
constexpr int kPanelHeightTwips = 9900;
constexpr int kRecurringFirstDataRow = 1;
constexpr int kListWidthTwips = 2700;
const char *const kProductTag = "tag";

QLabel *addLabel(QWidget *parent, const char *name, const char *caption)
{
    return newLabel(parent, name, QString::fromLatin1(caption));
}

QListWidget *addList(QWidget *parent, const char *name)
{
    auto *list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumWidth(twips(kListWidthTwips));
    return list;
}

QStringList texts(const QListWidget &list)
{
    QStringList items;
    items.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        items << list.item(i)->text();
    return items;
}

} // namespace

frmCatProdSchedule::frmCatProdSchedule(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmCatProdSchedule"), recurring::caption(), parent)
{
    picContainer = createPanel(kPanelWidthTwips, kPanelHeightTwips);

    QLabel *lblProducts = addLabel(picContainer, "lblProductsListing", "Products Listing");
    grdProducts = named(new FlexGrid(picContainer), "grdProducts");
    QLabel *lblRecurring = addLabel(picContainer, "lblRecurringProducts", "Recurring Products");
    grdRecurringProducts = named(new FlexGrid(picContainer), "grdRecurringProducts");
    lblProductID = addLabel(picContainer, "lblProductID", "Product ID");
    // Shows which product the two lists belong to.
    lblChosenProduct = addLabel(picContainer, "lblChosenProduct", "");
    lblChosenProduct->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QLabel *lblAvail = addLabel(picContainer, "lblAvailSched", "Available Schedule");
    lstAvailSched = addList(picContainer, "lstAvailSched");
    QLabel *lblCalendar = addLabel(picContainer, "lblProdCalendar", "Product Recurrence Calendar");
    lstProdCalendar = addList(picContainer, "lstProdCalendar");
    cmdAdd = newButton(picContainer, "cmdAdd", QStringLiteral("Add >>"));
    cmdRemove = newButton(picContainer, "cmdRemove", QStringLiteral("<< Remove"));

    // The search grid across the top; below it the recurring products, then the chosen product's
    // calendar with the buttons between its two lists.
    auto *layout = new QGridLayout(picContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(120));
    layout->setVerticalSpacing(twips(60));
    layout->addWidget(lblProducts, 0, 0, 1, 4);
    layout->addWidget(grdProducts, 1, 0, 1, 4);
    layout->addWidget(lblRecurring, 2, 0);
    auto *product = new QHBoxLayout;
    product->setSpacing(twips(120));
    QFont bold = lblChosenProduct->font();
    bold.setBold(true);
    lblChosenProduct->setFont(bold);
    product->addWidget(lblProductID);
    product->addWidget(lblChosenProduct, 1);
    layout->addLayout(product, 2, 1, 1, 3);
    layout->addWidget(lblAvail, 3, 1);
    layout->addWidget(lblCalendar, 3, 3);
    layout->addWidget(grdRecurringProducts, 3, 0, 2, 1);
    layout->addWidget(lstAvailSched, 4, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdRemove);
    buttons->addStretch();
    layout->addLayout(buttons, 4, 2);
    layout->addWidget(lstProdCalendar, 4, 3);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(0, 1);
    int recurringTwips = 0;
    for (int width : catalog::recurringColumnWidthsTwips())
        recurringTwips += width;
    grdRecurringProducts->setMinimumWidth(twips(recurringTwips + 450));

    setTabOrder(grdProducts, grdRecurringProducts);
    setTabOrder(grdRecurringProducts, lstAvailSched);
    setTabOrder(lstAvailSched, cmdAdd);
    setTabOrder(cmdAdd, cmdRemove);
    setTabOrder(cmdRemove, lstProdCalendar);

    connect(grdProducts, &FlexGrid::cellClicked, this,
            [this] { chooseProduct(*grdProducts, kListFirstDataRow); });
    connect(grdRecurringProducts, &FlexGrid::cellClicked, this,
            [this] { chooseProduct(*grdRecurringProducts, kRecurringFirstDataRow); });
    connect(grdProducts, &FlexGrid::cellDoubleClicked, this,
            &frmCatProdSchedule::grdProducts_DblClick);
    // The search grid offers the grid functions; the recurring products grid offers none.
    offerGridFunctions(*grdProducts);
    connect(lstAvailSched, &QListWidget::itemSelectionChanged, this,
            &frmCatProdSchedule::UpdateCalendarButtons);
    connect(lstProdCalendar, &QListWidget::itemSelectionChanged, this,
            &frmCatProdSchedule::UpdateCalendarButtons);
    connect(cmdAdd, &QPushButton::clicked, this, &frmCatProdSchedule::AddToCalendar);
    connect(cmdRemove, &QPushButton::clicked, this, &frmCatProdSchedule::RemoveFromCalendar);

    ClearProductSelection();
    InitProductsGrid();
    InitRecurringGrid();
    LoadAllRecurringProducts();
}

QString frmCatProdSchedule::productTag() const
{
    return lblProductID->property(kProductTag).toString();
}

void frmCatProdSchedule::setProductTag(const QString &productId)
{
    lblProductID->setProperty(kProductTag, productId);
    lblChosenProduct->setText(productId);
}

void frmCatProdSchedule::ClearProductSelection()
{
    setProductTag(QString());
    lstAvailSched->clear();
    lstProdCalendar->clear();
    UpdateCalendarButtons();
}

void frmCatProdSchedule::UpdateCalendarButtons()
{
    // Without a chosen product there is nothing to move, whatever the lists hold.
    const bool chosen = !productTag().isEmpty();
    cmdAdd->setEnabled(chosen && !lstAvailSched->selectedItems().isEmpty());
    cmdRemove->setEnabled(chosen && !lstProdCalendar->selectedItems().isEmpty());
}

void frmCatProdSchedule::InitProductsGrid()
{
    setupGrid(*grdProducts, recurring::productHeaders(), GridKind::List);
    fitColumnsToHeaders(*grdProducts, {{1, 1700}, {2, 2700}, {5, 2500}, {9, 1900}}, 900);
}

void frmCatProdSchedule::InitRecurringGrid()
{
    setupGrid(*grdRecurringProducts, catalog::recurringHeaders(), GridKind::Plain);
    const QList<int> widths = catalog::recurringColumnWidthsTwips();
    for (int col = 0; col < widths.size(); ++col)
        grdRecurringProducts->setColWidth(col, widths.at(col));
}

void frmCatProdSchedule::LoadAllRecurringProducts()
{
    BusyPointer busy;
    fillGrid(*grdRecurringProducts, &recurring::loadAllRecurringProducts);
}

void frmCatProdSchedule::LoadProductCalendar()
{
    lstAvailSched->clear();
    lstProdCalendar->clear();
    const QString product = productTag();
    if (const auto calendar = attempt([&] { return recurring::loadProductCalendar(product); })) {
        lstAvailSched->addItems(calendar->available);
        lstProdCalendar->addItems(calendar->scheduled);
    }
    UpdateCalendarButtons();
}

void frmCatProdSchedule::AddToCalendar() { transfer(true); }

void frmCatProdSchedule::RemoveFromCalendar() { transfer(false); }

void frmCatProdSchedule::transfer(bool add)
{
    if (productTag().isEmpty()) {
        UpdateCalendarButtons();
        return;
    }
    QListWidget *from = add ? lstAvailSched : lstProdCalendar;
    QListWidget *to = add ? lstProdCalendar : lstAvailSched;
    // The selected items from the last to the first, so taking one out leaves the rows of those
    // still to come where they are.
    std::vector<QListWidgetItem *> selected;
    QStringList items;
    for (int row = from->count() - 1; row >= 0; --row) {
        if (from->item(row)->isSelected()) {
            selected.push_back(from->item(row));
            items << from->item(row)->text();
        }
    }
    if (items.isEmpty())
        return;

    std::size_t next = 0;
    const auto moved = [&](const QString &item) {
        // Kept in club and catalog order, as the lists load.
        delete from->takeItem(from->row(selected.at(next++)));
        to->insertItem(recurring::sortedPosition(texts(*to), item), item);
    };
    const bool done = attempt(
        [&] {
            recurring::transfer(add ? recurring::Transfer::Add : recurring::Transfer::Remove,
                                productTag(), items, moved);
        },
        QString(), QStringLiteral("\r\rThe lists now show the calendar as it is stored."));
    // A failure part-way (another workstation may have made the same change a moment earlier)
    // keeps what was written; the lists are read again so they show what is stored.
    if (!done)
        LoadProductCalendar();
    InitRecurringGrid();
    LoadAllRecurringProducts();
    UpdateCalendarButtons();
}

void frmCatProdSchedule::SearchProducts(int column, const QString &criteria)
{
    if (const auto refusal = recurring::searchRefusal(column, criteria)) {
        inform(*refusal);
        return;
    }
    BusyPointer busy;
    InitProductsGrid();
    std::optional<QString> failure;
    watchedFill(*grdProducts, [&] {
        failure = recurring::searchProducts(
            column, criteria, [this](QStringList &&row) { grdProducts->appendRow(row); });
        return true;
    });
    if (failure)
        inform(*failure);
}

void frmCatProdSchedule::chooseProduct(FlexGrid &grid, int firstDataRow)
{
    // A click on the header makes the first row below it current, but chooses no product.
    const bool onHeader = grid.MouseRow() == 0;
    if (!onHeader && grid.Row() >= firstDataRow && grid.Rows() > firstDataRow) {
        setProductTag(vb::Trim(grid.TextMatrix(grid.Row(), 0)));
        LoadProductCalendar();
    } else {
        // The lists go with the product, so nothing can be moved for a product no longer chosen.
        ClearProductSelection();
    }
}

void frmCatProdSchedule::grdProducts_DblClick()
{
    const int column = grdProducts->Col();
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("In order to search by [") + grdProducts->TextMatrix(0, column) +
            QStringLiteral("], please enter your criteria below..."),
        windowTitle(), QString());
    if (!answer || vb::Trim(*answer).isEmpty())
        return;
    SearchProducts(column, *answer);
}
