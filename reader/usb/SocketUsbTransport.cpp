#include "SocketUsbTransport.h"

#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Once a message has begun, the rest of it comes at once; a peer that stops
// half-way within this time is broken.
constexpr int kRestOfMessageMs = 1000;
} // namespace

SocketUsbTransport::~SocketUsbTransport()
{
    ::close(m_socket);
}

bool SocketUsbTransport::Write(const QByteArray& frame, int)
{
    QByteArray message(4, '\0');
    qToLittleEndian(static_cast<std::uint32_t>(frame.size()), message.data());
    message += frame;
    qsizetype done = 0;
    while (done < message.size()) {
        const ssize_t sent = ::send(m_socket, message.constData() + done,
                                    static_cast<std::size_t>(message.size() - done), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        done += sent;
    }
    return true;
}

UsbTransport::Status SocketUsbTransport::ReadExactly(char* buffer, std::size_t size,
                                                     std::int64_t deadline)
{
    std::size_t done = 0;
    while (done < size) {
        pollfd ready{m_socket, POLLIN, 0};
        const int wait = static_cast<int>(std::max<std::int64_t>(deadline - Now(), 0));
        const int polled = ::poll(&ready, 1, wait);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled < 0)
            return Status::Failed;
        if (polled == 0)
            return done == 0 ? Status::Timeout : Status::Failed;
        const ssize_t got = ::recv(m_socket, buffer + done, size - done, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Status::Failed; // the device is gone
        done += static_cast<std::size_t>(got);
    }
    return Status::Ok;
}

UsbTransport::Status SocketUsbTransport::ReadBytes(QByteArray& bytes, std::size_t size,
                                                   int timeoutMs)
{
    bytes = QByteArray(static_cast<qsizetype>(size), '\0');
    const Status status = ReadExactly(bytes.data(), size, Now() + timeoutMs);
    if (status != Status::Ok)
        bytes.clear();
    return status;
}

UsbTransport::Status SocketUsbTransport::Read(QByteArray& frame, int maxSize, int timeoutMs)
{
    frame.clear();
    char length[4];
    const Status started = ReadExactly(length, sizeof length, Now() + timeoutMs);
    if (started != Status::Ok)
        return started;
    const std::uint32_t size = qFromLittleEndian<std::uint32_t>(length);
    if (size > kMaxMessage)
        return Status::Failed;
    QByteArray message(static_cast<qsizetype>(size), '\0');
    if (size > 0 && ReadExactly(message.data(), size, Now() + kRestOfMessageMs) != Status::Ok)
        return Status::Failed;
    // On USB a longer answer than the buffer is an overflow.
    if (message.size() > maxSize)
        return Status::Failed;
    frame = message;
    return Status::Ok;
}
