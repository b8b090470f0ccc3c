#pragma once

#include "CReaderMod.h"
#include "UsbDeviceInfo.h"

#include <QString>
#include <memory>
#include <optional>

class UsbBus;

// The USB readers the program drives without PC/SC, by vendor and product id.
class UsbReaders
{
public:
    enum class Chip { Port100, Rcs956 };
    struct Model {
        std::uint16_t vendor;
        std::uint16_t product;
        const char* name;
        Chip chip;
        const char* kernelDriver; // the Linux driver that binds it
    };

    static std::optional<Model> Find(std::uint16_t vendor, std::uint16_t product);
    static std::unique_ptr<CReaderMod> CreateModule(UsbBus& bus, const UsbDeviceInfo& device);
    // How a reader with this chip is read, for the user.
    static QString Describe(Chip chip);
};
