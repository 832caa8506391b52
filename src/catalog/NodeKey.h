#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The key of a node of the catalog editor's tree, the editor's vocabulary for "what is selected":
//
//     "CTG"                                   the Catalogs root
//     "SRT"                                   the Inserts root
//     "ID|ClubID|CatalogID|TestID"            a catalog test
//     "ID|ClubID|CatalogID|TestID|007"        page 7 of that test
//     "INS|InsertId"                          an insert
//     "INS|InsertId|012"                      page 12 of that insert
//
// Keys carry the stored values as they are; only the page number is formatted ("000").
namespace catalog {

inline constexpr auto kCatalogsRootKey = "CTG";
inline constexpr auto kInsertsRootKey = "SRT";

class NodeKey
{
public:
    NodeKey() = default;
    explicit NodeKey(const QString &key);

    const QString &key() const { return m_key; }
    const QStringList &fields() const { return m_fields; }
    // Field n, empty when the key has fewer fields.
    QString field(int n) const { return m_fields.value(n); }
    // Field 0: "CTG", "SRT", "ID" or "INS".
    QString kind() const { return field(0); }

    bool isCatalog() const { return kind() == QLatin1String("ID"); }
    bool isInsert() const { return kind() == QLatin1String("INS"); }
    bool isRoot() const { return m_fields.size() <= 1; }
    // A catalog page has at least five fields, an insert page at least three.
    bool isPage() const;

    // Catalog keys.
    QString clubId() const { return isCatalog() ? field(1) : QString(); }
    QString catalogId() const { return isCatalog() ? field(2) : QString(); }
    QString testId() const { return isCatalog() ? field(3) : QString(); }
    // Insert keys.
    QString insertId() const { return isInsert() ? field(1) : QString(); }
    // The CatalogID under which the placements of the map are stored: the catalog ID of a test,
    // the insert ID of an insert.
    QString placementCatalogId() const { return isInsert() ? insertId() : catalogId(); }
    // The page number of a page key ("007" is page 7), 0 for any other key.
    int pageNumber() const;

    static QString catalogTestKey(const QString &clubId, const QString &catalogId,
                                  const QString &testId);
    static QString insertKey(const QString &insertId);
    static QString pageKey(const QString &mapKey, int pageNumber);

private:
    QString m_key;
    QStringList m_fields;
};

// A page number (or a position on a page) as the operator types it: blanks around it ignored, a
// whole number the warehouse's page columns take. "2.5", "99999" and "" give nothing.
std::optional<int> parsePageNumber(const QString &text);

// A test ID: exactly four digits 0-9 ("0000" is a catalog's main version). Texts that merely read
// as a number ("1.00", "-001", "1E03", "&H1F", "(12)") are none.
inline constexpr int kTestIdLength = 4;
bool isTestId(const QString &text);
// The first half of that rule, for the messages that name each half: digits 0-9 and nothing else.
bool isDigitsOnly(const QString &text);

// Texts of the tree's nodes.
QString catalogTestText(const QString &catalogId, const QString &testId);
QString pageText(int pageNumber, const QString &pageSection);

} // namespace catalog
