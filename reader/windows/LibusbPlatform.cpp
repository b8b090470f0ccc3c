#include "LibusbPlatform.h"

#include <libusb.h>

// libusb opens a reader on Windows only when the WinUSB driver is bound to
// it; a reader that the maker's own driver holds is read through the
// vendor's library instead.

QString LibusbPlatform::BoundDriver(libusb_device*)
{
    return QString();
}

UsbDeviceInfo::Access LibusbPlatform::AccessAfter(int openError)
{
    switch (openError) {
    case LIBUSB_ERROR_NOT_SUPPORTED:
    case LIBUSB_ERROR_NOT_FOUND:
        return UsbDeviceInfo::Access::DriverOwned;
    default:
        return UsbDeviceInfo::Access::Unknown;
    }
}

QString LibusbPlatform::WhyNotOpened(int openError)
{
    if (AccessAfter(openError) == UsbDeviceInfo::Access::DriverOwned)
        return QStringLiteral("WinUSB ドライバーが割り当てられていません (メーカーのドライバーが"
                              "使っています)。");
    if (openError == LIBUSB_ERROR_ACCESS)
        return QStringLiteral("ほかのプログラムが使っています。");
    return QStringLiteral("開けません (%1)。").arg(QString::fromUtf8(libusb_strerror(openError)));
}
