#pragma once

#include <QString>
#include <memory>

// The one running copy of the program for this user. On Linux a lock file
// in a folder of the user's alone (see RuntimeFolder), which a copy that
// crashed leaves behind without it counting; on Windows the named mutex
// "Fenwir_Lite" of the user's session, which the system drops with the
// process that held it.
class InstanceLock
{
public:
    // The lock of DefaultName.
    InstanceLock();
    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another copy holds the lock, or when it cannot be taken at
    // all (then Problem says why).
    bool TryLock();
    // Why the lock cannot be taken at all, in the user's words (its folder
    // is not the user's alone, or no lock can be made there); empty when
    // another copy holds it or it is ours.
    QString Problem() const;
    // The lock file's path (Linux; empty when its folder is refused), the
    // mutex's name (Windows).
    static QString DefaultName();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
