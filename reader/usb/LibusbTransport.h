#pragma once

#include "UsbTransport.h"

struct libusb_device_handle;

// The bulk pipes of a claimed libusb device. A frame whose length is a
// multiple of the endpoint's packet size is followed by a zero-length packet,
// so the device sees where it ends.
class LibusbTransport : public UsbTransport
{
public:
    LibusbTransport(libusb_device_handle* handle, int interface, unsigned char in,
                    unsigned char out, int packetSize);
    ~LibusbTransport() override;
    LibusbTransport(const LibusbTransport&) = delete;
    LibusbTransport& operator=(const LibusbTransport&) = delete;

    bool Write(const QByteArray& frame, int timeoutMs) override;
    Status Read(QByteArray& frame, int maxSize, int timeoutMs) override;

private:
    libusb_device_handle* m_handle;
    int m_interface;
    unsigned char m_in;
    unsigned char m_out;
    int m_packetSize;
};
