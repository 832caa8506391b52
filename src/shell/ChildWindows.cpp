#include "shell/ChildWindows.h"

#include "catalog/frmCatBuild.h"
#include "catalog/frmCatEdit.h"
#include "mailing/frmCatSched.h"
#include "shell/frmAbout.h"

const std::map<QString, ChildWindowFactory> &childWindowFactories()
{
    static const std::map<QString, ChildWindowFactory> factories = {
        {QStringLiteral("frmAbout"), [] { return static_cast<QWidget *>(new frmAbout); }},
        {QStringLiteral("frmCatBuild"), [] { return static_cast<QWidget *>(new frmCatBuild); }},
        {QStringLiteral("frmCatEdit"), [] { return static_cast<QWidget *>(new frmCatEdit); }},
        {QStringLiteral("frmCatSched"), [] { return static_cast<QWidget *>(new frmCatSched); }},
    };
    return factories;
}
