#include "inventory/frmProdDesc.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "shell/WindowHost.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace productdescriptions;

namespace {

constexpr int kPanelWidthTwips = 11700;
constexpr int kPanelHeightTwips = 9000;

const QString kCaptionFont = QStringLiteral("Comic Sans MS");

// The grid's designed widths (twips) and alignments, column by column.
constexpr int kMissingColWidths[] = {900, 2340, 975, 975, 1185, 1185};
constexpr int kMissingColAlignments[] = {FlexGridModel::LeftCenter,   FlexGridModel::LeftCenter,
                                         FlexGridModel::LeftCenter,   FlexGridModel::RightCenter,
                                         FlexGridModel::CenterCenter, FlexGridModel::CenterCenter};

// fontconfig hands out a look-alike for any family asked for, so the caption font is used only
// where it is really installed.
bool captionFontInstalled()
{
    return QFontDatabase::families().contains(kCaptionFont, Qt::CaseInsensitive);
}

QString today() { return vb::FormatDate(QDate::currentDate(), QStringLiteral("mm/dd/yyyy")); }

} // namespace

frmProdDesc::frmProdDesc(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmProdDesc"), caption(), parent)
{
    picContainer = createPanel(kPanelWidthTwips, kPanelHeightTwips);

    txtSearch = named(new QLineEdit(picContainer), "txtSearch");
    txtSearch->setMaxLength(15);
    cmdSearch = newButton(picContainer, "cmdSearch", QStringLiteral("Search"));
    lstProductID = named(new QListWidget(picContainer), "lstProductID");
    // Every ID is one line of text: the list need not measure each of tens of thousands.
    lstProductID->setUniformItemSizes(true);
    txtProductID = named(new QLineEdit(picContainer), "txtProductID");
    txtProductID->setMaxLength(15);
    // A list the operator chooses from: a typed size could differ from every stored one.
    cboBlurbSize = named(new QComboBox(picContainer), "cboBlurbSize");
    cboBlurbSize->setEditable(false);
    txtBlurb = named(new QPlainTextEdit(picContainer), "txtBlurb");
    txtBlurb->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtBlurb->setTabChangesFocus(true);
    txtModifyDate = named(new QLineEdit(picContainer), "txtModifyDate");
    txtModifyDate->setMaxLength(20);
    lblProdName = addFact("lblProdName");
    lblActiveProd = addFact("lblActiveProd");
    lblMSRP = addFact("lblMSRP");
    lblOnHand = addFact("lblOnHand");
    grdMisProdDesc = named(new FlexGrid(picContainer), "grdMisProdDesc");
    cmdAdd = newButton(picContainer, "cmdAdd", QStringLiteral("Add"));
    cmdEdit = newButton(picContainer, "cmdEdit", QStringLiteral("Edit"));
    cmdDelete = newButton(picContainer, "cmdDelete", QStringLiteral("Delete"));
    cmdOK = newButton(picContainer, "cmdOK", QStringLiteral("OK"));
    cmdCancel = newButton(picContainer, "cmdCancel", QStringLiteral("Cancel"));
    layOut();

    if (captionFontInstalled()) {
        for (QLabel *label : std::as_const(m_captions)) {
            QFont font = label->font();
            font.setFamily(kCaptionFont);
            label->setFont(font);
        }
    }

    connect(cmdSearch, &QPushButton::clicked, this, &frmProdDesc::cmdSearch_Click);
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmProdDesc::cmdSearch_Click);
    connect(lstProductID, &QListWidget::currentRowChanged, this, &frmProdDesc::lstProductID_Click);
    // A click on the product already chosen loads it again once the panel has been reset.
    connect(lstProductID, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (vb::Trim(item->text()) != vb::Trim(txtProductID->text()))
            lstProductID_Click();
    });
    connect(cboBlurbSize, &QComboBox::activated, this, &frmProdDesc::cboBlurbSize_Click);
    connect(grdMisProdDesc, &FlexGrid::cellClicked, this, &frmProdDesc::grdMisProdDesc_Click);
    connect(grdMisProdDesc, &FlexGrid::rightButtonPressed, this,
            &frmProdDesc::grdMisProdDesc_MouseDown);
    connect(cmdAdd, &QPushButton::clicked, this, &frmProdDesc::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmProdDesc::cmdEdit_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmProdDesc::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmProdDesc::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmProdDesc::cmdDelete_Click);

    LoadMissingDescGrid();
    txtSearch->clear();
    txtModifyDate->setReadOnly(true);
    ShowBrowseButtons(true);
    ResetDescriptionPanel(false);
    SetDescriptionLocks(true);
}

QLabel *frmProdDesc::addCaption(const char *name, const char *text)
{
    QLabel *label = newLabel(picContainer, name, QString::fromLatin1(text));
    m_captions << label;
    return label;
}

QLabel *frmProdDesc::addFact(const char *name)
{
    QLabel *label = addCaption(name, "");
    label->setTextFormat(Qt::PlainText);
    return label;
}

void frmProdDesc::layOut()
{
    // Left: the search and the products found. Right: the description panel with the product's
    // facts. Below both: the products without a description.
    auto *search = new QGridLayout;
    search->addWidget(txtSearch, 0, 0);
    search->addWidget(cmdSearch, 0, 1);
    search->addWidget(lstProductID, 1, 0, 1, 2);
    search->setRowStretch(1, 1);

    auto *panel = new QGridLayout;
    panel->setHorizontalSpacing(twips(120));
    const auto place = [&](const char *name, const char *text, QWidget *box, int row, int col) {
        QLabel *label = addCaption(name, text);
        label->setBuddy(box);
        panel->addWidget(label, row, col, Qt::AlignRight | Qt::AlignVCenter);
        panel->addWidget(box, row, col + 1);
    };
    place("lblProductID", "Product ID", txtProductID, 0, 0);
    place("lblBlurbSize", "Description Size", cboBlurbSize, 0, 2);
    place("lblModifyDate", "Modify Date", txtModifyDate, 1, 0);
    panel->addWidget(lblProdName, 2, 0, 1, 4);
    auto *facts = new QHBoxLayout;
    for (QLabel *fact : {lblActiveProd, lblMSRP, lblOnHand})
        facts->addWidget(fact, 1);
    panel->addLayout(facts, 3, 0, 1, 4);
    QLabel *description = addCaption("lblBlurb", "Description");
    description->setBuddy(txtBlurb);
    panel->addWidget(description, 4, 0, 1, 4);
    panel->addWidget(txtBlurb, 5, 0, 1, 4);
    panel->setRowStretch(5, 1);
    panel->setColumnStretch(1, 1);
    panel->setColumnStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {cmdAdd, cmdEdit, cmdDelete, cmdOK, cmdCancel})
        buttons->addWidget(button);
    panel->addLayout(buttons, 6, 0, 1, 4);

    auto *top = new QHBoxLayout;
    top->setSpacing(twips(240));
    top->addLayout(search, 1);
    top->addLayout(panel, 3);

    auto *outer = new QVBoxLayout(picContainer);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(top, 3);
    outer->addWidget(addCaption("lblMisProdDesc", "Missing Product Descriptions:"));
    outer->addWidget(grdMisProdDesc, 2);

    setTabOrder(txtSearch, cmdSearch);
    setTabOrder(cmdSearch, lstProductID);
    setTabOrder(lstProductID, txtProductID);
    setTabOrder(txtProductID, cboBlurbSize);
    setTabOrder(cboBlurbSize, txtModifyDate);
    setTabOrder(txtModifyDate, txtBlurb);
    setTabOrder(txtBlurb, cmdAdd);
    setTabOrder(cmdAdd, cmdEdit);
    setTabOrder(cmdEdit, cmdDelete);
    setTabOrder(cmdDelete, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, grdMisProdDesc);
}

DescriptionEntry frmProdDesc::entry() const
{
    return {txtProductID->text(), cboBlurbSize->currentText(), txtBlurb->toPlainText()};
}

void frmProdDesc::ResetDescriptionPanel(bool reloadSizes)
{
    lblProdName->setText(QStringLiteral("Product Name:"));
    lblActiveProd->setText(QStringLiteral("Active Product?"));
    lblMSRP->setText(QStringLiteral("MSRP:"));
    lblOnHand->setText(QStringLiteral("On Hand:"));
    txtProductID->clear();
    // No product is loaded any more: a size chosen now must show nothing of the last one.
    DescriptionRecords.clear();
    cboBlurbSize->clear();
    if (reloadSizes) {
        if (const auto sizes = attempt(&productdescriptions::LoadBlurbSizes))
            cboBlurbSize->addItems(*sizes);
        // The operator chooses the size; none is taken for granted.
        cboBlurbSize->setCurrentIndex(-1);
    }
    txtModifyDate->clear();
    txtBlurb->clear();
}

void frmProdDesc::SearchDescribedProducts(const QString &text)
{
    // The server reads the whole result before the first ID: the window repaints meanwhile, and
    // Esc stops the search, leaving the list as it was.
    std::optional<QStringList> ids;
    if (!watchedRun([&](const std::function<bool()> &) {
            ids = attempt([&] { return productdescriptions::SearchDescribedProducts(text); });
        }))
        return;
    if (!ids)
        return;
    if (ids->isEmpty()) {
        inform(QStringLiteral("Your search has returned no results"));
        txtSearch->setFocus();
        return;
    }
    {
        const QSignalBlocker quiet(lstProductID);
        lstProductID->clear();
        lstProductID->addItems(*ids);
    }
    txtSearch->clear();
    txtSearch->setFocus();
}

void frmProdDesc::LoadProductDescriptions(const QString &productID)
{
    // Whatever the load finds, nothing of the product shown before stays beside the new ID.
    ResetDescriptionPanel(false);
    const QString id = vb::Trim(productID);
    if (const auto records =
            attempt([&] { return productdescriptions::LoadProductDescriptions(id); }))
        DescriptionRecords = *records;
    for (const DescriptionRecord &record : std::as_const(DescriptionRecords))
        cboBlurbSize->addItem(record.blurbSize);
    txtProductID->setText(id);
    if (cboBlurbSize->count() > 0) {
        cboBlurbSize->setCurrentIndex(0);
        cboBlurbSize_Click();
    }
}

void frmProdDesc::InitMissingDescGrid()
{
    setupGrid(*grdMisProdDesc, missingGridHeaders(), GridKind::Plain);
    QHash<int, int> widths;
    for (int col = 0; col < grdMisProdDesc->Cols(); ++col) {
        widths.insert(col, kMissingColWidths[col]);
        grdMisProdDesc->setColAlignment(col, kMissingColAlignments[col]);
    }
    // The designed widths, wider where a header would not read whole.
    fitColumnsToHeaders(*grdMisProdDesc, widths);
}

void frmProdDesc::LoadMissingDescGrid()
{
    BusyPointer busy;
    InitMissingDescGrid();
    FlexGrid &grid = *grdMisProdDesc;
    watchedFill(grid, [this, &grid] {
        return attempt([&grid] {
            LoadMissingDescriptions([&grid](MissingProduct &&product) {
                grid.appendRow(product.cells);
                if (product.activeWeb)
                    grid.setRowsBackColor(grid.Rows() - 1, grid.Rows() - 1, kWebActiveBackColor);
            });
        });
    });
}

void frmProdDesc::ShowBrowseButtons(bool show)
{
    cmdAdd->setVisible(show);
    cmdEdit->setVisible(show);
    cmdDelete->setVisible(show);
    cmdOK->setVisible(!show);
    cmdCancel->setVisible(!show);
    if (show)
        m_mode = Mode::Browse;
}

void frmProdDesc::SetDescriptionLocks(bool browse)
{
    const bool adding = !browse && m_mode == Mode::Add;
    const bool editing = !browse && m_mode == Mode::Edit;
    txtProductID->setReadOnly(!adding);
    cboBlurbSize->setEnabled(!editing);
    txtBlurb->setReadOnly(browse);
    txtModifyDate->setReadOnly(true);
    txtSearch->setReadOnly(!browse);
    cmdSearch->setEnabled(browse);
    lstProductID->setEnabled(browse);
    grdMisProdDesc->setEnabled(browse);
    if (!browse)
        txtModifyDate->setText(today());
}

bool frmProdDesc::ValidateDescription()
{
    const auto verdict =
        attempt([this] { return productdescriptions::ValidateDescription(entry()); });
    if (!verdict)
        return false;
    if (verdict->passed())
        return true;
    inform(verdict->message);
    switch (verdict->field) {
    case Verdict::Field::ProductID:
        txtProductID->setFocus();
        break;
    case Verdict::Field::BlurbSize:
        cboBlurbSize->setFocus();
        break;
    case Verdict::Field::Blurb:
        txtBlurb->setFocus();
        break;
    case Verdict::Field::None:
        break;
    }
    return false;
}

bool frmProdDesc::SaveDescription()
{
    return attempt([this] {
               return productdescriptions::SaveDescription(
                   entry(), m_mode, QDateTime::currentDateTime(), gstrUserName);
           }) == true;
}

void frmProdDesc::DeleteDescription(const QString &productID, const QString &blurbSize)
{
    if (!ask(deleteQuestion(productID, blurbSize)))
        return;
    if (!productdescriptions::DeleteDescription(productID, blurbSize)) {
        Dialogs::instance().message(deleteFailedMessage(), windowTitle(), Dialogs::Icon::Warning);
        return;
    }
    ResetDescriptionPanel(false);
    lstProductID->clear();
}

void frmProdDesc::cmdSearch_Click()
{
    // Enter in the locked search box of Add and Edit mode searches nothing.
    if (!cmdSearch->isEnabled())
        return;
    const QString text = vb::Trim(txtSearch->text());
    if (text.isEmpty()) {
        inform(QStringLiteral("Please provide the Product ID to search for."));
        txtSearch->setFocus();
        return;
    }
    BusyPointer busy;
    SearchDescribedProducts(text);
}

void frmProdDesc::lstProductID_Click()
{
    if (QListWidgetItem *item = lstProductID->currentItem())
        LoadProductDescriptions(vb::Trim(item->text()));
}

void frmProdDesc::cboBlurbSize_Click()
{
    const int index = cboBlurbSize->currentIndex();
    if (m_mode == Mode::Add || index < 0 || index >= DescriptionRecords.size())
        return;
    const DescriptionRecord &record = DescriptionRecords.at(index);
    txtModifyDate->setText(record.modifyDate);
    txtBlurb->setPlainText(editorText(record.blurb));
    lblProdName->setText(QStringLiteral("Product Name: ") + record.productName);
    lblActiveProd->setText(QStringLiteral("Active Product? ") + record.activeText);
    lblMSRP->setText(QStringLiteral("MSRP: ") + record.msrp);
    lblOnHand->setText(QStringLiteral("On Hand: ") + record.onHand);
}

void frmProdDesc::grdMisProdDesc_Click()
{
    const int row = grdMisProdDesc->Row();
    if (row < 1 || grdMisProdDesc->Rows() < 2)
        return;
    const QString productID = grdMisProdDesc->TextMatrix(row, 0);
    cmdAdd_Click();
    txtProductID->setText(productID);
}

void frmProdDesc::grdMisProdDesc_MouseDown(const QPoint &globalPos)
{
    WindowHost *owner = host();
    if (!owner || !grdMisProdDesc->isEnabled())
        return;
    grdMisProdDesc->setFocus(Qt::MouseFocusReason);
    // The Paste and Copy entries open; what lies beneath them keeps its state.
    for (const char *name :
         {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor", "mnuGridPaste", "mnuGridCopy"})
        if (QAction *item = owner->menuItem(QString::fromLatin1(name)))
            item->setEnabled(true);
    if (QMenu *menu = owner->menu(QStringLiteral("mnuGridFunctions")))
        menu->popup(globalPos);
}

void frmProdDesc::cmdAdd_Click()
{
    m_mode = Mode::Add;
    ShowBrowseButtons(false);
    ResetDescriptionPanel(true);
    SetDescriptionLocks(false);
    txtProductID->setFocus();
}

void frmProdDesc::cmdEdit_Click()
{
    if (vb::Trim(txtProductID->text()).isEmpty() ||
        vb::Trim(cboBlurbSize->currentText()).isEmpty()) {
        inform(QStringLiteral("Please select a valid PRODUCT and BLURB to edit."));
        return;
    }
    m_mode = Mode::Edit;
    ShowBrowseButtons(false);
    SetDescriptionLocks(false);
    txtBlurb->setFocus();
}

void frmProdDesc::cmdOK_Click()
{
    if (!ValidateDescription())
        return;
    if (!SaveDescription()) {
        // An answer may have turned an Add into an Edit or back: the panel follows the mode.
        SetDescriptionLocks(false);
        return;
    }
    ShowBrowseButtons(true);
    ResetDescriptionPanel(true);
    SetDescriptionLocks(true);
    LoadMissingDescGrid();
}

void frmProdDesc::cmdCancel_Click()
{
    ShowBrowseButtons(true);
    ResetDescriptionPanel(true);
    SetDescriptionLocks(true);
}

void frmProdDesc::cmdDelete_Click()
{
    const QString productID = vb::Trim(txtProductID->text());
    const QString blurbSize = vb::Trim(cboBlurbSize->currentText());
    if (productID.isEmpty() || blurbSize.isEmpty()) {
        inform(QStringLiteral("Please select a valid product and the blurb size to remove from the "
                              "data warehouse..."));
        return;
    }
    DeleteDescription(productID, blurbSize);
    LoadMissingDescGrid();
}
