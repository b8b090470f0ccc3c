#include "EntryList.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "EntrySamples.h"
#include "LocalTime.h"

#include <gtest/gtest.h>

namespace
{
EntryList ReadBack(const QByteArray& bytes)
{
    EntryList list;
    ArchiveReader in(bytes);
    list.Read(in);
    return list;
}

QByteArray Written(const EntryList& list, EntryList::FileKind kind)
{
    ArchiveWriter out;
    list.Write(out, kind);
    return out.Data();
}

// An older file, written field by field as those versions stored them.
QByteArray OldFile(int version, const EntryInfo& line, std::int32_t kind, std::int64_t time)
{
    ArchiveWriter w;
    w.WriteString(version == 1 ? "<## EntryInfoData ##>" : "<## EntryInfoData V2 ##>");
    w.WriteInt32(kind);
    w.WriteTime(time);
    w.WriteInt32(1);
    w.WriteByte(line.hidden);
    w.WriteByte(line.applyFlag);
    w.WriteBytes(line.idm.data(), 8);
    w.WriteByte(line.terminalType);
    w.WriteByte(line.processType);
    w.WriteTime(line.dateTime);
    w.WriteInt32(line.balance);
    w.WriteInt32(line.fare);
    w.WriteInt32(line.serialNumber);
    w.WriteInt32(line.regionByte);
    if (version == 2) {
        w.WriteInt32(line.distance);
        w.WriteFloat(line.bearing);
    }
    w.WriteString(line.visitDestination);
    w.WriteString(line.remarks);
    w.WriteByte(line.entryArea);
    w.WriteInt32(line.entryLine);
    w.WriteInt32(line.entryStation);
    w.WriteString(line.entryStationName);
    w.WriteString(line.entryLineName);
    w.WriteString(line.entryCompanyName);
    if (version == 2) {
        w.WriteDouble(line.entryLatitude);
        w.WriteDouble(line.entryLongitude);
    }
    w.WriteByte(line.exitArea);
    w.WriteInt32(line.exitLine);
    w.WriteInt32(line.exitStation);
    w.WriteString(line.exitStationName);
    w.WriteString(line.exitLineName);
    w.WriteString(line.exitCompanyName);
    if (version == 2) {
        w.WriteDouble(line.exitLatitude);
        w.WriteDouble(line.exitLongitude);
    }
    return w.Data();
}

QByteArray Header(const QString& marker, std::int32_t count)
{
    ArchiveWriter w;
    w.WriteString(marker);
    w.WriteInt32(0);
    w.WriteTime(1000);
    w.WriteInt32(count);
    return w.Data();
}
} // namespace

TEST(EntryList, DocumentRoundTripKeepsEveryField)
{
    EntryList list;
    list.lines = SampleLines(3, 2);
    list.lines[1]->hidden = 1;
    list.documentTime = 1'700'000'000;
    const QByteArray bytes = Written(list, EntryList::Document);
    EXPECT_TRUE(bytes.startsWith(QByteArray("\xFF\xFE\xFF\x18<\0#\0#\0", 10)));

    const std::int64_t before = CurrentTimestamp();
    const EntryList read = ReadBack(bytes);
    ASSERT_EQ(read.lines.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(*read.lines[i], *list.lines[i]) << i;
    EXPECT_GE(read.documentTime, before); // a saved document gets a fresh time
    EXPECT_EQ(read.card.kind, CardInfo::kNoCard);
}

TEST(EntryList, SnapshotHoldsTheClaimedLinesAndItsTime)
{
    EntryList list;
    list.lines = SampleLines(5, 3); // lines 0 and 3 claimed
    list.documentTime = 1'234'567'890;
    const QByteArray bytes = Written(list, EntryList::Snapshot);
    ArchiveReader raw(bytes);
    raw.ReadString();
    EXPECT_EQ(raw.ReadInt32(), 1);
    raw.ReadTime();
    EXPECT_EQ(raw.ReadInt32(), 2);

    const EntryList read = ReadBack(bytes);
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_EQ(read.lines[0]->serialNumber, 0);
    EXPECT_EQ(read.lines[1]->serialNumber, 3);
    EXPECT_EQ(read.documentTime, 1'234'567'890);
}

TEST(EntryList, WritingWithoutLinesFails)
{
    EntryList list;
    ArchiveWriter out;
    EXPECT_THROW(list.Write(out, EntryList::Document), ArchiveError);
    EXPECT_TRUE(out.Data().isEmpty());
}

TEST(EntryList, OlderVersionsLoad)
{
    const EntryInfo line = SampleCardLine(7);
    const EntryList v1 = ReadBack(OldFile(1, line, 1, 555));
    ASSERT_EQ(v1.lines.size(), 1u);
    const EntryInfo& a = *v1.lines[0];
    EXPECT_EQ(a.paymentType, 0);
    EXPECT_EQ(a.recordByte3, 0);
    EXPECT_EQ(a.distance, 0);
    EXPECT_EQ(a.bearing, 0.0f);
    EXPECT_EQ(a.entryLatitude, 0.0);
    EXPECT_EQ(a.exitLongitude, 0.0);
    EXPECT_EQ(a.exitStationName, line.exitStationName);
    EXPECT_EQ(a.fare, line.fare);
    EXPECT_EQ(v1.documentTime, 555);

    const EntryList v2 = ReadBack(OldFile(2, line, 0, 555));
    ASSERT_EQ(v2.lines.size(), 1u);
    EntryInfo expected = line;
    expected.paymentType = 0;
    expected.recordByte3 = 0;
    EXPECT_EQ(*v2.lines[0], expected);
    EXPECT_NE(v2.documentTime, 555);

    // Saving again writes version 3.
    EXPECT_TRUE(Written(v1, EntryList::Document).mid(4, 48) ==
                QByteArray(reinterpret_cast<const char*>(u"<## EntryInfoData V3 ##>"), 48));
}

TEST(EntryList, RefusedFilesLeaveTheListEmpty)
{
    EntryList full;
    full.lines = SampleLines(2);
    const QByteArray good = Written(full, EntryList::Document);
    const QByteArray cases[] = {
        Header("<## EntryInfoData V4 ##>", 0),
        Header("<## EntryInfoData v3 ##>", 0),
        Header("<## EntryInfoData V3 ##> ", 0),
        Header("<## EntryInfoDatA ##>", 0),
        good.left(good.size() - 1), // ends early
        Header("<## EntryInfoData V3 ##>", 3) +
            good.mid(Header("<## EntryInfoData V3 ##>", 2).size()), // count too large
        QByteArray(),
    };
    for (const QByteArray& bytes : cases) {
        EntryList list;
        list.lines = SampleLines(1);
        ArchiveReader in(bytes);
        EXPECT_THROW(list.Read(in), ArchiveError);
        EXPECT_TRUE(list.lines.empty());
    }
}

TEST(EntryList, EmptyAndNegativeCountsLoadEmpty)
{
    for (std::int32_t count : {0, -4}) {
        const EntryList list = ReadBack(Header("<## EntryInfoData V3 ##>", count));
        EXPECT_TRUE(list.lines.empty());
    }
}

TEST(EntryList, EightBitStringsAreShiftJis)
{
    EntryInfo line = SampleCardLine(1);
    line.remarks.clear();
    QByteArray bytes = OldFile(1, line, 0, 0);
    // Replace the empty remarks (FF FE FF 00) by "東京" as 8-bit text.
    ArchiveWriter visit;
    visit.WriteString(line.visitDestination);
    const qsizetype at = bytes.indexOf(visit.Data()) + visit.Data().size();
    ASSERT_EQ(bytes.mid(at, 4), QByteArray("\xFF\xFE\xFF\x00", 4));
    bytes.replace(at, 4, QByteArray("\x04\x93\x8C\x8B\x9E", 5));
    const EntryList list = ReadBack(bytes);
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_EQ(list.lines[0]->remarks, QStringLiteral("東京"));
}

TEST(EntryList, ClearForgetsEverything)
{
    EntryList list;
    list.lines = SampleLines(2);
    list.historyRows.resize(3);
    list.card.kind = CardInfo::kRead;
    list.card.idm[0] = 9;
    list.documentTime = 1;
    list.Clear();
    EXPECT_TRUE(list.lines.empty());
    EXPECT_TRUE(list.historyRows.empty());
    EXPECT_EQ(list.card.kind, CardInfo::kNoCard);
    EXPECT_EQ(list.card.idm, CardId{});
    EXPECT_GT(list.documentTime, 1);
}

TEST(EntryListReorder, UnlistedLinesFollowTheLineBeforeThem)
{
    // Lines a..f; b and e are not listed (hidden, or filtered out).
    EntryList list;
    for (int i = 0; i < 6; ++i)
        list.lines.push_back(std::make_unique<EntryInfo>(SampleCardLine(i)));
    const auto at = [&](int i) { return list.lines[static_cast<std::size_t>(i)].get(); };
    const EntryInfo* a = at(0);
    const EntryInfo* b = at(1);
    const EntryInfo* c = at(2);
    const EntryInfo* d = at(3);
    const EntryInfo* e = at(4);
    const EntryInfo* f = at(5);
    const EntryInfo foreign;
    const auto reordered = [&](const std::vector<const EntryInfo*>& listed) {
        std::vector<const EntryInfo*> lines;
        for (const std::size_t from : list.OrderAsListed(listed))
            lines.push_back(at(static_cast<int>(from)));
        return lines;
    };
    EXPECT_EQ(reordered({f, d, &foreign, c, a}), (std::vector<const EntryInfo*>{f, d, e, c, a, b}));
    // A line listed twice counts once.
    EXPECT_EQ(reordered({f, d, c, a, f}), (std::vector<const EntryInfo*>{f, d, e, c, a, b}));
    // An unlisted line before every listed one stays in front.
    const std::vector<const EntryInfo*> lines = {b, a, c, e, f, d};
    std::vector<std::unique_ptr<EntryInfo>> held;
    for (auto& line : list.lines)
        held.push_back(std::move(line));
    list.lines.clear();
    for (const EntryInfo* line : lines)
        for (auto& own : held)
            if (own.get() == line)
                list.lines.push_back(std::move(own));
    const auto order = list.OrderAsListed({d, a, c, f});
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 5, 1, 2, 3, 4}));
}
