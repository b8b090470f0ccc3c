#include "ArchiveWriter.h"

#include <QtEndian>
#include <bit>

namespace
{
template <typename T> void Append(QByteArray& data, T value)
{
    const T le = qToLittleEndian(value);
    data.append(reinterpret_cast<const char*>(&le), sizeof le);
}
} // namespace

void ArchiveWriter::WriteByte(std::uint8_t value)
{
    m_data.append(static_cast<char>(value));
}
void ArchiveWriter::WriteUInt16(std::uint16_t value)
{
    Append(m_data, value);
}
void ArchiveWriter::WriteInt32(std::int32_t value)
{
    Append(m_data, value);
}
void ArchiveWriter::WriteUInt32(std::uint32_t value)
{
    Append(m_data, value);
}
void ArchiveWriter::WriteUInt64(std::uint64_t value)
{
    Append(m_data, value);
}
void ArchiveWriter::WriteFloat(float value)
{
    Append(m_data, std::bit_cast<std::uint32_t>(value));
}
void ArchiveWriter::WriteDouble(double value)
{
    Append(m_data, std::bit_cast<std::uint64_t>(value));
}

void ArchiveWriter::WriteBytes(const void* data, std::size_t size)
{
    m_data.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
}

void ArchiveWriter::WriteTime(std::int64_t seconds)
{
    WriteUInt32(0x8000000Au);
    Append(m_data, seconds);
}

void ArchiveWriter::WriteLength(std::uint64_t length)
{
    if (length < 0xFF) {
        WriteByte(static_cast<std::uint8_t>(length));
        return;
    }
    WriteByte(0xFF);
    if (length < 0xFFFE) {
        WriteUInt16(static_cast<std::uint16_t>(length));
        return;
    }
    WriteUInt16(0xFFFF);
    if (length < 0xFFFFFFFFu) {
        WriteUInt32(static_cast<std::uint32_t>(length));
        return;
    }
    WriteUInt32(0xFFFFFFFFu);
    WriteUInt64(length);
}

void ArchiveWriter::WriteString(const QString& text)
{
    WriteByte(0xFF);
    WriteUInt16(0xFFFE);
    WriteLength(static_cast<std::uint64_t>(text.size()));
    for (QChar c : text)
        WriteUInt16(c.unicode());
}

void ArchiveWriter::WriteCount(std::uint64_t count)
{
    if (count < 0xFFFF) {
        WriteUInt16(static_cast<std::uint16_t>(count));
        return;
    }
    WriteUInt16(0xFFFF);
    if (count < 0xFFFFFFFFu) {
        WriteUInt32(static_cast<std::uint32_t>(count));
        return;
    }
    WriteUInt32(0xFFFFFFFFu);
    WriteUInt64(count);
}

void ArchiveWriter::WriteStringList(const QStringList& list)
{
    WriteCount(static_cast<std::uint64_t>(list.size()));
    for (const QString& text : list)
        WriteString(text);
}
