#include "StandardPersonality.h"

#include "VirtualCard.h"

QByteArray StandardPersonality::Atr() const
{
    return VirtualCard::Atr();
}

QByteArray StandardPersonality::Respond(const QByteArray& apdu)
{
    return m_card.Respond(apdu);
}
