#include "Port100Emulator.h"

#include "VirtualCard.h"

namespace
{
constexpr int kHeader = 8;

int Sum(const QByteArray& bytes)
{
    int sum = 0;
    for (char byte : bytes)
        sum += static_cast<std::uint8_t>(byte);
    return sum & 0xFF;
}

// The payload of a well-formed frame, or nothing.
std::optional<QByteArray> Payload(const QByteArray& frame)
{
    if (frame.size() < kHeader + 2 || !frame.startsWith(QByteArray::fromHex("0000FFFFFF")))
        return std::nullopt;
    const int length = static_cast<std::uint8_t>(frame[5]) | static_cast<std::uint8_t>(frame[6])
                                                                 << 8;
    if (Sum(frame.mid(5, 3)) != 0 || frame.size() != kHeader + length + 2 ||
        Sum(frame.mid(kHeader, length + 1)) != 0 || frame[frame.size() - 1] != '\0')
        return std::nullopt;
    return frame.mid(kHeader, length);
}
} // namespace

Port100Emulator::Port100Emulator(VirtualCard& card, std::uint16_t product)
    : m_card(card), m_product(product)
{
}

QByteArray Port100Emulator::Frame(const QByteArray& payload)
{
    QByteArray frame = QByteArray::fromHex("0000FFFFFF");
    frame += static_cast<char>(payload.size() & 0xFF);
    frame += static_cast<char>(payload.size() >> 8);
    frame += static_cast<char>((0x100 - Sum(frame.mid(5, 2))) & 0xFF);
    frame += payload;
    frame += static_cast<char>((0x100 - Sum(payload)) & 0xFF);
    frame += '\0';
    return frame;
}

std::vector<QByteArray> Port100Emulator::Receive(const QByteArray& out)
{
    if (Vanished() || out == kAck)
        return {}; // an ACK cancels: nothing is pending here
    const auto payload = Payload(out);
    if (!payload || payload->size() < 2 || static_cast<std::uint8_t>((*payload)[0]) != 0xD6)
        return {};
    const auto code = static_cast<std::uint8_t>((*payload)[1]);
    Fault fault = Fault::None;
    QByteArray response;
    if (code == 0x04) {
        response = CommRF(payload->mid(2), fault);
    } else {
        // An unknown command answers with a parameter error.
        response = Command(code, payload->mid(2)).value_or(QByteArray(1, '\x01'));
    }
    const QByteArray frame =
        Frame(QByteArray(1, '\xD7') + QByteArray(1, static_cast<char>(code + 1)) + response);
    return Answer(frame, fault);
}

std::optional<QByteArray> Port100Emulator::Command(std::uint8_t code, const QByteArray& parameters)
{
    switch (code) {
    case 0x00: // InSetRF: only FeliCa at 212 or 424 kbps here
        m_felica = parameters == QByteArray::fromHex("01010F01") ||
                   parameters == QByteArray::fromHex("01020F02");
        return QByteArray(1, m_felica ? '\0' : '\x01');
    case 0x02: // InSetProtocol: pairs of a known item and its value
        if (parameters.size() % 2 != 0)
            return QByteArray(1, '\x01');
        for (qsizetype i = 0; i < parameters.size(); i += 2)
            if (static_cast<std::uint8_t>(parameters[i]) > 0x13)
                return QByteArray(1, '\x01');
        return QByteArray(1, '\0');
    case 0x06: // SwitchRF
        return QByteArray(1, parameters.size() == 1 ? '\0' : '\x01');
    case 0x20: // GetFirmwareVersion: 1.11
        return QByteArray::fromHex("1101");
    case 0x22: // GetPDDataVersion
        return QByteArray::fromHex("0001");
    case 0x28: // GetCommandType: types 0 and 1
        return QByteArray::fromHex("0000000000000003");
    case 0x2A: // SetCommandType
        return QByteArray(1, parameters == QByteArray(1, '\x01') ? '\0' : '\x07');
    default:
        return std::nullopt;
    }
}

QByteArray Port100Emulator::CommRF(const QByteArray& parameters, Fault& fault)
{
    const QByteArray timeout = QByteArray::fromHex("80000000");
    if (!m_felica || parameters.size() < 3)
        return QByteArray::fromHex("01000000"); // a protocol error
    const QByteArray frame = parameters.mid(2);
    if (frame.size() > 1 && frame[1] == '\0')
        CountPolling();
    fault = FaultFor(frame);
    if (!CardPresent() || m_card.Removed())
        return timeout;
    if (fault == Fault::ChipError)
        return QByteArray::fromHex("04000000"); // a CRC error
    if (auto gone = m_card.FrameFault(frame); (gone && gone->isEmpty()) || m_card.Removed())
        return timeout; // the card has left
    const QByteArray answer = m_card.Felica(frame);
    if (answer.isEmpty())
        return timeout;
    return QByteArray::fromHex("0000000008") + answer;
}
