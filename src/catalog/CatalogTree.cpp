#include "catalog/CatalogTree.h"

#include "catalog/NodeKey.h"
#include "warehouse/Dialect.h"
#include "warehouse/Query.h"
#include "warehouse/StatementWatch.h"

#include <algorithm>

namespace catalog {

CatalogTree::CatalogTree()
{
    addMap(kNoNode, CatalogsRootImage, QString::fromLatin1(kCatalogsRootKey),
           QStringLiteral("Catalogs"));
    addMap(kNoNode, InsertsRootImage, QString::fromLatin1(kInsertsRootKey),
           QStringLiteral("Inserts"));
}

int CatalogTree::addMap(int root, Image image, const QString &key, const QString &text)
{
    const auto found = m_mapNodes.constFind(key);
    if (found != m_mapNodes.constEnd())
        return found.value();
    const int node = size();
    int row = node; // the roots stand at the top level in the order they are added
    if (root != kNoNode) {
        auto &siblings = m_maps[size_t(m_nodes[size_t(root)].pageOrMap)].children;
        row = int(siblings.size());
        siblings.push_back(node);
    }
    m_nodes.push_back(Node{root, row, image, int(m_maps.size()), -1});
    m_maps.push_back(Map{key, text, {}});
    m_mapNodes.insert(key, node);
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
    m_lastSection = sectionIndex(pageSection);
    const int node = size();
    auto &siblings = m_maps[size_t(m_nodes[size_t(map)].pageOrMap)].children;
    m_nodes.push_back(Node{map, int(siblings.size()), PageImage, pageNumber, m_lastSection});
    siblings.push_back(node);
    return node;
}

int CatalogTree::sectionIndex(const QString &section)
{
    if (m_lastSection >= 0 && m_sections[size_t(m_lastSection)] == section)
        return m_lastSection;
    // The first few dozen are looked through, which costs less than hashing every page's text.
    const size_t looked = std::min(m_sections.size(), kSectionsLookedThrough);
    for (size_t i = 0; i < looked; ++i)
        if (m_sections[i] == section)
            return int(i);
    if (const auto known = m_sectionIndexes.constFind(section);
        known != m_sectionIndexes.constEnd())
        return known.value();
    const int index = int(m_sections.size());
    m_sections.push_back(section);
    if (size_t(index) >= kSectionsLookedThrough)
        m_sectionIndexes.insert(section, index);
    return index;
}

const CatalogTree::Map *CatalogTree::mapOf(int node) const
{
    const Node &n = m_nodes[size_t(node)];
    return n.image == PageImage ? nullptr : &m_maps[size_t(n.pageOrMap)];
}

int CatalogTree::childCount(int node) const
{
    const Map *map = mapOf(node);
    return map ? int(map->children.size()) : 0;
}

int CatalogTree::child(int node, int row) const
{
    return mapOf(node)->children[size_t(row)];
}

QString CatalogTree::key(int node) const
{
    const Node &n = m_nodes[size_t(node)];
    if (n.image != PageImage)
        return m_maps[size_t(n.pageOrMap)].key;
    return NodeKey::pageKey(key(n.parent), n.pageOrMap);
}

QString CatalogTree::text(int node) const
{
    const Node &n = m_nodes[size_t(node)];
    if (n.image != PageImage)
        return m_maps[size_t(n.pageOrMap)].text;
    return pageText(n.pageOrMap, m_sections[size_t(n.section)]);
}

int CatalogTree::find(const QString &key) const
{
    const auto map = m_mapNodes.constFind(key);
    if (map != m_mapNodes.constEnd())
        return map.value();
    const NodeKey nodeKey(key);
    if (!nodeKey.isPage())
        return kNoNode;
    const int last = int(key.lastIndexOf(QLatin1Char('|')));
    const auto owner = m_mapNodes.constFind(key.left(last));
    if (owner == m_mapNodes.constEnd())
        return kNoNode;
    for (int page : mapOf(owner.value())->children)
        if (this->key(page) == key)
            return page;
    return kNoNode;
}

namespace {

// Texts are made only where they change from the row before: most rows repeat them.
bool changed(const Query &query, int column, QString &text)
{
    if (query.textIs(column, text))
        return false;
    text = query.text(column);
    return true;
}

// Each returns false when `rowDone` said to stop.
bool readCatalogTests(CatalogTree &tree, const std::function<bool()> &rowDone)
{
    // A new map node starts where club, catalog or test change from the previous row.
    // The order is asked for here: SQL Server does not keep the order of a view.
    // Only the columns the tree shows: without the schedule's description and dates the database
    // leaves the view's join to the schedule out, and reads the page map alone.
    Query catalogs(QStringLiteral("SELECT ClubID, CatalogID, TestID, PageNum, PageSection From "
                                  "viewMapCatalogsDisplay ORDER BY ClubID, CatalogID, TestID, "
                                  "PageNum"));
    catalogs.exec();
    QString club, catalog, test, section;
    int map = CatalogTree::kNoNode;
    while (catalogs.next()) {
        const bool newClub = changed(catalogs, 0, club);
        const bool newCatalog = changed(catalogs, 1, catalog);
        const bool newTest = changed(catalogs, 2, test);
        if (map == CatalogTree::kNoNode || newClub || newCatalog || newTest)
            map = tree.addCatalogTest(club, catalog, test);
        changed(catalogs, 4, section);
        tree.addPage(map, catalogs.value(3).toInt(), section);
        if (rowDone && !rowDone())
            return false;
    }
    return true;
}

bool readInserts(CatalogTree &tree, const std::function<bool()> &rowDone)
{
    // Newest insert first: the ID "mmddyyyyhhmmss" read as "yyyymmddhhmmss"; the ID itself breaks
    // ties, so the pages of one insert never part.
    const QString madeAt = dialect::concat({dialect::substring(QStringLiteral("InsertId"), 5, 4),
                                            dialect::substring(QStringLiteral("InsertId"), 1, 4),
                                            dialect::substring(QStringLiteral("InsertId"), 9, 6)});
    Query inserts(QStringLiteral("SELECT InsertId, InsertDescription, PageNum , PageSection From "
                                 "viewMapInsertsDisplay ORDER BY ") +
                  madeAt + QStringLiteral(" DESC, InsertId, PageNum"));
    inserts.exec();
    QString insert, section;
    int map = CatalogTree::kNoNode;
    while (inserts.next()) {
        if (changed(inserts, 0, insert) || map == CatalogTree::kNoNode)
            map = tree.addInsert(insert, inserts.text(1));
        changed(inserts, 3, section);
        tree.addPage(map, inserts.value(2).toInt(), section);
        if (rowDone && !rowDone())
            return false;
    }
    return true;
}

} // namespace

CatalogTree loadCatalogTree(int expectedNodes, const std::function<bool()> &rowDone)
{
    CatalogTree tree;
    tree.reserve(expectedNodes);
    try {
        if (readCatalogTests(tree, rowDone))
            readInserts(tree, rowDone);
    } catch (const StoppedByOperator &) {
        // Stopped inside a statement: the nodes read before stay, as after a row.
    }
    return tree;
}

} // namespace catalog
