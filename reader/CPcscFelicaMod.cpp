#include "CPcscFelicaMod.h"

FelicaSession CPcscFelicaMod::Felica()
{
    return FelicaSession([this](const QByteArray& frame) { return Carry(frame); });
}

bool CPcscFelicaMod::IsFrame(const QByteArray& bytes)
{
    return !bytes.isEmpty() && At(bytes, 0) == bytes.size();
}

std::optional<QByteArray> CPcscFelicaMod::Data(const QByteArray& command)
{
    QByteArray response;
    if (!Command(command, 258, 0, response))
        return std::nullopt;
    return response.left(response.size() - 2);
}

std::optional<FelicaFrame::PollingAnswer>
CPcscFelicaMod::PollInTransaction(std::uint16_t systemCode)
{
    if (m_card == 0 || m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return std::nullopt;
    auto answer = Felica().Poll(systemCode);
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    return answer;
}

int CPcscFelicaMod::PollSystem(std::uint16_t systemCode)
{
    return PollInTransaction(systemCode) ? 1 : 0;
}

int CPcscFelicaMod::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t,
                            std::uint8_t)
{
    if (!ConnectShared())
        return 0;
    const auto answer = PollInTransaction(systemCode);
    if (!answer)
        return 0;
    idm = answer->idm;
    pmm = answer->pmm;
    return 1;
}

int CPcscFelicaMod::ReadBlocks(const CardId& idm, std::uint16_t serviceCode,
                               std::uint16_t systemCode, HistoryBlocks& blocks,
                               std::uint8_t maxCount)
{
    if (m_card == 0 || m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    // The same card must still answer its system, and is then the reader's
    // current target for the reads.
    FelicaSession felica = Felica();
    const auto polled = felica.Poll(systemCode);
    const int result =
        polled && polled->idm == idm ? felica.ReadBlocks(idm, serviceCode, blocks, maxCount) : 0;
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    return result;
}
