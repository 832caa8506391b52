#include "shell/frmAbout.h"

#include "shell/Controls.h"
#include "shell/Twips.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Warehouse.h"

#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// System information programs of the Linux desktops, best first.
const char *const kSystemInformationPrograms[] = {"hardinfo2", "hardinfo", "kinfocenter",
                                                  "lshw-gtk", "gnome-system-monitor"};

QString systemInformationProgram()
{
    for (const char *name : kSystemInformationPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace

QString frmAbout::versionText() { return QStringLiteral(FOLVANE_VERSION); }

frmAbout::frmAbout(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmAbout"), QStringLiteral("About ") + productName(), parent)
{

    lblTitle = named(new QLabel(productName(), this), "lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 8);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = named(new QLabel(QStringLiteral("Version ") + versionText(), this), "lblVersion");

    lblDescription =
        named(new QLabel(QStringLiteral(
                             "Catalog planning for the catalog mailer: cycle schedules, page maps, "
                             "product placements, mailing packages and the product master.\n"
                             "Written by the Folvane development team."),
                         this),
              "lblDescription");
    lblDescription->setWordWrap(true);

    lblDisclaimer =
        named(new QLabel(QStringLiteral(
                             "Warning: this program is for the use of the licensed company only. "
                             "Copying or passing it on, in whole or in part, without the owner's "
                             "written permission is not allowed."),
                         this),
              "lblDisclaimer");
    lblDisclaimer->setWordWrap(true);

    lblWarehouse = named(new QLabel(warehouse::description(), this), "lblWarehouse");
    lblWarehouse->setWordWrap(true);
    lblWarehouse->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdOK = newButton(this, "cmdOK", QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdSysInfo = newButton(this, "cmdSysInfo", QStringLiteral("&System Info..."));

    auto *layout = new QGridLayout(this);
    layout->addWidget(lblTitle, 0, 0, 1, 2);
    layout->addWidget(lblVersion, 1, 0, 1, 2);
    layout->addWidget(lblDescription, 2, 0, 1, 2);
    layout->addWidget(lblWarehouse, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->addWidget(lblDisclaimer, 5, 0, 2, 1);
    layout->addWidget(cmdOK, 5, 1);
    layout->addWidget(cmdSysInfo, 6, 1);
    layout->setColumnStretch(0, 1);
    resize(twips(5730), twips(3750));

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::closeWindow);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::showSystemInformation);
}

void frmAbout::showSystemInformation()
{
    const QString program = systemInformationProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        Dialogs::instance().message(
            QStringLiteral("System Information Is Unavailable At This Time"), {},
            Dialogs::Icon::None);
}
