#pragma once

#include "UsbBus.h"

// The test seam: a Unix stream socket stands for the one attached USB
// device. Its peer first announces the device with one message of 4 bytes,
// the vendor id then the product id, each a little-endian 16-bit number.
// Every message either way is a 4-byte little-endian length and that many
// bytes; a bulk OUT transfer is one message, a bulk IN read takes one.
class SocketUsbBus : public UsbBus
{
public:
    explicit SocketUsbBus(QString path) : m_path(std::move(path)) {}

    std::vector<UsbDeviceInfo> Devices() override;
    std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo& device, QString* why) override;
    QString Describe() const override;

private:
    // A connection that has announced its device, and the device.
    int Connect(UsbDeviceInfo* device, QString* why) const;

    QString m_path;
};
