#include "CPcscIdentiv.h"

bool CPcscIdentiv::Poll(std::uint16_t systemCode, CardId* idm, CardId* pmm)
{
    if (m_card == 0 || m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return false;
    QByteArray response;
    // The answer: IDm and PMm, then the system code asked for by request code 01.
    const bool ok =
        Command(PollingCommand(systemCode), 256, 16, response) && response.size() <= 2 + 18;
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    if (!ok)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (idm)
            (*idm)[static_cast<std::size_t>(i)] = At(response, i);
        if (pmm)
            (*pmm)[static_cast<std::size_t>(i)] = At(response, 8 + i);
    }
    return true;
}

int CPcscIdentiv::PollSystem(std::uint16_t systemCode)
{
    return Poll(systemCode, nullptr, nullptr) ? 1 : 0;
}

int CPcscIdentiv::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t,
                          std::uint8_t)
{
    if (!ConnectShared())
        return 0;
    return Poll(systemCode, &idm, &pmm) ? 1 : 0;
}
