// The test-ID rule and the page-number parser of the catalog editor, and the tree keys built from
// what they accept.
#include "FuzzInput.h"

#include "catalog/NodeKey.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);

    if (catalog::isTestId(text)) {
        FUZZ_CHECK(text.size() == catalog::kTestIdLength);
        for (QChar ch : text)
            FUZZ_CHECK(ch >= u'0' && ch <= u'9');
    }

    if (const std::optional<int> page = catalog::parsePageNumber(text)) {
        // A page the warehouse's page columns take, which survives its own key.
        FUZZ_CHECK(*page >= -32768 && *page <= 32767);
        const QString map = catalog::NodeKey::catalogTestKey(
            QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000"));
        if (*page > 0)
            FUZZ_CHECK(catalog::NodeKey(catalog::NodeKey::pageKey(map, *page)).pageNumber() ==
                       *page);
    }

    // Any text as a key: the accessors never fail.
    const catalog::NodeKey key(text);
    key.isPage();
    key.pageNumber();
    key.placementCatalogId();
    return 0;
}
