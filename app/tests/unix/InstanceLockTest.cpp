#include "InstanceLock.h"

#include "InstanceChannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// An environment variable set (or unset) for one test, then as it was.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const std::optional<QByteArray>& value)
        : m_name(name),
          m_old(qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                : std::nullopt)
    {
        Set(value);
    }
    ~ScopedVariable() { Set(m_old); }

private:
    void Set(const std::optional<QByteArray>& value)
    {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }

    const char* m_name;
    std::optional<QByteArray> m_old;
};
} // namespace

TEST(InstanceLock, SecondCopyIsRefusedAStaleLockIsNot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Fenwir_Lite.lock");
    InstanceLock first(path);
    ASSERT_TRUE(first.TryLock());
    InstanceLock second(path);
    EXPECT_FALSE(second.TryLock());
    EXPECT_EQ(second.Problem(), "");

    // A lock left by a process that no longer exists (a crash) is taken over.
    const QString stale = dir.filePath("stale.lock");
    {
        QFile file(stale);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(2'000'000'000) + "\nfenwir\n" +
                   QHostInfo::localHostName().toUtf8() + "\n");
    }
    InstanceLock afterCrash(stale);
    EXPECT_TRUE(afterCrash.TryLock());
}

// Without a runtime folder of the session, the lock and the socket go into a
// folder of the user's own in the temp folder, never into the shared temp
// folder itself; a folder there that is not the user's alone is refused, and
// the user is told why.
TEST(InstanceLock, OnlyAFolderOfTheUsersAloneHoldsTheLock)
{
    QTemporaryDir temp;
    QTemporaryDir elsewhere; // 0700, the user's
    const ScopedVariable tmp("TMPDIR", temp.path().toLocal8Bit());
    const ScopedVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
    const QString lockPath = InstanceLock::DefaultName();
    const QString own = QFileInfo(lockPath).absolutePath();
    ASSERT_EQ(QFileInfo(own).absolutePath(), QFileInfo(temp.path()).absoluteFilePath())
        << lockPath.toStdString();
    struct stat made {
    };
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &made), 0);
    EXPECT_EQ(made.st_mode & 07777, 0700u);
    EXPECT_EQ(made.st_uid, ::geteuid());
    EXPECT_EQ(QFileInfo(InstanceChannel::DefaultName()).absolutePath(), own);
    {
        InstanceLock lock;
        EXPECT_TRUE(lock.TryLock());
        EXPECT_TRUE(QFileInfo::exists(lockPath));
    }

    const QString open = temp.filePath("open");
    ASSERT_TRUE(QDir().mkdir(open));
    ::chmod(QFile::encodeName(open).constData(), 0755);
    struct Case {
        const char* what;
        std::function<bool()> prepare;
        std::optional<QByteArray> runtimeFolder;
        const char* said;
    };
    const Case cases[] = {
        {"open to others", [&] { return ::chmod(QFile::encodeName(own).constData(), 0755) == 0; },
         std::nullopt, "はほかのユーザーも使えます（アクセス権 755）。"},
        {"another user's",
         [&] {
             return ::geteuid() == 0 &&
                    ::chown(QFile::encodeName(own).constData(), 65534, 65534) == 0;
         },
         std::nullopt, "の所有者がほかのユーザー (UID 65534) です。"},
        {"a link to a folder of the user's",
         [&] { return QDir(own).removeRecursively() && QFile::link(elsewhere.path(), own); },
         std::nullopt, "はフォルダーではありません。"},
        {"the session's, open to others", [] { return true; }, QFile::encodeName(open),
         "はほかのユーザーも使えます（アクセス権 755）。"},
    };
    for (const Case& c : cases) {
        QFile::remove(own);
        QDir(own).removeRecursively();
        ASSERT_TRUE(QDir().mkdir(own)) << c.what;
        ::chmod(QFile::encodeName(own).constData(), 0700);
        if (!c.prepare()) {
            std::cout << "not tried here: " << c.what << "\n";
            continue;
        }
        const ScopedVariable session("XDG_RUNTIME_DIR", c.runtimeFolder);
        InstanceLock lock;
        EXPECT_FALSE(lock.TryLock()) << c.what;
        EXPECT_TRUE(lock.Problem().contains(c.said))
            << c.what << ": " << lock.Problem().toStdString();
        EXPECT_EQ(InstanceLock::DefaultName(), "") << c.what;
        EXPECT_EQ(InstanceChannel::DefaultName(), "") << c.what;
        InstanceChannel channel;
        EXPECT_FALSE(channel.Listen()) << c.what;
        // Nothing of ours lands anywhere else.
        EXPECT_EQ(
            QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            (QStringList{QFileInfo(own).fileName(), "open"}))
            << c.what;
    }
}
