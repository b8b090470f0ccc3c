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

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
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

// Cancellations, print jobs, numbers and reasons follow the records, so a
// history written now still reads in earlier versions (which stop after the
// records, or after the cancellations, or keep what follows their own
// sections as a later version's), and one without any is byte for byte
// what they write.
TEST(HistoryFile, SectionsKeepTheFormatEarlierVersionsRead)
{
    std::vector<ApplyRecord> records = Three();
    records[1].cancelled = 1'795'000'000;
    records[1].cancelReason = QStringLiteral("𠮷田\"様\", 重複,\n再申請");
    records[1].cancelledBy = {"hanako", "PC-01"};
    records[2].printJob = {"office", 42, 1'795'000'100};
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].id = QStringLiteral("A0000%1").arg(i + 1);
        records[i].printed = 1'795'000'000 + static_cast<std::int64_t>(i);
        records[i].printedBy = {"taro", "PC-02"};
        records[i].sha256 = QString(64, QLatin1Char('a' + static_cast<char>(i)));
        records[i].lineCount = static_cast<std::int32_t>(i);
        records[i].paper = {{"営業部", "123", "山田 太郎"}, 1'793'000'000, 1'795'000'000};
    }
    const QByteArray bytes = Serialized(records);
    const HistoryFile::Reading reading = HistoryFile::Read(bytes);
    EXPECT_FALSE(reading.damaged);
    EXPECT_EQ(reading.contents.records, records);
    EXPECT_TRUE(reading.contents.later.isEmpty());

    // What an earlier version reads: the marker, the count and the records.
    ArchiveReader earlier(bytes);
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kMarker);
    ASSERT_EQ(earlier.ReadInt32(), 3);
    for (const ApplyRecord& record : records) {
        EXPECT_EQ(earlier.ReadTime(), record.documentTime);
        EXPECT_EQ(earlier.ReadInt32(), record.amount);
        EXPECT_EQ(earlier.ReadString(), record.snapshotPath);
    }
    const auto recordsEnd = static_cast<qsizetype>(earlier.Position());
    // The version that knew cancellations looks for them right there, and
    // stops after them.
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kCancelMarker);
    ASSERT_EQ(earlier.ReadInt32(), 1);
    EXPECT_EQ(earlier.ReadInt32(), 1);
    EXPECT_EQ(earlier.ReadTime(), 1'795'000'000);
    // The one that knew print jobs reads them next, and keeps what follows
    // as a later version's section.
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kPrintJobMarker);
    ASSERT_EQ(earlier.ReadInt32(), 1);
    EXPECT_EQ(earlier.ReadInt32(), 2);
    EXPECT_EQ(earlier.ReadString(), "office");
    EXPECT_EQ(earlier.ReadInt32(), 42);
    EXPECT_EQ(earlier.ReadTime(), 1'795'000'100);
    const auto laterStart = static_cast<qsizetype>(earlier.Position());
    EXPECT_EQ(earlier.ReadString(), HistoryFile::kDetailsMarker);

    // That version adds a record of its own (no number) before the kept
    // section: this one reads everything and numbers the new record next.
    HistoryContents earlierWrite;
    for (const ApplyRecord& record : records)
        earlierWrite.records.push_back({record.documentTime, record.amount, record.snapshotPath,
                                        record.cancelled, record.printJob});
    earlierWrite.records.push_back({1'796'000'000, 1200, "/a/Apply261230-090000.ent"});
    earlierWrite.later = bytes.mid(laterStart);
    const QByteArray added = HistoryFile::Serialize(earlierWrite);
    HistoryFile::Reading mixed = HistoryFile::Read(added);
    EXPECT_FALSE(mixed.damaged);
    ASSERT_EQ(mixed.contents.records.size(), 4u);
    HistoryFile::Number(mixed.contents.records);
    EXPECT_EQ(mixed.contents.records[1], records[1]);
    EXPECT_EQ(mixed.contents.records[3].id, "A00004");

    EXPECT_EQ(Serialized(Three()), bytes.left(recordsEnd));
    EXPECT_EQ(HistoryFile::Serialize({}), QByteArray()); // no records: an empty file
}

// Records of earlier versions are numbered by their place, and numbers
// never repeat.
TEST(HistoryFile, RecordsWithoutNumbersAreNumberedByPlace)
{
    struct Case {
        const char* name;
        std::vector<QString> ids;
        std::vector<QString> numbered;
    };
    const Case cases[] = {
        {"an earlier version's history", {"", "", ""}, {"A00001", "A00002", "A00003"}},
        {"one added by an earlier version",
         {"A00001", "A00002", ""},
         {"A00001", "A00002", "A00003"}},
        {"a number used twice", {"A00001", "A00001", ""}, {"A00001", "A00002", "A00003"}},
        {"numbers above the places", {"A00007", "", ""}, {"A00007", "A00008", "A00009"}},
    };
    for (const Case& c : cases) {
        std::vector<ApplyRecord> records = Three();
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i].id = c.ids[i];
        HistoryFile::Number(records);
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i].id, c.numbered[i]) << c.name << i;
        EXPECT_EQ(HistoryFile::NextId(records),
                  QStringLiteral("A%1").arg(c.numbered.back().mid(1).toInt() + 1, 5, 10,
                                            QLatin1Char('0')))
            << c.name;
    }
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
    std::vector<ApplyRecord> detailed = cancelled;
    for (ApplyRecord& record : detailed)
        record.id = "A00001";
    detailed[2].id = "A00003";
    detailed[0].cancelReason = "重複";
    const QByteArray withDetails = Serialized(detailed);
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
        // A damaged or hand-edited section after the cancellations drops
        // no record and no cancellation.
        {"a cut reasons section",
         withDetails.left(withDetails.size() - 3),
         {300, 600, 900},
         {true, false, true}},
        {"a hand-edited details section",
         QByteArray(withDetails)
             .replace(Utf16("A00003"), Utf16("A0000") + QByteArray("\x00\xD8", 2)),
         {300, 600, 900},
         {true, false, true}},
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
