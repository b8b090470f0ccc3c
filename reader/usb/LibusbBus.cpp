#include "LibusbBus.h"

#include "LibusbPlatform.h"
#include "LibusbTransport.h"
#include "UsbReaders.h"

#include <libusb.h>

namespace
{
constexpr int kInterface = 0;

struct Endpoints {
    unsigned char in = 0;
    unsigned char out = 0;
    int packetSize = 0;
};

// The first bulk IN and bulk OUT endpoint of interface 0, setting 0.
Endpoints FindEndpoints(libusb_device* device)
{
    Endpoints found;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0)
        return found;
    if (config->bNumInterfaces > kInterface && config->interface[kInterface].num_altsetting > 0) {
        const libusb_interface_descriptor& setting = config->interface[kInterface].altsetting[0];
        for (int i = 0; i < setting.bNumEndpoints; ++i) {
            const libusb_endpoint_descriptor& endpoint = setting.endpoint[i];
            if ((endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK)
                continue;
            if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) != 0 && found.in == 0)
                found.in = endpoint.bEndpointAddress;
            if ((endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) == 0 && found.out == 0) {
                found.out = endpoint.bEndpointAddress;
                found.packetSize = endpoint.wMaxPacketSize;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

QString Location(libusb_device* device)
{
    return QStringLiteral("USB bus %1 device %2")
        .arg(libusb_get_bus_number(device))
        .arg(libusb_get_device_address(device));
}

} // namespace

LibusbBus::LibusbBus()
{
    if (libusb_init(&m_context) != 0)
        m_context = nullptr;
}

LibusbBus::~LibusbBus()
{
    if (m_context)
        libusb_exit(m_context);
}

UsbDeviceInfo LibusbBus::Info(libusb_device* device, std::uint16_t vendor, std::uint16_t product)
{
    UsbDeviceInfo info;
    info.vendor = vendor;
    info.product = product;
    info.location = Location(device);
    info.kernelDriver = LibusbPlatform::BoundDriver(device);
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened == 0) {
        info.access = UsbDeviceInfo::Access::Usable;
        libusb_close(handle);
    } else {
        info.access = LibusbPlatform::AccessAfter(opened);
    }
    return info;
}

std::vector<UsbDeviceInfo> LibusbBus::Devices()
{
    std::vector<UsbDeviceInfo> found;
    if (!m_context)
        return found;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) == 0 &&
            UsbReaders::Find(descriptor.idVendor, descriptor.idProduct))
            found.push_back(Info(list[i], descriptor.idVendor, descriptor.idProduct));
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return found;
}

std::unique_ptr<UsbTransport> LibusbBus::Open(const UsbDeviceInfo& wanted, QString* why)
{
    if (!m_context) {
        *why = QStringLiteral("libusb を初期化できません。");
        return nullptr;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    libusb_device* device = nullptr;
    for (ssize_t i = 0; i < count && !device; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) == 0 &&
            descriptor.idVendor == wanted.vendor && descriptor.idProduct == wanted.product &&
            Location(list[i]) == wanted.location)
            device = libusb_ref_device(list[i]);
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    if (!device) {
        *why = QStringLiteral("装置が見つかりません (抜かれましたか)。");
        return nullptr;
    }
    const Endpoints endpoints = FindEndpoints(device);
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    libusb_unref_device(device);
    if (opened != 0) {
        *why = LibusbPlatform::WhyNotOpened(opened);
        return nullptr;
    }
    // The kernel's own driver lets go while we hold the interface.
    libusb_set_auto_detach_kernel_driver(handle, 1);
    int configuration = 0;
    if (libusb_get_configuration(handle, &configuration) == 0 && configuration == 0)
        libusb_set_configuration(handle, 1);
    const int claimed = libusb_claim_interface(handle, kInterface);
    if (claimed != 0 || endpoints.in == 0 || endpoints.out == 0) {
        *why = claimed == LIBUSB_ERROR_BUSY ? QStringLiteral("ほかのプログラムが使っています。")
                                            : QStringLiteral("インターフェースを使えません (%1)。")
                                                  .arg(QString::fromUtf8(libusb_strerror(claimed)));
        if (claimed == 0)
            libusb_release_interface(handle, kInterface);
        libusb_close(handle);
        return nullptr;
    }
    return std::make_unique<LibusbTransport>(handle, kInterface, endpoints.in, endpoints.out,
                                             endpoints.packetSize);
}
