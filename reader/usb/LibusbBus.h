#pragma once

#include "UsbBus.h"

struct libusb_context;
struct libusb_device;

// The system's USB through libusb. A device is opened with its kernel driver
// (port100, pn533_usb) detached for as long as it is held, and given back
// to it afterwards.
class LibusbBus : public UsbBus
{
public:
    LibusbBus();
    ~LibusbBus() override;
    LibusbBus(const LibusbBus&) = delete;
    LibusbBus& operator=(const LibusbBus&) = delete;

    std::vector<UsbDeviceInfo> Devices() override;
    std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo& device, QString* why) override;
    QString Describe() const override { return QStringLiteral("libusb"); }

private:
    static UsbDeviceInfo Info(libusb_device* device, std::uint16_t vendor, std::uint16_t product);

    libusb_context* m_context = nullptr;
};
