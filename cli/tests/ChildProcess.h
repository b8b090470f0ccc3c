#pragma once

#include <QProcess>
#include <QString>

// How a test starts fenwir-cli as a user of its own (the per-OS parts are in
// unix/ and windows/).
namespace ChildProcess
{
// The run's settings, documents and application history are under home:
// its documents folder is home/Documents.
void GiveOwnHome(QProcess& process, const QString& home);
// The folder of the run's own data (the station-name corrections): under
// home where the environment moves it; the user's own on Windows, whose
// known folders no environment moves.
QString DataFolder(const QString& home);
// Sets one of the run's settings (a value of "Settings/Profile"), after
// GiveOwnHome.
void SetSetting(const QString& home, const QString& name, const QString& value);
// Writing more than bytes to any file then fails, as on a full disk; false
// where the system offers no such limit.
bool LimitFileSize(QProcess& process, qint64 bytes);
} // namespace ChildProcess
