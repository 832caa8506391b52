#include "shell/ChildWindows.h"

#include "catalog/frmCatEdit.h"
#include "shell/frmAbout.h"

const std::map<QString, ChildWindowFactory> &childWindowFactories()
{
    static const std::map<QString, ChildWindowFactory> factories = {
        {QStringLiteral("frmAbout"), [] { return static_cast<QWidget *>(new frmAbout); }},
        {QStringLiteral("frmCatEdit"), [] { return static_cast<QWidget *>(new frmCatEdit); }},
    };
    return factories;
}
