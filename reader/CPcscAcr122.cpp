#include "CPcscAcr122.h"

namespace
{
constexpr int kPollingCommand = 0x00;
// The chip's status byte: the low six bits are its error code.
constexpr int kErrorMask = 0x3F;
} // namespace

QByteArray CPcscAcr122::Pseudo(const QByteArray& chipCommand)
{
    return Bytes({0xFF, 0x00, 0x00, 0x00, static_cast<int>(chipCommand.size())}) + chipCommand;
}

QByteArray CPcscAcr122::ListPassiveTarget(const QByteArray& pollingFrame)
{
    // One target at 212 kbps; the polling payload goes without its length byte.
    return Pseudo(Bytes({0xD4, 0x4A, 0x01, 0x01}) + pollingFrame.mid(1));
}

QByteArray CPcscAcr122::DataExchange(const QByteArray& frame)
{
    return Pseudo(Bytes({0xD4, 0x40, 0x01}) + frame);
}

std::optional<QByteArray> CPcscAcr122::Chip(const QByteArray& command)
{
    QByteArray response;
    if (m_pcsc.Transmit(m_card, command, 258, response) != SCARD_S_SUCCESS)
        return std::nullopt;
    if (response.size() == 2 && At(response, 0) == 0x61) {
        const QByteArray fetch = Bytes({0xFF, 0xC0, 0x00, 0x00, At(response, 1)});
        if (m_pcsc.Transmit(m_card, fetch, 258, response) != SCARD_S_SUCCESS)
            return std::nullopt;
    }
    if (response.size() < 2 || response.size() > 258 || At(response, response.size() - 2) != 0x90 ||
        At(response, response.size() - 1) != 0x00)
        return std::nullopt;
    return response.left(response.size() - 2);
}

std::optional<QByteArray> CPcscAcr122::Carry(const QByteArray& frame)
{
    const bool polling = frame.size() > 1 && At(frame, 1) == kPollingCommand;
    const auto answer = Chip(polling ? ListPassiveTarget(frame) : DataExchange(frame));
    if (!answer || answer->size() < 3 || At(*answer, 0) != 0xD5)
        return std::nullopt;
    QByteArray card;
    if (polling) {
        // D5 4B, the number of targets, then target 1 and its polling answer.
        if (At(*answer, 1) != 0x4B || At(*answer, 2) != 1 || answer->size() < 5)
            return std::nullopt;
        card = answer->mid(4);
    } else {
        if (At(*answer, 1) != 0x41 || (At(*answer, 2) & kErrorMask) != 0)
            return std::nullopt;
        card = answer->mid(3);
    }
    if (!IsFrame(card))
        return std::nullopt;
    return card;
}
