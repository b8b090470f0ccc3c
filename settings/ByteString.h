#pragma once

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

// Bytes of a frame or command as they are written down: ByteString({0xFF, 0x40})
// and the unsigned byte at a place of an answer.
inline QByteArray ByteString(std::initializer_list<int> values)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(values.size()));
    for (const int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

inline std::uint8_t ByteAt(const QByteArray& bytes, qsizetype index)
{
    return static_cast<std::uint8_t>(bytes[index]);
}
