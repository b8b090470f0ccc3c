#include "InstanceChannel.h"
#include "SendWhileListening.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
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

namespace
{
int ConnectTo(const QString& name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = name.toUtf8();
    std::copy(path.begin(), path.end(), address.sun_path);
    return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

// Runs the event loop until fd has something to read or its peer hung up;
// false when that has not happened within a generous bound.
bool ProcessEventsUntilReadable(int fd)
{
    QDeadlineTimer bound(20'000);
    pollfd ready{fd, POLLIN, 0};
    while (!bound.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (::poll(&ready, 1, 0) == 1)
            return true;
    }
    return false;
}
} // namespace

// A connection that never says anything is closed in time: it does not hold
// one of the running copy's descriptors for good.
TEST(InstanceChannel, AnIdleConnectionIsClosed)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    // One says nothing, one half a message.
    const int silent = ConnectTo(name);
    const int halfway = ConnectTo(name);
    ASSERT_GE(silent, 0);
    ASSERT_GE(halfway, 0);
    ASSERT_EQ(::write(halfway, "open\t/tmp/a", 11), 11);
    for (const int fd : {silent, halfway}) {
        ASSERT_TRUE(ProcessEventsUntilReadable(fd));
        char answer = 0;
        EXPECT_EQ(::recv(fd, &answer, 1, 0), 0);
        ::close(fd);
    }
    EXPECT_TRUE(SendWhileListening(dir.filePath("a.ent"), name));
}

// When a later start's connection cannot be taken (the running copy has no
// descriptor left), the event loop does not turn round and round trying
// again; once descriptors are free, the start is served.
TEST(InstanceChannel, AFailingAcceptDoesNotSpin)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("channel");
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    QStringList received;
    QObject::connect(&channel, &InstanceChannel::Received,
                     [&](const QString& file) { received << file; });
    // What is pending now is settled first, while descriptors are at hand
    // (the sanitizers' checks of this call need one too).
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
    while (dispatcher->processEvents(QEventLoop::AllEvents)) {
    }
    const int fd = ConnectTo(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "raise\n", 6), 6);

    rlimit kept{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &kept), 0);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit none = kept;
    none.rlim_cur = static_cast<rlim_t>(lowestFree); // the next descriptor is one too many
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    // Each turn that handled something; a spinning channel never lets it rest.
    int busyTurns = 0;
    while (busyTurns < 1000 && dispatcher->processEvents(QEventLoop::AllEvents))
        ++busyTurns;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &kept), 0);
    EXPECT_LT(busyTurns, 10);

    ASSERT_TRUE(ProcessEventsUntilReadable(fd));
    char answer[3] = {};
    EXPECT_EQ(::recv(fd, answer, sizeof answer, MSG_WAITALL), 3);
    EXPECT_EQ(QByteArray(answer, 3), "ok\n");
    ::close(fd);
    QCoreApplication::processEvents();
    EXPECT_EQ(received, QStringList{QString()});
}
