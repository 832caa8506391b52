#include "ClientWindows.h"
#include "catalog/frmCatBuild.h"
#include "catalog/frmCatEdit.h"

void catalog::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmCatBuild>(QStringLiteral("frmCatBuild"));
    registry.addWindow<frmCatEdit>(QStringLiteral("frmCatEdit"));
    registerCatalogEditCommands(registry);
}
