#include "inventory/frmProdMaint.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

using namespace inventory;

namespace {

constexpr int kPanelWidthTwips = 16800;
constexpr int kPanelHeightTwips = 10200;
constexpr char16_t kCtrlC = 3;

} // namespace

frmProdMaint::frmProdMaint(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmProdMaint"), caption(), parent)
{
    picContainer = createPanel(kPanelWidthTwips, kPanelHeightTwips, true);

    grdINVItemsList = named(new FlexGrid(picContainer), "grdINVItemsList");
    optSearchActive =
        named(new QRadioButton(QStringLiteral("Search Active Products ONLY"), picContainer),
              "optSearchActive");
    optSearchWorld = named(new QRadioButton(QStringLiteral("Search ALL Products"), picContainer),
                           "optSearchWorld");
    lblSearchMSG =
        new QLabel(QStringLiteral("Double click on a column of the grid to search by that field."),
                   picContainer);
    lblSearchMSG->setObjectName(QStringLiteral("lblSearchMSG"));
    cmdExport = newButton(picContainer, "cmdExport", QStringLiteral("Export Results To File"));

    txtProductID = newTextBox(picContainer, "txtProductID", 15);
    txtProductUPC = newTextBox(picContainer, "txtProductUPC", 25);
    txtProductName = newTextBox(picContainer, "txtProductName", 150);
    chkActiveProd = named(new QCheckBox(QStringLiteral("Active"), picContainer), "chkActiveProd");
    chkActiveWeb = named(new QCheckBox(QStringLiteral("Web Active"), picContainer), "chkActiveWeb");
    cboCategory = named(new QComboBox(picContainer), "cboCategory");
    txtMSRP = newTextBox(picContainer, "txtMSRP");
    txtLastPrice = newTextBox(picContainer, "txtLastPrice");
    txtProdCost = newTextBox(picContainer, "txtProdCost");
    cboManufacturer = named(new QComboBox(picContainer), "cboManufacturer");
    txtReleaseDate = newTextBox(picContainer, "txtReleaseDate");
    txtDistEndDate = newTextBox(picContainer, "txtDistEndDate");
    txtFirstUseDate = newTextBox(picContainer, "txtFirstUseDate");
    txtFirstUseCycle = newTextBox(picContainer, "txtFirstUseCycle", 15);
    txtLastUseDate = newTextBox(picContainer, "txtLastUseDate");
    txtLastUseCycle = newTextBox(picContainer, "txtLastUseCycle", 15);
    chkFeaturedProd =
        named(new QCheckBox(QStringLiteral("Featured Product"), picContainer), "chkFeaturedProd");
    txtOnHand = newTextBox(picContainer, "txtOnHand");
    txtStatus = newTextBox(picContainer, "txtStatus", 15);
    txtComments = named(new QPlainTextEdit(picContainer), "txtComments");
    txtComments->setTabChangesFocus(true);
    txtComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtSource = newTextBox(picContainer, "txtSource", 50);
    txtWeight = newTextBox(picContainer, "txtWeight");
    txtLength = newTextBox(picContainer, "txtLength");
    txtHeight = newTextBox(picContainer, "txtHeight");
    txtWidth = newTextBox(picContainer, "txtWidth");
    txtArtSource = newTextBox(picContainer, "txtArtSource", 75);
    txtFiller1 = newTextBox(picContainer, "txtFiller1", 25);
    txtFiller2 = newTextBox(picContainer, "txtFiller2", 25);
    txtFiller3 = newTextBox(picContainer, "txtFiller3", 25);
    cmdSave = newButton(picContainer, "cmdSave", QStringLiteral("Save"));
    cmdCancel = newButton(picContainer, "cmdCancel", QStringLiteral("Cancel"));
    cmdDelete = newButton(picContainer, "cmdDelete", QStringLiteral("Delete"));

    // The list fills the upper half; the panel below reads in four columns of label and box, the
    // identity and prices first, then dates, then stock and sizes, then sources and spares.
    auto *layout = new QGridLayout(picContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(120));
    layout->setVerticalSpacing(twips(60));
    auto *searchBar = new QHBoxLayout;
    searchBar->addWidget(optSearchActive);
    searchBar->addWidget(optSearchWorld);
    searchBar->addSpacing(twips(240));
    searchBar->addWidget(lblSearchMSG);
    searchBar->addStretch();
    searchBar->addWidget(cmdExport);
    layout->addLayout(searchBar, 0, 0, 1, 8);
    layout->addWidget(grdINVItemsList, 1, 0, 1, 8);
    const auto place = [&](const char *text, QWidget *box, int row, int col) {
        layout->addWidget(newLabel(picContainer, nullptr, QString::fromLatin1(text), box), row, col,
                          Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(box, row, col + 1);
    };
    place("Product ID", txtProductID, 2, 0);
    place("UPC Code", txtProductUPC, 3, 0);
    place("Product Name", txtProductName, 4, 0);
    place("Category", cboCategory, 5, 0);
    place("Manufacturer", cboManufacturer, 6, 0);
    place("MSRP", txtMSRP, 7, 0);
    place("Last Prod. Price", txtLastPrice, 8, 0);
    place("Prod. Cost", txtProdCost, 9, 0);
    place("Release Date", txtReleaseDate, 2, 2);
    place("Dist End Date", txtDistEndDate, 3, 2);
    place("First Use Date", txtFirstUseDate, 4, 2);
    place("First Use Cycle", txtFirstUseCycle, 5, 2);
    place("Last Use Date", txtLastUseDate, 6, 2);
    place("Last Use Cycle", txtLastUseCycle, 7, 2);
    layout->addWidget(chkActiveProd, 8, 3);
    layout->addWidget(chkActiveWeb, 9, 3);
    place("On Hand", txtOnHand, 2, 4);
    place("Status", txtStatus, 3, 4);
    place("Weight", txtWeight, 4, 4);
    place("Length", txtLength, 5, 4);
    place("Height", txtHeight, 6, 4);
    place("Width", txtWidth, 7, 4);
    layout->addWidget(chkFeaturedProd, 8, 5);
    place("Product Source", txtSource, 2, 6);
    place("Art Source", txtArtSource, 3, 6);
    place("Filler 1", txtFiller1, 4, 6);
    place("Filler 2", txtFiller2, 5, 6);
    place("Filler 3", txtFiller3, 6, 6);
    layout->addWidget(newLabel(picContainer, nullptr, QStringLiteral("Comments"), txtComments), 7,
                      6, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(txtComments, 7, 7, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdDelete);
    layout->addLayout(buttons, 10, 0, 1, 8);
    layout->setRowStretch(1, 1);
    for (int col : {1, 3, 5, 7})
        layout->setColumnStretch(col, 1);
    txtComments->setMaximumHeight(twips(1200));

    connect(grdINVItemsList, &FlexGrid::cellClicked, this, &frmProdMaint::grdINVItemsList_Click);
    connect(grdINVItemsList, &FlexGrid::cellDoubleClicked, this,
            &frmProdMaint::grdINVItemsList_DblClick);
    grdINVItemsList->installEventFilter(this);
    connect(cmdExport, &QPushButton::clicked, this, &frmProdMaint::cmdExport_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmProdMaint::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProdMaint::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmProdMaint::cmdDelete_Click);
    offerGridFunctions(*grdINVItemsList);

    optSearchActive->setChecked(true);
    InitInventoryGrid();
    ClearProductFields();
}

bool frmProdMaint::isEditing() const { return txtProductID->isReadOnly(); }

void frmProdMaint::setEditing(bool editing) { txtProductID->setReadOnly(editing); }

// --- The product list ---

void frmProdMaint::InitInventoryGrid()
{
    setupGrid(*grdINVItemsList, catalog::inventoryHeaders(), GridKind::List);
    fitColumnsToHeaders(*grdINVItemsList, {{1, 1700}, {2, 2700}, {5, 2500}, {9, 1900}}, 900);
    // Refilled rows name other products: no row is loaded any more.
    grdINVItemsList->setTag(QStringLiteral("-1"));
}

void frmProdMaint::SearchInventory(int column, const QString &criterion)
{
    if (const auto refusal = catalog::inventorySearchRefusal(column, criterion)) {
        inform(*refusal);
        return;
    }
    const auto scope = optSearchActive->isChecked() ? catalog::InventoryScope::ActiveOnly
                                                    : catalog::InventoryScope::AllProducts;
    setStatusText(QStringLiteral("Searching..."));
    repaint();
    std::optional<int> found;
    {
        BusyPointer busy;
        // The old rows go only when the first new row comes, so a search that fails at once
        // leaves the list as it was.
        bool refilled = false;
        bool stopped = true; // until the search returns: Esc ends it by throwing past it
        watchedFill(*grdINVItemsList, [&] {
            found = searchProductList(column, criterion, scope, [&](QStringList &&row) {
                if (!refilled) {
                    InitInventoryGrid();
                    refilled = true;
                }
                grdINVItemsList->appendRow(row);
            });
            stopped = false;
            return true;
        });
        if (!stopped && found && !refilled)
            InitInventoryGrid();
        grdINVItemsList->showAppendedRows();
        if (stopped) {
            // What is listed is the rows read before Esc, or still the old list: no count of a
            // search.
            setStatusText(QStringLiteral("Search stopped."));
            return;
        }
    }
    if (!found) {
        inform(QString::fromLatin1(kSearchFailed));
        return;
    }
    setStatusText(foundMessage(*found));
}

bool frmProdMaint::ExportInventoryList(const QString &path)
{
    const FlexGrid &grid = *grdINVItemsList;
    std::optional<QString> failure;
    // 100,000 rows take a while: the window repaints meanwhile, and Esc stops the writing. An Esc
    // while the finished file is committed comes too late: the list is written.
    bool stopped = false;
    watchedRun([&](const std::function<bool()> &rowDone) {
        failure = exportList(
            path, grid.Rows(), grid.Cols(), [&grid](int r, int c) { return grid.cellText(r, c); },
            [&] {
                stopped = !rowDone();
                return !stopped;
            });
    });
    if (stopped) {
        setStatusText(QStringLiteral("Export stopped; no file written."));
        return false;
    }
    if (failure) {
        Dialogs::instance().message(QStringLiteral("The list could not be written to [") + path +
                                        QStringLiteral("]: ") + *failure,
                                    windowTitle(), Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

void frmProdMaint::grdINVItemsList_DblClick()
{
    const int column = grdINVItemsList->Col();
    const QString header = grdINVItemsList->TextMatrix(0, column);
    const auto answer =
        Dialogs::instance().inputBox(QStringLiteral("In order to search by [") + header +
                                         QStringLiteral("], please enter your criteria below..."),
                                     windowTitle(), QString());
    // Blanks are a criterion: on a text column they find every product with a value there.
    if (!answer || answer->isEmpty())
        return;
    SearchInventory(column, *answer);
}

void frmProdMaint::cmdExport_Click()
{
    // The dialog starts without a name every time.
    const QString path = Dialogs::instance().saveFileName(windowTitle(), QString(),
                                                          QStringLiteral("Excel Files (*.xls)"));
    if (path.isEmpty())
        return;
    ExportInventoryList(path);
}

// --- The record panel ---

void frmProdMaint::ClearProductFields()
{
    for (QLineEdit *box :
         {txtProductID,   txtProductUPC,   txtProductName, txtMSRP,         txtLastPrice,
          txtProdCost,    txtReleaseDate,  txtDistEndDate, txtFirstUseDate, txtFirstUseCycle,
          txtLastUseDate, txtLastUseCycle, txtOnHand,      txtStatus,       txtSource,
          txtWeight,      txtLength,       txtHeight,      txtWidth,        txtArtSource,
          txtFiller1,     txtFiller2,      txtFiller3}) {
        clearText(*box);
    }
    txtComments->clear();
    chkActiveProd->setChecked(true);
    chkActiveWeb->setChecked(true);
    chkFeaturedProd->setChecked(false);
    LoadProductLookups();
}

void frmProdMaint::LoadProductLookups()
{
    const auto fill = [](QComboBox *box, QList<QString> &ids, const QList<LookupEntry> &entries) {
        box->clear();
        ids.clear();
        for (const LookupEntry &entry : entries) {
            box->addItem(entry.name);
            ids << entry.id;
        }
        selectFirstItem(*box);
    };
    fill(cboManufacturer, ManufacturerIDs,
         attempt(&loadManufacturers).value_or(QList<LookupEntry>{}));
    fill(cboCategory, CategoryIDs, attempt(&loadCategories).value_or(QList<LookupEntry>{}));
}

bool frmProdMaint::ShowProductInFields()
{
    const QString id = vb::Trim(grdINVItemsList->TextMatrix(grdINVItemsList->Row(), 0));
    const auto read = attempt([&id] { return loadProduct(id); });
    if (!read || !*read)
        return false;
    const ProductEntry &p = **read;
    putText(*txtProductID, p.productId);
    putText(*txtProductUPC, p.productUpc);
    putText(*txtProductName, p.productName);
    putText(*txtMSRP, p.msrp);
    putText(*txtLastPrice, p.lastPrice);
    putText(*txtProdCost, p.prodCost);
    putText(*txtReleaseDate, p.releaseDate);
    putText(*txtDistEndDate, p.distEndDate);
    putText(*txtFirstUseDate, p.firstUseDate);
    putText(*txtFirstUseCycle, p.firstUseCycle);
    putText(*txtLastUseDate, p.lastUseDate);
    putText(*txtLastUseCycle, p.lastUseCycle);
    putText(*txtOnHand, p.onHand);
    putText(*txtStatus, p.status);
    txtComments->setPlainText(p.comments);
    putText(*txtSource, p.source);
    putText(*txtWeight, p.weight);
    putText(*txtLength, p.length);
    putText(*txtHeight, p.height);
    putText(*txtWidth, p.width);
    putText(*txtArtSource, p.artSource);
    putText(*txtFiller1, p.filler1);
    putText(*txtFiller2, p.filler2);
    putText(*txtFiller3, p.filler3);
    chkActiveProd->setChecked(p.activeProd);
    chkActiveWeb->setChecked(p.activeWeb);
    chkFeaturedProd->setChecked(p.featuredProd);
    // An unknown category or no manufacturer selects nothing, so saving asks for a choice
    // rather than quietly storing the first entry.
    cboCategory->setCurrentIndex(int(CategoryIDs.indexOf(p.categoryId)));
    cboManufacturer->setCurrentIndex(
        p.manufacturerId.isEmpty() ? -1 : int(ManufacturerIDs.indexOf(p.manufacturerId)));
    return true;
}

ProductEntry frmProdMaint::entry() const
{
    const auto selected = [](const QComboBox *box, const QList<QString> &ids) {
        const int index = box->currentIndex();
        return index >= 0 && index < ids.size() ? ids.at(index) : QString();
    };
    ProductEntry e;
    e.productId = txtProductID->text();
    e.productUpc = txtProductUPC->text();
    e.productName = txtProductName->text();
    e.activeProd = chkActiveProd->isChecked();
    e.activeWeb = chkActiveWeb->isChecked();
    e.categoryId = selected(cboCategory, CategoryIDs);
    e.msrp = txtMSRP->text();
    e.lastPrice = txtLastPrice->text();
    e.prodCost = txtProdCost->text();
    e.manufacturerId = selected(cboManufacturer, ManufacturerIDs);
    e.releaseDate = txtReleaseDate->text();
    e.distEndDate = txtDistEndDate->text();
    e.firstUseDate = txtFirstUseDate->text();
    e.firstUseCycle = txtFirstUseCycle->text();
    e.lastUseDate = txtLastUseDate->text();
    e.lastUseCycle = txtLastUseCycle->text();
    e.featuredProd = chkFeaturedProd->isChecked();
    e.onHand = txtOnHand->text();
    e.status = txtStatus->text();
    e.comments = txtComments->toPlainText();
    e.source = txtSource->text();
    e.weight = txtWeight->text();
    e.length = txtLength->text();
    e.height = txtHeight->text();
    e.width = txtWidth->text();
    e.artSource = txtArtSource->text();
    e.filler1 = txtFiller1->text();
    e.filler2 = txtFiller2->text();
    e.filler3 = txtFiller3->text();
    return e;
}

void frmProdMaint::grdINVItemsList_Click()
{
    cmdCancel_Click();
    const int row = grdINVItemsList->Row();
    if (row >= kListFirstDataRow) {
        // A product deleted elsewhere since the search leaves the panel empty-new.
        if (!ShowProductInFields()) {
            grdINVItemsList->setTag(QStringLiteral("-1"));
            return;
        }
        setEditing(true);
    }
    grdINVItemsList->setTag(QString::number(row));
}

void frmProdMaint::cmdCancel_Click()
{
    ClearProductFields();
    setEditing(false);
    grdINVItemsList->setTag(QStringLiteral("-1"));
}

// --- Save, copy and delete ---

bool frmProdMaint::ValidateProduct()
{
    const QString messages = validateProduct(entry());
    if (messages.isEmpty())
        return true;
    inform(messages);
    return false;
}

bool frmProdMaint::SaveProduct()
{
    const bool isNew = !isEditing();
    switch (saveProduct(entry(), isNew, QDateTime::currentDateTime(), gstrUserName)) {
    case SaveResult::Saved:
        // A new product is appended to the list; it replaces no listed row.
        if (isNew)
            grdINVItemsList->setTag(QStringLiteral("-1"));
        setStatusText(QStringLiteral("Save operation completed successfully"));
        return true;
    case SaveResult::Declined:
        return false;
    case SaveResult::Failed:
        Dialogs::instance().message(QString::fromLatin1(kSaveFailed), windowTitle(),
                                    Dialogs::Icon::Critical);
        return false;
    }
    return false;
}

void frmProdMaint::RefreshProductRow()
{
    // Only a data row is the product's old row; the header and the hidden row stay.
    const int row = grdINVItemsList->Tag().toInt();
    if (row >= kListFirstDataRow && row < grdINVItemsList->Rows())
        grdINVItemsList->RemoveItem(row);
    grdINVItemsList->appendRow(
        productListRow(entry(), cboCategory->currentText(), cboManufacturer->currentText()));
    grdINVItemsList->showAppendedRows();
}

void frmProdMaint::cmdSave_Click()
{
    if (!ValidateProduct() || !SaveProduct())
        return;
    setEditing(false);
    RefreshProductRow();
    ClearProductFields();
    grdINVItemsList->setTag(QStringLiteral("-1"));
}

bool frmProdMaint::DeleteProduct()
{
    const QString id = txtProductID->text();
    if (!deleteProduct(id)) {
        Dialogs::instance().message(deleteFailedMessage(id), windowTitle(),
                                    Dialogs::Icon::Critical);
        return false;
    }
    setStatusText(QStringLiteral("The record was deleted successfully."));
    return true;
}

void frmProdMaint::cmdDelete_Click()
{
    if (!isEditing()) {
        inform(QStringLiteral("Please select an item from the search grid to be deleted."));
        return;
    }
    if (!ask(deleteQuestion(txtProductID->text())) || !DeleteProduct())
        return;
    ClearProductFields();
    setEditing(false);
    const int row = grdINVItemsList->Tag().toInt();
    if (row >= kListFirstDataRow && row < grdINVItemsList->Rows())
        grdINVItemsList->RemoveItem(row);
    grdINVItemsList->setTag(QStringLiteral("-1"));
}

bool frmProdMaint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grdINVItemsList && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+C arrives as character 3 from a keyboard, as C with Ctrl from elsewhere.
        if (key->text() == QString(QChar(kCtrlC)) ||
            (key->key() == Qt::Key_C && key->modifiers() == Qt::ControlModifier))
            grdINVItemsList_CopyKey();
    }
    return WorkingWindow::eventFilter(watched, event);
}

void frmProdMaint::grdINVItemsList_CopyKey()
{
    if (grdINVItemsList->Row() < kListFirstDataRow || !isEditing())
        return;
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please provide a new PRODUCT ID to copy this item to..."), windowTitle(),
        QString());
    if (!answer || vb::Trim(*answer).isEmpty())
        return;
    putText(*txtProductID, vb::Trim(*answer));
    // The copy is a new product: it names no listed row.
    setEditing(false);
    grdINVItemsList->setTag(QStringLiteral("-1"));
    if (ValidateProduct() && SaveProduct())
        ClearProductFields();
}
