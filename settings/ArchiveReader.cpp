#include "ArchiveReader.h"

#include "ArchiveError.h"
#include "ShiftJis.h"

#include <QtEndian>
#include <bit>
#include <cstring>

namespace
{
template <typename T> T Load(const char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return qFromLittleEndian(value);
}
} // namespace

const char* ArchiveReader::Take(std::size_t size)
{
    if (size > Remaining())
        throw ArchiveError("unexpected end of data at byte " + std::to_string(m_pos));
    const char* p = m_data.constData() + m_pos;
    m_pos += size;
    return p;
}

std::uint8_t ArchiveReader::ReadByte()
{
    return static_cast<std::uint8_t>(*Take(1));
}
std::uint16_t ArchiveReader::ReadUInt16()
{
    return Load<std::uint16_t>(Take(2));
}
std::int32_t ArchiveReader::ReadInt32()
{
    return Load<std::int32_t>(Take(4));
}
std::uint32_t ArchiveReader::ReadUInt32()
{
    return Load<std::uint32_t>(Take(4));
}
std::uint64_t ArchiveReader::ReadUInt64()
{
    return Load<std::uint64_t>(Take(8));
}
float ArchiveReader::ReadFloat()
{
    return std::bit_cast<float>(ReadUInt32());
}
double ArchiveReader::ReadDouble()
{
    return std::bit_cast<double>(ReadUInt64());
}

void ArchiveReader::ReadBytes(void* out, std::size_t size)
{
    std::memcpy(out, Take(size), size);
}

std::int64_t ArchiveReader::ReadTime()
{
    const std::uint32_t first = ReadUInt32();
    if (first == 0x8000000Au)
        return Load<std::int64_t>(Take(8));
    return static_cast<std::int32_t>(first);
}

// The length forms after a leading 0xFF byte and a 16-bit word.
std::uint64_t ArchiveReader::ReadLengthAfterWord(std::uint16_t word)
{
    if (word < 0xFFFF)
        return word;
    const std::uint32_t dword = ReadUInt32();
    if (dword < 0xFFFFFFFFu)
        return dword;
    return ReadUInt64();
}

QString ArchiveReader::ReadString()
{
    bool utf16 = false;
    std::uint64_t length = ReadByte();
    if (length == 0xFF) {
        std::uint16_t word = ReadUInt16();
        if (word == 0xFFFE) {
            utf16 = true;
            length = ReadByte();
            if (length == 0xFF)
                length = ReadLengthAfterWord(ReadUInt16());
        } else {
            length = ReadLengthAfterWord(word);
        }
    }
    const std::uint64_t unit = utf16 ? 2 : 1;
    if (length > Remaining() / unit)
        throw ArchiveError("string longer than the data at byte " + std::to_string(m_pos));
    const auto size = static_cast<std::size_t>(length * unit);
    const char* p = Take(size);
    if (!utf16)
        return DecodeShiftJis(QByteArrayView(p, static_cast<qsizetype>(size)));
    QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
    for (std::size_t i = 0; i < length; ++i)
        text[static_cast<qsizetype>(i)] = QChar(Load<std::uint16_t>(p + 2 * i));
    return text;
}

std::uint64_t ArchiveReader::ReadCount()
{
    const std::uint16_t word = ReadUInt16();
    if (word < 0xFFFF)
        return word;
    const std::uint32_t dword = ReadUInt32();
    if (dword < 0xFFFFFFFFu)
        return dword;
    return ReadUInt64();
}

QStringList ArchiveReader::ReadStringList()
{
    const std::uint64_t count = ReadCount();
    QStringList list;
    // Every text takes at least one byte, so a count beyond the data is refused
    // before anything is reserved.
    if (count > Remaining())
        throw ArchiveError("list count larger than the data");
    list.reserve(static_cast<qsizetype>(count));
    for (std::uint64_t i = 0; i < count; ++i)
        list.append(ReadString());
    return list;
}
