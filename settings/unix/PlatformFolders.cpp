#include "PlatformFolders.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PlatformFolders::Documents()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString PlatformFolders::ApplicationData()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString PlatformFolders::ExecutableFolder()
{
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

qsizetype PlatformFolders::MaxPathLength()
{
    return 4095; // PATH_MAX less the terminator
}
