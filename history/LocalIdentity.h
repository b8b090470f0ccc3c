#pragma once

#include <QString>

// Who does something to the history, and where: the user's login name and
// the computer's name, as an auditor would ask for them.
namespace LocalIdentity
{
QString LoginName();
QString HostName();
} // namespace LocalIdentity
