#include "UsbDeviceEmulator.h"

#include <QMap>

const QByteArray UsbDeviceEmulator::kAck = QByteArray::fromHex("0000FF00FF00");

std::vector<QByteArray> UsbDeviceEmulator::Answer(QByteArray frame, Fault fault)
{
    switch (fault) {
    case Fault::Vanish:
        Vanish();
        return {};
    case Fault::NoAnswer:
        return {kAck};
    case Fault::BadChecksum:
        frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x55);
        break;
    case Fault::ShortAnswer:
        frame.chop(5);
        break;
    case Fault::Oversized:
        frame += QByteArray(64, '\x5A');
        break;
    default:
        break;
    }
    return {kAck, frame};
}

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
