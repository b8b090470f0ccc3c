#pragma once

#include "CPcscMod.h"
#include "FelicaSession.h"

#include <optional>

// A contactless reader the known-reader table does not name, spoken to through
// the transparent exchange of the PC/SC Part 3 supplement (Sony RC-S300 and
// other CCID readers): a transparent session, the FeliCa protocol, and FeliCa
// frames carried in data object 0x95, answered in 0xC0 (status) and 0x97
// (data). A missing or failed data object is a failed command.
class CPcscPart3 : public CPcscMod
{
public:
    using CPcscMod::CPcscMod;

    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int PollSystem(std::uint16_t systemCode) override;
    // Such a reader has no modes to switch: nothing is sent.
    int SwitchReaderMode(std::uint8_t) override { return 0; }
    int SetReaderParameter(std::uint8_t) override { return 0; }
    int GetReaderParameter(std::uint8_t&) override { return 0; }

    enum class ProbeResult { Accepted, Refused, NoCard, NoService };
    // Whether the reader, with a card on it, accepts a session; NoCard when
    // nothing lies on it, NoService when PC/SC itself cannot be reached.
    ProbeResult Probe();

    static QByteArray StartSession();
    static QByteArray EndSession();
    static QByteArray SwitchToFelica();
    static QByteArray Exchange(const QByteArray& frame);
    // The data of an answer's object 0x97 when its status (0xC0) says success.
    static std::optional<QByteArray> ExchangeData(const QByteArray& response);

private:
    // One FeliCa frame through a session of its own, inside a transaction.
    std::optional<QByteArray> Transceive(const QByteArray& frame);
    bool SessionCommand(const QByteArray& command);
    FelicaSession Felica();
};
