#include "FileLock.h"

#include "FileWriter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <chrono>

namespace
{
using namespace std::chrono_literals;

// A change takes a fraction of a second; a lock older than this was left by
// a program that stopped on another machine, whose process cannot be asked.
constexpr auto kStaleAfter = 5min;
constexpr auto kWait = 10s;

std::chrono::milliseconds WaitBound()
{
    // Tests shorten the wait to see a busy file refused at once.
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("FENWIR_LOCK_WAIT_MS", &ok);
    return ok && ms >= 0 ? std::chrono::milliseconds(ms) : kWait;
}

// Tests make a race certain through FENWIR_TEST_HOLD=<prefix>: the program
// creates <prefix>.waiting when it finds the lock taken, and <prefix>.held
// before it publishes, and then waits for <prefix>.go to appear.
QString TestHold()
{
    return qEnvironmentVariable("FENWIR_TEST_HOLD");
}

void Announce(const QString& prefix, const char* event)
{
    QFile marker(prefix + QLatin1Char('.') + QLatin1String(event));
    marker.open(QIODevice::WriteOnly);
}
} // namespace

FileLock::FileLock(const QString& file) : m_file(file), m_lock(file + QStringLiteral(".lock"))
{
    m_lock.setStaleLockTime(kStaleAfter);
}

QString FileLock::BusyMessage(const QString& file)
{
    return QStringLiteral("ファイル %1 は別のプログラムが書き込み中です。"
                          "少し待ってから、もう一度お試しください。")
        .arg(QDir::toNativeSeparators(file));
}

bool FileLock::Lock(QString* error)
{
    if (m_lock.tryLock(0ms))
        return true;
    if (m_lock.error() == QLockFile::LockFailedError) {
        if (const QString prefix = TestHold(); !prefix.isEmpty())
            Announce(prefix, "waiting");
        if (m_lock.tryLock(WaitBound()))
            return true;
    }
    if (error) {
        if (m_lock.error() == QLockFile::LockFailedError)
            *error = BusyMessage(m_file);
        else
            *error = FileWriter::WriteFailedMessage(
                m_file, QStringLiteral("ロックファイル %1.lock を作れません").arg(m_file));
    }
    return false;
}

void FileLock::BeforePublish() const
{
    const QString prefix = TestHold();
    if (prefix.isEmpty())
        return;
    Announce(prefix, "held");
    const QString go = prefix + QStringLiteral(".go");
    for (QDeadlineTimer deadline(60s); !QFile::exists(go) && !deadline.hasExpired();)
        QThread::msleep(5);
}
