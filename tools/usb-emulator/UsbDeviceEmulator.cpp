#include "UsbDeviceEmulator.h"

#include <QMap>

std::optional<UsbDeviceEmulator::Fault> UsbDeviceEmulator::ParseFault(const QString& name)
{
    static const QMap<QString, Fault> kFaults = {
        {QStringLiteral("bad-checksum"), Fault::BadChecksum},
        {QStringLiteral("short"), Fault::ShortAnswer},
        {QStringLiteral("oversized"), Fault::Oversized},
        {QStringLiteral("nak"), Fault::Nak},
        {QStringLiteral("error-frame"), Fault::ErrorFrame},
        {QStringLiteral("chip-error"), Fault::ChipError},
        {QStringLiteral("no-answer"), Fault::NoAnswer},
        {QStringLiteral("vanish"), Fault::Vanish},
    };
    const auto found = kFaults.constFind(name);
    if (found == kFaults.constEnd())
        return std::nullopt;
    return *found;
}

UsbDeviceEmulator::Fault UsbDeviceEmulator::FaultFor(const QByteArray& frame) const
{
    const bool read = frame.size() > 2 && static_cast<std::uint8_t>(frame[1]) == 0x06;
    if (!read || static_cast<std::uint8_t>(frame[frame.size() - 1]) != m_fault.block)
        return Fault::None;
    return m_fault.fault;
}
