#include "CPn53xMod.h"

#include "Pn53xFrame.h"

namespace
{
constexpr int kAckTimeoutMs = 100;
constexpr int kCommandTimeoutMs = 100;
constexpr int kLinkMarginMs = 100;

constexpr int kGetFirmwareVersion = 0x02;
constexpr int kResetMode = 0x18;
constexpr int kRFConfiguration = 0x32;
constexpr int kInListPassiveTarget = 0x4A;
constexpr int kInCommunicateThru = 0x42;
// The low six bits of a status byte are the chip's error code.
constexpr int kErrorMask = 0x3F;

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

std::optional<QByteArray> CPn53xMod::Command(int code, const QByteArray& parameters, int timeoutMs)
{
    if (!Transport().Write(Pn53xFrame::Data(Bytes({0xD4, code}) + parameters), kCommandTimeoutMs))
        return std::nullopt;
    QByteArray in;
    if (Transport().Read(in, kReadBufferSize, kAckTimeoutMs) != UsbTransport::Status::Ok ||
        Pn53xFrame::Decode(in).kind != Pn53xFrame::Kind::Ack)
        return std::nullopt;
    const UsbTransport::Status status = Transport().Read(in, kReadBufferSize, timeoutMs);
    if (status == UsbTransport::Status::Timeout) {
        Transport().Write(Pn53xFrame::Ack(), kCommandTimeoutMs); // cancel it
        return std::nullopt;
    }
    if (status != UsbTransport::Status::Ok)
        return std::nullopt;
    const auto decoded = Pn53xFrame::Decode(in);
    if (decoded.kind != Pn53xFrame::Kind::Data || decoded.data.size() < 2 ||
        At(decoded.data, 0) != 0xD5 || At(decoded.data, 1) != code + 1)
        return std::nullopt;
    return decoded.data.mid(2);
}

bool CPn53xMod::Configure(const QByteArray& item)
{
    const auto response = Command(kRFConfiguration, item, kCommandTimeoutMs);
    return response && response->isEmpty();
}

bool CPn53xMod::Initialise()
{
    if (!Transport().Write(Pn53xFrame::Ack(), kCommandTimeoutMs))
        return false;
    Drain();
    // Back to the chip's first mode, in which it takes the commands below;
    // the ACK that follows is what the chip expects after ResetMode.
    if (!Command(kResetMode, Bytes({0x01}), kCommandTimeoutMs) ||
        !Transport().Write(Pn53xFrame::Ack(), kCommandTimeoutMs))
        return false;
    const auto version = Command(kGetFirmwareVersion, {}, kCommandTimeoutMs);
    if (!version || version->size() != 4)
        return false;
    SetChip(QStringLiteral("RC-S956 v%1.%2")
                .arg(At(*version, 1), 0, 16)
                .arg(At(*version, 2), 2, 16, QLatin1Char('0')),
            At(*version, 1) * 100 + (At(*version, 2) >> 4) * 10 + (At(*version, 2) & 0xF));
    // Timeouts (ATR_RES 102 ms, the card's answer 51 ms), no retries of an
    // exchange, and one try per target listing instead of endless ones.
    return Configure(Bytes({0x02, 0x0B, 0x0B, 0x0A})) && Configure(Bytes({0x04, 0x00})) &&
           Configure(Bytes({0x05, 0x00, 0x00, 0x01}));
}

void CPn53xMod::Shutdown()
{
    Configure(Bytes({0x01, 0x00})); // the field off
}

std::optional<QByteArray> CPn53xMod::ListTarget(const QByteArray& pollingFrame, int timeoutMs)
{
    // One target at 212 kbps, with the polling's payload (without its length).
    const auto response = Command(kInListPassiveTarget, Bytes({0x01, 0x01}) + pollingFrame.mid(1),
                                  timeoutMs + kLinkMarginMs);
    // The number of targets found, then target 1 and its polling answer.
    if (!response || response->size() < 3 || At(*response, 0) != 1 || At(*response, 1) != 1)
        return std::nullopt;
    return response->mid(2);
}

std::optional<QByteArray> CPn53xMod::Exchange(const QByteArray& frame, int timeoutMs)
{
    if (frame.size() > 1 && frame[1] == 0x00)
        return ListTarget(frame, timeoutMs);
    const auto response = Command(kInCommunicateThru, frame, timeoutMs + kLinkMarginMs);
    if (!response || response->isEmpty() || (At(*response, 0) & kErrorMask) != 0)
        return std::nullopt;
    return response->mid(1);
}
