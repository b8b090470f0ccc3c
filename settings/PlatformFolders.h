#pragma once

#include <QString>

// Where the system keeps a user's files, as Folders needs them (the per-OS
// parts are in unix/ and windows/).
namespace PlatformFolders
{
// The user's documents folder; empty when the system has none.
QString Documents();
// The per-user folder for application data (XDG data home; the roaming
// AppData folder on Windows); empty when the system has none.
QString ApplicationData();
// The running executable's folder, asked of the system (without Qt's
// application object).
QString ExecutableFolder();
// The longest path the system's file calls take.
qsizetype MaxPathLength();
} // namespace PlatformFolders
