#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{
QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}
} // namespace

TEST(Archive, NumbersRoundTripLittleEndian)
{
    ArchiveWriter w;
    w.WriteByte(0xAB);
    w.WriteInt32(-2);
    w.WriteFloat(90.5f);
    w.WriteDouble(35.681236);
    w.WriteTime(1'700'000'000);
    EXPECT_EQ(w.Data().left(5), Bytes({0xAB, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(w.Data().mid(17, 4), Bytes({0x0A, 0x00, 0x00, 0x80}));

    ArchiveReader r(w.Data());
    EXPECT_EQ(r.ReadByte(), 0xAB);
    EXPECT_EQ(r.ReadInt32(), -2);
    EXPECT_EQ(r.ReadFloat(), 90.5f);
    EXPECT_EQ(r.ReadDouble(), 35.681236);
    EXPECT_EQ(r.ReadTime(), 1'700'000'000);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Archive, LegacyTimeIsFourSignedBytes)
{
    ArchiveReader r(Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(r.ReadTime(), -1);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Archive, EmptyStringIsFourBytes)
{
    ArchiveWriter w;
    w.WriteString(QString());
    EXPECT_EQ(w.Data(), Bytes({0xFF, 0xFE, 0xFF, 0x00}));
}

TEST(Archive, StringLengthFormsRoundTrip)
{
    struct Case {
        qsizetype length;
        QByteArray prefix; // after the FF FE FF mark
    };
    const Case cases[] = {
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        const QString text(c.length, QChar(u'駅'));
        ArchiveWriter w;
        w.WriteString(text);
        EXPECT_EQ(w.Data().left(3 + c.prefix.size()), Bytes({0xFF, 0xFE, 0xFF}) + c.prefix)
            << c.length;
        ArchiveReader r(w.Data());
        EXPECT_EQ(r.ReadString(), text) << c.length;
        EXPECT_TRUE(r.AtEnd()) << c.length;
    }
}

TEST(Archive, SixtyFourBitLengthIsRead)
{
    const QByteArray data = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02,
                                   0,    0,    0,    0,    0,    0,    0,    'o',  0,    'k',  0});
    ArchiveReader r(data);
    EXPECT_EQ(r.ReadString(), QStringLiteral("ok"));
}

TEST(Archive, HostileLengthsFailAtTheEndOfData)
{
    const QByteArray cases[] = {
        // 2^63 code units
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
               0xFF, 0xFF, 0,    0,    0,    0,    0,    0,    0,    0x80}),
        // 2^64-1 bytes of 8-bit text
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
               0xFF}),
        // ten code units, two present
        Bytes({0xFF, 0xFE, 0xFF, 0x0A, 'a', 0, 'b', 0}),
        // the mark cut short
        Bytes({0xFF, 0xFE}),
    };
    for (const QByteArray& data : cases) {
        ArchiveReader r(data);
        EXPECT_THROW(r.ReadString(), ArchiveError) << data.toHex().constData();
    }
}

TEST(Archive, EightBitStringIsShiftJis)
{
    // "東京" in code page 932, without the UTF-16 mark.
    ArchiveReader r(Bytes({0x04, 0x93, 0x8C, 0x8B, 0x9E}));
    EXPECT_EQ(r.ReadString(), QStringLiteral("東京"));
}

TEST(Archive, StringListRoundTripAndHostileCount)
{
    ArchiveWriter w;
    w.WriteStringList({QStringLiteral("本社"), QString(), QStringLiteral("a")});
    EXPECT_EQ(w.Data().left(2), Bytes({0x03, 0x00}));
    ArchiveReader r(w.Data());
    EXPECT_EQ(r.ReadStringList(),
              QStringList({QStringLiteral("本社"), QString(), QStringLiteral("a")}));

    ArchiveReader hostile(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_THROW(hostile.ReadStringList(), ArchiveError);
}

TEST(Archive, CountFormsRoundTrip)
{
    for (std::uint64_t count :
         {std::uint64_t{0}, std::uint64_t{0xFFFE}, std::uint64_t{0xFFFF}, std::uint64_t{0xFFFFFFFE},
          std::uint64_t{0xFFFFFFFF}, std::numeric_limits<std::uint64_t>::max()}) {
        ArchiveWriter w;
        w.WriteCount(count);
        ArchiveReader r(w.Data());
        EXPECT_EQ(r.ReadCount(), count);
        EXPECT_TRUE(r.AtEnd());
    }
}
