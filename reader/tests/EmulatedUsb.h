#pragma once

#include "UsbBus.h"
#include "UsbDeviceEmulator.h"

#include <deque>

// A USB link in memory to an emulated reader: each write is an OUT transfer
// the device answers at once; a read with nothing queued is a timeout.
class EmulatorTransport : public UsbTransport
{
public:
    explicit EmulatorTransport(UsbDeviceEmulator& device) : m_device(device) {}

    bool Write(const QByteArray& frame, int) override
    {
        if (m_device.Vanished())
            return false;
        for (QByteArray& in : m_device.Receive(frame))
            m_queue.push_back(std::move(in));
        return true;
    }

    Status Read(QByteArray& frame, int maxSize, int) override
    {
        frame.clear();
        if (m_device.Vanished())
            return Status::Failed;
        if (m_queue.empty())
            return Status::Timeout;
        frame = m_queue.front();
        m_queue.pop_front();
        if (frame.size() > maxSize) {
            frame.clear();
            return Status::Failed;
        }
        return Status::Ok;
    }

private:
    UsbDeviceEmulator& m_device;
    std::deque<QByteArray> m_queue;
};

// One emulated reader attached; the user may or may not open it.
class EmulatorBus : public UsbBus
{
public:
    explicit EmulatorBus(UsbDeviceEmulator& device) : m_device(device) {}

    UsbDeviceInfo::Access access = UsbDeviceInfo::Access::Usable;
    int opened = 0;

    std::vector<UsbDeviceInfo> Devices() override
    {
        UsbDeviceInfo info;
        info.vendor = m_device.Vendor();
        info.product = m_device.Product();
        info.location = QStringLiteral("emulated");
        info.access = access;
        return {info};
    }
    std::unique_ptr<UsbTransport> Open(const UsbDeviceInfo&, QString* why) override
    {
        if (access == UsbDeviceInfo::Access::NoPermission) {
            *why = QStringLiteral("no permission");
            return nullptr;
        }
        ++opened;
        return std::make_unique<EmulatorTransport>(m_device);
    }
    QString Describe() const override { return QStringLiteral("emulated"); }

private:
    UsbDeviceEmulator& m_device;
};
