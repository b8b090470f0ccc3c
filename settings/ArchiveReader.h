#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <utility>

// Reads the archive encoding written by ArchiveWriter from bytes held in memory
// (shared with the caller's QByteArray, so a temporary stays alive).
// Every read checks the bytes that remain and raises ArchiveError instead of
// running past the end, so hostile lengths never allocate or overrun.
class ArchiveReader
{
public:
    explicit ArchiveReader(QByteArray data) : m_data(std::move(data)) {}

    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::uint64_t ReadUInt64();
    float ReadFloat();
    double ReadDouble();
    void ReadBytes(void* out, std::size_t size);
    // The 12-byte time, or the legacy 4-byte signed seconds.
    std::int64_t ReadTime();
    // UTF-16 text after the FF FE FF mark, else 8-bit text read as Shift-JIS.
    QString ReadString();
    std::uint64_t ReadCount();
    QStringList ReadStringList();

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return static_cast<std::size_t>(m_data.size()) - m_pos; }
    bool AtEnd() const { return Remaining() == 0; }

private:
    const char* Take(std::size_t size);
    std::uint64_t ReadLengthAfterWord(std::uint16_t word);

    QByteArray m_data;
    std::size_t m_pos = 0;
};
