// A client's long write on an embedded warehouse, for the tests that kill it or run two at once:
//     long_write FILE FIRST COUNT
// copies the map MYST/SPRING/0000 to the test IDs FIRST .. FIRST+COUNT-1, one transaction each,
// through the catalog core as the editor does. Prints "writing" when it starts, "done" at the end.
#include "catalog/MapOperations.h"
#include "warehouse/DbError.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    if (const auto failure = warehouse::openSQLiteFile(args[1])) {
        std::fprintf(stderr, "%s\n", qPrintable(failure->description));
        return 1;
    }
    QStringList testIds;
    for (int id = args[2].toInt(); id < args[2].toInt() + args[3].toInt(); ++id)
        testIds << QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0'));
    const catalog::NodeKey source(catalog::NodeKey::catalogTestKey(
        QStringLiteral("MYST"), QStringLiteral("SPRING"), QStringLiteral("0000")));
    std::puts("writing");
    std::fflush(stdout);
    try {
        const QString refused =
            catalog::copyMapToTestIds(source, testIds.join(QLatin1Char(',')),
                                      QDateTime::currentDateTime(), QStringLiteral("long_write"));
        if (!refused.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(refused));
            return 1;
        }
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s %s\n", qPrintable(error.number()),
                     qPrintable(error.description()));
        return 1;
    }
    std::puts("done");
    return 0;
}
