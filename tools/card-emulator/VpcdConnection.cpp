#include "VpcdConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

VpcdConnection::~VpcdConnection()
{
    Close();
}

void VpcdConnection::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

bool VpcdConnection::Connect(std::uint16_t port, int attempts)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < attempts; ++i) {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_socket >= 0 &&
            ::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const int on = 1;
            ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return true;
        }
        Close();
        // pcscd opens the port when it loads the reader driver; wait for it.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool VpcdConnection::ReadExactly(char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        // vpcd writes the length and the body separately: acknowledge at once,
        // or every exchange waits for a delayed ACK.
        const int on = 1;
        ::setsockopt(m_socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        const ssize_t got = ::recv(m_socket, buffer + done, size - done, 0);
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

std::optional<QByteArray> VpcdConnection::Receive()
{
    unsigned char length[2];
    if (!ReadExactly(reinterpret_cast<char*>(length), 2))
        return std::nullopt;
    QByteArray message(length[0] << 8 | length[1], '\0');
    if (!message.isEmpty() &&
        !ReadExactly(message.data(), static_cast<std::size_t>(message.size())))
        return std::nullopt;
    return message;
}

bool VpcdConnection::Send(const QByteArray& message)
{
    QByteArray framed;
    framed.append(static_cast<char>((message.size() >> 8) & 0xFF));
    framed.append(static_cast<char>(message.size() & 0xFF));
    framed.append(message);
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(framed.size())) {
        const ssize_t sent = ::send(m_socket, framed.constData() + done,
                                    static_cast<std::size_t>(framed.size()) - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += static_cast<std::size_t>(sent);
    }
    return true;
}
