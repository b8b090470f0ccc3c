#pragma once

#include "CardInfo.h"
#include "HistoryBlock.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

// The FeliCa frames a read sends and the parts of their answers it uses. A
// frame starts with its own length byte, which counts itself. These are the
// same whichever reader carries them.
class FelicaFrame
{
public:
    static constexpr std::uint16_t kAnySystem = 0xFFFF;

    struct PollingAnswer {
        CardId idm{};
        CardId pmm{};
    };

    // What a Read Without Encryption answer says about the block asked for.
    enum class ReadStatus {
        Block,   // the block's 16 bytes follow
        NoBlock, // the card's status flags say there is no such block
        Invalid, // not an answer to the command: a failed exchange
    };
    struct ReadAnswer {
        ReadStatus status = ReadStatus::Invalid;
        HistoryBlock block{};
    };

    // Polling: command 00, the system code high byte first, the request code
    // (01: also return the system code) and the time slot.
    static QByteArray Polling(std::uint16_t systemCode, std::uint8_t requestCode = 1,
                              std::uint8_t timeSlot = 0);
    // Read Without Encryption of one block (element 80 nn) of one service,
    // whose code goes low byte first.
    static QByteArray ReadWithoutEncryption(const CardId& idm, std::uint16_t serviceCode,
                                            std::uint8_t block);

    // Nothing unless the frame is a polling answer of its stated length.
    static std::optional<PollingAnswer> ParsePolling(const QByteArray& frame);
    // The card named by its IDm must answer exactly one block, or say why not.
    static ReadAnswer ParseRead(const QByteArray& frame, const CardId& idm);
};
