#pragma once

#include <QString>
#include <atomic>

class UsbDeviceEmulator;

// Serves an emulated USB reader on a Unix stream socket, as the USB reader
// modules' test seam expects: on each connection, one message announcing
// the device (vendor id, product id, little-endian), then each message in is
// one bulk OUT transfer and each IN transfer the device queues goes out as
// one message. Every message is a 4-byte little-endian length and its bytes.
// Connections are served one after another; a vanished device ends them.
class UsbSocketServer
{
public:
    UsbSocketServer(UsbDeviceEmulator& device, QString path);
    ~UsbSocketServer();
    UsbSocketServer(const UsbSocketServer&) = delete;
    UsbSocketServer& operator=(const UsbSocketServer&) = delete;

    // Creates the socket; false when it cannot.
    bool Listen();
    // Serves connections until Stop() is called (from any thread).
    void Serve();
    void Stop();
    int Connections() const { return m_connections; }

    // One message of the seam: the length, then the bytes.
    static QByteArray Message(const QByteArray& bytes);

private:
    void ServeConnection(int connection);
    bool WaitReadable(int fd);

    UsbDeviceEmulator& m_device;
    QString m_path;
    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    std::atomic<bool> m_stopped = false;
    std::atomic<int> m_connections = 0;
};
