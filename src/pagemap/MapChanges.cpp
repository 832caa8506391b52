#include "catalog/MapRows.h"
#include "pagemap/PageMap.h"
#include "warehouse/ChangeNotices.h"
#include "warehouse/DbError.h"
#include "warehouse/Query.h"
#include "warehouse/Warehouse.h"

#include <QCryptographicHash>

#include <algorithm>
#include <set>

namespace catalog {
namespace {

// A notice is the kind of change and the map's key: "M key" for a map, "P key" for its pages.
constexpr QChar kMapChange = QLatin1Char('M');
constexpr QChar kPagesChange = QLatin1Char('P');

// Every value of every row, each ended so that no two rows read alike.
QByteArray digestOf(const QString &columns, const MapRows &rows, const char *order)
{
    Query query(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + rows.table() +
                QStringLiteral(" WHERE ") + rows.where() + QStringLiteral(" ORDER BY ") +
                QLatin1String(order));
    rows.bindTo(query).exec();
    const int count = int(columns.count(QLatin1Char(','))) + 1;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    while (query.next()) {
        for (int column = 0; column < count; ++column) {
            hash.addData(query.isNull(column) ? QByteArrayView("\\N")
                                              : QByteArrayView(query.text(column).toUtf8()));
            hash.addData(QByteArrayView("\x1f", 1));
        }
        hash.addData(QByteArrayView("\x1e", 1));
    }
    return hash.result();
}

} // namespace

MapChanges::MapChanges()
    : m_notices(new ChangeNotices(QStringLiteral("folvane_maps"), this))
{
    // This client's own news, on the writer's thread as it commits.
    connect(
        m_notices, &ChangeNotices::sent, this, [this](const QString &text) { received(text); },
        Qt::DirectConnection);
    connect(m_notices, &ChangeNotices::heard, this, &MapChanges::received);
    connect(m_notices, &ChangeNotices::somethingChanged, this, &MapChanges::watchedMapsChanged);
}

MapChanges &MapChanges::instance()
{
    static MapChanges changes;
    return changes;
}

void MapChanges::send(QChar kind, const QString &mapKey)
{
    instance().m_notices->send(kind + QLatin1Char(' ') + mapKey);
}

void MapChanges::announce(const QString &mapKey) { send(kMapChange, mapKey); }

void MapChanges::announcePages(const QString &mapKey) { send(kPagesChange, mapKey); }

void MapChanges::received(const QString &text)
{
    if (text.size() < 2 || text.at(1) != QLatin1Char(' '))
        return;
    const QString mapKey = text.mid(2);
    if (text.at(0) == kPagesChange)
        Q_EMIT pagesChanged(mapKey);
    if (text.at(0) == kPagesChange || text.at(0) == kMapChange)
        Q_EMIT changed(mapKey);
}

bool MapChanges::hearingOthers() const
{
    return m_notices->listening() && (warehouse::isEmbedded() || m_notices->connected());
}

void MapChanges::fingerprint(const QString &mapKey)
{
    const NodeKey key(mapKey);
    std::pair<QByteArray, QByteArray> now;
    try {
        now = {digestOf(key.isInsert() ? QStringLiteral("PageNum, PageSection, InsertDescription")
                                       : QStringLiteral("PageNum, PageSection"),
                        MapRows::pagesOf(key), "PageNum"),
               digestOf(QStringLiteral("ItemID, ProductID, PageNum, PagePosition, PageWeight, "
                                       "DescType, Price, Discount, ProductType, ModifyDate"),
                        MapRows::placementsOf(key), "ItemID")};
    } catch (const DbError &) {
        // Not read now: the view reads the map itself, and tells the operator what failed.
        m_fingerprints.erase(mapKey);
        Q_EMIT changed(mapKey);
        return;
    }
    // A map not read before may have changed too.
    const auto known = m_fingerprints.find(mapKey);
    const bool pages = known == m_fingerprints.end() || known->second.first != now.first;
    const bool placements = known == m_fingerprints.end() || known->second.second != now.second;
    m_fingerprints[mapKey] = now;
    if (pages)
        Q_EMIT pagesChanged(mapKey);
    if (pages || placements)
        Q_EMIT changed(mapKey);
}

void MapChanges::watchedMapsChanged()
{
    if (!warehouse::isEmbedded()) {
        // Notices from the server may have been missed: any map, and its pages, may have changed.
        Q_EMIT pagesChanged(QString());
        Q_EMIT changed(QString());
        return;
    }
    std::set<QString> watched;
    for (const Watch *watch : m_watches)
        for (const QString &map : watch->m_maps)
            watched.insert(map);
    std::erase_if(m_fingerprints, [&](const auto &known) { return !watched.count(known.first); });
    for (const QString &map : watched)
        fingerprint(map);
}

MapChanges::Watch::Watch() { instance().m_watches.push_back(this); }

MapChanges::Watch::~Watch()
{
    MapChanges &changes = instance();
    std::erase(changes.m_watches, this);
    if (!m_maps.isEmpty())
        changes.m_notices->stopListening();
}

void MapChanges::Watch::setMaps(const QStringList &mapKeys)
{
    QStringList maps;
    for (const QString &key : mapKeys)
        if (!key.isEmpty() && !maps.contains(key))
            maps << key;
    // Listening while there is a map to follow.
    if (m_maps.isEmpty() != maps.isEmpty()) {
        if (maps.isEmpty())
            instance().m_notices->stopListening();
        else
            instance().m_notices->listen();
    }
    // A map is first read when another client has written something: reading it here would add
    // statements to the view's own work.
    m_maps = maps;
}

} // namespace catalog
