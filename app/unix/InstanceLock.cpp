#include "InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

struct InstanceLock::Private {
    explicit Private(const QString& path) : lock(path) {}
    QLockFile lock;
};

InstanceLock::InstanceLock(const QString& name) : d(std::make_unique<Private>(name))
{
    // Only a live process holds the lock; age alone never makes it stale.
    d->lock.setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

QString InstanceLock::DefaultName()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Fenwir_Lite.lock"));
}

bool InstanceLock::TryLock()
{
    return d->lock.tryLock(0);
}
