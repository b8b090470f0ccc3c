#include "UsbSocketServer.h"

#include "UsbDeviceEmulator.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
bool SendAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = ::send(fd, bytes.constData() + done,
                                    static_cast<std::size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        done += sent;
    }
    return true;
}

bool ReceiveAll(int fd, char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::recv(fd, buffer + done, size - done, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}
} // namespace

UsbSocketServer::UsbSocketServer(UsbDeviceEmulator& device, QString path)
    : m_device(device), m_path(std::move(path))
{
}

UsbSocketServer::~UsbSocketServer()
{
    if (m_listener >= 0) {
        ::close(m_listener);
        QFile::remove(m_path);
    }
    for (int fd : m_wake)
        if (fd >= 0)
            ::close(fd);
}

QByteArray UsbSocketServer::Message(const QByteArray& bytes)
{
    QByteArray message(4, '\0');
    qToLittleEndian(static_cast<std::uint32_t>(bytes.size()), message.data());
    return message + bytes;
}

bool UsbSocketServer::Listen()
{
    const QByteArray path = m_path.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path ||
        ::pipe(m_wake) != 0)
        return false;
    std::copy(path.begin(), path.end(), address.sun_path);
    QFile::remove(m_path);
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return m_listener >= 0 &&
           ::bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           ::listen(m_listener, 4) == 0;
}

void UsbSocketServer::Stop()
{
    m_stopped = true;
    if (m_wake[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &byte, 1);
    }
}

bool UsbSocketServer::WaitReadable(int fd)
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    while (!m_stopped) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || (fds[1].revents & POLLIN) != 0)
            return false;
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            return true;
    }
    return false;
}

void UsbSocketServer::Serve()
{
    while (!m_stopped && !m_device.Vanished() && WaitReadable(m_listener)) {
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        ++m_connections;
        ServeConnection(connection);
        ::close(connection);
    }
}

void UsbSocketServer::ServeConnection(int connection)
{
    QByteArray ids(4, '\0');
    qToLittleEndian(m_device.Vendor(), ids.data());
    qToLittleEndian(m_device.Product(), ids.data() + 2);
    if (!SendAll(connection, Message(ids)))
        return;
    while (WaitReadable(connection)) {
        char length[4];
        if (!ReceiveAll(connection, length, sizeof length))
            return; // the module closed the connection
        const std::uint32_t size = qFromLittleEndian<std::uint32_t>(length);
        if (size > 65536)
            return;
        QByteArray out(static_cast<qsizetype>(size), '\0');
        if (size > 0 && !ReceiveAll(connection, out.data(), size))
            return;
        for (const QByteArray& in : m_device.Receive(out))
            if (!SendAll(connection, Message(in)))
                return;
        if (m_device.Vanished())
            return;
    }
}
