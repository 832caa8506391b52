#include "shell/basGeneralDeclarations.h"

#include <pwd.h>
#include <unistd.h>

QString gstrUserName;

QString logonUserName()
{
    QString name;
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        name = QString::fromLocal8Bit(entry->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    return name.left(kUserNameBufferLength - 1);
}
