#pragma once

#include "ReaderPersonality.h"

// An ACS ACR1251 / ACR1252: a FeliCa frame after FF 00 00 00 Lc goes to the
// card as it is, and the card's answer frame comes back before 90 00 (63 00
// when the card kept silent); FF CA gives the IDm. Anything else: 6A 81.
class AcsDirectPersonality : public ReaderPersonality
{
public:
    explicit AcsDirectPersonality(VirtualCard& card) : m_card(card) {}

    QByteArray Atr() const override { return FelicaAtr(); }
    QByteArray Respond(const QByteArray& apdu) override;

private:
    VirtualCard& m_card;
};
