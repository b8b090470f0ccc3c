#include "TestEnvironment.h"

#include <QSettings>
#include <cstdlib>
#include <ctime>

// The registry cannot be moved: the program's settings go to an INI file in
// the home folder instead (the store follows QSettings' default format).
// The C library reads TZ in its own form, which Tokyo's is.
void UsePrivateHomeAndTokyoTime(const QString& home)
{
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       home + QStringLiteral("/settings"));
    _putenv("TZ=JST-9");
    _tzset();
}

QString TokyoZoneName()
{
    return QStringLiteral("Tokyo Standard Time");
}
