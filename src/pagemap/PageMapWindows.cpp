#include "ClientWindows.h"
#include "pagemap/frmPageMap.h"
#include "shell/WindowHost.h"
#include "warehouse/Dialogs.h"

// The page map windows, one per map, opened by their name prefix; and File > Print, which prints
// the page map in front.
void pagemap::registerWindows(WindowRegistry &registry)
{
    registry.addWindowFamily(frmPageMap::kWindowNamePrefix, [](const QString &windowName) {
        return static_cast<QWidget *>(
            new frmPageMap(windowName.mid(frmPageMap::kWindowNamePrefix.size())));
    });
    registry.addCommand(QStringLiteral("mnuPrint"), [](WindowHost &host) {
        if (auto *map = qobject_cast<frmPageMap *>(host.activeChild()))
            map->PrintMap();
        else
            Dialogs::instance().message(
                QStringLiteral("There is nothing to print in this window."));
    });
}
