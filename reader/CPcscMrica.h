#pragma once

#include "CPcscMod.h"

// The Circle CIR315: FeliCa commands wrapped in FF AB pseudo-APDUs, the card
// named by its IDm in every read, and its own escapes (FF 00 41 01).
class CPcscMrica : public CPcscMod
{
public:
    using CPcscMod::CPcscMod;

    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int SetReaderParameter(std::uint8_t value) override;
    int GetReaderParameter(std::uint8_t& value) override;
    int PollSystem(std::uint16_t systemCode) override;

protected:
    std::array<std::uint8_t, 2> ModeValues() const override { return {0x01, 0x0C}; }

private:
    static QByteArray MricaPolling(std::uint16_t systemCode);
};
