#include "TestEnvironment.h"

#include <cstdlib>
#include <ctime>

void UsePrivateHomeAndTokyoTime(const QString& home)
{
    const QByteArray path = home.toUtf8();
    setenv("HOME", path.constData(), 1);
    setenv("XDG_CONFIG_HOME", (path + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (path + "/.local/share").constData(), 1);
    setenv("XDG_RUNTIME_DIR", path.constData(), 1);
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
}

QString TokyoZoneName()
{
    return QStringLiteral("JST");
}
