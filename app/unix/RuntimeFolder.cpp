#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
QString Refused(const QString& reason)
{
    return reason +
           QStringLiteral("\n\n起動中の Fenwir Lite を確かめるためのフォルダーは、自分だけが"
                          "使えるもの（所有者が自分、アクセス権 700）でなければなりません。"
                          "そのフォルダーを削除するか直してから、もう一度起動してください。");
}
} // namespace

QString RuntimeFolder::Find(QString* problem)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir(QDir::tempPath()).filePath(QStringLiteral("Fenwir_Lite-%1").arg(::geteuid()));
    return Check(folder, problem) ? QDir::cleanPath(folder) : QString();
}

bool RuntimeFolder::Check(const QString& folder, QString* problem)
{
    const QByteArray path = QFile::encodeName(folder);
    const auto refuse = [&](const QString& reason) {
        if (problem)
            *problem = Refused(reason);
        return false;
    };
    // Made with no room for anyone else; one that exists is looked at as it
    // is, a link included, never followed.
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return refuse(QStringLiteral("フォルダー %1 を作れませんでした。(%2)")
                          .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat status {
    };
    if (::lstat(path.constData(), &status) != 0)
        return refuse(QStringLiteral("フォルダー %1 を確かめられませんでした。(%2)")
                          .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISDIR(status.st_mode))
        return refuse(QStringLiteral("%1 はフォルダーではありません。").arg(folder));
    if (status.st_uid != ::geteuid())
        return refuse(QStringLiteral("フォルダー %1 の所有者がほかのユーザー (UID %2) です。")
                          .arg(folder)
                          .arg(status.st_uid));
    if ((status.st_mode & 077) != 0)
        return refuse(QStringLiteral("フォルダー %1 はほかのユーザーも使えます（アクセス権 %2）。")
                          .arg(folder)
                          .arg(status.st_mode & 07777, 3, 8, QLatin1Char('0')));
    return true;
}
