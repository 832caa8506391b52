#include "ClientWindows.h"
#include "shell/AppIcon.h"
#include "shell/QtDialogs.h"
#include "shell/basStartup.h"
#include "warehouse/Warehouse.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Folvane"));
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    QApplication::setApplicationVersion(QStringLiteral(FOLVANE_VERSION));
    QApplication::setWindowIcon(folvaneIcon());

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Folvane plans printed catalogs: cycle schedules, page maps, product "
                       "placements, packages, ad codes and the product master.\n"
                       "Without options it opens the data source \"Folvane\" when unixODBC "
                       "defines one, else the embedded warehouse in the user's data folder."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption warehouseFile(
        QStringLiteral("warehouse"),
        QStringLiteral("Opens the embedded warehouse <file> instead; a new file is created with "
                       "the reference data only."),
        QStringLiteral("file"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("With --warehouse: a new file also gets the demo "
                                                 "data."));
    const QCommandLineOption odbc(
        QStringLiteral("odbc"),
        QStringLiteral("Reaches a PostgreSQL data source through its ODBC driver rather than "
                       "through libpq; so does the setting ServerThroughODBC=true in the "
                       "[Warehouse] group of Folvane.conf."));
    options.addOption(warehouseFile);
    options.addOption(demo);
    options.addOption(odbc);
    options.process(app);
    warehouse::keepOdbc(
        options.isSet(odbc) ||
        QSettings().value(QStringLiteral("Warehouse/ServerThroughODBC"), false).toBool());

    basStartup startup;
    if (options.isSet(warehouseFile)) {
        const QFileInfo file(options.value(warehouseFile));
        if (!file.absoluteDir().exists()) {
            std::fprintf(stderr, "Folvane: the folder %s does not exist.\n",
                         qPrintable(QDir::toNativeSeparators(file.absolutePath())));
            return 2;
        }
        startup.useWarehouseFile(file.absoluteFilePath(), options.isSet(demo));
    } else if (options.isSet(demo)) {
        std::fprintf(stderr, "Folvane: --demo goes with --warehouse.\n");
        return 2;
    }

    Dialogs::install(std::make_unique<QtDialogs>());
    if (!startup.run(clientWindows()))
        return 1;
    return QApplication::exec();
}
