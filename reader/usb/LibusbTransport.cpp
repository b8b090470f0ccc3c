#include "LibusbTransport.h"

#include <libusb.h>

LibusbTransport::LibusbTransport(libusb_device_handle* handle, int interface, unsigned char in,
                                 unsigned char out, int packetSize)
    : m_handle(handle), m_interface(interface), m_in(in), m_out(out), m_packetSize(packetSize)
{
}

LibusbTransport::~LibusbTransport()
{
    // With automatic detaching, releasing the interface rebinds the kernel driver.
    libusb_release_interface(m_handle, m_interface);
    libusb_close(m_handle);
}

bool LibusbTransport::Write(const QByteArray& frame, int timeoutMs)
{
    QByteArray data = frame;
    int sent = 0;
    if (libusb_bulk_transfer(m_handle, m_out, reinterpret_cast<unsigned char*>(data.data()),
                             static_cast<int>(data.size()), &sent,
                             static_cast<unsigned int>(timeoutMs)) != 0 ||
        sent != data.size())
        return false;
    if (m_packetSize > 0 && data.size() % m_packetSize == 0)
        return libusb_bulk_transfer(m_handle, m_out, nullptr, 0, &sent,
                                    static_cast<unsigned int>(timeoutMs)) == 0;
    return true;
}

UsbTransport::Status LibusbTransport::Read(QByteArray& frame, int maxSize, int timeoutMs)
{
    frame = QByteArray(maxSize, '\0');
    int received = 0;
    const int result =
        libusb_bulk_transfer(m_handle, m_in, reinterpret_cast<unsigned char*>(frame.data()),
                             maxSize, &received, static_cast<unsigned int>(timeoutMs));
    if (result == LIBUSB_ERROR_TIMEOUT && received == 0) {
        frame.clear();
        return Status::Timeout;
    }
    if (result != 0) {
        frame.clear();
        return Status::Failed; // gone, stalled, or more than the buffer
    }
    frame.truncate(received);
    return Status::Ok;
}
