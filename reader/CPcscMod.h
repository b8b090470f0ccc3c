#pragma once

#include "CReaderMod.h"
#include "PcscApi.h"

#include <array>
#include <functional>
#include <initializer_list>

// A contactless reader spoken to through PC/SC pseudo-APDUs (FF 40 polling,
// FF 46 block read) and reader escapes.
class CPcscMod : public CReaderMod
{
public:
    CPcscMod(PcscApi& pcsc, const QString& readerName);
    ~CPcscMod() override;

    int Open() override;
    int Close() override;
    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int IsAvailable() override { return 1; }
    int IsOpen() override { return m_context != 0 ? 1 : 0; }
    QString GetName() override;
    int GetVersion() override;
    int SetReaderParameter(std::uint8_t value) override;
    int SwitchReaderMode(std::uint8_t mode) override;
    int GetReaderParameter(std::uint8_t& value) override;
    // Waits on the service for a card to arrive on the reader.
    int WaitForCard(int timeoutMs) override;
    bool SignalsArrival() override { return m_context != 0 && m_canWait; }
    virtual int GetCardIds(CardId& idm, CardId& pmm);
    virtual int PollSystem(std::uint16_t systemCode);

    static DWORD EscapeCode();

protected:
    // The parameter values of resting (0) and reading (1) mode.
    virtual std::array<std::uint8_t, 2> ModeValues() const { return {0x1B, 0x18}; }
    bool ConnectShared() { return Connect() == SCARD_S_SUCCESS; }
    // Connects to the card once, shared; later calls reuse the connection.
    LONG Connect();
    // One transmit; true when the call succeeded, at least minSize bytes came
    // before the status word, and the status word is 90 00.
    bool Command(const QByteArray& command, std::size_t receiveSize, std::size_t minSize,
                 QByteArray& response);
    bool Escape(const QByteArray& input, std::size_t outputSize, QByteArray& output);
    // Where a block-read response holds the card's status flags and the block.
    struct BlockLayout {
        std::size_t firstFlag;
        std::size_t flagCount;
        std::size_t data;
    };
    // Reads blocks 0, 1, ... inside the open transaction and ends it: stops at
    // a set status flag or an all-zero record; any failed command empties the
    // list and gives 0.
    int ReadBlockLoop(HistoryBlocks& blocks, std::uint8_t maxCount, BlockLayout layout,
                      const std::function<QByteArray(int)>& command);
    static QByteArray PollingCommand(std::uint16_t systemCode);
    static QByteArray Bytes(std::initializer_list<int> values);
    static std::uint8_t At(const QByteArray& bytes, qsizetype i);

    PcscApi& m_pcsc;
    QString m_name;
    SCARDCONTEXT m_context = 0;
    SCARDHANDLE m_card = 0;

private:
    DWORD m_readerState = SCARD_STATE_UNAWARE;
    bool m_canWait = true;
};
