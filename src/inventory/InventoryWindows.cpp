#include "ClientWindows.h"
#include "inventory/frmProdDesc.h"

void inventory::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmProdDesc>(QStringLiteral("frmProdDesc"));
}
