#include "VirtualCard.h"

#include "ByteString.h"

namespace
{
const QByteArray kOk("\x90\x00", 2);
const QByteArray kNotFound("\x6A\x81", 2);
const QByteArray kWrongLength("\x67\x00", 2);
const QByteArray kWrongData("\x6A\x80", 2);
const QByteArray kWrongParameters("\x6B\x00", 2);
const QByteArray kInstructionNotSupported("\x6D\x00", 2);
const QByteArray kClassNotSupported("\x6E\x00", 2);

QByteArray Raw(const std::uint8_t* data, qsizetype size)
{
    return QByteArray(reinterpret_cast<const char*>(data), size);
}
} // namespace

VirtualCard::VirtualCard(CardImage image) : m_image(std::move(image)) {}

VirtualCard::VirtualCard(CardImage image, Faults faults)
    : m_image(std::move(image)), m_faults(faults)
{
}

QByteArray VirtualCard::Atr()
{
    // A contactless storage card as PC/SC readers present FeliCa.
    return QByteArray::fromHex("3B8F8001804F0CA0000003060011003B0000000042");
}

bool VirtualCard::AnswersSystem(std::uint16_t systemCode) const
{
    if (systemCode == 0xFFFF)
        return true;
    for (std::uint16_t code : m_image.systemCodes)
        if (code == systemCode)
            return true;
    return false;
}

std::optional<HistoryBlock> VirtualCard::Block(int number) const
{
    if (number < 0 || number >= static_cast<int>(m_image.history.size()))
        return std::nullopt;
    return m_image.history[static_cast<std::size_t>(number)];
}

std::optional<QByteArray> VirtualCard::Fault(int number)
{
    if (number == m_faults.removeAtBlock) {
        m_removed = true;
        return QByteArray();
    }
    if (number == m_faults.wrongStatusAtBlock)
        return kNotFound;
    if (number == m_faults.truncateAtBlock)
        return QByteArray(3, '\0') + kOk;
    return std::nullopt;
}

std::optional<QByteArray> VirtualCard::FrameFault(const QByteArray& frame)
{
    if (frame.size() < 2 || ByteAt(frame, 1) != 0x06)
        return std::nullopt;
    return Fault(ByteAt(frame, frame.size() - 1));
}

// As a reader answers: a wrong class, instruction, P1/P2 or length is an
// error status, never 90 00.
QByteArray VirtualCard::Respond(const QByteArray& apdu)
{
    if (m_removed)
        return QByteArray();
    if (apdu.size() < 5)
        return kWrongLength;
    if (ByteAt(apdu, 0) != 0xFF)
        return kClassNotSupported;
    // Part 3 commands carry a trailing Le byte; the others none.
    const qsizetype le = ByteAt(apdu, 1) == 0xC2 ? 1 : 0;
    if (ByteAt(apdu, 4) != apdu.size() - 5 - le)
        return kWrongLength;
    const auto p1p2 = static_cast<std::uint16_t>(ByteAt(apdu, 2) << 8 | ByteAt(apdu, 3));
    switch (ByteAt(apdu, 1)) {
    case 0x40:
        return p1p2 == 0x0000 ? PcscPolling(apdu) : kWrongParameters;
    case 0x46:
        return p1p2 == 0x0101 ? PcscRead(apdu) : kWrongParameters;
    case 0xAB:
        if (p1p2 != 0x0000)
            return kWrongParameters;
        if (ByteAt(apdu, 5) == 0x00)
            return MricaPolling(apdu);
        if (ByteAt(apdu, 5) == 0x06)
            return MricaRead(apdu);
        return kWrongData;
    case 0xC2:
        return m_faults.part3 ? Part3(apdu) : kInstructionNotSupported;
    case 0x00:
        // The Circle reader's setup before reading, and nothing else.
        return apdu == QByteArray::fromHex("FF00418101"
                                           "0C")
                   ? kOk
                   : kWrongParameters;
    default:
        return kInstructionNotSupported;
    }
}

// FF 40 00 00 04 sh sl rc ts: IDm and PMm for the wildcard, else only a status.
QByteArray VirtualCard::PcscPolling(const QByteArray& apdu) const
{
    if (apdu.size() != 9)
        return kWrongLength;
    if (ByteAt(apdu, 8) != 0x00) // the time slot
        return kWrongData;
    const auto code = static_cast<std::uint16_t>(ByteAt(apdu, 5) << 8 | ByteAt(apdu, 6));
    if (!AnswersSystem(code))
        return kNotFound;
    return Raw(m_image.idm.data(), 8) + Raw(m_image.pmm.data(), 8) + kOk;
}

// FF 46 01 01 04 vl vh 80 nn: 8 header bytes, the flags, the count, the block.
QByteArray VirtualCard::PcscRead(const QByteArray& apdu)
{
    if (apdu.size() != 9)
        return kWrongLength;
    if (ByteAt(apdu, 7) != 0x80) // a two-byte block-list element
        return kWrongData;
    const int number = ByteAt(apdu, 8);
    if (auto fault = Fault(number))
        return *fault;
    const QByteArray header = Raw(m_image.idm.data(), 8);
    const auto service = static_cast<std::uint16_t>(ByteAt(apdu, 6) << 8 | ByteAt(apdu, 5));
    const auto block = Block(number);
    if (service != CardImage::kHistoryServiceCode || !block)
        return header + QByteArray("\x01\xA2", 2) + kOk;
    return header + QByteArray("\x00\x00\x01", 3) + Raw(block->data(), 16) + kOk;
}

// FF AB 00 00 05 00 sh sl rc ts: length, response code, IDm, PMm.
QByteArray VirtualCard::MricaPolling(const QByteArray& apdu) const
{
    if (apdu.size() != 10)
        return kWrongLength;
    if (ByteAt(apdu, 9) != 0x00) // the time slot
        return kWrongData;
    const auto code = static_cast<std::uint16_t>(ByteAt(apdu, 6) << 8 | ByteAt(apdu, 7));
    if (!AnswersSystem(code))
        return kNotFound;
    return QByteArray("\x12\x01", 2) + Raw(m_image.idm.data(), 8) + Raw(m_image.pmm.data(), 8) +
           kOk;
}

// FF AB 00 00 0F 06 IDm(8) 01 vl vh 01 80 nn: length, code, IDm, flags, count, block.
QByteArray VirtualCard::MricaRead(const QByteArray& apdu)
{
    if (apdu.size() != 20)
        return kWrongLength;
    // One service, one block, a two-byte block-list element.
    if (ByteAt(apdu, 14) != 0x01 || ByteAt(apdu, 17) != 0x01 || ByteAt(apdu, 18) != 0x80)
        return kWrongData;
    if (apdu.mid(6, 8) != Raw(m_image.idm.data(), 8))
        return kNotFound; // another card's IDm
    const int number = ByteAt(apdu, 19);
    if (auto fault = Fault(number))
        return *fault;
    const QByteArray header = QByteArray("\x1D\x07", 2) + Raw(m_image.idm.data(), 8);
    const auto service = static_cast<std::uint16_t>(ByteAt(apdu, 16) << 8 | ByteAt(apdu, 15));
    const auto block = Block(number);
    if (service != CardImage::kHistoryServiceCode || !block)
        return header + QByteArray("\x01\xA1", 2) + kOk;
    return header + QByteArray("\x00\x00\x01", 3) + Raw(block->data(), 16) + kOk;
}

namespace
{
const QByteArray kPart3Ok = QByteArray::fromHex("C003009000");

QByteArray Part3Failed(int object)
{
    return QByteArray::fromHex("C003") + QByteArray(1, static_cast<char>(object)) +
           QByteArray::fromHex("6A81") + kOk;
}
} // namespace

// FF C2 00 P2 Lc objects 00: 00 manage session, 01 transparent exchange,
// 02 switch protocol; the answer's objects, then 90 00.
QByteArray VirtualCard::Part3(const QByteArray& apdu)
{
    if (ByteAt(apdu, 2) != 0x00)
        return kWrongParameters;
    const QByteArray objects = apdu.mid(5, ByteAt(apdu, 4));
    switch (ByteAt(apdu, 3)) {
    case 0x00: // start or end a session, RF off or on
        if (objects.size() == 2 && ByteAt(objects, 1) == 0 && ByteAt(objects, 0) >= 0x81 &&
            ByteAt(objects, 0) <= 0x84)
            return kPart3Ok + kOk;
        return Part3Failed(1);
    case 0x02: // only FeliCa
        return objects == QByteArray::fromHex("8F020300") ? kPart3Ok + kOk : Part3Failed(1);
    case 0x01: {
        if (objects.size() < 2 || ByteAt(objects, 0) != 0x95 ||
            ByteAt(objects, 1) != objects.size() - 2)
            return Part3Failed(1);
        const QByteArray frame = objects.mid(2);
        const int block =
            frame.size() > 1 && ByteAt(frame, 1) == 0x06 ? ByteAt(frame, frame.size() - 1) : -1;
        if (block >= 0) {
            if (auto fault = Fault(block)) {
                if (fault->isEmpty())
                    return QByteArray();
                // A garbled answer: the status object says the exchange failed.
                return QByteArray::fromHex("C003006401") + kOk;
            }
        }
        const QByteArray answer = Felica(frame);
        if (answer.isEmpty()) // the card kept silent: a timeout
            return QByteArray::fromHex("C003006401") + kOk;
        return kPart3Ok + QByteArray::fromHex("92010096020000") + QByteArray::fromHex("97") +
               QByteArray(1, static_cast<char>(answer.size())) + answer + kOk;
    }
    default:
        return kWrongParameters;
    }
}

QByteArray VirtualCard::Felica(const QByteArray& frame)
{
    if (frame.size() < 2 || ByteAt(frame, 0) != frame.size())
        return QByteArray();
    const QByteArray idm = Raw(m_image.idm.data(), 8);
    switch (ByteAt(frame, 1)) {
    case 0x00: { // polling: system code, request code, time slot
        if (frame.size() != 6 ||
            !AnswersSystem(static_cast<std::uint16_t>(ByteAt(frame, 2) << 8 | ByteAt(frame, 3))))
            return QByteArray();
        QByteArray answer = QByteArray(1, '\x01') + idm + Raw(m_image.pmm.data(), 8);
        if (ByteAt(frame, 4) == 0x01)
            answer += frame.mid(2, 2);
        return QByteArray(1, static_cast<char>(answer.size() + 1)) + answer;
    }
    case 0x06: { // read without encryption: IDm, one service, one block 80 nn
        if (frame.size() != 16 || frame.mid(2, 8) != idm || ByteAt(frame, 10) != 1 ||
            ByteAt(frame, 13) != 1 || ByteAt(frame, 14) != 0x80)
            return QByteArray();
        const auto service = static_cast<std::uint16_t>(ByteAt(frame, 12) << 8 | ByteAt(frame, 11));
        const auto block = Block(ByteAt(frame, 15));
        QByteArray answer = QByteArray(1, '\x07') + idm;
        if (service != CardImage::kHistoryServiceCode || !block)
            answer += QByteArray::fromHex("01A2");
        else
            answer += QByteArray::fromHex("000001") + Raw(block->data(), 16);
        return QByteArray(1, static_cast<char>(answer.size() + 1)) + answer;
    }
    default:
        return QByteArray();
    }
}
