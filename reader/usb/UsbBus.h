#pragma once

#include "UsbDeviceInfo.h"
#include "UsbTransport.h"

#include <memory>
#include <vector>

// Where the USB readers come from: the system's USB (libusb), or a test
// socket standing in for one attached device.
class UsbBus
{
public:
    virtual ~UsbBus() = default;

    // The attached devices of the readers the program knows, in bus order.
    virtual std::vector<UsbDeviceInfo> Devices() = 0;
    // The device opened for one operation, or nothing (and why, for the user).
    virtual std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo& device, QString* why) = 0;
    // What the bus is, for the user: "libusb", or the test socket's path.
    virtual QString Describe() const = 0;
};
