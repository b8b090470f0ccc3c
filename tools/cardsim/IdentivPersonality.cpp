#include "IdentivPersonality.h"

#include "ByteString.h"
#include "VirtualCard.h"

namespace
{
const QByteArray kOk("\x90\x00", 2);
const QByteArray kWrongLength("\x67\x00", 2);
const QByteArray kWrongData("\x6A\x80", 2);
const QByteArray kNotFound("\x6A\x81", 2);

} // namespace

QByteArray IdentivPersonality::Respond(const QByteArray& apdu)
{
    if (auto common = CommonAnswer(m_card, apdu))
        return *common;
    if (ByteAt(apdu, 0) != 0xFF)
        return QByteArray("\x6E\x00", 2);
    if (ByteAt(apdu, 4) != apdu.size() - 5)
        return kWrongLength;
    switch (ByteAt(apdu, 1)) {
    case 0x40:
        return Polling(apdu);
    case 0x46:
        return Read(apdu);
    default:
        return QByteArray("\x6D\x00", 2);
    }
}

// FF 40 00 00 04 sh sl rc ts
QByteArray IdentivPersonality::Polling(const QByteArray& apdu)
{
    if (apdu.size() != 9 || ByteAt(apdu, 2) != 0 || ByteAt(apdu, 3) != 0)
        return kWrongData;
    const QByteArray answer =
        m_card.Felica(QByteArray(1, '\x06') + QByteArray(1, '\0') + apdu.mid(5));
    if (answer.isEmpty())
        return kNotFound;
    return answer.mid(2) + kOk; // NFCID2 (IDm and PMm), then the system code if asked
}

// FF 46 P1 (services) P2 (blocks) Lc <service codes> <block elements>
QByteArray IdentivPersonality::Read(const QByteArray& apdu)
{
    const int services = ByteAt(apdu, 2);
    const int blocks = ByteAt(apdu, 3);
    if (services != 1 || blocks < 1 || ByteAt(apdu, 4) != 2 * (services + blocks))
        return kWrongData;
    const QByteArray idm(reinterpret_cast<const char*>(m_card.Image().idm.data()), 8);
    QByteArray data;
    for (int b = 0; b < blocks; ++b) {
        const qsizetype element = 7 + 2 * b;
        if (ByteAt(apdu, element) != 0x80)
            return kWrongData;
        QByteArray frame = QByteArray::fromHex("1006") + idm + QByteArray(1, '\x01') +
                           apdu.mid(5, 2) + QByteArray::fromHex("0180") + apdu.mid(element + 1, 1);
        if (auto fault = m_card.FrameFault(frame))
            return *fault;
        const QByteArray answer = m_card.Felica(frame);
        if (answer.isEmpty())
            return QByteArray("\x63\x00", 2);
        if (ByteAt(answer, 10) != 0 || ByteAt(answer, 11) != 0)
            return idm + answer.mid(10, 2) + kOk; // the card's status flags, no data
        data += answer.mid(13, 16);
    }
    return idm + QByteArray("\x00\x00", 2) + QByteArray(1, static_cast<char>(blocks)) + data + kOk;
}
