#pragma once

#include <QString>
#include <cstdint>

// A USB card reader the program could drive, as found on the bus.
struct UsbDeviceInfo {
    enum class Access {
        Usable,       // it can be opened
        NoPermission, // the user may not open it (no udev rule)
        DriverOwned,  // the maker's driver holds it, not WinUSB (Windows)
        Unknown,      // not asked yet
    };

    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    QString location;     // where it is: "bus 1 device 5", or the test socket
    QString kernelDriver; // the driver bound to its interface, if any
    Access access = Access::Unknown;
};
