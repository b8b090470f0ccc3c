#include "LocalIdentity.h"

#include <windows.h>

QString LocalIdentity::LoginName()
{
    wchar_t name[257] = {};
    DWORD size = 257;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name)
                                     : qEnvironmentVariable("USERNAME");
}

QString LocalIdentity::HostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? QString::fromWCharArray(name)
                                         : qEnvironmentVariable("COMPUTERNAME");
}
