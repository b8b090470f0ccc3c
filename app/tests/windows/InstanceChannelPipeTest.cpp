#include "InstanceChannel.h"
#include "SendWhileListening.h"

#include <QLocalSocket>
#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

// What is not a message of ours is dropped without an answer; the channel
// goes on listening.
TEST(InstanceChannel, GarbageIsIgnored)
{
    const QString name = QStringLiteral("Fenwir_Lite-test-%1").arg(QUuid::createUuid().toString());
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    int received = 0;
    QObject::connect(&channel, &InstanceChannel::Received, [&] { ++received; });
    for (const QByteArray& garbage : {QByteArray("delete\t/\n"), QByteArray(20000, 'x')}) {
        QLocalSocket socket;
        socket.connectToServer(name);
        while (socket.state() == QLocalSocket::ConnectingState)
            QCoreApplication::processEvents();
        ASSERT_EQ(socket.state(), QLocalSocket::ConnectedState);
        socket.write(garbage);
        // The running copy closes such a connection without an answer.
        while (socket.state() == QLocalSocket::ConnectedState) {
            QCoreApplication::processEvents();
            socket.waitForReadyRead(1);
        }
        EXPECT_EQ(socket.readAll(), QByteArray());
    }
    EXPECT_EQ(received, 0);
    EXPECT_TRUE(SendWhileListening(QStringLiteral("C:/a.ent"), name));
    EXPECT_EQ(received, 1);
}

// A name another channel holds is not taken over; once that channel is gone,
// the name is free again.
TEST(InstanceChannel, ANameIsHeldByOneChannel)
{
    const QString name = QStringLiteral("Fenwir_Lite-test-%1").arg(QUuid::createUuid().toString());
    auto first = std::make_unique<InstanceChannel>();
    ASSERT_TRUE(first->Listen(name));
    InstanceChannel second;
    EXPECT_FALSE(second.Listen(name));
    first.reset();
    EXPECT_TRUE(second.Listen(name));
    int received = 0;
    QObject::connect(&second, &InstanceChannel::Received, [&] { ++received; });
    EXPECT_TRUE(SendWhileListening(QString(), name));
    EXPECT_EQ(received, 1);
}
