#include "AcsDirectPersonality.h"

#include "VirtualCard.h"

QByteArray AcsDirectPersonality::Respond(const QByteArray& apdu)
{
    const QByteArray ok("\x90\x00", 2);
    if (auto common = CommonAnswer(m_card, apdu))
        return *common;
    if (!apdu.startsWith(QByteArray::fromHex("FF000000")))
        return QByteArray("\x6A\x81", 2);
    const QByteArray frame = apdu.mid(5);
    if (static_cast<std::uint8_t>(apdu[4]) != frame.size() || frame.isEmpty() ||
        static_cast<std::uint8_t>(frame[0]) != frame.size())
        return QByteArray("\x67\x00", 2);
    if (auto fault = m_card.FrameFault(frame))
        return *fault;
    const QByteArray answer = m_card.Felica(frame);
    return answer.isEmpty() ? QByteArray("\x63\x00", 2) : answer + ok;
}
