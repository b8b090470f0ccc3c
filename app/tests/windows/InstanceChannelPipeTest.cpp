#include "InstanceChannel.h"
#include "SendWhileListening.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QUuid>
#include <aclapi.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

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

namespace
{
QString UniqueName()
{
    return QStringLiteral("Fenwir_Lite-test-%1").arg(QUuid::createUuid().toString());
}

std::vector<char> OurUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        user.clear();
    CloseHandle(token);
    return user;
}
} // namespace

// Pipe names are the machine's, the mutex is the session's: the pipe is
// named after the session and the user, and lets in the user alone.
TEST(InstanceChannel, ThePipeIsTheSessionsAndTheUsersAlone)
{
    DWORD session = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
    EXPECT_TRUE(
        InstanceChannel::DefaultName().startsWith(QStringLiteral("Fenwir_Lite-%1-").arg(session)))
        << InstanceChannel::DefaultName().toStdString();

    const QString name = UniqueName();
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    const std::wstring path = (QStringLiteral("\\\\.\\pipe\\") + name).toStdWString();
    HANDLE pipe = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(pipe, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr); // no list at all would let everyone in
    const std::vector<char> user = OurUser();
    ASSERT_FALSE(user.empty());
    int allowed = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &ace));
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        ++allowed;
        auto* allowedAce = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_TRUE(EqualSid(&allowedAce->SidStart,
                             reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid))
            << "entry " << i << " lets in someone else";
    }
    EXPECT_GE(allowed, 1);
    LocalFree(descriptor);
    CloseHandle(pipe);
}

// A connection that never says anything is closed in time.
TEST(InstanceChannel, AnIdleConnectionIsClosed)
{
    const QString name = UniqueName();
    InstanceChannel channel;
    ASSERT_TRUE(channel.Listen(name));
    QLocalSocket socket;
    socket.connectToServer(name);
    while (socket.state() == QLocalSocket::ConnectingState)
        QCoreApplication::processEvents();
    ASSERT_EQ(socket.state(), QLocalSocket::ConnectedState);
    socket.write("open\t");
    QDeadlineTimer bound(20'000);
    while (socket.state() == QLocalSocket::ConnectedState && !bound.hasExpired()) {
        QCoreApplication::processEvents();
        socket.waitForReadyRead(1);
    }
    EXPECT_NE(socket.state(), QLocalSocket::ConnectedState);
    EXPECT_EQ(socket.readAll(), QByteArray());
    EXPECT_TRUE(SendWhileListening(QStringLiteral("C:/a.ent"), name));
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
