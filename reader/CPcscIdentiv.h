#pragma once

#include "CPcscMod.h"

// Identiv and SCM contactless readers the name table does not list (uTrust
// and CLOUD 3700 F, SCL3711 ...): FeliCa through their own pseudo-APDUs, FF 40
// polling, whose answer holds the card's IDm and PMm, and FF 46 block reads.
// No modes, no escapes.
class CPcscIdentiv : public CPcscMod
{
public:
    using CPcscMod::CPcscMod;

    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int PollSystem(std::uint16_t systemCode) override;
    int GetVersion() override { return 0; }
    int SwitchReaderMode(std::uint8_t) override { return 0; }
    int SetReaderParameter(std::uint8_t) override { return 0; }
    int GetReaderParameter(std::uint8_t&) override { return 0; }

private:
    bool Poll(std::uint16_t systemCode, CardId* idm, CardId* pmm);
};
