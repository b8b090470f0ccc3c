#include "LibusbPlatform.h"

#include <QFileInfo>
#include <libusb.h>

// The kernel driver bound to interface 0, as sysfs names it.
QString LibusbPlatform::BoundDriver(libusb_device* device)
{
    std::uint8_t ports[8];
    const int count = libusb_get_port_numbers(device, ports, sizeof ports);
    if (count <= 0)
        return QString();
    QString path = QStringLiteral("/sys/bus/usb/devices/%1-").arg(libusb_get_bus_number(device));
    for (int i = 0; i < count; ++i)
        path += (i > 0 ? QStringLiteral(".") : QString()) + QString::number(ports[i]);
    const QFileInfo driver(path + QStringLiteral(":1.0/driver"));
    return driver.isSymLink() ? QFileInfo(driver.symLinkTarget()).fileName() : QString();
}

UsbDeviceInfo::Access LibusbPlatform::AccessAfter(int openError)
{
    return openError == LIBUSB_ERROR_ACCESS ? UsbDeviceInfo::Access::NoPermission
                                            : UsbDeviceInfo::Access::Unknown;
}

QString LibusbPlatform::WhyNotOpened(int openError)
{
    if (openError == LIBUSB_ERROR_ACCESS)
        return QStringLiteral("開く権限がありません (udev の規則を入れてください)。");
    return QStringLiteral("開けません (%1)。").arg(QString::fromUtf8(libusb_strerror(openError)));
}
