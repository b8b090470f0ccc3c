#include "CPcscPart3.h"

namespace
{
constexpr std::uint8_t kStatusObject = 0xC0;
constexpr std::uint8_t kDataObject = 0x97;
constexpr std::uint8_t kTransceiveObject = 0x95;

// The data objects of an answer (tag, one-byte length, value) before its
// status word; nothing when they overrun it.
std::optional<std::vector<std::pair<std::uint8_t, QByteArray>>> Objects(const QByteArray& answer)
{
    std::vector<std::pair<std::uint8_t, QByteArray>> objects;
    const qsizetype end = answer.size() - 2;
    qsizetype i = 0;
    while (i < end) {
        if (i + 2 > end)
            return std::nullopt;
        const auto tag = static_cast<std::uint8_t>(answer[i]);
        const auto length = static_cast<std::uint8_t>(answer[i + 1]);
        if (i + 2 + length > end)
            return std::nullopt;
        objects.emplace_back(tag, answer.mid(i + 2, length));
        i += 2 + length;
    }
    return objects;
}
} // namespace

QByteArray CPcscPart3::StartSession()
{
    return Bytes({0xFF, 0xC2, 0x00, 0x00, 0x02, 0x81, 0x00, 0x00});
}

QByteArray CPcscPart3::EndSession()
{
    return Bytes({0xFF, 0xC2, 0x00, 0x00, 0x02, 0x82, 0x00, 0x00});
}

QByteArray CPcscPart3::SwitchToFelica()
{
    // Data object 0x8F: protocol 03 (FeliCa), layer 00.
    return Bytes({0xFF, 0xC2, 0x00, 0x02, 0x04, 0x8F, 0x02, 0x03, 0x00, 0x00});
}

QByteArray CPcscPart3::Exchange(const QByteArray& frame)
{
    QByteArray command = Bytes({0xFF, 0xC2, 0x00, 0x01, static_cast<int>(frame.size() + 2),
                                kTransceiveObject, static_cast<int>(frame.size())});
    command += frame;
    command += '\0';
    return command;
}

std::optional<QByteArray> CPcscPart3::ExchangeData(const QByteArray& response)
{
    if (response.size() < 2 || At(response, response.size() - 2) != 0x90 ||
        At(response, response.size() - 1) != 0x00)
        return std::nullopt;
    const auto objects = Objects(response);
    if (!objects)
        return std::nullopt;
    bool succeeded = false;
    std::optional<QByteArray> data;
    for (const auto& [tag, value] : *objects) {
        if (tag == kStatusObject)
            succeeded = value.size() == 3 && At(value, 0) == 0x00 && At(value, 1) == 0x90 &&
                        At(value, 2) == 0x00;
        else if (tag == kDataObject)
            data = value;
    }
    if (!succeeded)
        return std::nullopt;
    return data ? data : QByteArray();
}

bool CPcscPart3::SessionCommand(const QByteArray& command)
{
    QByteArray response;
    if (m_pcsc.Transmit(m_card, command, 256, response) != SCARD_S_SUCCESS)
        return false;
    return ExchangeData(response).has_value();
}

std::optional<QByteArray> CPcscPart3::Transceive(const QByteArray& frame)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return std::nullopt;
    std::optional<QByteArray> answer;
    if (SessionCommand(StartSession()) && SessionCommand(SwitchToFelica())) {
        QByteArray response;
        if (m_pcsc.Transmit(m_card, Exchange(frame), 256, response) == SCARD_S_SUCCESS)
            answer = ExchangeData(response);
    }
    SessionCommand(EndSession());
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    // A FeliCa frame starts with its own length.
    if (answer && (answer->isEmpty() || At(*answer, 0) != answer->size()))
        return std::nullopt;
    return answer;
}

CPcscPart3::ProbeResult CPcscPart3::Probe()
{
    if (!IsOpen())
        return ProbeResult::NoService;
    const LONG status = Connect();
    if (status == SCARD_E_NO_SMARTCARD || status == SCARD_W_REMOVED_CARD)
        return ProbeResult::NoCard;
    if (status != SCARD_S_SUCCESS || m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return ProbeResult::Refused;
    const bool accepted = SessionCommand(StartSession());
    if (accepted)
        SessionCommand(EndSession());
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    return accepted ? ProbeResult::Accepted : ProbeResult::Refused;
}

FelicaSession CPcscPart3::Felica()
{
    return FelicaSession([this](const QByteArray& frame) { return Transceive(frame); });
}

int CPcscPart3::PollSystem(std::uint16_t systemCode)
{
    return Felica().Poll(systemCode) ? 1 : 0;
}

int CPcscPart3::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t,
                        std::uint8_t)
{
    if (!ConnectShared())
        return 0;
    const auto answer = Felica().Poll(systemCode);
    if (!answer)
        return 0;
    idm = answer->idm;
    pmm = answer->pmm;
    return 1;
}

int CPcscPart3::ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t,
                           HistoryBlocks& blocks, std::uint8_t maxCount)
{
    if (m_card == 0)
        return 0;
    return Felica().ReadBlocks(idm, serviceCode, blocks, maxCount);
}
