#include "FelicaFrame.h"

#include "ByteString.h"

namespace
{
constexpr std::uint8_t kPollingCommand = 0x00;
constexpr std::uint8_t kPollingResponse = 0x01;
constexpr std::uint8_t kReadCommand = 0x06;
constexpr std::uint8_t kReadResponse = 0x07;
// Length, response code and IDm; then the two status flags.
constexpr qsizetype kReadHeader = 10;

char Byte(int value)
{
    return static_cast<char>(value & 0xFF);
}

QByteArray WithLength(QByteArray body)
{
    body.prepend(Byte(static_cast<int>(body.size() + 1)));
    return body;
}
} // namespace

QByteArray FelicaFrame::Polling(std::uint16_t systemCode, std::uint8_t requestCode,
                                std::uint8_t timeSlot)
{
    QByteArray body;
    body += Byte(kPollingCommand);
    body += Byte(systemCode >> 8);
    body += Byte(systemCode);
    body += Byte(requestCode);
    body += Byte(timeSlot);
    return WithLength(body);
}

QByteArray FelicaFrame::ReadWithoutEncryption(const CardId& idm, std::uint16_t serviceCode,
                                              std::uint8_t block)
{
    QByteArray body;
    body += Byte(kReadCommand);
    body.append(reinterpret_cast<const char*>(idm.data()), static_cast<qsizetype>(idm.size()));
    body += Byte(1); // one service
    body += Byte(serviceCode);
    body += Byte(serviceCode >> 8);
    body += Byte(1); // one block, a two-byte element
    body += Byte(0x80);
    body += Byte(block);
    return WithLength(body);
}

std::optional<FelicaFrame::PollingAnswer> FelicaFrame::ParsePolling(const QByteArray& frame)
{
    // Length, response code, IDm, PMm, and maybe the system code.
    if (frame.size() < 18 || ByteAt(frame, 0) != frame.size() ||
        ByteAt(frame, 1) != kPollingResponse)
        return std::nullopt;
    PollingAnswer answer;
    for (int i = 0; i < 8; ++i) {
        answer.idm[static_cast<std::size_t>(i)] = ByteAt(frame, 2 + i);
        answer.pmm[static_cast<std::size_t>(i)] = ByteAt(frame, 10 + i);
    }
    return answer;
}

FelicaFrame::ReadAnswer FelicaFrame::ParseRead(const QByteArray& frame, const CardId& idm)
{
    ReadAnswer answer;
    if (frame.size() < kReadHeader + 2 || ByteAt(frame, 0) != frame.size() ||
        ByteAt(frame, 1) != kReadResponse)
        return answer;
    for (int i = 0; i < 8; ++i)
        if (ByteAt(frame, 2 + i) != idm[static_cast<std::size_t>(i)])
            return answer; // another card's answer
    if (ByteAt(frame, kReadHeader) != 0 || ByteAt(frame, kReadHeader + 1) != 0) {
        answer.status = ReadStatus::NoBlock;
        return answer;
    }
    // Status flags clear: the block count, then exactly one block.
    if (frame.size() != kReadHeader + 3 + 16 || ByteAt(frame, kReadHeader + 2) != 1)
        return answer;
    for (int i = 0; i < 16; ++i)
        answer.block[static_cast<std::size_t>(i)] = ByteAt(frame, kReadHeader + 3 + i);
    answer.status = ReadStatus::Block;
    return answer;
}
