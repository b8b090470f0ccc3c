#pragma once

#include <QString>
#include <memory>

// The one running copy of the program for this user. On Linux a lock file
// in the user's runtime folder, which a copy that crashed leaves behind
// without it counting; on Windows the named mutex "Fenwir_Lite", which the
// system drops with the process that held it.
class InstanceLock
{
public:
    explicit InstanceLock(const QString& name = DefaultName());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another copy holds the lock.
    bool TryLock();
    // The lock file's path (Linux), the mutex's name (Windows).
    static QString DefaultName();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
