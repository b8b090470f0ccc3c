#pragma once

#include "CardInfo.h"
#include "HistoryBlock.h"

#include <QString>
#include <cstdint>

// A card reader driven one way or another. Modules live for one operation;
// results are 0 for failure and non-zero for success.
class CReaderMod
{
public:
    virtual ~CReaderMod() = default;
    virtual int Open() { return 0; }
    virtual int Close() { return 0; }
    // Looks for a card of the system; fills IDm and PMm when one answers.
    virtual int Polling(CardId& /*idm*/, CardId& /*pmm*/, std::uint16_t /*systemCode*/,
                        std::uint8_t /*timeSlot*/, std::uint8_t /*spare*/)
    {
        return 0;
    }
    // Appends the service's blocks, block 0 first, without encryption.
    virtual int ReadBlocks(const CardId& /*idm*/, std::uint16_t /*serviceCode*/,
                           std::uint16_t /*systemCode*/, HistoryBlocks& /*blocks*/,
                           std::uint8_t /*maxCount*/)
    {
        return 0;
    }
    virtual int IsAvailable() { return 0; }
    virtual int IsOpen() { return 0; }
    virtual QString GetName() { return QString(); }
    virtual int GetVersion() { return 0; }
    virtual int IsAlive() { return 0; }
    virtual int SetReaderParameter(std::uint8_t /*value*/) { return 0; }
    // 0: resting mode, 1: reading mode.
    virtual int SwitchReaderMode(std::uint8_t /*mode*/) { return 0; }
    virtual int GetReaderParameter(std::uint8_t& /*value*/) { return 0; }
    // Whether a card may lie on the reader now. A reader that can tell the
    // card's arrival waits up to timeoutMs for it; any other says yes at once
    // and is asked again after a pause.
    virtual int WaitForCard(int /*timeoutMs*/) { return 1; }
    // True while WaitForCard waits for the card's arrival.
    virtual bool SignalsArrival() { return false; }
};
