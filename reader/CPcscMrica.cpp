#include "CPcscMrica.h"

QByteArray CPcscMrica::MricaPolling(std::uint16_t systemCode)
{
    return Bytes(
        {0xFF, 0xAB, 0x00, 0x00, 0x05, 0x00, systemCode >> 8, systemCode & 0xFF, 0x01, 0x00});
}

int CPcscMrica::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t,
                        std::uint8_t)
{
    if (!ConnectShared())
        return 0;
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    const bool ok = Command(MricaPolling(systemCode), 30, 18, response);
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    if (!ok)
        return 0;
    for (int i = 0; i < 8; ++i) {
        idm[i] = At(response, 2 + i);
        pmm[i] = At(response, 10 + i);
    }
    return 1;
}

int CPcscMrica::PollSystem(std::uint16_t systemCode)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    const bool ok = Command(MricaPolling(systemCode), 256, 0, response);
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    return ok ? 1 : 0;
}

int CPcscMrica::ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t,
                           HistoryBlocks& blocks, std::uint8_t maxCount)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    // The setup's status word is not checked; only the call must succeed.
    if (m_pcsc.Transmit(m_card, Bytes({0xFF, 0x00, 0x41, 0x81, 0x01, 0x0C}), 256, response) !=
        SCARD_S_SUCCESS) {
        m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
        return 0; // nothing was read
    }
    return ReadBlockLoop(blocks, maxCount, {10, 2, 13}, [&idm, serviceCode](int n) {
        QByteArray command = Bytes({0xFF, 0xAB, 0x00, 0x00, 0x0F, 0x06});
        command.append(reinterpret_cast<const char*>(idm.data()), 8);
        command.append(Bytes({0x01, serviceCode & 0xFF, serviceCode >> 8, 0x01, 0x80, n}));
        return command;
    });
}

int CPcscMrica::SetReaderParameter(std::uint8_t value)
{
    QByteArray output;
    return Escape(Bytes({0xFF, 0x00, 0x41, 0x01, 0x01, value}), 256, output) ? 1 : 0;
}

int CPcscMrica::GetReaderParameter(std::uint8_t& value)
{
    QByteArray output;
    if (!Escape(Bytes({0xFF, 0x00, 0x41, 0x01, 0x00}), 256, output) || output.isEmpty())
        return 0;
    value = At(output, 0);
    return 1;
}
