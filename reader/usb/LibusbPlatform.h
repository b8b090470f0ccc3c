#pragma once

#include "UsbDeviceInfo.h"

#include <QString>

struct libusb_device;

// What libusb's answers mean on this system (the per-OS parts are in unix/
// and windows/).
namespace LibusbPlatform
{
// The driver bound to the reader's interface 0, as the system names it;
// empty when none or unknown.
QString BoundDriver(libusb_device* device);
// What a failed libusb_open says about the reader.
UsbDeviceInfo::Access AccessAfter(int openError);
// Why the reader could not be opened, for the user.
QString WhyNotOpened(int openError);
} // namespace LibusbPlatform
