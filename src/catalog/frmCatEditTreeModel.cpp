#include "catalog/frmCatEditTreeModel.h"

using catalog::CatalogTree;

frmCatEditTreeModel::frmCatEditTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
{
    for (int image = 1; image <= 5; ++image)
        m_icons[size_t(image)] = catalogTreeIcon(image);
}

void frmCatEditTreeModel::setTree(CatalogTree tree)
{
    beginResetModel();
    m_tree = std::move(tree);
    endResetModel();
}

QModelIndex frmCatEditTreeModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_tree.size())
        return {};
    return createIndex(m_tree.row(node), 0, quintptr(node));
}

QModelIndex frmCatEditTreeModel::indexOfKey(const QString &key) const
{
    return indexOfNode(m_tree.find(key));
}

QString frmCatEditTreeModel::key(const QModelIndex &index) const
{
    return index.isValid() ? m_tree.key(int(index.internalId())) : QString();
}

QModelIndex frmCatEditTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < 2 ? createIndex(row, 0, quintptr(row)) : QModelIndex();
    const int owner = int(parent.internalId());
    if (row >= m_tree.childCount(owner))
        return {};
    return createIndex(row, 0, quintptr(m_tree.child(owner, row)));
}

QModelIndex frmCatEditTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    return indexOfNode(m_tree.parent(int(child.internalId())));
}

int frmCatEditTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 2;
    if (parent.column() != 0)
        return 0;
    return m_tree.childCount(int(parent.internalId()));
}

int frmCatEditTreeModel::columnCount(const QModelIndex &) const { return 1; }

bool frmCatEditTreeModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant frmCatEditTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int node = int(index.internalId());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: // the tree is narrow: a long section shows in full when pointed at
        return m_tree.text(node);
    case Qt::DecorationRole:
        return m_icons[size_t(m_tree.image(node))];
    case KeyRole:
        return m_tree.key(node);
    default:
        return {};
    }
}
