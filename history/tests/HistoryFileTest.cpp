#include "HistoryFile.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"

#include <gtest/gtest.h>

namespace
{
std::vector<ApplyRecord> Three()
{
    return {{1'790'000'000, 300, "/a/Apply261002-090000.ent"},
            {1'790'100'000, 600, "/a/Apply261102-090000.ent"},
            {1'790'200'000, 900, "/a/Apply261202-090000.ent"}};
}

std::vector<std::int32_t> Amounts(const HistoryContents& contents)
{
    std::vector<std::int32_t> amounts;
    for (const ApplyRecord& record : contents.records)
        amounts.push_back(record.amount);
    return amounts;
}

QByteArray Serialized(const std::vector<ApplyRecord>& records)
{
    return HistoryFile::Serialize({records, {}});
}

// Where record n (0-based) of Three() begins in its file: after the marker
// (mark, length, UTF-16) and the count, each record a time, an amount and a
// path.
qsizetype RecordStart(int n)
{
    qsizetype at = 3 + 1 + 2 * HistoryFile::kMarker.size() + 4;
    for (int i = 0; i < n; ++i)
        at += 12 + 4 + 3 + 1 + 2 * Three()[static_cast<std::size_t>(i)].snapshotPath.size();
    return at;
}

QByteArray Cut(QByteArray bytes, qsizetype at, qsizetype count = 1)
{
    return bytes.remove(at, count);
}

QByteArray WithCount(QByteArray bytes, std::int32_t count)
{
    // The count follows the marker: 3 bytes of mark, 1 of length, 24 UTF-16 units.
    const qsizetype at = 3 + 1 + 2 * HistoryFile::kMarker.size();
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
    return bytes;
}
} // namespace

// Cancellations and print jobs follow the records, so a history written now
// still reads in earlier versions (which stop after the records), and one
// without any is byte for byte what they write.
TEST(HistoryFile, SectionsKeepTheFormatEarlierVersionsRead)
{
    std::vector<ApplyRecord> records = Three();
    records[1].cancelled = 1'795'000'000;
    records[2].printJob = {"office", 42, 1'795'000'100};
    const QByteArray bytes = Serialized(records);
    const HistoryFile::Reading reading = HistoryFile::Read(bytes);
    EXPECT_FALSE(reading.damaged);
    EXPECT_EQ(reading.contents.records, records);

    // What an earlier version reads: the marker, the count and the records.
    ArchiveReader earlier(bytes);
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kMarker);
    ASSERT_EQ(earlier.ReadInt32(), 3);
    for (const ApplyRecord& record : records) {
        EXPECT_EQ(earlier.ReadTime(), record.documentTime);
        EXPECT_EQ(earlier.ReadInt32(), record.amount);
        EXPECT_EQ(earlier.ReadString(), record.snapshotPath);
    }
    // The version before this one looks for its cancellations right there.
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kCancelMarker);

    EXPECT_EQ(Serialized(Three()), bytes.left(static_cast<qsizetype>(earlier.Position()) - 3 - 1 -
                                              2 * HistoryFile::kCancelMarker.size()));
    EXPECT_EQ(HistoryFile::Serialize({}), QByteArray()); // no records: an empty file
}

// A later version's section is passed by and kept as it is.
TEST(HistoryFile, ALaterSectionIsKept)
{
    ArchiveWriter later;
    later.WriteString(QStringLiteral("<## ApplyHistoryLater ##>"));
    later.WriteInt32(7);
    const QByteArray bytes = Serialized(Three()) + later.Data();
    const HistoryFile::Reading reading = HistoryFile::Read(bytes);
    EXPECT_FALSE(reading.damaged);
    EXPECT_EQ(reading.contents.records, Three());
    EXPECT_EQ(reading.contents.later, later.Data());
    EXPECT_EQ(HistoryFile::Serialize(reading.contents), bytes);
}

// A damaged file is read as far as it can be: every record before the
// damage, and each after it whose delimiters are intact; never silently
// as a whole.
TEST(HistoryFile, ADamagedFileGivesWhatCanBeRead)
{
    std::vector<ApplyRecord> cancelled = Three();
    cancelled[0].cancelled = 1'795'000'000;
    cancelled[2].cancelled = 1'795'000'000;
    const QByteArray whole = Serialized(Three());
    const QByteArray withCancels = Serialized(cancelled);
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<std::int32_t> amounts;
        std::vector<bool> cancelled;
    };
    const Case cases[] = {
        {"a byte cut from the second path", Cut(whole, RecordStart(2) - 3), {300, 900}, {}},
        {"a byte cut from the marker", Cut(whole, 10), {300, 600, 900}, {}},
        {"a byte cut from the first time", Cut(whole, RecordStart(0) + 5), {600, 900}, {}},
        {"the count larger than the records", WithCount(whole, 5), {300, 600, 900}, {}},
        {"the count smaller than the records", WithCount(whole, 1), {300, 600, 900}, {}},
        {"a hostile count", WithCount(whole, 0x7FFFFFFF), {300, 600, 900}, {}},
        {"the end cut off", whole.left(whole.size() - 5), {300, 600}, {}},
        {"foreign content", QByteArray("foreign content"), {}, {}},
        // Past damage in the records, a cancellation no longer surely
        // names its record: the application counts as standing.
        {"cancellations after damaged records",
         Cut(withCancels, RecordStart(2) - 3),
         {300, 900},
         {true, false}},
        {"a cut cancellation section",
         withCancels.left(withCancels.size() - 3),
         {300, 600, 900},
         {true, false, false}},
    };
    for (const Case& c : cases) {
        const HistoryFile::Reading reading = HistoryFile::Read(c.bytes);
        EXPECT_TRUE(reading.damaged) << c.name;
        EXPECT_EQ(Amounts(reading.contents), c.amounts) << c.name;
        for (std::size_t i = 0; i < c.cancelled.size() && i < reading.contents.records.size(); ++i)
            EXPECT_EQ(reading.contents.records[i].cancelled != 0, c.cancelled[i]) << c.name << i;
        // What was read is written whole.
        const HistoryFile::Reading again =
            HistoryFile::Read(HistoryFile::Serialize(reading.contents));
        EXPECT_FALSE(again.damaged) << c.name;
        EXPECT_EQ(again.contents, reading.contents) << c.name;
    }
    EXPECT_FALSE(HistoryFile::Read(QByteArray()).damaged);
}
