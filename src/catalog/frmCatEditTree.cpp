// The catalog editor's tree: building it, a click on a node, the Catalog Edit menu and renaming an
// insert.
#include "catalog/CatalogTree.h"
#include "catalog/NodeKey.h"
#include "catalog/TextLimits.h"
#include "catalog/frmCatEdit.h"
#include "catalog/frmCatEditTreeModel.h"
#include "shell/BusyPointer.h"
#include "shell/WindowHost.h"
#include "warehouse/Dialogs.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeView>

#include <optional>
#include <utility>

using catalog::CatalogTree;
using catalog::NodeKey;

void frmCatEdit::LoadCatalogTree()
{
    BusyPointer busy;
    ++m_treeLoads;
    const int previousSize = m_treeModel->tree().size();
    m_treeModel->setTree(CatalogTree());
    // Hundreds of thousands of pages: the window repaints meanwhile, and Esc keeps what is read.
    std::optional<CatalogTree> tree;
    watchedRun([&](const std::function<bool()> &rowDone) {
        tree = attempt([&] { return catalog::loadCatalogTree(previousSize, rowDone); });
    });
    if (tree)
        m_treeModel->setTree(std::move(*tree));
    tvCatalogTree->expand(m_treeModel->indexOfNode(CatalogTree::kCatalogsRoot));
    tvCatalogTree->expand(m_treeModel->indexOfNode(CatalogTree::kInsertsRoot));
}

bool frmCatEdit::SelectNode(const QString &key)
{
    const QModelIndex index = m_treeModel->indexOfKey(key);
    if (!index.isValid())
        return false;
    tvCatalogTree->setCurrentIndex(index);
    tvCatalogTree->scrollTo(index); // opens the map's node
    tvCatalogTree_NodeClick(index);
    return true;
}

void frmCatEdit::tvCatalogTree_NodeClick(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    BusyPointer busy;
    const QString key = m_treeModel->key(index);
    const NodeKey node(key);
    // The Tag first: the placement editor takes its page and position from the node now selected.
    const bool loaded = attempt([&] {
        setTag(key);
        ResetPlacementEditor();
        LoadPageProducts(key);
        if (node.kind() == QLatin1String(catalog::kCatalogsRootKey) ||
            node.kind() == QLatin1String(catalog::kInsertsRootKey)) {
            lblNodePressed->setText(node.kind() == QLatin1String(catalog::kCatalogsRootKey)
                                        ? QStringLiteral("Welcome to the Catalog Edit")
                                        : QStringLiteral("Welcome to the Insert Edit"));
            setTag(QString());
            SetupChosenProductsGrid();
            SetupRecurringGrid();
            ResetPlacementEditor();
            optAdd->setChecked(true);
            fraSaveInfo->setEnabled(false);
            return;
        }
        fraSaveInfo->setEnabled(true);
        if (node.isCatalog() || node.isInsert())
            lblNodePressed->setText(nodePressedText(node, index));
        if (node.isCatalog()) {
            LoadRecommendations();
            LoadRecurringProducts(node.clubId(), node.catalogId());
        } else if (node.isInsert()) {
            LoadRecommendations();
        }
    });
    if (!loaded) {
        // Nothing half-selected: no later command or save may act on a map the window does not
        // show.
        ResetSelectionState();
        SetupRecommendedGrid();
        SetupRecurringGrid();
        tvCatalogTree->clearSelection();
    }
}

QString frmCatEdit::nodePressedText(const NodeKey &node, const QModelIndex &index) const
{
    const QString page =
        node.isPage() ? QStringLiteral("| ") + m_treeModel->data(index).toString() : QString();
    if (node.isCatalog())
        return QStringLiteral("Regular Catalog | Club -") + node.clubId() +
               QStringLiteral(" | Catalog Number - ") + node.catalogId() +
               QStringLiteral(" | Test ID - ") + node.testId() + QStringLiteral(" ") + page;
    return QStringLiteral("Package Insert | Insert ID -") + node.insertId() + QStringLiteral(" ") +
           page;
}

QStringList frmCatEdit::expandedKeys(const QModelIndex &parent) const
{
    QStringList keys;
    for (int row = 0; row < m_treeModel->rowCount(parent); ++row) {
        const QModelIndex index = m_treeModel->index(row, 0, parent);
        if (tvCatalogTree->isExpanded(index))
            keys << m_treeModel->key(index) << expandedKeys(index);
    }
    return keys;
}

void frmCatEdit::ReloadTreeKeepingWork()
{
    const QString tag = Tag();
    const QStringList expanded = expandedKeys();
    const int scrolled = tvCatalogTree->verticalScrollBar()->value();
    LoadCatalogTree();
    for (const QString &key : expanded)
        tvCatalogTree->expand(m_treeModel->indexOfKey(key));
    tvCatalogTree->verticalScrollBar()->setValue(scrolled);
    if (tag.isEmpty())
        return;
    const QModelIndex index = m_treeModel->indexOfKey(tag);
    if (!index.isValid()) {
        // The map or page the editor was on is gone: nothing may be saved onto it.
        ResetSelectionState();
        return;
    }
    // Selected without a click: the placement editor keeps what the operator has typed.
    const bool keyNavigation = std::exchange(m_treeKeyNavigation, false);
    tvCatalogTree->setCurrentIndex(index);
    m_treeKeyNavigation = keyNavigation;
    lblNodePressed->setText(nodePressedText(NodeKey(tag), index));
    ReloadShownPlacements();
}

void frmCatEdit::tvCatalogTree_RightButtonDown(const QPoint &globalPos)
{
    const QString caption = lblNodePressed->text();
    if (!caption.contains(QLatin1String("Package Insert")) &&
        !caption.contains(QLatin1String("Regular Catalog")))
        return;
    WindowHost *main = host();
    if (!main)
        return;
    const NodeKey selected(Tag());
    const auto enable = [main](const char *item, bool enabled) {
        if (QAction *action = main->menuItem(QString::fromLatin1(item)))
            action->setEnabled(enabled);
    };
    // Copies are made of catalog tests only; page moves and sections need a page.
    enable("mnuCtgEditCopyMaps", selected.isCatalog());
    enable("mnuCtgEditDeleteMap", true);
    enable("mnuCtgEditCopyCatalog", selected.isCatalog());
    enable("mnuCtgEditAddPage", true);
    enable("mnuCtgEditRemovePage", true);
    enable("mnuCtgEditPageNumSwitch", selected.isPage());
    enable("mnuCtgEditPageSection", selected.isPage());
    enable("mnuCtgEditCopyToFile", true);
    enable("mnuCtgEditPageMap", true);
    if (QMenu *menu = main->menu(QStringLiteral("mnuCtgEdit")))
        menu->popup(globalPos);
}

void frmCatEdit::tvCatalogTree_CtrlN()
{
    if (!Tag().startsWith(QLatin1String("INS")))
        return;
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please enter a new name for the insert..."), windowTitle(), QString());
    if (!answer || answer->isEmpty())
        return;
    const QString refusal = catalog::tooLongMessage(QStringLiteral("Insert Description"), *answer,
                                                    catalog::kInsertNameLength);
    if (!refusal.isEmpty()) {
        Dialogs::instance().message(refusal, windowTitle());
        return;
    }
    if (!attempt([&] { catalog::renameInsert(NodeKey(Tag()).insertId(), *answer); }))
        return;
    // The whole window again, so the tree shows the new name; nothing stays selected.
    openingSequence();
}
