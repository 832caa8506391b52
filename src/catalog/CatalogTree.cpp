#include "catalog/CatalogTree.h"

#include "catalog/NodeKey.h"
#include "warehouse/Query.h"

namespace catalog {

CatalogTree::CatalogTree()
{
    addMap(kNoNode, CatalogsRootImage, QString::fromLatin1(kCatalogsRootKey),
           QStringLiteral("Catalogs"));
    addMap(kNoNode, InsertsRootImage, QString::fromLatin1(kInsertsRootKey),
           QStringLiteral("Inserts"));
}

int CatalogTree::addNode(int parent, Image image, int pageNumber, QString keyOrSection,
                         QString text)
{
    const int node = size();
    int row = 0;
    if (parent != kNoNode) {
        auto &children = m_nodes[size_t(parent)].children;
        row = int(children.size());
        children.push_back(node);
    } else {
        row = node;
    }
    m_nodes.push_back(
        Node{parent, row, image, pageNumber, std::move(keyOrSection), std::move(text), {}});
    return node;
}

int CatalogTree::addMap(int root, Image image, const QString &key, const QString &text)
{
    const auto found = m_maps.constFind(key);
    if (found != m_maps.constEnd())
        return found.value();
    const int node = addNode(root, image, 0, key, text);
    m_maps.insert(key, node);
    return node;
}

int CatalogTree::addCatalogTest(const QString &clubId, const QString &catalogId,
                                const QString &testId)
{
    return addMap(kCatalogsRoot, CatalogTestImage,
                  NodeKey::catalogTestKey(clubId, catalogId, testId),
                  catalogTestText(catalogId, testId));
}

int CatalogTree::addInsert(const QString &insertId, const QString &insertDescription)
{
    return addMap(kInsertsRoot, InsertImage, NodeKey::insertKey(insertId), insertDescription);
}

int CatalogTree::addPage(int map, int pageNumber, const QString &pageSection)
{
    return addNode(map, PageImage, pageNumber, pageSection, {});
}

QString CatalogTree::key(int node) const
{
    const Node &n = m_nodes[size_t(node)];
    if (n.image != PageImage)
        return n.keyOrSection;
    return NodeKey::pageKey(m_nodes[size_t(n.parent)].keyOrSection, n.pageNumber);
}

QString CatalogTree::text(int node) const
{
    const Node &n = m_nodes[size_t(node)];
    if (n.image != PageImage)
        return n.text;
    return pageText(n.pageNumber, n.keyOrSection);
}

int CatalogTree::find(const QString &key) const
{
    const auto map = m_maps.constFind(key);
    if (map != m_maps.constEnd())
        return map.value();
    const NodeKey nodeKey(key);
    if (!nodeKey.isPage())
        return kNoNode;
    const int last = int(key.lastIndexOf(QLatin1Char('|')));
    const auto owner = m_maps.constFind(key.left(last));
    if (owner == m_maps.constEnd())
        return kNoNode;
    for (int page : m_nodes[size_t(owner.value())].children)
        if (this->key(page) == key)
            return page;
    return kNoNode;
}

CatalogTree loadCatalogTree()
{
    CatalogTree tree;

    // A new map node starts where club, catalog or test change from the previous row.
    Query catalogs(QStringLiteral(
        "SELECT ClubID, CatalogID, TestID, Description , PageNum, PageSection, AAAddressStartDate "
        ", LabelRunShipDate From viewMapCatalogsDisplay"));
    catalogs.exec();
    QString club, catalog, test;
    int map = CatalogTree::kNoNode;
    while (catalogs.next()) {
        QString rowClub = catalogs.value(0).toString();
        QString rowCatalog = catalogs.value(1).toString();
        QString rowTest = catalogs.value(2).toString();
        if (map == CatalogTree::kNoNode || rowClub != club || rowCatalog != catalog ||
            rowTest != test) {
            club = std::move(rowClub);
            catalog = std::move(rowCatalog);
            test = std::move(rowTest);
            map = tree.addCatalogTest(club, catalog, test);
        }
        tree.addPage(map, catalogs.value(4).toInt(), catalogs.value(5).toString());
    }

    Query inserts(QStringLiteral(
        "SELECT InsertId, InsertDescription, PageNum , PageSection From viewMapInsertsDisplay"));
    inserts.exec();
    QString insert;
    map = CatalogTree::kNoNode;
    while (inserts.next()) {
        QString rowInsert = inserts.value(0).toString();
        if (map == CatalogTree::kNoNode || rowInsert != insert) {
            insert = std::move(rowInsert);
            map = tree.addInsert(insert, inserts.value(1).toString());
        }
        tree.addPage(map, inserts.value(2).toInt(), inserts.value(3).toString());
    }
    return tree;
}

} // namespace catalog
