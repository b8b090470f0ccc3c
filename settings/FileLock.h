#pragma once

#include <QLockFile>
#include <QString>

// One change of a file that several programs may change at once (the
// desktop program, the command line, another PC on a shared folder): held
// from reading the file as it is now until its new content is published.
// The lock is the file "<file>.lock" beside it; one left by a process that
// has died is taken over. Waiting is bounded: a file that stays busy is
// reported, never written.
class FileLock
{
public:
    explicit FileLock(const QString& file);

    // Waits for the lock; false with the reason in the user's words.
    bool Lock(QString* error);
    // Called after the change is made and before it is published.
    void BeforePublish() const;

    // The message for a file that another program is changing.
    static QString BusyMessage(const QString& file);

private:
    QString m_file;
    QLockFile m_lock;
};
