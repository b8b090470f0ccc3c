#include "CPcscMod.h"

#include "ByteString.h"
#include "PcscPlatform.h"

#include <algorithm>

QByteArray CPcscMod::Bytes(std::initializer_list<int> values)
{
    return ByteString(values);
}

std::uint8_t CPcscMod::At(const QByteArray& bytes, qsizetype i)
{
    return ByteAt(bytes, i);
}

CPcscMod::CPcscMod(PcscApi& pcsc, const QString& readerName) : m_pcsc(pcsc)
{
    SCARDCONTEXT context = 0;
    if (m_pcsc.EstablishContext(context) == SCARD_S_SUCCESS) {
        m_context = context;
        m_name = readerName;
    }
}

CPcscMod::~CPcscMod()
{
    if (m_card != 0)
        m_pcsc.Disconnect(m_card, SCARD_LEAVE_CARD);
    if (m_context != 0)
        m_pcsc.ReleaseContext(m_context);
}

DWORD CPcscMod::EscapeCode()
{
    return SCARD_CTL_CODE(3500);
}

int CPcscMod::Open()
{
    if (m_context != 0)
        return 1;
    SCARDCONTEXT context = 0;
    if (m_pcsc.EstablishContext(context) != SCARD_S_SUCCESS)
        return 0;
    m_context = context;
    return 1;
}

int CPcscMod::Close()
{
    if (m_context != 0) {
        m_pcsc.ReleaseContext(m_context);
        m_context = 0;
    }
    return 1;
}

LONG CPcscMod::Connect()
{
    if (m_card != 0)
        return SCARD_S_SUCCESS;
    SCARDHANDLE card = 0;
    const LONG status = m_pcsc.Connect(m_context, m_name, SCARD_SHARE_SHARED,
                                       SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, card);
    if (status == SCARD_S_SUCCESS)
        m_card = card;
    return status;
}

int CPcscMod::WaitForCard(int timeoutMs)
{
    if (!SignalsArrival())
        return 1;
    PcscApi::ReaderState state;
    const LONG status = m_pcsc.GetStatusChange(m_context, m_name, m_readerState,
                                               static_cast<DWORD>(std::max(timeoutMs, 0)), state);
    if (status == SCARD_S_SUCCESS) {
        m_readerState = state.eventState & ~static_cast<DWORD>(SCARD_STATE_CHANGED);
    } else if (status != SCARD_E_TIMEOUT) {
        // The service cannot tell: look for the card by asking instead.
        m_canWait = false;
        return 1;
    }
    return (m_readerState & SCARD_STATE_PRESENT) != 0 ? 1 : 0;
}

bool CPcscMod::Command(const QByteArray& command, std::size_t receiveSize, std::size_t minSize,
                       QByteArray& response)
{
    if (m_pcsc.Transmit(m_card, command, receiveSize, response) != SCARD_S_SUCCESS)
        return false;
    const auto size = static_cast<std::size_t>(response.size());
    // Never trust bytes that did not arrive.
    if (size < 2 || size > receiveSize || size - 2 < minSize)
        return false;
    return At(response, response.size() - 2) == 0x90 && At(response, response.size() - 1) == 0x00;
}

bool CPcscMod::Escape(const QByteArray& input, std::size_t outputSize, QByteArray& output)
{
    return m_pcsc.Control(m_card, EscapeCode(), input, outputSize, output) == SCARD_S_SUCCESS;
}

QByteArray CPcscMod::PollingCommand(std::uint16_t systemCode)
{
    return Bytes({0xFF, 0x40, 0x00, 0x00, 0x04, systemCode >> 8, systemCode & 0xFF, 0x01, 0x00});
}

int CPcscMod::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t,
                      std::uint8_t)
{
    if (!ConnectShared())
        return 0;
    if (!PollSystem(systemCode))
        return 0;
    return GetCardIds(idm, pmm);
}

int CPcscMod::PollSystem(std::uint16_t systemCode)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    const bool ok = Command(PollingCommand(systemCode), 256, 0, response);
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    return ok ? 1 : 0;
}

int CPcscMod::GetCardIds(CardId& idm, CardId& pmm)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    const bool ok =
        Command(Bytes({0xFF, 0x40, 0x00, 0x00, 0x04, 0xFF, 0xFF, 0x00, 0x00}), 30, 16, response);
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    if (!ok)
        return 0;
    for (int i = 0; i < 8; ++i) {
        idm[i] = At(response, i);
        pmm[i] = At(response, 8 + i);
    }
    return 1;
}

int CPcscMod::ReadBlocks(const CardId&, std::uint16_t serviceCode, std::uint16_t systemCode,
                         HistoryBlocks& blocks, std::uint8_t maxCount)
{
    if (m_pcsc.BeginTransaction(m_card) != SCARD_S_SUCCESS)
        return 0;
    QByteArray response;
    // A card that no longer answers the polling has not been read.
    if (!Command(PollingCommand(systemCode), 256, 0, response)) {
        m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
        return 0;
    }
    return ReadBlockLoop(blocks, maxCount, {8, 1, 11}, [serviceCode](int n) {
        return Bytes({0xFF, 0x46, 0x01, 0x01, 0x04, serviceCode & 0xFF, serviceCode >> 8, 0x80, n});
    });
}

int CPcscMod::ReadBlockLoop(HistoryBlocks& blocks, std::uint8_t maxCount, BlockLayout layout,
                            const std::function<QByteArray(int)>& command)
{
    const auto fail = [&] {
        m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
        blocks.clear(); // nothing of a failed transfer reaches the caller
        return 0;
    };
    QByteArray response;
    HistoryBlocks read;
    for (int n = 0; n < maxCount; ++n) {
        if (!Command(command(n), 256, layout.firstFlag + layout.flagCount, response))
            return fail();
        bool noSuchBlock = false;
        for (std::size_t f = 0; f < layout.flagCount; ++f)
            noSuchBlock |= At(response, static_cast<qsizetype>(layout.firstFlag + f)) != 0;
        if (noSuchBlock)
            break;
        if (static_cast<std::size_t>(response.size()) - 2 < layout.data + 16)
            return fail();
        HistoryBlock block;
        for (int i = 0; i < 16; ++i)
            block[i] = At(response, static_cast<qsizetype>(layout.data) + i);
        if (block[0] == 0 && block[1] == 0)
            break;
        read.push_back(block);
    }
    m_pcsc.EndTransaction(m_card, SCARD_LEAVE_CARD);
    blocks.insert(blocks.end(), read.begin(), read.end());
    return 1;
}

int CPcscMod::GetVersion()
{
    QByteArray output;
    if (!Escape(Bytes({0x1E}), 40, output) || output.size() < 2)
        return 0;
    return At(output, 0) * 100 + At(output, 1);
}

QString CPcscMod::GetName()
{
    if (m_name.isEmpty())
        return m_name;
    const qsizetype space = m_name.indexOf(QLatin1Char(' '));
    if (space < 0)
        return m_name;
    const int version = GetVersion();
    if (version == 0)
        return m_name;
    return m_name.left(space + 1) + QString::asprintf(" %d.%02d", version / 100, version % 100);
}

int CPcscMod::SetReaderParameter(std::uint8_t value)
{
    QByteArray output;
    return Escape(Bytes({0x95, value}), 256, output) ? 1 : 0;
}

int CPcscMod::GetReaderParameter(std::uint8_t& value)
{
    QByteArray output;
    if (!Escape(Bytes({0x94}), 256, output) || output.isEmpty())
        return 0;
    value = At(output, 0);
    return 1;
}

int CPcscMod::SwitchReaderMode(std::uint8_t mode)
{
    SCARDHANDLE card = 0;
    if (m_pcsc.Connect(m_context, m_name, SCARD_SHARE_DIRECT, 0, card) != SCARD_S_SUCCESS)
        return 0;
    m_card = card;
    SetReaderParameter(ModeValues().at(mode > 1 ? 1 : mode));
    m_pcsc.Disconnect(m_card, SCARD_UNPOWER_CARD);
    m_card = 0;
    return 1;
}
