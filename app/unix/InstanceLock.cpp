#include "InstanceLock.h"

#include "RuntimeFolder.h"

#include <QDir>
#include <QLockFile>

namespace
{
QString LockPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Fenwir_Lite.lock"));
}

std::unique_ptr<QLockFile> MakeLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Only a live process holds the lock; age alone never makes it stale.
    lock->setStaleLockTime(0);
    return lock;
}
} // namespace

struct InstanceLock::Private {
    std::unique_ptr<QLockFile> lock; // none when its folder is refused
    QString problem;
};

InstanceLock::InstanceLock() : d(std::make_unique<Private>())
{
    const QString folder = RuntimeFolder::Find(&d->problem);
    if (!folder.isEmpty())
        d->lock = MakeLock(LockPath(folder));
}

InstanceLock::InstanceLock(const QString& name) : d(std::make_unique<Private>())
{
    d->lock = MakeLock(name);
}

InstanceLock::~InstanceLock() = default;

QString InstanceLock::DefaultName()
{
    const QString folder = RuntimeFolder::Find();
    return folder.isEmpty() ? QString() : LockPath(folder);
}

bool InstanceLock::TryLock()
{
    if (!d->lock)
        return false;
    if (d->lock->tryLock(0))
        return true;
    if (d->lock->error() != QLockFile::LockFailedError)
        d->problem = QStringLiteral("ロックファイル %1 を作れませんでした。")
                         .arg(QDir::toNativeSeparators(d->lock->fileName()));
    return false;
}

QString InstanceLock::Problem() const
{
    return d->problem;
}
