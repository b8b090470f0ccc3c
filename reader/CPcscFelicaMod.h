#pragma once

#include "CPcscMod.h"
#include "FelicaSession.h"

// A contactless reader that carries whole FeliCa frames inside its maker's
// pseudo-APDUs. Polling and reading are the same for every such reader; only
// the wrapping differs. These readers have no modes and are sent no escapes.
class CPcscFelicaMod : public CPcscMod
{
public:
    using CPcscMod::CPcscMod;

    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int PollSystem(std::uint16_t systemCode) override;
    int GetVersion() override { return 0; }
    int SwitchReaderMode(std::uint8_t) override { return 0; }
    int SetReaderParameter(std::uint8_t) override { return 0; }
    int GetReaderParameter(std::uint8_t&) override { return 0; }

protected:
    // One FeliCa frame to the card and its answer frame, or nothing. Called
    // inside a transaction on the connected card.
    virtual std::optional<QByteArray> Carry(const QByteArray& frame) = 0;
    // The data of a command's answer when its status word is 90 00.
    std::optional<QByteArray> Data(const QByteArray& command);
    // Whether bytes are one whole FeliCa frame (its length byte counts all).
    static bool IsFrame(const QByteArray& bytes);

private:
    std::optional<FelicaFrame::PollingAnswer> PollInTransaction(std::uint16_t systemCode);
    FelicaSession Felica();
};
