#include "Folders.h"

#include "PlatformFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
QString WithoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool MakeFolders(const QString& path)
{
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}
} // namespace

QString GetDocumentsFolder()
{
    const QString documents = WithoutTrailingSeparator(PlatformFolders::Documents());
    const QString folder = JoinPath(documents, QStringLiteral("Fenwir Lite"));
    if (!documents.isEmpty() && MakeFolders(folder))
        return folder;
    return documents;
}

QString GetDataFolder()
{
    const QString base = WithoutTrailingSeparator(PlatformFolders::ApplicationData());
    const QString folder = JoinPath(base, QStringLiteral("Norkel/Fenwir Lite"));
    if (!base.isEmpty() && MakeFolders(folder))
        return folder;
    return GetModuleFolder();
}

QString GetModuleFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Without an application object (tools, benchmarks) ask the kernel.
    return PlatformFolders::ExecutableFolder();
}

QString JoinPath(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return second;
    QString tail = second;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    QString joined = first;
    if (!joined.endsWith(QLatin1Char('/')))
        joined += QLatin1Char('/');
    joined += tail;
    if (joined.size() > PlatformFolders::MaxPathLength())
        return QString();
    return joined;
}

QString EnsureSubfolder(const QString& parent, const QString& name)
{
    if (parent.isEmpty() || QDir::isRelativePath(parent))
        return QString();
    const QString path = JoinPath(parent, name);
    if (path.isEmpty())
        return QString();
    if (QFileInfo(path).isDir())
        return path;
    if (!QDir().mkdir(path))
        return QString();
    return path;
}
