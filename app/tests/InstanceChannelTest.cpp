#include "InstanceChannel.h"

#include "SendWhileListening.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A later start's file reaches the running copy whole, with its absolute
// path, whatever characters its name holds.
TEST(InstanceChannel, ALaterStartHandsOverItsFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    QStringList received;
    QObject::connect(&channel, &InstanceChannel::Received,
                     [&](const QString& file) { received << file; });

    const QString odd = dir.filePath("11月\n𠮷野家 100%.ent");
    EXPECT_TRUE(SendWhileListening(odd, name));
    EXPECT_TRUE(SendWhileListening(QString(), name)); // only to the front
    const QString relative = QStringLiteral("claim.ent");
    EXPECT_TRUE(SendWhileListening(relative, name));
    EXPECT_EQ(received, (QStringList{odd, QString(), QDir::current().absoluteFilePath(relative)}));
}
