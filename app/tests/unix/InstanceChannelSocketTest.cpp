#include "InstanceChannel.h"
#include "SendWhileListening.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// What is not a message of ours is dropped; the channel goes on listening.
TEST(InstanceChannel, GarbageIsIgnored)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    int received = 0;
    QObject::connect(&channel, &InstanceChannel::Received, [&] { ++received; });
    for (const QByteArray& garbage : {QByteArray("delete\t/\n"), QByteArray(20000, 'x')}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = name.toUtf8();
        std::copy(path.begin(), path.end(), address.sun_path);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_GT(::write(fd, garbage.constData(), static_cast<std::size_t>(garbage.size())), 0);
        ::shutdown(fd, SHUT_WR);
        // The running copy closes such a connection without an answer.
        char answer = 0;
        pollfd closed{fd, POLLIN, 0};
        do
            QCoreApplication::processEvents();
        while (::poll(&closed, 1, 1) == 0);
        EXPECT_EQ(::recv(fd, &answer, 1, 0), 0);
        ::close(fd);
    }
    EXPECT_EQ(received, 0);
    EXPECT_TRUE(SendWhileListening(dir.filePath("a.ent"), name));
    EXPECT_EQ(received, 1);
}
