#pragma once

#include "catalog/CatalogTree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <array>

// The model behind the catalog editor's tree `tvCatalogTree`: the nodes of a CatalogTree with
// their texts and pictures. An index's internal id is its node number.
class frmCatEditTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    // The node's key, for Qt::UserRole.
    static constexpr int KeyRole = Qt::UserRole;

    explicit frmCatEditTreeModel(QObject *parent = nullptr);

    // Replaces every node.
    void setTree(catalog::CatalogTree tree);
    const catalog::CatalogTree &tree() const { return m_tree; }

    QModelIndex indexOfNode(int node) const;
    // The index of the node with that key; invalid when there is none.
    QModelIndex indexOfKey(const QString &key) const;
    QString key(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    catalog::CatalogTree m_tree;
    std::array<QIcon, 6> m_icons; // by image number 1..5
};

// The five node pictures of the tree, drawn here: 1 the Catalogs root, 2 a catalog test, 3 a page,
// 4 the Inserts root, 5 an insert.
QIcon catalogTreeIcon(int image);
