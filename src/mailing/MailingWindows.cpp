#include "ClientWindows.h"
#include "mailing/frmCatPkg.h"
#include "mailing/frmCatSched.h"

void mailing::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmCatSched>(QStringLiteral("frmCatSched"));
    registry.addWindow<frmCatPkg>(QStringLiteral("frmCatPkg"));
}
