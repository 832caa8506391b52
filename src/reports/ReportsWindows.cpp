#include "ClientWindows.h"
#include "reports/frmCompareVersions.h"
#include "reports/frmMailingCost.h"
#include "reports/frmPlanSummary.h"
#include "reports/frmProductHistory.h"
#include "shell/WindowHost.h"

#include <QVariant>

void reports::registerWindows(WindowRegistry &registry)
{
    registry.addWindow<frmPlanSummary>(QStringLiteral("frmPlanSummary"));
    registry.addWindow<frmCompareVersions>(QStringLiteral("frmCompareVersions"));
    registry.addWindow<frmMailingCost>(QStringLiteral("frmMailingCost"));
    registry.addWindow<frmProductHistory>(QStringLiteral("frmProductHistory"));
    registry.addCommand(QStringLiteral("mnuGridProductHistory"), &frmProductHistory::openFromGrid);

    // File > Print prints a report in front; any other window as the command before did.
    const WindowRegistry::Command *earlier = registry.command(QStringLiteral("mnuPrint"));
    registry.addCommand(
        QStringLiteral("mnuPrint"),
        [earlier = earlier ? *earlier : WindowRegistry::Command()](WindowHost &host) {
            if (auto *report = qobject_cast<frmReport *>(host.activeChild()))
                report->PrintReport();
            else if (earlier)
                earlier(host);
        });

    // The Catalog Edit pop-up's summary of the map selected in the editor.
    registry.addCommand(QStringLiteral("mnuCtgEditPlanSummary"), [](WindowHost &host) {
        const QWidget *editor = host.findWindow(QStringLiteral("frmCatEdit"));
        const QString key = editor ? editor->property("Tag").toString() : QString();
        if (auto *summary =
                qobject_cast<frmPlanSummary *>(host.openWindow(QStringLiteral("frmPlanSummary"))))
            summary->ShowMap(key);
    });
}
