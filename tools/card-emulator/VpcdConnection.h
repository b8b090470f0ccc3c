#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

// The virtual card's side of the vpcd protocol: messages are a two-byte
// big-endian length and the bytes; one-byte messages are power off (0),
// power on (1), reset (2) and ATR request (4).
class VpcdConnection
{
public:
    ~VpcdConnection();

    // Keeps trying until vpcd listens or the attempts run out.
    bool Connect(std::uint16_t port, int attempts);
    std::optional<QByteArray> Receive();
    bool Send(const QByteArray& message);
    void Close();

private:
    bool ReadExactly(char* buffer, std::size_t size);

    int m_socket = -1;
};
