#include "Rcs956Emulator.h"

#include "VirtualCard.h"

namespace
{
const QByteArray kNak = QByteArray::fromHex("0000FFFF0000");
const QByteArray kErrorFrame = QByteArray::fromHex("0000FF01FF7F8100");

int Sum(const QByteArray& bytes)
{
    int sum = 0;
    for (char byte : bytes)
        sum += static_cast<std::uint8_t>(byte);
    return sum & 0xFF;
}

// The payload of a well-formed normal frame, or nothing.
std::optional<QByteArray> Payload(const QByteArray& frame)
{
    if (frame.size() < 8 || !frame.startsWith(QByteArray::fromHex("0000FF")))
        return std::nullopt;
    const int length = static_cast<std::uint8_t>(frame[3]);
    if (Sum(frame.mid(3, 2)) != 0 || frame.size() != 5 + length + 2 ||
        Sum(frame.mid(5, length + 1)) != 0 || frame[frame.size() - 1] != '\0')
        return std::nullopt;
    return frame.mid(5, length);
}
} // namespace

QByteArray Rcs956Emulator::Frame(const QByteArray& payload)
{
    QByteArray frame = QByteArray::fromHex("0000FF");
    frame += static_cast<char>(payload.size());
    frame += static_cast<char>((0x100 - payload.size()) & 0xFF);
    frame += payload;
    frame += static_cast<char>((0x100 - Sum(payload)) & 0xFF);
    frame += '\0';
    return frame;
}

std::vector<QByteArray> Rcs956Emulator::Receive(const QByteArray& out)
{
    if (Vanished() || out == kAck)
        return {};
    const auto payload = Payload(out);
    if (!payload)
        return {};
    if (payload->size() < 2 || static_cast<std::uint8_t>((*payload)[0]) != 0xD4)
        return {kAck, kErrorFrame};
    const auto code = static_cast<std::uint8_t>((*payload)[1]);
    Fault fault = Fault::None;
    const auto response = Command(code, payload->mid(2), fault);
    if (!response)
        return {kAck, kErrorFrame}; // a syntax error
    const QByteArray frame =
        Frame(QByteArray(1, '\xD5') + QByteArray(1, static_cast<char>(code + 1)) + *response);
    // The PN53x link's own faults; the others are every chip's.
    if (fault == Fault::Nak)
        return {kNak};
    if (fault == Fault::ErrorFrame)
        return {kAck, kErrorFrame};
    return Answer(frame, fault);
}

std::optional<QByteArray> Rcs956Emulator::Command(std::uint8_t code, const QByteArray& parameters,
                                                  Fault& fault)
{
    switch (code) {
    case 0x02: // GetFirmwareVersion: IC 33, version 1.30, support 07
        return QByteArray::fromHex("33013007");
    case 0x18: // ResetMode
    case 0x12: // SetParameters
        return QByteArray();
    case 0x32: // RFConfiguration: a known item and its values
        if (parameters.isEmpty())
            return std::nullopt;
        return QByteArray();
    case 0x44: // InDeselect
    case 0x52: // InRelease
        return QByteArray(1, '\0');
    case 0x4A:
        return ListPassiveTarget(parameters);
    case 0x42:
        return Exchange(parameters, fault);
    default:
        return std::nullopt;
    }
}

// MaxTg 1, BrTy 1 or 2 (212 / 424 kbps FeliCa), the polling payload.
QByteArray Rcs956Emulator::ListPassiveTarget(const QByteArray& parameters)
{
    if (parameters.size() != 7 || parameters[0] != '\x01' ||
        (parameters[1] != '\x01' && parameters[1] != '\x02') || parameters[2] != '\0')
        return QByteArray(1, '\0');
    CountPolling();
    if (!CardPresent() || m_card.Removed())
        return QByteArray(1, '\0');
    const QByteArray answer = m_card.Felica(QByteArray(1, '\x06') + parameters.mid(2));
    if (answer.isEmpty())
        return QByteArray(1, '\0');
    return QByteArray::fromHex("0101") + answer;
}

QByteArray Rcs956Emulator::Exchange(const QByteArray& frame, Fault& fault)
{
    const QByteArray timeout(1, '\x01');
    fault = FaultFor(frame);
    if (!CardPresent())
        return timeout;
    if (fault == Fault::ChipError)
        return QByteArray(1, '\x02'); // a CRC error
    if (auto gone = m_card.FrameFault(frame); (gone && gone->isEmpty()) || m_card.Removed())
        return timeout; // the card has left
    const QByteArray answer = m_card.Felica(frame);
    return answer.isEmpty() ? timeout : QByteArray(1, '\0') + answer;
}
