#include "CPn53xMod.h"

#include "ByteString.h"
#include "Pn53xFrame.h"

namespace
{
constexpr int kGetFirmwareVersion = 0x02;
constexpr int kResetMode = 0x18;
constexpr int kRFConfiguration = 0x32;
constexpr int kInListPassiveTarget = 0x4A;
constexpr int kInCommunicateThru = 0x42;
// The low six bits of a status byte are the chip's error code.
constexpr int kErrorMask = 0x3F;

} // namespace

QByteArray CPn53xMod::DataFrame(const QByteArray& data) const
{
    return Pn53xFrame::Data(data);
}

std::optional<QByteArray> CPn53xMod::DataOf(const QByteArray& frame) const
{
    const auto decoded = Pn53xFrame::Decode(frame);
    return decoded.kind == Pn53xFrame::Kind::Data ? std::optional<QByteArray>(decoded.data)
                                                  : std::nullopt;
}

bool CPn53xMod::IsAck(const QByteArray& frame) const
{
    return Pn53xFrame::Decode(frame).kind == Pn53xFrame::Kind::Ack;
}

QByteArray CPn53xMod::AckFrame() const
{
    return Pn53xFrame::Ack();
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
    if (!Command(kResetMode, ByteString({0x01}), kCommandTimeoutMs) ||
        !Transport().Write(Pn53xFrame::Ack(), kCommandTimeoutMs))
        return false;
    const auto version = Command(kGetFirmwareVersion, {}, kCommandTimeoutMs);
    if (!version || version->size() != 4)
        return false;
    SetChip(QStringLiteral("RC-S956 v%1.%2")
                .arg(ByteAt(*version, 1), 0, 16)
                .arg(ByteAt(*version, 2), 2, 16, QLatin1Char('0')),
            ByteAt(*version, 1) * 100 + (ByteAt(*version, 2) >> 4) * 10 +
                (ByteAt(*version, 2) & 0xF));
    // Timeouts (ATR_RES 102 ms, the card's answer 51 ms), no retries of an
    // exchange, and one try per target listing instead of endless ones.
    return Configure(ByteString({0x02, 0x0B, 0x0B, 0x0A})) && Configure(ByteString({0x04, 0x00})) &&
           Configure(ByteString({0x05, 0x00, 0x00, 0x01}));
}

void CPn53xMod::Shutdown()
{
    Configure(ByteString({0x01, 0x00})); // the field off
}

std::optional<QByteArray> CPn53xMod::ListTarget(const QByteArray& pollingFrame, int timeoutMs)
{
    // One target at 212 kbps, with the polling's payload (without its length).
    const auto response =
        Command(kInListPassiveTarget, ByteString({0x01, 0x01}) + pollingFrame.mid(1),
                timeoutMs + kLinkMarginMs);
    // The number of targets found, then target 1 and its polling answer.
    if (!response || response->size() < 3 || ByteAt(*response, 0) != 1 || ByteAt(*response, 1) != 1)
        return std::nullopt;
    return response->mid(2);
}

std::optional<QByteArray> CPn53xMod::Exchange(const QByteArray& frame, int timeoutMs)
{
    if (frame.size() > 1 && frame[1] == 0x00)
        return ListTarget(frame, timeoutMs);
    const auto response = Command(kInCommunicateThru, frame, timeoutMs + kLinkMarginMs);
    if (!response || response->isEmpty() || (ByteAt(*response, 0) & kErrorMask) != 0)
        return std::nullopt;
    return response->mid(1);
}
