#include "InstanceChannel.h"

#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// A message is one line of UTF-8: "open\t<absolute path>\n" or "raise\n";
// the running copy answers "ok\n" once it has taken it.
namespace
{
constexpr int kAnswerTimeoutMs = 5000;
// A later start writes its message as soon as it is connected.
constexpr int kIdleTimeoutMs = 3000;
// How long the channel stops taking connections when it cannot take one.
constexpr int kAcceptPauseMs = 500;
constexpr qsizetype kLongestMessage = 16 * 1024;

bool Address(const QString& name, sockaddr_un& address)
{
    const QByteArray path = QFile::encodeName(name);
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// Waits for fd to be ready for `events` until the deadline (ms).
bool WaitFor(int fd, short events, int milliseconds)
{
    pollfd ready{fd, events, 0};
    int result;
    do
        result = ::poll(&ready, 1, milliseconds);
    while (result < 0 && errno == EINTR);
    return result == 1;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::send(fd, bytes.constData() + done,
                                       static_cast<std::size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// The running copy opens its channel a moment after it takes the lock: a
// start in that moment waits for it.
bool ConnectSoon(int fd, const sockaddr_un& address)
{
    for (int attempt = 0; attempt < 30; ++attempt) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return true;
        if (errno != ENOENT && errno != ECONNREFUSED && errno != EINTR)
            return false;
        ::usleep(100'000);
    }
    return false;
}

// One later start's connection: its message is read as it comes.
class Connection : public QObject
{
public:
    Connection(int fd, InstanceChannel& channel)
        : QObject(&channel), m_fd(fd), m_channel(channel),
          m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::Read);
        // One that says nothing in time holds a descriptor for nothing.
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, this, &Connection::Close);
        m_idle.start(kIdleTimeoutMs);
    }
    ~Connection() override { ::close(m_fd); }

private:
    void Read()
    {
        char buffer[4096];
        const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (got <= 0 || m_message.size() + got > kLongestMessage) {
            Close();
            return;
        }
        m_message.append(buffer, got);
        const qsizetype end = m_message.indexOf('\n');
        if (end < 0)
            return;
        const QString line = QString::fromUtf8(m_message.left(end));
        if (line == QLatin1String("raise")) {
            Take(QString());
        } else if (line.startsWith(QLatin1String("open\t"))) {
            Take(QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5).toLatin1())));
        }
        Close();
    }

    void Take(const QString& file)
    {
        WriteAll(m_fd, "ok\n");
        // From the event loop, once this read is over: the receiver may ask
        // the user first, and the later start's hang-up must not reach this
        // connection inside that question.
        InstanceChannel* channel = &m_channel;
        QMetaObject::invokeMethod(
            channel, [channel, file] { Q_EMIT channel->Received(file); }, Qt::QueuedConnection);
    }

    void Close()
    {
        m_idle.stop();
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_fd;
    InstanceChannel& m_channel;
    QSocketNotifier m_notifier;
    QTimer m_idle;
    QByteArray m_message;
};

// Takes one waiting connection. When none can be taken (no descriptor or
// memory left) the waiting one stays readable: the channel stops listening
// for a moment rather than trying again at once, round after round. Without
// the type check of the undefined-behaviour sanitizer: with no descriptor
// left it cannot open the pipe it reads memory through, and calls every
// object it checks here invalid.
__attribute__((no_sanitize("vptr"))) void Accept(int fd, QSocketNotifier& listening,
                                                 InstanceChannel& channel)
{
    const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client >= 0) {
        new Connection(client, channel);
        return;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED)
        return;
    listening.setEnabled(false);
    QTimer::singleShot(kAcceptPauseMs, &listening, [&listening] { listening.setEnabled(true); });
}
} // namespace

struct InstanceChannel::Private {
    int fd = -1;
    QString path;
    std::unique_ptr<QSocketNotifier> notifier;
};

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
}

InstanceChannel::~InstanceChannel()
{
    d->notifier.reset();
    if (d->fd >= 0) {
        ::close(d->fd);
        ::unlink(QFile::encodeName(d->path).constData());
    }
}

QString InstanceChannel::DefaultName()
{
    const QString folder = RuntimeFolder::Find();
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QStringLiteral("Fenwir_Lite.socket"));
}

bool InstanceChannel::Listen(const QString& name)
{
    sockaddr_un address{};
    if (d->fd >= 0 || !Address(name, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // The caller holds the instance lock: a socket left here is a crashed
    // copy's.
    ::unlink(address.sun_path);
    const mode_t mask = ::umask(0077); // the user's alone
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 4) != 0) {
        ::close(fd);
        return false;
    }
    d->fd = fd;
    d->path = name;
    d->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(d->notifier.get(), &QSocketNotifier::activated, this,
            [this] { Accept(d->fd, *d->notifier, *this); });
    return true;
}

bool InstanceChannel::Send(const QString& file, const QString& name)
{
    sockaddr_un address{};
    if (!Address(name, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const QByteArray message =
        file.isEmpty()
            ? QByteArray("raise\n")
            : "open\t" + QFileInfo(file).absoluteFilePath().toUtf8().toPercentEncoding() + '\n';
    bool taken =
        ConnectSoon(fd, address) && WriteAll(fd, message) && WaitFor(fd, POLLIN, kAnswerTimeoutMs);
    if (taken) {
        char answer[3] = {};
        taken = ::recv(fd, answer, sizeof answer, MSG_WAITALL) == 3 &&
                std::memcmp(answer, "ok\n", 3) == 0;
    }
    ::close(fd);
    return taken;
}
