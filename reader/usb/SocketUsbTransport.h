#pragma once

#include "UsbTransport.h"

#include <cstdint>
#include <optional>

// A connection to the test seam's socket, as a USB device's bulk pipes.
class SocketUsbTransport : public UsbTransport
{
public:
    // Takes the connected socket over.
    explicit SocketUsbTransport(int socket) : m_socket(socket) {}
    ~SocketUsbTransport() override;

    bool Write(const QByteArray& frame, int timeoutMs) override;
    Status Read(QByteArray& frame, int maxSize, int timeoutMs) override;

    // Exactly size bytes as they come, outside the message framing.
    Status ReadBytes(QByteArray& bytes, std::size_t size, int timeoutMs);

    // The largest message the seam carries; anything longer is a fault.
    static constexpr std::uint32_t kMaxMessage = 65536;

private:
    // Exactly size bytes, waiting at most until the deadline (ms, steady clock).
    Status ReadExactly(char* buffer, std::size_t size, std::int64_t deadline);

    int m_socket;
};
