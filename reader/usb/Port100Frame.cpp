#include "Port100Frame.h"

#include "ByteString.h"

namespace
{
const QByteArray kStart = QByteArray::fromHex("0000FFFFFF");
constexpr qsizetype kHeader = 8; // start, length, length checksum

std::uint8_t Sum(const QByteArray& bytes, qsizetype from, qsizetype count)
{
    std::uint8_t sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum = static_cast<std::uint8_t>(sum + ByteAt(bytes, i));
    return sum;
}
} // namespace

QByteArray Port100Frame::Ack()
{
    return QByteArray::fromHex("0000FF00FF00");
}

QByteArray Port100Frame::Data(const QByteArray& data)
{
    QByteArray frame = kStart;
    const auto length = static_cast<std::uint16_t>(data.size());
    frame += static_cast<char>(length & 0xFF);
    frame += static_cast<char>(length >> 8);
    frame += static_cast<char>(-((length & 0xFF) + (length >> 8)) & 0xFF);
    frame += data;
    frame += static_cast<char>(-Sum(data, 0, data.size()) & 0xFF);
    frame += '\0';
    return frame;
}

bool Port100Frame::IsAck(const QByteArray& frame)
{
    return frame == Ack();
}

std::optional<QByteArray> Port100Frame::DecodeData(const QByteArray& frame)
{
    if (frame.size() < kHeader + 2 || !frame.startsWith(kStart))
        return std::nullopt;
    const int length = ByteAt(frame, 5) | ByteAt(frame, 6) << 8;
    if (static_cast<std::uint8_t>(ByteAt(frame, 5) + ByteAt(frame, 6) + ByteAt(frame, 7)) != 0 ||
        frame.size() != kHeader + length + 2 || ByteAt(frame, frame.size() - 1) != 0)
        return std::nullopt;
    if (static_cast<std::uint8_t>(Sum(frame, kHeader, length) + ByteAt(frame, kHeader + length)) !=
        0)
        return std::nullopt;
    return frame.mid(kHeader, length);
}
