#pragma once

#include "ReaderPersonality.h"

// An ACS ACR122U: a PN532 behind the reader's controller. Chip commands come
// after FF 00 00 00 Lc: InListPassiveTarget (D4 4A) for one target at 212 or
// 424 kbps, InDataExchange (D4 40) with the listed target, InCommunicateThru
// (D4 42); FF CA gives the IDm. Anything else is refused with 63 00 (chip
// command) or 6A 81 (pseudo-APDU).
class Acr122Personality : public ReaderPersonality
{
public:
    explicit Acr122Personality(VirtualCard& card) : m_card(card) {}

    QByteArray Atr() const override { return Acr122Atr(); }
    QByteArray Respond(const QByteArray& apdu) override;

private:
    QByteArray Chip(const QByteArray& command);
    QByteArray ListPassiveTarget(const QByteArray& command);
    QByteArray Exchange(const QByteArray& frame, char response);

    VirtualCard& m_card;
    bool m_listed = false;
};
