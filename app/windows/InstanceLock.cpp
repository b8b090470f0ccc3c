#include "InstanceLock.h"

#include <string>
#include <windows.h>

struct InstanceLock::Private {
    std::wstring name;
    HANDLE mutex = nullptr;
};

InstanceLock::InstanceLock() : InstanceLock(DefaultName()) {}

InstanceLock::InstanceLock(const QString& name) : d(std::make_unique<Private>())
{
    d->name = name.toStdWString();
}

InstanceLock::~InstanceLock()
{
    if (d->mutex) {
        ReleaseMutex(d->mutex);
        CloseHandle(d->mutex);
    }
}

// The system keeps the mutex: nothing of the user's can be refused.
QString InstanceLock::Problem() const
{
    return QString();
}

// Without a prefix, the name is the user's session's.
QString InstanceLock::DefaultName()
{
    return QStringLiteral("Fenwir_Lite");
}

// Created owned; a mutex that already existed belongs to a running copy.
bool InstanceLock::TryLock()
{
    if (d->mutex)
        return true;
    HANDLE mutex = CreateMutexW(nullptr, TRUE, d->name.c_str());
    if (!mutex)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    d->mutex = mutex;
    return true;
}
