#include "ClientWindows.h"
#include "inventory/frmProdDesc.h"
#include "inventory/frmProdMaint.h"

void inventory::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmProdDesc>(QStringLiteral("frmProdDesc"));
    registry.addWindow<frmProdMaint>(QStringLiteral("frmProdMaint"));
}
