#include "ChildProcess.h"

#include <QSettings>
#include <csignal>
#include <sys/resource.h>

void ChildProcess::GiveOwnHome(QProcess& process, const QString& home)
{
    QProcessEnvironment environment = process.processEnvironment();
    if (environment.isEmpty())
        environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + "/.config");
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + "/.local/share");
    process.setProcessEnvironment(environment);
}

void ChildProcess::SetSetting(const QString& home, const QString& name, const QString& value)
{
    QSettings store(home + QStringLiteral("/.config/Norkel/Fenwir_Lite.conf"),
                    QSettings::NativeFormat);
    store.setValue(QStringLiteral("Settings/Profile/") + name, value);
    store.sync();
}

QString ChildProcess::DataFolder(const QString& home)
{
    return home + QStringLiteral("/.local/share/Norkel/Fenwir Lite");
}

bool ChildProcess::LimitFileSize(QProcess& process, qint64 bytes)
{
    process.setChildProcessModifier([bytes] {
        // Writing past the limit then fails with EFBIG, as on a full disk,
        // instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    return true;
}
