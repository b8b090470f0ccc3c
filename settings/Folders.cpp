#include "Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{
// Longest path the platform's file calls accept (PATH_MAX less the terminator).
constexpr qsizetype kMaxPath = 4095;

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
    const QString documents = WithoutTrailingSeparator(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString folder = JoinPath(documents, QStringLiteral("Fenwir Lite"));
    if (!documents.isEmpty() && MakeFolders(folder))
        return folder;
    return documents;
}

QString GetDataFolder()
{
    const QString base = WithoutTrailingSeparator(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
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
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
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
    if (joined.size() > kMaxPath)
        return first;
    return joined;
}

QString EnsureSubfolder(const QString& parent, const QString& name)
{
    const QString path = JoinPath(parent, name);
    if (QFileInfo(path).isDir())
        return path;
    if (!QDir().mkdir(path))
        return QString();
    return path;
}
