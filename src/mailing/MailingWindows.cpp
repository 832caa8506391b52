#include "ClientWindows.h"
#include "mailing/frmCatSched.h"

void mailing::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmCatSched>(QStringLiteral("frmCatSched"));
}
