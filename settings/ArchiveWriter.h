#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// Appends values in the little-endian archive encoding shared by the expense
// documents, the application history, the print layouts and the settings lists.
class ArchiveWriter
{
public:
    void WriteByte(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteFloat(float value);
    void WriteDouble(double value);
    void WriteBytes(const void* data, std::size_t size);
    // 0x8000000A, then the seconds as a signed 64-bit value.
    void WriteTime(std::int64_t seconds);
    // FF FE FF, the length in UTF-16 code units, the code units.
    void WriteString(const QString& text);
    // An element count: 16 bits, widening through 0xFFFF and 0xFFFFFFFF.
    void WriteCount(std::uint64_t count);
    void WriteStringList(const QStringList& list);

    const QByteArray& Data() const { return m_data; }

private:
    void WriteLength(std::uint64_t length);

    QByteArray m_data;
};
