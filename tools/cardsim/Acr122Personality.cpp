#include "Acr122Personality.h"

#include "ByteString.h"
#include "VirtualCard.h"

namespace
{
const QByteArray kOk("\x90\x00", 2);
const QByteArray kFailed("\x63\x00", 2);
const QByteArray kNotSupported("\x6A\x81", 2);
const QByteArray kWrongLength("\x67\x00", 2);

} // namespace

QByteArray Acr122Personality::Respond(const QByteArray& apdu)
{
    if (auto common = CommonAnswer(m_card, apdu))
        return *common;
    if (!apdu.startsWith(QByteArray::fromHex("FF000000")))
        return kNotSupported;
    if (ByteAt(apdu, 4) != apdu.size() - 5)
        return kWrongLength;
    return Chip(apdu.mid(5));
}

QByteArray Acr122Personality::Chip(const QByteArray& command)
{
    if (command.size() < 2 || ByteAt(command, 0) != 0xD4)
        return kFailed;
    switch (ByteAt(command, 1)) {
    case 0x4A:
        return ListPassiveTarget(command);
    case 0x40:
        // Only target 1, and only once it has been listed.
        if (command.size() < 4 || ByteAt(command, 2) != 0x01 || !m_listed)
            return QByteArray::fromHex("D54127") + kOk;
        return Exchange(command.mid(3), 0x41);
    case 0x42:
        return Exchange(command.mid(2), 0x43);
    default:
        return kFailed;
    }
}

// D4 4A MaxTg BrTy <polling payload>: one target at 212 or 424 kbps.
QByteArray Acr122Personality::ListPassiveTarget(const QByteArray& command)
{
    if (command.size() != 9 || ByteAt(command, 2) != 0x01 ||
        (ByteAt(command, 3) != 0x01 && ByteAt(command, 3) != 0x02))
        return kFailed;
    const QByteArray answer = m_card.Felica(QByteArray(1, '\x06') + command.mid(4));
    m_listed = !answer.isEmpty();
    if (!m_listed)
        return QByteArray::fromHex("D54B00") + kOk;
    return QByteArray::fromHex("D54B0101") + answer + kOk;
}

QByteArray Acr122Personality::Exchange(const QByteArray& frame, char response)
{
    if (auto fault = m_card.FrameFault(frame))
        return *fault;
    const QByteArray answer = m_card.Felica(frame);
    const QByteArray head = QByteArray(1, '\xD5') + QByteArray(1, response);
    if (answer.isEmpty()) // the card kept silent: the chip's timeout
        return head + QByteArray(1, '\x01') + kOk;
    return head + QByteArray(1, '\x00') + answer + kOk;
}
