#include "CUsbMod.h"

#include "ByteString.h"
#include "UsbBus.h"

namespace
{
constexpr int kDrainTimeoutMs = 10;
constexpr int kMaxDrained = 16;
} // namespace

CUsbMod::CUsbMod(UsbBus& bus, UsbDeviceInfo device, QString model)
    : m_bus(bus), m_device(std::move(device)), m_model(std::move(model))
{
}

CUsbMod::~CUsbMod() = default;

int CUsbMod::Open()
{
    if (m_transport)
        return 1;
    m_openError.clear();
    m_transport = m_bus.Open(m_device, &m_openError);
    if (!m_transport)
        return 0;
    if (!Initialise()) {
        m_transport.reset();
        m_openError = QStringLiteral("リーダーが応答しません。");
        return 0;
    }
    return 1;
}

int CUsbMod::Close()
{
    if (m_transport) {
        Shutdown();
        m_transport.reset();
    }
    return 1;
}

void CUsbMod::Drain()
{
    QByteArray leftover;
    for (int i = 0; i < kMaxDrained; ++i)
        if (m_transport->Read(leftover, kReadBufferSize, kDrainTimeoutMs) !=
            UsbTransport::Status::Ok)
            return;
}

std::optional<QByteArray> CUsbMod::Command(int code, const QByteArray& parameters, int timeoutMs)
{
    if (!m_transport->Write(DataFrame(ByteString({CommandByte(), code}) + parameters),
                            kCommandTimeoutMs))
        return std::nullopt;
    QByteArray in;
    if (m_transport->Read(in, kReadBufferSize, kAckTimeoutMs) != UsbTransport::Status::Ok ||
        !IsAck(in))
        return std::nullopt;
    const UsbTransport::Status status = m_transport->Read(in, kReadBufferSize, timeoutMs);
    if (status == UsbTransport::Status::Timeout) {
        m_transport->Write(AckFrame(), kCommandTimeoutMs); // cancel it
        return std::nullopt;
    }
    if (status != UsbTransport::Status::Ok)
        return std::nullopt;
    const auto data = DataOf(in);
    if (!data || data->size() < 2 || ByteAt(*data, 0) != CommandByte() + 1 ||
        ByteAt(*data, 1) != code + 1)
        return std::nullopt;
    return data->mid(2);
}

void CUsbMod::SetChip(const QString& name, int version)
{
    m_chip = name;
    m_version = version;
}

QString CUsbMod::GetName()
{
    return m_chip.isEmpty() ? m_model : QStringLiteral("%1 (%2)").arg(m_model, m_chip);
}

FelicaSession CUsbMod::Felica()
{
    return FelicaSession([this](const QByteArray& frame) {
        const bool polling = frame.size() > 1 && frame[1] == 0x00;
        return Exchange(frame, polling ? kPollingTimeoutMs : kReadTimeoutMs);
    });
}

int CUsbMod::WaitForCard(int)
{
    if (!m_transport)
        return 0;
    return Felica().Poll(FelicaFrame::kAnySystem) ? 1 : 0;
}

int CUsbMod::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t, std::uint8_t)
{
    if (!m_transport)
        return 0;
    const auto answer = Felica().Poll(systemCode);
    if (!answer)
        return 0;
    idm = answer->idm;
    pmm = answer->pmm;
    return 1;
}

int CUsbMod::ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                        HistoryBlocks& blocks, std::uint8_t maxCount)
{
    if (!m_transport)
        return 0;
    // The same card must still answer its system before it is read.
    FelicaSession felica = Felica();
    const auto polled = felica.Poll(systemCode);
    if (!polled || polled->idm != idm)
        return 0;
    return felica.ReadBlocks(idm, serviceCode, blocks, maxCount);
}
