#include "UsbReaders.h"

#include "CPn53xMod.h"
#include "CPort100Mod.h"

#include <array>

namespace
{
const std::array<UsbReaders::Model, 3> kModels = {{
    {0x054C, 0x06C1, "Sony RC-S380/S", UsbReaders::Chip::Port100, "port100"},
    {0x054C, 0x06C3, "Sony RC-S380/P", UsbReaders::Chip::Port100, "port100"},
    {0x054C, 0x02E1, "Sony RC-S330/S360/S370", UsbReaders::Chip::Rcs956, "pn533_usb"},
}};
} // namespace

std::optional<UsbReaders::Model> UsbReaders::Find(std::uint16_t vendor, std::uint16_t product)
{
    for (const Model& model : kModels)
        if (model.vendor == vendor && model.product == product)
            return model;
    return std::nullopt;
}

std::unique_ptr<CReaderMod> UsbReaders::CreateModule(UsbBus& bus, const UsbDeviceInfo& device)
{
    const auto model = Find(device.vendor, device.product);
    if (!model)
        return nullptr;
    if (model->chip == Chip::Port100)
        return std::make_unique<CPort100Mod>(bus, device, QString::fromLatin1(model->name));
    return std::make_unique<CPn53xMod>(bus, device, QString::fromLatin1(model->name));
}

QString UsbReaders::Describe(Chip chip)
{
    return chip == Chip::Port100 ? QStringLiteral("USB 直接 (Port-100 のフレーム)")
                                 : QStringLiteral("USB 直接 (RC-S956/PN53x のフレーム)");
}
