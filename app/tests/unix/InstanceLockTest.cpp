#include "InstanceLock.h"

#include <QFile>
#include <QHostInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(InstanceLock, SecondCopyIsRefusedAStaleLockIsNot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Fenwir_Lite.lock");
    InstanceLock first(path);
    ASSERT_TRUE(first.TryLock());
    InstanceLock second(path);
    EXPECT_FALSE(second.TryLock());

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
