#include "SocketUsbBus.h"

#include "SocketUsbTransport.h"
#include "UsbReaders.h"

#include <QtEndian>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
constexpr int kAnnouncementTimeoutMs = 2000;
} // namespace

QString SocketUsbBus::Describe() const
{
    return QStringLiteral("FENWIR_USB_SOCKET %1").arg(m_path);
}

int SocketUsbBus::Connect(UsbDeviceInfo* device, QString* why) const
{
    const QByteArray path = m_path.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        *why = QStringLiteral("ソケット %1 の名前が使えません。").arg(m_path);
        return -1;
    }
    std::copy(path.begin(), path.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (fd >= 0)
            ::close(fd);
        *why = QStringLiteral("ソケット %1 に接続できません。").arg(m_path);
        return -1;
    }
    // The announcement is one message of four bytes. Four bytes sent bare,
    // without the length before them, are taken too: a vendor id never
    // makes them read 04 00 00 00.
    SocketUsbTransport probe(::dup(fd));
    QByteArray ids;
    bool announced = probe.ReadBytes(ids, 4, kAnnouncementTimeoutMs) == UsbTransport::Status::Ok;
    if (announced && ids == QByteArray::fromHex("04000000"))
        announced = probe.ReadBytes(ids, 4, kAnnouncementTimeoutMs) == UsbTransport::Status::Ok;
    if (!announced) {
        ::close(fd);
        *why = QStringLiteral("ソケット %1 が装置を名乗りません。").arg(m_path);
        return -1;
    }
    const auto raw = qFromLittleEndian<std::uint32_t>(ids.constData());
    device->vendor = static_cast<std::uint16_t>(raw & 0xFFFF);
    device->product = static_cast<std::uint16_t>(raw >> 16);
    device->location = Describe();
    device->access = UsbDeviceInfo::Access::Usable;
    return fd;
}

std::vector<UsbDeviceInfo> SocketUsbBus::Devices()
{
    UsbDeviceInfo device;
    QString why;
    const int fd = Connect(&device, &why);
    if (fd < 0)
        return {};
    ::close(fd);
    if (!UsbReaders::Find(device.vendor, device.product))
        return {};
    return {device};
}

std::unique_ptr<UsbTransport> SocketUsbBus::Open(const UsbDeviceInfo& wanted, QString* why)
{
    UsbDeviceInfo device;
    const int fd = Connect(&device, why);
    if (fd < 0)
        return nullptr;
    if (device.vendor != wanted.vendor || device.product != wanted.product) {
        ::close(fd);
        *why = QStringLiteral("ソケットの装置が替わりました。");
        return nullptr;
    }
    return std::make_unique<SocketUsbTransport>(fd);
}
