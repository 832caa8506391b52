#include "ClientWindows.h"
#include "inventory/frmProdMaint.h"

void inventory::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmProdMaint>(QStringLiteral("frmProdMaint"));
}
