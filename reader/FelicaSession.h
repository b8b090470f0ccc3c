#pragma once

#include "FelicaFrame.h"

#include <functional>

// Polling and block reads over any way of exchanging one FeliCa frame with
// the card. The exchange gives the card's answer frame, or nothing when the
// reader failed, the card kept silent or the answer was garbled.
class FelicaSession
{
public:
    using Exchange = std::function<std::optional<QByteArray>(const QByteArray& frame)>;

    explicit FelicaSession(Exchange exchange) : m_exchange(std::move(exchange)) {}

    // The card that answers a polling of the system, if any.
    std::optional<FelicaFrame::PollingAnswer> Poll(std::uint16_t systemCode,
                                                   std::uint8_t requestCode = 1);
    // Blocks 0, 1, ... of the service, appended to the list up to the first
    // block the card does not have or the first all-zero record. Any failed
    // exchange gives 0 and leaves the list empty: a read is never partial.
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, HistoryBlocks& blocks,
                   std::uint8_t maxCount);

private:
    Exchange m_exchange;
};
