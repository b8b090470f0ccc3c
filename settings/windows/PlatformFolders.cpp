#include "PlatformFolders.h"

#include <QDir>
#include <QFileInfo>
#include <shlobj.h>
#include <windows.h>

namespace
{
QString KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}
} // namespace

QString PlatformFolders::Documents()
{
    return KnownFolder(FOLDERID_Documents);
}

QString PlatformFolders::ApplicationData()
{
    return KnownFolder(FOLDERID_RoamingAppData);
}

QString PlatformFolders::ExecutableFolder()
{
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
    if (length == 0)
        return QString();
    return QFileInfo(QDir::fromNativeSeparators(QString::fromWCharArray(path, length)))
        .absolutePath();
}

qsizetype PlatformFolders::MaxPathLength()
{
    return MAX_PATH - 1;
}
