#include "InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <vector>
#include <windows.h>

// A named pipe of the user's own (Qt's local socket, whose security
// descriptor lets the user alone in). A message is one line of UTF-8:
// "open\t<percent-encoded absolute path>\n" or "raise\n"; the running copy
// answers "ok\n" once it has taken it.
namespace
{
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kConnectAttempts = 10;
constexpr int kConnectTimeoutMs = 300;
// A later start writes its message as soon as it is connected.
constexpr int kIdleTimeoutMs = 3000;
constexpr qsizetype kLongestMessage = 16 * 1024;

// The user a process runs as.
std::vector<char> ProcessUser(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        user.clear();
    CloseHandle(token);
    return user;
}

// Whether the end of this pipe that listens is a process of this user in
// this session: names of pipes are open to every user of the machine, and
// a file is handed to none but our own running copy.
bool ServedByOurOwn(HANDLE pipe)
{
    ULONG serverId = 0;
    DWORD serverSession = 0;
    DWORD ourSession = 0;
    if (!GetNamedPipeServerProcessId(pipe, &serverId) ||
        !ProcessIdToSessionId(serverId, &serverSession) ||
        !ProcessIdToSessionId(GetCurrentProcessId(), &ourSession) || serverSession != ourSession)
        return false;
    HANDLE server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, serverId);
    if (!server)
        return false;
    const std::vector<char> theirs = ProcessUser(server);
    CloseHandle(server);
    const std::vector<char> ours = ProcessUser(GetCurrentProcess());
    return !theirs.empty() && !ours.empty() &&
           EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs.data())->User.Sid,
                    reinterpret_cast<const TOKEN_USER*>(ours.data())->User.Sid);
}

// Reads one message from a later start and takes it; anything else is
// dropped with the connection. What came before the connection was wired up
// is read too.
void Serve(QLocalSocket* socket, InstanceChannel& channel)
{
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // One that says nothing in time holds a pipe instance for nothing.
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
    idle->start(kIdleTimeoutMs);
    const auto read = [socket, &channel] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kLongestMessage)
                socket->abort();
            return;
        }
        const QString line = QString::fromUtf8(socket->readLine(kLongestMessage)).chopped(1);
        const bool raise = line == QLatin1String("raise");
        const bool open = line.startsWith(QLatin1String("open\t"));
        if (raise || open) {
            socket->write("ok\n");
            socket->flush();
            // From the event loop, once this read is over: the receiver may
            // ask the user first while the later start hangs up.
            const QString file =
                open ? QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5).toLatin1()))
                     : QString();
            InstanceChannel* receiver = &channel;
            QMetaObject::invokeMethod(
                receiver, [receiver, file] { Q_EMIT receiver->Received(file); },
                Qt::QueuedConnection);
        }
        socket->disconnectFromServer();
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
    QMetaObject::invokeMethod(socket, read, Qt::QueuedConnection);
}
} // namespace

struct InstanceChannel::Private {
    QLocalServer server;
};

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
}

InstanceChannel::~InstanceChannel() = default;

// Pipes are seen by every session of the machine, the mutex by one: the
// name is the session's and the user's.
QString InstanceChannel::DefaultName()
{
    wchar_t user[256];
    DWORD size = sizeof user / sizeof user[0];
    const QString who = GetUserNameW(user, &size) ? QString::fromWCharArray(user) : QString();
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return QStringLiteral("Fenwir_Lite-%1-%2").arg(session).arg(who);
}

bool InstanceChannel::Listen(const QString& name)
{
    if (d->server.isListening())
        return false;
    d->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!d->server.listen(name))
        return false;
    connect(&d->server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = d->server.nextPendingConnection())
            Serve(socket, *this);
    });
    return true;
}

bool InstanceChannel::Send(const QString& file, const QString& name)
{
    QLocalSocket socket;
    // The running copy opens its channel a moment after it takes the lock.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        socket.abort();
        socket.connectToServer(name);
        if (socket.waitForConnected(kConnectTimeoutMs))
            break;
        Sleep(kConnectTimeoutMs);
    }
    if (socket.state() != QLocalSocket::ConnectedState ||
        !ServedByOurOwn(reinterpret_cast<HANDLE>(socket.socketDescriptor())))
        return false;
    const QByteArray message =
        file.isEmpty()
            ? QByteArray("raise\n")
            : "open\t" + QFileInfo(file).absoluteFilePath().toUtf8().toPercentEncoding() + '\n';
    socket.write(message);
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return false;
    while (!socket.canReadLine() && socket.waitForReadyRead(kAnswerTimeoutMs)) {
    }
    return socket.readLine(4) == "ok\n";
}
