#include "ClientWindows.h"
#include "shell/frmAbout.h"

void shell::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmAbout>(QStringLiteral("frmAbout"));
}
