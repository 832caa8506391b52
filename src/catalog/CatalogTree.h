#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

// The nodes of the catalog editor's tree: the two roots, every catalog test and insert, and their
// pages, in the order the two display views deliver them. A warehouse holds hundreds of thousands
// of pages, so a page node keeps only its number and section and makes its key and text when
// asked; the key-to-node map holds the roots, tests and inserts, and finds a page through its map.
namespace catalog {

class CatalogTree
{
public:
    // Pictures of the nodes, numbered as in the editor's image list.
    enum Image {
        CatalogsRootImage = 1,
        CatalogTestImage = 2,
        PageImage = 3,
        InsertsRootImage = 4,
        InsertImage = 5
    };
    static constexpr int kCatalogsRoot = 0;
    static constexpr int kInsertsRoot = 1;
    static constexpr int kNoNode = -1;

    // A tree with the two roots only.
    CatalogTree();

    // Adds a catalog test or an insert under its root, or returns the node already there with that
    // key: the pages of one map stay under one node even when the view splits its rows.
    int addCatalogTest(const QString &clubId, const QString &catalogId, const QString &testId);
    int addInsert(const QString &insertId, const QString &insertDescription);
    int addPage(int map, int pageNumber, const QString &pageSection);

    int size() const { return int(m_nodes.size()); }
    int parent(int node) const { return m_nodes[size_t(node)].parent; }
    // Position of a node among its parent's children.
    int row(int node) const { return m_nodes[size_t(node)].row; }
    int childCount(int node) const;
    int child(int node, int row) const;
    Image image(int node) const { return m_nodes[size_t(node)].image; }
    QString key(int node) const;
    QString text(int node) const;
    // The node with that key, or kNoNode.
    int find(const QString &key) const;

    void reserve(int nodes) { m_nodes.reserve(size_t(nodes)); }

private:
    // Pages are most of the nodes, so a node is small and plain: a page keeps its number and its
    // section's index into m_sections, a map (root, test or insert) its index into m_maps.
    struct Node
    {
        int parent;
        int row;
        Image image;
        int pageOrMap; // a page's number, or a map's index into m_maps
        int section;   // pages only
    };
    struct Map
    {
        QString key;
        QString text;
        std::vector<int> children;
    };
    int addMap(int root, Image image, const QString &key, const QString &text);
    const Map *mapOf(int node) const;

    std::vector<Node> m_nodes;
    std::vector<Map> m_maps;
    QHash<QString, int> m_mapNodes; // key -> node
    // A warehouse has a few dozen sections over its hundreds of thousands of pages: each text is
    // kept once.
    static constexpr size_t kSectionsLookedThrough = 32;
    int sectionIndex(const QString &section);
    std::vector<QString> m_sections;
    QHash<QString, int> m_sectionIndexes; // the sections after the first few dozen
    int m_lastSection = -1;
};

// Reads viewMapCatalogsDisplay and viewMapInsertsDisplay into a tree; expectedNodes (the size of
// the tree it replaces) saves growing the node list step by step. `rowDone`, when given, hears of
// each row read and stops the reading by returning false; a stop by the operator's watch inside a
// statement stops it the same. Either way the tree holds the nodes read so far. Throws DbError.
CatalogTree loadCatalogTree(int expectedNodes = 0, const std::function<bool()> &rowDone = {});

} // namespace catalog
