#include "catalog/frmCatEdit.h"

#include "catalog/frmCatEditTreeModel.h"
#include "pagemap/frmPageMap.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/DeferredRefresh.h"
#include "shell/FlexGrid.h"
#include "shell/Twips.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace {

// The designed places, in twips. LayoutEditor sizes the tree, the grids and the tabs to the
// window; positions stay.
constexpr int kDesignWidth = 15600;
constexpr int kDesignHeight = 9000;
constexpr int kMargin = 60;
constexpr int kTreeWidth = 3180;
constexpr int kRightLeft = 3300;
constexpr int kLabelTop = 60;
constexpr int kLabelHeight = 300;
constexpr int kChosenTop = 420;
constexpr int kChosenHeight = 4020;
constexpr int kFrameTop = 4500;
constexpr int kFrameHeight = 1080;
constexpr int kTabTop = 5700;
constexpr int kSideGridInset = 60;

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}

} // namespace

frmCatEdit::frmCatEdit(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmCatEdit"), QStringLiteral("Edit Existing Catalog/Insert"),
                    parent)
{
    resize(twips(kDesignWidth), twips(kDesignHeight));
    createControls();
    openingSequence();
    fitGridColumns();
    m_placementsRefresh = new DeferredRefresh(this, {}, [this] { ReloadShownPlacements(); });
    m_treeRefresh = new DeferredRefresh(this, {}, [this] { ReloadTreeKeepingWork(); });
    connect(&catalog::MapChanges::instance(), &catalog::MapChanges::changed, this,
            &frmCatEdit::mapChanged);
    // Pages inserted, removed, moved or given a section elsewhere: the tree is read again once the
    // writer is done, unless the writer read it again itself.
    connect(&catalog::MapChanges::instance(), &catalog::MapChanges::pagesChanged, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this, loads = m_treeLoads] {
                if (loads == m_treeLoads)
                    m_treeRefresh->request();
            },
            Qt::QueuedConnection);
    });
}

void frmCatEdit::setTag(const QString &tag)
{
    m_tag = tag;
    m_watch.setMaps({catalog::mapKeyOf(catalog::NodeKey(tag))});
}

void frmCatEdit::createControls()
{
    tvCatalogTree = named(new QTreeView(this), "tvCatalogTree");
    m_treeModel = new frmCatEditTreeModel(this);
    tvCatalogTree->setModel(m_treeModel);
    tvCatalogTree->setHeaderHidden(true);
    tvCatalogTree->setUniformRowHeights(true);
    tvCatalogTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvCatalogTree->setSelectionMode(QAbstractItemView::SingleSelection);
    tvCatalogTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The width of the rows in view: laying out a thousand texts each time the tree changes
    // would cost more than the rows' own reading.
    tvCatalogTree->header()->setResizeContentsPrecision(0);
    tvCatalogTree->header()->setStretchLastSection(false);
    tvCatalogTree->installEventFilter(this);
    tvCatalogTree->viewport()->installEventFilter(this);
    place(tvCatalogTree, kMargin, kMargin, kTreeWidth, kDesignHeight - 700);
    connect(tvCatalogTree, &QTreeView::clicked, this, &frmCatEdit::tvCatalogTree_NodeClick);
    // The keyboard selects nodes too; a change made by the mouse arrives as the click.
    connect(tvCatalogTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (m_treeKeyNavigation && current.isValid())
                    tvCatalogTree_NodeClick(current);
            });

    const int rightWidth = kDesignWidth - 3440;
    lblNodePressed = named(new QLabel(this), "lblNodePressed");
    QFont bold = lblNodePressed->font();
    bold.setBold(true);
    lblNodePressed->setFont(bold);
    place(lblNodePressed, kRightLeft, kLabelTop, rightWidth - 250, kLabelHeight);

    grdChosenProducts = named(new FlexGrid(this), "grdChosenProducts");
    place(grdChosenProducts, kRightLeft, kChosenTop, rightWidth, kChosenHeight);
    connect(grdChosenProducts, &FlexGrid::cellClicked, this, &frmCatEdit::grdChosenProducts_Click);
    connect(grdChosenProducts, &FlexGrid::cellDoubleClicked, this,
            &frmCatEdit::grdChosenProducts_DblClick);

    createPlacementEditor();

    tabHelpInfo = named(new QTabWidget(this), "tabHelpInfo");
    place(tabHelpInfo, kRightLeft, kTabTop, rightWidth, kDesignHeight - 6360);
    const auto addTab = [this](const char *name, const char *caption) {
        auto *page = new QWidget;
        auto *grid = named(new FlexGrid(page), name);
        place(grid, kSideGridInset, kSideGridInset, kDesignWidth - 3440 - 250,
              kDesignHeight - 6360 - 600);
        tabHelpInfo->addTab(page, QString::fromLatin1(caption));
        return grid;
    };
    grdRecomendedItems = addTab("grdRecomendedItems", "Recommendations");
    grdInventoryMaster = addTab("grdInventoryMaster", "Inventory Master");
    grdRecurringProducts = addTab("grdRecurringProducts", "Recurring Products");
    connect(grdInventoryMaster, &FlexGrid::cellDoubleClicked, this,
            &frmCatEdit::grdInventoryMaster_DblClick);

    for (FlexGrid *grid :
         {grdChosenProducts, grdRecomendedItems, grdInventoryMaster, grdRecurringProducts})
        offerGridFunctions(*grid);
}

void frmCatEdit::createPlacementEditor()
{
    fraSaveInfo = named(new QGroupBox(this), "fraSaveInfo");
    place(fraSaveInfo, kRightLeft, kFrameTop, 14040, kFrameHeight);

    int left = 120;
    const auto field = [this, &left](QWidget *box, const char *label, int width) {
        auto *caption = new QLabel(QString::fromLatin1(label), fraSaveInfo);
        caption->setObjectName(QStringLiteral("lbl") + box->objectName().mid(3));
        caption->setBuddy(box);
        place(caption, left, 180, width + 60, 240);
        place(box, left, 450, width, 330);
        left += width + 90;
    };
    const auto textBox = [this](const char *name) {
        return named(new QLineEdit(fraSaveInfo), name);
    };

    txtProductID = textBox("txtProductID");
    txtPageNumber = textBox("txtPageNumber");
    txtPosition = textBox("txtPosition");
    txtWeight = textBox("txtWeight");
    cboBlurbSize = named(new QComboBox(fraSaveInfo), "cboBlurbSize");
    cboBlurbSize->setEditable(true);
    cboBlurbSize->setInsertPolicy(QComboBox::NoInsert);
    txtPrice = textBox("txtPrice");
    txtPercentage = textBox("txtPercentage");
    txtProductType = textBox("txtProductType");
    txtModifyDate = textBox("txtModifyDate");

    field(txtProductID, "Product ID", 1500);
    field(txtPageNumber, "Page Number", 1200);
    field(txtPosition, "Position", 900);
    field(txtWeight, "Weight", 900);
    field(cboBlurbSize, "Description Size", 1560);
    field(txtPrice, "Price", 1050);
    field(txtPercentage, "Discount %", 1050);
    field(txtProductType, "Product Type", 1200);
    field(txtModifyDate, "Modify Date", 1200);

    optAdd = named(new QRadioButton(QStringLiteral("Add Item"), fraSaveInfo), "optAdd");
    optEdit = named(new QRadioButton(QStringLiteral("Edit Item"), fraSaveInfo), "optEdit");
    place(optAdd, left + 90, 180, 1200, 300);
    place(optEdit, left + 90, 510, 1200, 300);
    cmdAdd = newButton(fraSaveInfo, "cmdAdd", QStringLiteral("Save"));
    place(cmdAdd, left + 1380, 360, 1000, 420);
    optAdd->setChecked(true);

    connect(optAdd, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optAdd_Click();
    });
    connect(optEdit, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optEdit_Click();
    });
    connect(cmdAdd, &QPushButton::clicked, this, &frmCatEdit::cmdAdd_Click);
    // Enter saves from every box but the product type.
    for (QLineEdit *box : {txtProductID, txtPageNumber, txtPosition, txtWeight, txtPrice,
                           txtPercentage, txtModifyDate}) {
        connect(box, &QLineEdit::returnPressed, this, &frmCatEdit::cmdAdd_Click);
        box->installEventFilter(this);
    }
}

void frmCatEdit::openingSequence()
{
    BusyPointer busy;
    lblNodePressed->setText(QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));
    setTag(QString());
    SetupChosenProductsGrid();
    SetupRecommendedGrid();
    SetupRecurringGrid();
    SetupInventoryGrid();
    LoadCatalogTree();
    ResetPlacementEditor();
    optAdd->setChecked(true);
    fraSaveInfo->setEnabled(false);
}

void frmCatEdit::ResetSelectionState()
{
    lblNodePressed->setText(QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));
    setTag(QString());
    SetupChosenProductsGrid();
    ResetPlacementEditor();
    optAdd->setChecked(true);
    fraSaveInfo->setEnabled(false);
}

void frmCatEdit::ResetEditorAndReloadTree()
{
    lblNodePressed->setText(QStringLiteral("Welcome to the Catalog/Insert Edit Interface"));
    setTag(QString());
    SetupChosenProductsGrid();
    SetupRecommendedGrid();
    SetupRecurringGrid();
    ResetPlacementEditor();
    optAdd->setChecked(true);
    fraSaveInfo->setEnabled(false);
    LoadCatalogTree();
}

void frmCatEdit::resizeEvent(QResizeEvent *event)
{
    WorkingWindow::resizeEvent(event);
    LayoutEditor();
}

void frmCatEdit::LayoutEditor()
{
    const int height = toTwips(this->height());
    const int width = toTwips(this->width());
    if (height > 700) {
        tvCatalogTree->resize(tvCatalogTree->width(), twips(height - 700));
        if (height > 7000) {
            const int tabHeight = height - 6360;
            tabHelpInfo->resize(tabHelpInfo->width(), twips(tabHeight));
            for (FlexGrid *grid : {grdRecomendedItems, grdInventoryMaster, grdRecurringProducts})
                grid->resize(grid->width(), twips(tabHeight - 600));
        }
    }
    if (width > 3440) {
        grdChosenProducts->resize(twips(width - 3440), grdChosenProducts->height());
        const int tabWidth = width - 3440;
        tabHelpInfo->resize(twips(tabWidth), tabHelpInfo->height());
        for (FlexGrid *grid : {grdRecomendedItems, grdInventoryMaster, grdRecurringProducts})
            grid->resize(twips(tabWidth - 250), grid->height());
        lblNodePressed->resize(grdRecomendedItems->width(), lblNodePressed->height());
    }
}

bool frmCatEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tvCatalogTree->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            // The menu acts on the node last clicked: the node under the mouse is not selected.
            tvCatalogTree_RightButtonDown(mouse->globalPosition().toPoint());
            return true;
        }
    }
    if (watched == tvCatalogTree->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers().testFlag(Qt::ShiftModifier)) {
            // Shift+double-click opens the page map of the node's map instead of folding it.
            const QModelIndex index = tvCatalogTree->indexAt(mouse->position().toPoint());
            const QString key = index.isValid() ? m_treeModel->key(index) : QString();
            if (!catalog::mapKeyOf(catalog::NodeKey(key)).isEmpty())
                openWindow(frmPageMap::windowNameFor(key));
            return true;
        }
    }
    if (watched == tvCatalogTree && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_N && key->modifiers().testFlag(Qt::ControlModifier)) ||
            key->text() == QChar(14)) {
            tvCatalogTree_CtrlN();
            return true;
        }
        // The menu key and Shift+F10 open the pop-up menu of the current node, beside it.
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers().testFlag(Qt::ShiftModifier))) {
            const QRect node = tvCatalogTree->visualRect(tvCatalogTree->currentIndex());
            tvCatalogTree_RightButtonDown(tvCatalogTree->viewport()->mapToGlobal(
                node.isValid() ? node.center() : QPoint(0, 0)));
            return true;
        }
        // Let the tree move by the key, and take the node it moves to as clicked.
        m_treeKeyNavigation = true;
        static_cast<QObject *>(tvCatalogTree)->event(event);
        m_treeKeyNavigation = false;
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return WorkingWindow::eventFilter(watched, event);
}
