#pragma once

#include "ReaderPersonality.h"

// The virtual card as every named reader family and a PC/SC Part 3 reader
// see it, all at once.
class StandardPersonality : public ReaderPersonality
{
public:
    explicit StandardPersonality(VirtualCard& card) : m_card(card) {}

    QByteArray Atr() const override;
    QByteArray Respond(const QByteArray& apdu) override;

private:
    VirtualCard& m_card;
};
