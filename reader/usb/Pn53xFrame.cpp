#include "Pn53xFrame.h"

#include "ByteString.h"

namespace
{
const QByteArray kStart = QByteArray::fromHex("0000FF");

std::uint8_t Checksum(const QByteArray& bytes)
{
    std::uint8_t sum = 0;
    for (char byte : bytes)
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(byte));
    return static_cast<std::uint8_t>(-sum);
}

// The data between a header of the given size and its DCS and postamble.
std::optional<QByteArray> Body(const QByteArray& frame, qsizetype header, int length)
{
    if (frame.size() != header + length + 2 || ByteAt(frame, frame.size() - 1) != 0)
        return std::nullopt;
    const QByteArray data = frame.mid(header, length);
    if (Checksum(data) != ByteAt(frame, header + length))
        return std::nullopt;
    return data;
}
} // namespace

QByteArray Pn53xFrame::Ack()
{
    return QByteArray::fromHex("0000FF00FF00");
}

QByteArray Pn53xFrame::Nak()
{
    return QByteArray::fromHex("0000FFFF0000");
}

QByteArray Pn53xFrame::ErrorFrame()
{
    return QByteArray::fromHex("0000FF01FF7F8100");
}

QByteArray Pn53xFrame::Data(const QByteArray& data)
{
    QByteArray frame = kStart;
    const auto length = static_cast<int>(data.size());
    if (length < 256) {
        frame += static_cast<char>(length);
        frame += static_cast<char>(-length & 0xFF);
    } else {
        frame += QByteArray::fromHex("FFFF");
        frame += static_cast<char>(length >> 8);
        frame += static_cast<char>(length & 0xFF);
        frame += static_cast<char>(-((length >> 8) + (length & 0xFF)) & 0xFF);
    }
    frame += data;
    frame += static_cast<char>(Checksum(data));
    frame += '\0';
    return frame;
}

Pn53xFrame::Decoded Pn53xFrame::Decode(const QByteArray& frame)
{
    if (frame == Ack())
        return {Kind::Ack, {}};
    if (frame == Nak())
        return {Kind::Nak, {}};
    if (frame == ErrorFrame())
        return {Kind::Error, {}};
    if (frame.size() < 7 || !frame.startsWith(kStart))
        return {};
    std::optional<QByteArray> data;
    if (ByteAt(frame, 3) == 0xFF && ByteAt(frame, 4) == 0xFF) {
        if (frame.size() < 10 ||
            static_cast<std::uint8_t>(ByteAt(frame, 5) + ByteAt(frame, 6) + ByteAt(frame, 7)) != 0)
            return {};
        data = Body(frame, 8, ByteAt(frame, 5) << 8 | ByteAt(frame, 6));
    } else {
        if (ByteAt(frame, 3) == 0 ||
            static_cast<std::uint8_t>(ByteAt(frame, 3) + ByteAt(frame, 4)) != 0)
            return {};
        data = Body(frame, 5, ByteAt(frame, 3));
    }
    if (!data)
        return {};
    return {Kind::Data, *data};
}
