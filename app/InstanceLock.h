#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// The one running copy of the program for this user: a lock file in the
// user's runtime folder. A lock left by a copy that crashed does not count.
class InstanceLock
{
public:
    explicit InstanceLock(const QString& path = DefaultPath());

    // False when another copy holds the lock.
    bool TryLock();
    static QString DefaultPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
