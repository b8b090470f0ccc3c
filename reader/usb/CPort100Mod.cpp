#include "CPort100Mod.h"

#include "Port100Frame.h"

namespace
{
constexpr int kAckTimeoutMs = 100;
constexpr int kCommandTimeoutMs = 100;
// Time for the answer to travel back beyond the card's own timeout.
constexpr int kLinkMarginMs = 100;

constexpr int kInSetRF = 0x00;
constexpr int kInSetProtocol = 0x02;
constexpr int kInCommRF = 0x04;
constexpr int kSwitchRF = 0x06;
constexpr int kGetFirmwareVersion = 0x20;
constexpr int kGetPDDataVersion = 0x22;
constexpr int kSetCommandType = 0x2A;

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

std::uint8_t At(const QByteArray& bytes, qsizetype i)
{
    return static_cast<std::uint8_t>(bytes[i]);
}
} // namespace

QByteArray CPort100Mod::ProtocolDefaults()
{
    return QByteArray::fromHex("0018010102010300040005000600070808000900"
                               "0A000B000C000E040F001000110012001306");
}

std::uint16_t CPort100Mod::TimeoutUnits(int milliseconds)
{
    if (milliseconds <= 0)
        return 0;
    return static_cast<std::uint16_t>(std::min((milliseconds + 1) * 10, 0xFFFF));
}

std::optional<QByteArray> CPort100Mod::Command(int code, const QByteArray& parameters,
                                               int timeoutMs)
{
    const QByteArray command = Bytes({0xD6, code}) + parameters;
    if (!Transport().Write(Port100Frame::Data(command), kCommandTimeoutMs))
        return std::nullopt;
    QByteArray in;
    if (Transport().Read(in, kReadBufferSize, kAckTimeoutMs) != UsbTransport::Status::Ok ||
        !Port100Frame::IsAck(in))
        return std::nullopt;
    const UsbTransport::Status status = Transport().Read(in, kReadBufferSize, timeoutMs);
    if (status == UsbTransport::Status::Timeout) {
        Transport().Write(Port100Frame::Ack(), kCommandTimeoutMs); // cancel it
        return std::nullopt;
    }
    if (status != UsbTransport::Status::Ok)
        return std::nullopt;
    const auto data = Port100Frame::DecodeData(in);
    if (!data || data->size() < 2 || At(*data, 0) != 0xD7 || At(*data, 1) != code + 1)
        return std::nullopt;
    return data->mid(2);
}

bool CPort100Mod::Succeeds(int code, const QByteArray& parameters)
{
    const auto response = Command(code, parameters, kCommandTimeoutMs);
    return response && response->size() == 1 && At(*response, 0) == 0;
}

bool CPort100Mod::Initialise()
{
    m_configured = false;
    // An ACK first: it ends whatever an earlier, interrupted session began.
    if (!Transport().Write(Port100Frame::Ack(), kCommandTimeoutMs))
        return false;
    Drain();
    if (!Succeeds(kSetCommandType, Bytes({0x01})))
        return false;
    const auto version = Command(kGetFirmwareVersion, {}, kCommandTimeoutMs);
    if (!version || version->size() != 2)
        return false;
    // Minor then major, each two BCD digits: 11 01 is 1.11.
    const int major = At(*version, 1);
    const int minor = At(*version, 0);
    SetChip(QStringLiteral("Port-100 v%1.%2").arg(major, 0, 16).arg(minor, 2, 16, QLatin1Char('0')),
            (major >> 4) * 1000 + (major & 0xF) * 100 + (minor >> 4) * 10 + (minor & 0xF));
    const auto dataVersion = Command(kGetPDDataVersion, {}, kCommandTimeoutMs);
    return dataVersion && Succeeds(kSwitchRF, Bytes({0x00}));
}

void CPort100Mod::Shutdown()
{
    Succeeds(kSwitchRF, Bytes({0x00}));
    Transport().Write(Port100Frame::Ack(), kCommandTimeoutMs);
}

bool CPort100Mod::Configure()
{
    if (!m_configured)
        // 212 kbps FeliCa both ways, the protocol defaults, and the guard
        // time before a polling (24).
        m_configured = Succeeds(kInSetRF, Bytes({0x01, 0x01, 0x0F, 0x01})) &&
                       Succeeds(kInSetProtocol, ProtocolDefaults()) &&
                       Succeeds(kInSetProtocol, Bytes({0x00, 0x18}));
    return m_configured;
}

std::optional<QByteArray> CPort100Mod::Exchange(const QByteArray& frame, int timeoutMs)
{
    if (!Configure())
        return std::nullopt;
    const std::uint16_t units = TimeoutUnits(timeoutMs);
    const auto response =
        Command(kInCommRF, Bytes({units & 0xFF, units >> 8}) + frame, timeoutMs + kLinkMarginMs);
    // A 32-bit status (any bit set: no answer, or a broken one), one byte
    // the chip adds, then the card's frame.
    if (!response || response->size() < 6)
        return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (At(*response, i) != 0)
            return std::nullopt;
    return response->mid(5);
}
