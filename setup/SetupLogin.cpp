#include "SetupLogin.h"

SetupLogin SetupLogin::trimmed() const
{
    return {userName.trimmed(), password.trimmed(), dataSource.trimmed()};
}
