#pragma once

#include "shell/WorkingWindow.h"

class QLabel;
class QPushButton;

// The About box: product name, version, credit line and legal notice.
class frmAbout : public WorkingWindow
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    static QString productName() { return QStringLiteral("Folvane"); }
    // major.minor.revision of the build.
    static QString versionText();

private:
    void showSystemInformation();

    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QLabel *lblWarehouse;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
};
