#include "ClientWindows.h"
#include "shell/AppIcon.h"
#include "shell/QtDialogs.h"
#include "shell/basStartup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Folvane"));
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    QApplication::setApplicationVersion(QStringLiteral(FOLVANE_VERSION));
    QApplication::setWindowIcon(folvaneIcon());
    Dialogs::install(std::make_unique<QtDialogs>());

    basStartup startup;
    if (!startup.run(clientWindows()))
        return 1;
    return QApplication::exec();
}
