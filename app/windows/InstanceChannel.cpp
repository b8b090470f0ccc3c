#include "InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <windows.h>

// A named pipe of the user's own (Qt's local socket). A message is one line
// of UTF-8: "open\t<percent-encoded absolute path>\n" or "raise\n"; the
// running copy answers "ok\n" once it has taken it.
namespace
{
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kConnectAttempts = 10;
constexpr int kConnectTimeoutMs = 300;
constexpr qsizetype kLongestMessage = 16 * 1024;

// Reads one message from a later start and takes it; anything else is
// dropped with the connection. What came before the connection was wired up
// is read too.
void Serve(QLocalSocket* socket, InstanceChannel& channel)
{
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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

// Pipes are seen by every session of the machine: the name is the user's.
QString InstanceChannel::DefaultName()
{
    wchar_t user[256];
    DWORD size = sizeof user / sizeof user[0];
    const QString who = GetUserNameW(user, &size) ? QString::fromWCharArray(user) : QString();
    return QStringLiteral("Fenwir_Lite-%1").arg(who);
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
    if (socket.state() != QLocalSocket::ConnectedState)
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
