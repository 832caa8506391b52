#include "ClientWindows.h"
#include "mailing/frmCatProdSchedule.h"
#include "mailing/frmAdCodes.h"
#include "mailing/frmCatPkg.h"
#include "mailing/frmCatSched.h"

void mailing::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmCatSched>(QStringLiteral("frmCatSched"));
    registry.addWindow<frmCatProdSchedule>(QStringLiteral("frmCatProdSchedule"));
    registry.addWindow<frmAdCodes>(QStringLiteral("frmAdCodes"));
    registry.addWindow<frmCatPkg>(QStringLiteral("frmCatPkg"));
}
