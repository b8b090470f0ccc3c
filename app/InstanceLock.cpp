#include "InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString& path) : m_lock(std::make_unique<QLockFile>(path))
{
    // Only a live process holds the lock; age alone never makes it stale.
    m_lock->setStaleLockTime(0);
}

QString InstanceLock::DefaultPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Fenwir_Lite.lock"));
}

bool InstanceLock::TryLock()
{
    return m_lock->tryLock(0);
}
