#include "LocalIdentity.h"

#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

QString LocalIdentity::LoginName()
{
    // The account the program runs as, whatever the environment claims.
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString LocalIdentity::HostName()
{
    return QSysInfo::machineHostName();
}
