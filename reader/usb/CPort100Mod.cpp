#include "CPort100Mod.h"

#include "ByteString.h"
#include "Port100Frame.h"

namespace
{
constexpr int kInSetRF = 0x00;
constexpr int kInSetProtocol = 0x02;
constexpr int kInCommRF = 0x04;
constexpr int kSwitchRF = 0x06;
constexpr int kGetFirmwareVersion = 0x20;
constexpr int kGetPDDataVersion = 0x22;
constexpr int kSetCommandType = 0x2A;

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

QByteArray CPort100Mod::DataFrame(const QByteArray& data) const
{
    return Port100Frame::Data(data);
}

std::optional<QByteArray> CPort100Mod::DataOf(const QByteArray& frame) const
{
    return Port100Frame::DecodeData(frame);
}

bool CPort100Mod::IsAck(const QByteArray& frame) const
{
    return Port100Frame::IsAck(frame);
}

QByteArray CPort100Mod::AckFrame() const
{
    return Port100Frame::Ack();
}

bool CPort100Mod::Succeeds(int code, const QByteArray& parameters)
{
    const auto response = Command(code, parameters, kCommandTimeoutMs);
    return response && response->size() == 1 && ByteAt(*response, 0) == 0;
}

bool CPort100Mod::Initialise()
{
    m_configured = false;
    // An ACK first: it ends whatever an earlier, interrupted session began.
    if (!Transport().Write(Port100Frame::Ack(), kCommandTimeoutMs))
        return false;
    Drain();
    if (!Succeeds(kSetCommandType, ByteString({0x01})))
        return false;
    const auto version = Command(kGetFirmwareVersion, {}, kCommandTimeoutMs);
    if (!version || version->size() != 2)
        return false;
    // Minor then major, each two BCD digits: 11 01 is 1.11.
    const int major = ByteAt(*version, 1);
    const int minor = ByteAt(*version, 0);
    SetChip(QStringLiteral("Port-100 v%1.%2").arg(major, 0, 16).arg(minor, 2, 16, QLatin1Char('0')),
            (major >> 4) * 1000 + (major & 0xF) * 100 + (minor >> 4) * 10 + (minor & 0xF));
    const auto dataVersion = Command(kGetPDDataVersion, {}, kCommandTimeoutMs);
    return dataVersion && Succeeds(kSwitchRF, ByteString({0x00}));
}

void CPort100Mod::Shutdown()
{
    Succeeds(kSwitchRF, ByteString({0x00}));
    Transport().Write(Port100Frame::Ack(), kCommandTimeoutMs);
}

bool CPort100Mod::Configure()
{
    if (!m_configured)
        // 212 kbps FeliCa both ways, the protocol defaults, and the guard
        // time before a polling (24).
        m_configured = Succeeds(kInSetRF, ByteString({0x01, 0x01, 0x0F, 0x01})) &&
                       Succeeds(kInSetProtocol, ProtocolDefaults()) &&
                       Succeeds(kInSetProtocol, ByteString({0x00, 0x18}));
    return m_configured;
}

std::optional<QByteArray> CPort100Mod::Exchange(const QByteArray& frame, int timeoutMs)
{
    if (!Configure())
        return std::nullopt;
    const std::uint16_t units = TimeoutUnits(timeoutMs);
    const auto response = Command(kInCommRF, ByteString({units & 0xFF, units >> 8}) + frame,
                                  timeoutMs + kLinkMarginMs);
    // A 32-bit status (any bit set: no answer, or a broken one), one byte
    // the chip adds, then the card's frame.
    if (!response || response->size() < 6)
        return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (ByteAt(*response, i) != 0)
            return std::nullopt;
    return response->mid(5);
}
