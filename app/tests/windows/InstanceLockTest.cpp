#include "InstanceLock.h"

#include <QUuid>
#include <gtest/gtest.h>

// The named mutex: a second copy is refused while the first runs, and the
// name is free again once the first has ended (as the system frees it when
// the process that held it dies).
TEST(InstanceLock, SecondCopyIsRefusedUntilTheFirstEnds)
{
    const QString name = QStringLiteral("Fenwir_Lite-test-%1").arg(QUuid::createUuid().toString());
    {
        InstanceLock first(name);
        ASSERT_TRUE(first.TryLock());
        EXPECT_TRUE(first.TryLock()); // asking again keeps it
        InstanceLock second(name);
        EXPECT_FALSE(second.TryLock());
    }
    InstanceLock afterwards(name);
    EXPECT_TRUE(afterwards.TryLock());
    EXPECT_EQ(InstanceLock::DefaultName(), "Fenwir_Lite");
}
