#pragma once

#include "ReaderPersonality.h"

// An Identiv / SCM contactless reader: FF 40 00 00 04 polling, answered with
// the IDm and PMm (and the system code for request code 01), and FF 46 reads
// of one service and one or more two-byte block elements, answered with the
// IDm, the status flags, the block count and the blocks; FF CA gives the IDm.
// Anything else: 6A 81 (6D 00 for an unknown instruction).
class IdentivPersonality : public ReaderPersonality
{
public:
    explicit IdentivPersonality(VirtualCard& card) : m_card(card) {}

    QByteArray Atr() const override { return FelicaAtr(); }
    QByteArray Respond(const QByteArray& apdu) override;

private:
    QByteArray Polling(const QByteArray& apdu);
    QByteArray Read(const QByteArray& apdu);

    VirtualCard& m_card;
};
