#include "ClientWindows.h"
#include "mailing/frmCatProdSchedule.h"
#include "mailing/frmAdCodes.h"
#include "mailing/frmCatSched.h"

void mailing::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmCatSched>(QStringLiteral("frmCatSched"));
    registry.addWindow<frmCatProdSchedule>(QStringLiteral("frmCatProdSchedule"));
    registry.addWindow<frmAdCodes>(QStringLiteral("frmAdCodes"));
}
