#include "catalog/NodeKey.h"

#include "warehouse/Vb.h"

#include <algorithm>
#include <cmath>

namespace catalog {

NodeKey::NodeKey(const QString &key)
    : m_key(key)
    , m_fields(key.split(QLatin1Char('|')))
{}

bool NodeKey::isPage() const
{
    return (isCatalog() && m_fields.size() >= 5) || (isInsert() && m_fields.size() >= 3);
}

int NodeKey::pageNumber() const
{
    if (!isPage())
        return 0;
    return parsePageNumber(m_fields.at(isCatalog() ? 4 : 2)).value_or(0);
}

QString NodeKey::catalogTestKey(const QString &clubId, const QString &catalogId,
                                const QString &testId)
{
    return QStringLiteral("ID|") + clubId + QLatin1Char('|') + catalogId + QLatin1Char('|') +
           testId;
}

QString NodeKey::insertKey(const QString &insertId) { return QStringLiteral("INS|") + insertId; }

QString NodeKey::pageKey(const QString &mapKey, int pageNumber)
{
    return mapKey + QLatin1Char('|') + vb::Format(pageNumber, QStringLiteral("000"));
}

QString catalogTestText(const QString &catalogId, const QString &testId)
{
    return catalogId + QStringLiteral(" - ") + testId;
}

QString pageText(int pageNumber, const QString &pageSection)
{
    return QStringLiteral("Page: ") + vb::Format(pageNumber, QStringLiteral("00")) +
           QStringLiteral(" - ") + pageSection;
}

std::optional<int> parsePageNumber(const QString &text)
{
    const auto value = vb::ToNumber(vb::Trim(text));
    if (!value || *value != std::floor(*value) || *value < -32768 || *value > 32767)
        return std::nullopt;
    return int(*value);
}

bool isDigitsOnly(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isTestId(const QString &text)
{
    return text.size() == kTestIdLength && isDigitsOnly(text);
}

} // namespace catalog
